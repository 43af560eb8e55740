// Writes a PNG sheet of every glyph of the built-in font at several sizes, for people to judge the letters.
//
//   fontsheet out.png
// Build: g++ -std=c++17 -I src tools/fontsheet/fontsheet.cpp <build>/libmavcore.a -o fontsheet
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "geometry/font.h"

namespace {

struct Image {
    int w, h;
    std::vector<std::uint8_t> px;  // grey, 255 = paper
    Image(int aw, int ah) : w(aw), h(ah), px(static_cast<std::size_t>(aw) * ah, 255) {}
};

// Fills the glyph (even-odd over all its outlines) with its baseline at (x, y) and capitals `size` pixels high.
// Four samples per pixel row and column smooth the edges. Returns the glyph's right edge in pixels.
double drawGlyph(Image& img, int code, double x, double y, double size)
{
    const auto g = get_ascii_from_map(code);
    double right = x;
    const int ss = 4;
    int y0 = img.h, y1 = 0;
    std::vector<const CMavVertex*> segs;
    for (int r = 0; r < g.len(); ++r)
        for (int o = 0; o < g[r].len(); ++o)
            for (int s = 0; s < g[r][o].len(); ++s) {
                const CMavVertex& v = g[r][o][s];
                segs.push_back(&v);
                right = std::fmax(right, x + std::fmax(v.start.x, v.end.x) * size);
                y0 = std::min(y0, static_cast<int>(y - std::fmax(v.start.y, v.end.y) * size) - 1);
                y1 = std::max(y1, static_cast<int>(y - std::fmin(v.start.y, v.end.y) * size) + 1);
            }
    std::vector<int> cover(static_cast<std::size_t>(img.w), 0);
    for (int py = std::max(0, y0); py <= std::min(img.h - 1, y1); ++py) {
        std::fill(cover.begin(), cover.end(), 0);
        for (int sy = 0; sy < ss; ++sy) {
            const double gy = (y - (py + (sy + 0.5) / ss)) / size;
            std::vector<double> xs;
            for (const CMavVertex* v : segs)
                if ((v->start.y > gy) != (v->end.y > gy))
                    xs.push_back(x + size * (v->start.x + (gy - v->start.y) * (v->end.x - v->start.x) /
                                                             (v->end.y - v->start.y)));
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
                for (int sx = static_cast<int>(xs[k] * ss); sx < static_cast<int>(xs[k + 1] * ss); ++sx)
                    if (sx >= 0 && sx / ss < img.w)
                        ++cover[static_cast<std::size_t>(sx / ss)];
        }
        for (int px = 0; px < img.w; ++px)
            if (cover[static_cast<std::size_t>(px)] > 0) {
                const int v = 255 - 255 * cover[static_cast<std::size_t>(px)] / (ss * ss);
                std::uint8_t& d = img.px[static_cast<std::size_t>(py) * img.w + px];
                d = static_cast<std::uint8_t>(std::min<int>(d, v));
            }
    }
    return right;
}

void drawText(Image& img, const std::u16string& text, double x, double y, double size)
{
    for (char16_t c : text) {
        if (get_ascii_from_map(static_cast<int>(c)).isEmpty()) {
            x += 0.5 * size;
            continue;
        }
        x = drawGlyph(img, static_cast<int>(c), x, y, size) + 0.15 * size;
    }
}

std::uint32_t crc(const std::uint8_t* p, std::size_t n, std::uint32_t c = 0xFFFFFFFFu)
{
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c;
}

void be32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(static_cast<std::uint8_t>(x >> s));
}

void chunk(std::FILE* f, const char* type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> v;
    be32(v, static_cast<std::uint32_t>(data.size()));
    v.insert(v.end(), type, type + 4);
    v.insert(v.end(), data.begin(), data.end());
    std::vector<std::uint8_t> tail;
    be32(tail, crc(v.data() + 4, v.size() - 4) ^ 0xFFFFFFFFu);
    std::fwrite(v.data(), 1, v.size(), f);
    std::fwrite(tail.data(), 1, tail.size(), f);
}

// Grey PNG with the image data in zlib stored (uncompressed) blocks.
bool writePng(const Image& img, const char* path)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const std::uint8_t sig[] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::fwrite(sig, 1, 8, f);
    std::vector<std::uint8_t> ihdr;
    be32(ihdr, static_cast<std::uint32_t>(img.w));
    be32(ihdr, static_cast<std::uint32_t>(img.h));
    ihdr.insert(ihdr.end(), {8, 0, 0, 0, 0});
    chunk(f, "IHDR", ihdr);
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < img.h; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), img.px.begin() + static_cast<long>(y) * img.w,
                   img.px.begin() + static_cast<long>(y + 1) * img.w);
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t c : raw) {
        a = (a + c) % 65521u;
        b = (b + a) % 65521u;
    }
    for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
        if (n == 0)
            break;
    }
    be32(z, (b << 16) | a);
    chunk(f, "IDAT", z);
    chunk(f, "IEND", {});
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* out = argc > 1 ? argv[1] : "fontsheet.png";
    Image img(1400, 1150);
    // All glyphs at 40 pixels of cap height, 18 per row.
    const unsigned n = MAV::fontGlyphCount();
    for (unsigned i = 0; i < n; ++i)
        drawGlyph(img, MAV::fontGlyphCode(i), 20 + (i % 18) * 75.0, 70 + (i / 18) * 75.0, 40.0);
    const std::u16string samples[] = {u"Schublade 450 x 600 mm", u"B\u00fcroschrank \u00c4hnlich \u00d6ffnung \u00dcbergro\u00df",
                                      u"Bohrung \u00f8 5 / 12,5 mm +-0,2 (x2) [A] {b} 50% #3 @ 1\u00bd \u00b2 \u00b3",
                                      u"The quick brown fox jumps over the lazy dog?!"};
    double y = 560;
    for (double size : {40.0, 24.0, 16.0, 12.0}) {
        for (const auto& s : samples) {
            drawText(img, s, 20, y, size);
            y += size * 1.6;
        }
    }
    return writePng(img, out) ? 0 : 1;
}
