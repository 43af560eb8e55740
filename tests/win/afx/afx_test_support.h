// Helpers of the MFC substitute's tests: a 32-bit DIB to read pixels from, and dialog templates built in memory.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "afx/CString.h"
#include "afx/CWnd.h"

// Lets GoogleTest show strings as text (UTF-8) in failure messages.
inline void PrintTo(const CString& s, std::ostream* os)
{
    char buf[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, s.GetString(), -1, buf, sizeof buf - 1, nullptr, nullptr);
    *os << '"' << buf << '"';
}

namespace afxtest {

// The module handle of MavMfc.dll.
inline HMODULE libraryModule()
{
    return GetModuleHandleW(L"MavMfc.dll");
}

// A top-down 32-bit DIB section selected into a memory DC, made with the raw API so that it checks the wrappers
// independently. Pixels read as 0x00RRGGBB.
struct Dib {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    int w = 0, h = 0;
    Dib(int width, int height, DWORD fill = 0xFFFFFF) : w(width), h(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
    }
    ~Dib()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    DWORD at(int x, int y) const { return bits[y * w + x] & 0xFFFFFF; }
};

// A dialog template in memory (DLGTEMPLATE and its items), no font, dialog units.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* caption)
    {
        words({LOWORD(style), HIWORD(style), 0, 0, 0 /* item count */, 10, 10, WORD(cx), WORD(cy), 0, 0});
        text(caption);
    }
    // An item of a predefined class: 0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x85 combo box.
    DialogTemplate& add(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy,
                        const wchar_t* caption = L"")
    {
        if (m_words.size() % 2)
            m_words.push_back(0); // items start on a DWORD boundary
        style |= WS_CHILD | WS_VISIBLE;
        words({LOWORD(style), HIWORD(style), 0, 0, WORD(x), WORD(y), WORD(cx), WORD(cy), id, 0xFFFF, classAtom});
        text(caption);
        m_words.push_back(0); // no creation data
        ++m_words[4];
        return *this;
    }
    LPCDLGTEMPLATEW get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_words.data()); }

  private:
    void words(std::initializer_list<WORD> w) { m_words.insert(m_words.end(), w); }
    void text(const wchar_t* s)
    {
        for (; s && *s; ++s)
            m_words.push_back(static_cast<WORD>(*s));
        m_words.push_back(0);
    }
    std::vector<WORD> m_words;
};

// Dispatches every message waiting in this thread's queue, through AfxPreTranslateMessage as a host would.
inline void pumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace afxtest
