// Built-in outline font: the glyph table and its lookup.
//
// Vocabulary: a glyph is a list of regions; a region is a list of closed outlines of straight segments, the first
// the outer boundary and the others its holes. The glyph table holds one entry per character code, sorted by code.
#include "geometry/font.h"

#include "geometry/orient.h"
#include "base/CMavString.h"
#include "base/g_vl.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace {

using Glyph = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

struct GlyphEntry {
    std::uint16_t code = 0;
    Glyph glyph;    // as the font defines it; lookups hand out copies of this
    Glyph oriented; // the same with every outline turned counter-clockwise about +Z, as the layout places it
    // Box of `oriented` in the cell: the first region's first outline widened by those of the others. Valid when
    // every region has a non-empty first outline (hasBox), which holds for every glyph of the font.
    bool hasBox = false;
    CMavPoint3d boxMin, boxMax;
};

// The box of a glyph in the cell, measured as the layout measures a placed glyph; false when a region has no
// first outline to measure (the layout then measures the placed glyph itself).
bool cellBox(const Glyph& glyph, CMavPoint3d& boxMin, CMavPoint3d& boxMax)
{
    if (glyph.len() == 0)
        return false;
    for (int r = 0; r < glyph.len(); ++r) {
        CMavPoint3d lo, hi;
        if (glyph[r].len() == 0 || !glyph[r][0].extents(lo, hi))
            return false;
        boxMin = r == 0 ? lo : MAV::p_min(boxMin, lo);
        boxMax = r == 0 ? hi : MAV::p_max(boxMax, hi);
    }
    return true;
}

// The layout turns every outline counter-clockwise before it moves it. Turning does not depend on where the glyph
// is placed, so it is done once per glyph when the table is filled instead of once per character laid out.
Glyph orientedCopy(const Glyph& glyph)
{
    Glyph out(glyph);
    for (int r = 0; r < out.len(); ++r)
        mav_vll_orient(out[r]);
    return out;
}

// The process-wide table: a sorted array of entry pointers with its count and capacity. It is filled on the first
// lookup and only read afterwards; its entries live until the library is unloaded.
struct GlyphTable {
    GlyphEntry** entries = nullptr;
    std::uint32_t count = 0;
    std::uint32_t capacity = 0;

    GlyphTable() = default;
    GlyphTable(const GlyphTable&) = delete;
    GlyphTable& operator=(const GlyphTable&) = delete;
    ~GlyphTable()
    {
        for (std::uint32_t i = 0; i < count; ++i)
            delete entries[i];
        delete[] entries;
    }

    // Index of the entry with `code`, or -1. The step starts at the highest power of two not above the count and
    // probes step - 1; a probe at or past the end counts as greater than the code.
    long find(std::uint16_t code) const
    {
        if (count == 0)
            return -1;
        std::uint32_t step = 1;
        while (step <= count / 2)
            step <<= 1;
        long index = static_cast<long>(step) - 1;
        for (;;) {
            int cmp;  // sign of (entry code - code)
            if (index >= static_cast<long>(count))
                cmp = 1;
            else
                cmp = entries[index]->code < code ? -1 : (entries[index]->code > code ? 1 : 0);
            if (cmp == 0)
                return index;
            step >>= 1;
            if (step == 0)
                return -1;
            index += cmp < 0 ? static_cast<long>(step) : -static_cast<long>(step);
        }
    }

    // Inserts the glyph in code order; an existing code gets the new glyph.
    void insert(std::uint16_t code, Glyph&& glyph)
    {
        std::uint32_t pos = 0;
        while (pos < count && entries[pos]->code < code)
            ++pos;
        if (pos < count && entries[pos]->code == code) {
            GlyphEntry& e = *entries[pos];
            e.oriented = orientedCopy(glyph);
            e.hasBox = cellBox(e.oriented, e.boxMin, e.boxMax);
            e.glyph = std::move(glyph);
            return;
        }
        if (count == capacity) {
            std::uint32_t grown = capacity == 0 ? 16 : capacity * 2;
            GlyphEntry** fresh = new GlyphEntry*[grown];
            for (std::uint32_t i = 0; i < count; ++i)
                fresh[i] = entries[i];
            delete[] entries;
            entries = fresh;
            capacity = grown;
        }
        for (std::uint32_t i = count; i > pos; --i)
            entries[i] = entries[i - 1];
        auto* entry = new GlyphEntry;
        entry->code = code;
        entry->oriented = orientedCopy(glyph);
        entry->hasBox = cellBox(entry->oriented, entry->boxMin, entry->boxMax);
        entry->glyph = std::move(glyph);
        entries[pos] = entry;
        ++count;
    }
};

