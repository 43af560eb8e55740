// Speed of region hatching and dash pieces, against a plain scan-line hatch and a plain dasher in the same run.
//
// The region: an outer outline of 1,000 segments (every third one an arc) with 5 holes (circles of two arcs and
// polygons), about 100 units across. The patterns are scaled so that the legibility test passes with about 90
// lines across it, the density the renderer actually computes. The baseline hatch is the textbook scan line on
// the region's chords (the renderer splits arcs into chords before it hatches): per line, every edge is tested,
// the crossings sorted and paired. Read the ratio of each hatcher's time to the baseline's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "geometry/hatch.h"
#include "geometry/measure.h"
#include "base/CMavLineParm.h"
#include "base/g_vl.h"
#include "data/patterns.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
using Regions = CMavArrayTempl<CMavVertexArray>;

CMavVertexArray circle(double cx, double cy, double r)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(cx + r, cy, 0), CMavPoint3d(cx - r, cy, 0), 1.0);
    vl.append(CMavPoint3d(cx - r, cy, 0), CMavPoint3d(cx + r, cy, 0), 1.0);
    return vl;
}

CMavVertexArray polygon(double cx, double cy, double r, int n)
{
    CMavVertexArray vl;
    for (int i = 0; i < n; ++i) {
        const double a0 = 2 * kPi * i / n, a1 = 2 * kPi * (i + 1) / n;
        vl.append(CMavPoint3d(cx + r * std::cos(a0), cy + r * std::sin(a0), 0),
                  CMavPoint3d(cx + r * std::cos(a1), cy + r * std::sin(a1), 0));
    }
    return vl;
}

const Regions& region()
{
    static const Regions r = [] {
        Regions out;
        CMavVertexArray outer;
        const int n = 1000;
        auto at = [](int i) {
            const double a = 2 * kPi * i / n, rr = 50.0 + 2.0 * std::sin(7 * a) + 0.5 * std::sin(53 * a);
            return CMavPoint3d(rr * std::cos(a), rr * std::sin(a), 0);
        };
        for (int i = 0; i < n; ++i)
            outer.append(at(i), at((i + 1) % n), i % 3 == 0 ? 0.15 : 0.0);
        out.append(outer);
        out.append(circle(-20, 0, 8));
        out.append(circle(20, 10, 6));
        out.append(polygon(0, 25, 7, 12));
        out.append(polygon(5, -25, 9, 7));
        out.append(circle(-15, -30, 4));
        return out;
    }();
    return r;
}

const Regions& splitRegion()
{
    static const Regions r = mav_gdx_image_reg_split(region());
    return r;
}

// The plain scan-line hatch: lines at `angleDeg` spaced `dy` through the origin, cut with every edge of the
// (chord) outlines, crossings sorted and paired by even-odd.
Regions scanLineHatch(const Regions& regions, double angleDeg, double dy)
{
    const double phi = angleDeg * kPi / 180.0, c = std::cos(phi), s = std::sin(phi);
    struct E {
        double x0, y0, x1, y1;
    };
    std::vector<E> edges;
    double ylo = 1e300, yhi = -1e300;
    for (const CMavVertexArray& vl : regions)
        for (const CMavVertex& v : vl) {
            const E e{v.start.x * c + v.start.y * s, -v.start.x * s + v.start.y * c, v.end.x * c + v.end.y * s,
                      -v.end.x * s + v.end.y * c};
            edges.push_back(e);
            ylo = std::min(ylo, std::min(e.y0, e.y1));
            yhi = std::max(yhi, std::max(e.y0, e.y1));
        }
    Regions out;
    std::vector<double> xs;
    for (double k = std::ceil(ylo / dy); k * dy <= yhi; k += 1.0) {
        const double y = k * dy;
        xs.clear();
        for (const E& e : edges)
            if ((e.y0 > y) != (e.y1 > y))
                xs.push_back(e.x0 + (y - e.y0) / (e.y1 - e.y0) * (e.x1 - e.x0));
        if (xs.size() < 2 || xs.size() % 2)
            continue;
        std::sort(xs.begin(), xs.end());
        CMavVertexArray line;
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            line.append(CMavPoint3d(xs[i] * c - y * s, xs[i] * s + y * c, 0),
                        CMavPoint3d(xs[i + 1] * c - y * s, xs[i + 1] * s + y * c, 0));
        out.append(line);
    }
    return out;
}

// Pattern scales for about 90 lines across the region: ANSI31 spaces its lines 0.125, ANSI33 0.25.
constexpr double kAnsi31Scale = 9.0;
constexpr double kAnsi33Scale = 4.5;

void checkSetup()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The device scale at which a 100-unit region fills a small preview.
    const CMavMatrix3d device = CMavMatrix3d::scaling(3.0);
    const bool ok31 = mav_gdx_pattern_test(region(), MAV::CHatchProp(L"ANSI31", kAnsi31Scale), device);
    const bool ok33 = mav_gdx_pattern_test(region(), MAV::CHatchProp(L"ANSI33", kAnsi33Scale), device);
    const auto h31 = mav_gdx_image_reg_hatch2(region(), CMavMatrix3d::kIdentity, MAV::CHatchProp(L"ANSI31", kAnsi31Scale));
    const auto b31 = scanLineHatch(splitRegion(), 45.0, 0.125 * kAnsi31Scale);
    int pieces = 0, basePieces = 0;
    for (const CMavVertexArray& vl : h31)
        pieces += vl.len();
    for (const CMavVertexArray& vl : b31)
        basePieces += vl.len();
    std::fprintf(stderr, "setup: ANSI31 legible %d, ANSI33 legible %d; ANSI31 %d lines %d pieces, baseline %d lines %d pieces\n",
                 ok31, ok33, h31.len(), pieces, b31.len(), basePieces);
}

