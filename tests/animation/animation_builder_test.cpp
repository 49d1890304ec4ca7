#include "animation/animation_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "platform/files.h"
#include "support/game_folder_test.h"
#include "support/index_fixture.h"

namespace quarvelt {
namespace {

using testsupport::WriteImageIndex;

const std::string Erase = "BLANK_______________00.BMP";
const std::string LampResting = "LAMP__________MWR___05.BMP";
constexpr int16_t LampCell = 11;

std::string Resting(const std::string& code) {
    return code + std::string(15, '_') + "00.BMP";
}

// A 26-character frame name that tells photon, path row and frame apart; the
// frame number is in characters 21 and 22 as in every frame name.
std::string Frame(const std::string& code, int photon, int row, int frame) {
    const std::string step = {static_cast<char>('0' + row / 10), static_cast<char>('0' + row % 10)};
    const std::string number = {static_cast<char>('0' + frame / 10),
                                static_cast<char>('0' + frame % 10)};
    return code + "P" + std::to_string(photon) + "S" + step + std::string(10, '_') + number +
           ".BMP";
}

// Photon paths are written by hand as the compile records them: one path row
// and one frame row per step, frame row = path row.
PhotonPathRow& Record(int photon, int row, int16_t cell, int frames,
                      const std::string& code = "MIRRO", int16_t special = 0, int16_t slot = 0) {
    PhotonPathRow& step = PhotonPath(photon)[static_cast<size_t>(row)];
    step.frameRow = static_cast<int16_t>(row);
    step.frameCount = static_cast<int16_t>(frames);
    step.cell = cell;
    step.restingPicture = Resting(code);
    step.specialObject = special;
    step.specialSlot = slot;
    for (int f = 1; f <= frames; ++f)
        PhotonFrames(photon)[static_cast<size_t>(row)][static_cast<size_t>(f)] =
            Frame(code, photon, row, f);
    return step;
}

PhotonPathRow& RecordFinal(int photon, int row, int16_t cell, int frames,
                           const std::string& code = "DETWH") {
    PhotonPathRow& step = Record(photon, row, cell, frames, code);
    step.walkEnds = True;
    return step;
}

void RecordLamp() {
    Record(1, 0, LampCell, 5, "LAMP_").restingPicture = LampResting;
}

// A 10 by 10 board with reset photon tables, photon 1's lamp step and every link slot free.
void FreshBoard() {
    BoardRows = 10;
    BoardCols = 10;
    CellCount = 100;
    ResetPhotonTables();
    ResetLinkTables();
    RecordLamp();
}

// "NAME pause|- cell number slot", one row of AnimTable.
std::string Row(const std::string& name, bool pause, int cell, int number = 0, int slot = 0) {
    return name + (pause ? " pause " : " - ") + std::to_string(cell) + " " +
           std::to_string(number) + " " + std::to_string(slot);
}

std::vector<std::string> Rows(int first, int last) {
    std::vector<std::string> rows;
    for (int i = first; i <= last; ++i) {
        const AnimRow& row = AnimTable.at(static_cast<size_t>(i));
        rows.push_back(Row(row.pictureName, row.pause, row.cell, row.specialObject, row.slot));
    }
    return rows;
}

std::vector<std::string> LampRows() {
    std::vector<std::string> rows;
    for (int f = 1; f <= 5; ++f)
        rows.push_back(Row(Frame("LAMP_", 1, 0, f), true, LampCell));
    return rows;
}

// The rows of an ordinary step of `frames` frames after its put-back row.
std::vector<std::string> StepRows(const std::string& code, int photon, int row, int cell,
                                  int frames, int number = 0, int slot = 0) {
    std::vector<std::string> rows{Row(Frame(code, photon, row, 1), true, cell)};
    for (int f = 2; f < frames; ++f)
        rows.push_back(Row(Frame(code, photon, row, f), false, cell, photon == 1 ? 0 : number,
                           photon == 1 ? 0 : slot));
    rows.push_back(Row(Frame(code, photon, row, frames), false, cell, number, slot));
    return rows;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class AnimationBuilderTest : public testsupport::GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        FreshBoard();
    }

