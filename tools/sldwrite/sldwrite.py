#!/usr/bin/env python3
"""Writes AutoCAD slides and slide libraries, and the listing of what each slide should draw.

A slide is written record by record; every record also appends the event a reader must report for it to a
listing, so the slides and their expected readings come from one place. The listing has one event per line:

    header <level> <highX> <highY> <swapped 0|1>
    color <index>
    line <x1> <y1> <x2> <y2>
    poly <x> <y> <x> <y> ...         (vertices, the first not repeated)
    stop end|eod|unknown|badlevel|noheader

Byte order: little-endian slides store every word low byte first; big-endian twins store every word (header raster
size, hardware fill flag, byte-order word and all record words) high byte first. Single-byte offsets and the 4-byte
aspect ratio of level 2 are written the same way in both.

Run `sldwrite.py OUTDIR` to (re)write the test slides and libraries of the library's tests.
"""

import os
import struct
import sys

SLIDE_ID = b"AutoCAD Slide\r\n\x1a\x00"  # 17 bytes
LIBRARY_ID = b"AutoCAD Slide Library 1.0\r\n\x1a"


def s16(v):
    """A coordinate as the 16-bit pattern it is stored with."""
    if not -0x8000 <= v <= 0xFFFF:
        raise ValueError(v)
    return v & 0xFFFF


def s8(v):
    if not -0x80 <= v <= 0xFF:
        raise ValueError(v)
    return v & 0xFF


class Slide:
    def __init__(self, level=2, high_x=1023, high_y=767, big_endian=False, aspect=1.333):
        self.level = level
        self.big = big_endian
        self.body = bytearray()
        self.events = []
        self.last = (0, 0)
        self.stop = None
        hdr = bytearray(SLIDE_ID)
        hdr += bytes([0x56, level & 0xFF])
        hdr += self._w(high_x) + self._w(high_y)
        if level == 1:
            hdr += struct.pack("<d" if not big_endian else ">d", aspect) + b"\x02\x00\x00"
        else:
            hdr += struct.pack("<I", int(aspect * 10000000)) + self._w(2) + self._w(0x1234)
        self.header = hdr
        if level in (1, 2):
            self.events.append("header %d %d %d %d" % (level, high_x, high_y, 1 if big_endian else 0))

    def _w(self, *words):
        fmt = ">" if self.big else "<"
        return b"".join(struct.pack(fmt + "H", s16(w)) for w in words)

    # --- records -------------------------------------------------------------------------------------------------

    def vector(self, x1, y1, x2, y2):
        if not 0 <= x1 <= 0x7FFF:
            raise ValueError("a vector's from-x is its record word: 0..32767")
        self.body += self._w(x1, y1, x2, y2)
        self.events.append("line %d %d %d %d" % (x1, y1, x2, y2))
        self.last = (x1, y1)

    def offset_vector(self, dx0, dy0, dx1, dy1):
        self.body += self._w(0xFB00 | s8(dx0)) + bytes([s8(dy0), s8(dx1), s8(dy1)])
        lx, ly = self.last
        a = (lx + dx0, ly + dy0)
        self.events.append("line %d %d %d %d" % (a[0], a[1], lx + dx1, ly + dy1))
        self.last = a

    def common_endpoint(self, dx, dy):
        self.body += self._w(0xFE00 | s8(dx)) + bytes([s8(dy)])
        lx, ly = self.last
        b = (lx + dx, ly + dy)
        self.events.append("line %d %d %d %d" % (lx, ly, b[0], b[1]))
        self.last = b

    def color(self, index):
        self.body += self._w(0xFF00 | (index & 0xFF))
        self.events.append("color %d" % (index & 0xFF))

    def fill(self, vertices, style="closing"):
        """A solid fill sequence.

        closing: start record (count n, y -2), n vertex records, a closing record (count n, y -2).
        repeat:  start record (count n + 1, y -1), n vertex records, then the first vertex again with its y negated,
                 which ends the list early (the first vertex's y must be above 0 for that).
        """
        n = len(vertices)
        if any(y < 0 for _, y in vertices):
            raise ValueError("fill vertices have y >= 0")
        if style == "closing":
            self.body += self._w(0xFD00, n, -2)
            for x, y in vertices:
                self.body += self._w(0xFD00, x, y)
            self.body += self._w(0xFD00, n, -2)
        elif style == "repeat":
            if vertices[0][1] <= 0:
                raise ValueError("the negated repeat needs a first y above 0")
            self.body += self._w(0xFD00, n + 1, -1)
            for x, y in vertices:
                self.body += self._w(0xFD00, x, y)
            self.body += self._w(0xFD00, vertices[0][0], -vertices[0][1])
        else:
            raise ValueError(style)
        self.events.append("poly " + " ".join("%d %d" % v for v in vertices))

    def raw_words(self, *words, events=()):
        """Words written as they are, with the events the caller expects from them."""
        self.body += self._w(*words)
        self.events.extend(events)

    def raw_bytes(self, data, events=()):
        self.body += bytes(data)
        self.events.extend(events)

    def end(self):
        self.body += self._w(0xFC00)
        self.stop = "end"

    # --- output --------------------------------------------------------------------------------------------------

    def data(self):
        return bytes(self.header + self.body)

    def listing(self, stop=None):
        if self.level not in (1, 2):
            return "stop badlevel\n"
        return "\n".join(self.events + ["stop " + (stop or self.stop or "eod")]) + "\n"


