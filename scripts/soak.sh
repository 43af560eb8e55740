#!/usr/bin/env bash
# The soak under Wine: builds mavsoak.exe and runs it on a private display. Every dialog of the library is opened
# and closed a thousand times, every control painted ten thousand times with a changing zoom, a thousand metafiles
# written; one line per part with GDI and USER objects, the afx wrappers' GDI handles, windows and private bytes
# before and after. Exits non-zero when a part grows. DIVISOR divides every count for a quick pass (default 1).
#
#   scripts/soak.sh [DIVISOR]
set -uo pipefail
MAV_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$MAV_ROOT/scripts/lib.sh"
# A prefix of its own, so that the soak and the test command can run side by side.
export WINEPREFIX="$MAV_BUILD/wineprefix-soak"
mkdir -p "$MAV_LOG"
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
if [ ! -f "$MAV_BUILD/win/CMakeCache.txt" ]; then
    cmake -S "$MAV_ROOT" -B "$MAV_BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$MAV_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAV_WERROR=ON >"$MAV_LOG/win-configure.log" \
        || { cat "$MAV_LOG/win-configure.log"; exit 1; }
fi
cmake --build "$MAV_BUILD/win" -j"$(mav_jobs)" --target mavsoak >"$MAV_LOG/soak-build.log" 2>&1 \
    || { tail -40 "$MAV_LOG/soak-build.log"; exit 1; }

mav_wine_prefix
mav_xvfb_start
mav_wine_start
trap mav_stop_all EXIT
cd "$MAV_BUILD/win/bin" || exit 1
# First the soak's own check: a deliberate leak must show in every count.
$MAV_WINE mavsoak.exe check </dev/null >"$MAV_LOG/soak.log" 2>"$MAV_LOG/soak.err"
rc=$?
cat "$MAV_LOG/soak.log"
[ $rc -eq 0 ] || exit $rc
$MAV_WINE mavsoak.exe "${1:-1}" </dev/null >"$MAV_LOG/soak.log" 2>"$MAV_LOG/soak.err"
rc=$?
cat "$MAV_LOG/soak.log"
[ $rc -eq 0 ] || echo "mavsoak exited with $rc (Wine's messages in $MAV_LOG/soak.err)"
exit $rc
