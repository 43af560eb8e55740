#!/usr/bin/env bash
# Builds the drawing benchmark in the Windows tree and runs it under Wine with a private Xvfb. It prints, per case,
# the renderer's time against the bare GDI calls for the same device geometry, and their ratio.
# Usage: scripts/bench_win.sh [repetitions]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
mkdir -p "$MAV_LOG"

cmake -S "$MAV_ROOT" -B "$MAV_BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$MAV_ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAV_WERROR=ON -DMAV_BENCH=ON >"$MAV_LOG/win-configure.log" \
    || { cat "$MAV_LOG/win-configure.log"; exit 1; }
cmake --build "$MAV_BUILD/win" -j"$(mav_jobs)" --target render_winbench winekeep || exit 1
mav_wine_prefix
trap mav_stop_all EXIT
mav_xvfb_start || exit 1
mav_wine_start
cd "$MAV_BUILD/win/bin"
mav_wine_run render_winbench.exe "$@"
