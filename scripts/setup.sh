#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, when it is missing. Run as root (or with sudo).
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for pkg in cmake g++ make googletest g++-mingw-w64-x86-64-posix wine64 xvfb xauth emf2svg librsvg2-bin libpng-dev; do
    have "$pkg" || need+=("$pkg")
done
if [ "${#need[@]}" -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
