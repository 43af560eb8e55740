// Texts as regions from the host: what is sent to the host's LISP function and how its answers are taken.
#include <gtest/gtest.h>

#include "geometry/font.h"
#include "geometry/text_to_regl.h"
#include "data/CMavApp.h"
#include "data/resbuf.h"

namespace {

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

CMavDataDir textItem()
{
    CMavDataDir item;
    item.setAt(CMavDataKey(L"TXT"), L"AB");
    return item;
}

}  // namespace

TEST(TextToReglTest, SendsTheItemWithTheHeightAndTakesTheRegions)
{
    FakeHost host(L"((((0 0) (2 0) (2 1) (0 1)) ((0.5 0.25) (1 0.25) (1 0.5))) (((3 0) (4 0) (4 1))))");
    const CMavDataDir item = textItem();
    Regions regions;
    regions.append(CMavArrayTempl<CMavVertexArray>());  // stale content goes away
    ASSERT_TRUE(mav_text_to_regl(&item, regions, 2.5));

    // The item's own LISP list followed by the height as a real.
    const std::wstring expected = std::wstring(item.mkLisp().c_str());
    ASSERT_GE(host.sentText.size(), 4u);
    EXPECT_NE(host.sentText.find(L"TXT"), std::wstring::npos) << host.sentText;
    EXPECT_NE(host.sentText.find(L"2.5"), std::wstring::npos) << host.sentText;
    MAV::CSmartResbuf sent(MAV::rbToList(host.sentText.c_str()));
    ASSERT_FALSE(sent.isEmpty());
    const resbuf* last = sent.head();
    while (last->rbnext)
        last = last->rbnext;
    EXPECT_EQ(last->restype, RTREAL);
    EXPECT_DOUBLE_EQ(last->resval.rreal, 2.5);
    // Everything before the height is the item's list unchanged.
    MAV::CSmartResbuf own(MAV::rbToList(expected.c_str()));
    EXPECT_EQ(sent.len(), own.len() + 1);

    ASSERT_EQ(regions.len(), 2);
    ASSERT_EQ(regions[0].len(), 2);
    EXPECT_EQ(regions[0][0].len(), 4);  // closed back to the first vertex
    EXPECT_TRUE(regions[0][0].isClosed());
    EXPECT_EQ(regions[0][1].len(), 3);
    EXPECT_EQ(regions[1].len(), 1);
    EXPECT_DOUBLE_EQ(regions[1][0][1].end.y, 1.0);
}

TEST(TextToReglTest, FailuresGiveFalseAndAnEmptyList)
{
    const CMavDataDir item = textItem();
    Regions regions;
    auto stale = [&regions] {
        regions.removeAll();
        regions.append(CMavArrayTempl<CMavVertexArray>());
    };
    {
        FakeHost host(L"((((0 0) (1 0) (1 1))))", RTERROR);
        stale();
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
        EXPECT_TRUE(regions.isEmpty());
    }
    {
        FakeHost host(L"\"not a list\"");
        stale();
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
        EXPECT_TRUE(regions.isEmpty());
    }
    {
        FakeHost host(L"nil");
        stale();
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
        EXPECT_TRUE(regions.isEmpty());
    }
    {
        FakeHost host(L"(1 2 3)");  // a list, but not of regions
        stale();
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
        EXPECT_TRUE(regions.isEmpty());
    }
    // No host function at all, and no item.
    {
        MAV::CDefaultApp::LispFn builtin =
            MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", nullptr);
        stale();
        EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
        EXPECT_TRUE(regions.isEmpty());
        MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", std::move(builtin));
    }
    FakeHost host(L"((((0 0) (1 0) (1 1))))");
    EXPECT_FALSE(mav_text_to_regl(nullptr, regions, 1.0));
    EXPECT_TRUE(host.sentText.empty());
    EXPECT_TRUE(mav_text_to_regl(&item, regions, 1.0));
}

TEST(TextToReglTest, DefaultHostLaysTheTextOutWithTheBuiltInFontAtTheHeight)
{
    CMavDataDir item;
    item.setAt(CMavDataKey(L"TXT"), L"Ab");
    item.setAt(CMavDataKey(L"ALIGN"), L"TR");
    Regions regions;
    ASSERT_TRUE(mav_text_to_regl(&item, regions, 2.5));
    const Regions font = MAV::fontTextLayout(L"Ab", L"TR", CMavPoint3d());
    ASSERT_EQ(regions.len(), font.len());
    for (int r = 0; r < font.len(); ++r) {
        ASSERT_EQ(regions[r].len(), font[r].len());
        for (int o = 0; o < font[r].len(); ++o) {
            ASSERT_EQ(regions[r][o].len(), font[r][o].len());
            EXPECT_TRUE(regions[r][o].isClosed());
            for (int v = 0; v < font[r][o].len(); ++v) {
                EXPECT_NEAR(regions[r][o][v].start.x, 2.5 * font[r][o][v].start.x, 1e-9);
                EXPECT_NEAR(regions[r][o][v].start.y, 2.5 * font[r][o][v].start.y, 1e-9);
                EXPECT_EQ(regions[r][o][v].bulge, 0.0);
            }
        }
    }

    // Refused: no text pair, a height of 0, and a text of characters without glyphs.
    CMavDataDir noText;
    noText.setAt(CMavDataKey(L"ALIGN"), L"TL");
    EXPECT_FALSE(mav_text_to_regl(&noText, regions, 1.0));
    EXPECT_FALSE(mav_text_to_regl(&item, regions, 0.0));
    CMavDataDir blank;
    blank.setAt(CMavDataKey(L"TXT"), L"   ");
    EXPECT_FALSE(mav_text_to_regl(&blank, regions, 1.0));
    EXPECT_TRUE(regions.isEmpty());
}
