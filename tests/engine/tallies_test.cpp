#include "engine/tallies.h"

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace quarvelt {
namespace {

class TalliesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(TallyPhotonColor("", 0, 0, 1), "N");
        ASSERT_EQ(TallyPhotonSize("", 0, 0, 1), "N");
    }

    // Counts a picture of `code` whose out-photon 1 is `out1` and out-photon 2 `out2`.
    void Count(int16_t photon, const std::string& code, const std::string& out1,
               const std::string& out2 = "___", int16_t which = 1) {
        const std::string name = code + "MWL______" + out1 + out2 + "01.BMP";
        ASSERT_EQ(name.size(), 26u);
        EXPECT_EQ(TallyPhotonColor(name, photon, which, 2), "Ok") << name;
        EXPECT_EQ(TallyPhotonSize(name, photon, which, 2), "Ok") << name;
    }
    std::string Colour(int16_t photon) { return TallyPhotonColor("", photon, 0, 3); }
    std::string Size(int16_t photon) { return TallyPhotonSize("", photon, 0, 3); }

    testsupport::ScriptedPlatform platform;
};

TEST_F(TalliesTest, OnlyLampBlankBarrierFilterAndSplitterStepsAreCounted) {
    Count(1, "BLANK", "SYR");
    Count(1, "FLTHC", "SYR");
    Count(1, "SPLRR", "SYR");
    Count(1, "BAL__", "SYR");
    Count(1, "LAMP_", "SYR");
    for (const char* code : {"DETWH", "MXHCB", "REFHT", "LENCC", "SHHBN", "PHHC_", "DIAM_"})
        Count(1, code, "LRR");
    Count(1, "BLANK", "___");
    EXPECT_EQ(PhotonTally.ColorCounts[1][5], 5) << "yellow";
    EXPECT_EQ(PhotonTally.SizeCounts[1][1], 5) << "small";
    EXPECT_EQ(PhotonTally.ColorCounts[1][1], 0);
    EXPECT_EQ(PhotonTally.SizeCounts[1][3], 0);
    EXPECT_EQ(Colour(1), "Y");
    EXPECT_EQ(Size(1), "S");

    // A splitter's second photon is counted for the photon it becomes.
    Count(2, "SPLTF", "MWR", "SRT", 2);
    EXPECT_EQ(Colour(2), "R");
    EXPECT_EQ(Size(2), "S");
    EXPECT_EQ(Colour(3), "W") << "photon 3 counted nothing";

    // A fresh start forgets every count.
    ASSERT_EQ(TallyPhotonColor("", 0, 0, 1), "N");
    ASSERT_EQ(TallyPhotonSize("", 0, 0, 1), "N");
    EXPECT_EQ(PhotonTally.ColorCounts[1][5], 0);
    EXPECT_EQ(Colour(2), "W");
    EXPECT_EQ(Size(2), "L");
}

TEST_F(TalliesTest, TiesGoToTheLaterLetter) {
    struct Case {
        std::vector<std::string> outs;
        const char* colour;
        const char* size;
    };
    const Case cases[] = {
        {{"SRR", "SRR", "SWR", "SWR", "SGR"}, "W", "S"},                // R 2, W 2
        {{"MBR", "MBR", "MBR", "LGR", "LGR", "LGR", "SCR"}, "G", "L"},  // B 3, G 3; M 3, L 3
        {{"SRR", "SRR", "MRR", "MRR", "LRR"}, "R", "M"},
        {{"SRR", "SRR", "LRR", "LRR"}, "R", "L"},
        {{"SRR", "SRR", "SRR", "MRR"}, "R", "S"},
        {{}, "W", "L"},
    };
    for (const Case& c : cases) {
        SetUp();
        for (const auto& out : c.outs)
            Count(2, "BLANK", out);
        EXPECT_EQ(Colour(2), c.colour);
        EXPECT_EQ(Size(2), c.size);
    }
}

TEST_F(TalliesTest, BadNamesAndArgumentsAreRefused) {
    platform.ExpectBox("EXECUTE    PUZZLE");
    const std::string shortName = "BLANKMWL______MWR___01.BM";
    EXPECT_EQ(TallyPhotonColor(shortName, 1, 3, 2), "");
    ASSERT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(platform.Boxes()[0].text,
              "ERROR: INVALIED OBJECT VALUE!\r\rThe object: " + shortName +
                  "\ris invalied! Its Name MUST be\r twenty characters in length.");
    EXPECT_EQ(platform.Boxes()[0].flags, 48);
    EXPECT_EQ(platform.Beeps(), 0);

    const std::string name = "BLANKMWL______MWR___01.BMP";
    EXPECT_EQ(TallyPhotonSize(name, 1, 3, 2), "Er");
    EXPECT_EQ(TallyPhotonColor(name, 1, 0, 2), "Er");
    EXPECT_EQ(TallyPhotonColor(name, 1, 1, 4), "Er");
    EXPECT_EQ(TallyPhotonSize("", 1, 1, 0), "Er");
    EXPECT_EQ(TallyPhotonColor(name, 5, 1, 2), "Er");
    EXPECT_EQ(PhotonTally.ColorCounts[1][7], 0);
}

}  // namespace
}  // namespace quarvelt
