// Display list bulk operations on 100,000 items against the plain versions (extents recomputed from every item
// after every single change, items copied when reordered, keys tried one by one), measured in the same run.
//
// Ratios: compare each BM_<op>_fast with BM_<op>_plain. propSet and redraw take the group size as argument:
// 10000 is the group {3}, 100 the group {3, 5}. The plain versions cost one full recomputation (see
// BM_extents_fromScratch) per item of the group, so on the 10,000 group they run for most of an hour; they are
// measured on the 100 group (a single iteration), and on the 10,000 group only when the environment variable
// MAV_GDX_BENCH_FULL is set. Their time grows with the group size: plain(10,000) = plain(100) x 10,001 / 101.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "gdx_reference.h"
#include "gdx/CMavGDX.h"
#include "gdx/gdxMap.h"

namespace {

constexpr int kItems = 100000;
constexpr int kGroups = 10; // group {g} holds about 10,000 items

// A list that can forget its remembered item boxes, to measure a cold start.
class BenchGDX : public gdxref::RefGDX {
public:
    using gdxref::RefGDX::RefGDX;
    void forgetBoxes()
    {
        for (int i = 0; i < lenGet(); ++i)
            itemGeometryChanged(i);
    }
};

CMavVertexArray randomPolyline(std::mt19937& rng, int segments)
{
    std::uniform_real_distribution<double> u(-1000.0, 1000.0), d(-20.0, 20.0);
    CMavVertexArray vl;
    CMavPoint3d at(u(rng), u(rng), 0.0);
    for (int i = 0; i < segments; ++i) {
        const CMavPoint3d next(at.x + d(rng), at.y + d(rng), 0.0);
        vl.append(at, next, i % 3 == 2 ? 0.4 : 0.0);
        at = next;
    }
    return vl;
}

// 100,000 items: polylines of 4 segments, points and rectangular regions in turn, in groups {g, k} with g random
// in 0..9, placed by small matrices, under a non-trivial projection.
const BenchGDX& baseList()
{
    static const BenchGDX list = [] {
        std::mt19937 rng(12345);
        std::uniform_int_distribution<int> group(0, kGroups - 1), sub(0, 99), mode(0, 3);
        BenchGDX g;
        g.projMtxSet(CMavMatrix3d::rotation(0.3, CMavVector3d::kZAxis) * CMavMatrix3d::scaling(0.5));
        const CMavArrayTempl<double> solid;
        for (int i = 0; i < kItems; ++i) {
            const CMavArrayTempl<int> st{group(rng), sub(rng)};
            const unsigned long flags = static_cast<unsigned long>(mode(rng)) << 8;
            const CMavMatrix3d m = CMavMatrix3d::translation(CMavVector3d(i % 7, i % 5, 0));
            switch (i % 3) {
            case 0:
                g.imageVl(st, flags, randomPolyline(rng, 4), CMavColor(), m, solid, 0.0, 0);
                break;
            case 1:
                g.imagePt(st, flags, randomPolyline(rng, 1)[0].start, CMavColor(), m, 0.0, 0xFFFFFFFFul);
                break;
            default: {
                CMavArrayTempl<CMavVertexArray> regions;
                CMavVertexArray outline = randomPolyline(rng, 3);
                outline.append(outline[2].end, outline[0].start);
                regions.append(outline);
                g.imageReg(st, flags, regions, CMavColor(), m, solid, 0.0, 0, CMavColor(), MAV::CHatchProp());
                break;
            }
            }
        }
        g.projMtxSet(g.projMtxGet()); // every item box known
        return g;
    }();
    return list;
}

const CMavArrayTempl<int>& group3()
{
    static const CMavArrayTempl<int> st{3};
    return st;
}

// The group of about `size` items: {3} for 10,000, {3, 5} for 100.
CMavArrayTempl<int> groupOfSize(long size)
{
    return size >= 10000 ? CMavArrayTempl<int>{3} : CMavArrayTempl<int>{3, 5};
}

void reportGroup(benchmark::State& state, const CMavGDX& g, const CMavArrayTempl<int>& st)
{
    state.counters["items"] = g.lenGet();
    state.counters["group"] = g.StackToItemNr(st).len();
}

// ---- propSet / redraw on the group of 10,000

void BM_propSet_fast(benchmark::State& state)
{
    BenchGDX g(baseList());
    const CMavArrayTempl<int> st = groupOfSize(state.range(0));
    unsigned long code = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.propSet(st, code));
        code = code == 2 ? 1 : 2;
    }
    reportGroup(state, g, st);
}
BENCHMARK(BM_propSet_fast)->Arg(10000)->Arg(100)->Unit(benchmark::kMillisecond);

