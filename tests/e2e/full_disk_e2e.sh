#!/usr/bin/env bash
# A tale page printed onto a full disk (--print-to-pdf into a tiny filesystem):
# the program says why in a message box, leaves no partial sheet, and the tale
# keeps its page and the drawing on it, as it does without a printer.
# Needs to mount a small tmpfs (root); says it is skipped where it cannot.
# Usage: full_disk_e2e.sh PATH_TO_PYATNUSHKI
set -uo pipefail

bin=${1:?usage: full_disk_e2e.sh PATH_TO_PYATNUSHKI}
source "$(dirname "$0")/lib.sh"

full=$work/full
mkdir -p "$full"
if ! mount -t tmpfs -o size=8k tmpfs "$full" 2>/dev/null; then
    echo "e2e_full_disk: skipped (no permission to mount a small filesystem)"
    exit 0
fi
trap 'stop_all; umount "$full" 2>/dev/null; rm -rf "$work"' EXIT

width=1280 height=1024
start_xvfb || exit 1
start_program '' --print-to-pdf "$full"
enter_main_window || exit 1

enter_tale_filled_blue || exit 1

click_stage 1152 892  # ">>"
answer_message "the full disk's message" || exit 1
wait_colour "the page keeps its drawing" 5 400 400 "0 0 255" || exit 1
leftovers=$(find "$full" -mindepth 1 | wc -l)
((leftovers == 0)) || fail "a partial sheet was left on the full disk: $(ls "$full")"

((failed)) && { echo "e2e_full_disk: FAILED"; exit 1; }
echo "e2e_full_disk: passed"
