// The board view beside the tool box on a 1280 by 1024 screen, offscreen, with
// the shipped mazes wider than the window: the board holds still under the
// player's hand, has the whole window back when the box goes, and follows the
// current cell under the arrow keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "board/board_model.h"
#include "common/globals.h"
#include "common/tables.h"
#include "game_window.h"
#include "modal.h"
#include "puzzles/creator.h"
#include "toolbox/object_lock.h"
#include "toolbox/tool_box.h"

using namespace quarvelt;
namespace fs = std::filesystem;

namespace {

constexpr int CellPixels = 48;
constexpr const char* SetExtensions[] = {".INF", ".PZL", ".TBX", ".SHC", ".KYC", ".SQC", ".TGC"};

class BoardView : public guitest::GameWindowTest {
  protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        window->setGeometry(window->screen()->availableGeometry());
        Settle();
    }

    static void Settle() {
        for (int pass = 0; pass < 3; ++pass)
            QApplication::processEvents();
    }
    // Puzzle > Load of a shipped puzzle, through the puzzle library.
    void Load(const std::string& base, const QString& name) {
        for (const char* extension : SetExtensions)
            fs::copy_file(std::string(QUARVELT_GAME_DIR) + base + extension,
                          PuzzlePath + base + extension);
        platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
        guitest::WhenModalShown<QDialog>([name](QDialog* shown) {
            auto* library = dynamic_cast<Creator*>(shown);
            ASSERT_NE(library, nullptr);
            const auto found = library->PzlList()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            library->PzlList()->setCurrentItem(found.front());
            library->PzlCmd()->click();
        });
        window->Logic().PuzzleMenuClick(1);
        Settle();
    }
    ToolBox& Box() { return window->ToolBoxWindow(); }
    platform::qt::QtBoardGrid& Grid() { return window->Grid(); }
    // The player comes back from the board to the tool box and works in it.
    void InBox(const std::function<void()>& act = {}) {
        window->activateWindow();
        Settle();
        Box().activateWindow();
        Settle();
        if (act)
            act();
        Settle();
    }
    QToolButton* ButtonOf(const std::string& stem) {
        for (const ToolboxObjectRow& row : ToolboxObjectTable)
            if (row.stem == stem && row.button >= 0)
                return Box().Tool(row.button);
        ADD_FAILURE() << "no button shows " << stem;
        return nullptr;
    }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        window->activateWindow();
        QTest::mouseClick(Grid().viewport(), button, {}, Grid().CellRect(row, col).center());
        Settle();
    }
    // Every column of the board in view, the board centred across the window.
    ::testing::AssertionResult AllColumnsInView() {
        const QRect shown = Grid().ShownBoard();
        if (shown.width() == BoardCols * CellPixels && shown.left() == Grid().CentredBoard().left())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the view shows " << shown.width() / CellPixels << " of " << BoardCols
               << " columns from x " << shown.left();
    }
};

}  // namespace

TEST_F(BoardView, AWideBoardScrolledFullyRightHoldsStillThroughWhatThePlayerDoes) {
    Load("C14MAZE2", "Out of the Maze in Three Colors");
    ASSERT_EQ(BoardCols, 30);
    window->Logic().ToolMenuClick(0);
    Settle();
    ASSERT_TRUE(Box().isVisible());
    QScrollBar* across = Grid().horizontalScrollBar();
    across->setValue(across->maximum());
    Settle();
    const int scrolled = across->value();
    ASSERT_GT(scrolled, 0);
    ASSERT_TRUE(Grid().ShownBoard().contains(Grid().CellRect(4, 26)));

    const struct {
        const char* what;
        std::function<void()> act;
    } steps[] = {
        {"activating the box", [&] { InBox(); }},
        {"Reflectors",
         [&] { InBox([&] { QTest::mouseClick(Box().TBoxType(1), Qt::LeftButton); }); }},
        {"Filters/Mixers",
         [&] { InBox([&] { QTest::mouseClick(Box().TBoxType(2), Qt::LeftButton); }); }},
        {"Miscellaneous",
         [&] { InBox([&] { QTest::mouseClick(Box().TBoxType(5), Qt::LeftButton); }); }},
        {"a pick",
         [&] {
             InBox([&] {
                 QTest::mouseClick(Box().TBoxType(1), Qt::LeftButton);
                 QTest::mouseClick(ButtonOf("REFLU_U"), Qt::LeftButton);
             });
         }},
        {"a placement",
         [&] {
             Click(4, 26);
             EXPECT_EQ(BoardTable[4 * 30 + 26].pictureName.substr(0, 5), "REFLU");
         }},
        {"a removal",
         [&] {
             InBox([&] {
                 QTest::mouseClick(Box().TBoxType(5), Qt::LeftButton);
                 QTest::mouseClick(ButtonOf("BLANK_U"), Qt::LeftButton);
             });
             Click(4, 26);
         }},
        {"a right click", [&] { Click(0, 28, Qt::RightButton); }},
        {"coming back from the information window", [&] { InBox(); }},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(across->value(), scrolled) << "after " << step.what;
        across->setValue(scrolled);
        Settle();
    }
    EXPECT_EQ(BoardTable[4 * 30 + 26].pictureName.substr(0, 5), "BLANK");
}

