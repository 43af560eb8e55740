// Decoding a slide of a million records, against a plain pass over the same bytes in the same run.
// Compare Decode_Slide_LittleEndian and Decode_Slide_BigEndian with Baseline_SumWords (MB/s): the baseline reads
// every 16-bit word of the buffer once and adds it up, the least any reader of these bytes must do.
#include "slide/slide.h"

#include <benchmark/benchmark.h>

#include "bench_slide.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int kRecords = 1000000;


class SumSink : public CMavSlideSink {
public:
    long long sum = 0;
    void slideLine(MAV::SlidePoint_st a, MAV::SlidePoint_st b) override { sum += a.x + a.y + b.x + b.y; }
    void slidePolygon(const MAV::SlidePoint_st* v, int n) override
    {
        for (int i = 0; i < n; ++i)
            sum += v[i].x + v[i].y;
    }
    void slideColor(int index) override { sum += index; }
};

void decode(benchmark::State& state, bool bigEndian)
{
    const std::vector<unsigned char> slide = makeBenchSlide(kRecords, bigEndian);
    for (auto _ : state) {
        SumSink sink;
        CMavSlideDecoder dec;
        const MAV::SlideResult_st r = dec.decode(slide.data(), slide.size(), sink);
        benchmark::DoNotOptimize(sink.sum);
        if (r.stop != MAV::SlideStop::EndRecord)
            state.SkipWithError("slide not read to its end record");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(slide.size()));
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void Decode_Slide_LittleEndian(benchmark::State& state) { decode(state, false); }
void Decode_Slide_BigEndian(benchmark::State& state) { decode(state, true); }

void Baseline_SumWords(benchmark::State& state)
{
    const std::vector<unsigned char> slide = makeBenchSlide(kRecords, false);
    for (auto _ : state) {
        long long sum = 0;
        for (size_t i = 0; i + 1 < slide.size(); i += 2)
            sum += slide[i] | (slide[i + 1] << 8);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(slide.size()));
    state.SetItemsProcessed(state.iterations() * kRecords);
}

} // namespace

BENCHMARK(Baseline_SumWords);
BENCHMARK(Decode_Slide_LittleEndian);
BENCHMARK(Decode_Slide_BigEndian);

BENCHMARK_MAIN();
