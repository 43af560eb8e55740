// libFuzzer target: the data tree's text form (data files, configuration, materials and outlines share it) on
// arbitrary bytes. What was read is written, and the written text reads back to the same tree; keys of the text
// form read from the input parse and print stably.
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "data/datafile.h"
#include "data/resbuf.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    CMavDataItem tree;
    CMavString error;
    const bool ok = MAV::dataFromText(tree, text, size, &error);
    if (!ok && error.isEmpty())
        std::abort();
    const std::string written = MAV::dataToText(tree);
    CMavDataItem back;
    if (!MAV::dataFromText(back, written.data(), written.size()))
        std::abort();
    if (MAV::dataToText(back) != written)
        std::abort();
    // The tree's LISP text is read by the host's LISP: it must be a list or empty.
    const CMavString lispText = tree.mkLisp();
    MAV::CSmartResbuf lisp(MAV::rbToList(lispText.c_str()));
    if (!lisp.head() && !lispText.isEmpty() && lispText != CMavString(L"nil"))
        std::abort();

    // The first line as a key path: its printed form parses to the same parts.
    const std::string first(text, std::find(text, text + size, '\n'));
    const CMavDataKey key(CMavString(first.c_str()));
    const CMavDataKey again(key.text());
    if (key.len() > 0 && again.text() != key.text())
        std::abort();
    (void)tree.get(key);
    return 0;
}
