#!/usr/bin/env bash
# Fails when the portable core (src/platform outside win/, src/gdx, src/generators) includes a Windows header.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
hits=$(grep -rnE '#\s*include\s*[<"](windows|winuser|wingdi|winbase|windef|ole2|objbase|shlobj|commctrl)\.h[">]' \
    "$root/src/platform" "$root/src/gdx" "$root/src/generators" "$root/include/mav/mavcore.h" 2>/dev/null \
    | grep -v '/src/platform/win/' || true)
if [ -n "$hits" ]; then
    echo "check_layers: the portable core includes Windows headers:" >&2
    echo "$hits" >&2
    exit 1
fi
