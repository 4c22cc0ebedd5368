#!/usr/bin/env bash
# The three games in the real program, played with the keyboard: the magic
# square reached by ">>" and solved by typing, the example from the recess menu
# answered 0, 1, 2, ... until it is right, and the keyboard trainer from the
# recess menu, whose letters fall and whose bar rises when a falling letter is
# typed, also after a click anywhere in its window. Each game leads back to the
# main window.
# With GAMES_SCREENSHOTS set to a folder, small pictures of the three games are
# left there (square.png, example.png, trainer.png).
# Usage: games_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: games_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"
command -v compare >/dev/null || { echo "FAIL: compare is not installed (run scripts/setup.sh)"; exit 1; }

key() { DISPLAY=$display xdotool key --delay 30 "$@"; }

# keep NAME X Y W H: a small picture of a game window for the documentation.
keep() {
    [[ -n ${GAMES_SCREENSHOTS:-} ]] || return 0
    mkdir -p "$GAMES_SCREENSHOTS"
    convert "$work/shot.png" -crop "$4x$5+$2+$3" +repage -resize 50% -colors 64 -strip "png8:$GAMES_SCREENSHOTS/$1.png"
}

# has_ink X Y W H: some dark pixel in that part of the last screenshot.
has_ink() {
    local darkest
    darkest=$(convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage -colorspace gray -depth 8 -format "%[min]" info: 2>/dev/null)
    ((${darkest:-255} < 80))
}

# The first red row of the trainer's score bar, in stage pixels.
bar_top() {
    convert "$work/shot.png" -crop "1x546+992+251" +repage -depth 8 rgb:- 2>/dev/null | od -An -v -tu1 -w3 |
        awk '$1 > 200 && $2 < 60 && $3 < 60 { print NR + 250; found = 1; exit } END { if (!found) print -1 }'
}

# The trainer's letters are read from the screen in the face the program shows them in.
letters="python3 $(dirname "$0")/letters.py"
letter_font=$(fc-match -f '%{file}' 'Liberation Sans:style=Regular')

# hit_after_click WHAT X Y: clicks the trainer at (X, Y), then types the highest
# falling letter until the bar rises: a hit, so the key reached the input box.
# A letter that was read wrongly or went by first costs a try; ten seconds in all.
hit_after_click() {
    local what=$1 deadline=$((SECONDS + 10)) before now letter settle
    click_stage "$2" "$3"
    while ((SECONDS <= deadline)); do
        shot
        before=$(bar_top)
        convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
        read -ra letter < <($letters "$work/shot.rgb" "$letter_font") || continue
        key "${letter[0]}"
        settle=$((SECONDS + 2))
        while ((SECONDS <= settle)); do
            shot
            now=$(bar_top)
            if ((now >= 0 && now < before)); then
                echo "a hit with ${letter[0]} after a click on $what"
                return 0
            fi
            sleep 0.1
        done
    done
    fail "no hit after a click on $what: the keys did not reach the input box"
}

# close_other_game X Y: the close box of the game that came up instead of the square.
close_other_game() {
    click_stage "$1" "$2"
    wait_colour "main window back after the game" 5 1276 1020 "0 255 255"
}

play_square() {
    # ">>" until the draw gives the square; the other games that come up are closed.
    local deadline=$((SECONDS + 400)) presses=0  # a draw of 36 comes about once in 38; this is ample
    while ((SECONDS <= deadline)); do
        click_stage 1192 852  # ">>"
        ((presses++))
        local settle=$((SECONDS + 5))
        while ((SECONDS <= settle)); do
            shot
            if square_up; then
                echo "the square after $presses presses of '>>'"
                break 2
            elif example_up; then
                close_other_game 1010 308 || return 1
                break
            elif trainer_up; then
                close_other_game 1021 229 || return 1
                break
            elif main_window; then
                break
            fi
            kill -0 "$app_pid" 2>/dev/null || { fail "the program exited early"; return 1; }
        done
    done
    square_up || { fail "no square after $presses presses of '>>'"; return 1; }

    # The first cell has the focus: type the square, Tab from cell to cell.
    local digits=(2 7 6 9 5 1 4 3 8) i
    for i in "${!digits[@]}"; do
        ((i > 0)) && key Tab
        key "${digits[$i]}"
    done
    local deadline=$((SECONDS + 5))
    until shot && has_ink 1011 788 129 113; do  # the 8 in the last cell
        ((SECONDS <= deadline)) || { fail "the typed 8 does not show in the last cell"; return 1; }
        sleep 0.1
    done
    keep square 688 366 519 663
    key Tab space  # on to "Проверить", and press it
    answer_message "the square's verdict" || return 1
    wait_colour "main window after the solved square" 10 1276 1020 "0 255 255"
}

play_example() {
    click_stage 1196 659  # "переменка"
    wait_colour "recess menu" 10 300 430 "192 192 255" || return 1
    click_stage 639 390   # "Примеры"
    wait_colour "the example" 10 272 342 "255 192 255" || return 1
    shot
    keep example 249 292 782 440
    local answer
    for answer in $(seq 0 18); do
        click_stage 900 514  # into the answer box
        key ctrl+a
        DISPLAY=$display xdotool type --delay 30 "$answer"
        click_stage 628 678  # "Проверить"
        answer_message "the answer $answer" || return 1
        local decided=$((SECONDS + 5))
        while ((SECONDS <= decided)); do
            shot
            if main_window; then
                echo "the example was right at $answer"
                return 0
            fi
            example_up && break
            sleep 0.1
        done
        example_up || { fail "neither the example nor the main window after the answer $answer"; return 1; }
    done
    fail "no answer from 0 to 18 was right"
}

play_trainer() {
    click_stage 1196 659  # "переменка"
    wait_colour "recess menu" 10 300 535 "255 255 0" || return 1
    click_stage 639 494   # "Клавиатурный тренажер"
    wait_colour "the trainer" 10 260 263 "128 128 0" || return 1

    # The letters fall: their part of the window changes on its own.
    shot
    convert "$work/shot.png" -crop 440x560+508+245 +repage "$work/letters-before.png"
    local deadline=$((SECONDS + 10)) changed=0
    while ((SECONDS <= deadline)); do
        shot
        convert "$work/shot.png" -crop 440x560+508+245 +repage "$work/letters-now.png"
        if ! compare -metric AE "$work/letters-before.png" "$work/letters-now.png" null: 2>/dev/null; then
            changed=1
            break
        fi
        sleep 0.2
    done
    ((changed)) || { fail "the trainer's letters do not move"; return 1; }
    keep trainer 237 213 805 597

    # Wherever the child clicks in the window, the keys still go to the input
    # box: a falling letter typed after each click is a hit, and the bar rises.
    local letter
    hit_after_click "the background" 260 263 || return 1
    shot
    convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
    read -ra letter < <($letters "$work/shot.rgb" "$letter_font")
    hit_after_click "a falling letter" "${letter[1]:-0}" "${letter[2]:-0}" || return 1
    shot
    hit_after_click "the score bar" 992 $(($(bar_top) + 6)) || return 1
    hit_after_click "the divider" 504 543 || return 1

    click_stage 1021 229  # the trainer's close box
    wait_colour "main window after the trainer" 10 1276 1020 "0 255 255"
}

width=1280 height=1024
start_xvfb || exit 1
start_program
enter_main_window || exit 1
play_square || exit 1
play_example || exit 1
play_trainer || exit 1
click_stage 1196 760  # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_games: FAILED"; exit 1; }
echo "e2e_games: passed"
