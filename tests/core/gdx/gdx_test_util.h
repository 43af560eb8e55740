// Small builders shared by the display list tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "gdx/CMavGDX.h"
#include "../geom_test_util.h"

namespace gdxtest {

inline CMavArrayTempl<int> path(std::initializer_list<int> entries)
{
    return CMavArrayTempl<int>(entries);
}

using geomtest::rect;

inline CMavVertexArray line(double x0, double y0, double x1, double y1)
{
    return geomtest::seg(x0, y0, x1, y1);
}

// An empty list with explicit values: no configuration is read.
inline CMavGDX plainList()
{
    return CMavGDX(CMavColor(), CMavMatrix3d(), 0.0, 0, CMavPoint3d(), CMavPoint3d());
}

inline void addVl(CMavGDX& g, std::initializer_list<int> stack, const CMavVertexArray& vl, unsigned long flags = 0,
                  const CMavMatrix3d& m = CMavMatrix3d())
{
    g.imageVl(path(stack), flags, vl, CMavColor(), m, CMavArrayTempl<double>(), 0.0, 0);
}

inline void addLine(CMavGDX& g, std::initializer_list<int> stack, double x0, double y0, double x1, double y1,
                    unsigned long flags = 0, const CMavMatrix3d& m = CMavMatrix3d())
{
    addVl(g, stack, line(x0, y0, x1, y1), flags, m);
}

inline void addPoint(CMavGDX& g, std::initializer_list<int> stack, double x, double y, unsigned long flags = 0,
                     const CMavMatrix3d& m = CMavMatrix3d())
{
    g.imagePt(path(stack), flags, CMavPoint3d(x, y, 0.0), CMavColor(), m, 0.0, 0xFFFFFFFFul);
}

// A region of the given outlines, the first the outer one.
inline void addRegion(CMavGDX& g, std::initializer_list<int> stack, std::initializer_list<CMavVertexArray> outlines,
                      const CMavMatrix3d& m = CMavMatrix3d())
{
    CMavArrayTempl<CMavVertexArray> regions;
    for (const CMavVertexArray& o : outlines)
        regions.append(o);
    g.imageReg(path(stack), 0, regions, CMavColor(), m, CMavArrayTempl<double>(), 0.0, 0, CMavColor(),
               MAV::CHatchProp());
}

inline void addRect(CMavGDX& g, std::initializer_list<int> stack, double x0, double y0, double x1, double y1,
                    unsigned long flags = 0)
{
    CMavArrayTempl<CMavVertexArray> regions;
    regions.append(rect(x0, y0, x1, y1));
    g.imageReg(path(stack), flags, regions, CMavColor(), CMavMatrix3d(), CMavArrayTempl<double>(), 0.0, 0,
               CMavColor(), MAV::CHatchProp());
}

inline void expectPoint(const CMavPoint3d& p, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

} // namespace gdxtest
