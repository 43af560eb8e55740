// Texts as regions from the host: what is sent to the host's LISP function, how its answers are taken, and the
// built-in answer with the library's own font.
#include <gtest/gtest.h>

#include "data/CMavApp.h"
#include "data/resbuf.h"
#include "geometry/font.h"
#include "geometry/text_to_regl.h"

namespace
{

using Regions = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

// Stands in for the host function for the duration of a test and puts back the one it replaced.
struct FakeHost {
    std::wstring sentText;
    MAV::CDefaultApp::LispFn replaced;
    explicit FakeHost(const wchar_t* answer, int rc = RTNORM)
    {
        const std::wstring reply = answer ? answer : L"";
        replaced = MAV::CDefaultApp::instance().lispRegister(
            L"mav_text_to_regl", [this, reply, rc](const resbuf* args, MAV::CSmartResbuf& out) {
                sentText = MAV::rbToText(args).c_str();
                if (!reply.empty())
                    out.reset(MAV::rbToList(reply.c_str()));
                return rc;
            });
    }
    ~FakeHost() { MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", std::move(replaced)); }
};

CMavDataDir textItem(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> pairs)
{
    CMavDataDir item;
    for (const auto& p : pairs)
        item.setAt(CMavDataKey(p.first), p.second);
    return item;
}

} // namespace

// The host gets the item's own LISP list followed by the height as a real; its answer, a list of regions of
// point lists, comes back as closed outlines. A failed call, a string, nil, a list that is not of regions, no host
// function and no item give false and an empty list.
TEST(TextToReglTest, SendsTheItemWithTheHeightAndTakesTheRegionsOrNothing)
{
    const CMavDataDir item = textItem({{L"TXT", L"AB"}});
    Regions regions{CMavArrayTempl<CMavVertexArray>()}; // stale content goes away
    {
        FakeHost host(L"((((0 0) (2 0) (2 1) (0 1)) ((0.5 0.25) (1 0.25) (1 0.5))) (((3 0) (4 0) (4 1))))");
        ASSERT_TRUE(mav_text_to_regl(&item, regions, 2.5));
        MAV::CSmartResbuf sent(MAV::rbToList(host.sentText.c_str())), own(MAV::rbToList(item.mkLisp().c_str()));
        ASSERT_EQ(sent.len(), own.len() + 1) << host.sentText;
        const resbuf* last = sent.head();
        while (last->rbnext)
            last = last->rbnext;
        EXPECT_EQ(last->restype, RTREAL);
        EXPECT_DOUBLE_EQ(last->resval.rreal, 2.5);
        ASSERT_TRUE(regions.len() == 2 && regions[0].len() == 2 && regions[1].len() == 1);
        EXPECT_TRUE(regions[0][0].len() == 4 && regions[0][0].isClosed() && regions[0][1].len() == 3);
        EXPECT_DOUBLE_EQ(regions[1][0][1].end.y, 1.0);
    }
    const struct {
        const wchar_t* answer;
        int rc;
    } failures[] = {
        {L"((((0 0) (1 0) (1 1))))", RTERROR}, {L"\"not a list\"", RTNORM}, {L"nil", RTNORM}, {L"(1 2 3)", RTNORM}};
    for (const auto& f : failures) {
        FakeHost host(f.answer, f.rc);
        regions = Regions{CMavArrayTempl<CMavVertexArray>()};
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0) || !regions.isEmpty()) << f.answer;
        EXPECT_FALSE(mav_text_to_regl(nullptr, regions, 1.0));
    }
    MAV::CDefaultApp::LispFn builtin = MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", nullptr);
    EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
    MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", std::move(builtin));
}

TEST(TextToReglTest, DefaultHostLaysTheTextOutWithTheBuiltInFontAtTheHeight)
{
    const CMavDataDir item = textItem({{L"TXT", L"Ab"}, {L"ALIGN", L"TR"}});
    Regions regions;
    ASSERT_TRUE(mav_text_to_regl(&item, regions, 2.5));
    const Regions font = MAV::fontTextLayout(L"Ab", L"TR", CMavPoint3d());
    ASSERT_EQ(regions.len(), font.len());
    EXPECT_TRUE(regions[1][1][2].isEqualTo(CMavVertex(font[1][1][2].start * 2.5, font[1][1][2].end * 2.5, 0), 1e-9));
    // Keys are found in any case but whole; refused: no text pair, a height of 0 or a huge one, and a text of
    // characters without glyphs.
    const CMavDataDir lower = textItem({{L"txt", L"A"}});
    EXPECT_TRUE(mav_text_to_regl(&lower, regions, 1.0));
    const struct {
        CMavDataDir item;
        double height;
    } refused[] = {{textItem({{L"ALIGN", L"TL"}}), 1.0},
                   {textItem({{L"TXTX", L"A"}}), 1.0},
                   {item, 0.0},
                   {item, 1e300},
                   {textItem({{L"TXT", L"   "}}), 1.0}};
    for (const auto& r : refused) {
        regions = Regions{CMavArrayTempl<CMavVertexArray>()};
        EXPECT_FALSE(mav_text_to_regl(&r.item, regions, r.height)) << &r - refused;
        EXPECT_TRUE(regions.isEmpty());
    }
}
