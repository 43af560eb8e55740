// libFuzzer target: the message catalogue reader on arbitrary bytes. Every key it counts is one it can find
// again, and a catalogue loaded twice holds no more keys than once.
#include "data/messages.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const int n = MAV::msgLoadText(L"zz", text, size);
    if (n < 0)
        std::abort();
    const int keys = MAV::msgCount(L"zz") + MAV::msgCount(L"zz", L"KRV_");
    if (MAV::msgCount(L"zz") > n)
        std::abort();
    if (MAV::msgLoadText(L"zz", text, size) != n)
        std::abort();
    if (MAV::msgCount(L"zz") + MAV::msgCount(L"zz", L"KRV_") != keys)
        std::abort();
    // A key that no catalogue line can make: its default comes back, the very pointer passed in.
    const wchar_t* def = L"def";
    if (mav_msg_get(L"MAV_", L"=", def, L"zz") != def)
        std::abort();
    const wchar_t* got = mav_msg_get(L"MAV_", L"MAV022", nullptr, L"zz");
    if (got)
        (void)std::wcslen(got);
    MAV::msgClear(L"zz");
    if (MAV::msgCount(L"zz") != 0)
        std::abort();
    return 0;
}