    void ExpectBuildError(const std::string& text) {
        platform.ExpectBox(BuildAnimationTitle);
        EXPECT_EQ(BuildPuzzleAnimation(), -1);
        ASSERT_FALSE(platform.Boxes().empty());
        EXPECT_EQ(platform.Boxes().back().text, text);
        EXPECT_EQ(platform.Boxes().back().flags, platform::MsgOkOnly | platform::MsgExclamation);
        EXPECT_EQ(platform.Beeps(), 1);
    }
};

TEST_F(AnimationBuilderTest, OnePhotonGivesLampRowsPutBacksAndFrames) {
    Record(1, 1, 12, 6, "SQRGR", 8, 3);
    RecordFinal(1, 2, 13, 6);

    ASSERT_EQ(BuildPuzzleAnimation(), 19);
    EXPECT_EQ(Rows(1, 19), Join({LampRows(),
                                 {Row(LampResting, false, LampCell)},
                                 StepRows("SQRGR", 1, 1, 12, 6, 8, 3),
                                 {Row(Resting("SQRGR"), false, 12)},
                                 {Row(Frame("DETWH", 1, 2, 1), true, 13)},
                                 {Row(Frame("DETWH", 1, 2, 2), false, 13)},
                                 {Row(Frame("DETWH", 1, 2, 3), false, 13)},
                                 {Row(Frame("DETWH", 1, 2, 4), false, 13)},
                                 {Row(Frame("DETWH", 1, 2, 5), false, 13)},
                                 {Row(Frame("DETWH", 1, 2, 6), true, 13)}}));
    // Room for the board's rows; nothing behind the result.
    ASSERT_GE(AnimTable.size(), 801u);
    for (size_t i = 20; i < AnimTable.size(); ++i)
        ASSERT_TRUE(AnimTable[i].pictureName.empty()) << "row " << i;
    // Photons 2 and 3 never moved.
    EXPECT_TRUE(std::none_of(AnimTable.begin(), AnimTable.end(), [](const AnimRow& row) {
        return row.pictureName.find("P2S") != std::string::npos ||
               row.pictureName.find("P3S") != std::string::npos;
    }));
}

TEST_F(AnimationBuilderTest, SplitOffPhotonMovesBesideTheOneThatSplit) {
    Record(1, 1, 12, 3, "SPLTL").splitCell = 22;
    RecordFinal(1, 2, 13, 3);
    Record(2, 0, 22, 3, "MIRRO");
    RecordFinal(2, 1, 32, 3);

    const int32_t rows = BuildPuzzleAnimation();
    ASSERT_EQ(rows, 21);
    EXPECT_EQ(Rows(6, rows), std::vector<std::string>({
                                 // pass 1 and 2: photon 1 alone
                                 Row(LampResting, false, LampCell),
                                 Row(Frame("SPLTL", 1, 1, 1), true, 12),
                                 Row(Frame("SPLTL", 1, 1, 2), false, 12),
                                 // pass n: the split step's last frame, then photon 2 starts
                                 Row(Frame("SPLTL", 1, 1, 3), false, 12),
                                 Row(Resting("SPLTL"), false, 12),
                                 Row(Frame("MIRRO", 2, 0, 1), true, 22),
                                 // pass n + 1: both redraw the splitter, one after the other
                                 Row(Resting("SPLTL"), false, 12),
                                 Row(Frame("DETWH", 1, 2, 1), true, 13),
                                 Row(Frame("MIRRO", 2, 0, 2), false, 22),
                                 // pass n + 2
                                 Row(Frame("DETWH", 1, 2, 2), false, 13),
                                 Row(Frame("MIRRO", 2, 0, 3), false, 22),
                                 Row(Frame("DETWH", 1, 2, 3), true, 13),
                                 Row(Resting("MIRRO"), false, 22),
                                 Row(Frame("DETWH", 2, 1, 1), true, 32),
                                 Row(Frame("DETWH", 2, 1, 2), false, 32),
                                 Row(Frame("DETWH", 2, 1, 3), true, 32),
                             }));
}

TEST_F(AnimationBuilderTest, SecondSplitOfPhotonOneStartsPhotonThree) {
    for (const bool photon2StillMoving : {true, false}) {
        SCOPED_TRACE(photon2StillMoving ? "photon 2 moving" : "photon 2 done");
        ResetPhotonTables();
        RecordLamp();
        Record(1, 1, 12, 3, "SPLTL").splitCell = 22;
        Record(1, 2, 13, 3, "SPLTR").splitCell = 23;
        RecordFinal(1, 3, 14, 3);
        if (photon2StillMoving) {
            RecordFinal(2, 0, 22, 9);
        } else {
            RecordFinal(2, 0, 22, 2);
        }
        RecordFinal(3, 0, 23, 3);

        const int32_t rows = BuildPuzzleAnimation();
        ASSERT_GT(rows, 0);
        const auto all = Rows(1, rows);
        const auto split =
            std::find(all.begin(), all.end(), Row(Frame("SPLTR", 1, 2, 3), false, 13));
        ASSERT_NE(split, all.end());
        std::vector<std::string> after(split + 1, split + (photon2StillMoving ? 4 : 3));
        if (photon2StillMoving) {
            // Photon 2's turn comes between photon 1's last frame and photon 3's first rows.
            EXPECT_EQ(after, std::vector<std::string>({Row(Frame("DETWH", 2, 0, 4), false, 22),
                                                       Row(Resting("SPLTR"), false, 13),
                                                       Row(Frame("DETWH", 3, 0, 1), true, 23)}));
        } else {
            EXPECT_EQ(after, std::vector<std::string>({Row(Resting("SPLTR"), false, 13),
                                                       Row(Frame("DETWH", 3, 0, 1), true, 23)}));
        }
        EXPECT_EQ(all.back(), Row(Frame("DETWH", photon2StillMoving ? 2 : 1,
                                        photon2StillMoving ? 0 : 3, photon2StillMoving ? 9 : 3),
                                  true, photon2StillMoving ? 22 : 14));
    }
}

TEST_F(AnimationBuilderTest, PhotonTwoStartsPhotonThreeAndLaterSplitsStartNothing) {
    Record(1, 1, 12, 2, "SPLTL").splitCell = 22;
    Record(1, 2, 13, 2, "SPLTR").splitCell = 44;  // both further photons are out by then
    RecordFinal(1, 3, 14, 2);
    Record(2, 0, 22, 2, "SPLTB").splitCell = 23;
    RecordFinal(2, 1, 32, 2);
    Record(3, 0, 23, 2, "SPLTL").splitCell = 24;  // photon 3 starts nothing
    RecordFinal(3, 1, 33, 2);

    const int32_t rows = BuildPuzzleAnimation();
    EXPECT_EQ(Rows(6, rows),
              std::vector<std::string>({
                  Row(LampResting, false, LampCell),       Row(Frame("SPLTL", 1, 1, 1), true, 12),
                  Row(Frame("SPLTL", 1, 1, 2), false, 12), Row(Resting("SPLTL"), false, 12),
                  Row(Frame("SPLTB", 2, 0, 1), true, 22),

                  Row(Resting("SPLTL"), false, 12),        Row(Frame("SPLTR", 1, 2, 1), true, 13),
                  Row(Frame("SPLTB", 2, 0, 2), false, 22), Row(Resting("SPLTB"), false, 22),
                  Row(Frame("SPLTL", 3, 0, 1), true, 23),

                  Row(Frame("SPLTR", 1, 2, 2), false, 13), Row(Resting("SPLTB"), false, 22),
                  Row(Frame("DETWH", 2, 1, 1), true, 32),  Row(Frame("SPLTL", 3, 0, 2), false, 23),

                  Row(Resting("SPLTR"), false, 13),        Row(Frame("DETWH", 1, 3, 1), true, 14),
                  Row(Frame("DETWH", 2, 1, 2), true, 32),  Row(Resting("SPLTL"), false, 23),
                  Row(Frame("DETWH", 3, 1, 1), true, 33),

                  Row(Frame("DETWH", 1, 3, 2), true, 14),  Row(Frame("DETWH", 3, 1, 2), true, 33),
              }));
}

TEST_F(AnimationBuilderTest, MiddleFramesNameOnlyWhatTheCrossingRowDoesNot) {
    KeyTable[1][2] = {40, 31, 10, 0};
    Record(1, 1, 12, 4, "SQRBN", 7, 1).splitCell = 21;
    RecordFinal(1, 2, 13, 2);
    Record(2, 0, 21, 4, "SQRBN", 7, 2);
    Record(2, 1, 31, 4, "KEYBN", 10, 2);
    RecordFinal(2, 2, 41, 2);

    ASSERT_GT(BuildPuzzleAnimation(), 0);
    std::vector<std::string> middles;
    for (const std::string& row : Rows(1, 60)) {
        for (const auto& [code, photon, step] :
             {std::tuple{"SQRBN", 1, 1}, std::tuple{"SQRBN", 2, 0}, std::tuple{"KEYBN", 2, 1}})
            for (int f : {2, 3})
                if (row.starts_with(Frame(code, photon, step, f) + " "))
                    middles.push_back(row);
    }
    EXPECT_EQ(middles, std::vector<std::string>({
                           Row(Frame("SQRBN", 1, 1, 2), false, 12),
                           Row(Frame("SQRBN", 1, 1, 3), false, 12),
                           Row(Frame("SQRBN", 2, 0, 2), false, 21, 7, 2),
                           Row(Frame("SQRBN", 2, 0, 3), false, 21, 7, 2),
                           Row(Frame("KEYBN", 2, 1, 2), false, 31),
                           Row(Frame("KEYBN", 2, 1, 3), false, 31),
                       }));
}

TEST_F(AnimationBuilderTest, BonusObjectIsCreditedOnceThenErasedAndCrossedAsAnEmptyCell) {
    BonusObjTable[1][1] = {150, 12, 0};
    const std::string emptyFrame = "BLANK" + Frame("DIAM_", 1, 3, 2).substr(5);
    WriteImageIndex(AppPath, {{emptyFrame, "empty cell frame"}});
    Record(1, 1, 12, 3, "DIAM_", 1, 1);
    Record(1, 2, 13, 3);
    Record(1, 3, 12, 3, "DIAM_", 1, 1);
    RecordFinal(1, 4, 14, 2);

    const int32_t rows = BuildPuzzleAnimation();
    EXPECT_EQ(Rows(6, rows), std::vector<std::string>({
                                 Row(LampResting, false, LampCell),
                                 Row(Frame("DIAM_", 1, 1, 1), true, 12, 1, 1),
                                 Row(Frame("DIAM_", 1, 1, 2), false, 12),
                                 Row(Frame("DIAM_", 1, 1, 3), false, 12),
                                 Row(Erase, true, 12),
                                 // the next step begins by erasing the object's cell
                                 Row(Erase, false, 12),
                                 Row(Frame("MIRRO", 1, 2, 1), true, 13),
                                 Row(Frame("MIRRO", 1, 2, 2), false, 13),
                                 Row(Frame("MIRRO", 1, 2, 3), false, 13),
                                 // crossed again: the empty cell, nothing named
                                 Row(Resting("MIRRO"), false, 13),
                                 Row(Erase, true, 12),
                                 Row(emptyFrame, false, 12),
                                 Row(Erase, true, 12),
                                 Row(Erase, true, 12),
                                 Row(Erase, false, 12),
                                 Row(Frame("DETWH", 1, 4, 1), true, 14),
                                 Row(Frame("DETWH", 1, 4, 2), true, 14),
                             }));
    EXPECT_EQ(BonusObjTable[1][1].state, -1);
    EXPECT_EQ(folder.Read("DATA/" + emptyFrame), "empty cell frame");
}

TEST_F(AnimationBuilderTest, KeyIsTakenLikeABonusObjectAndAMissingKeyEndsTheBuild) {
    KeyTable[2][3] = {15, 12, 11, 0};
    Record(1, 1, 12, 2, "KEYGR", 11, 3).splitCell = 22;
    RecordFinal(1, 2, 13, 2);
    Record(2, 0, 22, 3, "KEYGR", 11, 3);  // behind photon 1, and its empty frame is not indexed
    RecordFinal(2, 1, 32, 2);

    const int32_t rows = BuildPuzzleAnimation();
    ASSERT_GT(rows, 0);
    const auto all = Rows(1, rows);
    EXPECT_EQ(KeyTable[2][3].state, -1);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const std::string& row) { return row.ends_with(" 11 3"); }),
              1);
    // A split on a key step starts nothing: the step closes itself.
    EXPECT_TRUE(std::none_of(all.begin(), all.end(), [](const std::string& row) {
        return row.find("P2S") != std::string::npos;
    }));

    for (const int16_t slot : {0, 33}) {
        SCOPED_TRACE(slot);
        ResetPhotonTables();
        RecordLamp();
        Record(1, 1, 12, 2, "KEYOR", 12, slot);
        RecordFinal(1, 2, 13, 2);
        platform.ExpectBox(BuildAnimationTitle);
        EXPECT_EQ(BuildPuzzleAnimation(), -1);
        EXPECT_EQ(platform.Boxes().back().text, "ERROR: KEY NOT FOUND!");
        // Written so far: the lamp and the put-back row; nothing after the error.
        EXPECT_EQ(AnimTable[6].pictureName, LampResting);
        EXPECT_TRUE(AnimTable[7].pictureName.empty());
    }
    EXPECT_EQ(platform.Beeps(), 2);
}

