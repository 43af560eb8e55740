// The display item record: copying and destruction.
#include "gdx/CMavDisplayItem.h"

// A copy starts as a default item and takes every field by assignment, so that both paths share one rule.
CMavDisplayItem::CMavDisplayItem(const CMavDisplayItem& other) : CMavObj()
{
    *this = other;
}

CMavDisplayItem::~CMavDisplayItem() = default;

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
    m_point = other.m_point;
    m_pdMode = other.m_pdMode;
    m_pdSize = other.m_pdSize;
    m_vl = other.m_vl;
    m_regl = other.m_regl;
    m_mtx = other.m_mtx;
    m_fcolor = other.m_fcolor;
    m_thickness = other.m_thickness;
    m_hatch = other.m_hatch;
    m_resText = other.m_resText;
    m_resVector = other.m_resVector;
    m_mtx2 = other.m_mtx2;
    m_align = other.m_align;
    m_text = other.m_text;
    m_txtRegl = other.m_txtRegl;
    return *this;
}
