// libFuzzer target: length and number reading on arbitrary bytes, taken both as UTF-8 and as raw wide units.
// Whatever mavAtoF accepts must be finite, and its text in every format must read back.
#include "base/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(const CMavString& text)
{
    double v = 0.0;
    if (mavAtoF(text, v)) {
        if (!std::isfinite(v))
            std::abort();
        if (std::fabs(v) < 1e300) {
            for (int f = 1; f <= 5; ++f) {
                for (int prec : {0, 3, 8}) {
                    const CMavString s = mavRtoS(v, static_cast<Mav::lFormat>(f), prec, (prec & 1) != 0);
                    double back = 0.0;
                    if (s.isEmpty() || !mavAtoF(s, back) || !std::isfinite(back))
                        std::abort();
                }
            }
        }
    }
    (void)mavAtoF(text);
    (void)MAV::atof(text);
    (void)MAV::atoi(text);
    CMavArrayTempl<CMavString> parts;
    MAV::strTok(text, L"\\' /", parts, true);
    MAV::strTok(text, L"\\", parts, false);
    (void)unescapeWideChar(escapeWideChar(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    check(CMavString(MAV::utf8ToWide(bytes.data(), bytes.size())));
    // Raw units: pairs of bytes, so that surrogates, high code values and embedded zeros reach the readers.
    std::wstring units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    check(CMavString(units.c_str()));
    return 0;
}