// The same after the remembered boxes were dropped: the recomputation transforms every item once.
void BM_propSet_fast_cold(benchmark::State& state)
{
    BenchGDX g(baseList());
    const CMavArrayTempl<int> st = groupOfSize(state.range(0));
    unsigned long code = 2;
    for (auto _ : state) {
        state.PauseTiming();
        g.forgetBoxes();
        state.ResumeTiming();
        benchmark::DoNotOptimize(g.propSet(st, code));
        code = code == 2 ? 1 : 2;
    }
    reportGroup(state, g, st);
}
BENCHMARK(BM_propSet_fast_cold)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_propSet_plain(benchmark::State& state)
{
    BenchGDX g(baseList());
    const CMavArrayTempl<int> st = groupOfSize(state.range(0));
    unsigned long code = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.propSetPlain(st, code));
        code = code == 2 ? 1 : 2;
    }
    reportGroup(state, g, st);
}

void BM_redraw_fast(benchmark::State& state)
{
    BenchGDX g(baseList());
    const CMavArrayTempl<int> st = groupOfSize(state.range(0));
    unsigned long code = 4;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.redraw(st, code));
        code = code == 4 ? 3 : 4;
    }
    reportGroup(state, g, st);
}
BENCHMARK(BM_redraw_fast)->Arg(10000)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_redraw_plain(benchmark::State& state)
{
    BenchGDX g(baseList());
    const CMavArrayTempl<int> st = groupOfSize(state.range(0));
    unsigned long code = 4;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.redrawPlain(st, code));
        code = code == 4 ? 3 : 4;
    }
    reportGroup(state, g, st);
}

// The plain versions: the 100 group always, the 10,000 group on request.
const bool g_plainRegistered = [] {
    const bool full = std::getenv("MAV_GDX_BENCH_FULL") != nullptr;
    auto* p = benchmark::RegisterBenchmark("BM_propSet_plain", BM_propSet_plain)->Arg(100);
    auto* r = benchmark::RegisterBenchmark("BM_redraw_plain", BM_redraw_plain)->Arg(100);
    if (full) {
        p->Arg(10000);
        r->Arg(10000);
    }
    p->Unit(benchmark::kMillisecond)->Iterations(1);
    r->Unit(benchmark::kMillisecond)->Iterations(1);
    return true;
}();

// One full recomputation from every item's geometry: the unit the plain versions pay per changed item.
void BM_extents_fromScratch(benchmark::State& state)
{
    const BenchGDX& g = baseList();
    for (auto _ : state) {
        CMavPoint3d lo, hi;
        gdxref::extentsFromScratch(g, lo, hi);
        benchmark::DoNotOptimize(lo);
    }
}
BENCHMARK(BM_extents_fromScratch)->Unit(benchmark::kMillisecond);

// ---- colour mode and group lookup

void BM_cModeSet_fast(benchmark::State& state)
{
    BenchGDX g(baseList());
    int mode = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.cModeSet(group3(), static_cast<GDX_CMODE>(mode)));
        mode = 3 - mode;
    }
}
BENCHMARK(BM_cModeSet_fast)->Unit(benchmark::kMicrosecond);

void BM_cModeSet_plain(benchmark::State& state)
{
    BenchGDX g(baseList());
    int mode = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.cModeSetPlain(group3(), static_cast<GDX_CMODE>(mode)));
        mode = 3 - mode;
    }
}
BENCHMARK(BM_cModeSet_plain)->Unit(benchmark::kMicrosecond);

