// Polyline geometry on 10,000 segments (half of them arcs), each against a plain baseline in the same run.
// Compare the pairs: Extents_ExactArcs against Extents_FromChords (min/max over chord points at 0.01), and
// LineCrossings_Exact against LineCrossings_Chords (a hand-written 2D crossing count over the same chords).
#include "base/CMavMatrix3d.h"
#include "base/CMavVertexArray.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSegments = 10000;

// A zig-zag of alternating straight segments and arcs along the x axis.
CMavVertexArray zigzag()
{
    CMavVertexArray v;
    v.append(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0), 0.0);
    for (int i = 1; i < kSegments; ++i)
        v.appendTo(CMavPoint3d(i + 1.0, (i % 2) ? 0.0 : 1.0, 0), (i % 2) ? 0.6 : 0.0);
    return v;
}

void Extents_ExactArcs(benchmark::State& state)
{
    const CMavVertexArray v = zigzag();
    for (auto _ : state) {
        CMavPoint3d lo, hi;
        benchmark::DoNotOptimize(v.extents(lo, hi));
        benchmark::DoNotOptimize(lo);
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void Extents_FromChords(benchmark::State& state)
{
    const CMavVertexArray v = zigzag();
    for (auto _ : state) {
        const CMavPoint3dArray pts = v.pts(true, 0.01);
        CMavPoint3d lo = pts[0], hi = pts[0];
        for (const CMavPoint3d& p : pts) {
            lo = CMavPoint3d(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = CMavPoint3d(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void LineCrossings_Exact(benchmark::State& state)
{
    const CMavVertexArray v = zigzag();
    CMavPoint3dArray hits;
    for (auto _ : state) {
        hits.removeAll();
        v.intersectWith(CMavPoint3d(0, 0.5, 0), CMavPoint3d(1, 0.5, 0), CMavVertexArray::kExtendBoth, hits);
        benchmark::DoNotOptimize(hits.len());
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void LineCrossings_Chords(benchmark::State& state)
{
    const CMavPoint3dArray pts = zigzag().pts(true, 0.01);
    for (auto _ : state) {
        int count = 0;
        for (int i = 0; i + 1 < pts.len(); ++i) {
            const double y0 = pts[i].y - 0.5, y1 = pts[i + 1].y - 0.5;
            if ((y0 < 0.0) != (y1 < 0.0))
                ++count;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void Transform_Polyline(benchmark::State& state)
{
    const CMavVertexArray v = zigzag();
    const CMavMatrix3d m = CMavMatrix3d::rotation(0.3, CMavVector3d::kZAxis) * CMavMatrix3d::scaling(2.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(v.getTransformedCopy(m).len());
    state.SetItemsProcessed(state.iterations() * kSegments);
}

} // namespace

BENCHMARK(Extents_ExactArcs);
BENCHMARK(Extents_FromChords);
BENCHMARK(LineCrossings_Exact);
BENCHMARK(LineCrossings_Chords);
BENCHMARK(Transform_Polyline);
BENCHMARK_MAIN();
