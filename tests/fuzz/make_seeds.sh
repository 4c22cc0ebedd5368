#!/usr/bin/env bash
# Makes the fuzzer's seed corpus from the shipped pictures: small corners of a few
# library pictures, as pictures and as gallery slots, cut so that each is still
# a valid file.
# Usage: make_seeds.sh PROGRAM_DATA_FOLDER OUT_FOLDER
set -euo pipefail
data=${1:?usage: make_seeds.sh DATA OUT} out=${2:?usage: make_seeds.sh DATA OUT}
mkdir -p "$out"
rows=12 cols=16
# corner KIND NUMBER: a 12 x 16 corner of library picture NUMBER, the title and
# the size first, then the cells as a library picture keeps them (rows of
# comma-separated cells) or as a saved gallery slot does (one a line).
corner() {
    awk -v R=$rows -v C=$cols -v slot=$([[ $1 == gallery ]] && echo 1 || echo 0) '
        BEGIN { ORS = "\r\n"; FS = "," }
        { sub(/\r$/, "") }
        NR == 1 { print; next }
        NR == 2 { print " " R " "; next }
        NR == 3 { print " " C " "; next }
        NR >= 450 && NR < 450 + R {
            line = ""
            for (c = 300; c < 300 + C; c++) if (slot) print $c; else line = line (c > 300 ? "," : "") $c
            if (!slot) print line
        }
        NR >= 450 + R { exit }' "$data/ $2.mac" >"$out/$1-$2.mac"
}
for n in 1 7 19 30; do corner library "$n"; done
for n in 3 12; do corner gallery "$n"; done
printf 'Кот\r\n 2 \r\n 2 \r\n 255 \r\n-1 \r\n 16777215 \r\n 1 \r\n' | iconv -f UTF-8 -t CP1251 >"$out/gallery-tiny.mac"