GlyphTable& table()
{
    static GlyphTable t;
    return t;
}

// The outline data: per glyph its code, its region count, and per region its outline count, then per outline
// its point count and the points in thousandths.
const std::int16_t kGlyphData[] = {
#include "geometry/font_glyphs.inc"
};
const std::size_t kGlyphDataLen = sizeof(kGlyphData) / sizeof(kGlyphData[0]);

// Builds the glyphs whose codes lie in [lo, hi] from the outline data, segment by segment.
void buildGroup(int lo, int hi)
{
    std::size_t i = 0;
    while (i + 1 < kGlyphDataLen) {
        const int code = kGlyphData[i++];
        const int nRegions = kGlyphData[i++];
        Glyph glyph;
        for (int r = 0; r < nRegions; ++r) {
            CMavArrayTempl<CMavVertexArray> region;
            const int nOutlines = kGlyphData[i++];
            for (int o = 0; o < nOutlines; ++o) {
                const int nPoints = kGlyphData[i++];
                CMavVertexArray outline;
                CMavPoint3d prev;
                for (int p = 0; p < nPoints; ++p) {
                    const CMavPoint3d pt(kGlyphData[i] / 1000.0, kGlyphData[i + 1] / 1000.0, 0.0);
                    i += 2;
                    if (p > 0)
                        outline.append(prev, pt);
                    prev = pt;
                }
                region.append(std::move(outline));
            }
            glyph.append(std::move(region));
        }
        if (code >= lo && code <= hi)
            table().insert(static_cast<std::uint16_t>(code), std::move(glyph));
    }
}

void fillTable()
{
    // The groups in the order the font has always been assembled in; each code goes into its sorted place.
    buildGroup(33, 46);
    buildGroup(47, 57);
    buildGroup(58, 64);
    buildGroup(65, 90);
    buildGroup(91, 96);
    buildGroup(97, 122);
    buildGroup(123, 126);
    for (int c : {177, 178, 179, 186, 188, 189, 190})
        buildGroup(c, c);
    for (int c : {196, 228, 214, 246, 220, 252, 223})
        buildGroup(c, c);
}

GlyphTable& filledTable()
{
    GlyphTable& t = table();
    if (t.count == 0)
        fillTable();
    return t;
}

Glyph lookup(std::uint32_t code)
{
    const GlyphTable& t = filledTable();
    const long index = t.find(static_cast<std::uint16_t>(code & 0xFFFFu));
    return index < 0 ? Glyph() : t.entries[index]->glyph;
}

}  // namespace

CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> get_ascii_from_map(int code)
{
    return lookup(static_cast<std::uint32_t>(code));
}

CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> get_ascii_from_map(wchar_t code)
{
    return lookup(static_cast<std::uint32_t>(code));
}

