#include "board/object_codes.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"

namespace quarvelt {
namespace {

const std::string Resting = "_______________00.BMP";

// Fills catalogue rows directly and puts the table back afterwards.
class ObjectCodesTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = ToolboxObjectTable; }
    void TearDown() override { ToolboxObjectTable = saved_; }

    static void SetStem(int row, const std::string& stem) {
        ToolboxObjectTable[row] = ToolboxObjectRow{};
        ToolboxObjectTable[row].stem = stem;
        ToolboxObjectTable[row].group = 0;
        ToolboxObjectTable[row].archiveOffset = 1 + row;
    }

  private:
    std::array<ToolboxObjectRow, ToolboxRowCount> saved_;
};

TEST_F(ObjectCodesTest, NineToolCodesBecomeTheirBoardPictures) {
    const std::map<std::string, std::string> expected = {
        {"DIAY_U", "DIAM________________00.BMP"},  {"FACY_D", "FACE________________00.BMP"},
        {"HRTRD_U", "HEART_______________00.BMP"}, {"MINER_U", "MINRL_______________00.BMP"},
        {"PUZM_D", "PUZZL_______________00.BMP"},  {"SQBN_U", "SQRBN_______________00.BMP"},
        {"SQGR_U", "SQRGR_______________00.BMP"},  {"SQOR_D", "SQROR_______________00.BMP"},
        {"DETYL_U", "DETYE_______________00.BMP"}, {"APPLE_U", "APPLE_______________00.BMP"},
        {"SPLTF_U", "SPLTF_______________00.BMP"}, {"SPLTB_D", "SPLTB_______________00.BMP"},
    };
    for (const auto& [stem, name] : expected) {
        SetStem(7, stem);
        EXPECT_EQ(GetGameboardObj(7), name) << stem;
        EXPECT_EQ(name.size(), 26u);
    }
}

TEST_F(ObjectCodesTest, StemIsComparedTrimmedButUsedAsItIs) {
    SetStem(0, "LAMP ");
    EXPECT_EQ(GetGameboardObj(0), "LAMP " + Resting);
    SetStem(0, " DIAY_U");
    EXPECT_EQ(GetGameboardObj(0), " DIAY" + Resting);
    SetStem(0, "HRTR");
    EXPECT_EQ(GetGameboardObj(0), "HRTR" + Resting);
    SetStem(0, "hrtrd_U");
    EXPECT_EQ(GetGameboardObj(0), "hrtrd" + Resting);
}

TEST_F(ObjectCodesTest, RowsOutsideTheCatalogueNameNothing) {
    SetStem(0, "APPLE_U");
    SetStem(ToolboxRowCount - 1, "KEYOR_D");
    EXPECT_EQ(GetGameboardObj(0), "APPLE" + Resting);
    EXPECT_EQ(GetGameboardObj(269), "KEYOR" + Resting);
    for (int16_t row : {-1, 270, -32768, 32767}) {
        EXPECT_EQ(GetGameboardObj(row), "") << row;
    }
}

TEST(ConvGameObjToToolObjTest, BoardCodesBackToToolCodes) {
    const std::map<std::string, std::string> expected = {
        {"HEART_______________00.BMP", "HRTRD"},
        {"SPLTR_SWL______SWLSWT00.BMP", "SPLTB"},
        {"SPLTL", "SPLTF"},
        {"SPLTF_______________00.BMP", "SPLTF"},
        {"BLANK_______________00.BMP", "BLANK"},
        {"  KEYBN", "KEYBN"},
        {"DETYE ", "DETYL"},
        {"  SQROR_LRL______LRL___02.BMP  ", "SQOR_"},
        {"DIAM_", "DIAY_"},
        {"FACE_", "FACY_"},
        {"MINRL", "MINER"},
        {"PUZZL", "PUZM_"},
        {"SQRBN", "SQBN_"},
        {"SQRGR", "SQGR_"},
        {"heart", "heart"},
        {"HRTRD", "HRTRD"},
        {"DIA", "DIA"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [name, tool] : expected) {
        EXPECT_EQ(ConvGameObjToToolObj(name), tool) << "\"" << name << "\"";
    }
}

// Every tool of the game: the board codes with a display name, the nine that the
// tool box names otherwise swapped for their tool codes, plus the blank cell.
// "SPLTL" and "SPLTR" are never placed, so they have no tool.
std::vector<std::string> ToolCodes() {
    const std::map<std::string, std::string> toolOf = {
        {"DIAM_", "DIAY_"}, {"FACE_", "FACY_"}, {"HEART", "HRTRD"},
        {"MINRL", "MINER"}, {"PUZZL", "PUZM_"}, {"SQRBN", "SQBN_"},
        {"SQRGR", "SQGR_"}, {"SQROR", "SQOR_"}, {"DETYE", "DETYL"}};
    std::vector<std::string> codes = {"BLANK"};
    for (const ObjectDisplayName& object : AllObjectDisplayNames()) {
        const std::string code(object.code);
        if (code == "SPLTL" || code == "SPLTR") {
            continue;
        }
        const auto swapped = toolOf.find(code);
        codes.push_back(swapped == toolOf.end() ? code : swapped->second);
    }
    return codes;
}

TEST_F(ObjectCodesTest, EveryToolRowRoundTrips) {
    const std::vector<std::string> codes = ToolCodes();
    ASSERT_EQ(codes.size(), 120u);
    int row = 0;
    for (const std::string& code : codes) {
        SetStem(row++, code + "_U");
        SetStem(row++, code + "_D");
    }
    for (int16_t tool = 0; tool < row; ++tool) {
        const std::string stem = ToolboxObjectTable[tool].stem;
        const std::string name = GetGameboardObj(tool);
        EXPECT_EQ(name.size(), 26u) << stem;
        EXPECT_TRUE(name.ends_with(Resting)) << stem;
        EXPECT_EQ(ConvGameObjToToolObj(name), stem.substr(0, 5)) << stem;
    }
}

}  // namespace
}  // namespace quarvelt
