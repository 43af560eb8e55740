// Small builders shared by the display list tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "../geom_test_util.h"
#include "gdx/CMavGDX.h"

namespace gdxtest
{

using geomtest::expectPoint;
using geomtest::rect;

inline CMavArrayTempl<int> path(std::initializer_list<int> entries)
{
    return CMavArrayTempl<int>(entries);
}

inline CMavVertexArray line(double x0, double y0, double x1, double y1)
{
    return geomtest::seg(x0, y0, x1, y1);
}

// An empty list with explicit values: no configuration is read.
inline CMavGDX plainList()
{
    return CMavGDX(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
}

inline void addLine(CMavGDX& g, std::initializer_list<int> stack, double x0, double y0, double x1, double y1,
                    unsigned long flags = 0, const CMavMatrix3d& m = CMavMatrix3d())
{
    g.imageVl(path(stack), flags, line(x0, y0, x1, y1), CMavColor(), m, CMavArrayTempl<double>(), 0.0, 0);
}

inline void addPoint(CMavGDX& g, std::initializer_list<int> stack, double x, double y, unsigned long flags = 0,
                     const CMavMatrix3d& m = CMavMatrix3d())
{
    g.imagePt(path(stack), flags, CMavPoint3d(x, y, 0.0), CMavColor(), m, 0.0, 0xFFFFFFFFul);
}

// A region of the given outlines, the first the outer one.
inline void addRegion(CMavGDX& g, std::initializer_list<int> stack, std::initializer_list<CMavVertexArray> outlines,
                      unsigned long flags = 0, const CMavMatrix3d& m = CMavMatrix3d())
{
    g.imageReg(path(stack), flags, CMavArrayTempl<CMavVertexArray>(outlines), CMavColor(), m, CMavArrayTempl<double>(),
               0.0, 0, CMavColor(), MAV::CHatchProp());
}

// One value of every item, in order: listOf(g, &CMavGDX::flagGet).
template <class T> std::vector<T> listOf(const CMavGDX& g, T (CMavGDX::*get)(int) const)
{
    std::vector<T> out;
    for (int i = 0; i < g.lenGet(); ++i)
        out.push_back((g.*get)(i));
    return out;
}

inline void expectExtents(const CMavGDX& g, const CMavPoint3d& lo, const CMavPoint3d& hi, double tol = 1e-9)
{
    CMavPoint3d min, max;
    g.extmaxGet(min, max);
    expectPoint(min, lo.x, lo.y, lo.z, tol);
    expectPoint(max, hi.x, hi.y, hi.z, tol);
}

} // namespace gdxtest
