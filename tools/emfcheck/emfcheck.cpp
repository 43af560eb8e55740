// Compares two pictures of one metafile: the BMP that Windows GDI (Wine) drew by playing it, and the PNG an
// independent reader (emf2svg, rasterised by librsvg) made of it. Exit code 0 when they show the same drawing.
//
// Vocabulary: "ink" is a pixel that something was drawn on. In the BMP that is every pixel not of the background
// colour it was filled with before the playback (white: our metafiles never draw white). In the PNG, whose
// background is transparent, it is a pixel with enough coverage (alpha); its colour channels are the drawn colour
// itself, not blended with a background, because PNG stores straight alpha.
//
// The SVG reader strokes a one-unit line centred on the integer coordinate, so it covers half of two pixel rows
// where GDI lights one: ink is matched against ink of a close colour within one pixel in both directions. The
// picture matches when every BMP ink pixel has such a partner in the PNG, and every well covered PNG pixel has
// one in the BMP.
//
// Usage: emfcheck <gdi.bmp> <reader.png> [side-by-side.png]
// The optional third file receives GDI's picture, the reader's (on white) and the unmatched pixels (GDI's red,
// the reader's blue), side by side, to look at when the two differ.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Image {
    int w = 0, h = 0;
    std::vector<std::uint32_t> rgb;   // 0x00RRGGBB
    std::vector<std::uint8_t> alpha;  // 255 for every BMP pixel
};

std::uint32_t le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Uncompressed 24- or 32-bit BMP in memory, bottom-up or top-down. Every length is checked against the size.
bool readBmpBytes(const unsigned char* data, size_t size, Image& img)
{
    if (size < 54 || data[0] != 'B' || data[1] != 'M')
        return false;
    const std::uint32_t offBits = le32(&data[10]);
    const std::int32_t width = static_cast<std::int32_t>(le32(&data[18]));
    const std::int32_t height = static_cast<std::int32_t>(le32(&data[22]));
    const unsigned bpp = static_cast<unsigned>(data[28]) | (static_cast<unsigned>(data[29]) << 8);
    const std::uint32_t compression = le32(&data[30]);
    if (compression != 0 || (bpp != 24 && bpp != 32) || width <= 0 || width > 16384 || height == 0 ||
        height > 16384 || height < -16384)
        return false;
    const bool topDown = height < 0;
    img.w = width;
    img.h = topDown ? -height : height;
    const size_t stride = ((static_cast<size_t>(img.w) * bpp / 8) + 3) & ~static_cast<size_t>(3);
    if (offBits > size || (size - offBits) / stride < static_cast<size_t>(img.h))
        return false;
    img.rgb.assign(static_cast<size_t>(img.w) * static_cast<size_t>(img.h), 0);
    img.alpha.assign(img.rgb.size(), 255);
    for (int y = 0; y < img.h; ++y) {
        const unsigned char* row = &data[offBits + stride * static_cast<size_t>(topDown ? y : img.h - 1 - y)];
        for (int x = 0; x < img.w; ++x) {
            const unsigned char* p = row + static_cast<size_t>(x) * (bpp / 8);
            img.rgb[static_cast<size_t>(y) * static_cast<size_t>(img.w) + static_cast<size_t>(x)] =
                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
        }
    }
    return true;
}

bool readBmp(const char* path, Image& img)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::vector<unsigned char> data;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && data.size() < (1u << 28))
        data.insert(data.end(), buf, buf + n);
    std::fclose(f);
    return readBmpBytes(data.data(), data.size(), img);
}

bool readPng(const char* path, Image& img)
{
    png_image pi;
    std::memset(&pi, 0, sizeof pi);
    pi.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&pi, path))
        return false;
    pi.format = PNG_FORMAT_RGBA;
    if (pi.width > 16384 || pi.height > 16384) {
        png_image_free(&pi);
        return false;
    }
    std::vector<unsigned char> px(PNG_IMAGE_SIZE(pi));
    if (!png_image_finish_read(&pi, nullptr, px.data(), 0, nullptr))
        return false;
    img.w = static_cast<int>(pi.width);
    img.h = static_cast<int>(pi.height);
    img.rgb.resize(static_cast<size_t>(img.w) * static_cast<size_t>(img.h));
    img.alpha.resize(img.rgb.size());
    for (size_t i = 0; i < img.rgb.size(); ++i) {
        const unsigned char* p = &px[i * 4];
        img.rgb[i] = (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
        img.alpha[i] = p[3];
    }
    return true;
}

int channelDiff(std::uint32_t a, std::uint32_t b)
{
    int d = 0;
    for (int s = 0; s < 24; s += 8)
        d = std::max(d, std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)));
    return d;
}

constexpr std::uint32_t kBackground = 0xFFFFFF;
constexpr int kColourTolerance = 40; // where shapes of different colours overlap, the reader blends them
constexpr int kPartnerAlpha = 64;    // a partner needs a quarter coverage at least
constexpr int kInkAlpha = 160;       // PNG pixels this well covered must be BMP ink

bool bmpInk(const Image& b, int x, int y)
{
    return x >= 0 && y >= 0 && x < b.w && y < b.h &&
           b.rgb[static_cast<size_t>(y) * static_cast<size_t>(b.w) + static_cast<size_t>(x)] != kBackground;
}

