// A new player's first session through the real windows, offscreen: the game
// starts on a fresh game folder, the first puzzle is loaded from the library,
// its solution is placed by clicks on the tool box and the board, Run gives the
// verdict, and Help opens the manual on its contents.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/toolbox_catalogue.h"
#include "help/help_file.h"
#include "help/help_reader.h"
#include "mainwindow/game_bd.h"
#include "modal.h"
#include "platform/files.h"
#include "platform/qt/ansi.h"
#include "puzzles/creator.h"
#include "startup/startup_sequence.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "toolbox/tool_box.h"

using namespace quarvelt;
namespace fs = std::filesystem;

namespace {

const std::string ShippedDir = QUARVELT_GAME_DIR;

// The windows the start-up sequence loads, as the game's entry gives them.
struct Windows : StartupWindows {
    void LoadMainWindow() override {
        game = std::make_unique<GameBd>();
        game->Logic().FormLoad();
    }
    void ClearStatusLine() override { statusCleared = true; }
    void InitMenus() override { game->Logic().InitMenus(); }

    std::unique_ptr<GameBd> game;
    bool statusCleared = false;
};

class Journey : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ImageIndex::Forget();
        // A game folder as the build lays it out: the picture set and the manual
        // (read only, so linked), and the shipped puzzles, which the first start moves.
        const fs::path game = dir.Path() + "game";
        fs::create_directories(game);
        size_t puzzleFiles = 0;
        for (const auto& entry : fs::directory_iterator(ShippedDir)) {
            const std::string name = entry.path().filename().string();
            const std::string extension = entry.path().extension().string();
            if (extension == ".IDX" || extension == ".MIX" || extension == ".HLP") {
                fs::create_symlink(entry.path(), game / name);
            } else if (extension.size() == 4 && name != "QUARVELT.INI" &&
                       std::string(".INF.PZL.TBX.SHC.KYC.SQC.TGC").find(extension) !=
                           std::string::npos) {
                fs::copy_file(entry.path(), game / name);
                ++puzzleFiles;
            }
        }
        ASSERT_TRUE(fs::exists(game / "QUARVELT.HLP")) << "build the game data first";
        ASSERT_TRUE(fs::exists(game / "C01FIRSTLIT.INF")) << "the shipped puzzles are missing";
        ASSERT_EQ(puzzleFiles % 7, 0u);

        SetFolderPaths(game.string());
        SuiteRoot = dir.Path() + "config/BRISKA/";
        CurrentDate = "12/07/2026";
        CurrentTime = "09:30:00";
    }
    void TearDown() override {
        windows.game.reset();
        ImageIndex::Forget();
        ResetGlobals();
    }

    GameBd& Window() { return *windows.game; }
    QAction* Item(const QString& caption) {
        for (QAction* top : Window().menuBar()->actions()) {
            if (top->text() == caption)
                return top;
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption)
                        return action;
        }
        ADD_FAILURE() << "no menu item " << caption.toStdString();
        return nullptr;
    }
    // The tool-box button of the picture `stem` in the group shown.
    QToolButton* ToolButton(const std::string& stem) {
        for (const ToolboxObjectRow& row : ToolboxObjectTable)
            if (row.stem == stem && row.button >= 0)
                return Window().ToolBoxWindow().Tool(row.button);
        return nullptr;
    }
    void ClickCell(int row, int col) {
        auto& grid = Window().Grid();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(row, col).center());
    }
    std::string Cell(int row, int col) const {
        return BoardTable[static_cast<size_t>(row * BoardCols + col)].pictureName.substr(0, 5);
    }
    static void SaveShot(const QPixmap& picture, const char* name) {
        fs::create_directories(QUARVELT_SCREENSHOT_DIR);
        EXPECT_TRUE(picture.save(QString::fromLatin1(QUARVELT_SCREENSHOT_DIR) + name));
    }

    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    Windows windows;
};

}  // namespace

