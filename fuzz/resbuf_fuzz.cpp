// libFuzzer target: result-buffer lists, as LISP text and as a host would hand them over (any type code, any
// nesting, null strings). Printing, copying and reading regions from them never fails hard; a list read from text
// prints and reads again to the same text.
#include "data/resbuf.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A list built from bytes: each buffer takes a type byte (mapped onto the codes a host sends, and some it
// should not) and a value of that type.
resbuf* buildList(const uint8_t* p, size_t n)
{
    static const short kTypes[] = {RTNONE, RTREAL, RTPOINT, RTSHORT, RTANG, RTSTR, RTENAME, RTPICKS, RTORINT,
                                   RT3DPOINT, RTLONG, RTVOID, RTLB, RTLE, RTDOTE, RTNIL, RTDXF0, RTT, RTNORM,
                                   RTERROR, 0, 1, 10, 40, -1};
    resbuf* head = nullptr;
    resbuf** tail = &head;
    int count = 0;
    while (n > 0 && count < 4096) {
        const short type = kTypes[p[0] % (sizeof kTypes / sizeof kTypes[0])];
        const bool nullString = (p[0] & 0x80) != 0;
        ++p;
        --n;
        resbuf* rb = MAV::rbNew(type);
        double d[3] = {0, 0, 0};
        const size_t take = n < sizeof d ? n : sizeof d;
        std::memcpy(d, p, take);
        switch (type) {
        case RTREAL:
        case RTANG:
            rb->resval.rreal = d[0];
            p += take > 8 ? 8 : take;
            n -= take > 8 ? 8 : take;
            break;
        case RTPOINT:
        case RT3DPOINT:
            std::memcpy(rb->resval.rpoint, d, sizeof d);
            p += take;
            n -= take;
            break;
        case RTSHORT:
            rb->resval.rint = static_cast<short>(d[0] == d[0] ? static_cast<int>(std::fmod(d[0], 30000.0)) : 0);
            p += take > 2 ? 2 : take;
            n -= take > 2 ? 2 : take;
            break;
        case RTSTR:
        case RTDXF0:
            // A new string buffer holds an empty string; a host may also hand over none at all.
            delete[] rb->resval.rstring;
            rb->resval.rstring = nullptr;
            if (!nullString) {
                const size_t len = n < 12 ? n : 12;
                std::wstring s;
                for (size_t i = 0; i < len; ++i)
                    s += static_cast<wchar_t>(p[i] ? p[i] : '"');
                p += len;
                n -= len;
                rb->resval.rstring = new wchar_t[s.size() + 1];
                std::wmemcpy(rb->resval.rstring, s.c_str(), s.size() + 1);
            }
            break;
        default:
            break;
        }
        *tail = rb;
        tail = &rb->rbnext;
        ++count;
    }
    return head;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions;
    CMavVertexArray outline;
    if (data[0] & 1) {
        MAV::CSmartResbuf list(buildList(data + 1, size - 1));
        MAV::CSmartResbuf copy(list);
        if (copy.len() != list.len())
            std::abort();
        (void)MAV::rbToText(list);
        for (int flags : {0, 1}) {
            if (!MAV::fromRb(regions, list, flags) && regions.len() != 0)
                std::abort();
            (void)MAV::fromRb(outline, list, flags);
        }
        return 0;
    }
    // LISP text, read as UTF-8.
    const CMavString wide(std::string(reinterpret_cast<const char*>(data + 1), size - 1).c_str());
    MAV::CSmartResbuf list(MAV::rbToList(wide.c_str()));
    if (list.head()) {
        const CMavString printed = MAV::rbToText(list);
        MAV::CSmartResbuf again(MAV::rbToList(printed.c_str()));
        if (MAV::rbToText(again) != printed)
            std::abort();
        if (!MAV::fromRb(regions, list, 0) && regions.len() != 0)
            std::abort();
        (void)MAV::fromRb(outline, list, 1);
    }
    return 0;
}
