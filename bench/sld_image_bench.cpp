// The slide generator turning a slide into display items, against decoding the same slide into a sink that only
// counts, in the same run. Compare Generate_SlideItems with Baseline_DecodeOnly (items/s and MB/s): the difference
// is the cost of building the items and growing the display list.
#include "gdx/CMavGDX.h"
#include "generators/sld_image.h"
#include "slide/slide.h"

#include <benchmark/benchmark.h>

#include "bench_slide.h"

#include <vector>

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

} // namespace

// Each at a tenth of the records and at all of them: the generator's time should grow linearly.
BENCHMARK(Baseline_DecodeOnly)->Arg(kRecords / 10)->Arg(kRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_SlideItems)->Arg(kRecords / 10)->Arg(kRecords)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
