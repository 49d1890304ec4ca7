#include "board/board_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "platform/files.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using testsupport::WriteImageIndex;

const std::string Blank = "BLANK_______________00.BMP";
const std::string Spaces(26, ' ');

template <class... T>
std::vector<int> Fields(T... values) {
    return {static_cast<int>(values)...};
}

class BoardModelTest : public testsupport::GameFolderTest {
  protected:
    void WriteBlankIndex() {
        WriteImageIndex(AppPath, {{"APPLE_U.BMP", "apple"}, {Blank, "blank"}});
    }

    // Something other than the clear's values in every table and flag.
    static void Disturb() {
        BoardTable.assign(5, BoardCell{"LAMP________________00.BMP", 5, 3, True, True});
        BonusObjTable[0][0].points = 7;
        ShutterTable[4][32] = {12, 1, 3};
        PhotonState[0][1] = "R";
        PhotonFrameTable2.assign(5, PhotonFrameRow{});
        PhotonFrameTable2[1][3] = "X";
        PhotonPathTable3.assign(5, PhotonPathRow{});
        PhotonPathTable3[2].waitPhoton = 2;
        PhotonPathTable3[2].waitRow = 3;
        MixerInputTable.assign(5, {});
        SelectedTool = 12;
        ReadyToRun = False;
        CellOverlayOn = True;
        CustomPuzzleFlag = 1;
    }

    long Logged(const std::string& prefix) const {
        return std::count_if(grid.log.begin(), grid.log.end(),
                             [&](const std::string& line) { return line.starts_with(prefix); });
    }

    testsupport::RecordingGrid grid;
    testsupport::RecordingLabel tally;
};

void ExpectBlankBoard(size_t cells) {
    ASSERT_EQ(BoardTable.size(), cells);
    for (const BoardCell& row : BoardTable) {
        EXPECT_EQ(row.pictureName, Blank);
        EXPECT_EQ(Fields(row.group, row.button, row.lockFlag, row.lampFlag), Fields(5, 0, 0, 0));
    }
}

void ExpectMixerReset() {
    ASSERT_EQ(MixerInputTable.size(), static_cast<size_t>(CellCount));
    for (const auto& cell : MixerInputTable)
        for (const MixerInput& e : cell)
            EXPECT_TRUE(e.firstArrived == "F" && e.secondArrived == "F" &&
                        e.continuingPhoton == 0 && e.nextCell == 0 && e.size == "_" &&
                        e.direction == "_");
}

void ExpectFlagsOfAClear() {
    EXPECT_EQ(Fields(SelectedTool, ReadyToRun, CellOverlayOn, CustomPuzzleFlag),
              Fields(-1, -1, 0, 0));
}

