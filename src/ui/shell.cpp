// The folder dialog and the file drag: the shell's own dialog with a start folder and the chosen folder in its
// status line, and an OLE drag of one file as the shell's drop-files block.
#include "ui/shell.h"

#include <io.h>
#include <shlobj.h>

#include <cstring>

#include "afx/COleDataSource.h"
#include "afx/COleDropSource.h"

namespace MAV {

namespace {

// Shows the start folder once the dialog is up, and the file-system path of every folder the user moves to.
int CALLBACK folderCallback(HWND dialog, UINT message, LPARAM param, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        const wchar_t* start = reinterpret_cast<const wchar_t*>(data);
        if (start && *start)
            ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start));
    } else if (message == BFFM_SELCHANGED) {
        wchar_t folder[MAX_PATH] = {};
        if (param && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), folder))
            ::SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(folder));
    }
    return 0;
}

} // namespace

CMavString folderStartPath(const wchar_t* path)
{
    CMavString start(path);
    start.replace(L'/', L'\\');
    int n = start.len();
    if (n >= 2) {
        if (start[n - 1] == L'\\' && start[n - 2] != L':')
            start = start.left(n - 1);
        else if (start[n - 1] == L':')
            start += L'\\';
    }
    return start;
}

bool dlgFolder(HWND owner, CMavString& path, const wchar_t* title)
{
    CMavString start = folderStartPath(path);
    HRESULT ole = ::OleInitialize(nullptr);
    HRESULT com = ::CoInitialize(nullptr);

    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner ? owner : ::GetActiveWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = display;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE; // 0x51
    info.lpfn = folderCallback;
    info.lParam = reinterpret_cast<LPARAM>(start.isEmpty() ? nullptr : start.c_str());

    bool chosen = false;
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
    if (list) {
        wchar_t folder[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(list, folder) && folder[0]) {
            CMavString result(folder);
            if (result[result.len() - 1] != L'\\')
                result += L'\\';
            path = result;
            chosen = true;
        }
        ::CoTaskMemFree(list);
    }

    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    return chosen;
}

// DROPFILES is 20 bytes; the file list follows it at offset 20 and ends with two zero characters (the end of
// the one path and the end of the list).
HGLOBAL dropFilesBlock(const wchar_t* file)
{
    const size_t length = file ? wcslen(file) : 0;
    const size_t size = sizeof(DROPFILES) + 2 * length + 4;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    if (!header) {
        ::GlobalFree(block);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->pt.x = 0;
    header->pt.y = 0;
    header->fNC = TRUE;
    header->fWide = TRUE;
    if (length)
        memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), file, 2 * length);
    ::GlobalUnlock(block);
    return block;
}

bool DoDragDrop(const wchar_t* file, DWORD effects, const RECT* startRect, COleDropSource* source)
{
    if (!file || _waccess(file, 0) != 0)
        return false;
    HGLOBAL block = dropFilesBlock(file);
    if (!block)
        return false;
    // The drag needs OLE on this thread; a host that has it already keeps it.
    HRESULT ole = ::OleInitialize(nullptr);
    DWORD effect = DROPEFFECT_NONE;
    {
        COleDataSource data;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        data.CacheGlobalData(CF_HDROP, block, &format);
        effect = data.DoDragDrop(effects, startRect, source);
    }
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    return effect != DROPEFFECT_NONE;
}

} // namespace MAV
