# Shared by the end-to-end tests: an Xvfb screen of their own, the real program
# started in a private copy of its folder, screenshots, pixel checks and clicks.
# The caller sets bin (the program) before sourcing this file.
bin=$(realpath "$bin")
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
out_dir=$PWD
work=$(mktemp -d)
xvfb_pid='' app_pid='' display='' width=0 height=0 failed=0

stop_all() {
    [[ -n $app_pid ]] && end_process "$app_pid"
    [[ -n $xvfb_pid ]] && end_process "$xvfb_pid"
    app_pid='' xvfb_pid=''
}
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

for tool in Xvfb xdpyinfo xdotool import convert od; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (run scripts/setup.sh)"; exit 1; }
done

start_xvfb() {
    xvfb_start "$width" "$height" "$work" && return 0
    echo "FAIL: could not start Xvfb"
    failed=1
    return 1
}

# Stage coordinates to screen coordinates: uniform scale, centred.
to_screen() {
    awk -v x="$1" -v y="$2" -v w="$width" -v h="$height" 'BEGIN {
        s = w / 1280; if (h / 1024 < s) s = h / 1024
        printf "%d %d\n", (w - 1280 * s) / 2 + x * s + 0.5, (h - 1024 * s) / 2 + y * s + 0.5 }'
}

shot() { import -display "$display" -window root "png:$work/shot.png" 2>/dev/null; }

# Prints "R G B" of one pixel of the last screenshot.
pixel() {
    convert "$work/shot.png" -crop "1x1+$1+$2" +repage -depth 8 rgb:- 2>/dev/null |
        od -An -tu1 | awk '{ print $1, $2, $3 }'
}

near() {  # near "R G B" "R G B": every channel within the scaling blur
    awk -v a="$1" -v b="$2" 'BEGIN { split(a, p); split(b, q)
        for (i = 1; i <= 3; i++) { d = p[i] - q[i]; if (d < 0) d = -d; if (d > 24 || p[i] == "") exit 1 } }'
}

fail() {
    local file="$out_dir/e2e-failure-${width}x${height}.png"
    shot && cp "$work/shot.png" "$file"
    echo "FAIL [${width}x${height}]: $*"
    echo "  screenshot: $file"
    [[ -s $work/app.log ]] && { echo "  program output:"; sed 's/^/    /' "$work/app.log"; }
    failed=1
    return 1
}

# wait_colour WHAT SECONDS X Y "R G B": polls the screen pixel at (X, Y).
wait_colour() {
    local what=$1 seconds=$2 x=$3 y=$4 want=$5 seen='' deadline
    deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        if shot; then
            seen=$(pixel "$x" "$y")
            near "$seen" "$want" && return 0
        fi
        if ! kill -0 "$app_pid" 2>/dev/null; then
            screen_lost_at_start && continue
            fail "$what: the program exited early"; return 1
        fi
        sleep 0.2
    done
    fail "$what: screen pixel ($x, $y) expected rgb($want), saw rgb(${seen:-nothing}) after ${seconds}s"
}

click_stage() {
    local xy
    read -ra xy < <(to_screen "$1" "$2")
    # --sync waits for the pointer to arrive, which never happens when it is there already.
    if [[ $(DISPLAY=$display xdotool getmouselocation) == "x:${xy[0]} y:${xy[1]} "* ]]; then
        DISPLAY=$display xdotool click 1
    else
        DISPLAY=$display xdotool mousemove --sync "${xy[0]}" "${xy[1]}" click 1
    fi
}

# The child's saved pictures: the user's data folder of the test's own.
user_data=$work/user-data
home=$work/home  # the program's own state and the family's pictures
gallery=$user_data/pyatnushki

# Runs the program's copy with the test's screen, its own lock and user folder,
# no sound device and no session bus (left to find one, D-Bus starts
# dbus-launch, which can hang the first window's showing where no desktop
# runs); the arguments go to the program.
run_program() {
    DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy LANG=C.UTF-8 XDG_RUNTIME_DIR=$work \
        DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus \
        HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.local/state \
        XDG_DATA_HOME=$user_data "$work/program/$(basename "$bin")" "$@"
}

# Starts a private copy of the program's folder. A function named as the first
# argument lays a data folder of its own into the copy; without one (or with an
# empty name) the program's own pictures are copied. Further arguments go to the program.
start_program() {
    local from layout=${1:-}
    shift || true
    from=$(dirname "$bin")
    rm -rf "$work/program"
    mkdir "$work/program"
    find "$from" -mindepth 1 -maxdepth 1 ! -name data -exec cp -a {} "$work/program/" \;
    if [[ -n $layout ]]; then "$layout" "$work/program"; else cp -a "$from/data" "$work/program/"; fi
    run_program "$@" >"$work/app.log" 2>&1 &
    app_pid=$!
    started_with=("$layout" "$@")
}

