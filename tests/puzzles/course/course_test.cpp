// The shipped course played as a player plays it: each puzzle chosen in the
// library, its solution picked from the game tool box and placed on the board,
// then run. The same puzzle as shipped must not be solved, and the collection
// as a whole must cover what a course promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board/object_codes.h"
#include "common/globals.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/toolbox_catalogue.h"
#include "platform/files.h"
#include "puzzles/condition_catalogue.h"
#include "puzzles/creator_logic.h"
#include "puzzles/puzzle_files.h"
#include "run_promises.h"
#include "support/drawn_pictures.h"
#include "support/main_window_fixture.h"

namespace {

using namespace quarvelt;

constexpr const char* SolvedTitle = "SUCCESSFUL  PUZZLE  COMPLETION";
constexpr const char* ConditionsTitle = "S P E C I A L   C O N D I T I O N S";

struct Placement {
    std::string code;
    int row = 0;
    int col = 0;
};

struct CoursePuzzle {
    std::string source;  // file name in the sources folder
    std::string base;
    std::string name;
    std::vector<Placement> solution;
};

// Failures name the puzzle's source.
void PrintTo(const CoursePuzzle& puzzle, std::ostream* out) {
    *out << puzzle.source;
}

// The value of a "keyword value" line of a puzzle source, or "".
std::string SourceValue(const std::string& path, const std::string& keyword) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || key != keyword)
            continue;
        std::string value;
        std::getline(words >> std::ws, value);
        return TrimBlanks(value);
    }
    return {};
}

std::vector<Placement> ReadSolution(const std::string& path) {
    std::vector<Placement> placements;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        Placement placement;
        if (words >> placement.code >> placement.row >> placement.col)
            placements.push_back(placement);
    }
    return placements;
}

// Every shipped source in course order, with the solution kept beside this test.
std::vector<CoursePuzzle> Course() {
    const std::filesystem::path solutions =
        std::filesystem::path(__FILE__).parent_path() / "solutions";
    std::vector<CoursePuzzle> course;
    for (const auto& entry : std::filesystem::directory_iterator(QUARVELT_SHIPPED_PUZZLE_SOURCES)) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string file = entry.path().filename().string();
        course.push_back({file, SourceValue(entry.path().string(), "base"),
                          SourceValue(entry.path().string(), "name"),
                          ReadSolution((solutions / file).string())});
    }
    std::sort(course.begin(), course.end(),
              [](const CoursePuzzle& a, const CoursePuzzle& b) { return a.source < b.source; });
    return course;
}

class CourseTest : public testsupport::MainWindowTest,
                   public ::testing::WithParamInterface<CoursePuzzle> {
  protected:
    // The seven files of the puzzle, as the first start moves them into the library.
    static void Ship(const std::string& base) {
        for (const char* extension : PuzzleFileExtensions)
            ASSERT_FALSE(platform::CopyFileVerified(
                std::string(QUARVELT_GAME_DIR) + base + extension, PuzzlePath + base + extension))
                << base << extension;
    }

    // Puzzle > Load, the puzzle chosen by its name and opened without its key.
    void Load(const CoursePuzzle& puzzle) {
        Ship(puzzle.base);
        view.creator.push_back([&puzzle](CreatorLogic& d) {
            const auto& items = d.Items();
            const auto found = std::find(items.begin(), items.end(), puzzle.name);
            ASSERT_NE(found, items.end()) << puzzle.name;
            d.ListClick(static_cast<int>(found - items.begin()));
            d.CmdClick();
        });
        platform.ExpectBox(ConditionsTitle);
        logic.PuzzleMenuClick(1);
        ASSERT_EQ(logic.ToolBox().mode, "GM") << "a shipped puzzle opens for play";
        ASSERT_EQ(BoardTable.size(), static_cast<size_t>(BoardRows * BoardCols));
    }

    // The object picked from its group's button in the game tool box and put on its cell.
    void Place(const Placement& placement) {
        const int16_t row = Tool(ConvGameObjToToolObj(placement.code) + "_U");
        ASSERT_GE(row, 0);
        const ToolboxObjectRow& entry = ToolboxObjectTable[static_cast<size_t>(row)];
        ASSERT_TRUE(logic.ToolBox().Option(entry.group).enabled) << placement.code;
        logic.ToolBox().GroupClick(entry.group);
        ASSERT_GE(entry.button, 0) << placement.code << " has no button";
        const ToolButtonState& button = logic.ToolBox().Button(entry.button);
        ASSERT_TRUE(button.visible && button.enabled) << placement.code << " is not offered";
        logic.ToolBox().ToolClick(entry.button);
        ASSERT_EQ(SelectedTool, row) << placement.code << ": " << button.tooltip;

        const auto cell = static_cast<size_t>(placement.row * BoardCols + placement.col);
        ASSERT_LT(cell, BoardTable.size());
        ASSERT_EQ(BoardTable[cell].pictureName.substr(0, 5), "BLANK")
            << placement.code << " at " << placement.row << "," << placement.col;
        Press(placement.row, placement.col);
        EXPECT_EQ(BoardTable[cell].pictureName.substr(0, 5), placement.code)
            << placement.row << "," << placement.col;
        EXPECT_FALSE(IsTrue(BoardTable[cell].lockFlag)) << "the player's objects stay movable";
    }
};

