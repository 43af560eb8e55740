# Shared shell functions: build trees, the Wine prefix and session, and a private Xvfb. Sourced, not run.
# Everything started here is stopped by mav_stop_all, which the callers install as an EXIT trap.

MAV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MAV_BUILD="${MAV_BUILD:-$MAV_ROOT/build}"
MAV_WINE=/usr/lib/wine/wine64
MAV_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$MAV_WINESERVER" ] || MAV_WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$MAV_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
MAV_XVFB_PID=""
MAV_LOG="$MAV_BUILD/logs"

mav_jobs() { nproc 2>/dev/null || echo 2; }

mav_build_native() {
    cmake -S "$MAV_ROOT" -B "$MAV_BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DMAV_SANITIZE=ON -DMAV_WERROR=ON >"$MAV_LOG/native-configure.log" \
        || { cat "$MAV_LOG/native-configure.log"; return 1; }
    cmake --build "$MAV_BUILD/native" -j"$(mav_jobs)"
}

mav_build_win() {
    cmake -S "$MAV_ROOT" -B "$MAV_BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$MAV_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAV_WERROR=ON >"$MAV_LOG/win-configure.log" \
        || { cat "$MAV_LOG/win-configure.log"; return 1; }
    cmake --build "$MAV_BUILD/win" -j"$(mav_jobs)"
}

# Creates the prefix once: wineboot, then the X11 driver told that no window manager runs (otherwise every
# destroyed captioned window waits two seconds).
mav_wine_prefix() {
    if [ -f "$WINEPREFIX/.mav-ready" ]; then return 0; fi
    echo "wine: creating prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$MAV_WINE" wineboot -i </dev/null >"$MAV_LOG/wineboot.log" 2>&1 || true
    "$MAV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$MAV_LOG/wineboot.log" 2>&1
    "$MAV_WINESERVER" -w
    touch "$WINEPREFIX/.mav-ready"
}

# A persistent wineserver, a synchronous wineboot and a keep-alive process, all detached from our pipes, so that
# test programs start fast and never hold a caller's pipe open.
mav_wine_start() {
    mkdir -p "$WINEPREFIX"
    "$MAV_WINESERVER" -p </dev/null >>"$MAV_LOG/wineserver.log" 2>&1
    "$MAV_WINE" wineboot </dev/null >>"$MAV_LOG/wineboot.log" 2>&1 || true
    if [ -f "$MAV_BUILD/win/bin/winekeep.exe" ]; then
        "$MAV_WINE" "$MAV_BUILD/win/bin/winekeep.exe" </dev/null >/dev/null 2>&1 &
    fi
}

mav_wine_stop() {
    [ -d "$WINEPREFIX" ] || return 0
    "$MAV_WINESERVER" -k >/dev/null 2>&1 || true
    "$MAV_WINESERVER" -w >/dev/null 2>&1 || true
}

# Starts a private Xvfb on a free display and exports DISPLAY.
mav_xvfb_start() {
    local dfile="$MAV_LOG/xvfb.display"
    rm -f "$dfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" </dev/null >"$MAV_LOG/xvfb.log" 2>&1 &
    MAV_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$dfile" ]; then
            export DISPLAY=":$(head -n1 "$dfile" | tr -d '[:space:]')"
            return 0
        fi
        kill -0 "$MAV_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "xvfb: did not start (see $MAV_LOG/xvfb.log)" >&2
    return 1
}

mav_xvfb_stop() {
    if [ -n "$MAV_XVFB_PID" ]; then
        kill "$MAV_XVFB_PID" 2>/dev/null || true
        wait "$MAV_XVFB_PID" 2>/dev/null || true
        MAV_XVFB_PID=""
    fi
}

mav_stop_all() {
    mav_wine_stop
    mav_xvfb_stop
}

# Runs a Windows program under the session; its output goes to a file (never a pipe Wine's services could
# inherit), which is printed afterwards. Returns the program's exit code.
mav_wine_run() {
    local exe="$1"; shift
    local log="$MAV_LOG/$(basename "$exe" .exe).log"
    local rc=0
    "$MAV_WINE" "$exe" "$@" </dev/null >"$log" 2>&1 || rc=$?
    cat "$log"
    return $rc
}
