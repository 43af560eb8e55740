// Help: HTML Help loaded on first use, the shell for help addresses, and opening a help topic by name.
#include "ui/CMavDlg.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include "base/text.h"
#include "data/messages.h"

namespace {

// HtmlHelpW of hhctrl.ocx, looked up once; without the component every call does nothing.
HWND WINAPI systemHtmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
{
    using Fn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static Fn entry = [] {
        HMODULE module = ::LoadLibraryW(L"hhctrl.ocx");
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, "HtmlHelpW")))
                      : nullptr;
    }();
    return entry ? entry(owner, file, command, data) : nullptr;
}

MAV::HtmlHelpFcn g_htmlHelp = &systemHtmlHelp;
MAV::ShellExecuteFcn g_shellExecute = &::ShellExecuteW;

bool isAddress(const CMavString& file)
{
    return file.len() >= 4 && ::CompareStringOrdinal(file.c_str(), 4, L"http", 4, TRUE) == CSTR_EQUAL;
}

} // namespace

namespace MAV {

HtmlHelpFcn htmlHelpSet(HtmlHelpFcn fcn)
{
    HtmlHelpFcn previous = g_htmlHelp;
    g_htmlHelp = fcn ? fcn : &systemHtmlHelp;
    return previous;
}

ShellExecuteFcn shellExecuteSet(ShellExecuteFcn fcn)
{
    ShellExecuteFcn previous = g_shellExecute;
    g_shellExecute = fcn ? fcn : &::ShellExecuteW;
    return previous;
}

HWND htmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
{
    return g_htmlHelp(owner, file, command, data);
}

void helpOpen(const wchar_t* file, const wchar_t* topic)
{
    const CMavString path(file);
    const CMavString theTopic(topic);
    if (isAddress(path)) {
        std::wstring address = path.wstr();
        const std::wstring marker = L"<topic>";
        for (size_t at = address.find(marker); at != std::wstring::npos;
             at = address.find(marker, at + theTopic.wstr().size())) {
            address.replace(at, marker.size(), theTopic.wstr());
        }
        g_shellExecute(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    // The topic page first, then the keyword lookup that jumps to the topic.
    htmlHelp(nullptr, path, HH_DISPLAY_TOPIC, 0);
    HH_AKLINK link{};
    link.cbStruct = sizeof(link);
    link.pszKeywords = theTopic.c_str();
    htmlHelp(nullptr, path, HH_KEYWORD_LOOKUP, reinterpret_cast<DWORD_PTR>(&link));
}

// "name\topic" names the help file and the topic; anything without a backslash is a topic of the help "Mav".
bool help(const wchar_t* request)
{
    CMavArrayTempl<CMavString> parts;
    CMavString name(L"Mav");
    CMavString topic(request);
    if (strTok(request ? request : L"", L"\\", parts, false) >= 2) {
        name = parts[0];
        topic = parts[1];
    }
    CMavString file;
    if (!help_find(name, file))
        return false;
    helpOpen(file, topic);
    return true;
}

} // namespace MAV