void BM_StackToItemNr_fast(benchmark::State& state)
{
    const BenchGDX& g = baseList();
    for (auto _ : state)
        benchmark::DoNotOptimize(g.StackToItemNr(group3()).len());
}
BENCHMARK(BM_StackToItemNr_fast)->Unit(benchmark::kMicrosecond);

// Plain: every item's path compared entry by entry through the array's checked access.
void BM_StackToItemNr_plain(benchmark::State& state)
{
    const BenchGDX& g = baseList();
    for (auto _ : state) {
        CMavArrayTempl<int> nrs;
        for (int i = 0; i < g.lenGet(); ++i)
            if (gdxref::startsWith(g.getDisplayList()[i].m_stack, group3()))
                nrs.append(i);
        benchmark::DoNotOptimize(nrs.len());
    }
}
BENCHMARK(BM_StackToItemNr_plain)->Unit(benchmark::kMicrosecond);

// ---- drawing order

void BM_sort_sorted_fast(benchmark::State& state)
{
    BenchGDX g(baseList());
    g.displListSort();
    for (auto _ : state)
        g.displListSort();
}
BENCHMARK(BM_sort_sorted_fast)->Unit(benchmark::kMillisecond);

void BM_sort_sorted_plain(benchmark::State& state)
{
    BenchGDX g(baseList());
    g.displListSort();
    for (auto _ : state)
        g.sortPlain();
}
BENCHMARK(BM_sort_sorted_plain)->Unit(benchmark::kMillisecond);

// The shuffled list is the base list in its creation order (colour modes 0-3 at random); each iteration starts
// from a fresh copy.
void BM_sort_shuffled_fast(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        BenchGDX g(baseList());
        state.ResumeTiming();
        g.displListSort();
        state.PauseTiming();
        benchmark::DoNotOptimize(g.lenGet());
        g = BenchGDX(); // the copy is freed outside the timing
        state.ResumeTiming();
    }
}
BENCHMARK(BM_sort_shuffled_fast)->Unit(benchmark::kMillisecond);

void BM_sort_shuffled_plain(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        BenchGDX g(baseList());
        state.ResumeTiming();
        g.sortPlain();
        state.PauseTiming();
        benchmark::DoNotOptimize(g.lenGet());
        g = BenchGDX();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_sort_shuffled_plain)->Unit(benchmark::kMillisecond);

// ---- hit test (each call sorts, reverses and walks the list)

void BM_imageItemGet_fast(benchmark::State& state)
{
    BenchGDX g(baseList());
    int found = 0;
    for (auto _ : state)
        found += g.imageItemGet(CMavPoint3d(3.0, 4.0, 0.0)) >= 0;
    state.counters["hits"] = found;
}
BENCHMARK(BM_imageItemGet_fast)->Unit(benchmark::kMillisecond);

void BM_imageItemGet_plain(benchmark::State& state)
{
    BenchGDX g(baseList());
    int found = 0;
    for (auto _ : state)
        found += g.hitPlain(CMavPoint3d(3.0, 4.0, 0.0)) >= 0;
    state.counters["hits"] = found;
}
BENCHMARK(BM_imageItemGet_plain)->Unit(benchmark::kMillisecond);

// ---- registry with keys 1 ... 10,000 in use

void fillRegistry()
{
    static bool filled = false;
    if (filled)
        return;
    CMavGDX empty(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
    for (int k = 1; k <= 10000; ++k)
        gdxMapSetAt(k, empty);
    filled = true;
}

void BM_gdxMapKeyNew_fast(benchmark::State& state)
{
    fillRegistry();
    for (auto _ : state)
        benchmark::DoNotOptimize(gdxMapKeyNew());
}
BENCHMARK(BM_gdxMapKeyNew_fast)->Unit(benchmark::kMicrosecond);

void BM_gdxMapKeyNew_plain(benchmark::State& state)
{
    fillRegistry();
    for (auto _ : state)
        benchmark::DoNotOptimize(gdxref::keyNewPlain());
}
BENCHMARK(BM_gdxMapKeyNew_plain)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