// Is there ink of about colour `c` in `img` within one pixel of (x, y)?
bool partner(const Image& img, bool isPng, int x, int y, std::uint32_t c)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= img.w || py >= img.h)
                continue;
            const size_t i = static_cast<size_t>(py) * static_cast<size_t>(img.w) + static_cast<size_t>(px);
            const bool ink = isPng ? img.alpha[i] >= kPartnerAlpha : img.rgb[i] != kBackground;
            if (ink && channelDiff(img.rgb[i], c) <= kColourTolerance)
                return true;
        }
    }
    return false;
}

void writeSideBySide(const char* path, const Image& gdi, const Image& reader, const std::vector<std::uint8_t>& bad)
{
    const int w = gdi.w, h = std::max(gdi.h, reader.h);
    const int W = 3 * w + 8;
    std::vector<unsigned char> px(static_cast<size_t>(W) * static_cast<size_t>(h) * 3, 0x80);
    auto put = [&](int x, int y, std::uint32_t c) {
        unsigned char* p = &px[(static_cast<size_t>(y) * static_cast<size_t>(W) + static_cast<size_t>(x)) * 3];
        p[0] = static_cast<unsigned char>(c >> 16);
        p[1] = static_cast<unsigned char>(c >> 8);
        p[2] = static_cast<unsigned char>(c);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t g = static_cast<size_t>(y) * static_cast<size_t>(gdi.w) + static_cast<size_t>(x);
            if (y < gdi.h) {
                put(x, y, gdi.rgb[g]);
                put(2 * w + 8 + x, y, bad[g] == 1 ? 0xFF0000u : bad[g] == 2 ? 0x0000FFu : 0xFFFFFFu);
            }
            if (x < reader.w && y < reader.h) {
                const size_t i = static_cast<size_t>(y) * static_cast<size_t>(reader.w) + static_cast<size_t>(x);
                std::uint32_t c = 0;
                for (int s = 0; s < 24; s += 8) {
                    const unsigned v = (reader.rgb[i] >> s) & 0xFF;
                    c |= static_cast<std::uint32_t>((v * reader.alpha[i] + 255u * (255u - reader.alpha[i])) / 255u) << s;
                }
                put(w + 4 + x, y, c);
            }
        }
    }
    png_image pi;
    std::memset(&pi, 0, sizeof pi);
    pi.version = PNG_IMAGE_VERSION;
    pi.width = static_cast<png_uint_32>(W);
    pi.height = static_cast<png_uint_32>(h);
    pi.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&pi, path, 0, px.data(), 0, nullptr);
}

} // namespace

#ifndef EMFCHECK_NO_MAIN
int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: emfcheck <gdi.bmp> <reader.png> [side-by-side.png]\n");
        return 2;
    }
    Image gdi, reader;
    if (!readBmp(argv[1], gdi)) {
        std::fprintf(stderr, "%s: not a readable 24/32-bit BMP\n", argv[1]);
        return 2;
    }
    if (!readPng(argv[2], reader)) {
        std::fprintf(stderr, "%s: not a readable PNG\n", argv[2]);
        return 2;
    }
    // The reader's picture spans the metafile's bounds exclusive of their right and bottom edge; GDI's inclusive.
    if (std::abs(gdi.w - reader.w) > 1 || std::abs(gdi.h - reader.h) > 1) {
        std::fprintf(stderr, "size differs: GDI %d x %d, reader %d x %d\n", gdi.w, gdi.h, reader.w, reader.h);
        return 1;
    }
    long ink = 0, missing = 0, covered = 0, extra = 0;
    int shown = 0;
    std::vector<std::uint8_t> bad(gdi.rgb.size(), 0); // 1 GDI ink unmatched, 2 reader ink unmatched
    for (int y = 0; y < gdi.h; ++y) {
        for (int x = 0; x < gdi.w; ++x) {
            if (!bmpInk(gdi, x, y))
                continue;
            ++ink;
            const std::uint32_t c = gdi.rgb[static_cast<size_t>(y) * static_cast<size_t>(gdi.w) + static_cast<size_t>(x)];
            if (!partner(reader, true, x, y, c)) {
                ++missing;
                bad[static_cast<size_t>(y) * static_cast<size_t>(gdi.w) + static_cast<size_t>(x)] = 1;
                if (shown++ < 10)
                    std::fprintf(stderr, "  GDI ink #%06X at (%d, %d) has no partner in the reader's picture\n",
                                 static_cast<unsigned>(c), x, y);
            }
        }
    }
    for (int y = 0; y < reader.h; ++y) {
        for (int x = 0; x < reader.w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(reader.w) + static_cast<size_t>(x);
            if (reader.alpha[i] < kInkAlpha)
                continue;
            ++covered;
            if (!partner(gdi, false, x, y, reader.rgb[i])) {
                ++extra;
                if (x < gdi.w && y < gdi.h)
                    bad[static_cast<size_t>(y) * static_cast<size_t>(gdi.w) + static_cast<size_t>(x)] = 2;
                if (shown++ < 20)
                    std::fprintf(stderr, "  reader ink #%06X at (%d, %d) has no partner in GDI's picture\n",
                                 static_cast<unsigned>(reader.rgb[i]), x, y);
            }
        }
    }
    if (argc == 4)
        writeSideBySide(argv[3], gdi, reader, bad);
    std::printf("%s: GDI ink %ld (unmatched %ld), reader ink %ld (unmatched %ld)\n", argv[1], ink, missing, covered,
                extra);
    return missing == 0 && extra == 0 ? 0 : 1;
}
#endif
