// Labels: one text per language in a single label string.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavString.h"

// A label string begins with a backslash and holds parts "\code=text", one per language:
//   \de=Tür\en=Door
// Codes are language codes (compared without regard to case; at most 32 characters, no '=' or backslash). A text
// runs to the next single backslash or the end; a backslash inside a text is written twice; line breaks and every
// other character stand as they are. A string that does not begin with a backslash is a plain text that counts
// for every language. Malformed parts (no '=', an empty or overlong code) are skipped when reading and dropped
// when writing.
namespace MAV {

// The text of the language; false (text emptied) when the label has none. A plain text is returned for any code.
bool label_get(const wchar_t* label, const wchar_t* code, CMavString& text);
CMavString label_get(const wchar_t* label, const wchar_t* code);
// Sets the text of the language, keeping the other languages and their order (a new language goes last); an
// empty text removes the language. A plain text label first becomes the text of the current language. False,
// label unchanged, for a code that is empty or not allowed.
bool label_set(CMavString& label, const wchar_t* code, const wchar_t* text);
// The language codes present, in order (none for a plain text).
int label_codes(const wchar_t* label, CMavArrayTempl<CMavString>& codes);

// The shared label store the label dialogs copy to and paste from: one text per language, each named by its
// language code, with line breaks written as the two characters backslash and n. What a reader found there, in
// any order and any case of the names.
struct LabelStoreValue {
    CMavString name;
    CMavString text;
};
// Sets the label's texts from the store: every language of the country table that has a value, in the table's
// order (the first value of a name that appears twice counts). Each backslash-n becomes a line break, or a blank
// when multiLine is false; an empty text removes its language from the label. Names that are no language of the
// table are ignored. Returns the number of languages given a text.
int label_from_store(CMavString& label, const CMavArrayTempl<LabelStoreValue>& values, bool multiLine);

} // namespace MAV
