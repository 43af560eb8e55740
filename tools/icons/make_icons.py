#!/usr/bin/env python3
"""Draws the icons of MavMfc.dll and writes them as .ico files into src/res/.

Pure Python (no imaging library): every icon is a function from a point in the unit square to an RGBA colour,
sampled 4x4 per pixel for anti-aliasing, written as 32-bit BGRA images with an AND mask. Run it again to
regenerate the same files: python3 tools/icons/make_icons.py
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


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "mav.ico"), app_icon, [16, 32, 48])


if __name__ == "__main__":
    main()
