// Decoding a slide of a million records, against a plain pass over the same bytes in the same run.
// Compare Decode_Slide_LittleEndian and Decode_Slide_BigEndian with Baseline_SumWords (MB/s): the baseline reads
// every 16-bit word of the buffer once and adds it up, the least any reader of these bytes must do.
#include "generators/slide.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kRecords = 1000000;

// A mix like that of real slides: mostly vectors and offset records, some colours, a fill every 500 records.
std::vector<unsigned char> makeSlide(bool bigEndian)
{
    std::vector<unsigned char> b(17, 0);
    auto word = [&b, bigEndian](int w) {
        const auto lo = static_cast<unsigned char>(w & 0xFF), hi = static_cast<unsigned char>((w >> 8) & 0xFF);
        b.push_back(bigEndian ? hi : lo);
        b.push_back(bigEndian ? lo : hi);
    };
    b.push_back(0x56);
    b.push_back(2);
    word(4095);
    word(4095);
    b.insert(b.end(), {0x80, 0x96, 0x98, 0x00});
    word(2);
    word(0x1234);
    for (int i = 0; i < kRecords; ++i) {
        const int kind = i % 10;
        if (kind < 4) {
            word(i & 0xFFF);
            word((i * 7) & 0xFFF);
            word((i * 13) & 0xFFF);
            word((i * 3) & 0xFFF);
        } else if (kind < 6) {
            word(0xFB00 | (i & 0x3F));
            b.insert(b.end(), {0x05, 0xFB, 0x10});
        } else if (kind < 8) {
            word(0xFE00 | (i & 0x1F));
            b.push_back(0xF0);
        } else if (kind == 8) {
            word(0xFF00 | (i & 0xFF));
        } else if (i % 500 == 9) {
            word(0xFD00);
            word(4);
            word(-2);
            for (int v = 0; v < 4; ++v) {
                word(0xFD00);
                word(100 + v * 10);
                word(100 + (v & 1) * 10);
            }
            word(0xFD00);
            word(4);
            word(-2);
        } else {
            word(0xFE01);
            b.push_back(0x01);
        }
    }
    word(0xFC00);
    return b;
}

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
    const std::vector<unsigned char> slide = makeSlide(bigEndian);
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
    const std::vector<unsigned char> slide = makeSlide(false);
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
