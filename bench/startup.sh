#!/usr/bin/env bash
# Times the real program on Xvfb: how soon the welcome window shows, beside a bare
# Qt Widgets window's first frame on the same machine in the same run (the
# ratio of the two medians is the target), how soon the main window follows the
# click on "В игру !!!", memory with the music playing, and the CPU the idle
# windows take. Every start gets its own screen, user folder and copy of the
# program's folder, so no start inherits another's state.
#
#   bench/startup.sh [PROGRAM] [--runs N] [--idle SECONDS]
#
# PROGRAM is the binary (or its folder), build/pyatnushki/pyatnushki by default.
# Prints each figure's samples, their median and its target. Exits 0 whatever
# the figures; non-zero only when the program could not be measured.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/pyatnushki/pyatnushki
runs=5 idle=20
while (($#)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --idle) idle=$2; shift 2 ;;
        -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) bin=$1; shift ;;
    esac
done
[[ -d $bin ]] && bin=$bin/pyatnushki
[[ -x $bin ]] || { echo "startup.sh: no program at $bin" >&2; exit 1; }
bin=$(realpath "$bin")
[[ $runs =~ ^[1-9][0-9]*$ && $idle =~ ^[1-9][0-9]*$ ]] || { echo "startup.sh: --runs and --idle take whole numbers" >&2; exit 1; }

for tool in Xvfb xdpyinfo cc c++ pkg-config; do
    command -v "$tool" >/dev/null || { echo "startup.sh: $tool is not installed (run scripts/setup.sh)" >&2; exit 1; }
done

source "$root/scripts/xvfb.sh"
work=$(mktemp -d)
xvfb_pid='' app_pid='' probe_pid='' display=''

stop_all() {
    [[ -n $probe_pid ]] && end_process "$probe_pid"
    [[ -n $app_pid ]] && end_process "$app_pid"
    [[ -n $xvfb_pid ]] && end_process "$xvfb_pid"
    probe_pid='' app_pid='' xvfb_pid=''
}
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP

probe=$work/pixel_probe
cc -O2 -Wall -Wextra -o "$probe" "$root/bench/pixel_probe.c" -lXtst -lX11 2>"$work/cc.log" || {
    echo "startup.sh: cannot build the pixel probe (needs libx11-dev and libxtst-dev):" >&2
    cat "$work/cc.log" >&2
    exit 1
}

bare=$work/bare_window
# shellcheck disable=SC2046
c++ -O2 -fPIC -std=c++17 -o "$bare" "$root/bench/bare_window.cpp" $(pkg-config --cflags --libs Qt6Widgets) 2>"$work/cc.log" || {
    echo "startup.sh: cannot build the bare window (needs qt6-base-dev):" >&2
    cat "$work/cc.log" >&2
    exit 1
}

# Gives up on the whole measurement: what went wrong and what the program said.
give_up() {
    echo "startup.sh: run $run: $*" >&2
    [[ -s $work/app.log ]] && { echo "program output:" >&2; sed 's/^/  /' "$work/app.log" >&2; }
    exit 1
}

start_xvfb() { xvfb_start 1280 1024 "$work" || give_up "could not start Xvfb"; }

# Waits for the probe's answer while making sure the program still lives, so a
# crash is reported at once rather than after the probe's deadline.
await_probe() {
    while kill -0 "$probe_pid" 2>/dev/null; do
        kill -0 "$app_pid" 2>/dev/null || give_up "$1: the program exited early"
        sleep 0.02
    done
    wait "$probe_pid"; local rc=$?
    probe_pid=''
    ((rc == 0)) || give_up "$1: not on the screen in time ($(cat "$work/probe.out"))"
}

# Starts the probe on the welcome window's blue, which the bare window shows there
# too, and notes when the window's program is started (right after this returns).
watch_first_frame() {
    DISPLAY=$display "$probe" watch 1168 461 0 0 255 20000 >"$work/probe.out" 2>&1 &
    probe_pid=$!
    until grep -q ready "$work/probe.out" 2>/dev/null; do
        kill -0 "$probe_pid" 2>/dev/null || give_up "the pixel probe failed: $(cat "$work/probe.out")"
        sleep 0.01
    done
    started=${EPOCHREALTIME/[.,]/}
}
# Milliseconds from the start to the frame the probe saw.
first_frame_ms() {
    awk -v a="$started" -v b="$(awk '/^seen/ { print $2 }' "$work/probe.out")" 'BEGIN { printf "%.0f\n", (b - a) / 1000 }'
}

# utime + stime of the program, in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$app_pid/stat"; }
# Sets cpu to the percent of one core the program used over the next SECONDS seconds.
idle_cpu() {
    local before after
    before=$(cpu_ticks) || give_up "the program is gone"
    sleep "$1"
    after=$(cpu_ticks) || give_up "the program is gone"
    cpu=$(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$1" 'BEGIN { printf "%.2f\n", 100 * t / hz / s }')
}

# One snapshot of the program's folder for all starts, so a rebuild while this
# runs cannot mix two versions of the program in one table.
mkdir "$work/snapshot"
cp -a "$(dirname "$bin")/." "$work/snapshot/" || { echo "startup.sh: cannot copy $(dirname "$bin")" >&2; exit 1; }

welcome_ms=() bare_ms=() main_ms=() rss_mb=() welcome_cpu=() main_cpu=()
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Measuring $bin (built $(date -r "$work/snapshot/$(basename "$bin")" '+%F %T')):" \
    "$runs starts, about $((2 * idle + 10)) s each"

for ((run = 1; run <= runs; ++run)); do
    start_xvfb
    program=$work/program-$run
    mkdir "$program"
    cp -a "$work/snapshot/." "$program/"
    mkdir -m 700 "$work/runtime-$run" "$work/data-$run"

    # The bare window first, on the same fresh screen the program gets next.
    watch_first_frame
    DISPLAY=$display QT_QPA_PLATFORM=xcb LANG=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime-$run "$bare" >"$work/app.log" 2>&1 &
    app_pid=$!
    await_probe "bare window"
    bare_ms+=("$(first_frame_ms)")
    stop_all
    start_xvfb

    watch_first_frame
    # Started directly, not through a function, so $! is the program itself.
    DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy LANG=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime-$run \
        XDG_DATA_HOME=$work/data-$run "$program/$(basename "$bin")" >"$work/app.log" 2>&1 &
    app_pid=$!
    await_probe "welcome window"
    welcome_ms+=("$(first_frame_ms)")

    sleep 2  # past the first frame's loose ends
    idle_cpu "$idle"
    welcome_cpu+=("$cpu")

    DISPLAY=$display "$probe" click 1124 709 1276 1020 0 255 255 10000 >"$work/probe.out" 2>&1 &
    probe_pid=$!
    await_probe "main window"
    main_ms+=("$(awk '/^elapsed/ { printf "%.0f\n", $2 }' "$work/probe.out")")

    sleep 5  # the music has started and the window has settled
    rss_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status") || give_up "the program is gone"
    rss_mb+=("$(awk -v k="$rss_kb" 'BEGIN { printf "%.1f\n", k / 1024 }')")
    idle_cpu "$idle"
    main_cpu+=("$cpu")

    kill -0 "$app_pid" 2>/dev/null || give_up "the program exited during the run"
    stop_all
    rm -rf "$program"
    echo "  run $run: bare window ${bare_ms[-1]} ms, welcome ${welcome_ms[-1]} ms, main ${main_ms[-1]} ms, ${rss_mb[-1]} MiB," \
        "idle ${welcome_cpu[-1]} % / ${main_cpu[-1]} %"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# row NAME TARGET SAMPLES...: the samples, their median and whether it is within target.
row() {
    local name=$1 target=$2
    shift 2
    printf '%s\n' "$@" | sort -g | awk -v name="$name" -v target="$target" -v all="$*" '
        { v[NR] = $1 }
        END {
            m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%-28s %-34s %8g  <= %-5g %s\n", name, all, m, target, m <= target ? "OK" : "OVER" }'
}

echo
printf "%-28s %-34s %8s  %-8s %s\n" figure samples median target verdict
row "bare Qt window, ms" 1000000 "${bare_ms[@]}" | sed 's/ *<= *1e+06 *OK$//'
row "welcome window, ms" 400 "${welcome_ms[@]}"
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio=$(awk -v w="$(median "${welcome_ms[@]}")" -v b="$(median "${bare_ms[@]}")" 'BEGIN { printf "%.2f\n", w / b }')
row "welcome / bare window" 1.3 "$ratio"
row "main window after click, ms" 250 "${main_ms[@]}"
row "memory, main window, MiB" 64 "${rss_mb[@]}"
row "idle CPU, welcome, % core" 2 "${welcome_cpu[@]}"
row "idle CPU, main, % core" 0.5 "${main_cpu[@]}"
echo
echo "Idle CPU over ${idle} s per window. Load average (1, 5, 15 min) on $(nproc) cores:" \
    "before $load_before, after $load_after."