TEST_F(BoardModelTest, ClearToANewSizeRecreatesEveryTable) {
    WriteBlankIndex();
    BoardRows = 40;
    BoardCols = 25;
    CellCount = 1000;
    Disturb();

    ClearPuzzleBoard(grid, tally, True);

    EXPECT_EQ(Fields(BoardRows, BoardCols, CellCount), Fields(15, 15, 225));
    EXPECT_EQ(Fields(grid.Rows(), grid.Cols(), grid.RowHeight(14), grid.ColWidth(14)),
              Fields(15, 15, 727, 727));
    ExpectBlankBoard(225);
    EXPECT_EQ(grid.PictureAt(14, 14), ImagePath + Blank);
    EXPECT_EQ(folder.Read("DATA/" + Blank), "blank");
    EXPECT_EQ(tally.Caption(), "0000");
    ExpectFlagsOfAClear();

    const ShutterSlot& s = ShutterTable[4][32];
    EXPECT_EQ(Fields(s.cell, s.open, s.objectNumber), Fields(-1, 0, 16));
    const ClosingSquareSlot& q = ClosingSquareTable[2][1];
    EXPECT_EQ(Fields(q.objectNumber, q.shutterCell, q.cell), Fields(8, -1, -1));
    const KeySlot& k = KeyTable[3][7];
    EXPECT_EQ(Fields(k.shutterCell, k.cell, k.objectNumber, k.state), Fields(-1, -1, 12, -1));
    const BonusObjSlot& b = BonusObjTable[6][16];
    EXPECT_EQ(Fields(b.points, b.cell, b.state), Fields(0, -1, -1));
    // Slot 0 of every kind and number is never used and stays as re-created.
    for (int kind = 0; kind <= 6; ++kind) {
        for (int n = 0; n <= 32; ++n) {
            if (kind != 0 && n != 0)
                continue;
            const ShutterSlot& s0 = ShutterTable[kind][n];
            EXPECT_EQ(Fields(s0.cell, s0.open, s0.objectNumber), Fields(0, 0, 0));
            if (kind <= 3) {
                const ClosingSquareSlot& q0 = ClosingSquareTable[kind][n];
                const KeySlot& k0 = KeyTable[kind][n];
                EXPECT_EQ(Fields(q0.objectNumber, q0.shutterCell, q0.cell, k0.shutterCell, k0.cell,
                                 k0.objectNumber, k0.state),
                          Fields(0, 0, 0, 0, 0, 0, 0));
            }
            if (n <= 16) {
                const BonusObjSlot& b0 = BonusObjTable[kind][n];
                EXPECT_EQ(Fields(b0.points, b0.cell, b0.state), Fields(0, 0, 0));
            }
        }
    }

    EXPECT_EQ(PhotonState[2], (std::array<std::string, 5>{"", "_", "_", "_", "__"}));
    EXPECT_EQ(PhotonState[0], (std::array<std::string, 5>{}));
    const PhotonPathRow reset{.walkEnds = False,
                              .nextCell = -1,
                              .firstFrame = Spaces,
                              .lastFrame = Spaces,
                              .lampStep = 0,
                              .frameRow = 0,
                              .frameCount = 0,
                              .cell = -1,
                              .splitCell = -1,
                              .restingPicture = Spaces,
                              .specialObject = 0,
                              .specialSlot = 0,
                              .waitPhoton = 0,
                              .waitRow = -1};
    for (const auto* table : {&PhotonPathTable1, &PhotonPathTable2, &PhotonPathTable3}) {
        ASSERT_EQ(table->size(), 225u);
        for (size_t r = 0; r < table->size(); ++r)
            EXPECT_TRUE((*table)[r] == reset) << "row " << r;
    }
    for (const auto* table : {&PhotonFrameTable1, &PhotonFrameTable2, &PhotonFrameTable3}) {
        ASSERT_EQ(table->size(), 225u);
        for (const PhotonFrameRow& row : *table)
            EXPECT_EQ(row, PhotonFrameRow{});
    }
    ExpectMixerReset();
}

TEST_F(BoardModelTest, KeptSizeStaysInsideTheLimitsAndFallsBackOutside) {
    WriteBlankIndex();
    BoardRows = 10;
    BoardCols = 60;
    ClearPuzzleBoard(grid, tally, 1);  // only -1 asks for a new size
    EXPECT_EQ(CellCount, 600);
    ExpectBlankBoard(600);
    EXPECT_EQ(Fields(PhotonPathTable3.size(), PhotonFrameTable1.size(), MixerInputTable.size()),
              Fields(600, 600, 600));
    EXPECT_EQ(grid.PictureAt(9, 59), ImagePath + Blank);

    for (auto [rows, cols] : std::vector<std::pair<int, int>>{{9, 20}, {20, 61}, {0, 0}}) {
        BoardRows = static_cast<int16_t>(rows);
        BoardCols = static_cast<int16_t>(cols);
        ClearPuzzleBoard(grid, tally, False);
        EXPECT_EQ(Fields(BoardRows, BoardCols, CellCount, BoardTable.size()),
                  Fields(15, 15, 225, 225))
            << rows << "x" << cols;
    }
}

