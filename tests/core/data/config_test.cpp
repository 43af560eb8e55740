// Configuration: the shipped defaults, directories made on demand, files merged over the defaults.
#include <gtest/gtest.h>

#include <string>

#include "data/config.h"

TEST(Config, ShippedDefaults)
{
    MAV::CConfig::reset();
    const CMavDataItem* colour = MAV::cfg_get(L"KRV_MENU\\COLOR");
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(colour->isDir());
    for (const wchar_t* key : {L"PDSIZE", L"PDMODE", L"HIGHLIGHT", L"REFER", L"AXIS", L"BASE", L"AUX", L"BACKGROUND"})
        EXPECT_NE(colour->get(key), nullptr) << CMavString(key).utf8();
    double pdsize = 0;
    int pdmode = 0, highlight = 0, background = 0;
    EXPECT_TRUE(colour->get(pdsize, L"PDSIZE"));
    EXPECT_TRUE(colour->get(pdmode, L"PDMODE"));
    EXPECT_TRUE(colour->get(highlight, L"HIGHLIGHT"));
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->get(background));
    EXPECT_EQ(pdsize, 5.0);
    EXPECT_EQ(pdmode, 3);
    EXPECT_EQ(highlight, 1);
    EXPECT_EQ(background, 7);
    int pdsizeInt = 0;
    EXPECT_TRUE(colour->get(pdsizeInt, L"PDSIZE")); // whole sizes also read as integers
    EXPECT_EQ(pdsizeInt, 5);
    CMavString appl;
    EXPECT_TRUE(MAV::cfg_get(L"_APPL")->get(appl));
    EXPECT_EQ(appl, L"MAV");
    EXPECT_EQ(MAV::cfg_get(L"*MAV_OUTLINE*"), nullptr);
    EXPECT_EQ(MAV::cfg_get(L"KRV_MENU\\COLOR\\NOPE"), nullptr);
}

TEST(Config, DirectoriesAndMerging)
{
    MAV::CConfig::reset();
    CMavDataKey key;
    key.set(5005, L"*WALL_EDIT*", 5005, L"MODE", 0);
    EXPECT_EQ(MAV::cfg_get(key), nullptr);
    CMavDataItem* dir = MAV::cfg_dir_make(L"*WALL_EDIT*");
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(MAV::cfg_dir_make(L"*WALL_EDIT*"), dir); // made once
    MAV::dataItemSet(dir, CMavDataKey(L"MODE"), CMavString(L"SHELL"));
    CMavString mode;
    EXPECT_TRUE(MAV::cfg_get(key)->get(mode));
    EXPECT_EQ(mode, L"SHELL");
    EXPECT_EQ(MAV::CConfig::getCfgRoot()->get(L"*WALL_EDIT*"), dir);

    // A host file merges: new keys added, known keys replaced, the rest kept.
    const std::string host = "KRV_MENU { COLOR { BACKGROUND = int 250 } }\n_APPL = text \"KRV\"\n";
    EXPECT_TRUE(MAV::CConfig::loadText(host.data(), host.size()));
    int bg = 0, aux = 0;
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->get(bg));
    EXPECT_EQ(bg, 250);
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\AUX")->get(aux));
    EXPECT_EQ(aux, 30);
    const std::string broken = "X = int 1\nY = int";
    EXPECT_FALSE(MAV::CConfig::loadText(broken.data(), broken.size()));
    EXPECT_NE(MAV::cfg_get(L"X"), nullptr); // read up to the error
    EXPECT_FALSE(MAV::CConfig::load(L"/no/such/config.cfg"));

    MAV::CConfig::reset();
    EXPECT_EQ(MAV::cfg_get(L"*WALL_EDIT*"), nullptr);
    EXPECT_TRUE(MAV::cfg_get(L"KRV_MENU\\COLOR\\BACKGROUND")->get(bg));
    EXPECT_EQ(bg, 7);
}