TEST_F(AnimationBuilderTest, BonusObjectWithoutTriggerIsAnOrdinaryStep) {
    BonusObjTable[2][1] = {20, 30, 0};
    const auto states = [] {
        std::vector<int> all;
        for (const auto& kind : BonusObjTable)
            for (const BonusObjSlot& slot : kind)
                all.push_back(slot.state);
        return all;
    };
    const std::vector<int> before = states();
    Record(1, 1, 12, 3, "APPLE", 2, 0);
    RecordFinal(1, 2, 13, 2);

    const int32_t rows = BuildPuzzleAnimation();
    EXPECT_EQ(Rows(6, rows), Join({{Row(LampResting, false, LampCell)},
                                   StepRows("APPLE", 1, 1, 12, 3, 2, 0),
                                   {Row(Resting("APPLE"), false, 12)},
                                   {Row(Frame("DETWH", 1, 2, 1), true, 13)},
                                   {Row(Frame("DETWH", 1, 2, 2), true, 13)}}));
    EXPECT_EQ(states(), before);
}

TEST_F(AnimationBuilderTest, OneFrameStepsArePlayedOnce) {
    BonusObjTable[3][2] = {40, 14, 0};
    Record(1, 1, 12, 3);
    Record(1, 2, 13, 1, "SQROR", 9, 4);
    Record(1, 3, 14, 1, "FACE_", 3, 2);
    RecordFinal(1, 4, 15, 1);

    const int32_t rows = BuildPuzzleAnimation();
    EXPECT_EQ(Rows(6, rows),
              Join({{Row(LampResting, false, LampCell)},
                    StepRows("MIRRO", 1, 1, 12, 3),
                    {Row(Resting("MIRRO"), false, 12), Row(Frame("SQROR", 1, 2, 1), true, 13, 9, 4),
                     Row(Resting("SQROR"), false, 13), Row(Frame("FACE_", 1, 3, 1), true, 14, 3, 2),
                     Row(Erase, true, 14), Row(Erase, false, 14),
                     Row(Frame("DETWH", 1, 4, 1), true, 15)}}));
    EXPECT_EQ(BonusObjTable[3][2].state, -1);
}

