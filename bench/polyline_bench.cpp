// Speed of dash pieces and region clipping on polylines of 10,000 segments, against a plain pass over the
// same segments (their lengths) as the baseline of the run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "base/g_vl.h"

namespace {

constexpr int kSegments = 10000;

// A wandering polyline of lines, or of arcs with bulges up to 0.8, inside [0, 100] x [0, 100].
CMavVertexArray wander(bool arcs)
{
    std::mt19937 rng(5u);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    CMavVertexArray vl;
    CMavPoint3d at(50, 50, 0);
    for (int i = 0; i < kSegments; ++i) {
        CMavPoint3d next(at.x + u(rng) * 3, at.y + u(rng) * 3, 0);
        next.x = std::fabs(std::fmod(next.x, 100.0));
        next.y = std::fabs(std::fmod(next.y, 100.0));
        vl.append(CMavVertex(at, next, arcs ? u(rng) * 0.8 : 0.0));
        at = next;
    }
    return vl;
}

// A closed outline of kSegments arcs (a wavy circle of radius about 40 about (50, 50)).
CMavVertexArray wavyOutline()
{
    CMavVertexArray vl;
    const double step = 2.0 * 3.14159265358979323846 / kSegments;
    auto pt = [&](int i) {
        double r = 40.0 + 2.0 * std::sin(i * step * 50.0);
        return CMavPoint3d(50 + r * std::cos(i * step), 50 + r * std::sin(i * step), 0);
    };
    for (int i = 0; i < kSegments; ++i)
        vl.append(CMavVertex(pt(i), pt((i + 1) % kSegments), i % 2 ? 0.2 : -0.2));
    return vl;
}

CMavArrayTempl<CMavVertexArray> squareWithHoles()
{
    CMavArrayTempl<CMavVertexArray> reg;
    auto rect = [](double x0, double y0, double x1, double y1) {
        CMavVertexArray r;
        CMavPoint3d p[4] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
        for (int k = 0; k < 4; ++k)
            r.append(CMavVertex(p[k], p[(k + 1) % 4], 0.0));
        return r;
    };
    reg.append(rect(10, 10, 90, 90));
    reg.append(rect(30, 30, 45, 70));
    CMavVertexArray c;
    c.append(CMavVertex({75, 50, 0}, {55, 50, 0}, 1.0));
    c.append(CMavVertex({55, 50, 0}, {75, 50, 0}, 1.0));
    reg.append(c);
    return reg;
}

void BM_Baseline_SegmentLengths(benchmark::State& state)
{
    CMavVertexArray vl = wander(state.range(0) != 0);
    for (auto _ : state) {
        double sum = 0.0;
        for (const CMavVertex& v : vl) {
            double d = std::hypot(v.end.x - v.start.x, v.end.y - v.start.y);
            double b = std::fabs(v.bulge);
            sum += b > 0.0 ? d / 4.0 * (1.0 / b + b) * 4.0 * std::atan(b) : d;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_Baseline_SegmentLengths)->Arg(0)->Arg(1);

void BM_Measure(benchmark::State& state)
{
    CMavVertexArray vl = wander(state.range(0) != 0);
    CMavLineParm pattern{1.0, -0.5, 0.0, -0.5};
    long long pieces = 0;
    for (auto _ : state) {
        CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_measure(vl, 1.0, pattern);
        pieces = p.len();
        benchmark::DoNotOptimize(p);
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_Measure)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PunchReg_PolylineByRegion(benchmark::State& state)
{
    CMavVertexArray vl = wander(state.range(0) != 0);
    CMavArrayTempl<CMavVertexArray> reg = squareWithHoles();
    long long pieces = 0;
    for (auto _ : state) {
        CMavArrayTempl<CMavVertexArray> p = MAV::g_vl_punch_reg(vl, reg, true);
        pieces = p.len();
        benchmark::DoNotOptimize(p);
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_PunchReg_PolylineByRegion)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The scan-line fill: 100 horizontal lines clipped by a region whose outline has 10,000 arcs.
void BM_PunchReg_ScanLinesThroughLargeOutline(benchmark::State& state)
{
    CMavArrayTempl<CMavVertexArray> reg;
    reg.append(wavyOutline());
    long long pieces = 0;
    for (auto _ : state) {
        pieces = 0;
        for (int i = 0; i < 100; ++i) {
            CMavVertexArray line;
            line.append(CMavVertex({0, 5.0 + i * 0.9, 0}, {100, 5.0 + i * 0.9, 0}, 0.0));
            pieces += MAV::g_vl_punch_reg(line, reg, true).len();
        }
        benchmark::DoNotOptimize(pieces);
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_PunchReg_ScanLinesThroughLargeOutline)->Unit(benchmark::kMicrosecond);

// Holes cut out of a 10,000-arc outline, one of them across its edge.
void BM_PunchReg_HolesOutOfLargeOutline(benchmark::State& state)
{
    CMavArrayTempl<CMavVertexArray> reg = squareWithHoles();
    reg[0] = wavyOutline();
    reg[1].move(CMavVector3d(50, 0, 0)); // now across the outline's right side
    long long regions = 0;
    for (auto _ : state) {
        CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> r = MAV::g_vl_punch_reg(reg);
        regions = r.len();
        benchmark::DoNotOptimize(r);
    }
    state.counters["regions"] = static_cast<double>(regions);
}
BENCHMARK(BM_PunchReg_HolesOutOfLargeOutline)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