TEST_F(BoardModelTest, GridCallsOfAClear) {
    WriteBlankIndex();
    BoardRows = 10;
    BoardCols = 10;
    ClearPuzzleBoard(grid, tally, False);

    std::vector<std::string> expected = {"clear",        "display 34 1", "display 16 0",
                                         "display 23 0", "rows 10",      "cols 10"};
    for (int i = 0; i < 10; ++i)
        expected.push_back("rowheight " + std::to_string(i) + " 727");
    for (int i = 0; i < 10; ++i)
        expected.push_back("colwidth " + std::to_string(i) + " 727");
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            expected.push_back("picture " + std::to_string(row) + " " + std::to_string(col) + " " +
                               ImagePath + Blank);
    EXPECT_EQ(grid.log, expected);
    EXPECT_EQ(tally.captions, std::vector<std::string>{"0000"});
}

TEST_F(BoardModelTest, BlankComesFromALowerCaseRecordOnlyWhenMissing) {
    WriteImageIndex(AppPath, {{"apple_u.bmp", "apple"},
                              {"blank_______________07.bmp", "lower-case blank"},
                              {Blank, "upper-case blank"}});
    ClearPuzzleBoard(grid, tally, True);
    EXPECT_EQ(folder.Read("DATA/" + Blank), "lower-case blank");
    EXPECT_EQ(grid.PictureAt(14, 14), ImagePath + Blank);

    // Present now: drawn as it is, without asking the index.
    folder.Write("DATA/" + Blank, "kept");
    ASSERT_FALSE(platform::DeleteFile(AppPath + ImageIndexName));
    ClearPuzzleBoard(grid, tally, True);
    EXPECT_EQ(folder.Read("DATA/" + Blank), "kept");
    EXPECT_EQ(grid.PictureAt(0, 0), ImagePath + Blank);
}

TEST_F(BoardModelTest, UnusableIndexShowsOneMessageAndStillCompletesTheBoard) {
    // A blank behind a leading blank is no blank record.
    WriteImageIndex(AppPath, {{"APPLE_U.BMP", "apple"}, {" BLANK______________00.BMP", "b"}});
    const std::string noBlank = folder.Read(ImageIndexName);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(343, 'B'), "ERROR: OPENING INDEX FILE"},
        {"", "ERROR: OPENING INDEX FILE"},  // no index file at all
        {noBlank, "ERROR: CLEARING GAME BOARD!"}};
    for (const auto& [index, text] : cases) {
        SCOPED_TRACE(index.size());
        (void)platform::DeleteFile(AppPath + ImageIndexName);
        if (!index.empty())
            folder.Write(ImageIndexName, index);
        ImageIndex::Forget();
        Disturb();
        grid.log.clear();
        const size_t boxes = platform.Boxes().size();
        const int beeps = platform.Beeps();

        platform.ExpectBox("CLEARNING  GAME  BOARD");
        ClearPuzzleBoard(grid, tally, True);

        ASSERT_EQ(platform.Boxes().size(), boxes + 1);
        EXPECT_EQ(platform.Boxes().back().text, text);
        EXPECT_EQ(platform.Boxes().back().flags, platform::MsgExclamation);
        EXPECT_EQ(platform.Beeps(), beeps + 1);
        EXPECT_EQ(Logged("picture "), 0);
        EXPECT_EQ(grid.Rows(), 15);
        EXPECT_EQ(tally.Caption(), "0000");
        ExpectBlankBoard(225);
        EXPECT_EQ(PhotonPathTable2.size(), 225u);
        EXPECT_EQ(PhotonPathTable2[224].nextCell, -1);
        ExpectMixerReset();
        ExpectFlagsOfAClear();
    }
}

