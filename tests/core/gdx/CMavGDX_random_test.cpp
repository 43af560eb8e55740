// Seeded random lists: the bulk operations give the same items and extents as the plain versions that
// recompute after every single change, the extents always equal a recomputation from scratch, the drawing order
// is the plain stable ranking, and the hit test reports the first item of the topmost hit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "../../../bench/gdx_reference.h"
#include "gdx/CMavGDX.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace
{

class RandomLists
{
  public:
    explicit RandomLists(unsigned seed) : m_rng(seed) {}

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }
    bool chance(double p) { return real(0.0, 1.0) < p; }

    CMavArrayTempl<int> randomPath(int maxDepth)
    {
        CMavArrayTempl<int> p;
        for (int i = uniform(0, maxDepth); i > 0; --i)
            p.append(uniform(1, 5));
        return p;
    }
    CMavMatrix3d randomMatrix()
    {
        if (chance(0.4))
            return CMavMatrix3d();
        return CMavMatrix3d::translation(CMavVector3d(real(-50, 50), real(-50, 50), real(-5, 5))) *
               CMavMatrix3d::rotation(real(0, 6.28), CMavVector3d::kZAxis) * CMavMatrix3d::scaling(real(0.2, 3.0));
    }
    CMavVertexArray randomPolyline(int maxSegments)
    {
        CMavVertexArray vl;
        CMavPoint3d at(real(-100, 100), real(-100, 100), real(-3, 3));
        for (int i = uniform(1, maxSegments); i > 0; --i) {
            const CMavPoint3d next(at.x + real(-20, 20), at.y + real(-20, 20), at.z);
            vl.append(at, next, chance(0.3) ? real(-3, 3) : 0.0);
            at = next;
        }
        return vl;
    }
    unsigned long randomFlags()
    {
        unsigned long f = static_cast<unsigned long>(uniform(0, 0x7F));
        if (chance(0.7))
            f &= ~0x8ul;
        return f | (static_cast<unsigned long>(uniform(0, 15)) << 8);
    }

    // Adds one random item named `id` (thickness; points: their own point size; pictures: the icon id).
    void addItem(CMavGDX& g, int id)
    {
        const int kind = uniform(0, 99);
        const CMavArrayTempl<int> st = randomPath(3);
        const CMavArrayTempl<double> solid;
        if (kind < 40) {
            g.imageVl(st, randomFlags(), randomPolyline(4), CMavColor(), randomMatrix(), solid, 0.0,
                      static_cast<unsigned long>(id));
        } else if (kind < 60) {
            g.imagePt(st, randomFlags(), CMavPoint3d(real(-100, 100), real(-100, 100), 0), CMavColor(), randomMatrix(),
                      static_cast<double>(id), 0xFFFFFFFFul);
        } else if (kind < 80) {
            CMavArrayTempl<CMavVertexArray> regions;
            for (int o = chance(0.05) ? 0 : uniform(1, 3); o > 0; --o)
                regions.append(randomPolyline(5));
            g.imageReg(st, randomFlags(), regions, CMavColor(), randomMatrix(), solid, 0.0,
                       static_cast<unsigned long>(id), CMavColor(), MAV::CHatchProp());
        } else if (kind < 85) {
            g.imagePicture(st, randomFlags(), L"pic", id, CMavPoint3d(real(-9, 9), 0, 0), CMavPoint3d(5, 5, 0));
        } else {
            // Items only a copy can bring: texts, a second matrix.
            CMavDisplayItem it;
            it.m_stack = st;
            it.m_flags = static_cast<std::uint32_t>(randomFlags());
            it.m_thickness = id;
            it.m_mtx = randomMatrix();
            const int sub = uniform(0, 2);
            if (sub == 0) {
                it.m_kind = kDispText;
                for (int r = uniform(0, 3); r > 0; --r) {
                    CMavArrayTempl<CMavVertexArray> region;
                    region.append(randomPolyline(3));
                    it.rareEdit().m_txtRegl.append(region);
                }
            } else {
                it.m_kind = sub == 1 ? kDispPolyline : kDispPoint;
                it.m_vl = randomPolyline(3);
                it.rareEdit().m_point = CMavPoint3d(real(-100, 100), real(-100, 100), real(-1, 1));
                it.rareEdit().m_mtx2 = randomMatrix();
            }
            CMavArrayTempl<CMavDisplayItem> one;
            one.append(it);
            g.addDisplayList(one);
        }
    }

  private:
    std::mt19937 m_rng;
};

int idOf(const CMavDisplayItem& it)
{
    if (it.m_kind == kDispPoint && it.rare().m_pdSize != 0.0)
        return static_cast<int>(it.rare().m_pdSize);
    if (it.m_kind == kDispPicture)
        return static_cast<int>(it.rare().m_pdMode);
    return it.m_thickness;
}

std::vector<int> ids(const CMavGDX& g)
{
    std::vector<int> out;
    for (const CMavDisplayItem& it : g.getDisplayList())
        out.push_back(idOf(it));
    return out;
}

