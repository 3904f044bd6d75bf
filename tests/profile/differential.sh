#!/usr/bin/env bash
# Runs every scenario through the system's own profile calls (glyvora-tool.exe ini script --system
# under Wine, code page 936) and through the program's profile code, both in the native glyvora-tool
# and in glyvora-tool.exe under Wine, and fails unless the program's code prints the same as the
# system's calls and leaves the same bytes in the settings file.
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

# run_scenario KIND SCENARIO: the steps through one implementation, in $work/KIND, printing to
# $work/KIND.out; the exit status is the tool's.
run_scenario() {
    local kind=$1 scenario=$2 windows_dir
    rm -rf "${work:?}/$kind"
    mkdir -p "$work/$kind"
    windows_dir=$(printf '%s' "$work/$kind" | tr / '\\')
    case $kind in
    native) "$native_tool" ini script "$work/native/settings.ini" ;;
    system) "$wine_exec" "$windows_tool" ini script --system "Z:$windows_dir\\settings.ini" ;;
    windows) "$wine_exec" "$windows_tool" ini script "Z:$windows_dir\\settings.ini" ;;
    esac <"$scenario" >"$work/$kind.out" 2>&1
}

# same_as_system NAME KIND: whether KIND printed and left what the system's calls did.
same_as_system() {
    local name=$1 kind=$2 f
    if ! diff -u --label "system/$name" --label "$kind/$name" "$work/system.out" "$work/$kind.out" >&2; then
        echo "FAIL $name: the outputs differ (- system, + $kind)" >&2
        return 1
    fi
    # The files themselves, byte for byte, wherever the steps left them.
    if [ "$(ls -A "$work/system")" != "$(ls -A "$work/$kind")" ]; then
        echo "FAIL $name: the steps left different files ($kind)" >&2
        return 1
    fi
    for f in "$work/system"/*; do
        [ -e "$f" ] || continue
        if [ -f "$f" ] && ! cmp -s "$f" "$work/$kind/$(basename "$f")"; then
            echo "FAIL $name: $(basename "$f") differs ($kind)" >&2
            return 1
        fi
    done
    return 0
}

for scenario in "$@"; do
    name=$(basename "$scenario" .steps)
    this=0
    for kind in system native windows; do
        run_scenario "$kind" "$scenario"
        status=$?
        if [ $status -ne 0 ]; then
            echo "FAIL $name: $kind exited with status $status" >&2
            cat "$work/$kind.out" >&2
            this=1
        fi
    done
    if [ $this -eq 0 ]; then
        same_as_system "$name" native || this=1
        same_as_system "$name" windows || this=1
    fi
    if [ $this -eq 0 ]; then
        echo "ok   $name ($(grep -c '' "$scenario") lines)"
    else
        failed=1
    fi
done

# The read and write subcommands (the program's code on both sides): UTF-8 on the command line,
# GBK in the file, exit statuses.
native_run() { "$native_tool" "$@"; }
windows_run() { "$wine_exec" "$windows_tool" "$@"; }
tool_steps() { # RUNNER DIRECTORY SEPARATOR
    local run=$1 f="$2$3配置文件.ini" missing="$2$3missing$3a.ini"
    $run ini write "$f" Glyvora 字体预览的内容 中国智造慧及全球; echo "status $?"
    $run ini write "$f" Glyvora 字体颜色 255; echo "status $?"
    $run ini write "$f" 其他 键 值; echo "status $?"
    $run ini read "$f" glyvora 字体预览的内容; echo "status $?"
    $run ini read "$f" Glyvora 缺少 默认值; echo "status $?"
    $run ini read "$f" "" 字体颜色 默认值; echo "status $?"
    $run ini write "$f" Glyvora 字体颜色; echo "status $?"
    $run ini write "$f" 其他; echo "status $?"
    $run ini read "$f" Glyvora 字体颜色 无; echo "status $?"
    $run ini write "$missing" Glyvora k v; echo "status $?"
    $run ini read "$f"; echo "status $?"
}
rm -rf "$work/native" "$work/windows"
mkdir -p "$work/native" "$work/windows"
tool_steps native_run "$work/native" / >"$work/native.out" 2>/dev/null
tool_steps windows_run "Z:$(printf '%s' "$work/windows" | tr / '\\')" '\' >"$work/windows.out" 2>/dev/null
# Both store the file under its Unicode name.
native_file="$work/native/配置文件.ini"
if ! diff -u --label windows/tool --label native/tool "$work/windows.out" "$work/native.out" >&2; then
    echo "FAIL tool: the outputs differ (- windows, + native)" >&2
    failed=1
elif ! cmp -s "$native_file" "$work/windows/配置文件.ini"; then
    echo "FAIL tool: the settings files differ" >&2
    failed=1
else
    echo "ok   tool ($(grep -c '^status' "$work/native.out") commands)"
fi
exit $failed
