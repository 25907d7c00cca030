# shellcheck shell=bash
# Wine environment for running the Windows build headless. Source it, then:
#
#   kv_wine_start <build-dir> [dpi]   # display, prefix, warm wineserver
#   trap kv_wine_stop EXIT            # wineserver -k, and our Xvfb if any
#
# Exports DISPLAY, WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES for everything
# started afterwards (ctest, test wrappers that call `wine` and `ip`).
#
# The DPI comes from the second argument or KV_WINE_DPI. A non-default DPI
# gets a prefix of its own (<build-dir>/wineprefix-<dpi>) so the usual prefix
# keeps 96 DPI. KV_WINE_PREFIX_NAME names another prefix under the build
# directory (a private network namespace needs one, and its own
# wineserver). KV_DISPLAY_FIRST sets the first display number tried (90).
#
# One prefix serves one run at a time: starting kills any wineserver left on
# it, because a stale one may be tied to a display that no longer exists.

KV_XVFB_PID=""
KV_WINE_STARTED=""

kv_log() {
    echo "wine-env: $*" >&2
}

# True when $1 (default: $DISPLAY) is an X display that answers.
kv_display_answers() {
    local d=${1:-${DISPLAY:-}}
    [[ -n "$d" ]] || return 1
    if command -v xdpyinfo >/dev/null 2>&1; then
        timeout 5 xdpyinfo -display "$d" </dev/null >/dev/null 2>&1
    else
        DISPLAY=$d timeout 5 xdotool getdisplaygeometry </dev/null >/dev/null 2>&1
    fi
}

# Starts Xvfb on the first free display from KV_DISPLAY_FIRST upward and
# exports DISPLAY. A number counts as taken when its lock file or socket
# exists; if another server grabs it in between, Xvfb exits and the next
# number is tried.
kv_xvfb_start() {
    local n=${KV_DISPLAY_FIRST:-90} last i log pid
    last=$((n + 60))
    log=${KV_XVFB_LOG:-/dev/null}
    for (( ; n <= last; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp \
            </dev/null >"$log" 2>&1 &
        pid=$!
        for ((i = 0; i < 100; i++)); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break
            fi
            if kv_display_answers ":$n"; then
                KV_XVFB_PID=$pid
                export DISPLAY=":$n"
                kv_log "started Xvfb on $DISPLAY (pid $pid)"
                return 0
            fi
            sleep 0.1
        done
        # Died (number taken meanwhile) or never answered within 10 s.
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    kv_log "could not start Xvfb on any display from :${KV_DISPLAY_FIRST:-90} to :$last"
    return 1
}

kv_wine_start() {
    local build=${1:?kv_wine_start needs the build directory}
    local dpi=${2:-${KV_WINE_DPI:-}}
    local prefix_name=${KV_WINE_PREFIX_NAME:-wineprefix}

    mkdir -p "$build"
    build=$(cd "$build" && pwd)
    if [[ -n "$dpi" && "$dpi" != 96 ]]; then
        if ! [[ "$dpi" =~ ^[0-9]+$ ]] || ((dpi < 48 || dpi > 480)); then
            kv_log "bad DPI '$dpi' (want a number such as 120, 144 or 192)"
            return 1
        fi
        prefix_name=wineprefix-$dpi
    fi

    # The display must exist before the first wineserver of the run: a
    # server started without one keeps a small desktop for its whole life.
    if ! kv_display_answers; then
        kv_xvfb_start || return 1
    fi

    export WINEPREFIX="$build/$prefix_name"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    KV_WINE_STARTED=1

    timeout 20 wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true

    # The stamp marks a prefix whose creation finished; one cut short by a
    # timeout or a kill is made again from scratch.
    if [[ ! -f "$WINEPREFIX/.kv-ready" ]]; then
        kv_log "creating $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        if ! timeout 180 wineboot -i </dev/null >/dev/null 2>&1; then
            kv_log "wineboot -i failed or timed out for $WINEPREFIX"
            return 1
        fi
        timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true
        touch "$WINEPREFIX/.kv-ready"
    fi

    # Every stream redirected: a wineserver holding a caller's pipe (ctest's
    # output, a `| tee`) keeps that caller waiting forever.
    wineserver -p </dev/null >/dev/null 2>&1 &
    if ! timeout 120 wineboot </dev/null >/dev/null 2>&1; then
        kv_log "wineboot failed or timed out for $WINEPREFIX"
        return 1
    fi

    if [[ -n "$dpi" ]]; then
        kv_wine_set_dpi "$dpi" || return 1
    fi
    kv_log "DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

# Sets LogPixels for the current prefix. Running processes (the desktop
# process among them) read it once, so a change restarts the server.
kv_wine_set_dpi() {
    local dpi=$1 current hex
    hex=$(printf '0x%x' "$dpi")
    current=$(timeout 30 wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels \
        </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
    if [[ "$current" == "$hex" ]]; then
        return 0
    fi
    if ! timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1; then
        kv_log "could not set LogPixels=$dpi in $WINEPREFIX"
        return 1
    fi
    # A server that is still going down when the next one starts makes that
    # wineboot fail now and then, so the restart is tried up to three times.
    local attempt
    for attempt in 1 2 3; do
        timeout 20 wineserver -k </dev/null >/dev/null 2>&1 || true
        timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true
        wineserver -p </dev/null >/dev/null 2>&1 &
        if timeout 120 wineboot </dev/null >/dev/null 2>&1; then
            kv_log "LogPixels set to $dpi"
            return 0
        fi
        kv_log "wineboot failed after setting the DPI (attempt $attempt)"
        sleep 1
    done
    return 1
}

# Safe to call more than once and from an EXIT trap: never fails.
kv_wine_stop() {
    local i
    if [[ -n "$KV_WINE_STARTED" && -n "${WINEPREFIX:-}" ]]; then
        if ! timeout 20 wineserver -k </dev/null >/dev/null 2>&1; then
            timeout 10 wineserver -k9 </dev/null >/dev/null 2>&1 || true
        fi
        timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true
        KV_WINE_STARTED=""
    fi
    if [[ -n "$KV_XVFB_PID" ]]; then
        kill "$KV_XVFB_PID" 2>/dev/null || true
        for ((i = 0; i < 50; i++)); do
            kill -0 "$KV_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$KV_XVFB_PID" 2>/dev/null || true
        wait "$KV_XVFB_PID" 2>/dev/null || true
        KV_XVFB_PID=""
    fi
    return 0
}
