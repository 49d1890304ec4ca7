// The board grid on screen: square cells with a picture and a text each, a
// current cell that the mouse and the arrow keys move, and the display states
// of editing (focus shown) and running (nothing shown).
#pragma once

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QString>
#include <functional>
#include <vector>

#include "platform/board_grid.h"

namespace platform::qt {

// Windows virtual-key number of a Qt key (`keypad` for the number pad's keys);
// 0 only for a key Qt could not name.
int VirtualKeyOf(int qtKey, bool keypad = false);

class QtBoardGrid : public QAbstractScrollArea, public BoardGrid {
  public:
    explicit QtBoardGrid(QWidget* parent = nullptr);

    void Clear() override;
    void SetDisplay(GridDisplay property, int value) override;
    void SetRows(int rows) override;
    int Rows() const override { return rows_; }
    void SetCols(int cols) override;
    int Cols() const override { return cols_; }
    void SetRowHeight(int row, int twips) override;
    void SetColWidth(int col, int twips) override;
    void SetRow(int row) override;
    int Row() const override { return row_; }
    void SetCol(int col) override;
    int Col() const override { return col_; }
    bool SetCellPicture(const std::string& path) override;
    void ClearCellPicture() override;
    void SetCellText(const std::string& text) override;
    std::string CellText() const override;
    void SetEvents(BoardGridEvents* events) override { events_ = events; }

    QSize sizeHint() const override;
    // The rectangle of a cell in viewport coordinates.
    QRect CellRect(int row, int col) const;
    // The part of the board the viewport shows, in viewport coordinates.
    QRect ShownBoard() const;
    // The board with nothing kept clear and not scrolled sideways: centred where
    // it fits, else filling the viewport's width.
    QRect CentredBoard() const;
    // Keeps a strip of `pixels` at the viewport's right free of the board, for
    // a window that stands there; the board centres and scrolls in the rest.
    void KeepRightClear(int pixels);
    // Runs after the board changed its size or its place in the window.
    std::function<void()> boardMoved;
    // The cell under a viewport point, false when there is none.
    bool CellAt(const QPoint& point, int& row, int& col) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Cell {
        QPixmap picture;
        QString text;
    };
    Cell* Current();
    const Cell* Current() const;
    void Resize(int rows, int cols);
    void UpdateScrollBars();
    // The arrow keys' scroll: the current cell into view.
    void ScrollToCurrent();
    int OriginX() const;
    // The viewport's width less the strip kept clear.
    int ViewWidth() const;
    int OriginY() const;
    int Left(int col) const;
    int Top(int row) const;
    int Width() const;
    int Height() const;
    void BoardMoved();

    int keptClear_ = 0;
    int rows_ = 0;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int focusRect_ = 1;
    int highLight_ = 0;
    int selectionMode_ = 0;
    std::vector<int> rowHeights_;  // pixels
    std::vector<int> colWidths_;   // pixels
    std::vector<Cell> cells_;      // row by row
    BoardGridEvents* events_ = nullptr;
    bool movePending_ = false;
};

}  // namespace platform::qt
