// The slide the slide benchmarks decode, built in memory.
#pragma once

#include <vector>

// Appends a 16-bit word in the slide's byte order.
inline void putSlideWord(std::vector<unsigned char>& b, int w, bool bigEndian)
{
    const auto lo = static_cast<unsigned char>(w & 0xFF), hi = static_cast<unsigned char>((w >> 8) & 0xFF);
    b.push_back(bigEndian ? hi : lo);
    b.push_back(bigEndian ? lo : hi);
}

// The header of a level-2 slide 4095 units square, in the given byte order.
inline std::vector<unsigned char> benchSlideHeader(bool bigEndian)
{
    std::vector<unsigned char> b(17, 0);
    b.push_back(0x56);
    b.push_back(2);
    for (int w : {4095, 4095})
        putSlideWord(b, w, bigEndian);
    b.insert(b.end(), {0x80, 0x96, 0x98, 0x00});
    for (int w : {2, 0x1234})
        putSlideWord(b, w, bigEndian);
    return b;
}

// A level-2 slide of `records` records in the given byte order, mixed like real slides: mostly vectors and offset
// records and common endpoints, some colours, a four-vertex fill every 500 records; it ends with an end record.
inline std::vector<unsigned char> makeBenchSlide(int records, bool bigEndian)
{
    std::vector<unsigned char> b = benchSlideHeader(bigEndian);
    auto word = [&b, bigEndian](int w) { putSlideWord(b, w, bigEndian); };
    for (int i = 0; i < records; ++i) {
        const int kind = i % 10;
        if (kind < 4) {
            word(i & 0xFFF);
            word((i * 7) & 0xFFF);
            word((i * 13) & 0xFFF);
            word((i * 3) & 0xFFF);
        } else if (kind < 6) {
            word(0xFB00 | (i & 0x3F));
            b.insert(b.end(), {0x05, 0xFB, 0x10});
        } else if (kind < 8) {
            word(0xFE00 | (i & 0x1F));
            b.push_back(0xF0);
        } else if (kind == 8) {
            word(0xFF00 | (i & 0xFF));
        } else if (i % 500 == 9) {
            word(0xFD00);
            word(4);
            word(-2);
            for (int v = 0; v < 4; ++v) {
                word(0xFD00);
                word(100 + v * 10);
                word(100 + (v & 1) * 10);
            }
            word(0xFD00);
            word(4);
            word(-2);
        } else {
            word(0xFE01);
            b.push_back(0x01);
        }
    }
    word(0xFC00);
    return b;
}
