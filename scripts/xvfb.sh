# Shared by the end-to-end tests and the start-up benchmark: a screen of their
# own and a clean end for the processes they start. Source it; it runs nothing.

# SIGTERM first, then SIGKILL for whatever does not stop.
end_process() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# xvfb_start WIDTH HEIGHT FOLDER: starts an Xvfb screen on a display number the
# server itself picks as free, so runs side by side never share a screen. Sets
# xvfb_pid and display; on failure prints the server's log and returns 1.
xvfb_start() {
    local folder=$3
    : >"$folder/display"
    Xvfb -displayfd 5 -screen 0 "$1x$2x24" -nolisten tcp 5>"$folder/display" >"$folder/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [[ -s $folder/display ]]; then
            display=":$(tr -d '[:space:]' <"$folder/display")"
            xdpyinfo -display "$display" >/dev/null 2>&1 && return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$folder/xvfb.log" >&2
    return 1
}
