// The folder dialog, the Open dialog and the file drag: each dialog driven to OK and to Cancel by a hook as a
// user would, and a drag received by a drop target registered in this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>
#include <shellapi.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "afx/COleDataSource.h"
#include "afx/COleDropSource.h"
#include "ui/CMavFileDialog.h"
#include "ui/shell.h"
#include "ui_test_support.h"

namespace {

using uitest::ScratchDir;

// Runs call with a script of its own that hands the dialog to act; true when act ran.
template <class Call>
bool driven(std::function<void(HWND)> act, Call call)
{
    uitest::Script script(std::move(act));
    call();
    return uitest::Script::finished();
}

std::wstring forwardSlashes(std::wstring s)
{
    for (wchar_t& c : s)
        if (c == L'\\')
            c = L'/';
    return s;
}

void postCommand(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND findChild(HWND parent, const wchar_t* cls)
{
    struct Search {
        const wchar_t* cls;
        HWND found;
    } search{cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t name[64] = {};
            GetClassNameW(h, name, 64);
            if (lstrcmpiW(name, s->cls) == 0) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Clicks OK in the folder dialog once its tree shows the folder named kStartFolder selected.
const wchar_t kStartFolder[] = L"mav folder \u00e4";

void CALLBACK okWhenSelected(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    HWND tree = findChild(dialog, WC_TREEVIEWW);
    HTREEITEM sel = tree ? TreeView_GetSelection(tree) : nullptr;
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = sel;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (sel && TreeView_GetItem(tree, &item) && lstrcmpW(text, kStartFolder) == 0) {
        KillTimer(dialog, id);
        postCommand(dialog, IDOK);
    }
}

} // namespace

TEST(FolderDialog, StartPathIsNormalisedForTheShell)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"D:/work/", L"D:\\work"},   {L"D:\\work\\", L"D:\\work"}, {L"C:", L"C:\\"},
        {L"C:\\", L"C:\\"},           {L"C:/", L"C:\\"},           {L"a/b/c", L"a\\b\\c"},
        {L"x\\\\", L"x\\"},           {L"\\", L"\\"},              {L"", L""},
        {L"//srv/share/", L"\\\\srv\\share"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(MAV::folderStartPath(c.in).c_str(), c.out) << "from " << testing::PrintToString(std::wstring(c.in));
    EXPECT_STREQ(MAV::folderStartPath(nullptr).c_str(), L"");
}

// The dialog opens on the start folder given with forward slashes and a trailing slash; OK hands back that folder
// with one trailing backslash. A start folder that does not exist still opens it; Cancel leaves the path alone.
TEST(FolderDialog, OkReturnsTheStartFolderAndCancelKeepsThePath)
{
    // Wine's folder tree does not always find a folder below the user's profile (it stops at the profile), so the
    // start folder sits on the drive itself.
    ScratchDir dir(kStartFolder, L"C:");
    CMavString path(forwardSlashes(dir.path + L"\\").c_str());
    // The shell fills its tree as it goes; the user clicks OK once the start folder shows selected.
    bool chosen = false;
    EXPECT_TRUE(driven([](HWND dialog) { SetTimer(dialog, 77, 20, &okWhenSelected); },
                       [&] { chosen = MAV::dlgFolder(nullptr, path, L"Ordner w\u00e4hlen"); }));
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(path.c_str(), (dir.path + L"\\").c_str());

    CMavString kept(L"C:/somewhere/");
    EXPECT_TRUE(driven([](HWND dialog) { postCommand(dialog, IDCANCEL); },
                       [&] { EXPECT_FALSE(MAV::dlgFolder(nullptr, kept, L"Ordner")); }));
    EXPECT_STREQ(kept.c_str(), L"C:/somewhere/");
}

// Whatever kind the caller asks for, the Open dialog shows (its OK button says Open), with the given title; a hook
// flag without a hook procedure does no harm. The typed name comes back as the chosen path.
TEST(FileDialog, OpenDialogTakesTheTypedFileOrCancels)
{
    ScratchDir dir(L"mav file dialog");
    std::wstring file = dir.file(L"teile.txt");
    static const wchar_t title[] = L"Teileliste \u00f6ffnen";

    CMavFileDialog save(FALSE, L"txt", nullptr, OFN_FILEMUSTEXIST | OFN_ENABLEHOOK, L"Text (*.txt)|*.txt||", nullptr);
    save.SetTitle(title);
    std::wstring shownTitle, okText;
    const bool acted = driven(
        [&](HWND dialog) {
        shownTitle = uitest::windowText(dialog);
        okText = uitest::windowText(GetDlgItem(dialog, IDOK));
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name)
            name = GetDlgItem(dialog, edt1);
        SetWindowTextW(name, file.c_str());
        postCommand(dialog, IDOK);
        },
        [&] { EXPECT_EQ(save.DoModal(), IDOK); });
    EXPECT_TRUE(acted);
    EXPECT_EQ(shownTitle, title);
    EXPECT_NE(okText.find(L"Open"), std::wstring::npos) << testing::PrintToString(okText);
    EXPECT_STREQ(save.GetPathName().GetString(), file.c_str());
    EXPECT_STREQ(save.GetFileName().GetString(), L"teile.txt");
    EXPECT_STREQ(save.GetFileExt().GetString(), L"txt");
    EXPECT_EQ(save.m_ofn.Flags & OFN_ENABLEHOOK, 0u);

    CMavFileDialog open(TRUE, L"txt", file.c_str(), OFN_FILEMUSTEXIST, L"Text (*.txt)|*.txt||", nullptr);
    EXPECT_TRUE(driven([](HWND dialog) { postCommand(dialog, IDCANCEL); },
                       [&] { EXPECT_EQ(open.DoModal(), IDCANCEL); }));
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
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        std::wstring s(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        s.resize(DragQueryFileW(drop, i, s.data(), static_cast<UINT>(s.size())));
        files.push_back(s);
    }
    ReleaseStgMedium(&m);
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
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        ++enters;
        *effect &= answer;
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect &= answer;
        return S_OK;
    }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        ++drops;
        files = droppedFiles(data);
        *effect &= answer;
        return S_OK;
    }
};

} // namespace

