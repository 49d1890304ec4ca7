#include "platform/qt/board_grid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "platform/qt/label.h"
#include "support/temp_folder.h"

using platform::qt::QtBoardGrid;

namespace {

struct Presses : platform::BoardGridEvents {
    std::vector<std::vector<int>> mouse;
    std::vector<std::pair<int, int>> keys;
    void GridMouseDown(int button, int shift, int row, int col) override {
        mouse.push_back({button, shift, row, col});
    }
    void GridKeyDown(int key, int shift) override { keys.emplace_back(key, shift); }
};

// A grid of square 727-twip cells, as the board clear lays it out.
void LayOut(QtBoardGrid& grid, int rows, int cols) {
    grid.Clear();
    grid.SetRows(rows);
    grid.SetCols(cols);
    for (int r = 0; r < rows; ++r)
        grid.SetRowHeight(r, 727);
    for (int c = 0; c < cols; ++c)
        grid.SetColWidth(c, 727);
}

std::string WritePicture(const testsupport::TempFolder& dir, const std::string& name,
                         QColor colour) {
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(colour);
    const std::string path = dir.Path() + name;
    image.save(QString::fromStdString(path), "BMP");
    return path;
}

}  // namespace

TEST(BoardGrid, CellsShowTheirPicturesAtFortyEightPixels) {
    testsupport::TempFolder dir;
    QtBoardGrid grid;
    LayOut(grid, 15, 15);
    EXPECT_EQ(grid.sizeHint(), QSize(15 * 48, 15 * 48));
    grid.resize(grid.sizeHint());
    grid.SetRow(2);
    grid.SetCol(3);
    // Lower case in the request still finds the file, as every look-up of the game does.
    const std::string red = WritePicture(dir, "RED.BMP", Qt::red);
    EXPECT_TRUE(grid.SetCellPicture(dir.Path() + "red.bmp"));
    grid.SetRow(0);
    grid.SetCol(0);
    EXPECT_FALSE(grid.SetCellPicture(dir.Path() + "MISSING.BMP"));
    // A picture that can't be read leaves the cell as it was.
    grid.SetRow(2);
    grid.SetCol(3);
    EXPECT_FALSE(grid.SetCellPicture(dir.Path() + "MISSING.BMP"));
    grid.SetDisplay(platform::GridDisplay::FocusRect, 0);

    const QImage shot = grid.viewport()->grab().toImage();
    const QRect cell = grid.CellRect(2, 3);
    EXPECT_EQ(cell, QRect(3 * 48, 2 * 48, 48, 48));
    EXPECT_EQ(QColor(shot.pixel(cell.center())), QColor(Qt::red));
    EXPECT_NE(QColor(shot.pixel(grid.CellRect(0, 0).center())), QColor(Qt::red));

    grid.Clear();
    const QImage cleared = grid.viewport()->grab().toImage();
    EXPECT_NE(QColor(cleared.pixel(cell.center())), QColor(Qt::red));
}

TEST(BoardGrid, TextsBelongToTheCurrentCellAndResizingKeepsWhatFits) {
    QtBoardGrid grid;
    LayOut(grid, 10, 12);
    grid.SetRow(9);
    grid.SetCol(11);
    grid.SetCellText("119");
    EXPECT_EQ(grid.CellText(), "119");
    grid.SetRow(0);
    EXPECT_EQ(grid.CellText(), "");
    grid.SetRow(9);
    EXPECT_EQ(grid.CellText(), "119");
    grid.SetRows(5);  // the current row falls off the board and comes back inside it
    EXPECT_EQ(grid.Row(), 4);
    grid.SetRow(99);  // out of range: ignored
    EXPECT_EQ(grid.Row(), 4);
}

TEST(BoardGrid, MousePressesAndKeysReachTheWindowWithTheirCell) {
    QtBoardGrid grid;
    LayOut(grid, 15, 15);
    grid.resize(grid.sizeHint());
    grid.show();
    Presses presses;
    grid.SetEvents(&presses);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(4, 7).center());
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::ShiftModifier,
                      grid.CellRect(14, 0).center());
    ASSERT_EQ(presses.mouse.size(), 2u);
    EXPECT_EQ(presses.mouse[0], (std::vector<int>{1, 0, 4, 7}));
    EXPECT_EQ(presses.mouse[1], (std::vector<int>{2, 1, 14, 0}));
    EXPECT_EQ(grid.Row(), 14);
    EXPECT_EQ(grid.Col(), 0);

    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_F12, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_A);
    QTest::keyClick(&grid, Qt::Key_Question, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_7, Qt::KeypadModifier);
    // Ctrl and Shift held for the keys come as keys of their own.
    EXPECT_EQ(presses.keys,
              (std::vector<std::pair<int, int>>{
                  {39, 0}, {17, 2}, {123, 2}, {'A', 0}, {16, 1}, {191, 1}, {103, 0}}));
    EXPECT_EQ(grid.Col(), 1);
}

TEST(BoardGrid, TallyLabelKeepsSingleByteText) {
    platform::qt::QtLabel label;
    label.SetCaption("1234");
    EXPECT_EQ(label.Caption(), "1234");
    label.SetCaption("90\xB0");
    EXPECT_EQ(label.text(), QString::fromUtf8("90°"));
    EXPECT_EQ(label.Caption(), "90\xB0");
}

TEST(BoardGrid, AStripKeptClearMovesTheBoardAsideAndTakesNoClicks) {
    QtBoardGrid grid;
    LayOut(grid, 16, 16);
    grid.resize(1000, 900);
    grid.show();
    const int view = grid.viewport()->width();
    EXPECT_EQ(grid.CentredBoard(), grid.ShownBoard());
    EXPECT_EQ(grid.ShownBoard().left(), (view - 16 * 48) / 2);

    grid.KeepRightClear(408);
    // The board centres in what is left, scrolling where it no longer fits.
    EXPECT_LE(grid.ShownBoard().right(), view - 408);
    EXPECT_EQ(grid.ShownBoard().left(), 0);
    EXPECT_EQ(grid.CentredBoard().left(), (view - 16 * 48) / 2);
    EXPECT_GT(grid.horizontalScrollBar()->maximum(), 0);
    int row = -1, col = -1;
    const int y = grid.ShownBoard().top() + 10;
    EXPECT_TRUE(grid.CellAt(QPoint(view - 409, y), row, col));
    EXPECT_FALSE(grid.CellAt(QPoint(view - 400, y), row, col));

    grid.KeepRightClear(0);
    EXPECT_EQ(grid.ShownBoard().left(), (view - 16 * 48) / 2);
}
