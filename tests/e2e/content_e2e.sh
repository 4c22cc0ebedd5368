#!/usr/bin/env bash
# The real pictures in the real program: ">>" shows an animal, and a fill of one
# of its areas colours that area and nothing else.
# Usage: content_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: content_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"
regions="python3 $(dirname "$0")/regions.py"
raw() { convert "$work/shot.png" -depth 8 "rgb:$1"; }

width=1280 height=1024
start_xvfb || exit 1
start_program
enter_main_window || exit 1

# ">>", then waits until an animal with closed areas is on the canvas (true) or
# a surprise game has taken the main window's place (false).
next_animal() {
    local deadline=$((SECONDS + 10))
    click_stage 1192 852  # ">>"
    while ((SECONDS <= deadline)); do
        shot
        near "$(pixel 1276 1020)" "0 255 255" || return 1
        raw "$work/before.rgb"
        $regions pick "$work/before.rgb" >/dev/null && return 0
        sleep 0.2
    done
    return 1
}

found=''
for _ in $(seq 10); do
    if next_animal; then found=1; break; fi
    shot
    near "$(pixel 1276 1020)" "0 255 255" || close_game || exit 1
done
[[ -n $found ]] || { fail "no animal with closed areas on the canvas after ten presses of '>>'"; exit 1; }
read -r x y < <($regions pick "$work/before.rgb")
echo "filling the area at ($x, $y)"

click_stage 1004 644  # palette swatch 12, blue
click_stage "$x" "$y"
wait_colour "the pressed area" 5 "$x" "$y" "0 0 255" || exit 1
shot
raw "$work/after.rgb"
$regions check "$work/before.rgb" "$work/after.rgb" "$x" "$y" 0 0 255 || fail "the fill went beyond its area"

click_stage 1196 760  # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_content: FAILED"; exit 1; }
echo "e2e_content: passed"
