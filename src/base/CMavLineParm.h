// Dash pattern of a line: lengths (positive a dash, negative a gap, 0 a dot) and a scale applied to them.
#pragma once

#include <cmath>
#include <initializer_list>

#include "base/CMavArray.h"

class CMavLineParm : public CMavArrayTempl<double> {
public:
    CMavLineParm() = default;
    CMavLineParm(const CMavArrayTempl<double>& dashes, double scale = 1.0)
        : CMavArrayTempl<double>(dashes), m_scale(scale) {}
    // Two pattern entries, for example (0.0, -spacing): dots at a spacing.
    CMavLineParm(double first, double second) : CMavArrayTempl<double>{first, second} {}
    CMavLineParm(std::initializer_list<double> dashes) : CMavArrayTempl<double>(dashes) {}

    double scale() const { return m_scale; }
    void setScale(double s) { m_scale = s; }
    const CMavArrayTempl<double>& dashes() const { return *this; }
    // Sum of the absolute entries times the scale (dots count 0 here).
    double period() const
    {
        double sum = 0.0;
        for (double d : *this)
            sum += std::fabs(d);
        return sum * std::fabs(m_scale);
    }
    // True when the pattern draws an unbroken line (no gaps).
    bool isContinuous() const
    {
        for (double d : *this)
            if (d < 0.0)
                return false;
        return true;
    }

    bool operator==(const CMavLineParm& o) const
    {
        return m_scale == o.m_scale && CMavArrayTempl<double>::operator==(o);
    }
    bool operator!=(const CMavLineParm& o) const { return !(*this == o); }

private:
    double m_scale = 1.0;
};
