#!/usr/bin/env bash
# Checks the metafiles the Windows tests kept (run them with MAV_EMF_KEEP set to a folder) with a reader that is
# not GDI: Debian's emf2svg converts each .emf, librsvg rasterises the SVG, and emfcheck compares that picture
# with the .bmp that GDI played from the same file. Fails when a metafile cannot be converted or the pictures differ.
# Usage: scripts/emf_check.sh <folder with the kept .emf and .bmp files> [emfcheck program]
set -uo pipefail
dir="${1:?folder of kept metafiles}"
here="$(cd "$(dirname "$0")/.." && pwd)"
check="${2:-${MAV_BUILD:-$here/build}/native/emfcheck}"
for tool in emf2svg-conv rsvg-convert "$check"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "emf check: $tool not found" >&2; exit 1; }
done
shopt -s nullglob
files=("$dir"/*.emf)
if [ ${#files[@]} -eq 0 ]; then
    echo "emf check: no metafiles in $dir" >&2
    exit 1
fi
failed=0
for emf in "${files[@]}"; do
    base="${emf%.emf}"
    if ! emf2svg-conv -i "$emf" -o "$base.svg" >"$base.conv.log" 2>&1 || [ ! -s "$base.svg" ]; then
        echo "emf check: emf2svg cannot convert $emf"; cat "$base.conv.log"; failed=1; continue
    fi
    # Rasterised without smoothing, so that every drawn pixel keeps its colour, and half a unit down and right:
    # GDI lights the pixel whose corner a coordinate names, an SVG stroke is centred on it. The page grows by one
    # unit each way, as GDI's bounds include their right and bottom edge.
    awk '
        !done && /<svg / {
            for (a = 1; a <= 2; a++) {
                key = a == 1 ? "width" : "height"
                if (match($0, key "=\"[0-9.]+\"")) {
                    v = substr($0, RSTART + length(key) + 2, RLENGTH - length(key) - 3) + 1
                    $0 = substr($0, 1, RSTART - 1) key "=\"" v "\"" substr($0, RSTART + RLENGTH)
                }
            }
            sub(/<svg /, "<svg shape-rendering=\"crispEdges\" ")
            sub(/>[ \t]*$/, "><g transform=\"translate(0.5 0.5)\">")
            done = 1
        }
        /<\/svg>/ { sub(/<\/svg>/, "</g></svg>") }
        { print }' "$base.svg" >"$base.aligned.svg"
    if ! rsvg-convert -o "$base.png" "$base.aligned.svg" >"$base.conv.log" 2>&1; then
        echo "emf check: librsvg cannot draw the SVG of $emf"; cat "$base.conv.log"; failed=1; continue
    fi
    if [ ! -f "$base.bmp" ]; then
        echo "emf check: $base.bmp (GDI's picture) is missing"; failed=1; continue
    fi
    "$check" "$base.bmp" "$base.png" "$base.side.png" || { echo "emf check: $emf differs, see $base.side.png"; failed=1; }
done
[ $failed -eq 0 ] && echo "emf check: ${#files[@]} metafiles converted by emf2svg and drawn alike"
exit $failed
