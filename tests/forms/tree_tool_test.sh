#!/usr/bin/env bash
# glyvora-tool tree from the outside: dump and resave of tree files built here byte by byte.
. "$(dirname "$0")/../support/tool_test.sh"

# A 32-bit little-endian field.
le32() {
    local v=$(($1 & 0xFFFFFFFF)) i
    for i in 0 8 16 24; do printf "\\$(printf %03o $(((v >> i) & 255)))"; done
}
# One record of the items blob: text (UTF-8 here, GBK in the file) and its zero byte, image,
# selected image, value, flags (1 bold, 2 expanded, state image in bits 28-31), depth.
record() {
    printf '%s' "$1" | iconv -f UTF-8 -t GBK
    printf '\0'
    le32 "$2"; le32 "$3"; le32 "$4"; le32 "$5"; le32 "$6"
}

t() { "${tool[@]}" tree "$@"; }

{
    record "分类A" 0 0 0 3 1
    record "子分类" 0 0 0 1 2
    record "文件夹" 1 2 -5 $((3 << 28)) 3
    record "集" 0 0 0 1 1
} > "$dir/tree.dat"

check "dump" "1 分类A [bold] [expanded]
  2 子分类 [bold]
    3 文件夹 image=1 selected-image=2 value=-5 state-image=3
1 集 [bold]" "$(t dump "$(name tree.dat)")"

t resave "$(name tree.dat)" "$(name again.dat)"; check "resave status" 0 $?
cmp -s "$dir/tree.dat" "$dir/again.dat"; check "resave gives the same bytes" 0 $?

# A first record of depth 2, and a file that ends inside its last record.
{
    record "a" 0 0 0 0 2
    record "b" 0 0 0 0 3
    record "c" 0 0 0 0 1
    printf 'cut\0\1\0'
} > "$dir/odd.dat"
out=$(t dump "$(name odd.dat)" 2>"$dir/err"); check "odd dump status" 0 $?
check "odd dump" "1 a
  2 b
1 c" "$out"
check "odd dump warns" "glyvora-tool tree: the file ends inside a record; that record is left out" "$(cat "$dir/err")"
t resave "$(name odd.dat)" "$(name odd-again.dat)" 2>/dev/null
{
    record "a" 0 0 0 0 1
    record "b" 0 0 0 0 2
    record "c" 0 0 0 0 1
} > "$dir/odd-expected.dat"
cmp -s "$dir/odd-expected.dat" "$dir/odd-again.dat"; check "resave writes the depths as levels" 0 $?

: > "$dir/empty.dat"
check "empty dump" "" "$(t dump "$(name empty.dat)")"
t resave "$(name empty.dat)" "$(name empty-again.dat)"; check "empty resave status" 0 $?
check "empty resave size" 0 "$(wc -c < "$dir/empty-again.dat")"

t dump "$(name missing.dat)" 2>/dev/null; check "missing file status" 1 $?
t dump 2>/dev/null; check "usage status" 2 $?

# The program's own file names are Chinese: the tree file is found by its name, relative to a
# Chinese current folder too, and a resave writes the file under its real name.
mkdir "$dir/分类"
cp "$dir/tree.dat" "$dir/分类/文件夹分类.dat"
check "dump by a Chinese name" "$(t dump "$(name tree.dat)")" "$(cd "$dir/分类" && t dump 文件夹分类.dat)"
t resave "$(name 分类/文件夹分类.dat)" "$(name 分类/分类与子分类.dat)"; check "resave to a Chinese name" 0 $?
cmp -s "$dir/tree.dat" "$dir/分类/分类与子分类.dat"; check "the resaved file has its real name" 0 $?

finish "glyvora-tool tree"
