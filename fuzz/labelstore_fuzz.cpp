// libFuzzer target: what the label dialogs paste from the shared label store, as a reader found it in the
// registry. The input is a flag byte (bit 0: multi-line) and then names and texts, each ended by a NUL. The label
// read holds exactly the table's languages with a non-empty text, in the table's order, after a language that
// was there before; each text is the stored one with backslash-n turned into a line break or a blank.
#include "base/countries.h"
#include "data/labels.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool multi = (data[0] & 1) != 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    CMavArrayTempl<MAV::LabelStoreValue> values;
    for (size_t at = 0; at < rest.size();) {
        size_t end = rest.find('\0', at);
        const std::string name = rest.substr(at, end - at);
        at = end == std::string::npos ? rest.size() : end + 1;
        end = rest.find('\0', at);
        const std::string text = at < rest.size() ? rest.substr(at, end - at) : std::string();
        at = end == std::string::npos ? rest.size() : end + 1;
        values.append(MAV::LabelStoreValue{CMavString(name.c_str()), CMavString(text.c_str())});
    }

    // "zz" is no language of the table: it stays first, untouched.
    CMavString label(L"\\zz=vorher");
    const int set = MAV::label_from_store(label, values, multi);

    CMavArrayTempl<CMavString> expected;
    int withText = 0;
    for (int lang = 0; lang < mavDlCountryCount(); ++lang) {
        const wchar_t* code = mavDlCountrys()[lang].code;
        int first = -1;
        for (int v = 0; v < values.len() && first < 0; ++v)
            if (values[v].name.compareNoCase(code) == 0)
                first = v;
        if (first < 0)
            continue;
        CMavString text = values[first].text;
        text.replace(CMavString(L"\\n"), CMavString(multi ? L"\n" : L" "));
        if (MAV::label_get(label, code) != text)
            std::abort();
        if (!text.isEmpty()) {
            ++withText;
            expected.append(CMavString(code));
        }
    }
    if (set != withText)
        std::abort();
    CMavArrayTempl<CMavString> codes;
    MAV::label_codes(label, codes);
    if (codes.len() != withText + 1 || codes[0] != CMavString(L"zz") || MAV::label_get(label, L"zz") != CMavString(L"vorher"))
        std::abort();
    for (int i = 0; i < withText; ++i)
        if (codes[i + 1].compareNoCase(expected[i].c_str()) != 0)
            std::abort();
    return 0;
}
