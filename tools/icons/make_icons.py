#!/usr/bin/env python3
"""Draws the icons and the cursor of MavMfc.dll and writes them as .ico and .cur files into src/res/.

Pure Python (no imaging library): every image is a function from a point in the unit square to an RGBA colour,
sampled 4x4 per pixel for anti-aliasing, written as 32-bit BGRA images with an AND mask. Run it again to
regenerate the same files: python3 tools/icons/make_icons.py

The images: 2000 the library's icon; 2001-2003 the material tree's images (material group, material, edge band);
2004 and 2005 a single-line and a multi-line row; cursor 2006 the pan cursor (a four-way arrow, hot spot in the
centre).
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "..", "src", "res"))


def rounded_rect(x, y, x0, y0, x1, y1, r):
    """True when (x, y) lies inside the rectangle with corner radius r."""
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def in_rect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1


def frame(x, y, x0, y0, x1, y1, w):
    return in_rect(x, y, x0, y0, x1, y1) and not in_rect(x, y, x0 + w, y0 + w, x1 - w, y1 - w)


def app_icon(x, y):
    """The library's icon: a cabinet in a blue tile, two drawers and a door, an orange dimension line."""
    if not rounded_rect(x, y, 0.02, 0.02, 0.98, 0.98, 0.16):
        return None
    shade = 0.85 + 0.15 * (1 - y)
    colour = (int(30 * shade), int(80 * shade), int(160 * shade), 255)
    white = (250, 250, 250, 255)
    orange = (255, 150, 30, 255)
    w = 0.06
    # Cabinet body with a door on the left and two drawers on the right.
    if frame(x, y, 0.18, 0.22, 0.82, 0.78, w):
        return white
    if in_rect(x, y, 0.47, 0.22, 0.53, 0.78):
        return white
    if in_rect(x, y, 0.50, 0.47, 0.82, 0.53):
        return white
    if in_rect(x, y, 0.38, 0.44, 0.42, 0.58) or in_rect(x, y, 0.60, 0.33, 0.72, 0.37) or in_rect(x, y, 0.60, 0.62, 0.72, 0.66):
        return white
    # Dimension line under the cabinet with two end ticks.
    if in_rect(x, y, 0.18, 0.85, 0.82, 0.88) or in_rect(x, y, 0.18, 0.81, 0.21, 0.92) or in_rect(x, y, 0.79, 0.81, 0.82, 0.92):
        return orange
    return colour


def mat_group_icon(x, y):
    """Material group: a yellow folder with its tab."""
    dark = (170, 115, 20, 255)
    if frame(x, y, 0.04, 0.26, 0.96, 0.86, 0.07):
        return dark
    if in_rect(x, y, 0.04, 0.26, 0.96, 0.86):
        return (245, 195, 65, 255)
    if in_rect(x, y, 0.06, 0.14, 0.46, 0.28):
        return (215, 160, 45, 255)
    return None


def material_icon(x, y):
    """Material: a wooden board with its grain."""
    if not in_rect(x, y, 0.08, 0.08, 0.92, 0.92):
        return None
    if frame(x, y, 0.08, 0.08, 0.92, 0.92, 0.07):
        return (105, 65, 30, 255)
    wave = math.sin(y * 22.0 + 1.4 * math.sin(x * 5.0))
    if wave > 0.55:
        return (160, 100, 50, 255)
    return (215, 160, 95, 255)


def edge_band_icon(x, y):
    """Edge band: a light board with a red band along its right edge."""
    if frame(x, y, 0.66, 0.16, 0.92, 0.84, 0.06):
        return (120, 20, 20, 255)
    if in_rect(x, y, 0.66, 0.16, 0.92, 0.84):
        return (215, 45, 40, 255)
    if frame(x, y, 0.08, 0.16, 0.70, 0.84, 0.06):
        return (120, 100, 70, 255)
    if in_rect(x, y, 0.08, 0.16, 0.70, 0.84):
        return (235, 220, 185, 255)
    return None


def row_icon(lines):
    """A row of a list: a white box with a blue border and the given number of text lines."""
    top, bottom = (0.30, 0.70) if lines == 1 else (0.08, 0.92)
    ys = [0.50] if lines == 1 else [0.28, 0.50, 0.72]

    def fn(x, y):
        if frame(x, y, 0.04, top, 0.96, bottom, 0.07):
            return (40, 90, 170, 255)
        if not in_rect(x, y, 0.04, top, 0.96, bottom):
            return None
        for i, ly in enumerate(ys):
            right = 0.62 if (lines > 1 and i == len(ys) - 1) else 0.82
            if in_rect(x, y, 0.18, ly - 0.05, right, ly + 0.05):
                return (45, 45, 45, 255)
        return (255, 255, 255, 255)

    return fn


