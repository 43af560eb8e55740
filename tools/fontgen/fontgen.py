#!/usr/bin/env python3
"""Generates src/generators/font_glyphs.inc, the outline data of the built-in font.

Every glyph is drawn here as a stroke skeleton (polylines and elliptic arcs on a design grid where capitals stand
from 0 to 1, the x-height is 0.7 and descenders reach -0.3). The strokes are rasterised at high resolution as
capsules of the glyph's pen width, the filled area is traced into pixel-edge contours, the contours are simplified
(Douglas-Peucker) and sorted into regions: counter-clockwise outer outlines, each with the clockwise holes that lie
inside it. The result is scaled into the font cell (capitals from y = 0 to y = 1, left edge at x = 0.05) and written
as readable C++ data. Running the script again writes the same file.

    python3 tools/fontgen/fontgen.py [output]
"""
import math
import sys
import unicodedata

RES = 100            # pixels per design unit
TOL = 0.65           # simplification tolerance in pixels
PEN = 0.14           # standard pen width in design units
SCALE = 1.0 / (1.0 + PEN)   # design to cell: capitals with their pen reach exactly 0..1
LEFT = 0.05          # left side bearing in the cell


# ---- skeleton helpers -------------------------------------------------------------------------------------------
def L(*pts):
    return [tuple(p) for p in pts]


def E(cx, cy, rx, ry, a0, a1):
    n = max(2, int(abs(a1 - a0) / 6) + 1)
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def D(x, y):
    """A dot: a point stroke drawn a little heavier than the pen."""
    return [(x, y)]


