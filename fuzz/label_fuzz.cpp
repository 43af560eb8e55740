// libFuzzer target: label strings on arbitrary text. Reading never fails hard; setting a language and reading it
// back gives the text set, and the other languages keep their texts.
#include "data/labels.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes up to a NUL are the label, the rest the text to set.
    const std::string all(reinterpret_cast<const char*>(data), size);
    const size_t split = all.find('\0');
    const CMavString label(all.substr(0, split).c_str());
    const CMavString text(split == std::string::npos ? "" : all.substr(split + 1).c_str());

    CMavArrayTempl<CMavString> codes;
    MAV::label_codes(label, codes);
    CMavArrayTempl<CMavString> before;
    for (const CMavString& c : codes)
        before.append(MAV::label_get(label, c));

    CMavString changed(label);
    if (MAV::label_set(changed, L"xx", text)) {
        if (MAV::label_get(changed, L"xx") != text)
            std::abort();
        if (label.len() > 0 && label[0] == L'\\') {
            for (int i = 0; i < codes.len(); ++i) {
                if (codes[i].compareNoCase(L"xx") == 0)
                    continue;
                // The first text of a repeated code is the one read back.
                if (MAV::label_get(changed, codes[i]) != before[i])
                    std::abort();
            }
        }
    }
    return 0;
}
