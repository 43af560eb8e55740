// The display list: an ordered array of display items with colours, point defaults, the matrices that carry the
// items to the screen, and the boxes the view is fitted to.
#pragma once

#include <cstdint>
#include <vector>

#include "gdx/CMavDisplayItem.h"
#include "data/CMavDataItem.h"
#include "base/CMavArray.h"
#include "data/CMavColor.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavObj.h"
#include "base/CMavPoint3d.h"
#include "base/CMavString.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"
#include "data/patterns.h"

class CMavGDX : public CMavObj {
public:
    // Background from the host application, point defaults and colour modes 1-5 from "KRV_MENU\COLOR".
    CMavGDX();
    // Explicit values; the colour table stays empty and no configuration is read.
    CMavGDX(const CMavColor& background, const CMavMatrix3d& projection, double pointSize, unsigned long pointMode,
            const CMavPoint3d& viewMin, const CMavPoint3d& viewMax);
    CMavGDX(const CMavGDX& other);
    CMavGDX& operator=(const CMavGDX& other);
    ~CMavGDX() override;

    // ---- item creation (CMavGDX_items.cpp)
    void imageVl(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavVertexArray& polyline,
                 const CMavColor& colour, const CMavMatrix3d& matrix, const CMavArrayTempl<double>& linePattern,
                 double patternScale, unsigned long thickness);
    void imagePt(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavPoint3d& point,
                 const CMavColor& colour, const CMavMatrix3d& matrix, double pointSize, unsigned long pointMode);
    void imageReg(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavArrayTempl<CMavVertexArray>& regions,
                  const CMavColor& colour, const CMavMatrix3d& matrix, const CMavArrayTempl<double>& linePattern,
                  double patternScale, unsigned long thickness, const CMavColor& fillColour,
                  const MAV::CHatchProp& hatch);
    void imagePicture(const CMavArrayTempl<int>& stack, unsigned long flags, const wchar_t* fileName, int iconId,
                      const CMavPoint3d& corner1, const CMavPoint3d& corner2);
    bool addDisplayList(const CMavArrayTempl<CMavDisplayItem>& items);

    // ---- groups (CMavGDX_items.cpp)
    CMavArrayTempl<int> StackToItemNr(const CMavArrayTempl<int>& stack) const;
    int stackGet() const;
    int stackGet(const CMavArrayTempl<int>& stack) const;
    void itemStackGet(CMavArrayTempl<int>& stack, int item) const;

    bool mtxSet(const CMavArrayTempl<int>& stack, const CMavMatrix3d& m);
    bool cModeSet(const CMavArrayTempl<int>& stack, GDX_CMODE mode);
    bool propSet(const CMavArrayTempl<int>& stack, unsigned long code);
    bool hatchSet(const CMavArrayTempl<int>& stack, const MAV::CHatchProp& hatch);
    bool pdModeSet(const CMavArrayTempl<int>& stack, unsigned long mode);
    bool pdSizeSet(const CMavArrayTempl<int>& stack, double size);
    bool redraw(const CMavArrayTempl<int>& stack, unsigned long code);

    // ---- per-item read access (out-of-range numbers read a default item; negatives count from the end)
    MavDisplayObj typeGet(int item) const;
    unsigned long flagGet(int item) const;
    const CMavColor& colorGet(int item) const;
    const CMavColor& fcolorGet(int item) const;
    const CMavArrayTempl<double>& linetypeGet(int item) const;
    double ltscaleGet(int item) const;
    int thicknGet(int item) const;
    const CMavMatrix3d& mtxGet(int item) const;
    void geomGet(CMavPoint3d& point, int item) const;
    void geomGet(CMavVertexArray& polyline, int item) const;
    void geomGet(CMavArrayTempl<CMavVertexArray>& regions, int item) const;
    void geomGet(CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& textRegions, int item) const;
    unsigned long pdModeGet(int item) const;
    double pdSizeGet(int item) const;
    bool hatchGet(int item, MAV::CHatchProp& hatch) const;
    const wchar_t* txtGet(int item) const;
    const wchar_t* txtAlignGet(int item) const;
    CMavPoint3d txtPointGet(int item) const;
    bool pictureGet(int item, CMavString& fileName, int& iconId) const;

    // ---- list-level access
    int lenGet() const { return m_items.len(); }
    const CMavArrayTempl<CMavDisplayItem>& getDisplayList() const { return m_items; }
    const CMavColor& backColorGet() const { return m_backColor; }
    void backColorSet(const CMavColor& colour) { m_backColor = colour; }
    double pdSizeGet() const { return m_pdSize; }
    void pdSizeSet(double size) { m_pdSize = size; }
    unsigned long pdModeGet() const { return m_pdMode; }
    void pdModeSet(unsigned long mode) { m_pdMode = static_cast<std::uint32_t>(mode & 0xFFFFFFFFul); }
    const CMavMatrix3d& projMtxGet() const { return m_projMtx; }
    const CMavMatrix3d& viewMtxGet() const { return m_viewMtx; }
    void viewMtxSet(const CMavMatrix3d& m) { m_viewMtx = m; }
    const CMavMatrix3d& zoomMtxGet() const { return m_zoomMtx; }
    void zoomMtxSet(const CMavMatrix3d& m) { m_zoomMtx = m; }
    const CMavMatrix3d& viewDirectionMtxGet() const { return m_vdirMtx; }

    // Projection matrix = m, then the extents are recomputed from all items.
    void projMtxSet(const CMavMatrix3d& m);

    // ---- colour table: entry mode-1 holds the colour of colour mode 1-14
    bool ColorTabSet(GDX_CMODE mode, const CMavColor& colour);
    const CMavColor& colorTabGet(GDX_CMODE mode) const;
    int ColorTabLenGet() const { return m_colorTab.len(); }

