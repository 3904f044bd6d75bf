#!/usr/bin/env bash
# Runs every scenario through the native glyvora-tool (the POSIX profile) and through
# glyvora-tool.exe under Wine (the system's profile calls), and fails unless both print the same
# and leave the same bytes in the settings file.
#   differential.sh NATIVE_BIN_FALLBACK WINDOWS_TOOL WINE_EXEC SCENARIO...
# The native tool is $GLYVORA_NATIVE_BIN/glyvora-tool when the test command has exported it.
set -u
native_bin=${GLYVORA_NATIVE_BIN:-$1}
windows_tool=$2
wine_exec=$3
shift 3
native_tool=$native_bin/glyvora-tool
if [ ! -x "$native_tool" ]; then
    echo "no native glyvora-tool at $native_tool: build the native preset first" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/glyvora-profile.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
for scenario in "$@"; do
    name=$(basename "$scenario" .steps)
    this=0
    rm -rf "$work/native" "$work/windows"
    mkdir -p "$work/native" "$work/windows"
    "$native_tool" ini script "$work/native/settings.ini" <"$scenario" >"$work/native.out" 2>&1
    native_status=$?
    windows_dir=$(printf '%s' "$work/windows" | tr / '\\')
    "$wine_exec" "$windows_tool" ini script "Z:$windows_dir\\settings.ini" <"$scenario" >"$work/windows.out" 2>&1
    windows_status=$?
    if [ $native_status -ne 0 ] || [ $windows_status -ne 0 ]; then
        echo "FAIL $name: exit status native $native_status, windows $windows_status" >&2
        cat "$work/native.out" "$work/windows.out" >&2
        this=1
    fi
    if [ $this -eq 0 ] && ! diff -u --label "windows/$name" --label "native/$name" "$work/windows.out" "$work/native.out" >&2; then
        echo "FAIL $name: the outputs differ (- windows, + native)" >&2
        this=1
    fi
    # The files themselves, byte for byte, wherever the steps left them.
    if [ "$(ls -A "$work/windows")" != "$(ls -A "$work/native")" ]; then
        echo "FAIL $name: the steps left different files" >&2
        this=1
    fi
    for f in "$work/windows"/*; do
        [ -e "$f" ] || continue
        other="$work/native/$(basename "$f")"
        if [ -f "$f" ] && ! cmp -s "$f" "$other"; then
            echo "FAIL $name: $(basename "$f") differs" >&2
            this=1
        fi
    done
    if [ $this -eq 0 ]; then
        echo "ok   $name ($(grep -c '' "$scenario") lines)"
    else
        failed=1
    fi
done
exit $failed
