// The compiled-in copies of the shipped data equal the files under data/.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "data/embedded_data.h"
#include "mav_test_data.h"

TEST(EmbeddedData, EqualsTheFilesUnderData)
{
    const std::string root = std::string(MAV_TEST_DATA_DIR) + "/../../data/";
    for (int i = 0; i < MAV::kEmbeddedCount; ++i) {
        const auto f = static_cast<MAV::EmbeddedFile>(i);
        std::ifstream in(root + MAV::embeddedPath(f), std::ios::binary);
        ASSERT_TRUE(in) << "cannot read data/" << MAV::embeddedPath(f);
        std::stringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(MAV::embeddedText(f), bytes.str())
            << "data/" << MAV::embeddedPath(f) << " changed: run cmake -P cmake/embed_data.cmake";
    }
    EXPECT_EQ(MAV::embeddedText(MAV::kEmbeddedCount), "");
    EXPECT_STREQ(MAV::embeddedPath(static_cast<MAV::EmbeddedFile>(-1)), "");
}