// The same items in the same order with the same flags, paths and matrices, and the same extents bit for bit.
void expectSameItems(const CMavGDX& a, const CMavGDX& b, int step)
{
    ASSERT_EQ(ids(a), ids(b)) << "step " << step;
    for (int i = 0; i < a.lenGet(); ++i) {
        const CMavDisplayItem& x = a.getDisplayList()[i];
        const CMavDisplayItem& y = b.getDisplayList()[i];
        ASSERT_TRUE(x.m_flags == y.m_flags && x.m_stack == y.m_stack && x.m_mtx == y.m_mtx)
            << "step " << step << " item " << i;
    }
    CMavPoint3d box[4];
    a.extmaxGet(box[0], box[1]);
    b.extmaxGet(box[2], box[3]);
    EXPECT_EQ(std::memcmp(&box[0], &box[2], 2 * sizeof box[0]), 0) << "step " << step;
}

void expectExtentsFromScratch(const CMavGDX& a, int step)
{
    CMavPoint3d box[4];
    a.extmaxGet(box[0], box[1]);
    gdxref::extentsFromScratch(a, box[2], box[3]);
    EXPECT_EQ(std::memcmp(&box[0], &box[2], 2 * sizeof box[0]), 0) << "step " << step;
}

void runRandomSession(unsigned seed, int itemCount, int steps, bool wholeListOk)
{
    RandomLists rnd(seed);
    CMavGDX fast = plainList();
    int nextId = 1;
    for (int i = 0; i < itemCount; ++i)
        rnd.addItem(fast, nextId++);
    fast.projMtxSet(rnd.randomMatrix());
    gdxref::RefGDX ref(fast);
    expectExtentsFromScratch(fast, -1);

    static const wchar_t* const kViews[] = {L"P", L"N", L"S", L"O", L"W", L"NO", L"NW", L"SO", L"SW", L"Q"};
    for (int step = 0; step < steps; ++step) {
        const int op = rnd.uniform(0, 10);
        // Groups mostly two levels deep (a few dozen items); the whole list only where the plain version is cheap.
        const int depthDraw = rnd.uniform(0, 99);
        CMavArrayTempl<int> st;
        if (depthDraw >= 5 || !wholeListOk)
            st.append(rnd.uniform(1, 5));
        if (depthDraw >= 15)
            st.append(rnd.uniform(1, 5));
        const unsigned long code = static_cast<unsigned long>(rnd.uniform(0, 12));
        bool recomputes = false;
        switch (op) {
        case 0:
            EXPECT_EQ(fast.propSet(st, code), ref.propSetPlain(st, code));
            recomputes = !fast.StackToItemNr(st).isEmpty();
            break;
        case 1:
            EXPECT_EQ(fast.redraw(st, code), ref.redrawPlain(st, code));
            break;
        case 2: {
            const CMavMatrix3d m = rnd.randomMatrix();
            EXPECT_EQ(fast.mtxSet(st, m), ref.mtxSet(st, m));
            recomputes = !fast.StackToItemNr(st).isEmpty();
            break;
        }
        case 3:
            EXPECT_EQ(fast.clear(st), ref.clearPlain(st));
            break;
        case 4: {
            const GDX_CMODE mode = static_cast<GDX_CMODE>(rnd.uniform(0, 15));
            EXPECT_EQ(fast.cModeSet(st, mode), ref.cModeSetPlain(st, mode));
            break;
        }
        case 5: {
            const CMavMatrix3d m = rnd.randomMatrix();
            fast.projMtxSet(m);
            ref.projMtxSet(m);
            recomputes = true;
            break;
        }
        case 6: {
            const CMavString name(kViews[rnd.uniform(0, 9)]);
            EXPECT_EQ(fast.viewDirectionSet(name), ref.viewDirectionSet(name));
            recomputes = true;
            break;
        }
        case 8: {
            const CMavPoint3d p(rnd.real(-150, 150), rnd.real(-150, 150), 0);
            EXPECT_EQ(fast.imageItemGet(p), ref.hitPlain(p)) << "step " << step;
            break;
        }
        case 9: { // the same random item for both lists, from two generators with one seed
            const unsigned itemSeed = static_cast<unsigned>(rnd.uniform(0, 1 << 30));
            RandomLists a(itemSeed), b(itemSeed);
            a.addItem(fast, nextId);
            b.addItem(ref, nextId);
            ++nextId;
            break;
        }
        default: {
            // Sorted like the plain ranking; a list already in order is left alone.
            fast.displListSort();
            ref.sortPlain();
            const CMavDisplayItem* storage = fast.getDisplayList().data();
            fast.displListSort();
            EXPECT_EQ(fast.getDisplayList().data(), storage);
            break;
        }
        }
        expectSameItems(fast, ref, step);
        if (recomputes)
            expectExtentsFromScratch(fast, step);
    }
}

} // namespace

TEST(CMavGDXRandom, BulkOperationsMatchThePlainVersionsOnRandomLists)
{
    for (unsigned seed : {1u, 2u})
        runRandomSession(seed, 250, 80, false);
    runRandomSession(3u, 120, 120, true); // small enough for whole-list selections
}
