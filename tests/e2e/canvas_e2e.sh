#!/usr/bin/env bash
# Colours on the real program's canvas: swatch 12 and a press fill the blank
# canvas blue; the black pen then draws a stroke while the left button is held.
# Usage: canvas_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: canvas_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

width=1280 height=1024
start_xvfb || exit 1
start_program
enter_main_window || exit 1

click_stage 1004 644  # palette swatch 12, blue
click_stage 308 308   # the canvas, at its pixel (300, 300)
wait_colour "canvas filled blue" 5 500 800 "0 0 255" || exit 1

click_stage 1032 792  # the black pen
drag_stage 100 400 700
wait_colour "black pen stroke" 5 250 700 "0 0 0" || exit 1
shot
near "$(pixel 250 720)" "0 0 255" || fail "the stroke is no thicker than the pen: (250, 720) should stay blue"

click_stage 1196 760  # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_canvas: FAILED"; exit 1; }
echo "e2e_canvas: passed"