    // ---- removal
    bool clear(const CMavArrayTempl<int>& stack);
    bool removeItemStack(const CMavArrayTempl<int>& stack);
    void clear();

    // ---- view direction, boxes and inverse mapping (CMavGDX_view.cpp)
    void viewDirectionMtxSet(const CMavMatrix3d& m);
    void viewDirectionHvcSet(const CMavVector3d& dir);
    bool viewDirectionSet(CMavString name);
    void extmaxGet(CMavPoint3d& min, CMavPoint3d& max) const;
    bool extmaxGet(const CMavArrayTempl<int>& stack, CMavPoint3d& min, CMavPoint3d& max) const;
    void extMaxViewSet(const CMavPoint3d& min, const CMavPoint3d& max);
    void extMaxViewSet();
    void extMaxViewGet(CMavPoint3d& min, CMavPoint3d& max) const;
    CMavPoint3d imagePtWc(const CMavPoint3d& imagePoint) const;

    // Makes room for `count` more items, for a caller that knows how many it is about to add: the items already
    // in the list are then moved once at most, not at every growth of the list. Counts of 65,536 and more reserve
    // 65,536; counts of 0 and less nothing.
    void reserveItems(int count);

    // ---- drawing order and hit test (CMavGDX_order.cpp)
    void displListSort();
    int imageItemGet(const CMavPoint3d& imagePoint);

    // ---- text items (CMavGDX_text.cpp)
    // Regions the host draws for a text data item (false, nothing added, when it cannot); kind 5, always filled.
    bool imageTxt(const CMavArrayTempl<int>& stack, unsigned long flags, const CMavDataItem* text,
                  const CMavColor& colour, const CMavMatrix3d& matrix, double height);
    // A string laid out with the built-in font at the insertion point, shifted by the alignment code.
    bool imageTxt(const CMavArrayTempl<int>& stack, unsigned long flags, const wchar_t* text,
                  const CMavColor& colour, const CMavMatrix3d& matrix, const wchar_t* alignment,
                  const CMavPoint3d& point);
    // Setters for every item of the group, whatever its kind; each lays the item's text out again.
    bool txtSet(const CMavArrayTempl<int>& stack, const wchar_t* text);
    bool txtAlignSet(const CMavArrayTempl<int>& stack, const wchar_t* alignment);
    void txtPointSet(const CMavArrayTempl<int>& stack, CMavPoint3d point);

protected:
    // Applies a property code (1-10) to one item and recomputes the extents; other codes do nothing.
    void flagSet(int item, unsigned long code);
    // Flag word = (flag word & 0xFF) | ((mode & 15) << 8).
    void cFlagSet(int item, GDX_CMODE mode);
    bool removeItem(int item);
    // Rebuilds the item's text regions from its text, alignment and insertion point; the extents follow.
    void txtReglUpd(int item);

    // For operations that change an item's geometry in place (text layout): the item as writable, and the
    // notice that its cached box must be computed again. Call itemGeometryChanged after every such change.
    CMavDisplayItem& itemRef(int item) { return m_items[item]; }
    void itemGeometryChanged(int item);
    // Applies a property code to the flag word without touching the extents; false for an unknown code.
    bool flagApply(int item, unsigned long code);
    // Stores the extents as given (for derived lists that compute them their own way).
    void extentsStore(const CMavPoint3d& min, const CMavPoint3d& max);
    // Appends an item, keeping the box cache in step; returns its number.
    int appendItem(CMavDisplayItem&& item);
    // The quick widening of the extents by one new item's box (see CMavGDX.cpp).
    void extentsWiden(const CMavPoint3d& lo, const CMavPoint3d& hi);
    // The full recomputation of the extents from every item.
    void extentsRecompute();

private:
    // Calls f(item number) for every item of the group: paths that begin with `stack`, or equal it when `exact`.
    // False, calling nothing, for an empty path or when no item belongs to the group (CMavGDX_items.cpp).
    template <class F>
    bool forGroup(const CMavArrayTempl<int>& stack, bool exact, F f);

    // Box of one item as the full recomputation sees it, remembered between recomputations.
    struct ItemBox {
        CMavPoint3d lo;
        CMavPoint3d hi;
        std::uint8_t state = 0; // 0 not computed, 1 the item has no box, 2 lo/hi hold its box
    };

    void boxesInvalidateAll();
    void boxesReorder(const std::vector<int>& order);
    // Puts item order[i] at number i (order is a permutation of all item numbers), moving the items.
    void itemsReorder(const std::vector<int>& order);

    // Fields in record order.
    CMavColor m_backColor;
    double m_pdSize = 0.0;
    std::uint32_t m_pdMode = 0;
    CMavMatrix3d m_projMtx;
    CMavMatrix3d m_viewMtx;
    CMavMatrix3d m_zoomMtx;
    CMavPoint3d m_extMin;
    CMavPoint3d m_extMax;
    CMavPoint3d m_viewMin;
    CMavPoint3d m_viewMax;
    CMavArrayTempl<CMavDisplayItem> m_items;
    CMavArrayTempl<CMavColor> m_colorTab;
    CMavMatrix3d m_vdirMtx;

    // Not part of the list's value: one remembered box per item (same numbering as m_items) and the projection
    // and view direction they were computed with. A change of either matrix makes every box stale.
    std::vector<ItemBox> m_boxes;
    CMavMatrix3d m_boxProj;
    CMavMatrix3d m_boxVdir;
};

// The matrix that fits the box min-max into a window of height x width pixels (0 means 240 x 320), with a margin
// of `margin` times the box's larger side, centred, y pointing down. An empty or non-finite box gives the identity.
CMavMatrix3d getViewMtx(CMavPoint3d min, CMavPoint3d max, int height, int width, double margin);