# Now and then, with several screens starting and stopping side by side, a
# fresh program finds no screen to connect to although the screen answered a
# moment before. Once per test the screen and the program are then started
# again; anything else that ends the program early is a failure.
screen_retried=0
screen_lost_at_start() {
    ((screen_retried == 0)) && grep -q "could not connect to display" "$work/app.log" || return 1
    screen_retried=1
    echo "note: the program could not reach screen $display; starting the screen and the program again"
    app_pid=''
    stop_all
    start_xvfb && start_program "${started_with[@]}"
}

# Waits for the program to end by itself; fails unless it exits with status 0.
expect_exit_zero() {
    local rc
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "the program still runs 10s after '$1'"; return 1
    fi
    wait "$app_pid"; rc=$?; app_pid=''
    ((rc == 0)) && return 0
    # Under the sanitizers the leak check's own thread-stopping helper now and
    # then crashes at the very end, after the program has ended as it should;
    # that is said, not counted. A leak found, or any other status, still fails.
    if grep -q "LeakSanitizer has encountered a fatal error" "$work/app.log" &&
        ! grep -qE "ERROR: (Address|Leak|UndefinedBehavior)Sanitizer" "$work/app.log"; then
        echo "note: the leak check could not run after '$1' (its helper crashed); the program itself ended normally"
        return 0
    fi
    fail "the program exited with status $rc after '$1', expected 0"
}

# Holds the left button down along a horizontal line, in small steps.
drag_stage() {  # drag_stage X1 X2 Y
    local x xy
    read -ra xy < <(to_screen "$1" "$3")
    DISPLAY=$display xdotool mousemove --sync "${xy[0]}" "${xy[1]}" mousedown 1
    for ((x = $1; x <= $2; x += 4)); do
        read -ra xy < <(to_screen "$x" "$3")
        DISPLAY=$display xdotool mousemove --sync "${xy[0]}" "${xy[1]}"
    done
    DISPLAY=$display xdotool mouseup 1
}

# The program's message boxes on the screen: its windows with the program's
# title other than the stage, which has it too; one window id a line.
message_boxes() {
    local window
    for window in $(DISPLAY=$display xdotool search --onlyvisible --name '^Пятнушки$' 2>/dev/null); do
        DISPLAY=$display xdotool getwindowgeometry "$window" | grep -q "Geometry: ${width}x${height}" || echo "$window"
    done
}

# What is up, from the last screenshot.
main_window() { near "$(pixel 1276 1020)" "0 255 255"; }
square_up() { near "$(pixel 1000 700)" "255 255 255" && near "$(pixel 702 690)" "255 0 255"; }  # a cell and the outer band
example_up() { near "$(pixel 272 342)" "255 192 255"; }  # clear of the digits
trainer_up() { near "$(pixel 260 263)" "128 128 0"; }    # clear of the letters

# Closes whichever surprise game is up by its close box. A click that comes while
# the game is still being built can be lost, so it clicks again while the game shows.
close_game() {
    local box up deadline=$((SECONDS + 10))
    shot
    if square_up; then box="1186 382" up=square_up
    elif example_up; then box="1010 308" up=example_up
    elif trainer_up; then box="1021 229" up=trainer_up
    else fail "neither a picture nor a surprise game after '>>'"; return 1
    fi
    while ((SECONDS <= deadline)); do
        shot
        main_window && return 0
        # shellcheck disable=SC2086
        "$up" && click_stage $box
        sleep 0.5
    done
    fail "main window back after the game: still not there after 10s"
}

# Answers the program's message box with Enter, again while it stays up, and
# waits until the screen has had no box for two looks in a row.
answer_message() {
    local what=$1 deadline=$((SECONDS + 10)) clear=0 pressed=0 last=0
    while ((SECONDS <= deadline)); do
        if (($(message_boxes | wc -l) >= 1)); then
            clear=0
            ((pressed == 0 || SECONDS - last >= 2)) && { DISPLAY=$display xdotool key Return; pressed=1 last=$SECONDS; }
        elif ((pressed)); then
            ((++clear >= 2)) && return 0
        fi
        kill -0 "$app_pid" 2>/dev/null || { fail "$what: the program exited early"; return 1; }
        sleep 0.3
    done
    ((pressed)) && fail "$what: the message box is still up after 10s" || fail "$what: no message box after 10s"
}

# From the welcome window into the main window, on the native 1280 x 1024 stage.
enter_main_window() {
    wait_colour "welcome window" 20 1168 461 "0 0 255" || return 1
    click_stage 1124 709  # "В игру !!!"
    wait_colour "main window" 10 1276 1020 "0 255 255"
}

# From the main window into the second tale, "Лиса и кувшин", its first page filled blue.
enter_tale_filled_blue() {
    click_stage 1196 571  # " напечатать сказку"
    wait_colour "tale chooser" 10 243 534 "255 255 0" || return 1
    click_stage 647 510   # the second tale
    wait_colour "tale window with its blank canvas" 10 400 400 "255 255 255" || return 1
    click_stage 1100 676  # the tale window's swatch 12, blue
    click_stage 308 380   # the tale canvas
    wait_colour "tale canvas filled blue" 5 400 400 "0 0 255"
}