void BM_Baseline_ScanLine_Ansi31(benchmark::State& state)
{
    checkSetup();
    for (auto _ : state)
        benchmark::DoNotOptimize(scanLineHatch(splitRegion(), 45.0, 0.125 * kAnsi31Scale));
}

void BM_Hatch2_Ansi31_Arcs(benchmark::State& state)
{
    const MAV::CHatchProp hatch(L"ANSI31", kAnsi31Scale);
    for (auto _ : state)
        benchmark::DoNotOptimize(mav_gdx_image_reg_hatch2(region(), CMavMatrix3d::kIdentity, hatch));
}

void BM_Hatch2_Ansi31_Chords(benchmark::State& state)
{
    const MAV::CHatchProp hatch(L"ANSI31", kAnsi31Scale);
    for (auto _ : state)
        benchmark::DoNotOptimize(mav_gdx_image_reg_hatch2(splitRegion(), CMavMatrix3d::kIdentity, hatch));
}

void BM_Baseline_ScanLine_Ansi33(benchmark::State& state)
{
    // ANSI33 has two line families; the solid baseline is drawn for both.
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanLineHatch(splitRegion(), 45.0, 0.25 * kAnsi33Scale));
        benchmark::DoNotOptimize(scanLineHatch(splitRegion(), 45.0, 0.25 * kAnsi33Scale));
    }
}

void BM_Hatch2_Ansi33_Chords(benchmark::State& state)
{
    const MAV::CHatchProp hatch(L"ANSI33", kAnsi33Scale);
    for (auto _ : state)
        benchmark::DoNotOptimize(mav_gdx_image_reg_hatch2(splitRegion(), CMavMatrix3d::kIdentity, hatch));
}

void BM_PatternTest_Ansi33(benchmark::State& state)
{
    const MAV::CHatchProp hatch(L"ANSI33", kAnsi33Scale);
    for (auto _ : state)
        benchmark::DoNotOptimize(mav_gdx_pattern_test(splitRegion(), hatch, CMavMatrix3d::scaling(3.0)));
}

void BM_RegSplit(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(mav_gdx_image_reg_split(region()));
}

// ---- dashes on a 10,000-segment polyline ----

const CMavVertexArray& longPolyline()
{
    static const CMavVertexArray vl = [] {
        CMavVertexArray out;
        CMavPoint3d p(0, 0, 0);
        for (int i = 0; i < 10000; ++i) {
            const double a = 0.3 * std::sin(i * 0.37), len = 2.0 + std::fmod(i * 0.618, 3.0);
            const CMavPoint3d q(p.x + len * std::cos(a), p.y + len * std::sin(a), 0);
            out.append(p, q);
            p = q;
        }
        return out;
    }();
    return vl;
}

// The plain dasher: a pattern of dash and gap run along each segment from its start, no fitting.
CMavVertexArray plainDashes(const CMavVertexArray& vl, double dash, double gap)
{
    CMavVertexArray out;
    const double period = dash + gap;
    for (const CMavVertex& v : vl) {
        const CMavVector3d d = v.end - v.start;
        const double len = d.length();
        const CMavVector3d u = d / len;
        for (double t = 0.0; t < len; t += period)
            out.append(v.start + u * t, v.start + u * std::min(t + dash, len));
    }
    return out;
}

void BM_Baseline_PlainDashes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(plainDashes(longPolyline(), 0.5, 0.25));
}

void BM_Measure_Mode1(benchmark::State& state)
{
    const CMavArrayTempl<double> dashes{0.5, -0.25};
    for (auto _ : state) {
        CMavVertexArray vl = longPolyline();
        benchmark::DoNotOptimize(mav_gdx_image_vl_measure(vl, dashes, 1));
    }
}

void BM_Measure_Mode0(benchmark::State& state)
{
    const CMavArrayTempl<double> dashes{0.5, -0.25};
    for (auto _ : state) {
        CMavVertexArray vl = longPolyline();
        benchmark::DoNotOptimize(mav_gdx_image_vl_measure(vl, dashes, 0));
    }
}

} // namespace

BENCHMARK(BM_Baseline_ScanLine_Ansi31)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hatch2_Ansi31_Arcs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hatch2_Ansi31_Chords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_ScanLine_Ansi33)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hatch2_Ansi33_Chords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PatternTest_Ansi33)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegSplit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_PlainDashes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Measure_Mode1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Measure_Mode0)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
#ifdef __GLIBC__
    // The hatchers take their region by value, as their interface has it, so each call copies the region. With
    // glibc's default heap a freed copy of this size is handed back to the system and faulted in again on the
    // next call, which on a virtual machine costs more than the hatching; keep it in the heap so that the run
    // measures the copies as copies. Pass --trim to measure with the default heap.
    bool trim = false;
    for (int i = 1; i < argc; ++i)
        trim = trim || std::string(argv[i]) == "--trim";
    if (!trim) {
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
        mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    }
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
