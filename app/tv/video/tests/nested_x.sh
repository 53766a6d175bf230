#!/usr/bin/env bash
# nested_x.sh TEST [ARGS...]: runs TEST on a nested X server that offers the
# RandR sizes of a real monitor (Xephyr, resizeable, inside Xvfb), so that
# display mode changes never reach the user's desktop. Exit code 77 (skipped)
# when Xvfb or Xephyr is not installed.
set -u
for server in Xvfb Xephyr; do
    command -v "$server" >/dev/null || { echo "skipped: $server is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# start_server FIFO COMMAND...: starts an X server that writes its display
# number to the pipe, and prints the number.
start_server() {
    local fifo=$1; shift
    mkfifo "$fifo"
    "$@" -displayfd 3 3>"$fifo" >"$work/$(basename "$fifo").log" 2>&1 &
    pids+=($!)
    local number
    read -r -t 20 number <"$fifo" || { echo "X server did not start: $*" >&2; exit 1; }
    echo "$number"
}

outer=$(start_server "$work/outer" Xvfb -screen 0 1600x1200x24 -nolisten tcp)
[ -n "$outer" ] || exit 1
inner=$(DISPLAY=":$outer" start_server "$work/inner" Xephyr -screen 1280x1024x24 -resizeable -nolisten tcp)
[ -n "$inner" ] || exit 1
DISPLAY=":$inner" QT_QPA_PLATFORM=xcb "$@"