PAN_SIZE = 32
PAN_HOTSPOT = (16, 16)


def pan_cursor(x, y):
    """Pan cursor: a black four-way arrow with a white outline, symmetric about the centre of pixel (16, 16)."""
    ax = abs(x * PAN_SIZE - (PAN_HOTSPOT[0] + 0.5))
    ay = abs(y * PAN_SIZE - (PAN_HOTSPOT[1] + 0.5))

    def arm(a, b, grow):
        # a along the arm, b across it: a shaft of half width 1.5 and an arrow head from 9.5 (half width 4.5) to
        # the tip at 14.5.
        if a <= 10.0 + grow and b <= 1.5 + grow:
            return True
        return 9.5 - grow <= a and b <= (14.5 - a) * 0.9 + 1.35 * grow

    def shape(grow):
        return arm(ax, ay, grow) or arm(ay, ax, grow)

    if shape(0.0):
        return (0, 0, 0, 255)
    if shape(1.0):
        return (255, 255, 255, 255)
    return None


def render(fn, size, ss=4):
    """Rows top-down of (r, g, b, a) for a size x size image, averaging ss x ss samples per pixel."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    c = fn((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size)
                    if c is not None:
                        a = c[3]
                        acc[0] += c[0] * a
                        acc[1] += c[1] * a
                        acc[2] += c[2] * a
                        acc[3] += a
            n = ss * ss
            a = acc[3] / n
            if acc[3] > 0:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: BITMAPINFOHEADER with doubled height, BGRA bottom-up, then the AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, fn, sizes):
    images = [dib(render(fn, s)) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


# Resource scripts compiled on their own each number the images of their ICON and CURSOR statements from 1, so two
# scripts with such statements collide when linked. The images of 2001-2006 are therefore written as raw resources
# (RT_ICON / RT_CURSOR images with ids of their own, and the RT_GROUP_ICON / RT_GROUP_CURSOR directories that point
# to them), which src/res/afx_resources.rc includes with explicit ids: image k of resource n has id 10 n + k.

def write_raw_icon(name, res_id, fn, sizes):
    """<name>_<size>.img (RT_ICON data: the DIB) per size and <name>.grp (RT_GROUP_ICON directory)."""
    group = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    for k, size in enumerate(sizes, start=1):
        img = dib(render(fn, size))
        with open(os.path.join(OUT, "%s_%d.img" % (name, size)), "wb") as f:
            f.write(img)
        group += struct.pack("<BBBBHHIH", size % 256, size % 256, 0, 0, 1, 32, len(img), res_id * 10 + k)
    with open(os.path.join(OUT, name + ".grp"), "wb") as f:
        f.write(group)


def write_raw_cursor(name, res_id, fn, size, hotspot):
    """<name>_<size>.img (RT_CURSOR data: hot spot, then the DIB) and <name>.grp (RT_GROUP_CURSOR directory)."""
    img = struct.pack("<HH", hotspot[0], hotspot[1]) + dib(render(fn, size))
    with open(os.path.join(OUT, "%s_%d.img" % (name, size)), "wb") as f:
        f.write(img)
    # A cursor directory entry gives width and the doubled height of the DIB (image and mask).
    group = struct.pack("<HHH", 0, 2, 1) + struct.pack("<HHHHIH", size, size * 2, 1, 32, len(img), res_id * 10 + 1)
    with open(os.path.join(OUT, name + ".grp"), "wb") as f:
        f.write(group)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "mav.ico"), app_icon, [16, 32, 48])
    write_raw_icon("mat_group", 2001, mat_group_icon, [16, 32])
    write_raw_icon("material", 2002, material_icon, [16, 32])
    write_raw_icon("edge_band", 2003, edge_band_icon, [16, 32])
    write_raw_icon("row_single", 2004, row_icon(1), [16, 32])
    write_raw_icon("row_multi", 2005, row_icon(3), [16, 32])
    write_raw_cursor("pan", 2006, pan_cursor, PAN_SIZE, PAN_HOTSPOT)


if __name__ == "__main__":
    main()