TEST_F(AnimationBuilderTest, PathThatRunsPastItsRecordsEndsTheBuild) {
    // Step 2 is not the last of the path, but the table ends with it.
    Record(1, 1, 12, 2);
    Record(1, 2, 13, 2);
    PhotonPathTable1.resize(3);
    ExpectBuildError("ERROR: PHOTON PATH IS INCOMPLETE!");
}

TEST_F(AnimationBuilderTest, PathThatRunsIntoAnUnrecordedRowEndsTheBuild) {
    Record(1, 1, 12, 2);
    ExpectBuildError("ERROR: PHOTON PATH IS INCOMPLETE!");
}

TEST_F(AnimationBuilderTest, PhotonWaitingForAPartnerThatNeverComesEndsTheBuild) {
    // Photon 2 leaves its mixer only after photon 3's step 0, but nothing starts photon 3.
    Record(1, 1, 12, 2, "SPLTL").splitCell = 22;
    RecordFinal(1, 2, 13, 2);
    PhotonPathRow& white = Record(2, 0, 22, 2, "MXVML");
    white.waitPhoton = 3;
    white.waitRow = 0;
    RecordFinal(2, 1, 32, 2);
    ExpectBuildError("ERROR: PHOTON PATH IS INCOMPLETE!");
}

TEST_F(AnimationBuilderTest, SplitToAPhotonWithNothingRecordedIsIgnored) {
    Record(1, 1, 12, 2, "SPLTL").splitCell = 22;
    RecordFinal(1, 2, 13, 2);

    const int32_t rows = BuildPuzzleAnimation();
    EXPECT_EQ(Rows(6, rows), Join({{Row(LampResting, false, LampCell)},
                                   StepRows("SPLTL", 1, 1, 12, 2),
                                   {Row(Resting("SPLTL"), false, 12)},
                                   {Row(Frame("DETWH", 1, 2, 1), true, 13)},
                                   {Row(Frame("DETWH", 1, 2, 2), true, 13)}}));
}