TEST_F(BoardModelTest, BlankThatCannotBeExtractedIsTriedOnceByItsExactName) {
    // The first "BLANK" record lives in an archive that is gone.
    WriteImageIndex(AppPath, {{"BLANKET_U.BMP", "wrong", 'B', "000002"}, {Blank, "blank"}});
    ASSERT_FALSE(platform::DeleteFile(AppPath + "QUARVELT000002.MIX"));
    ClearPuzzleBoard(grid, tally, True);
    EXPECT_EQ(folder.Read("DATA/" + Blank), "blank");
    EXPECT_EQ(grid.PictureAt(14, 14), ImagePath + Blank);

    // With no archive at all: one attempt, then every cell drawn empty, no message.
    ASSERT_FALSE(platform::DeleteFile(ImagePath + Blank));
    ASSERT_FALSE(platform::DeleteFile(AppPath + "QUARVELT000001.MIX"));
    grid.log.clear();
    ClearPuzzleBoard(grid, tally, True);
    EXPECT_EQ(Logged("picture "), 1);
    EXPECT_EQ(Logged("nopicture "), 225);
    ExpectBlankBoard(225);
    ExpectFlagsOfAClear();
}

TEST_F(BoardModelTest, ResetRedrawsReArmsAndKeepsTheRest) {
    const std::string lamp = "LAMP________________00.BMP";
    const std::string mirror = "REFHT_______________00.BMP";
    const std::string lost = "DETRD_______________00.BMP";
    WriteImageIndex(AppPath, {{Blank, "blank"}, {mirror, "mirror"}});
    ClearPuzzleBoard(grid, tally, True);
    folder.Write("DATA/" + lamp, "lamp");
    BoardTable[16].pictureName = lamp;    // in the image folder
    BoardTable[17].pictureName = mirror;  // only in the archive
    BoardTable[18].pictureName = lost;    // nowhere
    BoardTable[33].pictureName = lost;
    BoardTable[34].pictureName = "../QUARVELT.IDX";
    // A run has used a key, met a bonus object, opened a shutter and fed a mixer.
    KeyTable[1][1] = {50, 37, 10, -1};
    BonusObjTable[2][3] = {250, 40, -1};
    ShutterTable[1][1] = {50, 1, 13};
    MixerInputTable[60][2] = {"T", "T", 2, 61, "L", "R"};
    PhotonPathTable1[0].cell = 7;
    ReadyToRun = False;
    grid.log.clear();

    ResetPuzzle(grid, tally);

    EXPECT_EQ(Fields(KeyTable[1][1].state, KeyTable[1][2].state, BonusObjTable[2][3].state,
                     BonusObjTable[2][4].state, ShutterTable[1][1].open),
              Fields(0, -1, 0, -1, 1));
    ExpectMixerReset();
    EXPECT_EQ(Fields(PhotonPathTable1[0].cell, ReadyToRun), Fields(7, 0));
    EXPECT_EQ(tally.captions, (std::vector<std::string>{"0000", "0"}));
    // Only drawing: no clear, no sizing, no display change.
    EXPECT_EQ(Logged("picture ") + Logged("nopicture "), static_cast<long>(grid.log.size()));

    EXPECT_EQ(grid.PictureAt(1, 1), ImagePath + lamp);
    EXPECT_EQ(grid.PictureAt(1, 2), ImagePath + mirror);
    EXPECT_EQ(folder.Read("DATA/" + mirror), "mirror");
    EXPECT_EQ(grid.PictureAt(14, 14), ImagePath + Blank);
    for (auto [row, col] : std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {2, 4}})
        EXPECT_EQ(grid.PictureAt(row, col), "") << row << "," << col;
    // The lost picture is looked for once; its second cell is drawn empty at once.
    EXPECT_EQ(Logged("picture 1 3 "), 1);
    EXPECT_EQ(Logged("picture 2 3 "), 0);

    // A board table shorter than the board leaves the other cells empty.
    BoardTable.resize(100);
    ResetPuzzle(grid, tally);
    EXPECT_EQ(grid.PictureAt(6, 9), ImagePath + Blank);
    EXPECT_EQ(grid.PictureAt(6, 10), "");
}

}  // namespace
}  // namespace quarvelt
