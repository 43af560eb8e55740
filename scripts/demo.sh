#!/usr/bin/env bash
# Builds the DLL and the demo host, and runs mavdemo.exe under Wine. It writes its snapshots under out/.
# With a DISPLAY the window stays open (close it to end); without one a private Xvfb is used.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
mkdir -p "$MAV_LOG" "$MAV_ROOT/out"

"$MAV_ROOT/scripts/setup.sh" || exit 1
mav_build_win || exit 1
mav_wine_prefix
trap mav_stop_all EXIT
args=(--out "Z:$MAV_ROOT/out")
if [ -n "${DISPLAY:-}" ]; then
    args=(--show "${args[@]}")
else
    mav_xvfb_start || exit 1
fi
mav_wine_start
cd "$MAV_BUILD/win/bin"
mav_wine_run mavdemo.exe "${args[@]}"
