// libFuzzer target: the slide decoder on arbitrary bytes, in both byte orders a level-1 slide may be read in.
//
// Build: clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I src -I include
//        fuzz/slide_fuzz.cpp src/generators/slide.cpp -o slide_fuzz
// Seeds: tests/data/slides/*.sld
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "slide/slide.h"

namespace {

class CheckingSink : public CMavSlideSink {
public:
    int lines = 0, polygons = 0, colors = 0;
    bool header = false;
    void slideHeader(const MAV::SlideHeader_st& h) override
    {
        if (header || (h.level != 1 && h.level != 2) || h.highX < 0 || h.highX > 0xFFFF)
            std::abort();
        header = true;
    }
    void slideLine(MAV::SlidePoint_st, MAV::SlidePoint_st) override
    {
        if (!header)
            std::abort();
        ++lines;
    }
    void slidePolygon(const MAV::SlidePoint_st* v, int n) override
    {
        if (!header || v == nullptr || n < 1)
            std::abort();
        // Every vertex comes from a 6-byte record: touch them all so that the sanitizer sees the reads.
        volatile int sum = 0;
        for (int i = 0; i < n; ++i)
            sum = sum + v[i].x + v[i].y;
        ++polygons;
    }
    void slideColor(int index) override
    {
        if (!header || index < 0 || index > 255)
            std::abort();
        ++colors;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that reading one byte past the end is caught.
    std::vector<unsigned char> copy(data, data + size);
    for (uint16_t word : {MAV::kSlideOrderSame, MAV::kSlideOrderSwapped}) {
        CMavSlideDecoder dec(word);
        CheckingSink sink;
        const MAV::SlideResult_st r = dec.decode(copy.data(), copy.size(), sink);
        if (r.position > size || r.lines != sink.lines || r.polygons != sink.polygons || r.colors != sink.colors)
            std::abort();
        // Each drawn item needs at least one byte of its own.
        if (static_cast<size_t>(r.lines + r.polygons + r.colors) > size)
            std::abort();
        if (r.headerRead() != sink.header)
            std::abort();
    }
    return 0;
}
