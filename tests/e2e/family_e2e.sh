#!/usr/bin/env bash
# What the family keeps, in the real program with a private home: a save leaves
# a PNG in the Pictures folder that the desktop's user-dirs.dirs names, "печать
# рисунка" without a printer leaves a PDF there (after one message saying so),
# and a fill survives the program being killed.
# Usage: family_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: family_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

mkdir -p "$home/.config"
# shellcheck disable=SC2016
echo 'XDG_PICTURES_DIR="$HOME/Картинки"' >"$home/.config/user-dirs.dirs"
family=$home/Картинки/Пятнушки

# wait_file PATTERN WHAT: until a file matching PATTERN is in the family's folder.
wait_file() {
    local deadline=$((SECONDS + 10))
    while ((SECONDS <= deadline)); do
        compgen -G "$family/$1" >/dev/null && return 0
        sleep 0.2
    done
    fail "$2: no $1 in $family after 10s ($(ls "$family" 2>&1))"
}

width=1280 height=1024
start_xvfb || exit 1
start_program
enter_main_window || exit 1
click_stage 1004 644  # palette swatch 12, blue
click_stage 308 308   # the blank canvas
wait_colour "canvas filled blue" 5 400 400 "0 0 255" || exit 1

click_stage 1196 219  # "сохранить в галерею рисунков"
wait_file "*.png" "the save" || exit 1
click_stage 1196 395  # "печать рисунка", with no printer on this machine
answer_message "where the sheets go" || exit 1
wait_file "*.pdf" "the print" || exit 1

kept=$home/.local/state/pyatnushki/main.kept  # written within a second of the change
deadline=$((SECONDS + 10))
until [[ -s $kept ]] || ((SECONDS > deadline)); do sleep 0.2; done
[[ -s $kept ]] || { fail "the drawing was not kept safe within 10s"; exit 1; }
pkill -KILL -f "$work/program/"  # the program itself, not the shell that started it
wait "$app_pid" 2>/dev/null
app_pid=''
start_program
enter_main_window || exit 1
wait_colour "the fill after the program was killed" 5 400 400 "0 0 255" || exit 1

click_stage 1196 760  # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_family: FAILED"; exit 1; }
echo "e2e_family: passed"