TEST_F(AnimationBuilderTest, TableGrowsForLongRuns) {
    constexpr int Steps = 60;
    for (int step = 1; step < Steps; ++step)
        Record(1, step, static_cast<int16_t>(step + 20), 16);
    RecordFinal(1, Steps, 99, 16);

    // 17 rows a step, far more than the 800 a 10 by 10 board starts with.
    ASSERT_EQ(BuildPuzzleAnimation(), 5 + Steps * 17);
    EXPECT_EQ(Rows(5 + Steps * 17, 5 + Steps * 17),
              std::vector<std::string>({Row(Frame("DETWH", 1, Steps, 16), true, 99)}));
    EXPECT_EQ(Rows(7, 7), std::vector<std::string>({Row(Frame("MIRRO", 1, 1, 1), true, 21)}));
}

class ShutterFramesTest : public AnimationBuilderTest {
  protected:
    static std::string ShutterFrame(int frame) {
        return "SHVBN_______________0" + std::to_string(frame) + ".BMP";
    }

    void SetUp() override {
        AnimationBuilderTest::SetUp();
        // A vertical brown shutter in slot 20 of its kind, open from an earlier run.
        ShutterTable[4][20] = {13, 1, 16};
        Record(1, 1, 12, 2);
        Record(1, 2, 13, 3, "SHVBN", 16, 20);
        RecordFinal(1, 3, 14, 2);
    }

