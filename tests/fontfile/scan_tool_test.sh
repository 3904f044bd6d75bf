#!/usr/bin/env bash
# glyvora-tool scan over font folders of Chinese names, as a user types them.
. "$(dirname "$0")/../support/tool_test.sh"

# The system's separator in what the tool prints.
sep=/
[ "$mode" = windows ] && sep='\'

mkdir -p "$dir/字体/中文" "$dir/字体/latin"
printf 'no font' > "$dir/字体/a.ttf"
printf 'no font' > "$dir/字体/中文/宋体.ttf"
printf 'no font' > "$dir/字体/latin/乗.fon"

# Sorted: the system decides the order within a folder.
listing=$(set -o pipefail; cd "$dir" && "${tool[@]}" scan 字体 2>/dev/null | LC_ALL=C sort); check "scan status" 0 $?
check "relative scan" "字体${sep}a.ttf	
字体${sep}latin${sep}乗.fon	
字体${sep}中文${sep}宋体.ttf	" "$listing"
summary=$(cd "$dir" && "${tool[@]}" scan 字体 2>&1 >/dev/null | cut -d, -f1)
check "every file is found" "3 files" "$summary"
if [ "$mode" = native ]; then
    check "absolute scan in the system's form" "$dir/字体/a.ttf	" "$("${tool[@]}" scan "$dir/字体/" 2>/dev/null | head -1)"
fi
check "face of a file of a Chinese name" "	字体/中文/宋体.ttf" "$(cd "$dir" && "${tool[@]}" face 字体/中文/宋体.ttf)"

finish "glyvora-tool scan"
