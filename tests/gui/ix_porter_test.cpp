// The puzzle transfer window offscreen: the drive question's loop before it
// shows, several puzzles chosen with the mouse and exported, and Escape.
#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/globals.h"
#include "common/tables.h"
#include "modal.h"
#include "platform/files.h"
#include "puzzles/ix_porter.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

class TransferWindow : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    IXPorterLogic logic;
    std::string stick;

    void SetUp() override {
        ResetGlobals();
        PuzzlePath = dir.Path() + "PUZZLE/";
        stick = dir.Path() + "STICK/";
        ASSERT_FALSE(platform::CreateFolder(PuzzlePath));
        ASSERT_FALSE(platform::CreateFolder(stick));
        platform.drives = {{'C', platform::DriveKind::Fixed, dir.Path()},
                           {'D', platform::DriveKind::Removable, stick}};
        for (const char* name : {"Prism Walk", "Amber Gate", "Twin Lamps"})
            Write(name);
    }
    void TearDown() override { ResetGlobals(); }

    static void Write(const std::string& puzzleName) {
        std::string base = puzzleName.substr(0, puzzleName.find(' '));
        for (char& c : base)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        PuzzleInfo info;
        info.puzzleName = puzzleName;
        info.SetBaseName(base);
        info.boardRows = 10;
        info.boardCols = 10;
        info.puzzleKey = "UNKEYED";
        info.specialCondCode = "00                              ~";
        PuzzleTables tables = CurrentPuzzleTables();
        tables.board.assign(100, {"BLANK_______________00.BMP", 5, 0, False, False});
        ASSERT_TRUE(SavePuzzleFiles(PuzzlePath, info, tables).Ok());
    }
    static void SaveShot(const QPixmap& picture, const char* name) {
        QDir().mkpath(QUARVELT_SCREENSHOT_DIR);
        EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
    }
    static void Click(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
};

TEST_F(TransferWindow, TheQuestionLoopsThenSeveralPuzzlesAreChosenAndExported) {
    logic.caption = "E X P O R T   P U Z Z L E";
    logic.pzlMode = ExportMode;
    // A lower-case letter is refused; OK asks again.
    platform.ExpectInput("d:");
    platform.ExpectBox("ENTER  DRIVE  LETTER");
    platform.ExpectInput("D:");
    IXPorter window(logic, nullptr);
    bool shown = false;
    guitest::WhenModalShown<QDialog>([&](QDialog* up) {
        auto* dialog = dynamic_cast<IXPorter*>(up);
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), "E X P O R T   P U Z Z L E");
        EXPECT_EQ(dialog->PzlOk()->text(), "EXPORT");
        EXPECT_EQ(dialog->PzlExit()->text(), "EXIT");
        QListWidget* list = dialog->PzlList();
        ASSERT_TRUE(list->isEnabled());
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "Amber Gate");

        // Each click adds a puzzle; a second click on one takes it out again.
        Click(list, 0);
        Click(list, 1);
        Click(list, 2);
        Click(list, 1);
        EXPECT_EQ(list->selectedItems().size(), 2);
        EXPECT_EQ(logic.TransferTable()[static_cast<size_t>(logic.ItemData()[0])].mark, "S");
        EXPECT_EQ(logic.TransferTable()[static_cast<size_t>(logic.ItemData()[1])].mark, "N");
        SaveShot(dialog->grab(), "ix-porter-export.png");

        platform.ExpectBox("EXPORT    PUZZLES");
        platform.ExpectBox("EXPORT PUZZLE FILES");
        dialog->PzlOk()->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(list->selectedItems().size(), 2);
        dialog->PzlExit()->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    window.Run();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(logic.Visible());
    EXPECT_EQ(platform.Boxes().back().text, "PUZZLE FILES EXPORTED.");
    std::vector<std::string> copied;
    ASSERT_FALSE(platform::ListFiles(stick + "PUZZLE/", copied));
    EXPECT_EQ(copied.size(), 14u);
    EXPECT_TRUE(platform::IsFile(stick + "PUZZLE/AMBER.PZL"));
    EXPECT_TRUE(platform::IsFile(stick + "PUZZLE/TWIN.KYC"));
    EXPECT_FALSE(platform::IsFile(stick + "PUZZLE/PRISM.INF"));
}

TEST_F(TransferWindow, CancelOnTheQuestionNeverShowsItAndEscapeClosesIt) {
    logic.pzlMode = ImportMode;
    platform.ExpectInput("");
    {
        IXPorter window(logic, nullptr);
        window.Run();
        EXPECT_FALSE(logic.Visible());
        EXPECT_FALSE(window.isVisible());
    }

    // An import from the stick, closed with Escape.
    ASSERT_FALSE(platform::CreateFolder(stick + "PUZZLE"));
    for (const char* ext : {".INF", ".PZL", ".TBX", ".TGC", ".SHC", ".SQC", ".KYC"})
        ASSERT_FALSE(
            platform::CopyFileVerified(PuzzlePath + "TWIN" + ext, stick + "PUZZLE/TWIN" + ext));
    logic.caption = "E M P O R T   P U Z Z L E";
    platform.ExpectInput("D:");
    platform.ExpectBox("IMPORT  PUZZLE  FILES");
    IXPorter window(logic, nullptr);
    guitest::WhenModalShown<QDialog>([&](QDialog* up) {
        auto* dialog = dynamic_cast<IXPorter*>(up);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->PzlOk()->text(), "IMPORT");
        ASSERT_EQ(dialog->PzlList()->count(), 1);
        SaveShot(dialog->grab(), "ix-porter-import.png");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    window.Run();
    EXPECT_FALSE(logic.Visible());
}

}  // namespace
