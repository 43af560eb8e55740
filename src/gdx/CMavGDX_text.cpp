// Text items of the display list: regions the host draws for a text data item, and strings laid out with the
// built-in font, with the setters that lay them out again.
#include <utility>

#include "gdx/CMavGDX.h"
#include "gdx/gdxBox.h"
#include "geometry/font.h"
#include "geometry/text_to_regl.h"

using MAV::gdx::low32;

bool CMavGDX::imageTxt(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavDataItem* text,
                       const CMavColor& colour, const CMavMatrix3d& matrix, double height)
{
    if (!text || !text->isDir())
        return false;
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions;
    if (!mav_text_to_regl(text, regions, height))
        return false;
    CMavDisplayItem item;
    item.m_kind = kDispText;
    item.m_flags = low32(flags) | Mav::kGdxFilled;
    item.m_stack = stack;
    item.m_color = colour;
    item.rareEdit().m_fcolor = colour;
    item.m_mtx = matrix;
    item.m_thickness = 0;
    item.rareEdit().m_txtRegl = std::move(regions);
    appendItem(std::move(item));
    if (!(low32(flags) & Mav::kGdxNoExtents))
        projMtxSet(m_projMtx);
    return true;
}

bool CMavGDX::imageTxt(const CMavArrayTempl<int>& stack, unsigned long flags, const wchar_t* text,
                       const CMavColor& colour, const CMavMatrix3d& matrix, const wchar_t* alignment,
                       const CMavPoint3d& point)
{
    CMavDisplayItem item;
    item.m_kind = kDispText;
    item.m_flags = low32(flags);
    item.m_stack = stack;
    item.m_color = colour;
    item.rareEdit().m_point = point;
    item.m_mtx = matrix;
    item.rareEdit().m_text = CMavString(text);
    item.rareEdit().m_align = CMavString(alignment);
    item.m_lineType = CMavArrayTempl<double>({1.0, 0.0, 0.0});
    item.m_ltScale = 0.0;
    item.m_thickness = 0;
    // The layout recomputes the whole extents, which already leaves out an item flagged so; a second pass
    // would find the same box.
    txtReglUpd(appendItem(std::move(item)));
    return true;
}

bool CMavGDX::txtSet(const CMavArrayTempl<int>& stack, const wchar_t* text)
{
    if (!text)
        return false;
    const CMavArrayTempl<int> items = StackToItemNr(stack);
    for (int i = 0; i < items.len(); ++i) {
        itemRef(items[i]).rareEdit().m_text = CMavString(text);
        txtReglUpd(items[i]);
    }
    return true;
}

bool CMavGDX::txtAlignSet(const CMavArrayTempl<int>& stack, const wchar_t* alignment)
{
    if (!alignment)
        return false;
    const CMavArrayTempl<int> items = StackToItemNr(stack);
    for (int i = 0; i < items.len(); ++i) {
        itemRef(items[i]).rareEdit().m_align = CMavString(alignment);
        txtReglUpd(items[i]);
    }
    return true;
}

void CMavGDX::txtPointSet(const CMavArrayTempl<int>& stack, CMavPoint3d point)
{
    const CMavArrayTempl<int> items = StackToItemNr(stack);
    for (int i = 0; i < items.len(); ++i) {
        itemRef(items[i]).rareEdit().m_point = point;
        txtReglUpd(items[i]);
    }
}

// The layout itself belongs to the font (MAV::fontTextLayout); the item takes its result, its remembered box is
// dropped and the extents are computed again.
void CMavGDX::txtReglUpd(int item)
{
    if (item < 0 || item >= m_items.len())
        return;
    CMavDisplayItem& it = itemRef(item);
    CMavDisplayItemRare& rare = it.rareEdit();
    // The old outlines go first: the new ones then take the memory just given back instead of new memory.
    rare.m_txtRegl = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>();
    rare.m_txtRegl = MAV::fontTextLayout(rare.m_text.c_str(), rare.m_align.c_str(), rare.m_point);
    itemGeometryChanged(item);
    projMtxSet(m_projMtx);
}
