#!/usr/bin/env bash
# The release as a user gets it: scripts/release builds the zip; both executables import nothing but
# Windows' own DLLs; unpacked into a folder whose path holds a space and Chinese and started in a
# fresh Wine prefix, glyvora.exe creates its three first-start files there under their real names.
#   release_test.sh SOURCE_DIR
set -u
root=$1
. "$root/scripts/wine-session.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/glyvora-release-test.XXXXXX")
failures=0
check() { # description expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL: %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

"$root/scripts/release" "$work/out" > "$work/release.log" 2>&1
check "release status" 0 $?
zips=("$work"/out/glyvora-*-windows-x64.zip)
version=$(sed -n 's/^project(Glyvora VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
check "zip name" "glyvora-$version-windows-x64.zip" "$(basename "${zips[0]}")"
folder="$work/Glyvora 字体 预览"
mkdir -p "$folder"
unzip -q "${zips[0]}" -d "$folder"
check "content" "glyvora-tool.exe
glyvora.exe
使用说明.txt" "$(ls "$folder" | LC_ALL=C sort)"
check "readme starts with a UTF-8 byte order mark" "efbbbf" "$(head -c 3 "$folder/使用说明.txt" | od -An -tx1 | tr -d ' \n')"
iconv -f UTF-8 -t UTF-8 "$folder/使用说明.txt" > /dev/null 2>&1
check "readme is UTF-8" 0 $?

# Windows' own DLLs only: no runtime of the compiler's beside the exe.
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
              shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winspool.drv "
for exe in glyvora.exe glyvora-tool.exe; do
    imports=$(x86_64-w64-mingw32-objdump -p "$folder/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$imports" ] || check "$exe imports" "some DLLs" "none read"
    foreign=""
    for dll in $imports; do
        case "$system_dlls" in *" $dll "*) ;; *) foreign="$foreign $dll" ;; esac
    done
    check "$exe imports only Windows' DLLs" "" "$foreign"
done

# A fresh prefix of its own, on the test session's display when there is one.
saved_prefix=${WINEPREFIX:-} saved_display=${DISPLAY:-} saved_owned=${GLYVORA_WINE_PREFIX_OWNED:-}
saved_xvfb=${GLYVORA_XVFB_PID:-}
unset WINEPREFIX GLYVORA_WINE_PREFIX_OWNED GLYVORA_XVFB_PID
if [ -n "$saved_display" ]; then wine_session_begin; else wine_session_begin xvfb; fi
(cd "$folder" && exec wine "$folder/glyvora.exe" > /dev/null 2>&1) &
program=$!
wanted="分类与子分类的名称.txt
目录名称与地址数据库.qtb
集名称与字体地址数据库.qtb"
for _ in $(seq 1 120); do # 60 s at most
    [ "$(cd "$folder" && ls -- *.txt *.qtb 2>/dev/null | grep -v 使用说明 | LC_ALL=C sort)" = "$wanted" ] && break
    sleep 0.5
done
sleep 1 # the last file written whole
check "files of the first start" "$wanted" "$(cd "$folder" && ls -- *.txt *.qtb 2>/dev/null | grep -v 使用说明 | LC_ALL=C sort)"
check "names file" 0 "$(wc -c < "$folder/分类与子分类的名称.txt" 2>/dev/null)"
check "folder table" 260 "$(wc -c < "$folder/目录名称与地址数据库.qtb" 2>/dev/null)"
check "set table" 260 "$(wc -c < "$folder/集名称与字体地址数据库.qtb" 2>/dev/null)"
check "no settings file and no tree file before the first exit" "" \
    "$(cd "$folder" && ls -- 配置文件.ini 文件夹分类.dat 2>/dev/null)"
check "the program still runs" 0 "$(kill -0 $program 2>/dev/null; echo $?)"
wine_session_end # ends the program with its prefix
wait $program 2>/dev/null
WINEPREFIX=$saved_prefix DISPLAY=$saved_display GLYVORA_WINE_PREFIX_OWNED=$saved_owned GLYVORA_XVFB_PID=$saved_xvfb
[ -n "$saved_prefix" ] && export WINEPREFIX || unset WINEPREFIX
[ -n "$saved_display" ] && export DISPLAY

[ $failures -eq 0 ] || cat "$work/release.log"
rm -rf "$work"
[ $failures -eq 0 ] && echo "release: all checks passed"
exit $((failures > 0))
