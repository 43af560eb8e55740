// Materials: the shipped sample library, properties and codes, labels, parents and loaded files.
#include <gtest/gtest.h>

#include <string>

#include "data/materials.h"
#include "mav_test_data.h"

namespace {
class Materials : public testing::Test {
protected:
    void SetUp() override { CMavMatMgr::reset(); }
    void TearDown() override { CMavMatMgr::reset(); }
    CMavMatMgr mgr;
};
} // namespace

TEST_F(Materials, SampleLibraryAndDrawingNameOnlyMaterialsThatExist)
{
    CMavArrayTempl<CMavString> all, drawing;
    const int n = mgr.matDrawAll(all, false);
    EXPECT_EQ(mgr.matDrawAll(drawing, true), 3);
    EXPECT_EQ(n, all.len());
    EXPECT_GE(n, 20);
    EXPECT_EQ(all[0], L"BUCHE");
    EXPECT_EQ(all[n - 3], drawing[0]); // the drawing's materials come last
    for (const CMavString& d : drawing)
        EXPECT_TRUE(mgr.isShadowMat(d.c_str()));
    EXPECT_FALSE(mgr.isShadowMat(L"BUCHE") || mgr.isShadowMat(nullptr));
    // Every material can be read, and every sub-material, edge band and parent it names exists.
    for (const CMavString& name : all) {
        MAV::CMatProp p;
        ASSERT_TRUE(mgr.propGet(name.c_str(), p)) << name.utf8();
        for (const CMavString& s : p.subs)
            EXPECT_TRUE(all.contains(s)) << name.utf8() << " sub " << s.utf8();
        for (const CMavString& e : p.edges)
            EXPECT_TRUE(all.contains(e)) << name.utf8() << " edge " << e.utf8();
        EXPECT_TRUE(p.parent.isEmpty() || all.contains(p.parent)) << name.utf8();
        EXPECT_FALSE(mgr.matLabel(name.c_str(), L"de").isEmpty()) << name.utf8();
    }

    // Materials under an integer key or an empty name were once listed as "7" and "" and then answered nothing.
    const std::string path = std::string(MAV_TEST_DATA_DIR) + "/findings/material_without_a_findable_name.dat";
    ASSERT_TRUE(CMavMatMgr::load(std::wstring(path.begin(), path.end()).c_str()));
    mgr.matDrawAll(all, false);
    mgr.matDrawAll(drawing, true);
    int n1 = 0, eiche = 0;
    for (const CMavString& name : drawing) {
        EXPECT_NE(name, CMavString(L"-1"));
        n1 += name == CMavString(L"N1");
    }
    for (const CMavString& name : all) {
        MAV::CMatProp p;
        EXPECT_TRUE(mgr.propGet(name.c_str(), p)) << name.utf8();
        EXPECT_NE(name, CMavString(L"7"));
        EXPECT_FALSE(name.isEmpty());
        eiche += name == CMavString(L"EICHE");
    }
    EXPECT_EQ(n1 * 10 + eiche, 11);
}

TEST_F(Materials, PropertiesCodesLabelsAndParents)
{
    MAV::CMatProp p;
    ASSERT_TRUE(mgr.propGet(L"buche", p)); // names ignore case
    EXPECT_EQ(p.name + L" " + p.hatch, L"BUCHE WOOD");
    EXPECT_EQ(p.physCode * 10 + p.edgeCode, 20);
    EXPECT_EQ(p.physKeys, (CMavArrayTempl<CMavString>{L"DENSITY", L"LAMBDA", L"MU"})); // sorted
    EXPECT_TRUE(p.hasPhysKey(L"lambda") && !p.hasPhysKey(L"FIRE"));
    EXPECT_EQ(p.edges, (CMavArrayTempl<CMavString>{L"ABS_BUCHE_2", L"FURNIER_BUCHE_05"}));
    EXPECT_TRUE(p.color.colorIndex() == 42 && p.thickness == 20.0 && !p.drawing);
    ASSERT_TRUE(mgr.propGet(L"SPAN_WEISS_19", p)); // a board with edge data and a parent
    EXPECT_TRUE(p.physCode * 10 + p.edgeCode == 12 && p.parent == L"SPAN_19" && p.physKeys.isEmpty());
    ASSERT_TRUE(mgr.propGet(L"FRONT", p));
    EXPECT_EQ(p.subs, (CMavArrayTempl<CMavString>{L"EICHE", L"NUSSBAUM", L"MDF_LACK_19", L"KORPUS"}));
    EXPECT_TRUE(mgr.propGet(L"EICHE_GEOELT", p) && p.drawing);
    EXPECT_FALSE(mgr.propGet(L"UNKNOWN", p));
    EXPECT_TRUE(p.name == L"UNKNOWN" && p.physCode == 0 && p.subs.isEmpty());
    EXPECT_EQ(mgr.matLabel(L"EICHE", L"EN") + mgr.matLabel(L"EICHE", L"fr") + mgr.matLabel(L"NOPE", L"de"),
              L"Oak, solid");
    double v = 0;
    EXPECT_TRUE(mgr.physGet(L"FRONT_LACK_ROT", L"density", v) && v == 750.0); // via MDF_LACK_19 and MDF_19
    EXPECT_FALSE(mgr.physGet(L"FRONT_LACK_ROT", L"FIRE", v) || mgr.physGet(L"KORPUS", L"DENSITY", v) ||
                 mgr.physGet(L"SPAN_19", nullptr, v));
    // A parent cycle ends after a bounded number of steps.
    const std::string cycle = "LIBRARY { A { PARENT = text \"B\" } B { PARENT = text \"A\" } }";
    EXPECT_TRUE(CMavMatMgr::loadText(cycle.data(), cycle.size()));
    EXPECT_FALSE(mgr.physGet(L"A", L"DENSITY", v));

    // Loaded files merge, and codes can be given; a reset forgets them.
    const std::string text = "DRAWING { NEU { LABEL = text \"\\\\de=Neu\" PHYSCODE = int 0 EDGECODE = int 5 "
                             "PHYS { X = real 1 } } }\nLIBRARY { BUCHE { COLOR = int 1 } }";
    EXPECT_TRUE(CMavMatMgr::loadText(text.data(), text.size()));
    ASSERT_TRUE(mgr.propGet(L"NEU", p));
    EXPECT_TRUE(p.drawing && p.physCode * 10 + p.edgeCode == 5 && mgr.matLabel(L"NEU", L"de") == L"Neu");
    ASSERT_TRUE(mgr.propGet(L"BUCHE", p));
    EXPECT_TRUE(p.color.colorIndex() == 1 && p.physCode == 2); // the rest of BUCHE is kept
    EXPECT_FALSE(CMavMatMgr::load(L"/no/such/materials.dat"));
    CMavMatMgr::reset();
    EXPECT_FALSE(mgr.propGet(L"NEU", p));
}
