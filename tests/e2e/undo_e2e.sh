#!/usr/bin/env bash
# Undo in the real program: a first press with nothing chosen paints an area
# black; the round undo button makes it white again, Ctrl+Y brings the black
# back and Ctrl+Z takes it away once more; a chosen swatch is framed. Then the
# gallery, whose list fills in small pictures of the slots beside their titles
# (screenshots undo-and-choice.png and gallery-pictures.png).
# Usage: undo_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: undo_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

key() { DISPLAY=$display xdotool key "$1"; }

# The mean brightness (0..1) of a rectangle of the last screenshot.
brightness() {  # brightness X Y W H
    convert "$work/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}

width=1280 height=1024
start_xvfb || exit 1
start_program
enter_main_window || exit 1

click_stage 300 400    # the blank canvas, nothing chosen: the fill is black
wait_colour "the canvas filled black" 5 300 400 "0 0 0" || exit 1
click_stage 748 874    # the round undo button between the canvas and the title's frame
wait_colour "white again after the undo button" 5 300 400 "255 255 255" || exit 1
shot
near "$(pixel 748 874)" "0 0 0" && fail "the press on the undo button reached something beneath it"
key ctrl+y
wait_colour "black again after Ctrl+Y" 5 300 400 "0 0 0" || exit 1
key ctrl+z
wait_colour "white again after Ctrl+Z" 5 300 400 "255 255 255" || exit 1

# The chosen swatch carries a frame: white outermost, black within.
click_stage 1004 644   # palette swatch 12, blue, at (968, 608)
wait_colour "the frame's white line" 5 965 644 "255 255 255" || exit 1
shot
near "$(pixel 966 644)" "0 0 0" || fail "no black line inside the frame's white one"
cp "$work/shot.png" "$out_dir/undo-and-choice.png"

click_stage 1196 307   # "галерея рисунков"
wait_colour "gallery window" 10 1276 1020 "255 255 255" || exit 1
# The titles come first; the pictures beside them, a column at the list's left
# edge that is blank until they are made, follow.
# Done once the column has ink and looks the same on two screenshots running.
deadline=$((SECONDS + 10)) seen=1 before=''
while ((SECONDS <= deadline)); do
    shot
    seen=$(brightness 2 2 36 880)
    awk -v b="$seen" 'BEGIN { exit !(b < 0.97) }' && [[ $seen == "$before" ]] && break
    before=$seen
    sleep 0.2
done
awk -v b="$seen" 'BEGIN { exit !(b < 0.97) }' || fail "no pictures beside the gallery's titles (brightness $seen)"
cp "$work/shot.png" "$out_dir/gallery-pictures.png"

click_stage 232 996    # "Выход"
wait_colour "main window after the gallery" 10 1276 1020 "0 255 255" || exit 1
click_stage 1196 760   # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_undo: FAILED"; exit 1; }
echo "e2e_undo: passed"