namespace MAV {

unsigned fontGlyphCount()
{
    return filledTable().count;
}

int fontGlyphCode(unsigned index)
{
    const GlyphTable& t = filledTable();
    return index < t.count ? t.entries[index]->code : -1;
}

namespace {

// The shift that the alignment code gives a text of width w and height h (bottom left: none).
CMavVector3d alignmentShift(const wchar_t* alignment, double w, double h)
{
    const CMavString align(alignment);
    double dx = 0.0, dy = 0.0;
    if (align == L"TL") {
        dy = -h;
    } else if (align == L"TC") {
        dx = -w / 2;
        dy = -h;
    } else if (align == L"TR") {
        dx = -w;
        dy = -h;
    } else if (align == L"CL") {
        dy = -h / 2;
    } else if (align == L"CC") {
        dx = -w / 2;
        dy = -h / 2;
    } else if (align == L"CR") {
        dx = -w;
        dy = -h / 2;
    } else if (align == L"BC") {
        dx = -w / 2;
    } else if (align == L"BR") {
        dx = -w;
    }
    return CMavVector3d(dx, dy, 0.0);
}

// A point moved by a and then by b, each step rounded as a move of its own rounds it.
inline void moveTwice(CMavPoint3d& p, const CMavVector3d& a, const CMavVector3d& b)
{
    p.x = (p.x + a.x) + b.x;
    p.y = (p.y + a.y) + b.y;
    p.z = (p.z + a.z) + b.z;
}

} // namespace

// The text's width W counts the gap after the last glyph 0.3 shorter than the 0.5 added; its height H is the
// highest top of any placed glyph box, so it includes the insertion point's y.
//
// Speed: a first pass over the text finds each character's entry, counts the regions and, from the glyphs'
// boxes in the cell, finds each glyph's place and the alignment, so the result is made once at its final size
// and each region is copied from the pre-turned glyph at its exact size and moved to its place in one pass (the
// move to the glyph's place and the alignment's move each rounded as before). The arithmetic is the same as
// turning, moving and measuring a fresh copy per character and moving the whole for the alignment, so the
// outlines come out bit for bit the same. A glyph without a box (none of the font's) is measured after it is
// placed, and the alignment then moves the whole text afterwards.
CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> fontTextLayout(const wchar_t* text, const wchar_t* alignment,
                                                               const CMavPoint3d& point)
{
    const GlyphTable& t = filledTable();
    int regions = 0;
    bool boxes = true;
    double x = 0.0;
    double h = 0.0;
    // The box of a placed glyph widens the text: the next glyph starts after it.
    auto advance = [&x, &h](const CMavPoint3d& boxMin, const CMavPoint3d& boxMax) {
        x += std::fabs(boxMin.x - boxMax.x) + 0.5;
        h = std::fmax(h, boxMax.y);
    };
    for (const wchar_t* c = text; c && *c; ++c) {
        const long index = t.find(static_cast<std::uint16_t>(static_cast<std::uint32_t>(*c) & 0xFFFFu));
        if (index < 0)
            continue;
        const GlyphEntry& entry = *t.entries[index];
        regions += entry.oriented.len();
        boxes = boxes && entry.hasBox;
        // The box of the moved glyph is its cell box moved: adding the same number to every coordinate keeps
        // their order (rounding is monotonic) and no coordinate of the font is a negative zero, so the smallest
        // and largest moved coordinates are exactly the moved smallest and largest.
        if (boxes && entry.oriented.len() > 0) {
            const CMavVector3d shift(point.x + x, point.y, point.z);
            advance(entry.boxMin + shift, entry.boxMax + shift);
        }
    }
    const CMavVector3d none(0.0, 0.0, 0.0);
    const CMavVector3d align = boxes ? alignmentShift(alignment, x - 0.3, h) : none;
    // Without a move for the alignment a coordinate is moved once (a second move by zero would turn -0 into 0).
    const bool aligned = align.x != 0.0 || align.y != 0.0;
    Glyph result;
    result.reserve(regions);
    x = 0.0;
    h = 0.0;
    for (const wchar_t* c = text; c && *c; ++c) {
        const long index = t.find(static_cast<std::uint16_t>(static_cast<std::uint32_t>(*c) & 0xFFFFu));
        if (index < 0)
            continue;
        const GlyphEntry& entry = *t.entries[index];
        const Glyph& glyph = entry.oriented;
        const CMavVector3d shift(point.x + x, point.y, point.z);
        CMavPoint3d boxMin, boxMax;
        for (int r = 0; r < glyph.len(); ++r) {
            result.append(glyph.data()[r]);
            CMavArrayTempl<CMavVertexArray>& region = result.data()[result.len() - 1];
            for (int o = 0; o < region.len(); ++o) {
                if (aligned) {
                    for (CMavVertex& v : region.data()[o]) {
                        moveTwice(v.start, shift, align);
                        moveTwice(v.end, shift, align);
                    }
                } else {
                    region.data()[o].move(shift);
                }
            }
            if (boxes)
                continue;
            CMavPoint3d lo, hi;
            if (region.len() > 0 && region.data()[0].extents(lo, hi)) {
                if (r == 0) {
                    boxMin = lo;
                    boxMax = hi;
                } else {
                    boxMin = MAV::p_min(boxMin, lo);
                    boxMax = MAV::p_max(boxMax, hi);
                }
            }
        }
        if (glyph.len() == 0)
            continue;
        if (boxes)
            advance(entry.boxMin + shift, entry.boxMax + shift);
        else
            advance(boxMin, boxMax);
    }
    if (!boxes) {
        const CMavVector3d late = alignmentShift(alignment, x - 0.3, h);
        if (late.x != 0.0 || late.y != 0.0)
            for (CMavArrayTempl<CMavVertexArray>& region : result)
                for (CMavVertexArray& outline : region)
                    outline.move(late);
    }
    return result;
}

}  // namespace MAV
