#!/usr/bin/env python3
"""Compares the listings of the test slides with an independent slide reader: netpbm's `sldtoppm -verbose`.

For each slide in the folder (default: tests/data/slides) with a listing NAME.txt, sldtoppm's vectors and
polygons, each with its colour, are compared with the listing's lines and polygons (lines as unordered segments,
since a common endpoint may be listed from either end). Library members are read with `sldtoppm -Lib NAME` and
compared with the listing of the slide file that holds the same bytes.

sldtoppm reads some inputs differently on purpose; those slides are reported as known differences, not failures:
it rejects level-1 slides and polygons of fewer than three vertices, takes a record word 0x80xx for a vector, and
ends a fill only at a negative y, so a fill whose repeated first vertex has y = 0 reads differently.

Exit status 1 when a slide that should agree does not. With --ppm the script also writes slides with netpbm's
`ppmtoacad` (NAME.sld) and their listings as sldtoppm reads them (NAME.txt), as foreign test input.
"""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sldwrite  # noqa: E402

KNOWN = {
    "every_l1_le": "level-1 slides are not read by sldtoppm",
    "every_l1_be": "level-1 slides are not read by sldtoppm",
    "unknown_record": "sldtoppm reads 0x80xx as a vector",
    "fill_negative_y": "sldtoppm rejects a two-vertex polygon",
    "fill_repeat_zero_y": "sldtoppm ends a fill only at a negative y",
    "fill_count_65535": "sldtoppm reads the first vertex record of a cut fill as a vector",
    "fill_without_closing_record": "sldtoppm drops a fill without its closing record",
}
DEFAULT_COLOR = 7  # sldtoppm's colour before the first colour record


def sldtoppm(args):
    p = subprocess.run(["sldtoppm", "-verbose"] + args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return p.stderr.decode("latin-1")


def theirs(text):
    out = []
    poly = None
    for ln in text.splitlines():
        m = re.search(r"Vector \((-?\d+), (-?\d+)\) - \((-?\d+), (-?\d+)\)\s+Color (\d+)", ln)
        if m:
            x1, y1, x2, y2, c = map(int, m.groups())
            out.append(("line", frozenset([(x1, y1), (x2, y2)]), c))
            continue
        m = re.search(r"Polygon: (\d+) points, fill type \d+, color (\d+)", ln)
        if m:
            poly = [int(m.group(2)), []]
            out.append(poly)
            continue
        m = re.search(r"Point \d+:\s+\((-?\d+), (-?\d+)\)", ln)
        if m and poly is not None:
            poly[1].append((int(m.group(1)), int(m.group(2))))
    return [e if e[0] == "line" else ("poly", tuple(e[1]), e[0]) for e in out]


def ours(listing):
    out = []
    color = DEFAULT_COLOR
    for ln in listing.splitlines():
        f = ln.split()
        if f[0] == "color":
            color = int(f[1])
        elif f[0] == "line":
            x1, y1, x2, y2 = map(int, f[1:])
            out.append(("line", frozenset([(x1, y1), (x2, y2)]), color))
        elif f[0] == "poly":
            v = list(map(int, f[1:]))
            out.append(("poly", tuple(zip(v[0::2], v[1::2])), color))
    return out


def compare(label, mine, other):
    if mine == other:
        print("agree   %-34s %d items" % (label, len(mine)))
        return True
    print("DIFFER  %s" % label)
    for i in range(max(len(mine), len(other))):
        a = mine[i] if i < len(mine) else None
        b = other[i] if i < len(other) else None
        if a != b:
            print("   #%d ours %s\n       sldtoppm %s" % (i, a, b))
    return False


def write_ppm_slides(folder):
    # A 4x3 picture of five colours, once as lines per pixel row and once as filled pixels.
    ppm = b"P3\n4 3\n255\n255 0 0  0 255 0  0 0 255  255 255 0\n" \
          b"255 255 255  0 0 0  255 0 0  0 255 255\n0 0 255  0 0 255  255 0 255  255 255 255\n"
    for name, args in (("ppmtoacad_lines", []), ("ppmtoacad_poly", ["-poly"])):
        data = subprocess.run(["ppmtoacad"] + args, input=ppm, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, check=True).stdout
        path = os.path.join(folder, name + ".sld")
        with open(path, "wb") as f:
            f.write(data)
        text = sldtoppm([path])
        m = re.search(r"screen size (\d+)x(\d+)", text)
        lines = ["header 2 %d %d 0" % (int(m.group(1)) - 1, int(m.group(2)) - 1)]
        color = DEFAULT_COLOR
        for kind, geo, c in theirs(text):
            if c != color:
                lines.append("color %d" % c)
                color = c
            if kind == "line":
                pts = sorted(geo) if len(geo) == 2 else [next(iter(geo))] * 2
                lines.append("line %d %d %d %d" % (pts[0] + pts[1]))
            else:
                lines.append("poly " + " ".join("%d %d" % p for p in geo))
        lines.append("stop end")
        with open(os.path.join(folder, name + ".txt"), "w") as f:
            f.write("\n".join(lines) + "\n")


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    folder = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "..", "tests", "data", "slides")
    if "--ppm" in sys.argv:
        write_ppm_slides(folder)
    ok = True
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".sld"):
            continue
        base = name[:-4]
        txt = os.path.join(folder, base + ".txt")
        if not os.path.exists(txt) or base.startswith("level_"):
            continue
        with open(txt) as f:
            mine = ours(f.read())
        other = theirs(sldtoppm([os.path.join(folder, name)]))
        if base in KNOWN:
            same = mine == other
            print("known   %-34s %s%s" % (base, KNOWN[base], " (yet they agree)" if same else ""))
            continue
        ok = compare(base, mine, other) and ok
    lib = os.path.join(folder, "library.slb")
    for entry, member in sldwrite.LIBRARY_MEMBERS.items():
        with open(os.path.join(folder, member + ".txt")) as f:
            mine = ours(f.read())
        other = theirs(sldtoppm(["-Lib", entry.encode("cp1252"), lib]))
        ok = compare("library.slb:" + entry, mine, other) and ok
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
