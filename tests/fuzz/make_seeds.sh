#!/usr/bin/env bash
# Makes the fuzzer's seed corpus from the shipped pictures: small corners of a few
# library pictures, as pictures and as gallery slots, cut so that each is still
# a valid file.
# Usage: make_seeds.sh PROGRAM_DATA_FOLDER OUT_FOLDER
set -euo pipefail
data=${1:?usage: make_seeds.sh DATA OUT} out=${2:?usage: make_seeds.sh DATA OUT}
mkdir -p "$out"
rows=12 cols=16
for n in 1 7 19 30; do
    # A library picture: the title, then rows of comma-separated cells.
    awk -v R=$rows -v C=$cols 'BEGIN { ORS = "\r\n"; FS = "," }
        { sub(/\r$/, "") }
        NR == 1 { print; next }
        NR == 2 { print " " R " "; next }
        NR == 3 { print " " C " "; next }
        NR >= 450 && NR < 450 + R { line = ""; for (c = 300; c < 300 + C; c++) line = line (c > 300 ? "," : "") $c; print line }
        NR >= 450 + R { exit }' "$data/ $n.mac" >"$out/library-$n.mac"
done
for n in 3 12; do
    # A gallery slot, as saving the same corner writes it: the title, the size,
    # then one colour number per line.
    awk -v R=$rows -v C=$cols 'BEGIN { ORS = "\r\n"; FS = "," }
        { sub(/\r$/, "") }
        NR == 1 { print; next }
        NR == 2 { print " " R " "; next }
        NR == 3 { print " " C " "; next }
        NR >= 450 && NR < 450 + R { for (c = 300; c < 300 + C; c++) print $c }
        NR >= 450 + R { exit }' "$data/ $n.mac" >"$out/gallery-$n.mac"
done
printf 'Кот\r\n 2 \r\n 2 \r\n 255 \r\n-1 \r\n 16777215 \r\n 1 \r\n' | iconv -f UTF-8 -t CP1251 >"$out/gallery-tiny.mac"
