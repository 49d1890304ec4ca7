// The puzzles the build wrote into the game folder, read back as the game reads them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/condition_catalogue.h"

namespace quarvelt {
namespace {

// The base name each puzzle source names.
std::vector<std::string> ShippedBases() {
    std::vector<std::string> bases;
    for (const auto& entry : std::filesystem::directory_iterator(QUARVELT_SHIPPED_PUZZLE_SOURCES)) {
        if (entry.path().extension() != ".txt")
            continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string key, base;
            if (words >> key >> base && key == "base")
                bases.push_back(base);
        }
    }
    return bases;
}

class ShippedPuzzlesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        AppPath = QUARVELT_SHIPPED_GAME_DIR;
    }
    void TearDown() override {
        ResetGlobals();
        ImageIndex::Forget();
    }
};

TEST_F(ShippedPuzzlesTest, ReadBackCleanlyWithPicturesOfTheGeneratedIndex) {
    const ImageIndex& index = ImageIndex::Current();
    ASSERT_FALSE(index.Empty());
    std::map<std::string, int32_t> pictures;  // name, archive offset of its first record
    for (size_t i = 0; i < index.Records().size(); ++i)
        pictures.emplace(index.Name(static_cast<int>(i)), index.Records()[i].archiveOffset);

    const std::vector<std::string> bases = ShippedBases();
    EXPECT_GE(bases.size(), 3u);
    for (const std::string& base : bases) {
        SCOPED_TRACE(base);
        PuzzleInfo info;
        PuzzleTables tables;
        const PuzzleFileResult result = ReadPuzzleFiles(AppPath, base, info, tables);
        ASSERT_TRUE(result.Ok()) << result.file << ": " << result.reason;

        // Play-only: the load opens them for play unless their key is typed.
        EXPECT_EQ(info.customFlag, 1);
        EXPECT_FALSE(info.puzzleKey.empty() || info.puzzleKey == "UNKEYED");
        EXPECT_EQ(info.specialCondCode.size(), SpecialCondCodeLength);
        EXPECT_EQ(info.specialCondCode.back(), '~');
        EXPECT_FALSE(info.puzzleName.empty());

        int lamps = 0;
        for (const BoardCell& cell : tables.board) {
            EXPECT_TRUE(pictures.count(cell.pictureName)) << cell.pictureName;
            lamps += IsTrue(cell.lampFlag) ? 1 : 0;
            if (cell.pictureName.compare(0, 5, "BLANK") != 0) {
                EXPECT_TRUE(IsTrue(cell.lockFlag)) << cell.pictureName;
            }
        }
        EXPECT_EQ(lamps, 1);

        // The tool pictures come from this build's archives, and something is offered.
        int offered = 0;
        for (const ToolboxObjectRow& row : tables.toolbox) {
            if (row.stem.empty())
                continue;
            const auto picture = pictures.find(row.stem + ".BMP");
            ASSERT_NE(picture, pictures.end()) << row.stem;
            EXPECT_EQ(picture->second, row.archiveOffset) << row.stem;
            if (row.stem.back() == 'U' && IsTrue(row.shown) && IsTrue(row.enabled) &&
                row.allowed > row.used && row.stem.compare(0, 5, "BLANK") != 0)
                ++offered;
        }
        EXPECT_GT(offered, 0);
    }
}

}  // namespace
}  // namespace quarvelt
