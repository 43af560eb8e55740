// The label edit dialog driven as a user drives it: rows filled from a plain text or a label, a cell edited in
// place, a row switched between one and several lines through its context menu, copy and paste between two
// dialogs through the user's registry, the label collected on OK, and bad input that must not break it.
#include "../ui/ui_test_support.h"
#include "base/countries.h"
#include "base/win/registry.h"
#include "data/labels.h"
#include "data/messages.h"
#include "dialogs/CMavLabelEdit.h"

namespace {

using namespace uitest;
const int kDe = 0, kEn = 1, kFr = 2;

void deleteStore() { ::RegDeleteTreeW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey); }

// Opens the context menu of the list over its selected row; a menu step of the script reads and picks.
void openMenu(HWND dlg)
{
    HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
    RECT r{};
    ::GetWindowRect(list, &r);
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(r.left + 20, r.top + 20));
    pump();
}

// A menu step: records the entries, then picks the n-th (from 0) with the keyboard, as a user would. The keys go
// to the menu's own loop, so nothing is pumped here.
Step pickMenu(std::wstring& seen, int n)
{
    return {L"#32768", [&seen, n](HWND menu) {
                seen = menuEntries(menu);
                key(VK_DOWN, n + 1, false);
                key(VK_RETURN, 1, false);
            }};
}

std::wstring cell(HWND dlg, int row, int column = 1)
{
    return cellText(::GetDlgItem(dlg, IDC_LABEL_LIST), row, column);
}
// The row's image (one or several lines) and height.
std::wstring look(HWND dlg, int row)
{
    HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
    return std::to_wstring(cellImage(list, row, 0)) + L"/" + std::to_wstring(rowHeight(list, row));
}

