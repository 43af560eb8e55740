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

struct Decoded {
    UINT w = 0, h = 0;
    GUID format{};
    std::vector<DWORD> pixels; // 0x00RRGGBB, top-down
};

// Decodes a PNG held in memory or in a file through WIC into 32-bit BGR pixels.
bool decode(const std::vector<uint8_t>* bytes, const wchar_t* file, Decoded& out)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* conv = nullptr;
    GUID container{};
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                         reinterpret_cast<void**>(&factory))) &&
              SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(bytes ? stream->InitializeFromMemory(const_cast<BYTE*>(bytes->data()),
                                                             static_cast<DWORD>(bytes->size()))
                              : stream->InitializeFromFilename(file, GENERIC_READ)) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatPng &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&out.w, &out.h)) &&
              SUCCEEDED(frame->GetPixelFormat(&out.format)) && SUCCEEDED(factory->CreateFormatConverter(&conv)) &&
              SUCCEEDED(conv->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom));
    if (ok) {
        out.pixels.assign(static_cast<size_t>(out.w) * out.h, 0);
        ok = SUCCEEDED(conv->CopyPixels(nullptr, out.w * 4, static_cast<UINT>(out.pixels.size() * 4),
                                        reinterpret_cast<BYTE*>(out.pixels.data())));
        for (DWORD& p : out.pixels)
            p &= 0xFFFFFF;
    }
    for (IUnknown* u : std::initializer_list<IUnknown*>{conv, frame, decoder, stream, factory})
        if (u)
            u->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    return ok;
}

} // namespace

// Random noise (incompressible), odd widths whose rows are not a multiple of four bytes, a single pixel and more
// rows than one band of the writer, with garbage in the fourth byte of each pixel, in memory and through a file and
// a DC; a flat picture with lines comes out far smaller than its raw 24-bit rows. Decoded again, every pixel equals
// the source's, in three 8-bit channels without alpha.
TEST(PngWrite, EveryPixelSurvivesEncodingFilesAndTheDc)
{
    std::mt19937 rng(20261206);
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, dir));
    ASSERT_NE(0u, GetTempFileNameW(dir, L"png", 0, path));
    for (const auto& s :
         {std::make_pair(1, 1), std::make_pair(3, 2), std::make_pair(301, 97), std::make_pair(1023, 65)}) {
        const int w = s.first, h = s.second;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        DWORD* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i)
            bits[i] = rng();
        const std::vector<DWORD> src(bits, bits + w * h);
        const std::vector<uint8_t> png = mavdemo::encodePng(src.data(), w, h);
        ASSERT_GT(png.size(), 8u);
        EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8));
        for (int how = 0; how < 3; ++how) {
            ASSERT_TRUE(how == 0 ||
                        (how == 1 ? mavdemo::savePng(src.data(), w, h, path) : mavdemo::saveDcAsPng(dc, w, h, path)));
            Decoded d;
            ASSERT_TRUE(decode(how ? nullptr : &png, path, d));
            ASSERT_EQ(std::make_pair(d.w, d.h), std::make_pair(static_cast<UINT>(w), static_cast<UINT>(h)));
            EXPECT_TRUE(d.format == GUID_WICPixelFormat24bppBGR || d.format == GUID_WICPixelFormat24bppRGB);
            size_t i = 0;
            while (i < src.size() && (src[i] & 0xFFFFFF) == d.pixels[i])
                ++i;
            EXPECT_EQ(i, src.size()) << w << "x" << h << " way " << how << ": first differing pixel " << i;
        }
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    DeleteFileW(path);
    // Nothing to encode is a failure, not an empty file or a crash.
    const DWORD one = 0;
    EXPECT_TRUE(mavdemo::encodePng(nullptr, 4, 4).empty() && mavdemo::encodePng(&one, 0, 1).empty() &&
                mavdemo::encodePng(&one, 1, -1).empty());
    EXPECT_FALSE(mavdemo::saveDcAsPng(nullptr, 0, 10, path));
}
