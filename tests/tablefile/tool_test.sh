#!/usr/bin/env bash
# glyvora-tool table from the outside: new, info, dump and run on a fresh directory.
. "$(dirname "$0")/../support/tool_test.sh"

t() { "${tool[@]}" table "$@"; }

# new writes the two empty tables: 260 bytes each, differing only in the creation time and names.
t new "$(name folders)" folder; check "new folder status" 0 $?
t new "$(name sets.qtb)" set; check "new set status" 0 $?
folder=$(ls "$dir" | grep -a -i 'folders' | head -1)
check "default extension" "folders.QTB" "$folder"
check "folder table size" 260 "$(wc -c < "$dir/folders.QTB")"
check "set table size" 260 "$(wc -c < "$dir/sets.qtb")"
outside=$(cmp -l "$dir/folders.QTB" "$dir/sets.qtb" | awk '!(($1 > 8 && $1 <= 16) || ($1 > 116 && $1 <= 124) || ($1 > 188 && $1 <= 196))' | wc -l)
check "the images differ only in the creation time and the names" 0 "$outside"
printf 'keep' > "$dir/taken.qtb"
t new "$(name taken.qtb)" folder 2>/dev/null; check "new refuses an existing file" 1 $?
check "an existing file stays" keep "$(cat "$dir/taken.qtb")"

info=$(t info "$(name folders)")
check "info" "magic: QTBL
version: 0x00010000
creation time: 42682.58393519
record count: 0
next record ID: 1
record size: 304
fields: 2
field 1: 目录名称 type 10 (text) offset 4 width 100
field 2: 目录地址 type 10 (text) offset 104 width 200
data start: 260
file size: 260" "$(printf '%s\n' "$info" | tail -n +2)"

results=$(printf '%s\n' 'count' 'append' 'write 1 宋体' 'write 目录地址 hex:433A5C81' 'read 1' 'read 2' \
    'read 3' 'frob' 'append' 'write 1 second' 'delete' 'delete' 'count' 'first' 'skip' 'read 1' 'skip' 'skip' \
    'skip -5' 'read 1' 'pack' 'count' 'append' 'write 1 third' 'select folders' 'isopen '"$(name folders.qtb)" \
    'select nothing' 'closeall' 'read 1' 'count' "open $(name sets.qtb)" 'count' \
    | t run "$(name folders)")
check "run" "0	0
true	0
true	0
true	0
宋体	0
hex:433A5C81	0
error: no field 3
error: unknown command 'frob'
true	0
true	0
true	0
true	0
2	0
	0
true	0
second	0
true	0
false	-26
true	0
	-60
true	0
1	0
true	0
true	0
true	0
true	0
false	-66
	0
error: no current table
0	-67
true	0
0	0" "$results"

check "dump" "0	1	宋体	hex:433A5C81
1	3	third	" "$(t dump "$(name folders)")"

err=$(t info "$(name missing.qtb)" 2>&1); check "missing file status" 1 $?
check "missing file message" "error -3: 指定文件未找到" "$err"
printf 'QTBX%0256d' 0 > "$dir/bad.qtb"
err=$(t dump "$(name bad.qtb)" 2>&1); check "bad file status" 1 $?
check "bad file message" "error -22: 指定文件不是数据库文件" "$err"

# A text that is no number for a numeric field goes to the engine, which refuses it with its code.
cp "$dir/folders.QTB" "$dir/numbers.qtb"
printf '\003' | dd of="$dir/numbers.qtb" bs=1 seek=208 conv=notrunc 2>/dev/null # field 2: integer
results=$(printf '%s\n' 'append' 'write 2 abc' 'write 2 12x' 'write 2' 'write 2 42' 'read 2' 'write 1 7' 'read 1' \
    | t run "$(name numbers.qtb)")
check "numeric field" "true	0
false	-72
false	-72
false	-72
true	0
42	0
true	0
7	0" "$results"

# Chinese file and folder names: the files get their real names on disk, and are found again by
# them, relative to the current directory too.
mkdir "$dir/字体"
t new "$(name 目录名称与地址数据库)" folder; check "new under a Chinese name" 0 $?
t new "$(name 字体/集名称与字体地址数据库.qtb)" set; check "new in a Chinese folder" 0 $?
check "Chinese names on disk" "目录名称与地址数据库.QTB" "$(cd "$dir" && ls -d 目录* 2>&1)"
check "Chinese folder on disk" "集名称与字体地址数据库.qtb" "$(ls "$dir/字体" 2>&1)"
fields=$(cd "$dir" && t info 目录名称与地址数据库.QTB | grep '^fields'); check "relative Chinese name" "fields: 2" "$fields"
fields=$(cd "$dir/字体" && t info 集名称与字体地址数据库.qtb | grep '^fields'); check "Chinese current folder" "fields: 2" "$fields"
printf '%s\n' 'append' 'write 1 黑体' | t run "$(name 字体/集名称与字体地址数据库.qtb)" >/dev/null
check "dump by a Chinese name" "0	1	黑体	" "$(t dump "$(name 字体/集名称与字体地址数据库.qtb)")"
if [ "$mode" = native ]; then
    check "paths show in the system's form" "path: $dir/字体/集名称与字体地址数据库.qtb" \
        "$(cd "$dir/字体" && t info 集名称与字体地址数据库.qtb | head -1)"
fi

# Tables opened by names relative to the current directory are selected by their full paths, in
# another letter case and through "." and ".." too; a relative name is taken as it is.
results=$(cd "$dir" && printf '%s\n' 'open sets.qtb' "select $(name FOLDERS.qtb)" "select $(name 字体/../Sets.QTB)" \
    'select folders.QTB' 'select ./sets.qtb' | t run folders.QTB)
check "select by full path" "true	0
true	0
true	0
false	-66
false	-66" "$results"

finish "glyvora-tool table"
