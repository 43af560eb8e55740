// libFuzzer target: slide library lookup on arbitrary bytes, then the decoder on the slide found.
//
// The first byte picks the name looked up: the name of one of the first directory entries of the input itself
// (so that lookups succeed often) or a fixed name.
// Build: clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I src -I include
//        fuzz/slidelib_fuzz.cpp src/generators/slide.cpp -o slidelib_fuzz
// Seeds: tests/data/slides/*.slb
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "slide/slide.h"

namespace {

class NullSink : public CMavSlideSink {
public:
    void slideLine(MAV::SlidePoint_st, MAV::SlidePoint_st) override {}
    void slidePolygon(const MAV::SlidePoint_st*, int) override {}
    void slideColor(int) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const unsigned pick = data[0];
    std::vector<unsigned char> lib(data + 1, data + size);
    std::string name;
    const size_t entry = 32 + 36 * (pick % 4);
    if (pick < 0xC0 && lib.size() >= entry + 32) {
        for (size_t i = 0; i < 32 && lib[entry + i] != 0; ++i)
            name += static_cast<char>(lib[entry + i]);
    } else {
        name = pick & 1 ? "every" : std::string(40, 'X');
    }
    size_t offset = 0, length = 0;
    if (MAV::slideLibraryFind(lib.data(), lib.size(), name, offset, length)) {
        // A found slide lies behind the header and the first entry, inside the input, and is not empty.
        if (length == 0 || offset < 32 + 36 || offset > lib.size() || length > lib.size() - offset)
            std::abort();
        std::vector<unsigned char> slide(lib.begin() + static_cast<std::ptrdiff_t>(offset),
                                         lib.begin() + static_cast<std::ptrdiff_t>(offset + length));
        NullSink sink;
        CMavSlideDecoder dec;
        dec.decode(slide.data(), slide.size(), sink);
    }
    return 0;
}
