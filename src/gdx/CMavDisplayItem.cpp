// The display item record: copying and destruction, the rare part and the compact placement matrix.
#include "gdx/CMavDisplayItem.h"

#include <cstring>

CMavItemMatrix& CMavItemMatrix::operator=(const CMavMatrix3d& m)
{
    if (std::memcmp(&m, &CMavMatrix3d::kIdentity, sizeof(CMavMatrix3d)) == 0)
        m_m.reset();
    else if (m_m)
        *m_m = m;
    else
        m_m.reset(new CMavMatrix3d(m));
    return *this;
}

CMavItemMatrix& CMavItemMatrix::operator*=(const CMavMatrix3d& m)
{
    CMavMatrix3d product = get();
    product *= m;
    return *this = product;
}

// A copy starts as a default item and takes every field by assignment, so that both paths share one rule.
CMavDisplayItem::CMavDisplayItem(const CMavDisplayItem& other) : CMavObj()
{
    *this = other;
}

CMavDisplayItem::~CMavDisplayItem() = default;

const CMavDisplayItemRare& CMavDisplayItem::rareDefault()
{
    static const CMavDisplayItemRare value;
    return value;
}

CMavDisplayItemRare& CMavDisplayItem::rareEdit()
{
    if (!m_rare)
        m_rare.reset(new CMavDisplayItemRare());
    return *m_rare;
}

// Copies every field in record order; arrays are copied element by element, so the copy shares nothing with the
// source. Assigning an item to itself leaves it as it is.
CMavDisplayItem& CMavDisplayItem::operator=(const CMavDisplayItem& other)
{
    if (this == &other)
        return *this;
    m_kind = other.m_kind;
    m_flags = other.m_flags;
    m_stack = other.m_stack;
    m_color = other.m_color;
    m_lineType = other.m_lineType;
    m_ltScale = other.m_ltScale;
    m_vl = other.m_vl;
    m_mtx = other.m_mtx;
    m_thickness = other.m_thickness;
    if (other.m_rare)
        rareEdit() = *other.m_rare;
    else
        m_rare.reset();
    return *this;
}