def join(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def tf(strokes, sx=1.0, sy=1.0, dx=0.0, dy=0.0):
    return [[(x * sx + dx, y * sy + dy) for (x, y) in s] for s in strokes]


def mirror(strokes, w):
    return [[(w - x, y) for (x, y) in s] for s in strokes]


# ---- the skeletons ----------------------------------------------------------------------------------------------
G = {}
BOWL = lambda cx: E(cx, 0.35, 0.3, 0.35, 0, 360)

G['!'] = [L((0, 1), (0, 0.3)), D(0, 0)]
G['"'] = [L((0, 1), (0, 0.72)), L((0.25, 1), (0.25, 0.72))]
G['#'] = [L((0.2, 0), (0.3, 1)), L((0.5, 0), (0.6, 1)), L((0, 0.33), (0.75, 0.33)), L((0.05, 0.67), (0.8, 0.67))]
G['$'] = [E(0.3, 0.74, 0.27, 0.22, 25, 270), E(0.3, 0.28, 0.3, 0.24, 90, -155), L((0.3, 1.12), (0.3, -0.12))]
G['%'] = [E(0.17, 0.78, 0.16, 0.21, 0, 360), E(0.68, 0.22, 0.16, 0.21, 0, 360), L((0.72, 1), (0.13, 0))]
G['&'] = [join(L((0.72, 0), (0.2, 0.6)), E(0.33, 0.8, 0.15, 0.19, 225, -45)),
          join(L((0.436, 0.666), (0.09, 0.37)), E(0.3, 0.24, 0.25, 0.24, 145, 330), L((0.52, 0.12), (0.7, 0.42)))]
G["'"] = [L((0, 1), (0, 0.72))]
G['('] = [E(0.52, 0.45, 0.45, 0.85, 122, 238)]
G[')'] = mirror(G['('], 0.4)
G['*'] = [L((0.3, 1), (0.3, 0.5)), L((0.08, 0.88), (0.52, 0.62)), L((0.08, 0.62), (0.52, 0.88))]
G['+'] = [L((0, 0.4), (0.6, 0.4)), L((0.3, 0.1), (0.3, 0.7))]
G[','] = [L((0.1, 0.06), (0, -0.2))]
G['-'] = [L((0, 0.4), (0.4, 0.4))]
G['.'] = [D(0, 0)]
G['/'] = [L((0, -0.1), (0.5, 1.1))]
G['0'] = [E(0.3, 0.5, 0.3, 0.5, 0, 360)]
G['1'] = [L((0.03, 0.78), (0.3, 1), (0.3, 0))]
G['2'] = [join(E(0.3, 0.72, 0.28, 0.28, 160, -40), L((0.0, 0.0), (0.62, 0)))]
G['3'] = [join(E(0.3, 0.76, 0.26, 0.24, 150, -90), L((0.18, 0.52))), E(0.3, 0.27, 0.31, 0.27, 90, -150)]
G['4'] = [L((0.47, 0), (0.47, 1), (0, 0.3), (0.66, 0.3))]
G['5'] = [join(L((0.58, 1), (0.09, 1), (0.05, 0.52)), E(0.3, 0.32, 0.3, 0.32, 135, -145))]
G['6'] = [E(0.3, 0.3, 0.3, 0.3, 0, 360), join(E(0.34, 0.55, 0.34, 0.45, 60, 180), L((0, 0.3)))]
G['7'] = [L((0, 1), (0.6, 1), (0.18, 0))]
G['8'] = [E(0.3, 0.76, 0.25, 0.24, 0, 360), E(0.3, 0.27, 0.3, 0.27, 0, 360)]
G['9'] = mirror(tf(G['6'], 1, -1, 0, 1), 0.6)
G[':'] = [D(0, 0), D(0, 0.6)]
G[';'] = [D(0.1, 0.6), L((0.1, 0.06), (0, -0.2))]
G['<'] = [L((0.6, 0.75), (0, 0.4), (0.6, 0.05))]
G['='] = [L((0, 0.55), (0.6, 0.55)), L((0, 0.25), (0.6, 0.25))]
G['>'] = mirror(G['<'], 0.6)
G['?'] = [join(E(0.3, 0.72, 0.28, 0.28, 160, -60), L((0.3, 0.38), (0.3, 0.28))), D(0.3, 0)]
G['@'] = [E(0.48, 0.42, 0.18, 0.22, 0, 360),
          join(L((0.66, 0.66), (0.66, 0.25)), E(0.78, 0.25, 0.12, 0.12, 180, 360), L((0.9, 0.42)),
               E(0.5, 0.42, 0.4, 0.5, 0, 300))]
G['A'] = [L((0, 0), (0.36, 1), (0.72, 0)), L((0.14, 0.33), (0.58, 0.33))]
G['B'] = [join(L((0.4, 0.5), (0, 0.5), (0, 1), (0.38, 1)), E(0.38, 0.75, 0.24, 0.25, 90, -90)),
          join(E(0.42, 0.25, 0.26, 0.25, 90, -90), L((0, 0), (0, 0.5)))]
G['C'] = [E(0.42, 0.5, 0.42, 0.5, 42, 318)]
G['D'] = [join(L((0.3, 0), (0, 0), (0, 1), (0.3, 1)), E(0.3, 0.5, 0.4, 0.5, 90, -90))]
G['E'] = [L((0.6, 1), (0, 1), (0, 0), (0.6, 0)), L((0, 0.5), (0.5, 0.5))]
G['F'] = [L((0.6, 1), (0, 1), (0, 0)), L((0, 0.5), (0.5, 0.5))]
G['G'] = [join(E(0.42, 0.5, 0.42, 0.5, 45, 360), L((0.5, 0.5)))]
G['H'] = [L((0, 0), (0, 1)), L((0.66, 0), (0.66, 1)), L((0, 0.5), (0.66, 0.5))]
G['I'] = [L((0, 0), (0.32, 0)), L((0.16, 0), (0.16, 1)), L((0, 1), (0.32, 1))]  # serifs: not the l
G['J'] = [join(L((0.5, 1), (0.5, 0.27)), E(0.26, 0.27, 0.24, 0.27, 0, -170))]
G['K'] = [L((0, 0), (0, 1)), L((0.62, 1), (0, 0.38)), L((0.21, 0.59), (0.66, 0))]
G['L'] = [L((0, 1), (0, 0), (0.56, 0))]
G['M'] = [L((0, 0), (0, 1), (0.41, 0.3), (0.82, 1), (0.82, 0))]
G['N'] = [L((0, 0), (0, 1), (0.66, 0), (0.66, 1))]
G['O'] = [E(0.44, 0.5, 0.44, 0.5, 0, 360)]
G['P'] = [join(L((0, 0), (0, 1), (0.34, 1)), E(0.34, 0.73, 0.27, 0.27, 90, -90), L((0, 0.46)))]
G['Q'] = G['O'] + [L((0.52, 0.24), (0.9, -0.06))]
G['R'] = G['P'] + [L((0.32, 0.46), (0.64, 0))]
G['S'] = [E(0.32, 0.75, 0.29, 0.25, 25, 270), E(0.32, 0.26, 0.33, 0.26, 90, -155)]
G['T'] = [L((0, 1), (0.7, 1)), L((0.35, 1), (0.35, 0))]
G['U'] = [join(L((0, 1), (0, 0.32)), E(0.32, 0.32, 0.32, 0.32, 180, 360), L((0.64, 1)))]
G['V'] = [L((0, 1), (0.36, 0), (0.72, 1))]
G['W'] = [L((0, 1), (0.23, 0), (0.46, 0.75), (0.69, 0), (0.92, 1))]
G['X'] = [L((0, 1), (0.66, 0)), L((0, 0), (0.66, 1))]
G['Y'] = [L((0, 1), (0.35, 0.5), (0.7, 1)), L((0.35, 0.5), (0.35, 0))]
G['Z'] = [L((0.02, 1), (0.63, 1), (0, 0), (0.65, 0))]
G['['] = [L((0.3, 1.18), (0, 1.18), (0, -0.25), (0.3, -0.25))]
G['\\'] = [L((0, 1.1), (0.5, -0.1))]
G[']'] = mirror(G['['], 0.3)
G['^'] = [L((0, 0.6), (0.3, 1), (0.6, 0.6))]
G['_'] = [L((0, -0.2), (0.7, -0.2))]
G['`'] = [L((0, 1.1), (0.18, 0.9))]
G['a'] = [BOWL(0.3), L((0.6, 0.7), (0.6, 0))]
G['b'] = [L((0, 1), (0, 0)), BOWL(0.3)]
G['c'] = [E(0.32, 0.35, 0.32, 0.35, 45, 315)]
G['d'] = [BOWL(0.3), L((0.6, 1), (0.6, 0))]
G['e'] = [join(L((0.02, 0.36), (0.62, 0.36)), E(0.32, 0.36, 0.3, 0.34, 0, 318))]
G['f'] = [join(E(0.32, 0.85, 0.16, 0.15, 30, 180), L((0.16, 0))), L((0, 0.7), (0.4, 0.7))]
G['g'] = [BOWL(0.3), join(L((0.6, 0.7), (0.6, -0.05)), E(0.3, -0.05, 0.3, 0.25, 0, -160))]
G['h'] = [L((0, 1), (0, 0)), join(E(0.3, 0.4, 0.3, 0.3, 180, 0), L((0.6, 0)))]
G['i'] = [L((0, 0), (0, 0.7)), D(0, 0.97)]
G['j'] = [join(L((0.2, 0.7), (0.2, -0.1)), E(0.02, -0.1, 0.18, 0.2, 0, -160)), D(0.2, 0.97)]
G['k'] = [L((0, 1), (0, 0)), L((0.52, 0.7), (0, 0.25)), L((0.18, 0.41), (0.56, 0))]
G['l'] = [join(L((0, 1), (0, 0.14)), E(0.14, 0.14, 0.14, 0.14, 180, 290))]  # a foot: not the I
G['m'] = [L((0, 0), (0, 0.7)), join(E(0.22, 0.45, 0.22, 0.25, 180, 0), L((0.44, 0))),
          join(E(0.66, 0.45, 0.22, 0.25, 180, 0), L((0.88, 0)))]
G['n'] = [L((0, 0), (0, 0.7)), join(E(0.3, 0.4, 0.3, 0.3, 180, 0), L((0.6, 0)))]
G['o'] = [E(0.32, 0.35, 0.32, 0.35, 0, 360)]
G['p'] = [L((0, 0.7), (0, -0.3)), BOWL(0.3)]
G['q'] = [BOWL(0.3), L((0.6, 0.7), (0.6, -0.3))]
G['r'] = [L((0, 0), (0, 0.7)), E(0.3, 0.4, 0.3, 0.3, 180, 60)]
G['s'] = [E(0.26, 0.525, 0.22, 0.175, 25, 270), E(0.26, 0.175, 0.26, 0.175, 90, -155)]
G['t'] = [join(L((0.15, 0.95), (0.15, 0.15)), E(0.35, 0.15, 0.2, 0.15, 180, 300)), L((0, 0.7), (0.42, 0.7))]
G['u'] = [join(L((0, 0.7), (0, 0.3)), E(0.3, 0.3, 0.3, 0.3, 180, 360)), L((0.6, 0.7), (0.6, 0))]
G['v'] = [L((0, 0.7), (0.3, 0), (0.6, 0.7))]
G['w'] = [L((0, 0.7), (0.2, 0), (0.41, 0.55), (0.62, 0), (0.82, 0.7))]
G['x'] = [L((0, 0.7), (0.56, 0)), L((0, 0), (0.56, 0.7))]
G['y'] = [L((0, 0.7), (0.3, 0)), L((0.6, 0.7), (0.17, -0.3))]
G['z'] = [L((0.02, 0.7), (0.56, 0.7), (0, 0), (0.58, 0))]
G['{'] = [L((0.35, 1.18), (0.2, 1.1), (0.2, 0.55), (0, 0.47), (0.2, 0.39), (0.2, -0.17), (0.35, -0.25))]
G['|'] = [L((0, 1.18), (0, -0.25))]
G['}'] = mirror(G['{'], 0.35)
G['~'] = [join(E(0.15, 0.42, 0.15, 0.1, 180, 0), E(0.45, 0.42, 0.15, 0.1, 180, 360))]
G['\u00b1'] = [L((0, 0.6), (0.6, 0.6)), L((0.3, 0.3), (0.3, 0.9)), L((0, 0), (0.6, 0))]
SMALL = 0.5
G['\u00b2'] = tf(G['2'], SMALL, SMALL, 0, 0.5)
G['\u00b3'] = tf(G['3'], SMALL, SMALL, 0, 0.5)
G['\u00ba'] = [E(0.2, 0.8, 0.18, 0.2, 0, 360), L((0.02, 0.42), (0.38, 0.42))]
FR = 0.45
G['\u00bc'] = tf(G['1'], FR, FR, 0, 0.55) + [L((0.12, 0), (0.78, 1))] + tf(G['4'], FR, FR, 0.55, 0)
G['\u00bd'] = tf(G['1'], FR, FR, 0, 0.55) + [L((0.12, 0), (0.78, 1))] + tf(G['2'], FR, FR, 0.55, 0)
G['\u00be'] = tf(G['3'], FR, FR, 0, 0.55) + [L((0.16, 0), (0.82, 1))] + tf(G['4'], FR, FR, 0.55, 0)


def umlaut(base, xs, y, sy):
    return tf(G[base], 1, sy) + [D(x, y) for x in xs]


G['\u00c4'] = umlaut('A', (0.22, 0.5), 1.14, 0.82)
G['\u00d6'] = umlaut('O', (0.28, 0.6), 1.14, 0.82)
G['\u00dc'] = umlaut('U', (0.17, 0.47), 1.14, 0.82)
G['\u00e4'] = umlaut('a', (0.15, 0.45), 0.97, 1)
G['\u00f6'] = umlaut('o', (0.17, 0.47), 0.97, 1)
G['\u00fc'] = umlaut('u', (0.15, 0.45), 0.97, 1)
G['\u00df'] = [join(L((0, 0), (0, 0.78)), E(0.25, 0.78, 0.25, 0.22, 180, -80), L((0.3, 0.56))),
               E(0.3, 0.28, 0.3, 0.28, 90, -150)]

# Thinner pens where small figures would otherwise fill their counters.
PENS = {'\u00b2': 0.11, '\u00b3': 0.11, '\u00bc': 0.1, '\u00bd': 0.1, '\u00be': 0.1, '\u00ba': 0.12, '@': 0.11,
        '&': 0.13, '%': 0.12, '#': 0.13, '$': 0.12, 'm': 0.13, 'W': 0.13, 'M': 0.13, 'w': 0.13,
        '\u00df': 0.13, '\u00d6': 0.13, '\u00c4': 0.13, '\u00dc': 0.13}
DOT = 1.25           # dots are this much heavier than the pen

CODES = list(range(33, 127)) + [177, 178, 179, 186, 188, 189, 190, 196, 214, 220, 223, 228, 246, 252]


# ---- rasterising and tracing ------------------------------------------------------------------------------------
def rasterise(strokes, pen):
    caps = []
    for s in strokes:
        if len(s) == 1:
            caps.append((s[0], s[0], pen * DOT / 2))
        for a, b in zip(s, s[1:]):
            caps.append((a, b, pen / 2))
    pad = pen
    x0 = min(min(a[0], b[0]) - r for a, b, r in caps) - pad
    y0 = min(min(a[1], b[1]) - r for a, b, r in caps) - pad
    x1 = max(max(a[0], b[0]) + r for a, b, r in caps) + pad
    y1 = max(max(a[1], b[1]) + r for a, b, r in caps) + pad
    ox, oy = math.floor(x0 * RES), math.floor(y0 * RES)
    w, h = math.ceil(x1 * RES) - ox + 1, math.ceil(y1 * RES) - oy + 1
    grid = [bytearray(w) for _ in range(h)]
    for (ax, ay), (bx, by), r in caps:
        ax, ay, bx, by, rr = ax * RES - ox, ay * RES - oy, bx * RES - ox, by * RES - oy, r * RES
        dx, dy = bx - ax, by - ay
        ll = dx * dx + dy * dy
        for j in range(max(0, int(min(ay, by) - rr) - 1), min(h, int(max(ay, by) + rr) + 2)):
            row = grid[j]
            py = j + 0.5
            for i in range(max(0, int(min(ax, bx) - rr) - 1), min(w, int(max(ax, bx) + rr) + 2)):
                if row[i]:
                    continue
                px = i + 0.5
                t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
                ex, ey = ax + t * dx - px, ay + t * dy - py
                if ex * ex + ey * ey <= rr * rr:
                    row[i] = 1
    # No two filled pixels may touch only at a corner: such a corner would make an outline touch itself.
    changed = True
    while changed:
        changed = False
        for j in range(h - 1):
            for i in range(w - 1):
                a, b, c, d = grid[j][i], grid[j][i + 1], grid[j + 1][i], grid[j + 1][i + 1]
                if (a and d and not b and not c) or (b and c and not a and not d):
                    grid[j][i] = grid[j][i + 1] = grid[j + 1][i] = grid[j + 1][i + 1] = 1
                    changed = True
    return grid, w, h, ox, oy


def trace(grid, w, h):
    nxt = {}
    filled = lambda i, j: 0 <= i < w and 0 <= j < h and grid[j][i]
    for j in range(h):
        for i in range(w):
            if not grid[j][i]:
                continue
            if not filled(i, j - 1):
                nxt[(i, j)] = (i + 1, j)
            if not filled(i + 1, j):
                nxt[(i + 1, j)] = (i + 1, j + 1)
            if not filled(i, j + 1):
                nxt[(i + 1, j + 1)] = (i, j + 1)
            if not filled(i - 1, j):
                nxt[(i, j + 1)] = (i, j)
    loops = []
    while nxt:
        start = min(nxt)
        loop, p = [], start
        while True:
            q = nxt.pop(p)
            loop.append(((p[0] + q[0]) / 2.0, (p[1] + q[1]) / 2.0))
            p = q
            if p == start:
                break
        loops.append(loop)
    return loops


def dp(pts, tol):
    if len(pts) < 3:
        return pts
    a, b = pts[0], pts[-1]
    dx, dy = b[0] - a[0], b[1] - a[1]
    ll = math.hypot(dx, dy)
    best, bi = -1.0, 0
    for k in range(1, len(pts) - 1):
        p = pts[k]
        d = abs(dx * (a[1] - p[1]) - dy * (a[0] - p[0])) / ll if ll else math.hypot(p[0] - a[0], p[1] - a[1])
        if d > best:
            best, bi = d, k
    if best <= tol:
        return [a, b]
    return dp(pts[:bi + 1], tol)[:-1] + dp(pts[bi:], tol)


def simplify_loop(loop, tol):
    # Split the closed loop at its two mutually farthest points (approximately) and simplify both halves.
    i0 = 0
    far = max(range(len(loop)), key=lambda k: (loop[k][0] - loop[i0][0]) ** 2 + (loop[k][1] - loop[i0][1]) ** 2)
    i1 = max(range(len(loop)), key=lambda k: (loop[k][0] - loop[far][0]) ** 2 + (loop[k][1] - loop[far][1]) ** 2)
    a, b = sorted((far, i1))
    first = dp(loop[a:b + 1], tol)
    second = dp(loop[b:] + loop[:a + 1], tol)
    return first[:-1] + second[:-1]


def area(poly):
    return sum(poly[k][0] * poly[k - 1][1] - poly[k - 1][0] * poly[k][1] for k in range(len(poly))) / -2.0


def seg_cross(p1, p2, p3, p4):
    def orient(a, b, c):
        v = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])
        return (v > 1e-12) - (v < -1e-12)
    o1, o2, o3, o4 = orient(p1, p2, p3), orient(p1, p2, p4), orient(p3, p4, p1), orient(p3, p4, p2)
    return o1 * o2 < 0 and o3 * o4 < 0