TEST_P(CourseTest, ItsSolutionPlacedFromTheToolBoxSolvesIt) {
    const CoursePuzzle& puzzle = GetParam();
    ASSERT_FALSE(puzzle.solution.empty()) << "no solution kept for " << puzzle.source;
    ASSERT_NO_FATAL_FAILURE(Load(puzzle));
    logic.ToolMenuClick(0);
    ASSERT_TRUE(logic.ToolBox().Visible());
    for (const Placement& placement : puzzle.solution) {
        SCOPED_TRACE(placement.code + " " + std::to_string(placement.row) + "," +
                     std::to_string(placement.col));
        ASSERT_NO_FATAL_FAILURE(Place(placement));
    }

    const double tallyBefore = LeadingNumber(tally.Caption());
    grid.log.clear();
    platform.ExpectBox(SolvedTitle);
    logic.MainMenuClick(2);
    ASSERT_FALSE(platform.Boxes().empty());
    EXPECT_EQ(platform.Boxes().back().title, SolvedTitle);
    EXPECT_EQ(platform.Boxes().back().text.rfind("CONGRATULATIONS", 0), 0u)
        << platform.Boxes().back().text;

    // What the player watched: every path drawn, its points counted, no photon left behind.
    EXPECT_EQ(fuzz::BrokenRunPromise(testsupport::DrawnPictures(grid), tallyBefore,
                                     LeadingNumber(tally.Caption())),
              "");
}

TEST_P(CourseTest, AsShippedItIsNotSolved) {
    const CoursePuzzle& puzzle = GetParam();
    ASSERT_NO_FATAL_FAILURE(Load(puzzle));
    const size_t before = platform.Boxes().size();
    platform.ExpectBox();
    logic.MainMenuClick(2);
    ASSERT_EQ(platform.Boxes().size(), before + 1) << "one box says what went wrong";
    EXPECT_NE(platform.Boxes().back().title, SolvedTitle) << platform.Boxes().back().text;
}

INSTANTIATE_TEST_SUITE_P(Shipped, CourseTest, ::testing::ValuesIn(Course()),
                         [](const ::testing::TestParamInfo<CoursePuzzle>& info) {
                             return info.param.base;
                         });

TEST(ShippedCourse, CoversEveryFixedConditionAndBoardsFromTenToThirty) {
    const std::vector<CoursePuzzle> course = Course();
    ASSERT_GE(course.size(), 12u);
    EXPECT_EQ(course.front().base, "C01FIRSTLIT") << "the course starts with First Light";

    std::set<std::string> codes, names, bases;
    bool smallest = false, largest = false;
    for (const CoursePuzzle& puzzle : course) {
        SCOPED_TRACE(puzzle.source);
        PuzzleInfo info;
        ASSERT_TRUE(
            ReadPuzzleInfo(std::string(QUARVELT_GAME_DIR) + puzzle.base + ".INF", info).Ok());
        EXPECT_EQ(info.puzzleName, puzzle.name);
        EXPECT_FALSE(IsNoSpecialCond(info.specialCondCode))
            << "every puzzle has something to judge";
        EXPECT_FALSE(TrimBlanks(info.specialCondDesc).empty()) << "the condition is said in words";
        codes.insert(TrimBlanks(info.specialCondCode));
        names.insert(puzzle.name);
        bases.insert(puzzle.base);
        smallest = smallest || (info.boardRows == 10 && info.boardCols == 10);
        largest = largest || (info.boardRows >= 30 && info.boardCols >= 30);
        EXPECT_FALSE(puzzle.solution.empty()) << "no solution kept";
    }
    EXPECT_EQ(names.size(), course.size());
    EXPECT_EQ(bases.size(), course.size());
    // The library lists puzzles by base name, so the bases keep the course's order.
    EXPECT_TRUE(std::equal(
        bases.begin(), bases.end(), course.begin(), course.end(),
        [](const std::string& base, const CoursePuzzle& puzzle) { return base == puzzle.base; }));
    EXPECT_TRUE(smallest) << "a 10 by 10 board";
    EXPECT_TRUE(largest) << "a board of 30 by 30 or more";

    const std::vector<SpecialCondRecord> catalogue = DefaultSpecialCondRecords();
    std::set<std::string> fixed;
    for (int i = 0; i < FixedSpecialCondCount; ++i)
        fixed.insert(TrimBlanks(catalogue[static_cast<size_t>(i)].condCode));
    for (const std::string& code : fixed)
        EXPECT_TRUE(codes.count(code)) << "no puzzle asks " << code;
    const auto custom =
        std::count_if(codes.begin(), codes.end(), [&fixed](const std::string& code) {
            return !fixed.count(code) && LeadingNumber(code.substr(0, 2)) > FixedSpecialCondCount;
        });
    EXPECT_GE(custom, 2) << "custom conditions";
}

}  // namespace
