// The folder dialog, the Open dialog and the file drag: each dialog driven to OK and to Cancel by a hook as a
// user would, and a drag received by a drop target registered in this process.
#include "ui_test_support.h"

#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>

#include "afx/COleDataSource.h"
#include "afx/COleDropSource.h"
#include "ui/CMavFileDialog.h"
#include "ui/shell.h"

namespace {

using uitest::driven;
using uitest::post;
using uitest::ScratchDir;

// Clicks OK in the folder dialog once its tree shows the folder named kStartFolder selected.
const wchar_t kStartFolder[] = L"mav folder \u00e4";
void CALLBACK okWhenSelected(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    HWND tree = nullptr;
    ::EnumChildWindows(
        dialog,
        [](HWND h, LPARAM found) -> BOOL {
            wchar_t name[64] = {};
            ::GetClassNameW(h, name, 64);
            if (::lstrcmpiW(name, WC_TREEVIEWW) == 0)
                *reinterpret_cast<HWND*>(found) = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tree));
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = tree ? TreeView_GetSelection(tree) : nullptr;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (item.hItem && TreeView_GetItem(tree, &item) && ::lstrcmpW(text, kStartFolder) == 0) {
        ::KillTimer(dialog, id);
        post(dialog, IDOK);
    }
}

} // namespace

// The start path the shell gets: slashes turned round, a trailing one dropped except after a drive.
TEST(FolderDialog, StartPathIsNormalisedForTheShell)
{
    const wchar_t* const cases[][2] = {
        {L"D:/work/", L"D:\\work"},
        {L"D:\\work\\", L"D:\\work"},
        {L"C:", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"C:/", L"C:\\"},
        {L"a/b/c", L"a\\b\\c"},
        {L"x\\\\", L"x\\"},
        {L"\\", L"\\"},
        {L"", L""},
        {L"//srv/share/", L"\\\\srv\\share"},
        {nullptr, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(MAV::folderStartPath(c[0]).c_str()), c[1]) << uitest::str(c[0]);
}

// The dialog opens on the start folder given with forward slashes and a trailing slash; OK hands back that folder
// with one trailing backslash. Cancel leaves the path alone.
TEST(FolderDialog, OkReturnsTheStartFolderAndCancelKeepsThePath)
{
    // Wine's folder tree does not always find a folder below the user's profile (it stops at the profile), so the
    // start folder sits on the drive itself.
    ScratchDir dir(kStartFolder, L"C:");
    std::wstring given = dir.path + L"\\";
    std::replace(given.begin(), given.end(), L'\\', L'/');
    CMavString path(given.c_str()), kept(L"C:/somewhere/");
    // The shell fills its tree as it goes; the user clicks OK once the start folder shows selected.
    bool chosen = false;
    EXPECT_TRUE(driven([](HWND dialog) { ::SetTimer(dialog, 77, 20, &okWhenSelected); },
                       [&] { chosen = MAV::dlgFolder(nullptr, path, L"Ordner w\u00e4hlen"); }));
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(path.c_str(), (dir.path + L"\\").c_str());
    EXPECT_TRUE(driven([](HWND dialog) { post(dialog, IDCANCEL); },
                       [&] { EXPECT_FALSE(MAV::dlgFolder(nullptr, kept, L"Ordner")); }));
    EXPECT_STREQ(kept.c_str(), L"C:/somewhere/");
}

// Whatever kind the caller asks for, the Open dialog shows (its OK button says Open), with the given title; a hook
// flag without a hook procedure does no harm. The typed name comes back as the chosen path.
TEST(FileDialog, OpenDialogTakesTheTypedFileOrCancels)
{
    ScratchDir dir(L"mav file dialog");
    const std::wstring file = dir.file(L"teile.txt");
    CMavFileDialog save(FALSE, L"txt", nullptr, OFN_FILEMUSTEXIST | OFN_ENABLEHOOK, L"Text (*.txt)|*.txt||", nullptr);
    save.SetTitle(L"Teileliste \u00f6ffnen");
    std::wstring shown;
    EXPECT_TRUE(driven(
        [&](HWND dialog) {
            shown = uitest::windowText(dialog) + L"|" + uitest::itemText(dialog, IDOK);
            ::SetWindowTextW(::GetDlgItem(dialog, cmb13) ? ::GetDlgItem(dialog, cmb13) : ::GetDlgItem(dialog, edt1),
                             file.c_str());
            post(dialog, IDOK);
        },
        [&] { EXPECT_EQ(save.DoModal(), IDOK); }));
    EXPECT_EQ(shown.substr(0, shown.find(L'|')), L"Teileliste \u00f6ffnen");
    EXPECT_NE(shown.find(L"Open"), std::wstring::npos) << testing::PrintToString(shown);
    EXPECT_EQ(std::wstring(save.GetPathName().GetString()) + L"|" + save.GetFileName().GetString() + L"|" +
                  save.GetFileExt().GetString(),
              file + L"|teile.txt|txt");
    EXPECT_EQ(save.m_ofn.Flags & OFN_ENABLEHOOK, 0u);
    CMavFileDialog open(TRUE, L"txt", file.c_str(), OFN_FILEMUSTEXIST, L"Text (*.txt)|*.txt||", nullptr);
    EXPECT_TRUE(driven([](HWND dialog) { post(dialog, IDCANCEL); }, [&] { EXPECT_EQ(open.DoModal(), IDCANCEL); }));
}

namespace {

std::vector<std::wstring> droppedFiles(IDataObject* data)
{
    std::vector<std::wstring> files;
    FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m{};
    if (FAILED(data->GetData(&f, &m)))
        return files;
    HDROP drop = static_cast<HDROP>(m.hGlobal);
    for (UINT i = 0, n = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
        std::wstring s(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        s.resize(::DragQueryFileW(drop, i, s.data(), static_cast<UINT>(s.size())));
        files.push_back(s);
    }
    ::ReleaseStgMedium(&m);
    return files;
}

// A drop target that keeps what was dropped on it and answers with a fixed effect.
class RecordingTarget : public IDropTarget {
public:
    DWORD answer = DROPEFFECT_COPY;
    int enters = 0, drops = 0;
    std::vector<std::wstring> files;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        const bool known = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget);
        *out = known ? static_cast<IDropTarget*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        ++enters;
        return *effect &= answer, S_OK;
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override { return *effect &= answer, S_OK; }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        ++drops;
        files = droppedFiles(data);
        return *effect &= answer, S_OK;
    }
};

} // namespace

