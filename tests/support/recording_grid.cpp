#include "support/recording_grid.h"

#include <gtest/gtest.h>

#include "platform/files.h"

namespace testsupport {

void RecordingGrid::Clear() {
    pictures_.clear();
    texts_.clear();
    log.push_back("clear");
}

void RecordingGrid::SetDisplay(platform::GridDisplay property, int value) {
    display_[static_cast<int>(property)] = value;
    log.push_back("display " + std::to_string(static_cast<int>(property)) + " " +
                  std::to_string(value));
}

void RecordingGrid::SetRows(int rows) {
    rows_ = rows;
    log.push_back("rows " + std::to_string(rows));
}

void RecordingGrid::SetCols(int cols) {
    cols_ = cols;
    log.push_back("cols " + std::to_string(cols));
}

void RecordingGrid::SetRowHeight(int row, int twips) {
    EXPECT_TRUE(row >= 0 && row < rows_) << "row height of row " << row << " of " << rows_;
    rowHeights_[row] = twips;
    log.push_back("rowheight " + std::to_string(row) + " " + std::to_string(twips));
}

void RecordingGrid::SetColWidth(int col, int twips) {
    EXPECT_TRUE(col >= 0 && col < cols_) << "width of column " << col << " of " << cols_;
    colWidths_[col] = twips;
    log.push_back("colwidth " + std::to_string(col) + " " + std::to_string(twips));
}

void RecordingGrid::SetRow(int row) {
    EXPECT_TRUE(row >= 0 && row < rows_) << "current row " << row << " of " << rows_;
    row_ = row;
}

void RecordingGrid::SetCol(int col) {
    EXPECT_TRUE(col >= 0 && col < cols_) << "current column " << col << " of " << cols_;
    col_ = col;
}

bool RecordingGrid::SetCellPicture(const std::string& path) {
    const bool shown = platform::IsFile(path);
    log.push_back("picture " + std::to_string(row_) + " " + std::to_string(col_) + " " + path +
                  (shown ? "" : " (missing)"));
    if (shown)
        pictures_[{row_, col_}] = path;
    return shown;
}

void RecordingGrid::ClearCellPicture() {
    pictures_.erase({row_, col_});
    log.push_back("nopicture " + std::to_string(row_) + " " + std::to_string(col_));
}

void RecordingGrid::SetCellText(const std::string& text) {
    texts_[{row_, col_}] = text;
    log.push_back("text " + std::to_string(row_) + " " + std::to_string(col_) + " " + text);
}

std::string RecordingGrid::CellText() const {
    return TextAt(row_, col_);
}

std::string RecordingGrid::PictureAt(int row, int col) const {
    auto it = pictures_.find({row, col});
    return it == pictures_.end() ? std::string() : it->second;
}

std::string RecordingGrid::TextAt(int row, int col) const {
    auto it = texts_.find({row, col});
    return it == texts_.end() ? std::string() : it->second;
}

int RecordingGrid::Display(platform::GridDisplay property) const {
    auto it = display_.find(static_cast<int>(property));
    return it == display_.end() ? -1 : it->second;
}

int RecordingGrid::RowHeight(int row) const {
    auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? -1 : it->second;
}

int RecordingGrid::ColWidth(int col) const {
    auto it = colWidths_.find(col);
    return it == colWidths_.end() ? -1 : it->second;
}

}  // namespace testsupport
