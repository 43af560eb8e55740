// The slide generator turning a slide into display items, against decoding the same slide into a sink that only
// counts, in the same run. Compare Generate_SlideItems with Baseline_DecodeOnly (items/s and MB/s): the difference
// is the cost of building the items and growing the display list.
#include "gdx/CMavGDX.h"
#include "generators/sld_image.h"
#include "generators/slide.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// 100,000 records keep the display list of one iteration near 100 MB; the mix follows real slides: vectors,
// offset records and common endpoints, some colours and a four-vertex fill every 500 records.
constexpr int kRecords = 100000;

std::vector<unsigned char> makeSlide(int records)
{
    std::vector<unsigned char> b(17, 0);
    auto word = [&b](int w) {
        b.push_back(static_cast<unsigned char>(w & 0xFF));
        b.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
    };
    b.push_back(0x56);
    b.push_back(2);
    word(4095);
    word(4095);
    b.insert(b.end(), {0x80, 0x96, 0x98, 0x00});
    word(2);
    word(0x1234);
    for (int i = 0; i < records; ++i) {
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
            word(0);
            for (int v = 0; v < 4; ++v) {
                word(0xFD00);
                word(100 + v * 10);
                word(100 + (v & 1) * 10);
            }
            word(0xFD00);
            word(0);
            word(0);
        } else {
            word(0xFE01);
            b.push_back(0x01);
        }
    }
    word(0xFC00);
    return b;
}

const std::vector<unsigned char>& slide(int records)
{
    static const std::vector<unsigned char> small = makeSlide(kRecords / 10);
    static const std::vector<unsigned char> full = makeSlide(kRecords);
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
