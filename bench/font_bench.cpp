// Speed of laying out a 10,000-character text with the built-in font, against copying the same glyphs.
//
// The baseline looks each character up with get_ascii_from_map (one copy of the glyph) and appends its regions
// unchanged: the least any layout must do. The layout adds the orientation step, the moves and the alignment
// shift. Read the ratio of BM_Layout to BM_GlyphCopies; BM_TextItem is the same layout done for a text item of a
// display list (setting its text: layout, then the extents); BM_Lookup shows the cost of one lookup alone.
#include <benchmark/benchmark.h>

#include <string>

#include "gdx/CMavGDX.h"
#include "geometry/font.h"

namespace {

std::wstring sampleText(int n)
{
    const std::wstring words = L"Schublade 450 x 600 mm, B\u00fcroschrank \u00c4hnlich (x2) [A] 50% #3 @ 1\u00bd; ";
    std::wstring s;
    while (static_cast<int>(s.size()) < n)
        s += words;
    s.resize(static_cast<std::size_t>(n));
    return s;
}

void BM_GlyphCopies(benchmark::State& state)
{
    const std::wstring text = sampleText(10000);
    for (auto _ : state) {
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> out;
        for (wchar_t c : text) {
            const auto g = get_ascii_from_map(c);
            for (int r = 0; r < g.len(); ++r)
                out.append(g[r]);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_GlyphCopies)->Unit(benchmark::kMillisecond);

void BM_Layout(benchmark::State& state)
{
    const std::wstring text = sampleText(10000);
    for (auto _ : state) {
        auto out = MAV::fontTextLayout(text.c_str(), L"CC", CMavPoint3d(1, 2, 0));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Layout)->Unit(benchmark::kMillisecond);

void BM_TextItem(benchmark::State& state)
{
    const std::wstring text = sampleText(10000);
    CMavGDX gdx(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
    gdx.imageTxt({1}, 0, L"", CMavColor(1), CMavMatrix3d(), L"CC", CMavPoint3d(1, 2, 0));
    for (auto _ : state) {
        gdx.txtSet({1}, text.c_str());
        benchmark::DoNotOptimize(gdx.getDisplayList()[0].rare().m_txtRegl.len());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TextItem)->Unit(benchmark::kMillisecond);

// The same text item placed as a preview places its labels: turned, scaled and moved by the item's matrix, which
// the extents follow.
void BM_TextItemPlaced(benchmark::State& state)
{
    const std::wstring text = sampleText(10000);
    CMavGDX gdx(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
    CMavMatrix3d turn;
    turn.setToRotation(0.3, CMavVector3d::kZAxis);
    const CMavMatrix3d place =
        CMavMatrix3d::translation(CMavVector3d(250, 120, 0)) * turn * CMavMatrix3d::scaling(14.0);
    gdx.imageTxt({1}, 0, L"", CMavColor(1), place, L"CC", CMavPoint3d(1, 2, 0));
    for (auto _ : state) {
        gdx.txtSet({1}, text.c_str());
        benchmark::DoNotOptimize(gdx.getDisplayList()[0].rare().m_txtRegl.len());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TextItemPlaced)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state)
{
    int code = 33;
    for (auto _ : state) {
        auto g = get_ascii_from_map(code);
        benchmark::DoNotOptimize(g);
        code = code == 126 ? 33 : code + 1;
    }
}
BENCHMARK(BM_Lookup);

}  // namespace

BENCHMARK_MAIN();
