# Sourced by scripts/run and scripts/screenshots: builds the debug program
# (the dev preset) and starts its window on an Xvfb server of the caller's own.
#   start_window SCREEN-SIZE [ENVIRONMENT-ASSIGNMENT...]
# Sets BUILD, and WINDOW to the X window's id once it shows (60 s at most);
# exits non-zero when it does not. The window and the server end with the
# caller.
source "$DIELEKTRA_ROOT/scripts/lib/xvfb.sh"
ensure_packages x11-utils imagemagick xdotool

BUILD="$DIELEKTRA_ROOT/build${DIELEKTRA_BUILD_SUFFIX:-}"
build_program() {
    (cd "$DIELEKTRA_ROOT" && cmake --preset dev && cmake --build --preset dev)
}

start_window() {
    local size="$1"
    shift
    window_work="$(mktemp -d)"
    window_pid=""
    trap '[ -z "$window_pid" ] || kill "$window_pid" 2>/dev/null; kill "${XVFB_PID:-}" 2>/dev/null; rm -rf "$window_work"' EXIT
    start_xvfb "$window_work" "$size"
    env "$@" QT_QPA_PLATFORM=xcb "$BUILD/app/dielektra" &
    window_pid=$!
    WINDOW="$(timeout 60 xdotool search --sync --onlyvisible --name "^Ferrolux Edition - Dielektra$" | head -n 1)" || true
    [ -n "$WINDOW" ] || { echo "The window did not show within 60 s." >&2; exit 1; }
}