TEST_F(BoardView, WhenTheToolBoxGoesTheBoardHasTheWholeWindowBack) {
    const struct {
        const char* what;
        std::function<void()> act;
    } ways[] = {
        {"Exit",
         [&] {
             for (QPushButton* button : Box().findChildren<QPushButton*>())
                 if (button->text() == "Exit")
                     QTest::mouseClick(button, Qt::LeftButton);
         }},
        {"the close box", [&] { Box().close(); }},
        {"Run",
         [&] {
             platform.ExpectBox();
             window->Logic().MainMenuClick(2);
         }},
        {"Clear",
         [&] {
             window->Logic().ToolMenuClick(3);
             ASSERT_TRUE(window->ObjectLockWindow()->isVisible());
             window->Logic().MainMenuClick(4);
             EXPECT_FALSE(window->ObjectLockWindow()->isVisible()) << "no puzzle, nothing to lock";
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        Load("C13MAZE1", "Two Photons to the Center");
        ASSERT_EQ(BoardCols, 20);
        ASSERT_TRUE(AllColumnsInView());
        window->Logic().ToolMenuClick(0);
        Settle();
        ASSERT_TRUE(Box().isVisible());
        // The board moves aside for the box, which would stand over it.
        EXPECT_FALSE(AllColumnsInView());
        EXPECT_GT(Box().frameGeometry().left(),
                  Grid().viewport()->mapToGlobal(Grid().ShownBoard().topRight()).x() + 1);

        way.act();
        Settle();
        EXPECT_FALSE(Box().isVisible());
        EXPECT_TRUE(AllColumnsInView());
        window->Logic().MainMenuClick(4);
        for (const char* extension : SetExtensions)
            fs::remove(PuzzlePath + "C13MAZE1" + extension);
    }
}

TEST_F(BoardView, ArrowKeysScrollByWholeCellsJustEnoughToKeepTheCurrentCellInView) {
    PuzzleMode = "NEW";
    BoardRows = 60;
    BoardCols = 60;
    ClearPuzzleBoard(Grid(), window->Tally(), False);
    window->Logic().ToolMenuClick(1);
    Settle();
    ASSERT_TRUE(Box().isVisible());
    Click(0, 0);
    ASSERT_EQ(Grid().Row(), 0);
    Grid().setFocus();
    for (int k = 0; k < 25; ++k)
        QTest::keyClick(&Grid(), Qt::Key_Right);
    for (int k = 0; k < 25; ++k)
        QTest::keyClick(&Grid(), Qt::Key_Down);
    Settle();
    ASSERT_EQ(Grid().Col(), 25);
    ASSERT_EQ(Grid().Row(), 25);
    const QRect view = Grid().ShownBoard();
    const QRect current = Grid().CellRect(25, 25);
    EXPECT_TRUE(view.contains(current)) << "cell at " << current.x() << "," << current.y();
    // No further than needed: the cell stands at the view's far edges.
    EXPECT_LT(view.right() - current.right(), CellPixels);
    EXPECT_LT(view.bottom() - current.bottom(), CellPixels);
    EXPECT_EQ(Grid().horizontalScrollBar()->value() % CellPixels, 0);
    EXPECT_EQ(Grid().verticalScrollBar()->value() % CellPixels, 0);

    // Back to the top left the same way.
    for (int k = 0; k < 25; ++k) {
        QTest::keyClick(&Grid(), Qt::Key_Left);
        QTest::keyClick(&Grid(), Qt::Key_Up);
    }
    EXPECT_EQ(Grid().horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Grid().verticalScrollBar()->value(), 0);
}

TEST_F(BoardView, TheToolBoxStaysOnTheScreenWhateverTheWindowsSize) {
    PuzzleMode = "NEW";
    BoardRows = BoardCols = 10;
    ClearPuzzleBoard(Grid(), window->Tally(), False);
    window->Logic().ToolMenuClick(1);
    Settle();
    ASSERT_TRUE(Box().isVisible());
    const QRect screen = window->screen()->availableGeometry();
    // Far larger than the screen, the board centred beyond its right edge; then
    // as small as the window goes, and large again.
    for (const QSize size : {QSize(5000, 5000), QSize(1, 1), QSize(5000, 5000)}) {
        window->resize(size);
        Settle();
        const QRect box = Box().frameGeometry();
        EXPECT_TRUE(screen.contains(box)) << size.width() << " by " << size.height()
                                          << ": the box at " << box.x() << "," << box.y();
        const QRect shown = Grid().ShownBoard();
        EXPECT_FALSE(
            box.intersects(QRect(Grid().viewport()->mapToGlobal(shown.topLeft()), shown.size())))
            << "the box stands over the board";
    }
}
