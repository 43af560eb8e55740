// The display list: construction, copying, per-item and list-level access, colour table, removal, flag words and
// the extents.
//
// Vocabulary: the "extents" are the box (min, max) of every item not flagged 0x8 after the full chain of
// matrices (item, second, projection, view direction); the "view extents" are the box a view is fitted to. A
// "group" is selected by a stack path (see StackToItemNr).
//
// Speed: recomputing the extents walks every item, and walking means transforming every polyline. To keep that
// affordable when operations change the flags of many items, each item's box under the current projection and
// view direction is remembered (m_boxes); a recomputation then transforms only items whose box is not known yet
// and widens the remembered boxes in list order. Operations that would recompute after every one of k items
// recompute once at the end: nothing can observe the extents in between, and a fresh widening in list order
// gives bit for bit the value that the last of the k recomputations would give.
//
// Bad input has defined results and never stops the list:
//  - Coordinates or matrices with NaN or infinity are stored as given. Boxes are widened with MAV::p_min/p_max,
//    which keep the value they already hold when a comparison fails: NaN in the first counted box stays in
//    the extents, NaN in a later box is passed over (placing by a matrix spreads a NaN to every coordinate). In the hit test a point or segment whose
//    distance comes out NaN is not hit (the comparison with the tolerance fails).
//  - A matrix without an inverse (singular or not finite) is passed over where one is needed: mtxSet then uses
//    D = m (the base library's inverse of it is the identity), imagePtWc skips that step of the chain.
//  - getViewMtx gives the identity for an empty, inverted or not finite box.
//  - Empty paths select nothing in the group operations (redraw: everything); an item with an empty path
//    reports 0 as its group in the hit test. Empty polylines and regions without outlines have the origin as
//    their box. Item numbers outside the list read a default item; negative ones count from the end.
//  - Item counts are ints: a list holds at most INT_MAX items, far more than memory allows for items of this
//    size; nothing here allocates more than the items themselves plus, once a full recomputation has run, one
//    remembered box (56 bytes) per item.
#include "gdx/CMavGDX.h"

#include <climits>
#include <cstring>

#include "gdx/gdxBox.h"
#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "data/config.h"
#include "base/g_vl.h"