    void WriteShutterIndex() {
        std::vector<testsupport::IndexEntry> entries;
        for (int frame = 0; frame <= 4; ++frame)
            entries.push_back({ShutterFrame(frame), "archived " + std::to_string(frame)});
        WriteImageIndex(AppPath, entries);
    }
};

TEST_F(ShutterFramesTest, ShutterIsClosedAndOnlyItsMissingFramesAreExtracted) {
    WriteShutterIndex();
    for (int frame : {0, 1, 3, 4})
        ASSERT_FALSE(platform::WriteFileAtomic(ImagePath + ShutterFrame(frame), "present"));

    const int32_t rows = BuildPuzzleAnimation();
    ASSERT_GT(rows, 0);
    EXPECT_EQ(ShutterTable[4][20].open, 0);
    for (int frame : {0, 1, 3, 4})
        EXPECT_EQ(folder.Read("DATA/" + ShutterFrame(frame)), "present");
    EXPECT_EQ(folder.Read("DATA/" + ShutterFrame(2)), "archived 2");
    // The shutter step's last frame tells the playback which shutter the photon reaches.
    const auto all = Rows(1, rows);
    EXPECT_NE(std::find(all.begin(), all.end(), Row(Frame("SHVBN", 1, 2, 3), false, 13, 16, 20)),
              all.end());
}

