# A private wine prefix and one wineserver kept alive for the whole run.
# Usage: start_wine PREFIX_DIR; stop_wine is registered on exit.
start_wine() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    # A persistent server keeps the prefix's services running between tests,
    # so waiting for it to go idle would never return; wineboot waits itself.
    wineserver -p 2>/dev/null || true  # a server of an earlier run may still hold the prefix
    wineboot -i >/dev/null 2>&1
}

# Windows without a window manager's frame: wine then need not wait for a
# manager that is not there each time a window or message box goes away.
unmanaged_windows() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Starts Xvfb on a free display unless a display is already there.
start_display() {
    if [ -n "${DISPLAY:-}" ] && [ "${TARVEX_OWN_DISPLAY:-0}" != 1 ]; then return; fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -s "$fdfile" ] && break; sleep 0.1; done
    if [ ! -s "$fdfile" ]; then
        rm -f "$fdfile"
        echo "Xvfb could not start a display for the window tests (is xvfb installed, and /tmp writable?)" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

stop_wine() {
    wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