def edges(poly):
    return [(poly[k], poly[(k + 1) % len(poly)]) for k in range(len(poly))]


def any_crossing(polys):
    es = [(n, k, e) for n, p in enumerate(polys) for k, e in enumerate(edges(p))]
    for x in range(len(es)):
        for y in range(x + 1, len(es)):
            n1, k1, e1 = es[x]
            n2, k2, e2 = es[y]
            if n1 == n2 and (abs(k1 - k2) <= 1 or abs(k1 - k2) == len(polys[n1]) - 1):
                continue
            if seg_cross(e1[0], e1[1], e2[0], e2[1]):
                return True
    return False


def inside(pt, poly):
    c = False
    for (ax, ay), (bx, by) in edges(poly):
        if (ay > pt[1]) != (by > pt[1]) and pt[0] < ax + (pt[1] - ay) * (bx - ax) / (by - ay):
            c = not c
    return c


def build(ch):
    pen = PENS.get(ch, PEN)
    grid, w, h, ox, oy = rasterise(G[ch], pen)
    loops = trace(grid, w, h)
    tol = TOL
    while True:
        polys = [simplify_loop(lp, tol) for lp in loops]
        if not any_crossing(polys) or tol < 0.2:
            break
        tol *= 0.7
    # Into the cell: design y = -PEN/2 becomes 0, capitals' tops with their pen become 1.
    cell = [[((x + ox) / RES * SCALE, ((y + oy) / RES + PEN / 2) * SCALE) for (x, y) in p] for p in polys]
    minx = min(x for p in cell for x, _ in p)
    cell = [[(round(x - minx + LEFT, 3), round(y, 3)) for (x, y) in p] for p in cell]
    outers = [p for p in cell if area(p) > 0]
    holes = [p for p in cell if area(p) < 0]
    regions = [[o] for o in outers]
    for hole in holes:
        owners = [r for r in regions if inside(hole[0], r[0])]
        owner = min(owners, key=lambda r: area(r[0]))
        owner.append(hole)
    regions.sort(key=lambda r: (min(x for x, _ in r[0]), min(y for _, y in r[0])))
    return regions


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'src/generators/font_glyphs.inc'
    lines = ['// Outline data of the built-in font, written by tools/fontgen/fontgen.py: do not edit by hand.',
             '// Per glyph: the code, the number of regions, then per region the number of outlines and per',
             '// outline the number of points followed by x, y pairs in thousandths of the cell height.',
             '// Outer outlines run counter-clockwise, holes clockwise; every outline closes back to its first point.',
             '']
    total = 0
    for code in CODES:
        ch = chr(code)
        regions = build(ch)
        name = unicodedata.name(ch).lower()
        lines.append('// U+%04X %s' % (code, name))
        lines.append('%d, %d,' % (code, len(regions)))
        for r in regions:
            lines.append('  %d,' % len(r))
            for p in r:
                total += len(p)
                pts = p + [p[0]]
                body = ', '.join('%d,%d' % (round(x * 1000), round(y * 1000)) for x, y in pts)
                lines.append('    %d, %s,' % (len(pts), body))
        print('%s %d regions %s' % (ch, len(regions), [len(r) for r in regions]), file=sys.stderr)
    lines.append('')
    with open(out, 'w', encoding='ascii', newline='\n') as f:
        f.write('\n'.join(lines))
    print('segments: %d' % total, file=sys.stderr)


if __name__ == '__main__':
    main()
