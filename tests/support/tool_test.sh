# Sourced by the scripts that test glyvora-tool from the outside, on either build:
#   SCRIPT native TOOL
#   SCRIPT windows WINE-EXEC TOOL.exe     (file names are handed over as Z: paths)
# Sets `mode`, `tool` (the command as an array) and `dir` (a fresh directory, removed at the end);
# `check` counts failures, `finish NAME` reports them and ends the script.
set -u
mode=$1
shift
tool=("$@")
dir=$(mktemp -d "${TMPDIR:-/tmp}/glyvora-tool-test.XXXXXX")
trap 'rm -rf "$dir"' EXIT
failures=0

check() { # description expected actual
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"
        echo "--- expected"; printf '%s\n' "$2"
        echo "--- got"; printf '%s\n' "$3"
        failures=$((failures + 1))
    fi
}

# The tool's name for a file in $dir.
name() { if [ "$mode" = windows ]; then echo "Z:$dir/$1"; else echo "$dir/$1"; fi; }

finish() { # what was tested
    [ $failures -eq 0 ] && echo "$1: all checks passed"
    exit $((failures > 0))
}
