// The label edit dialog driven as a user drives it: rows filled from a plain text or a label, a cell edited in
// place, a row switched between one and several lines through its context menu, copy and paste between two
// dialogs through the user's registry, the label collected on OK, and bad input that must not break it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/countries.h"
#include "base/win/registry.h"
#include "data/labels.h"
#include "data/messages.h"
#include "dialogs/CMavLabelEdit.h"
#include "dialogs_script_support.h"
#include "resource.h"

namespace {

using Entries = std::vector<std::pair<UINT, std::wstring>>;

const int kDe = 0, kEn = 1, kFr = 2, kIt = 3;

void deleteStore()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey);
}

// Opens the context menu of the list over its selected row; the menu step of the script reads and picks.
void openMenu(HWND list)
{
    RECT r{};
    ::GetWindowRect(list, &r);
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(r.left + 20, r.top + 20));
}

// A menu step: records the entries, then picks the n-th (from 0) with the keyboard, as a user would. The keys go
// to the menu's own loop, so nothing is pumped here.
dlgscript::Step pickMenu(Entries& seen, int n)
{
    return {L"#32768", [&seen, n](HWND menu) {
                seen = dlgscript::menuEntries(menu);
                std::vector<INPUT> in;
                for (int i = 0; i <= n; ++i)
                    for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
                        INPUT k{};
                        k.type = INPUT_KEYBOARD;
                        k.ki.wVk = VK_DOWN;
                        k.ki.dwFlags = up;
                        in.push_back(k);
                    }
                for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
                    INPUT k{};
                    k.type = INPUT_KEYBOARD;
                    k.ki.wVk = VK_RETURN;
                    k.ki.dwFlags = up;
                    in.push_back(k);
                }
                ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
            }};
}

struct Lang {
    dlgscript::MakerKeys keys;
    std::wstring previous;
    Lang() : previous(MAV::msgLangSet(nullptr)) { MAV::msgLangSet(L"de"); }
    ~Lang() { MAV::msgLangSet(previous.c_str()); }
};

int run(CMavString& label, DWORD flags, const wchar_t* start, const wchar_t* country)
{
    MAV::DlgEnv_st env;
    env.country = L"de";
    return MAV::dlgLabelEdit(env, label, flags, start, country, nullptr);
}

} // namespace

TEST(LabelEdit, RowsFromPlainTextOrLabelAndTheLabelCollected)
{
    Lang lang;
    const CMavString multi(L"\\de=Zeile1\nZeile2\\en=Door\\fr=Porte");
    const struct {
        const char* what;
        const wchar_t* start;
        DWORD flags;
        const wchar_t* country;
        int selected;
        const wchar_t* de;
        const wchar_t* en;
        int deImage;
        int deHeight; // 0: not checked
        const wchar_t* result;
    } cases[] = {
        {"plain text", L"T\u00fcr", 0, L"EN", kEn, L"", L"T\u00fcr", 0, 0, L"\\en=T\u00fcr"},
        {"one line", multi, 0, L"fr", kFr, L"Zeile1 Zeile2", L"Door", 0, 0,
         L"\\de=Zeile1 Zeile2\\en=Door\\fr=Porte"},
        {"several lines, carriage return", L"\\de=Zeile1\r\nZeile2\\en=Door\\fr=Porte", 1, L"de", kDe,
         L"Zeile1\r\nZeile2", L"Door", 1, 34, multi},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        struct {
            int rows = 0, selected = -1, deImage = -1, enImage = -1, deHeight = 0, enHeight = 0;
            std::wstring de, en, title, import, name0;
        } seen;
        CMavString label(L"vorher");
        dlgscript::Script script({{L"#32770", [&](HWND dlg) {
                                     HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                                     seen.rows = dlgscript::rowCount(list);
                                     seen.selected = dlgscript::selectedRow(list);
                                     seen.de = dlgscript::cellText(list, kDe, 1);
                                     seen.en = dlgscript::cellText(list, kEn, 1);
                                     seen.name0 = dlgscript::cellText(list, kDe, 0);
                                     seen.deImage = dlgscript::cellImage(list, kDe, 0);
                                     seen.enImage = dlgscript::cellImage(list, kEn, 0);
                                     seen.deHeight = dlgscript::rowHeight(list, kDe);
                                     seen.title = dlgscript::windowText(dlg);
                                     seen.import = dlgscript::windowText(::GetDlgItem(dlg, IDC_LABEL_IMPORT));
                                     ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                                 }}});
        EXPECT_EQ(run(label, c.flags, c.start, c.country), IDOK);
        EXPECT_FALSE(dlgscript::Script::timedOut());
        EXPECT_EQ(seen.rows, mavDlCountryCount());
        EXPECT_EQ(seen.selected, c.selected);
        EXPECT_EQ(seen.name0, L"Deutsch");
        EXPECT_EQ(seen.de, c.de);
        EXPECT_EQ(seen.en, c.en);
        EXPECT_EQ(seen.deImage, c.deImage);
        EXPECT_EQ(seen.enImage, 0);
        if (c.deHeight) {
            EXPECT_EQ(seen.deHeight, c.deHeight);
        }
        EXPECT_EQ(seen.title, L"Bezeichnung");
        EXPECT_EQ(seen.import, L"Import");
        EXPECT_EQ(label, c.result);
    }
    // Cancel leaves the output at the start text.
    CMavString label;
    dlgscript::Script script({{L"#32770", [](HWND dlg) { ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); }}});
    EXPECT_EQ(run(label, 1, multi, L"de"), IDCANCEL);
    EXPECT_EQ(label, multi);
}