TEST_F(ShutterFramesTest, PresentFramesNeedNoIndex) {
    for (int frame = 0; frame <= 4; ++frame)
        ASSERT_FALSE(platform::WriteFileAtomic(ImagePath + ShutterFrame(frame), "present"));
    EXPECT_GT(BuildPuzzleAnimation(), 0);
    EXPECT_FALSE(platform::IsFile(AppPath + ImageIndexName));
}

TEST_F(ShutterFramesTest, IndexNamesMatchInAnyCaseButOnlyBitmapsCount) {
    WriteImageIndex(AppPath, {{"shvbn_______________00.bmp  ", "lower"},
                              {ShutterFrame(1), "icon", 'I'},
                              {"SHVBN_______________01.BMP", "bitmap"},
                              {ShutterFrame(2), "2"},
                              {ShutterFrame(3), "3"},
                              {ShutterFrame(4), "4"}});
    EXPECT_GT(BuildPuzzleAnimation(), 0);
    EXPECT_EQ(folder.Read("DATA/" + ShutterFrame(0)), "lower");
    EXPECT_EQ(folder.Read("DATA/" + ShutterFrame(1)), "bitmap");
}

TEST_F(ShutterFramesTest, MissingIndexEndsTheBuildWithoutCreatingIt) {
    ExpectBuildError("ERROR: OPENING INDEX FILE");
    EXPECT_FALSE(platform::IsFile(AppPath + ImageIndexName));
    EXPECT_EQ(ShutterTable[4][20].open, 0);
}

TEST_F(ShutterFramesTest, FrameTheIndexCannotGiveEndsTheBuild) {
    for (const bool archiveGone : {false, true}) {
        SCOPED_TRACE(archiveGone ? "extraction fails" : "not in the index");
        if (archiveGone) {
            WriteShutterIndex();
            ASSERT_FALSE(platform::DeleteFile(AppPath + "QUARVELT000001.MIX"));
        } else {
            WriteImageIndex(AppPath, {{ShutterFrame(0), "0"}, {ShutterFrame(1), "1"}});
        }
        platform.ExpectBox(BuildAnimationTitle);
        EXPECT_EQ(BuildPuzzleAnimation(), -1);
        EXPECT_EQ(platform.Boxes().back().text, "ERROR: LOCATING A SHUTTER!");
    }
}

TEST_F(ShutterFramesTest, ShutterOffTheLinkTablesIsLeftAlone) {
    ShutterTable[4][20].cell = -1;
    EXPECT_GT(BuildPuzzleAnimation(), 0);
    EXPECT_EQ(ShutterTable[4][20].open, 1);
}

}  // namespace
}  // namespace quarvelt
