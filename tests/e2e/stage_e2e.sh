#!/usr/bin/env bash
# Runs the real program on its own Xvfb screen, once at the stage's native
# 1280x1024 and once letterboxed at 1920x1080: the welcome window shows,
# "В игру !!!" (by keyboard at the native size) opens the main window, "выход"
# ends the program with status 0.
# Usage: stage_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: stage_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

run_at() {
    width=$1 height=$2
    local started=$SECONDS welcome main_bg
    echo "--- ${width}x${height}"
    start_xvfb || return 1

    start_program

    welcome=$(to_screen 1168 461)
    wait_colour "welcome window" 20 $welcome "0 0 255" || return 1

    if ((width != 1280 || height != 1024)); then
        local bar
        for bar in "100 540" "$((width - 100)) 540"; do
            near "$(pixel $bar)" "0 0 0" || { fail "letterbox bar at ($bar) expected black, saw rgb($(pixel $bar))"; return 1; }
        done
        main_bg=$(to_screen 1270 1015)
    else
        main_bg=$(to_screen 1276 1020)
    fi

    if ((width == 1280)); then
        # By keyboard: "В игру !!!" is the welcome window's first button, so it
        # has the keys when the window first shows; Enter presses it.
        DISPLAY=$display xdotool key Return
    else
        click_stage 1124 709  # "В игру !!!"
    fi
    wait_colour "main window after 'В игру !!!'" 10 $main_bg "0 255 255" || return 1

    click_stage 1196 760  # "выход"
    expect_exit_zero "выход" || return 1

    echo "ok ${width}x${height} in $((SECONDS - started))s"
    stop_all
}

run_at 1280 1024 || stop_all
run_at 1920 1080 || stop_all

if ((failed)); then echo "e2e_stage: FAILED"; exit 1; fi
echo "e2e_stage: passed"
