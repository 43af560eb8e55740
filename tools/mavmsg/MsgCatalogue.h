// The catalogue the message server shows: the keys of the library's section with their texts per language.
#pragma once

#include <string>
#include <vector>

namespace mavmsg {

// The catalogue lives in the data library's message store of this process; this class keeps the sorted list of
// its keys (the union over every language of the country table) and answers the server's questions on them.
class MsgCatalogue {
public:
    // The catalogues the data library ships (German and English).
    void loadShipped();
    // Replaces the catalogue by a file or a folder. A folder holds one "<code>.txt" per language; a file is the
    // catalogue of the language its name says ("fr.txt", "labels_fr.txt", "labels.fr.txt"), else of fallbackLang.
    // False, catalogue unchanged, when nothing can be read there.
    bool open(const wchar_t* path, const wchar_t* fallbackLang);
    // Where the catalogue came from: empty for the shipped one.
    const std::wstring& source() const { return m_source; }

    const std::vector<std::wstring>& keys() const { return m_keys; }
    // Index of the key (compared without regard to case), or -1.
    int find(const wchar_t* key) const;
    // The key's text in the language (lower-case code); empty when that language has none.
    std::wstring text(const wchar_t* key, const wchar_t* lang) const;
    bool hasText(const wchar_t* key, const wchar_t* lang) const;
    // The key's attributes as letters: "K" when some language has a text for it, "M" when a text of some language
    // has more than one line. Empty for an unknown key.
    std::wstring attributes(const wchar_t* key) const;
    // Indices of the keys whose key, or text in lang, contains needle (without regard to case); all for an empty
    // needle.
    std::vector<int> search(const std::wstring& needle, const wchar_t* lang) const;

private:
    void collectKeys();

    std::vector<std::wstring> m_keys;
    std::wstring m_source;
};

// The lower-case form used for comparisons without regard to case.
std::wstring lowerOf(const std::wstring& s);

} // namespace mavmsg