// The file's drop block: a DROPFILES header of 20 bytes (wide names, no point) and the name ending in two nulls,
// offered by the data source as its only format; each reader gets a copy of its own, also after the source is gone.
// The drop source ends on Escape and drops when the buttons are released.
TEST(FileDrag, DataObjectOffersOneDropFilesBlockAndTheSourceFollowsTheButtons)
{
    const std::wstring path = L"C:\\Teile\\Schrank \u00e4\u00f6\u00fc.dwg";
    HGLOBAL block = MAV::dropFilesBlock(path.c_str());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(::GlobalSize(block), 20 + 2 * path.size() + 4);
    const auto* h = static_cast<const DROPFILES*>(::GlobalLock(block));
    EXPECT_EQ(std::make_tuple(h->pFiles, h->pt.x, h->pt.y, h->fNC, h->fWide), std::make_tuple(20u, 0L, 0L, TRUE, TRUE));
    const auto* names = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(h) + 20);
    EXPECT_EQ(std::wstring(names, path.size() + 2), path + std::wstring(2, L'\0'));
    ::GlobalUnlock(block);

    auto source = std::make_unique<COleDataSource>();
    source->CacheGlobalData(CF_HDROP, block);
    IDataObject* data = source->GetInterface();
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(std::make_pair(data->QueryGetData(&text), data->QueryGetData(&hdrop)),
              std::make_pair(DV_E_FORMATETC, S_OK));
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC got[3] = {};
    ULONG n = 0;
    formats->Next(3, got, &n);
    formats->Release();
    EXPECT_EQ(std::make_tuple(n, got[0].cfFormat, got[0].tymed),
              std::make_tuple(1ul, CLIPFORMAT(CF_HDROP), DWORD(TYMED_HGLOBAL)));
    data->AddRef();
    source.reset();
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    data->Release();

    COleDropSource dropSource;
    IDropSource* s = dropSource.GetInterface();
    const struct {
        BOOL escape;
        DWORD keys;
        HRESULT expected;
    } cases[] = {{FALSE, MK_LBUTTON, S_OK},
                 {FALSE, MK_RBUTTON | MK_SHIFT, S_OK},
                 {FALSE, 0, DRAGDROP_S_DROP},
                 {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
                 {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
                 {TRUE, 0, DRAGDROP_S_CANCEL}};
    for (const auto& c : cases)
        EXPECT_EQ(s->QueryContinueDrag(c.escape, c.keys), c.expected) << c.escape << " " << c.keys;
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

// Two files dragged one after the other onto a window of this process: each arrives whole at the registered
// target. A file that does not exist is refused before any drag; a target that accepts nothing makes the drag
// report false; a start rectangle the cursor never leaves means no drag at all.
TEST(FileDrag, DraggedFilesReachARegisteredDropTarget)
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    ScratchDir dir(L"mav drag");
    const std::wstring first = dir.file(L"Seitenwand links.dwg"), second = dir.file(L"T\u00fcr \u00e4 2.dwg");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MavDropTargetTest";
    ::RegisterClassW(&wc);
    HWND target = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 200, 200, 200, 150,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    RecordingTarget recorder;
    ASSERT_EQ(::RegisterDragDrop(target, &recorder), S_OK);
    ::SetCursorPos(300, 275);
    uitest::pump();
    ASSERT_EQ(::WindowFromPoint(POINT{300, 275}), target);
    for (const std::wstring& file : {first, second}) {
        EXPECT_TRUE(MAV::DoDragDrop(file.c_str(), DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, nullptr));
        EXPECT_EQ(recorder.files, std::vector<std::wstring>{file});
    }
    EXPECT_FALSE(MAV::DoDragDrop((dir.path + L"\\fehlt.dwg").c_str(), DROPEFFECT_COPY, nullptr, nullptr) ||
                 MAV::DoDragDrop(nullptr, DROPEFFECT_COPY, nullptr, nullptr));
    EXPECT_EQ(recorder.drops, 2);
    recorder.answer = DROPEFFECT_NONE;
    EXPECT_FALSE(MAV::DoDragDrop(first.c_str(), DROPEFFECT_COPY, nullptr, nullptr));
    recorder.answer = DROPEFFECT_COPY;
    const int enters = recorder.enters;
    RECT around{250, 225, 350, 325};
    EXPECT_FALSE(MAV::DoDragDrop(first.c_str(), DROPEFFECT_COPY, &around, nullptr));
    EXPECT_EQ(recorder.enters, enters) << "the button is up inside the start rectangle: no drag begins";
    ::RevokeDragDrop(target);
    ::DestroyWindow(target);
    ::OleUninitialize();
}
