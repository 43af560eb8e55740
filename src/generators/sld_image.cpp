// Slide image: the slide decoder with a sink that adds display items instead of drawing.
//
// Every line and filled polygon becomes its own item under the caller's stack path extended by a per-item
// counter (1, 2, 3, ...), so a host can address each piece of the slide as a group. Coordinates are slide dots
// (z = 0), placed by the caller's matrix. The colour is the AutoCAD index of the last colour record; before the
// first one it is a default colour. A filled polygon carries the "filled" bit of the flag word; since a slide
// outlines its fills with lines of its own, that bit is cleared for everything after the first fill.
#include "generators/sld_image.h"

#include <vector>

#include "gdx/CMavGDX.h"
#include "geometry/orient.h"
#include "slide/slide.h"
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "data/patterns.h"

namespace {

constexpr unsigned long kFlagFilled = 0x1;
constexpr unsigned long kFlagHidden = 0x4;
constexpr unsigned long kPointModeDefault = 0xFFFFFFFFul;

class CSldImageSink : public CMavSlideSink {
public:
    CSldImageSink(CMavGDX* gdx, unsigned long flags, const CMavArrayTempl<int>& stack, const CMavMatrix3d& mtx)
        : m_gdx(gdx), m_flags(flags), m_stack(stack), m_mtx(mtx)
    {
        m_stack.append(1);
        m_lineType.append(1.0);
    }

    void slideLine(MAV::SlidePoint_st from, MAV::SlidePoint_st to) override
    {
        CMavVertexArray vl;
        vl.append(point(from), point(to));
        m_gdx->imageVl(m_stack, m_flags, vl, m_colour, m_mtx, m_lineType, 1.0, 0);
        next();
    }

    void slidePolygon(const MAV::SlidePoint_st* vertices, int count) override
    {
        // A polygon of a single vertex has no outline; it occurs only in broken slides.
        if (count < 2)
            return;
        CMavArrayTempl<CMavPoint3d> points;
        for (int i = 0; i < count; ++i)
            points.append(point(vertices[i]));
        points.append(point(vertices[0]));
        CMavArrayTempl<CMavVertexArray> regions;
        regions.append(CMavVertexArray::fromPoints(points, true));
        mav_vl_orient(regions[0]);
        m_gdx->imageReg(m_stack, m_flags | kFlagFilled, regions, m_colour, m_mtx, m_lineType, 1.0, 0, m_colour,
                        MAV::CHatchProp());
        m_flags &= ~kFlagFilled;
        next();
    }

    void slideColor(int index) override { m_colour.setColorIndex(index); }

    int added() const { return m_stack[m_stack.len() - 1] - 1; }

private:
    static CMavPoint3d point(MAV::SlidePoint_st p) { return CMavPoint3d(p.x, p.y, 0.0); }
    void next() { ++m_stack[m_stack.len() - 1]; }

    CMavGDX* m_gdx;
    unsigned long m_flags;
    CMavArrayTempl<int> m_stack;
    CMavMatrix3d m_mtx;
    CMavArrayTempl<double> m_lineType;
    CMavColor m_colour;
};

// Counts the items a slide will add, so that the list can make room for all of them at once.
class CSldCountSink : public CMavSlideSink {
public:
    void slideLine(MAV::SlidePoint_st, MAV::SlidePoint_st) override { ++m_count; }
    void slidePolygon(const MAV::SlidePoint_st*, int count) override { m_count += count >= 2 ? 1 : 0; }
    void slideColor(int) override {}
    int count() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace

bool mav_gdx_image_sld_data(CMavGDX* gdx, const unsigned char* slide, unsigned long size, unsigned long flags,
                            CMavDataItem* parameters)
{
    if (!gdx || !slide)
        return false;
    CMavArrayTempl<int> stack;
    CMavMatrix3d mtx;
    if (parameters) {
        const CMavDataKey stackKey(L"STACK");
        if (!parameters->get(stack, stackKey)) {
            int single = 0;
            if (parameters->get(single, stackKey))
                stack.append(single);
        }
        parameters->get(mtx, CMavDataKey(L"MTX"));
    }
    // Fresh decoders: a level-1 slide, which has no byte-order word, is read low byte first. Decoding is cheap
    // next to making items, so a first pass counts them and the list grows once.
    const size_t bytes = static_cast<size_t>(size & 0xFFFFFFFFul);
    CSldCountSink counter;
    CMavSlideDecoder(MAV::kSlideOrderSame).decode(slide, bytes, counter);
    // Room for at most a million items ahead: a larger slide still gets its items, the list growing as usual.
    gdx->reserveItems(counter.count() < (1 << 20) ? counter.count() : (1 << 20));
    CSldImageSink sink(gdx, flags, stack, mtx);
    CMavSlideDecoder(MAV::kSlideOrderSame).decode(slide, bytes, sink);
    return sink.added() > 0;
}

bool mav_gdx_image_sld(CMavGDX* gdx, const wchar_t* slideName, const wchar_t* libraryPath, unsigned long flags,
                       CMavDataItem* parameters)
{
    if (!slideName || !gdx)
        return false;
    if (CMavString(slideName).compareNoCase(L"LEER") == 0) {
        gdx->imagePt(CMavArrayTempl<int>(), kFlagHidden, CMavPoint3d(0.0, 0.0, 0.0), CMavColor(), CMavMatrix3d(),
                     0.0, kPointModeDefault);
        return true;
    }
    if (!libraryPath)
        return false;
    std::vector<unsigned char> bytes;
    if (!MAV::slideLibraryLoad(libraryPath, slideName, bytes) || bytes.empty())
        return false;
    return mav_gdx_image_sld_data(gdx, bytes.data(), static_cast<unsigned long>(bytes.size()), flags, parameters);
}
