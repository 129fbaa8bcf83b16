# Sourced by the scripts that need a display for Wine's windows.
#   start_xvfb FIRST SCREEN  starts Xvfb on the first free display number from
#                            FIRST on, with the screen size SCREEN, exports
#                            DISPLAY and waits until the server answers
#   stop_xvfb                ends the server that start_xvfb started

xvfb_pid=""

start_xvfb() {
    local number="$1"
    while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
        number=$((number + 1))
    done
    Xvfb ":${number}" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":${number}"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on ${DISPLAY}" >&2
    return 1
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
