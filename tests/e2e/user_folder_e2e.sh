#!/usr/bin/env bash
# The child's pictures live in the user's data folder. Here that folder cannot be
# made (a file stands where it should be): the program says so in a message box
# once, and after it the child can still go in and colour.
# Usage: user_folder_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: user_folder_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

width=1280 height=1024
start_xvfb || exit 1
: >"$user_data"   # a file where the user's data folder should be
start_program
wait_colour "welcome window" 20 1168 461 "0 0 255" || exit 1
answer_message "the user folder's message" || exit 1

click_stage 1124 709  # "В игру !!!"
wait_colour "main window after the message" 10 1276 1020 "0 255 255" || exit 1
click_stage 1004 644   # palette swatch 12, blue
click_stage 400 400    # the blank canvas
wait_colour "the canvas takes a colour" 5 400 400 "0 0 255" || exit 1

click_stage 1196 760   # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_user_folder: FAILED"; exit 1; }
echo "e2e_user_folder: passed"