namespace {

// An unsigned 32-bit field value as int, wrapping as a two's complement store would.
int u32ToInt(std::uint32_t v)
{
    return v <= 0x7FFFFFFFu ? static_cast<int>(v) : static_cast<int>(static_cast<long long>(v) - 0x100000000LL);
}

bool sameBits(const CMavMatrix3d& a, const CMavMatrix3d& b)
{
    return std::memcmp(a.m, b.m, sizeof a.m) == 0;
}

// The default host's drill drawing adds its polylines here: group {1} (the drill's own group when the drill
// generator is called without a stack path), the given flags and colour, already placed, solid, scale 1.
void drillSinkAdd(CMavGDX* gdx, const CMavArrayTempl<CMavVertexArray>& polylines, const CMavColor& colour,
                  unsigned long flags)
{
    if (!gdx)
        return;
    const CMavArrayTempl<int> stack{1};
    const CMavArrayTempl<double> solid{1.0};
    for (const CMavVertexArray& vl : polylines)
        gdx->imageVl(stack, flags, vl, colour, CMavMatrix3d(), solid, 1.0, 0);
}

struct DrillSinkInstaller {
    DrillSinkInstaller() { MAV::CDefaultApp::drillSinkSet(&drillSinkAdd); }
};
const DrillSinkInstaller g_drillSinkInstaller;

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Construction and copying

// The background is the host's background colour (an OLE colour). From the configuration item "KRV_MENU\COLOR":
// "PDSIZE" (double) and "PDMODE" become the point defaults (else 0.0 and 0), and the children "HIGHLIGHT",
// "REFER", "AXIS", "BASE" and "AUX" become colour modes 1-5 in this order (a missing child gives a default
// colour), so a new list has five table entries.
CMavGDX::CMavGDX()
{
    if (CMavApp* app = mavAppPtr())
        m_backColor.setOleColor(app->bkColorGet());
    const CMavDataItem* cfg = MAV::cfg_get(L"KRV_MENU\\COLOR");
    double size = 0.0;
    unsigned long mode = 0;
    if (cfg && cfg->get(size, CMavDataKey(L"PDSIZE")))
        m_pdSize = size;
    if (cfg && cfg->get(mode, CMavDataKey(L"PDMODE")))
        m_pdMode = static_cast<std::uint32_t>(mode & 0xFFFFFFFFul);
    static const struct {
        GDX_CMODE mode;
        const wchar_t* key;
    } kTable[] = {{GDX_CMODE_HIGHLIGHT, L"HIGHLIGHT"},
                  {GDX_CMODE_REFER, L"REFER"},
                  {GDX_CMODE_AXIS, L"AXIS"},
                  {GDX_CMODE_BASE, L"BASE"},
                  {GDX_CMODE_AUX, L"AUX"}};
    for (const auto& entry : kTable)
        ColorTabSet(entry.mode, MAV::color_from_data(cfg ? cfg->get(entry.key) : nullptr));
}

CMavGDX::CMavGDX(const CMavColor& background, const CMavMatrix3d& projection, double pointSize,
                 unsigned long pointMode, const CMavPoint3d& viewMin, const CMavPoint3d& viewMax)
    : m_backColor(background), m_pdSize(pointSize), m_pdMode(static_cast<std::uint32_t>(pointMode & 0xFFFFFFFFul)),
      m_projMtx(projection), m_viewMin(viewMin), m_viewMax(viewMax)
{
    m_boxProj = m_projMtx;
}

CMavGDX::CMavGDX(const CMavGDX& other) : CMavObj()
{
    *this = other;
}

CMavGDX::~CMavGDX() = default;

// Copies every field in record order, items and colour table deep. The remembered boxes go along: they belong
// to the same items and matrices.
CMavGDX& CMavGDX::operator=(const CMavGDX& other)
{
    if (this == &other)
        return *this;
    m_backColor = other.m_backColor;
    m_pdSize = other.m_pdSize;
    m_pdMode = other.m_pdMode;
    m_projMtx = other.m_projMtx;
    m_viewMtx = other.m_viewMtx;
    m_zoomMtx = other.m_zoomMtx;
    m_extMin = other.m_extMin;
    m_extMax = other.m_extMax;
    m_viewMin = other.m_viewMin;
    m_viewMax = other.m_viewMax;
    m_items = other.m_items;
    m_colorTab = other.m_colorTab;
    m_vdirMtx = other.m_vdirMtx;
    m_boxes = other.m_boxes;
    m_boxProj = other.m_boxProj;
    m_boxVdir = other.m_boxVdir;
    return *this;
}

// ---------------------------------------------------------------------------------------------------------------
// Per-item read access. The array's read-only access gives a default item for numbers at or beyond the end and
// counts negative numbers from the end.

MavDisplayObj CMavGDX::typeGet(int item) const
{
    return m_items.at(item).m_kind;
}

unsigned long CMavGDX::flagGet(int item) const
{
    return m_items.at(item).m_flags;
}

const CMavColor& CMavGDX::colorGet(int item) const
{
    return m_items.at(item).m_color;
}

const CMavColor& CMavGDX::fcolorGet(int item) const
{
    return m_items.at(item).rare().m_fcolor;
}

const CMavArrayTempl<double>& CMavGDX::linetypeGet(int item) const
{
    return m_items.at(item).m_lineType;
}

double CMavGDX::ltscaleGet(int item) const
{
    return m_items.at(item).m_ltScale;
}

int CMavGDX::thicknGet(int item) const
{
    return m_items.at(item).m_thickness;
}

const CMavMatrix3d& CMavGDX::mtxGet(int item) const
{
    return m_items.at(item).m_mtx;
}

void CMavGDX::geomGet(CMavPoint3d& point, int item) const
{
    point = m_items.at(item).rare().m_point;
}

void CMavGDX::geomGet(CMavVertexArray& polyline, int item) const
{
    polyline = m_items.at(item).m_vl;
}

void CMavGDX::geomGet(CMavArrayTempl<CMavVertexArray>& regions, int item) const
{
    regions = m_items.at(item).rare().m_regl;
}

void CMavGDX::geomGet(CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& textRegions, int item) const
{
    textRegions = m_items.at(item).rare().m_txtRegl;
}

unsigned long CMavGDX::pdModeGet(int item) const
{
    const std::uint32_t own = m_items.at(item).rare().m_pdMode;
    return own < Mav::kGdxPdModeUnset ? own : m_pdMode;
}

double CMavGDX::pdSizeGet(int item) const
{
    const double own = m_items.at(item).rare().m_pdSize;
    return own != 0.0 ? own : m_pdSize;
}

bool CMavGDX::hatchGet(int item, MAV::CHatchProp& hatch) const
{
    if (static_cast<unsigned>(item) >= static_cast<unsigned>(m_items.len()))
        return false;
    hatch = m_items.data()[item].rare().m_hatch;
    return true;
}

const wchar_t* CMavGDX::txtGet(int item) const
{
    return m_items.at(item).rare().m_text.c_str();
}

const wchar_t* CMavGDX::txtAlignGet(int item) const
{
    return m_items.at(item).rare().m_align.c_str();
}

CMavPoint3d CMavGDX::txtPointGet(int item) const
{
    return m_items.at(item).rare().m_point;
}

bool CMavGDX::pictureGet(int item, CMavString& fileName, int& iconId) const
{
    const CMavDisplayItem& it = m_items.at(item);
    fileName = it.rare().m_text;
    iconId = u32ToInt(it.rare().m_pdMode);
    return it.rare().m_pdMode != Mav::kGdxNoIcon || !it.rare().m_text.isEmpty();
}

// ---------------------------------------------------------------------------------------------------------------
// Colour table

bool CMavGDX::ColorTabSet(GDX_CMODE mode, const CMavColor& colour)
{
    const int m = static_cast<int>(mode);
    if (m < 1 || m > 14)
        return false;
    m_colorTab[m - 1] = colour; // a writable access beyond the end grows the table with default colours
    return true;
}

// Entry mode-1 with the array's read-only access: beyond the table a default colour; mode 0 reads entry -1,
// which is the last entry of a table of two or more.
const CMavColor& CMavGDX::colorTabGet(GDX_CMODE mode) const
{
    const long long index = static_cast<long long>(mode) - 1;
    if (index < -static_cast<long long>(m_colorTab.len()) - 1)
        return CMavArrayTempl<CMavColor>::sharedDefault();
    return m_colorTab.at(static_cast<int>(index));
}

// ---------------------------------------------------------------------------------------------------------------
// Flag words

// Property codes: 1/2 show/hide (0x4), 3/4 count in / leave out of the extents (0x8), 5/6 outline (0x10),
// 7/8 picture without geometry (0x20), 9/10 picture option (0x40).
bool CMavGDX::flagApply(int item, unsigned long code)
{
    if (item < 0 || item >= m_items.len())
        return false;
    std::uint32_t& f = m_items.data()[item].m_flags;
    switch (code) {
    case 1: f &= ~0x4u; break;
    case 2: f |= 0x4u; break;
    case 3: f &= ~0x8u; break;
    case 4: f |= 0x8u; break;
    case 5: f |= 0x10u; break;
    case 6: f &= ~0x10u; break;
    case 7: f |= 0x20u; break;
    case 8: f &= ~0x20u; break;
    case 9: f |= 0x40u; break;
    case 10: f &= ~0x40u; break;
    default: return false;
    }
    return true;
}

void CMavGDX::flagSet(int item, unsigned long code)
{
    if (flagApply(item, code))
        projMtxSet(m_projMtx);
}

void CMavGDX::cFlagSet(int item, GDX_CMODE mode)
{
    if (item < 0 || item >= m_items.len())
        return;
    std::uint32_t& f = m_items.data()[item].m_flags;
    f = (f & 0xFFu) | ((static_cast<std::uint32_t>(mode) & 15u) << 8);
}

// ---------------------------------------------------------------------------------------------------------------
// Extents

void CMavGDX::projMtxSet(const CMavMatrix3d& m)
{
    m_projMtx = m;
    extentsRecompute();
}

void CMavGDX::extentsStore(const CMavPoint3d& min, const CMavPoint3d& max)
{
    m_extMin = min;
    m_extMax = max;
}

// Quick update by a new item's box: a point box (as after clear() or after one point item) is replaced,
// anything else is widened.
void CMavGDX::extentsWiden(const CMavPoint3d& lo, const CMavPoint3d& hi)
{
    if (m_extMin == m_extMax) {
        m_extMin = lo;
        m_extMax = hi;
    } else {
        m_extMin = MAV::p_min(m_extMin, lo);
        m_extMax = MAV::p_max(m_extMax, hi);
    }
}

void CMavGDX::boxesInvalidateAll()
{
    for (ItemBox& b : m_boxes)
        b.state = 0;
}

void CMavGDX::itemGeometryChanged(int item)
{
    if (item >= 0 && static_cast<std::size_t>(item) < m_boxes.size())
        m_boxes[static_cast<std::size_t>(item)].state = 0;
}

// Full recomputation: start at the origin; the first item (in list order) that is not flagged 0x8 and has a box
// sets the extents to its box, every later one widens them. With no such item they stay at the origin.
void CMavGDX::extentsRecompute()
{
    if (!sameBits(m_boxProj, m_projMtx) || !sameBits(m_boxVdir, m_vdirMtx)) {
        boxesInvalidateAll();
        m_boxProj = m_projMtx;
        m_boxVdir = m_vdirMtx;
    }
    const int n = m_items.len();
    if (m_boxes.size() != static_cast<std::size_t>(n))
        m_boxes.assign(static_cast<std::size_t>(n), ItemBox());

    CMavPoint3d lo = CMavPoint3d::kOrigin;
    CMavPoint3d hi = CMavPoint3d::kOrigin;
    bool first = true;
    const CMavDisplayItem* items = m_items.data();
    for (int i = 0; i < n; ++i) {
        if (items[i].m_flags & Mav::kGdxNoExtents)
            continue;
        ItemBox& b = m_boxes[static_cast<std::size_t>(i)];
        if (b.state == 0)
            b.state = MAV::gdx::itemFullBox(items[i], m_projMtx, m_vdirMtx, b.lo, b.hi) ? 2 : 1;
        if (b.state != 2)
            continue;
        if (first) {
            lo = b.lo;
            hi = b.hi;
            first = false;
        } else {
            lo = MAV::p_min(lo, b.lo);
            hi = MAV::p_max(hi, b.hi);
        }
    }
    m_extMin = lo;
    m_extMax = hi;
}

// The count comes from a host and is only a hint: room is made for at most kReserveHintMax more items, so that a
// wrong or hostile count (two billion items would be hundreds of gigabytes) cannot make the allocation fail and
// throw out of the library. A list that really grows beyond it still grows, item by item.
void CMavGDX::reserveItems(int count)
{
    constexpr int kReserveHintMax = 1 << 16;
    if (count <= 0)
        return;
    if (count > kReserveHintMax)
        count = kReserveHintMax;
    if (count > INT_MAX - m_items.len())
        return;
    m_items.reserve(m_items.len() + count);
    if (!m_boxes.empty())
        m_boxes.reserve(static_cast<std::size_t>(m_items.len() + count));
}

// The remembered boxes come into being with the first full recomputation (which sizes them to the list); until
// then a list costs nothing beyond its items. A slide of half a million lines is filled with quick extents
// updates only and never needs them. Once they exist they stay in step with every appended item.
int CMavGDX::appendItem(CMavDisplayItem&& item)
{
    const int nr = m_items.append(std::move(item));
    if (!m_boxes.empty())
        m_boxes.resize(static_cast<std::size_t>(m_items.len()));
    return nr;
}

void CMavGDX::boxesReorder(const std::vector<int>& order)
{
    if (m_boxes.empty())
        return;
    std::vector<ItemBox> fresh(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t from = static_cast<std::size_t>(order[i]);
        if (from < m_boxes.size())
            fresh[i] = m_boxes[from];
    }
    m_boxes.swap(fresh);
}

// ---------------------------------------------------------------------------------------------------------------
// Removal

bool CMavGDX::removeItem(int item)
{
    if (m_items.isEmpty() || static_cast<unsigned>(item) > static_cast<unsigned>(m_items.len() - 1))
        return false;
    m_items.removeAt(item);
    if (static_cast<std::size_t>(item) < m_boxes.size())
        m_boxes.erase(m_boxes.begin() + item);
    projMtxSet(m_projMtx);
    return true;
}

// Removes every item of the group. Removing them one by one from the highest number down, with a recomputation
// after each, leaves the remaining items in order and the extents of the remaining items; one compacting pass
// and one recomputation give the same.
bool CMavGDX::clear(const CMavArrayTempl<int>& stack)
{
    if (stack.isEmpty())
        return false;
    const int n = m_items.len();
    CMavDisplayItem* items = m_items.data();
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (MAV::gdx::pathStartsWith(items[i].m_stack, stack))
            continue;
        if (kept != i) {
            items[kept] = std::move(items[i]);
            if (static_cast<std::size_t>(i) < m_boxes.size())
                m_boxes[static_cast<std::size_t>(kept)] = m_boxes[static_cast<std::size_t>(i)];
        }
        ++kept;
    }
    if (kept == n)
        return false;
    m_items.setLogicalLength(kept);
    if (m_boxes.size() > static_cast<std::size_t>(kept))
        m_boxes.resize(static_cast<std::size_t>(kept));
    projMtxSet(m_projMtx);
    return true;
}

bool CMavGDX::removeItemStack(const CMavArrayTempl<int>& stack)
{
    if (m_items.isEmpty() || stack.isEmpty())
        return false;
    return clear(stack);
}

void CMavGDX::clear()
{
    m_items.removeAll();
    m_boxes.clear();
    m_extMin = m_extMax = CMavPoint3d::kOrigin;
    m_viewMin = m_viewMax = CMavPoint3d::kOrigin;
}
