#!/usr/bin/env bash
# A tale printed in the real program, with every sheet going to a PDF file
# (--print-to-pdf): the main canvas is coloured first, " напечатать сказку"
# opens the chooser, the second tale is chosen, the tale canvas is filled and
# ">>" pressed three times. Three sheets come out, the first with the fill and
# the others blank where the drawing was, and the main window is back with its
# canvas as it was.
# Usage: tales_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: tales_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

for tool in pdftoppm python3 cmp; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (run scripts/setup.sh)"; exit 1; }
done

sheets=$work/sheets

"$bin" --help | grep -q -- '--print-to-pdf <DIR>' || fail "--help does not list --print-to-pdf"

sheet() { printf '%s/sheet-%03d.pdf' "$sheets" "$1"; }

# wait_sheet N SECONDS: until sheet N is a whole PDF file.
wait_sheet() {
    local file deadline
    file=$(sheet "$1")
    deadline=$((SECONDS + $2))
    while ((SECONDS <= deadline)); do
        [[ -s $file ]] && tail -c 16 "$file" | grep -q '%%EOF' && return 0
        kill -0 "$app_pid" 2>/dev/null || { fail "sheet $1: the program exited early"; return 1; }
        sleep 0.2
    done
    fail "sheet $1 was not printed to $file within $2s"
}

# The share of a sheet's pixels that are pure blue, in thousandths.
blue_share() {
    pdftoppm -r 30 -singlefile "$1" "$work/sheet" || { echo -1; return; }
    python3 - "$work/sheet.ppm" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:  # P6, width, height, maxval
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
count = sum(1 for i in range(0, len(pixels) - 2, 3)
            if pixels[i] < 60 and pixels[i + 1] < 60 and pixels[i + 2] > 200)
print(count * 1000 // (len(pixels) // 3))
EOF
}

canvas_crop() { convert "$work/shot.png" -crop 696x903+8+8 +repage -depth 8 "rgb:$1"; }

width=1280 height=1024
start_xvfb || exit 1
start_program '' --print-to-pdf "$sheets"
enter_main_window || exit 1

# The main canvas, blue, to be found again after the tale.
click_stage 1004 644  # palette swatch 12, blue
click_stage 308 308   # the main canvas
wait_colour "main canvas filled blue" 5 400 400 "0 0 255" || exit 1
shot && canvas_crop "$work/main-before.rgb"

enter_tale_filled_blue || exit 1

for page in 1 2 3; do
    click_stage 1152 892  # ">>"
    wait_sheet "$page" 20 || exit 1
    ((page == 1)) && { wait_colour "blank canvas for page 2" 10 400 400 "255 255 255" || exit 1; }
done
wait_colour "main window back with its blue canvas" 10 400 400 "0 0 255" || exit 1

[[ -e $(sheet 4) ]] && fail "a fourth sheet was printed for a tale of three pages"
share=$(blue_share "$(sheet 1)")
((share > 150)) || fail "sheet 1 should show the blue fill, blue share ${share}/1000"
for page in 2 3; do
    share=$(blue_share "$(sheet "$page")")
    ((share >= 0 && share < 5)) || fail "sheet $page should show a blank canvas, blue share ${share}/1000"
done

shot && canvas_crop "$work/main-after.rgb"
cmp -s "$work/main-before.rgb" "$work/main-after.rgb" || fail "the main canvas changed during the tale"

click_stage 1196 760  # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_tales: FAILED"; exit 1; }
echo "e2e_tales: passed"