struct Lang {
    MakerKeys keys;
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

const std::wstring kStart = L"\\de=Zeile1\nZeile2\\en=Door\\fr=Porte";

TEST(LabelEdit, RowsFromPlainTextOrLabelAndTheLabelCollected)
{
    Lang lang;
    const struct {
        const wchar_t* start;
        DWORD flags;
        const wchar_t* country;
        const wchar_t* seen; // selected row, German and English texts, German row's image (and height)
        const wchar_t* result;
    } cases[] = {
        {L"T\u00fcr", 0, L"EN", L"1||T\u00fcr|0", L"\\en=T\u00fcr"},
        {L"T\u00fcr", 0, nullptr, L"0|T\u00fcr||0", L"\\de=T\u00fcr"}, // no language: the first row's
        {kStart.c_str(), 0, L"fr", L"2|Zeile1 Zeile2|Door|0", L"\\de=Zeile1 Zeile2\\en=Door\\fr=Porte"},
        {L"\\de=Zeile1\r\nZeile2\\en=Door\\fr=Porte", 1, L"de", L"0|Zeile1\r\nZeile2|Door|1/34", kStart.c_str()},
        {L"\\de=\nUnten\\en=Door", 1, L"de", L"0|\nUnten|Door|1/34", L"\\de=\nUnten\\en=Door"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        std::wstring seen, fixed;
        CMavString label(L"vorher");
        Script script([&](HWND dlg) {
            HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
            const std::wstring de = look(dlg, kDe);
            seen = std::to_wstring(selectedRow(list)) + L"|" + cell(dlg, kDe) + L"|" + cell(dlg, kEn) + L"|" +
                   (c.flags ? de : de.substr(0, de.find(L'/')));
            fixed = std::to_wstring(rowCount(list)) + L"|" + cell(dlg, kDe, 0) + L"|" + look(dlg, kEn).substr(0, 1) +
                    L"|" + windowText(dlg) + L"|" + itemText(dlg, IDC_LABEL_IMPORT);
            post(dlg, IDOK);
        });
        EXPECT_EQ(run(label, c.flags, c.start, c.country), IDOK);
        EXPECT_TRUE(Script::finished());
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(fixed, std::to_wstring(mavDlCountryCount()) + L"|Deutsch|0|Bezeichnung|Import");
        EXPECT_EQ(label, c.result);
    }
    // Cancel leaves the output at the start text.
    CMavString label;
    Script script([](HWND dlg) { post(dlg, IDCANCEL); });
    EXPECT_EQ(run(label, 1, kStart.c_str(), L"de"), IDCANCEL);
    EXPECT_EQ(label, kStart.c_str());
}

// The user edits the text of a row (while the mouse moves the selection to another), may not edit the language's name, and makes a two-line row one line
// again through the context menu; heights follow the lines.
TEST(LabelEdit, EditInPlaceAndToggleARow)
{
    Lang lang;
    deleteStore();
    std::wstring seen, menu;
    CMavString label;
    Script script({{L"#32770",
                    [&](HWND dlg) {
                        HWND list = ::GetDlgItem(dlg, IDC_LABEL_LIST);
                        clickCell(list, kDe, 1);
                        seen = ::GetDlgItem(list, 1025) ? L"editing|" : L"not editing|";
                        type(L"Haus\\nT\u00fcr");
                        LVITEMW hover{}; // the mouse rests on the English row: hover selection moves there
                        hover.state = hover.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                        ::SendMessageW(list, LVM_SETITEMSTATE, kEn, reinterpret_cast<LPARAM>(&hover));
                        key(VK_RETURN);
                        seen += cell(dlg, kDe) + L"|" + look(dlg, kDe) + L"|" + cell(dlg, kEn);
                        clickCell(list, kDe, 0);
                        seen += ::GetDlgItem(list, 1025) ? L"|name editing|" : L"|";
                        openMenu(dlg); // the menu step picks "Einzeilig"
                        seen += cell(dlg, kDe) + L"|" + look(dlg, kDe);
                        post(dlg, IDOK);
                    }},
                   pickMenu(menu, 0)});
    EXPECT_EQ(run(label, 1, L"\\de=T\u00fcr\\en=Door", L"de"), IDOK);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(seen, L"editing|Haus\nT\u00fcr|1/34|Door|Haus T\u00fcr|0/18");
    EXPECT_EQ(menu, std::to_wstring(ID_LABEL_TOGGLE) + L" Einzeilig|" + std::to_wstring(ID_LABEL_COPY) + L" Kopieren");
    EXPECT_EQ(label, L"\\de=Haus T\u00fcr\\en=Door");
}

// At every size the buttons stand along the bottom from the right, 12 pixels in and 6 apart, and the list fills
// the rest within the same margin; the user cannot make the dialog smaller than 300 x 150.
TEST(LabelEdit, LayoutFollowsTheSize)
{
    Lang lang;
    std::wstring seen, expected;
    CMavString label;
    Script script([&](HWND dlg) {
        auto place = [dlg](int id) {
            RECT r{};
            ::GetWindowRect(::GetDlgItem(dlg, id), &r);
            ::MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        for (SIZE size : {SIZE{520, 330}, SIZE{640, 200}}) {
            ::SetWindowPos(dlg, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RECT client{};
            ::GetClientRect(dlg, &client);
            const RECT cancel = place(IDCANCEL), list = place(IDC_LABEL_LIST);
            const int w = cancel.right - cancel.left, h = cancel.bottom - cancel.top;
            for (int id : {IDCANCEL, IDOK, IDC_LABEL_IMPORT}) {
                const RECT r = place(id);
                seen += std::to_wstring(client.right - r.right) + L"," + std::to_wstring(client.bottom - r.bottom) +
                        L"," + std::to_wstring(r.right - r.left) + L" ";
            }
            seen += std::to_wstring(list.left) + L"," + std::to_wstring(list.top) + L"," +
                    std::to_wstring(client.right - list.right) + L"," + std::to_wstring(client.bottom - list.bottom) +
                    L"|";
            for (int n = 0; n < 3; ++n)
                expected += std::to_wstring(12 + n * (w + 6)) + L",12," + std::to_wstring(w) + L" ";
            expected += L"12,12,12," + std::to_wstring(h + 24) + L"|";
        }
        MINMAXINFO limits{};
        ::SendMessageW(dlg, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        seen += std::to_wstring(limits.ptMinTrackSize.x) + L"x" + std::to_wstring(limits.ptMinTrackSize.y);
        post(dlg, IDCANCEL);
    });
    EXPECT_EQ(run(label, 0, L"T\u00fcr", L"de"), IDCANCEL);
    EXPECT_EQ(seen, expected + L"300x150");
}

// Copy in one dialog, paste in the next: the languages travel through the volatile registry key, newlines escaped
// there and turned into spaces where only one line is allowed.
TEST(LabelEdit, CopyThenPasteThroughTheSharedStore)
{
    Lang lang;
    deleteStore();
    std::wstring copyMenu, pasteMenu, oneLine;
    CMavString label;
    {
        Script script({{L"#32770",
                        [](HWND dlg) {
                            openMenu(dlg);
                            post(dlg, IDCANCEL);
                        }},
                       pickMenu(copyMenu, 1)});
        EXPECT_EQ(run(label, 1, L"\\de=A\nB\\en=Door", L"en"), IDCANCEL);
    }
    EXPECT_EQ(copyMenu,
              std::to_wstring(ID_LABEL_TOGGLE) + L" Mehrzeilig|" + std::to_wstring(ID_LABEL_COPY) + L" Kopieren");
    HKEY store = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey, 0, KEY_READ | KEY_CREATE_SUB_KEY, &store),
              ERROR_SUCCESS);
    CMavString de, en, fr;
    EXPECT_TRUE(MAV::regRead(store, L"de", de) && MAV::regRead(store, L"en", en) && !MAV::regRead(store, L"fr", fr));
    EXPECT_EQ(de + L"|" + en, L"A\\nB|Door");
    HKEY child = nullptr; // a volatile key takes no lasting child
    EXPECT_EQ(::RegCreateKeyExW(store, L"lasting", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child,
                                nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    ::RegCloseKey(store);

    // One line only: the paste entry shows, the store's newline comes back as a space.
    {
        Script script({{L"#32770",
                        [&](HWND dlg) {
                            openMenu(dlg);
                            oneLine = cell(dlg, kDe);
                            post(dlg, IDOK);
                        }},
                       pickMenu(pasteMenu, 0)});
        EXPECT_EQ(run(label, 0, L"\\it=Porta", L"it"), IDOK);
    }
    EXPECT_EQ(pasteMenu,
              std::to_wstring(ID_LABEL_PASTE) + L" Einf\u00fcgen|" + std::to_wstring(ID_LABEL_COPY) + L" Kopieren");
    EXPECT_EQ(oneLine, L"A B");
    EXPECT_EQ(label, L"\\de=A B\\en=Door");
    deleteStore();
}

// Bad input: very long labels, unbalanced backslashes and a store holding unknown codes and oversized values.
TEST(LabelEdit, BadInputNeitherCrashesNorChangesWhatIsNotConfirmed)
{
    Lang lang;
    const CMavString longLabel((L"\\de=" + std::wstring(100000, L'x') + L"\\en=y").c_str());
    for (const wchar_t* start : {L"\\de=a\\\\b\\", L"\\\\\\", L"\\=x\\de", L"\\de=\\\\\\\\en=z", longLabel.c_str()}) {
        CMavString label;
        Script script([](HWND dlg) { post(dlg, IDOK); });
        ASSERT_EQ(run(label, 1, start, L"de"), IDOK);
        EXPECT_TRUE(Script::finished());
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
    const std::wstring mega(500000, L'm'), huge(600000, L'h'); // 1,000,000 bytes; above the 1 MiB read
    const wchar_t* const values[][2] = {{L"xx", L"unbekannt"},
                                        {L"lange_fremde_sprache", L"lang"},
                                        {L"de", mega.c_str()},
                                        {L"en", huge.c_str()},
                                        {L"fr", L"a\\nb"}};
    for (const auto& v : values)
        MAV::regWrite(store, v[0], v[1], false);
    ::RegCloseKey(store);
    std::wstring paste, copy, seen;
    CMavString label;
    Script script({{L"#32770",
                    [&](HWND dlg) {
                        openMenu(dlg);
                        seen = std::to_wstring(cell(dlg, kDe).size()) + L"|" + cell(dlg, kEn) + L"|" + cell(dlg, kFr);
                        openMenu(dlg);
                        post(dlg, IDCANCEL);
                    }},
                   pickMenu(paste, 0),
                   pickMenu(copy, 1)});
    EXPECT_EQ(run(label, 0, L"\\it=Porta", L"it"), IDCANCEL);
    EXPECT_TRUE(Script::finished());
    EXPECT_EQ(label, L"\\it=Porta");
    EXPECT_EQ(seen, std::to_wstring(mega.size()) + L"||a b");
    // The copy replaced what it could: the unknown short code went, the name too long to read stayed.
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, CMavLabelEditLst::kStoreKey, 0, KEY_READ, &store), ERROR_SUCCESS);
    CMavString v, fr;
    EXPECT_FALSE(MAV::regRead(store, L"xx", v) || MAV::regRead(store, L"en", v));
    EXPECT_TRUE(MAV::regRead(store, L"lange_fremde_sprache", v) && MAV::regRead(store, L"fr", fr) &&
                MAV::regRead(store, L"de", v));
    EXPECT_EQ(std::make_pair(fr, v.len()), std::make_pair(CMavString(L"a b"), static_cast<int>(mega.size())));
    ::RegCloseKey(store);
    deleteStore();
}

} // namespace
