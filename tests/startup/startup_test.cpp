#include "startup/startup_sequence.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/globals.h"
#include "common/library.h"
#include "common/settings.h"
#include "platform/files.h"
#include "platform/records.h"
#include "puzzles/condition_catalogue.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

struct Windows : StartupWindows {
    std::vector<std::string> calls;
    std::function<void()> onLoad;
    void LoadMainWindow() override {
        calls.push_back("load");
        if (onLoad)
            onLoad();
    }
    void ClearStatusLine() override { calls.push_back("status"); }
    void InitMenus() override { calls.push_back("menus"); }
};

const char* const ShippedSet[] = {"QUARVELT.IDX", "QUARVELT000001.MIX",
                                  "QUARVELT.HLP", "ONE.PZL",
                                  "ONE.INF",      "ONE.TBX",
                                  "ONE.KYC",      "ONE.SHC",
                                  "ONE.SQC",      "ONE.TGC"};

class Startup : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    Windows windows;

    void SetUp() override {
        ResetGlobals();
        SetFolderPaths(dir.Path() + "game");
        SuiteRoot = dir.Path() + "config/BRISKA/";
        CurrentDate = "12/07/2026";
    }
    void TearDown() override { ResetGlobals(); }

    void Ship(std::initializer_list<const char*> skip = {}) {
        for (const char* name : ShippedSet)
            if (std::find(skip.begin(), skip.end(), std::string(name)) == skip.end())
                dir.Write(std::string("game/") + name, std::string("bytes of ") + name);
    }
    std::string Ini(const std::string& file, const std::string& section, const std::string& key) {
        std::string value;
        ReadWriteIni(file, section, key, value, False);
        return value;
    }
    bool InGame(const std::string& name) { return platform::IsFile(AppPath + name); }
    bool InPuzzles(const std::string& name) { return platform::IsFile(PuzzlePath + name); }
};

}  // namespace

TEST(StartupDateTime, TextsTooShortAreRefusedAndLongOnesCut) {
    testsupport::ScriptedPlatform platform;
    platform.ExpectBox("WRONG   DATE   TYPE");
    EXPECT_FALSE(CheckDateAndTime("7/12/26"));
    EXPECT_EQ(platform.Boxes()[0].flags, platform::MsgCritical);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_TRUE(CheckDateAndTime("12/07/2026 09:30:00"));
    EXPECT_EQ(CurrentDate, "12/07/2026");
    EXPECT_EQ(CurrentTime, "09:30:00");
    // Only the lengths are checked, whatever the form.
    EXPECT_TRUE(CheckDateAndTime("2026-12-07T09:30:00Z"));
    EXPECT_EQ(CurrentDate, "2026-12-07");
    EXPECT_EQ(CurrentTime, "9:30:00Z");
    ResetGlobals();
}

TEST(StartupPaths, FoldersHangOffTheProgramFolder) {
    SetFolderPaths("/opt/quarvelt");
    EXPECT_EQ(AppPath, "/opt/quarvelt/");
    EXPECT_EQ(PuzzlePath, "/opt/quarvelt/PUZZLE/");
    EXPECT_EQ(ImagePath, "/opt/quarvelt/DATA/");
    EXPECT_EQ(SuiteRoot.substr(SuiteRoot.size() - 7), "BRISKA/");
    SetFolderPaths("/");
    EXPECT_EQ(AppPath, "/");
    ResetGlobals();
}

TEST_F(Startup, FirstStartMovesThePuzzlesAndWritesEverySetting) {
    Ship();
    dir.Write("game/TWO.PZL", "second puzzle");
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"load", "status", "menus"}));
    EXPECT_TRUE(platform::IsFolder(PuzzlePath) && platform::IsFolder(ImagePath) &&
                platform::IsFolder(SuiteRoot));
    for (const char* name : {"ONE.PZL", "TWO.PZL", "ONE.INF", "ONE.TGC"}) {
        EXPECT_TRUE(InPuzzles(name)) << name;
        EXPECT_FALSE(InGame(name)) << name;
    }
    EXPECT_EQ(dir.Read("game/PUZZLE/TWO.PZL"), "second puzzle");
    EXPECT_TRUE(InGame("QUARVELT.IDX") && InGame("QUARVELT.HLP"));
    EXPECT_EQ(
        dir.Read("game/QUARVELT.INI"),
        "[STARTUPINFO]\nReleaseDate=25 July 2019\nProgramVersion=2.00.01.2019\nFirstRunDone=-1\n");
    EXPECT_EQ(Ini(SuiteIni(), "QUARVELT2", "Quarvelt_Directory"), AppPath);
    EXPECT_EQ(Ini(SuiteIni(), "QUARVELT2", "PuzzlePath"), PuzzlePath);
    EXPECT_EQ(Ini(SuiteIni(), "APP_TYPE", "CurrentApp"), "QUARVELT");
    EXPECT_EQ(platform.PointerLog().back(), platform::Pointer::Default);

    // Later starts leave the puzzle folder alone, even with a new file beside the program.
    dir.Write("game/NEW.PZL", "x");
    windows.calls.clear();
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"load", "menus"}));
    EXPECT_TRUE(InGame("NEW.PZL"));
}

