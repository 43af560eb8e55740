#!/usr/bin/env bash
# Plants includes against the order of layers into a copy of src/ and checks that check_layers.sh names each one
# (and accepts the untouched copy).
set -u
here="$(cd "$(dirname "$0")" && pwd)"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
cp -r "$here/../src" "$tmp/src"
"$here/check_layers.sh" "$tmp/src" 2>/dev/null || { echo "check_layers_test: clean tree refused"; exit 1; }
fail=0
plant() {   # file, include line, expected text in the report
    cp -r "$here/../src/." "$tmp/src/"
    printf '%s\n' "$2" >>"$tmp/src/$1"
    out=$("$here/check_layers.sh" "$tmp/src" 2>&1) && { echo "check_layers_test: accepted $1 <- $2"; fail=1; return; }
    grep -qF "$3" <<<"$out" || { echo "check_layers_test: for $1 <- $2 expected '$3', got: $out"; fail=1; }
    cp "$here/../src/$1" "$tmp/src/$1"
}
plant data/CMavColor.cpp '#include "geometry/hatch.h"' "data/CMavColor.cpp:"
plant base/text.cpp '#include "data/config.h"' "base may not include data"
plant gdx/CMavGDX.cpp '#include "generators/generators.h"' "gdx may not include generators"
plant gdx/CMavGDX.cpp '#include <windows.h>' "portable core (gdx) includes a Windows header"
plant geometry/hatch.cpp '#include "afx/CWnd.h"' "geometry may not include afx"
plant afx/CWnd.cpp '#include "gdx/CMavGDX.h"' "afx uses base only"
plant slide/slide.cpp '#include "base/win/registry.h"' "Win32 part of base"
plant render/MavRender.cpp '#include "ui/whatever.h"' "render may not include ui"
[ $fail -eq 0 ] && echo "check_layers_test: 8 planted includes refused, clean tree accepted"
exit $fail
