// The demo's PNG snapshots: decoded again through the imaging component, every pixel must equal the DIB's.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "mavdemo/png_write.h"

namespace {

template <class T> struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com()
    {
        if (p)
            p->Release();
    }
};

struct ComThread {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComThread()
    {
        if (SUCCEEDED(hr))
            CoUninitialize();
    }
};

struct Decoded {
    UINT w = 0, h = 0;
    GUID format{};
    std::vector<DWORD> pixels; // 0x00RRGGBB, top-down
};

// Decodes a PNG held in memory or in a file through WIC into 32-bit BGR pixels.
bool decode(const std::vector<uint8_t>* bytes, const wchar_t* file, Decoded& out)
{
    ComThread com;
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.p))))
        return false;
    Com<IWICStream> stream;
    if (FAILED(factory.p->CreateStream(&stream.p)))
        return false;
    HRESULT hr =
        bytes ? stream.p->InitializeFromMemory(const_cast<BYTE*>(bytes->data()), static_cast<DWORD>(bytes->size()))
              : stream.p->InitializeFromFilename(file, GENERIC_READ);
    if (FAILED(hr))
        return false;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> conv;
    GUID container{};
    if (FAILED(factory.p->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder.p->GetContainerFormat(&container)) || container != GUID_ContainerFormatPng ||
        FAILED(decoder.p->GetFrame(0, &frame.p)) || FAILED(frame.p->GetSize(&out.w, &out.h)) ||
        FAILED(frame.p->GetPixelFormat(&out.format)) || FAILED(factory.p->CreateFormatConverter(&conv.p)) ||
        FAILED(conv.p->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                  WICBitmapPaletteTypeCustom)))
        return false;
    out.pixels.assign(static_cast<size_t>(out.w) * out.h, 0);
    if (FAILED(conv.p->CopyPixels(nullptr, out.w * 4, static_cast<UINT>(out.pixels.size() * 4),
                                  reinterpret_cast<BYTE*>(out.pixels.data()))))
        return false;
    for (DWORD& p : out.pixels)
        p &= 0xFFFFFF;
    return true;
}

// Compares with the source, naming the first differing pixel.
void expectSame(const std::vector<DWORD>& src, int w, int h, const Decoded& d)
{
    ASSERT_EQ(d.w, static_cast<UINT>(w));
    ASSERT_EQ(d.h, static_cast<UINT>(h));
    // Three 8-bit channels, no alpha: the DIB's unused fourth byte must not have become transparency.
    EXPECT_TRUE(d.format == GUID_WICPixelFormat24bppBGR || d.format == GUID_WICPixelFormat24bppRGB);
    for (size_t i = 0; i < src.size(); ++i) {
        if ((src[i] & 0xFFFFFF) != d.pixels[i]) {
            ADD_FAILURE() << "pixel (" << i % w << ", " << i / w << "): wrote " << std::hex << (src[i] & 0xFFFFFF)
                          << ", read " << d.pixels[i];
            return;
        }
    }
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

} // namespace

// Random noise (incompressible), odd widths whose rows are not a multiple of four bytes, a single pixel and
// more rows than one band of the writer; the fourth byte of each source pixel is garbage on purpose.
TEST(PngWrite, EveryPixelSurvivesEncodingAndDecoding)
{
    std::mt19937 rng(20261206);
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {3, 2}, {301, 97}, {64, 130}, {1023, 65}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s.w << "x" << s.h);
        std::vector<DWORD> src(static_cast<size_t>(s.w) * s.h);
        for (DWORD& p : src)
            p = rng();
        const std::vector<uint8_t> png = mavdemo::encodePng(src.data(), s.w, s.h);
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(be32(png, 16), static_cast<uint32_t>(s.w));
        EXPECT_EQ(be32(png, 20), static_cast<uint32_t>(s.h));
        Decoded d;
        ASSERT_TRUE(decode(&png, nullptr, d));
        expectSame(src, s.w, s.h, d);
    }
}

// A snapshot-like picture of 1400 x 1000 (flat background, lines, a gradient band, a box and a pixel GDI drew) in
// a DIB section: what the device context shows is what the files hold, through the pixels and through the DC, and
// the picture comes out far smaller than its raw 24-bit rows.
TEST(PngWrite, SnapshotIsCompressedAndFilesReadBack)
{
    const int w = 1400, h = 1000;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_TRUE(dc && bmp);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits[y * w + x] = y >= 900 ? static_cast<DWORD>((x * 255 / (w - 1)) << 16 | (y - 900))
                              : (x % 100 == 0 || y % 80 == 0) ? 0x1E50A0
                                                              : 0xF0F0F0;
    RECT box{10, 5, 60, 40};
    HBRUSH red = CreateSolidBrush(RGB(200, 20, 10));
    FillRect(dc, &box, red);
    DeleteObject(red);
    SetPixel(dc, w - 1, h - 1, RGB(1, 2, 3));
    GdiFlush();
    const std::vector<DWORD> src(bits, bits + w * h);
    EXPECT_EQ((std::vector<DWORD>{src[5 * w + 10], src[src.size() - 1], src[1]}),
              (std::vector<DWORD>{0xC8140A, 0x010203, 0x1E50A0}));

    const std::vector<uint8_t> png = mavdemo::encodePng(src.data(), w, h);
    const size_t raw = static_cast<size_t>(h) * (1 + 3 * static_cast<size_t>(w));
    EXPECT_LT(png.size() * 10, raw) << png.size() << " bytes";
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, dir));
    ASSERT_NE(0u, GetTempFileNameW(dir, L"png", 0, path));
    for (bool fromDc : {false, true}) {
        SCOPED_TRACE(fromDc);
        ASSERT_TRUE(fromDc ? mavdemo::saveDcAsPng(dc, w, h, path) : mavdemo::savePng(src.data(), w, h, path));
        WIN32_FILE_ATTRIBUTE_DATA attr{};
        ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &attr));
        EXPECT_EQ(attr.nFileSizeLow, fromDc ? attr.nFileSizeLow : png.size());
        Decoded d;
        EXPECT_TRUE(decode(nullptr, path, d));
        expectSame(src, w, h, d);
    }
    DeleteFileW(path);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);

    // Nothing to encode is a failure, not an empty file or a crash.
    const DWORD one = 0;
    EXPECT_TRUE(mavdemo::encodePng(nullptr, 4, 4).empty());
    EXPECT_TRUE(mavdemo::encodePng(&one, 0, 1).empty());
    EXPECT_TRUE(mavdemo::encodePng(&one, 1, -1).empty());
    EXPECT_FALSE(mavdemo::saveDcAsPng(nullptr, 0, 10, path));
}
