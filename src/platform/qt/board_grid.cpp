#include "platform/qt/board_grid.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <algorithm>

#include "platform/files.h"
#include "platform/qt/ansi.h"

namespace platform::qt {
namespace {

constexpr int DefaultCellPixels = 48;

int Pixels(int twips) {
    return std::max(1, (twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

// Pictures are shared by many cells; the cache keys them by file and stamp so a
// re-extracted picture is read again.
bool LoadPicture(const std::string& path, QPixmap& picture) {
    const std::string resolved = ResolveCase(path);
    const FileStamp stamp = StampOf(resolved);
    if (!stamp.exists)
        return false;
    const QString key = QStringLiteral("board:%1:%2:%3")
                            .arg(QFile::decodeName(QByteArray::fromStdString(resolved)))
                            .arg(stamp.size)
                            .arg(stamp.modified);
    if (QPixmapCache::find(key, &picture))
        return true;
    if (!picture.load(QFile::decodeName(QByteArray::fromStdString(resolved))) || picture.isNull())
        return false;
    QPixmapCache::insert(key, picture);
    return true;
}

}  // namespace

int VirtualKeyOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // Qt numbers these as their upper-case characters too
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

QtBoardGrid::QtBoardGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
}

void QtBoardGrid::Clear() {
    for (Cell& cell : cells_)
        cell = {};
    viewport()->update();
}

void QtBoardGrid::SetDisplay(GridDisplay property, int value) {
    switch (property) {
        case GridDisplay::FocusRect:
            focusRect_ = value;
            break;
        case GridDisplay::HighLight:
            highLight_ = value;
            break;
        case GridDisplay::SelectionMode:
            selectionMode_ = value;
            break;
    }
    viewport()->update();
}

void QtBoardGrid::Resize(int rows, int cols) {
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    std::vector<Cell> cells(static_cast<size_t>(rows * cols));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<size_t>(r * cols + c)] =
                std::move(cells_[static_cast<size_t>(r * cols_ + c)]);
    cells_ = std::move(cells);
    rowHeights_.resize(static_cast<size_t>(rows), DefaultCellPixels);
    colWidths_.resize(static_cast<size_t>(cols), DefaultCellPixels);
    rows_ = rows;
    cols_ = cols;
    row_ = std::clamp(row_, 0, std::max(0, rows_ - 1));
    col_ = std::clamp(col_, 0, std::max(0, cols_ - 1));
    UpdateScrollBars();
    updateGeometry();
    viewport()->update();
}

void QtBoardGrid::SetRows(int rows) {
    Resize(rows, cols_);
}

void QtBoardGrid::SetCols(int cols) {
    Resize(rows_, cols);
}

void QtBoardGrid::SetRowHeight(int row, int twips) {
    if (row < 0 || row >= rows_)
        return;
    rowHeights_[static_cast<size_t>(row)] = Pixels(twips);
    UpdateScrollBars();
    updateGeometry();
    viewport()->update();
}

void QtBoardGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= cols_)
        return;
    colWidths_[static_cast<size_t>(col)] = Pixels(twips);
    UpdateScrollBars();
    updateGeometry();
    viewport()->update();
}

void QtBoardGrid::SetRow(int row) {
    if (row < 0 || row >= rows_)
        return;
    viewport()->update(CellRect(row_, col_));
    row_ = row;
    viewport()->update(CellRect(row_, col_));
}

void QtBoardGrid::SetCol(int col) {
    if (col < 0 || col >= cols_)
        return;
    viewport()->update(CellRect(row_, col_));
    col_ = col;
    viewport()->update(CellRect(row_, col_));
}

QtBoardGrid::Cell* QtBoardGrid::Current() {
    if (row_ < 0 || row_ >= rows_ || col_ < 0 || col_ >= cols_)
        return nullptr;
    return &cells_[static_cast<size_t>(row_ * cols_ + col_)];
}

const QtBoardGrid::Cell* QtBoardGrid::Current() const {
    return const_cast<QtBoardGrid*>(this)->Current();
}

bool QtBoardGrid::SetCellPicture(const std::string& path) {
    Cell* cell = Current();
    if (!cell)
        return false;
    QPixmap picture;
    if (!LoadPicture(path, picture))
        return false;
    cell->picture = picture;
    viewport()->update(CellRect(row_, col_));
    return true;
}

void QtBoardGrid::ClearCellPicture() {
    if (Cell* cell = Current()) {
        cell->picture = QPixmap();
        viewport()->update(CellRect(row_, col_));
    }
}

void QtBoardGrid::SetCellText(const std::string& text) {
    if (Cell* cell = Current()) {
        cell->text = FromAnsi(text);
        viewport()->update(CellRect(row_, col_));
    }
}

