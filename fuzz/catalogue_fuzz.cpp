// libFuzzer target: the readers of the library's catalogue files on arbitrary bytes: message catalogues, the
// data text form (configuration, materials, outlines) with a write-and-read-back check, and LISP text.
#include "data/CMavDataItem.h"
#include "data/datafile.h"
#include "data/messages.h"
#include "data/resbuf.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);

    // Message catalogue: every key read must be found again.
    const int n = MAV::msgLoadText(L"zz", text, size);
    if (n < 0)
        std::abort();
    (void)mav_msg_get(L"MAV_", L"A", L"def", L"zz");
    if (MAV::msgCount(L"zz") > n)
        std::abort();
    MAV::msgClear(L"zz");

    // Data text form: what was read is written and must read back to the same tree.
    CMavDataItem tree;
    MAV::dataFromText(tree, text, size);
    const std::string written = MAV::dataToText(tree);
    CMavDataItem back;
    if (!MAV::dataFromText(back, written.data(), written.size()))
        std::abort();
    if (MAV::dataToText(back) != written)
        std::abort();
    (void)tree.mkLisp();

    // LISP text, read as UTF-8: a list that is read prints and reads again to the same text.
    const CMavString wide(std::string(text, size).c_str());
    MAV::CSmartResbuf list(MAV::rbToList(wide.c_str()));
    if (list.head()) {
        const CMavString printed = MAV::rbToText(list);
        MAV::CSmartResbuf again(MAV::rbToList(printed.c_str()));
        if (MAV::rbToText(again) != printed)
            std::abort();
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions;
        (void)MAV::fromRb(regions, list, 0);
    }
    return 0;
}
