// PNG snapshots through the Windows Imaging Component: the platform's encoder compresses, we only hand it rows.
#include "png_write.h"

#include <wincodec.h>

#include <cstdio>

#include "afx/CDC.h"
#include "afx/CGdiObject.h"

namespace mavdemo {
namespace {

// Holds a COM interface pointer and releases it.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }

private:
    T* p_ = nullptr;
};

// Enters COM for the calling thread if it has not entered it yet, and leaves again when done. A thread that is
// already in a multithreaded apartment keeps it: WIC's factory works in both.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

// The encoder writes 24-bit BGR rows: the DIB's fourth byte is unused and would only cost space as alpha.
bool encodeInto(IStream* stream, const DWORD* pixels, int width, int height)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return false;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)))
        return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return false;

    // Rows go in bands so that a large snapshot needs one band of 24-bit rows, not a second copy of itself.
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    const int bandRows = 64;
    std::vector<BYTE> band(static_cast<size_t>(stride) * bandRows);
    for (int y0 = 0; y0 < height; y0 += bandRows) {
        const int rows = height - y0 < bandRows ? height - y0 : bandRows;
        for (int r = 0; r < rows; ++r) {
            const DWORD* src = pixels + static_cast<size_t>(y0 + r) * static_cast<size_t>(width);
            BYTE* dst = band.data() + static_cast<size_t>(r) * stride;
            for (int x = 0; x < width; ++x) {
                dst[3 * x] = static_cast<BYTE>(src[x]);
                dst[3 * x + 1] = static_cast<BYTE>(src[x] >> 8);
                dst[3 * x + 2] = static_cast<BYTE>(src[x] >> 16);
            }
        }
        if (FAILED(frame->WritePixels(static_cast<UINT>(rows), stride, stride * static_cast<UINT>(rows), band.data())))
            return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

} // namespace

std::vector<uint8_t> encodePng(const DWORD* pixels, int width, int height)
{
    // A row of more than 2^24 pixels is no snapshot; the bound keeps the band size within 32 bits.
    if (!pixels || width <= 0 || height <= 0 || width > (1 << 24))
        return {};
    ComScope com;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) || !encodeInto(stream.get(), pixels, width, height))
        return {};
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
        stat.cbSize.QuadPart > 0x7FFFFFFF)
        return {};
    std::vector<uint8_t> out(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    ULONG got = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(out.data(), static_cast<ULONG>(out.size()), &got)) || got != out.size())
        return {};
    return out;
}

bool savePng(const DWORD* pixels, int width, int height, const std::wstring& path)
{
    const std::vector<uint8_t> png = encodePng(pixels, width, height);
    if (png.empty())
        return false;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

bool saveDcAsPng(HDC dc, int width, int height, const std::wstring& path)
{
    CDC mem;
    CBitmap bmp;
    DWORD* bits = nullptr;
    if (width <= 0 || height <= 0 || !mem.CreateCompatibleDC(nullptr) || !bmp.CreateDIBSection32(width, height, &bits))
        return false;
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(mem, old);
    return savePng(bits, width, height, path);
}

bool saveScreenAsPng(const RECT& rect, const std::wstring& path)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    const bool ok = saveDcAsPng(mem, w, h, path);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (ok)
        std::printf("mavdemo: wrote %ls\n", path.c_str());
    else
        std::fprintf(stderr, "mavdemo: cannot write %ls\n", path.c_str());
    std::fflush(stdout);
    return ok;
}

} // namespace mavdemo