std::string QtBoardGrid::CellText() const {
    const Cell* cell = Current();
    return cell ? ToAnsi(cell->text) : std::string();
}

// A board smaller than the window stands in its middle.
int QtBoardGrid::OriginX() const {
    return std::max(0, (viewport()->width() - Width()) / 2);
}

int QtBoardGrid::OriginY() const {
    return std::max(0, (viewport()->height() - Height()) / 2);
}

int QtBoardGrid::Left(int col) const {
    int x = OriginX() - horizontalScrollBar()->value();
    for (int c = 0; c < col && c < cols_; ++c)
        x += colWidths_[static_cast<size_t>(c)];
    return x;
}

int QtBoardGrid::Top(int row) const {
    int y = OriginY() - verticalScrollBar()->value();
    for (int r = 0; r < row && r < rows_; ++r)
        y += rowHeights_[static_cast<size_t>(r)];
    return y;
}

int QtBoardGrid::Width() const {
    int width = 0;
    for (int w : colWidths_)
        width += w;
    return width;
}

int QtBoardGrid::Height() const {
    int height = 0;
    for (int h : rowHeights_)
        height += h;
    return height;
}

QRect QtBoardGrid::CellRect(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return {};
    return QRect(Left(col), Top(row), colWidths_[static_cast<size_t>(col)],
                 rowHeights_[static_cast<size_t>(row)]);
}

bool QtBoardGrid::CellAt(const QPoint& point, int& row, int& col) const {
    int x = point.x() + horizontalScrollBar()->value() - OriginX();
    int y = point.y() + verticalScrollBar()->value() - OriginY();
    if (x < 0 || y < 0)
        return false;
    for (col = 0; col < cols_ && x >= colWidths_[static_cast<size_t>(col)]; ++col)
        x -= colWidths_[static_cast<size_t>(col)];
    for (row = 0; row < rows_ && y >= rowHeights_[static_cast<size_t>(row)]; ++row)
        y -= rowHeights_[static_cast<size_t>(row)];
    return row < rows_ && col < cols_;
}

QSize QtBoardGrid::sizeHint() const {
    return QSize(Width(), Height());
}

void QtBoardGrid::UpdateScrollBars() {
    // Scroll bars only for a board larger than the window.
    const QSize area = maximumViewportSize();
    const bool wide = Width() > area.width(), tall = Height() > area.height();
    setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(tall ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, Width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(DefaultCellPixels);
    verticalScrollBar()->setRange(0, std::max(0, Height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(DefaultCellPixels);
}

void QtBoardGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void QtBoardGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    painter.fillRect(dirty, QColor(22, 26, 48));
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            const QRect rect = CellRect(r, c);
            if (!rect.intersects(dirty))
                continue;
            const Cell& cell = cells_[static_cast<size_t>(r * cols_ + c)];
            if (!cell.picture.isNull())
                painter.drawPixmap(rect, cell.picture);
            else
                painter.fillRect(rect, QColor(12, 14, 28));
            if (!cell.text.isEmpty()) {
                const QRect box = rect.adjusted(2, 2, -2, -2);
                painter.setPen(QColor(0, 0, 0, 200));
                painter.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignTop, cell.text);
                painter.setPen(QColor(255, 236, 140));
                painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, cell.text);
            }
        }
    }
    const QRect current = CellRect(row_, col_);
    if (current.isValid() && highLight_ != 0)
        painter.fillRect(current, QColor(120, 170, 255, 70));
    if (current.isValid() && focusRect_ != 0 && hasFocus()) {
        painter.setPen(QPen(QColor(255, 214, 90), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(current.adjusted(1, 1, -2, -2));
    }
}

void QtBoardGrid::mousePressEvent(QMouseEvent* event) {
    int row = 0, col = 0;
    if (!CellAt(event->position().toPoint(), row, col))
        return;
    setFocus(Qt::MouseFocusReason);
    SetRow(row);
    SetCol(col);
    const int button = ButtonOf(event->button());
    if (events_ && button)
        events_->GridMouseDown(button, ShiftOf(event->modifiers()), row, col);
}

void QtBoardGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void QtBoardGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            SetCol(col_ - 1);
            break;
        case Qt::Key_Right:
            SetCol(col_ + 1);
            break;
        case Qt::Key_Up:
            SetRow(row_ - 1);
            break;
        case Qt::Key_Down:
            SetRow(row_ + 1);
            break;
        default:
            break;
    }
    const int key = VirtualKeyOf(event->key());
    if (events_ && key)
        events_->GridKeyDown(key, ShiftOf(event->modifiers()));
    else
        QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace platform::qt
