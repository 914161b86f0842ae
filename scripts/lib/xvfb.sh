# Sourced: an Xvfb server of the caller's own, 24 bits at 96 dpi and no TCP,
# on a display that it picks itself.
#   start_xvfb WORK-FOLDER [SIZE [XVFB-ARGUMENT...]]   (SIZE 800x600 if not given)
# Waits until the server takes clients (60 s at most; it writes its display's
# number then), exports DISPLAY and sets XVFB_PID for the caller to kill.
# Non-zero, with the server's log, when it did not start.
start_xvfb() {
    local work="$1" size="${2:-800x600}"
    shift $(($# < 2 ? $# : 2))
    Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi 96 -nolisten tcp "$@" 3>"$work/xvfb.display" \
        >"$work/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local _
    for _ in $(seq 600); do
        [ -s "$work/xvfb.display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/xvfb.display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$work/xvfb.display")"
    export DISPLAY
}

# Saves a picture of an X window once it is drawn: when two looks a tenth of a
# second apart agree (5 s at most).   screenshot WINDOW-ID FILE
screenshot() {
    local before="" now _
    for _ in $(seq 50); do
        now="$(import -window "$1" rgb:- | sha256sum)"
        [ "$now" = "$before" ] && break
        before="$now"
        sleep 0.1
    done
    import -window "$1" "$2"
}