TEST(FileDrag, DataObjectOffersOneDropFilesBlock)
{
    const std::wstring path = L"C:\\Teile\\Schrank \u00e4\u00f6\u00fc.dwg";
    HGLOBAL block = MAV::dropFilesBlock(path.c_str());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 20 + 2 * path.size() + 4);
    {
        const auto* h = static_cast<const DROPFILES*>(GlobalLock(block));
        EXPECT_EQ(h->pFiles, 20u);
        EXPECT_EQ(h->pt.x, 0);
        EXPECT_EQ(h->pt.y, 0);
        EXPECT_TRUE(h->fNC);
        EXPECT_TRUE(h->fWide);
        const auto* names = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(h) + 20);
        EXPECT_EQ(std::wstring(names, path.size() + 2), path + std::wstring(2, L'\0'));
        GlobalUnlock(block);
    }

    auto source = std::make_unique<COleDataSource>();
    source->CacheGlobalData(CF_HDROP, block);
    IDataObject* data = source->GetInterface();
    // Two reads give the same file: each reader gets a copy of its own to free.
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);
    FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&hdrop), S_OK);
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC got[3] = {};
    ULONG n = 0;
    formats->Next(3, got, &n);
    formats->Release();
    ASSERT_EQ(n, 1u);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(got[0].tymed, static_cast<DWORD>(TYMED_HGLOBAL));

    // A target that keeps the data object still reads it after the source is gone.
    data->AddRef();
    source.reset();
    EXPECT_EQ(droppedFiles(data), std::vector<std::wstring>{path});
    data->Release();
}

TEST(FileDrag, DropSourceEndsOnEscapeAndDropsOnRelease)
{
    COleDropSource source;
    IDropSource* s = source.GetInterface();
    const struct {
        BOOL escape;
        DWORD keys;
        HRESULT expected;
    } cases[] = {
        {FALSE, MK_LBUTTON, S_OK},
        {FALSE, MK_RBUTTON | MK_SHIFT, S_OK},
        {FALSE, 0, DRAGDROP_S_DROP},
        {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
        {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {TRUE, 0, DRAGDROP_S_CANCEL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s->QueryContinueDrag(c.escape, c.keys), c.expected) << c.escape << " " << c.keys;
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

// Two files dragged one after the other onto a window of this process: each arrives whole at the registered
// target. A file that does not exist is refused before any drag; a target that accepts nothing makes the drag
// report false; a start rectangle the cursor never leaves means no drag at all.
TEST(FileDrag, DraggedFilesReachARegisteredDropTarget)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ScratchDir dir(L"mav drag");
    const std::wstring first = dir.file(L"Seitenwand links.dwg");
    const std::wstring second = dir.file(L"T\u00fcr \u00e4 2.dwg");

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MavDropTargetTest";
    RegisterClassW(&wc);
    HWND target = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 200, 200, 200, 150,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(target, nullptr);
    RecordingTarget recorder;
    ASSERT_EQ(RegisterDragDrop(target, &recorder), S_OK);
    SetCursorPos(300, 275);
    uitest::pump();
    ASSERT_EQ(WindowFromPoint(POINT{300, 275}), target);

    std::vector<std::vector<std::wstring>> received;
    for (const std::wstring& file : {first, second}) {
        EXPECT_TRUE(MAV::DoDragDrop(file.c_str(), DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, nullptr));
        received.push_back(recorder.files);
    }
    EXPECT_EQ(recorder.drops, 2);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], std::vector<std::wstring>{first});
    EXPECT_EQ(received[1], std::vector<std::wstring>{second});

    EXPECT_FALSE(MAV::DoDragDrop((dir.path + L"\\fehlt.dwg").c_str(), DROPEFFECT_COPY, nullptr, nullptr));
    EXPECT_FALSE(MAV::DoDragDrop(nullptr, DROPEFFECT_COPY, nullptr, nullptr));
    EXPECT_EQ(recorder.drops, 2);

    recorder.answer = DROPEFFECT_NONE;
    EXPECT_FALSE(MAV::DoDragDrop(first.c_str(), DROPEFFECT_COPY, nullptr, nullptr));

    recorder.answer = DROPEFFECT_COPY;
    const int enters = recorder.enters;
    RECT around{250, 225, 350, 325};
    EXPECT_FALSE(MAV::DoDragDrop(first.c_str(), DROPEFFECT_COPY, &around, nullptr));
    EXPECT_EQ(recorder.enters, enters) << "the button is up inside the start rectangle: no drag begins";

    RevokeDragDrop(target);
    DestroyWindow(target);
    OleUninitialize();
}
