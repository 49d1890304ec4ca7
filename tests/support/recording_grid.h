// A board grid that remembers its cells and logs every call, for tests of the
// board code without a window.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/board_grid.h"

namespace testsupport {

class RecordingGrid : public platform::BoardGrid {
  public:
    void Clear() override;
    void SetDisplay(platform::GridDisplay property, int value) override;
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
    // Succeeds when the file exists; the cell then shows its path, otherwise it keeps its picture.
    bool SetCellPicture(const std::string& path) override;
    void ClearCellPicture() override;
    void SetCellText(const std::string& text) override;
    std::string CellText() const override;
    void SetEvents(platform::BoardGridEvents* events) override { events_ = events; }

    // One line per call, e.g. "rows 15", "display 34 1", "picture 0 3 /x/BLANK.BMP".
    std::vector<std::string> log;
    std::string PictureAt(int row, int col) const;
    std::string TextAt(int row, int col) const;
    int Display(platform::GridDisplay property) const;
    int RowHeight(int row) const;
    int ColWidth(int col) const;
    platform::BoardGridEvents* Events() const { return events_; }

  private:
    using Cell = std::pair<int, int>;
    int rows_ = 0;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    std::map<Cell, std::string> pictures_;
    std::map<Cell, std::string> texts_;
    std::map<int, int> display_;
    std::map<int, int> rowHeights_;
    std::map<int, int> colWidths_;
    platform::BoardGridEvents* events_ = nullptr;
};

}  // namespace testsupport

#include "platform/label.h"

namespace testsupport {

// A label that keeps its caption and every caption it was given.
class RecordingLabel : public platform::Label {
  public:
    void SetCaption(const std::string& caption) override {
        caption_ = caption;
        captions.push_back(caption);
    }
    std::string Caption() const override { return caption_; }
    std::vector<std::string> captions;

  private:
    std::string caption_;
};

}  // namespace testsupport
