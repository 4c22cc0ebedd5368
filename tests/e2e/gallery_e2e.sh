#!/usr/bin/env bash
# The gallery opened and left five times with the pointer over it, then a
# picture's round trip in the real program: ">>" until a library picture shows
# (a surprise game is closed on the way), fill an area, save, start an own
# drawing, then take the saved picture back from the gallery with "Редактировать".
# Usage: gallery_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: gallery_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

# Library picture n: 300 x 200, a black frame, a black wall at column 150 and a
# black mark at x = 10n + 9 .. 10n + 13, y = 10 .. 14 that tells which one it is.
# Every gallery slot starts as a tiny blank picture.
lay_pictures() {
    local data=$1/data n k
    mkdir -p "$data"
    for ((n = 1; n <= 35; n++)); do
        awk -v n="$n" 'BEGIN {
            ORS = "\r\n"; print "Zver " n; print " 200 "; print " 300 "
            for (r = 1; r <= 200; r++) {
                line = ""
                for (c = 1; c <= 300; c++) {
                    black = (c == 1 || c == 300 || c == 150 || r == 1 || r == 199 ||
                             (r >= 10 && r <= 14 && c >= 10 * n + 10 && c <= 10 * n + 14))
                    line = line (c > 1 ? "," : "") (black ? "0" : "1")
                }
                print line
            } }' >"$data/ $n.mac"
    done
    for ((k = 0; k <= 35; k++)); do
        printf 'Pusto\r\n 2 \r\n 2 \r\n 16777215 \r\n 16777215 \r\n-1 \r\n-1 \r\n' >"$data/gl $k.mac"
    done
}

# The number of the library picture on the canvas, from its mark.
picture_number() {
    local n
    shot
    for ((n = 1; n <= 35; n++)); do
        near "$(pixel $((8 + 10 * n + 11)) 20)" "0 0 0" && { echo "$n"; return 0; }
    done
    return 1
}

width=1280 height=1024
start_xvfb || exit 1
start_program lay_pictures
enter_main_window || exit 1

move_to() {
    local xy
    read -ra xy < <(to_screen "$1" "$2")
    DISPLAY=$display xdotool mousemove --sync "${xy[0]}" "${xy[1]}"
}
for round in 1 2 3 4 5; do
    click_stage 1196 307   # "галерея рисунков"
    wait_colour "gallery window, round $round" 10 1276 1020 "255 255 255" || exit 1
    # Every other round an item is chosen; in the others the gallery is only looked at.
    ((round % 2 == 0)) && click_stage 100 $((14 + 20 * round))
    move_to 700 500        # over the preview
    click_stage 232 996    # "Выход"
    wait_colour "main window after the gallery, round $round" 10 1276 1020 "0 255 255" || exit 1
    move_to 300 500        # over where the gallery stood
    move_to 700 500
done

# ">>", then waits until a surprise game has taken the main window's place or a
# library picture is on the canvas (a new one; the same one again once the
# deadline has passed, as the draw may repeat itself).
number=''
for _ in $(seq 10); do
    click_stage 1192 852  # ">>"
    deadline=$((SECONDS + 5)) seen=''
    while :; do
        shot
        if ! near "$(pixel 1276 1020)" "0 255 255"; then
            close_game || exit 1
            break
        fi
        if near "$(pixel 8 108)" "0 0 0" && seen=$(picture_number) && { [[ $seen != "$number" ]] || ((SECONDS > deadline)); }; then
            break
        fi
        ((SECONDS > deadline)) && break
        sleep 0.2
    done
    [[ -n $seen ]] && { number=$seen; break; }
done
[[ -n $number ]] || { fail "no library picture after ten presses of '>>'"; exit 1; }
echo "library picture $number is on the canvas"

click_stage 1004 644   # palette swatch 12, blue
click_stage 58 108     # the picture's left area
wait_colour "left area filled" 5 58 108 "0 0 255" || exit 1
shot
near "$(pixel 250 108)" "255 255 255" || fail "the fill leaked through the wall into the right area"

slot="$gallery/gl $number.mac"
click_stage 1196 219   # "сохранить в галерею рисунков"
for _ in $(seq 50); do [[ $(stat -c %s "$slot") -gt 1000 ]] && break; sleep 0.1; done
[[ $(stat -c %s "$slot") -gt 1000 ]] || { fail "slot $number was not saved"; exit 1; }
head -c 5 "$work/program/data/gl $number.mac" | grep -q Pusto || fail "the save wrote into the program's starting gallery"

click_stage 1196 483   # "создать свой рисунок": a blank canvas
wait_colour "blank own drawing" 5 58 108 "255 255 255" || exit 1

click_stage 1196 307   # "галерея рисунков"
wait_colour "gallery window" 10 1276 1020 "255 255 255" || exit 1
click_stage 100 14     # the list's first item, "Мой рисунок"
for ((k = 0; k < number; k++)); do DISPLAY=$display xdotool key Down; done
wait_colour "preview of slot $number" 10 $((464 + 50)) 100 "0 0 255" || exit 1

click_stage 232 924    # "Редактировать"
wait_colour "main window after Редактировать" 10 1276 1020 "0 255 255" || exit 1
wait_colour "the saved colours on the main canvas" 5 58 108 "0 0 255" || exit 1

# A second start while the program runs asks it forward and leaves at once.
run_program >"$work/second.log" 2>&1 &
second=$!
for _ in $(seq 100); do kill -0 "$second" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second" 2>/dev/null; then
    end_process "$second"
    fail "a second start still runs after 10s"
else
    wait "$second"
    rc=$?
    ((rc == 0)) || fail "a second start exited with status $rc"
fi
kill -0 "$app_pid" 2>/dev/null || fail "the running copy ended when a second one started"
wait_colour "the main window still up after a second start" 5 1276 1020 "0 255 255" || exit 1

click_stage 1196 760   # "выход"
expect_exit_zero "выход" || exit 1
((failed)) && { echo "e2e_gallery: FAILED"; exit 1; }
echo "e2e_gallery: passed"
