// Texts as regions from the host: what is sent to the host's LISP function and how its answers are taken.
#include <gtest/gtest.h>

#include "generators/text_to_regl.h"
#include "platform/CMavApp.h"
#include "platform/resbuf.h"

namespace {

using Regions = CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>;

// Installs a fake host function for the duration of a test and removes it afterwards.
struct FakeHost {
    std::wstring sentText;
    explicit FakeHost(const wchar_t* answer, int rc = RTNORM)
    {
        const std::wstring reply = answer ? answer : L"";
        MAV::CDefaultApp::instance().lispRegister(
            L"mav_text_to_regl", [this, reply, rc](const resbuf* args, MAV::CSmartResbuf& out) {
                sentText = MAV::rbToText(args).c_str();
                if (!reply.empty())
                    out.reset(MAV::rbToList(reply.c_str()));
                return rc;
            });
    }
    ~FakeHost() { MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", nullptr); }
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
    stale();
    EXPECT_FALSE(mav_text_to_regl(&item, regions, 1.0));
    EXPECT_TRUE(regions.isEmpty());
    FakeHost host(L"((((0 0) (1 0) (1 1))))");
    EXPECT_FALSE(mav_text_to_regl(nullptr, regions, 1.0));
    EXPECT_TRUE(host.sentText.empty());
    EXPECT_TRUE(mav_text_to_regl(&item, regions, 1.0));
}
