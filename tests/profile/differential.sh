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

# The read and write subcommands: UTF-8 on the command line, GBK in the file, exit statuses.
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
