// The message server's window: browse the catalogue's keys, search by key or text, see a key's text in the chosen
// language and pick a key.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "MsgCatalogue.h"

namespace mavmsg {

// Control ids of the window.
enum : int {
    kIdSearch = 101,   // edit: search by key or text
    kIdLanguage = 102, // combo box: the language whose texts are shown
    kIdKeys = 103,     // list view: key and text, one row per key found
    kIdText = 104,     // read-only edit: the picked key's whole text
    kIdSource = 105,   // static: where the catalogue came from and how many keys it has
};

class MsgWindow {
public:
    // Creates the window, shown or hidden, with the shipped catalogue and the language "de".
    bool create(HINSTANCE instance, bool show);
    HWND hwnd() const { return m_hwnd; }

    // The picked key (the selected row); empty when none.
    std::wstring selectedKey() const;
    // Picks the key (compared without regard to case): the search is cleared and its row selected and scrolled
    // into view. False, pick unchanged, for a key the catalogue does not have.
    bool searchKey(const wchar_t* key);
    // Shows the catalogue of a file or folder (MsgCatalogue::open with the current language). The pick is dropped.
    bool openFile(const wchar_t* path);
    const std::wstring& country() const { return m_country; }
    // Shows the texts of a language of the country table; false, unchanged, for another code.
    bool setCountry(const wchar_t* code);
    bool visible() const;
    void setVisible(bool show);
    // Ends the program once the current call has returned.
    void close();
    const MsgCatalogue& catalogue() const { return m_catalogue; }

private:
    static LRESULT CALLBACK proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void createControls();
    void layout(int width, int height);
    void fillList(const std::wstring& keep);
    void showPicked();
    void showSource();
    HWND item(int id) const { return GetDlgItem(m_hwnd, id); }

    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    MsgCatalogue m_catalogue;
    std::wstring m_country = L"de";
    bool m_filling = false;
};

} // namespace mavmsg
