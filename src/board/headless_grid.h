// A board grid and a caption for programs without a window (the trace tool,
// fuzz targets, benchmarks): the grid is always the board's size, keeps its
// current cell and draws nothing; a program that wants to see the drawing
// overrides SetCellPicture.
#pragma once

#include <string>

#include "common/globals.h"
#include "platform/board_grid.h"
#include "platform/label.h"

namespace quarvelt {

class HeadlessGrid : public platform::BoardGrid {
  public:
    void Clear() override {}
    void SetDisplay(platform::GridDisplay, int) override {}
    void SetRows(int) override {}
    int Rows() const override { return BoardRows; }
    void SetCols(int) override {}
    int Cols() const override { return BoardCols; }
    void SetRowHeight(int, int) override {}
    void SetColWidth(int, int) override {}
    void SetRow(int row) override { row_ = row; }
    int Row() const override { return row_; }
    void SetCol(int col) override { col_ = col; }
    int Col() const override { return col_; }
    bool SetCellPicture(const std::string&) override { return true; }
    void ClearCellPicture() override {}
    void SetCellText(const std::string&) override {}
    std::string CellText() const override { return {}; }
    void SetEvents(platform::BoardGridEvents*) override {}

  protected:
    // The current cell's index, and a drawn path's picture name within the image folder.
    int Cell() const { return row_ * BoardCols + col_; }
    static std::string PictureName(const std::string& path) {
        return path.compare(0, ImagePath.size(), ImagePath) == 0 ? path.substr(ImagePath.size())
                                                                 : path;
    }

  private:
    int row_ = 0;
    int col_ = 0;
};

// A label that only keeps its caption; a tally starts at "0".
class CaptionLabel : public platform::Label {
  public:
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string Caption() const override { return caption_; }

  private:
    std::string caption_ = "0";
};

}  // namespace quarvelt