TEST_F(Startup, PuzzleSetsLeftHalfReplacedAreSettledBeforeTheMainWindowLoads) {
    Ship();
    dir.Write("game/PUZZLE/TWO.INF", "kept");
    dir.Write("game/PUZZLE/.TWO.INF.NEW", "left by a killed save");
    dir.Write("game/PUZZLE/.TWO.SET", "no marker a replace writes");
    bool leftWhenLoaded = true;
    windows.onLoad = [&] { leftWhenLoaded = InPuzzles(".TWO.INF.NEW") || InPuzzles(".TWO.SET"); };
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_FALSE(leftWhenLoaded);
    EXPECT_EQ(dir.Read("game/PUZZLE/TWO.INF"), "kept");
}

TEST_F(Startup, AMissingImportantFileEndsTheProgramBeforeAnythingMoves) {
    for (const char* missing : {"QUARVELT.IDX", "QUARVELT000001.MIX", "QUARVELT.HLP"}) {
        testsupport::TempFolder fresh;
        SetFolderPaths(fresh.Path() + "game");
        SuiteRoot = fresh.Path() + "config/";
        for (const char* name : ShippedSet)
            if (std::string(name) != missing)
                fresh.Write(std::string("game/") + name, "x");
        platform.ExpectBox("REQUIRED FILES CHECK");
        EXPECT_NE(RunStartupSequence(windows), 0) << missing;
        EXPECT_EQ(platform.Boxes().back().text,
                  "MISSING IMPORTANT FILE: \rCan't continue -- TERMINATING!!!\r\rYOU MUST DO "
                  "ANOTHER DOWNLOAD!");
        EXPECT_TRUE(platform::IsFile(AppPath + "ONE.PZL"))
            << "nothing moved when " << missing << " is missing";
        EXPECT_FALSE(FirstRunDone());
    }
}

TEST_F(Startup, AMissingPuzzleKindKeepsEveryShippedFileAndTheNextStartTriesAgain) {
    Ship({"ONE.SQC"});
    platform.ExpectBox("REQUIRED FILES CHECK");
    EXPECT_NE(RunStartupSequence(windows), 0);
    EXPECT_EQ(platform.Boxes().back().text,
              "ERROR: MISSING PUZZLE FILE(s)! \rCan't continue -- TERMINATING!!!\r\rYOU MUST DO "
              "ANOTHER DOWNLOAD!");
    EXPECT_EQ(Ini(ProgramIni(), "STARTUPINFO", "CurrentDate"), "12/07/2026");
    EXPECT_TRUE(InGame("ONE.PZL") && InGame("ONE.INF"));
    EXPECT_FALSE(FirstRunDone());

    // A kind already in the puzzle folder counts as present.
    dir.Write("game/PUZZLE/OLD.SQC", "kept");
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_TRUE(InPuzzles("ONE.PZL") && InPuzzles("OLD.SQC"));
    EXPECT_TRUE(FirstRunDone());
}

TEST_F(Startup, AFailedMoveIsReportedAndLosesNothing) {
    Ship();
    dir.Write("game/PUZZLE/ONE.INF/blocker", "");  // a folder where a moved file must go
    platform.ExpectBox("REQUIRED FILES CHECK");
    EXPECT_NE(RunStartupSequence(windows), 0);
    EXPECT_EQ(platform.Boxes().back().text.substr(0, 6), "ERROR ");
    EXPECT_EQ(dir.Read("game/ONE.INF"), "bytes of ONE.INF");
    EXPECT_FALSE(FirstRunDone());
}

TEST_F(Startup, SuiteFoldersOfAnotherInstallationStay) {
    Ship();
    dir.Write("config/BRISKA/VESTRAL.INI",
              "[QUARVELT2]\nQuarvelt_Directory=/elsewhere/\n[APP_TYPE]\nCurrentApp=X\n");
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_EQ(Ini(SuiteIni(), "QUARVELT2", "Quarvelt_Directory"), "/elsewhere/");
    EXPECT_EQ(Ini(SuiteIni(), "APP_TYPE", "CurrentApp"), "QUARVELT");
}

TEST_F(Startup, TheDefaultCatalogueIsWrittenOnceByteForByte) {
    ASSERT_FALSE(platform::CreateFolder(AppPath));
    ASSERT_EQ(DefaultSpConds(), 0);
    platform::RecordFileContents contents;
    ASSERT_FALSE(platform::ReadRecordFile(SpecialCondPath(), 1060, contents));
    ASSERT_EQ(contents.records.size(), 99u);
    EXPECT_EQ(contents.trailingBytes, 0u);
    const auto& first = contents.records[0].Bytes();
    EXPECT_EQ(first.substr(0, 36), "0101P1__DbTnP2__DbTnP3__DbTnTa0000~ ");
    EXPECT_EQ(first.substr(36, 37), "All Three BLUE Detectors MUST be lit.");
    EXPECT_EQ(first.substr(73), std::string(1024 - 37, ' '));
    EXPECT_EQ(contents.records[9].Bytes().substr(0, 36), "1010P1____Tn________________Ta2000~ ");
    const std::string maze =
        "Solve the maze so the White, Green and Cyan Photons reach their Detectors on the outside.";
    EXPECT_EQ(contents.records[8].Bytes().substr(36, maze.size() + 1), maze + " ");
    EXPECT_EQ(contents.records[10].Bytes(),
              "1100" + std::string(30, ' ') + "~" + std::string(1025, ' '));
    EXPECT_EQ(contents.records[98].Bytes().substr(0, 4), "9900");

    // An existing catalogue is left alone, however short.
    dir.Write("game/QUARVELT.CSC", "short");
    ASSERT_EQ(DefaultSpConds(), 0);
    EXPECT_EQ(dir.Read("game/QUARVELT.CSC"), "short");
}
