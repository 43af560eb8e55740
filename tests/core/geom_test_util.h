// Builders and point checks shared by the geometry tests: polylines written as numbers, points within a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>

#include "base/CMavVertexArray.h"

namespace geomtest {

constexpr double kPi = 3.14159265358979323846;

inline void expectPoint(const CMavPoint3d& p, double x, double y, double z = 0.0, double tol = 1e-12)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// A polyline in the XY plane from {x0, y0, x1, y1, bulge} segments.
inline CMavVertexArray poly(std::initializer_list<std::array<double, 5>> segs)
{
    CMavVertexArray vl;
    for (const auto& s : segs)
        vl.append(CMavVertex({s[0], s[1], 0}, {s[2], s[3], 0}, s[4]));
    return vl;
}

inline CMavVertexArray seg(double x0, double y0, double x1, double y1)
{
    return poly({{x0, y0, x1, y1, 0}});
}

// Closed axis-aligned rectangle, counter-clockwise from (x0, y0).
inline CMavVertexArray rect(double x0, double y0, double x1, double y1)
{
    return poly({{x0, y0, x1, y0, 0}, {x1, y0, x1, y1, 0}, {x1, y1, x0, y1, 0}, {x0, y1, x0, y0, 0}});
}

// Circle about (cx, cy) as two half-circle arcs from (cx + r, cy), counter-clockwise for bulge 1.
inline CMavVertexArray circle(double cx, double cy, double r, double bulge = 1.0)
{
    return poly({{cx + r, cy, cx - r, cy, bulge}, {cx - r, cy, cx + r, cy, bulge}});
}

// A seeded linear congruential generator of numbers in [lo, hi): the same sequence on every platform.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : m_seed(seed) {}
    double operator()(double lo, double hi)
    {
        m_seed = m_seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * ((m_seed >> 8) / 16777216.0);
    }

private:
    std::uint32_t m_seed;
};

} // namespace geomtest