class Library:
    """A slide library: 32-byte header, 36-byte entries (name, 32-bit offset low byte first), an end entry."""

    def __init__(self):
        self.slides = []

    def add(self, name, data):
        raw = name.encode("cp1252") if isinstance(name, str) else bytes(name)
        if len(raw) > 32:
            raise ValueError("names have at most 32 bytes")
        self.slides.append((raw, bytes(data)))

    def data(self, end_entry=True, offsets=None):
        """offsets: optional list replacing the computed offsets (for hostile libraries)."""
        count = len(self.slides) + (1 if end_entry else 0)
        pos = 32 + 36 * count
        head = bytearray(LIBRARY_ID.ljust(32, b"\x00"))
        body = bytearray()
        for i, (name, slide) in enumerate(self.slides):
            off = pos if offsets is None else offsets[i]
            head += name.ljust(32, b"\x00") + struct.pack("<I", off & 0xFFFFFFFF)
            body += slide
            pos += len(slide)
        if end_entry:
            head += bytes(36)
        return bytes(head + body)


# ---------------------------------------------------------------------------------------------------------------
# The test slides.

# Names in library.slb and the slide files holding the same bytes.
LIBRARY_MEMBERS = {"EVERY": "every_l2_le", "Diagonal": "diagonal", "T\u00dcR": "magenta_diagonal"}


def every_record(level, big):
    s = Slide(level=level, high_x=1279, high_y=1023, big_endian=big)
    s.vector(10, 20, 300, 400)          # drawn in the reader's current colour
    s.color(1)
    s.vector(0, -5, -300, 32767)        # negative coordinates
    s.offset_vector(5, 3, -2, -3)       # from the last point (0, -5)
    s.common_endpoint(7, -2)
    s.common_endpoint(-128, 127)
    s.color(3)
    s.fill([(100, 100), (200, 100), (150, 200)], style="closing")
    s.color(250)
    s.fill([(300, 10), (400, 10), (400, 90), (300, 90)], style="repeat")
    s.offset_vector(-128, 127, 127, -128)  # the last point is unchanged by fills
    s.color(255)
    s.vector(32767, 32767, 0, 0)
    s.end()
    return s