// The user edits the text of the selected row, may not edit the language's name, and makes a two-line row one line
// again through the context menu; heights follow the lines.
TEST(LabelEdit, EditInPlaceAndToggleARow)
{
    Lang lang;
    deleteStore();
    struct {
        bool editOnText = false, editOnName = false;
        std::wstring edited, toggled;
        int editedImage = -1, editedHeight = 0, toggledImage = -1, toggledHeight = 0;
    } seen;
    Entries menu;
    CMavString label;
    dlgscript::Script script({{L"#32770",
                             [&](HWND dlg) {
                                 HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                                 dlgscript::clickCell(list, kDe, 1);
                                 seen.editOnText = ::GetDlgItem(list, 1025) != nullptr;
                                 dlgscript::type(L"Haus\\nT\u00fcr");
                                 dlgscript::key(VK_RETURN);
                                 seen.edited = dlgscript::cellText(list, kDe, 1);
                                 seen.editedImage = dlgscript::cellImage(list, kDe, 0);
                                 seen.editedHeight = dlgscript::rowHeight(list, kDe);
                                 dlgscript::clickCell(list, kDe, 0);
                                 seen.editOnName = ::GetDlgItem(list, 1025) != nullptr;
                                 openMenu(list); // the menu step picks "Einzeilig"
                                 dlgscript::pump();
                                 seen.toggled = dlgscript::cellText(list, kDe, 1);
                                 seen.toggledImage = dlgscript::cellImage(list, kDe, 0);
                                 seen.toggledHeight = dlgscript::rowHeight(list, kDe);
                                 ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                             }},
                            pickMenu(menu, 0)});
    EXPECT_EQ(run(label, 1, L"\\de=T\u00fcr\\en=Door", L"de"), IDOK);
    EXPECT_FALSE(dlgscript::Script::timedOut());
    EXPECT_TRUE(seen.editOnText);
    EXPECT_EQ(seen.edited, L"Haus\nT\u00fcr");
    EXPECT_EQ(seen.editedImage, 1);
    EXPECT_EQ(seen.editedHeight, 34);
    EXPECT_FALSE(seen.editOnName);
    EXPECT_EQ(menu, (Entries{{ID_LABEL_TOGGLE, L"Einzeilig"}, {ID_LABEL_COPY, L"Kopieren"}}));
    EXPECT_EQ(seen.toggled, L"Haus T\u00fcr");
    EXPECT_EQ(seen.toggledImage, 0);
    EXPECT_EQ(seen.toggledHeight, 18);
    EXPECT_EQ(label, L"\\de=Haus T\u00fcr\\en=Door");
}

