// The slide generator turning a slide into display items, against decoding the same slide into a sink that only
// counts, in the same run. Compare Generate_SlideItems with Baseline_DecodeOnly (items/s and MB/s): the difference
// is the cost of building the items and growing the display list.
//
// Memory: Generate_LargeSlide turns a slide of 500,000 vectors (about 4 MB) into items once per iteration and
// reports the heap the items hold as bytes per item (counter BytesPerItem, taken from the allocator's own count
// before and after). For the process's peak run it alone:
//   /usr/bin/time -v ./sld_image_bench --benchmark_filter=LargeSlide
#include "gdx/CMavGDX.h"
#include "generators/sld_image.h"
#include "slide/slide.h"

#include <benchmark/benchmark.h>

#include "bench_slide.h"

#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// 100,000 records keep the display list of one iteration near 100 MB.
constexpr int kRecords = 100000;

const std::vector<unsigned char>& slide(int records)
{
    static const std::vector<unsigned char> small = makeBenchSlide(kRecords / 10, false);
    static const std::vector<unsigned char> full = makeBenchSlide(kRecords, false);
    return records < kRecords ? small : full;
}

class CountingSink : public CMavSlideSink {
public:
    void slideLine(MAV::SlidePoint_st, MAV::SlidePoint_st) override { ++items; }
    void slidePolygon(const MAV::SlidePoint_st*, int) override { ++items; }
    void slideColor(int) override {}
    long items = 0;
};

void Baseline_DecodeOnly(benchmark::State& state)
{
    const std::vector<unsigned char>& s = slide(static_cast<int>(state.range(0)));
    long items = 0;
    for (auto _ : state) {
        CountingSink sink;
        CMavSlideDecoder decoder;
        decoder.decode(s.data(), s.size(), sink);
        items = sink.items;
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(state.iterations() * items);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.size()));
}

void Generate_SlideItems(benchmark::State& state)
{
    const std::vector<unsigned char>& s = slide(static_cast<int>(state.range(0)));
    long items = 0;
    for (auto _ : state) {
        CMavGDX gdx(CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d());
        mav_gdx_image_sld_data(&gdx, s.data(), static_cast<unsigned long>(s.size()), 0, nullptr);
        items = gdx.lenGet();
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(state.iterations() * items);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.size()));
}

// A slide of `vectors` full vector records and nothing else (8 bytes each), as a plotted drawing gives.
std::vector<unsigned char> vectorSlide(int vectors)
{
    std::vector<unsigned char> b = benchSlideHeader(false);
    auto word = [&b](int w) { putSlideWord(b, w, false); };
    for (int i = 0; i < vectors; ++i) {
        word(i & 0xFFF);
        word((i * 7) & 0xFFF);
        word((i * 13) & 0xFFF);
        word((i * 3) & 0xFFF);
    }
    word(0xFC00);
    return b;
}

// Bytes the allocator has handed out and not taken back; 0 where the count is not available.
double heapInUse()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 mi = mallinfo2();
    return static_cast<double>(mi.uordblks + mi.hblkhd);
#else
    return 0.0;
#endif
}

void Generate_LargeSlide(benchmark::State& state)
{
    static const std::vector<unsigned char> s = vectorSlide(500000);
    double perItem = 0.0;
    long items = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        CMavGDX gdx(CMavColor(), CMavMatrix3d(), 1.0, 0, CMavPoint3d(), CMavPoint3d());
        mav_gdx_image_sld_data(&gdx, s.data(), static_cast<unsigned long>(s.size()), 0, nullptr);
        items = gdx.lenGet();
        perItem = items > 0 ? (heapInUse() - before) / static_cast<double>(items) : 0.0;
        benchmark::DoNotOptimize(items);
    }
    if (items != 500000)
        state.SkipWithError("the slide did not give 500,000 items");
    state.counters["BytesPerItem"] = perItem;
    state.SetItemsProcessed(state.iterations() * items);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(s.size()));
}

} // namespace

// Each at a tenth of the records and at all of them: the generator's time should grow linearly.
BENCHMARK(Baseline_DecodeOnly)->Arg(kRecords / 10)->Arg(kRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_SlideItems)->Arg(kRecords / 10)->Arg(kRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_LargeSlide)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