def write_all(out):
    os.makedirs(out, exist_ok=True)

    def put(name, slide, stop=None):
        with open(os.path.join(out, name + ".sld"), "wb") as f:
            f.write(slide.data())
        with open(os.path.join(out, name + ".txt"), "w") as f:
            f.write(slide.listing(stop))
        return slide

    for level in (1, 2):
        put("every_l%d_le" % level, every_record(level, False))
        put("every_l%d_be" % level, every_record(level, True))

    s = Slide(high_x=99, high_y=99)
    s.color(2)
    s.vector(1, 2, 3, 4)
    s.common_endpoint(1, 1)
    put("no_end_record", s)

    s = Slide(high_x=99, high_y=99)
    s.vector(1, 2, 3, 4)
    s.raw_words(0x8001, 5, 6, 7)          # a word with high byte 0x80 stops the reading
    s.vector(9, 9, 9, 9)
    s.events.pop()
    put("unknown_record", s, stop="unknown")

    s = Slide(high_x=99, high_y=99)
    s.color(5)
    # Count 5, third record with a negative y: a two-vertex polygon, and the reading goes on right after it.
    s.raw_words(0xFD00, 5, -1, 0xFD00, 10, 10, 0xFD00, 20, 10, 0xFD00, 30, -10, events=["poly 10 10 20 10"])
    s.vector(1, 1, 2, 2)
    s.end()
    put("fill_negative_y", s)

    s = Slide(high_x=99, high_y=99)
    # Count 2 with a first vertex whose y is 0: its negated repeat (0) is no end, so it is read as the second
    # vertex and the record after it is skipped as the closing record.
    s.raw_words(0xFD00, 2, -1, 0xFD00, 10, 0, 0xFD00, 50, 50, 0xFD00, 10, 0, events=["poly 10 0 50 50"])
    s.vector(1, 1, 2, 2)
    s.end()
    put("fill_repeat_zero_y", s)

    s = Slide(high_x=99, high_y=99)
    s.color(1)
    s.raw_words(0xFD00, 3, -2, 0xFD00, 0, 0, 0xFD00, 9, 0, 0xFD00, 9, 9, events=["poly 0 0 9 0 9 9"])
    put("fill_without_closing_record", s)   # the data ends where the closing record belongs

    s = Slide(high_x=99, high_y=99)
    s.color(1)
    s.raw_words(0xFD00, 0xFFFF, 0)
    # The first vertex (770, 1284) is whole; the second lacks its y, which reads 0xFCFC past the end: a negative y
    # that ends the list, so the one vertex read is drawn.
    s.raw_bytes(bytes(range(10)), events=["poly 770 1284"])
    put("fill_count_65535", s)

    s = Slide(high_x=99, high_y=99)
    for i in (1, 2, 3):
        s.color(i)
    s.end()
    put("colors_only", s)

    for level in (0, 3, 255):
        s = Slide(level=level, high_x=99, high_y=99)
        s.vector(1, 2, 3, 4)
        s.end()
        put("level_%d" % level, s)

    # Libraries: a few slides with names in mixed case and a 1252 letter, and hostile variants.
    # Every member of library.slb is also written on its own: LIBRARY_MEMBERS names the files.
    a = every_record(2, False).data()
    b = Slide(high_x=9, high_y=9)
    b.vector(1, 1, 8, 8)
    b.end()
    put("diagonal", b)
    c = Slide(high_x=9, high_y=9)
    c.color(6)
    c.vector(2, 2, 7, 7)
    c.end()
    put("magenta_diagonal", c)
    lib = Library()
    lib.add("EVERY", a)
    lib.add("Diagonal", b.data())
    lib.add("T\u00dcR", c.data())            # 'TÜR' in code page 1252
    with open(os.path.join(out, "library.slb"), "wb") as f:
        f.write(lib.data())
    with open(os.path.join(out, "library_no_end_entry.slb"), "wb") as f:
        f.write(lib.data(end_entry=False))
    full = Library()
    full.add("X" * 31, c.data())
    full.add("X" * 32, b.data())             # a name filling all 32 bytes, without a terminating zero
    with open(os.path.join(out, "library_full_name.slb"), "wb") as f:
        f.write(full.data())
    good = Library()
    good.add("FIRST", b.data())
    good.add("SECOND", c.data())
    good.add("THIRD", b.data())
    base = 32 + 36 * 4
    n1, n2 = len(b.data()), len(c.data())
    with open(os.path.join(out, "library_offset_beyond.slb"), "wb") as f:
        f.write(good.data(offsets=[base, base + n1, 0x7FFFFFF0]))
    with open(os.path.join(out, "library_offset_in_directory.slb"), "wb") as f:
        f.write(good.data(offsets=[40, base + n1, base + n1 + n2]))
    with open(os.path.join(out, "library_offsets_reversed.slb"), "wb") as f:
        f.write(good.data(offsets=[base + n1, base, base + n1 + n2]))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: sldwrite.py OUTDIR")
    write_all(sys.argv[1])