// Copy in one dialog, paste in the next: the languages travel through the volatile registry key, newlines escaped
// there and turned into spaces where only one line is allowed.
TEST(LabelEdit, CopyThenPasteThroughTheSharedStore)
{
    Lang lang;
    deleteStore();
    Entries copyMenu, pasteMenu;
    CMavString label;
    {
        dlgscript::Script script({{L"#32770",
                                 [](HWND dlg) {
                                     openMenu(::GetDlgItem(dlg, IDC_LABEL_LIST));
                                     dlgscript::pump();
                                     ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
                                 }},
                                pickMenu(copyMenu, 1)});
        EXPECT_EQ(run(label, 1, L"\\de=A\nB\\en=Door", L"en"), IDCANCEL);
    }
    EXPECT_EQ(copyMenu, (Entries{{ID_LABEL_TOGGLE, L"Mehrzeilig"}, {ID_LABEL_COPY, L"Kopieren"}}));
    HKEY store = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey, 0, KEY_READ | KEY_CREATE_SUB_KEY, &store),
              ERROR_SUCCESS);
    CMavString de, en, fr;
    EXPECT_TRUE(MAV::regRead(store, L"de", de));
    EXPECT_TRUE(MAV::regRead(store, L"en", en));
    EXPECT_FALSE(MAV::regRead(store, L"fr", fr));
    EXPECT_EQ(de, L"A\\nB");
    EXPECT_EQ(en, L"Door");
    HKEY child = nullptr; // a volatile key takes no lasting child
    EXPECT_EQ(::RegCreateKeyExW(store, L"lasting", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child,
                                nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    ::RegCloseKey(store);

    // One line only: the paste entry shows, the store's newline comes back as a space.
    std::wstring oneLine;
    {
        dlgscript::Script script({{L"#32770",
                                 [&](HWND dlg) {
                                     HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                                     openMenu(list);
                                     dlgscript::pump();
                                     oneLine = dlgscript::cellText(list, kDe, 1);
                                     ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                                 }},
                                pickMenu(pasteMenu, 0)});
        EXPECT_EQ(run(label, 0, L"\\it=Porta", L"it"), IDOK);
    }
    EXPECT_EQ(pasteMenu, (Entries{{ID_LABEL_PASTE, L"Einf\u00fcgen"}, {ID_LABEL_COPY, L"Kopieren"}}));
    EXPECT_EQ(oneLine, L"A B");
    EXPECT_EQ(label, L"\\de=A B\\en=Door");

    deleteStore();
}

// Bad input: very long labels, unbalanced backslashes and a store holding unknown codes and oversized values.
TEST(LabelEdit, BadInputNeitherCrashesNorChangesWhatIsNotConfirmed)
{
    Lang lang;
    auto okAt = [](HWND dlg) { ::PostMessageW(dlg, WM_COMMAND, IDOK, 0); };
    const std::wstring longText(100000, L'x');
    const CMavString longLabel((L"\\de=" + longText + L"\\en=y").c_str());
    const wchar_t* const odd[] = {L"\\de=a\\\\b\\", L"\\\\\\", L"\\=x\\de", L"\\de=\\\\\\\\en=z", longLabel};
    for (const wchar_t* start : odd) {
        CMavString label;
        dlgscript::Script script({{L"#32770", okAt}});
        ASSERT_EQ(run(label, 1, start, L"de"), IDOK);
        EXPECT_FALSE(dlgscript::Script::timedOut());
        for (const wchar_t* code : {L"de", L"en", L"fr"}) // every language as the start label had it
            EXPECT_EQ(MAV::label_get(label, code), MAV::label_get(start, code));
    }

    // A store written by something else: unknown codes, a name too long for a language code, a value of a
    // megabyte and one beyond what is read.
    deleteStore();
    HKEY store = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey, 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &store, nullptr),
              ERROR_SUCCESS);
    const std::wstring mega(500000, L'm'); // 1,000,000 bytes
    const std::wstring huge(600000, L'h'); // above the 1 MiB a value may have
    MAV::regWrite(store, L"xx", L"unbekannt", false);
    MAV::regWrite(store, L"lange_fremde_sprache", L"lang", false);
    MAV::regWrite(store, L"de", mega.c_str(), false);
    MAV::regWrite(store, L"en", huge.c_str(), false);
    MAV::regWrite(store, L"fr", L"a\\nb", false);
    ::RegCloseKey(store);
    Entries paste, copy;
    size_t deLength = 0;
    std::wstring en, fr;
    CMavString label;
    {
        dlgscript::Script script({{L"#32770",
                                 [&](HWND dlg) {
                                     HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                                     openMenu(list);
                                     dlgscript::pump();
                                     deLength = dlgscript::cellText(list, kDe, 1).size();
                                     en = dlgscript::cellText(list, kEn, 1);
                                     fr = dlgscript::cellText(list, kFr, 1);
                                     openMenu(list);
                                     dlgscript::pump();
                                     ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
                                 }},
                                pickMenu(paste, 0), pickMenu(copy, 1)});
        EXPECT_EQ(run(label, 0, L"\\it=Porta", L"it"), IDCANCEL);
        EXPECT_FALSE(dlgscript::Script::timedOut());
    }
    EXPECT_EQ(label, L"\\it=Porta");
    EXPECT_EQ(deLength, mega.size());
    EXPECT_EQ(en, L"");
    EXPECT_EQ(fr, L"a b");
    // The copy replaced what it could: the unknown short code went, the name too long to read stayed.
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey, 0, KEY_READ, &store), ERROR_SUCCESS);
    CMavString v;
    EXPECT_FALSE(MAV::regRead(store, L"xx", v));
    EXPECT_FALSE(MAV::regRead(store, L"en", v));
    EXPECT_TRUE(MAV::regRead(store, L"lange_fremde_sprache", v));
    EXPECT_TRUE(MAV::regRead(store, L"fr", v));
    EXPECT_EQ(v, L"a b");
    EXPECT_TRUE(MAV::regRead(store, L"de", v));
    EXPECT_EQ(v.len(), static_cast<int>(mega.size()));
    ::RegCloseKey(store);
    deleteStore();
}