TEST_F(Journey, FromAFreshFolderTheFirstPuzzleIsSolvedByClicksAndHelpOpensOnTheContents) {
    // The first start moves the shipped puzzles into the puzzle folder.
    ASSERT_EQ(RunStartupSequence(windows), 0);
    EXPECT_TRUE(windows.statusCleared) << "the first-run check ran";
    EXPECT_TRUE(platform::IsFile(PuzzlePath + "C01FIRSTLIT.PZL"));
    EXPECT_FALSE(platform::IsFile(AppPath + "C01FIRSTLIT.PZL"));
    PuzzleLoadPause = 0;
    Window().resize(1100, 800);
    Window().show();
    ASSERT_TRUE(Item("Load")->isVisible() && Item("Load")->isEnabled());
    EXPECT_FALSE(Item("&Run")->isVisible()) << "nothing to run before a puzzle is open";

    // Puzzle > Load, "First Light".
    platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
    guitest::WhenModalShown<QDialog>([](QDialog* shown) {
        auto* library = dynamic_cast<Creator*>(shown);
        ASSERT_NE(library, nullptr);
        const auto found = library->PzlList()->findItems("First Light", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        library->PzlList()->setCurrentItem(found.front());
        EXPECT_EQ(library->PzlCmd()->text(), "LOAD");
        library->PzlCmd()->click();
    });
    Item("Load")->trigger();
    ASSERT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(platform.Boxes()[0].text,
              "Photon A MUST light the WHITE Detector. It takes only a LARGE WHITE Photon, and "
              "only from below.");
    ASSERT_EQ(BoardRows, 10);
    ASSERT_EQ(Cell(6, 1), "LAMP_");
    ASSERT_EQ(Cell(2, 7), "DETWH");
    EXPECT_EQ(Window().Logic().ToolBox().mode, "GM") << "a shipped puzzle opens for play";

    // Tools > Game Tool Box; the lens in column 3, the reflector under the detector.
    ASSERT_TRUE(Item("Game Tool Box")->isEnabled());
    Item("Game Tool Box")->trigger();
    ToolBox& box = Window().ToolBoxWindow();
    ASSERT_TRUE(box.isVisible());
    EXPECT_FALSE(box.TBoxType(0)->isVisible()) << "no walls in the game tool box";
    QTest::mouseClick(box.TBoxType(5), Qt::LeftButton);
    QToolButton* lens = ToolButton("LENCC_U");
    ASSERT_NE(lens, nullptr);
    ASSERT_TRUE(lens->isVisible() && lens->isEnabled());
    EXPECT_EQ(lens->toolTip(), "Items Remaining = 1");
    QTest::mouseClick(lens, Qt::LeftButton);
    ClickCell(6, 3);
    EXPECT_EQ(Cell(6, 3), "LENCC");
    EXPECT_EQ(ToolButton("LENCC_U")->toolTip(), "Items Remaining = 0");

    QTest::mouseClick(box.TBoxType(1), Qt::LeftButton);
    QToolButton* reflector = ToolButton("REFLU_U");
    ASSERT_NE(reflector, nullptr);
    ASSERT_TRUE(reflector->isVisible() && reflector->isEnabled());
    QTest::mouseClick(reflector, Qt::LeftButton);
    ClickCell(6, 7);
    EXPECT_EQ(Cell(6, 7), "REFLU");

    const QPixmap board = Window().grab();
    const QPixmap tools = box.grab();
    QPixmap both(board.width() + tools.width() + 12, std::max(board.height(), tools.height()));
    both.fill(QColor(60, 64, 80));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, board);
    painter.drawPixmap(board.width() + 12, 80, tools);
    painter.end();
    SaveShot(both, "journey-first-light-placed.png");

    // Run: the flight, then the verdict.
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    ASSERT_TRUE(Item("&Run")->isVisible() && Item("&Run")->isEnabled());
    Item("&Run")->trigger();
    ASSERT_EQ(platform.Boxes().size(), 2u);
    EXPECT_EQ(platform.Boxes()[1].text, "CONGRATULATIONS YOU SOLVED THE PUZZLE.");
    EXPECT_FALSE(box.isVisible()) << "Run puts the tool box away";
    EXPECT_TRUE(Item("Re&Set")->isVisible());
    EXPECT_EQ(PhotonState[1][3], "W") << "photon A ended in the white detector";
    SaveShot(Window().grab(), "journey-first-light-solved.png");

    // Help > Help: the reader opens on the contents, which lead to how to play.
    HelpManualContents manual;
    ASSERT_FALSE(ReadHelpManual(AppPath + HelpManualName, manual));
    ASSERT_FALSE(manual.pages.empty());
    bool shown = false;
    guitest::WhenModalShown<QDialog>([&](QDialog* dialog) {
        auto* reader = dynamic_cast<HelpReader*>(dialog);
        ASSERT_NE(reader, nullptr);
        shown = true;
        EXPECT_EQ(reader->windowTitle(), "QUARVELT.HLP");
        EXPECT_EQ(reader->PageFrame()->title(), "Page 1");
        for (int k = 0; k < HelpPageLines; ++k)
            EXPECT_EQ(platform::qt::ToAnsi(reader->PgLine(k)->text()),
                      manual.pages[0].lines[static_cast<size_t>(k)].text);
        EXPECT_TRUE(reader->PagNum()->isVisible()) << "the contents take a page number";
        SaveShot(reader->grab(), "journey-help-contents.png");
        // The contents lead to how to play, by the page number they give.
        std::string page;
        for (const auto& line : manual.pages[0].lines)
            if (line.text.rfind("  How to play ", 0) == 0)
                page = line.text.substr(line.text.find_last_of(' ') + 1);
        ASSERT_FALSE(page.empty()) << "the contents list how to play";
        QTest::keyClicks(reader->PagNum(), QString::fromStdString(page));
        QTest::keyClick(reader->PagNum(), Qt::Key_Return);
        EXPECT_EQ(reader->PageFrame()->title().toStdString(), "Page " + page);
        EXPECT_EQ(platform::qt::ToAnsi(reader->PgLine(0)->text()), "HOW TO PLAY");
        QTest::mouseClick(reader->ExitHlp(), Qt::LeftButton);
    });
    Item("Help")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(platform.Boxes().size(), 2u) << "no box on the way";
}
