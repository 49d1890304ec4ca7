#include "platform/qt/board_grid.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <QTimer>
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

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

constexpr KeyCode KeypadKeys[] = {{Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},
                                  {Qt::Key_Minus, 109},    {Qt::Key_Period, 110},
                                  {Qt::Key_Comma, 110},    {Qt::Key_Slash, 111}};

// Shifted digits and punctuation give the code of their key on a US keyboard.
constexpr KeyCode Keys[] = {
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},           {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},       {Qt::Key_Return, 13},       {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},      {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},       {Qt::Key_Pause, 19},        {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},      {Qt::Key_Space, 32},        {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},          {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},        {Qt::Key_Up, 38},           {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},        {Qt::Key_Print, 44},        {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},      {Qt::Key_Meta, 91},         {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},     {Qt::Key_Menu, 93},         {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_ParenRight, '0'},  {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},         {Qt::Key_NumberSign, '3'},  {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},   {Qt::Key_ParenLeft, '9'},   {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},       {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},        {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},      {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},         {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},  {Qt::Key_QuoteDbl, 222}};

template <size_t N>
int Lookup(const KeyCode (&table)[N], int qtKey) {
    for (const KeyCode& entry : table)
        if (entry.qtKey == qtKey)
            return entry.virtualKey;
    return 0;
}

}  // namespace

int VirtualKeyOf(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        if (const int key = Lookup(KeypadKeys, qtKey))
            return key;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // Qt numbers these as their upper-case characters too
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    if (qtKey == 0 || qtKey == Qt::Key_unknown)
        return 0;
    // A key of another layout is a key too: the code Windows gives keys it has no name for.
    const int key = Lookup(Keys, qtKey);
    return key ? key : 255;
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
    BoardMoved();
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
    BoardMoved();
}

void QtBoardGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= cols_)
        return;
    colWidths_[static_cast<size_t>(col)] = Pixels(twips);
    UpdateScrollBars();
    updateGeometry();
    viewport()->update();
    BoardMoved();
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
int QtBoardGrid::ViewWidth() const {
    return std::max(0, viewport()->width() - keptClear_);
}

int QtBoardGrid::OriginX() const {
    return std::max(0, (ViewWidth() - Width()) / 2);
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

QRect QtBoardGrid::ShownBoard() const {
    const QRect board(Left(0), Top(0), Width(), Height());
    return board.intersected(QRect(0, 0, ViewWidth(), viewport()->height()));
}

QRect QtBoardGrid::CentredBoard() const {
    // Not from the sideways scroll: the strip is decided from this, and a strip
    // that followed the scroll would give itself back and throw the view back.
    const int width = viewport()->width();
    const QRect board(std::max(0, (width - Width()) / 2), Top(0), Width(), Height());
    return board.intersected(viewport()->rect());
}

void QtBoardGrid::KeepRightClear(int pixels) {
    pixels = std::max(0, pixels);
    if (pixels == keptClear_)
        return;
    keptClear_ = pixels;
    UpdateScrollBars();
    viewport()->update();
    BoardMoved();
}

bool QtBoardGrid::CellAt(const QPoint& point, int& row, int& col) const {
    // Nothing of the board lies in the strip kept clear.
    if (point.x() >= ViewWidth())
        return false;
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
    const bool wide = Width() > area.width() - keptClear_, tall = Height() > area.height();
    setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(tall ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, Width() - ViewWidth()));
    horizontalScrollBar()->setPageStep(ViewWidth());
    horizontalScrollBar()->setSingleStep(DefaultCellPixels);
    verticalScrollBar()->setRange(0, std::max(0, Height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(DefaultCellPixels);
}

void QtBoardGrid::ScrollToCurrent() {
    if (!Current())
        return;
    // As a grid does: whole cells at a time, and only as far as the cell needs.
    const auto follow = [](QScrollBar* bar, const std::function<int()>& start, int size, int view) {
        while (start() < 0 && bar->value() > bar->minimum())
            bar->setValue(bar->value() - size);
        while (start() > 0 && start() + size > view && bar->value() < bar->maximum())
            bar->setValue(bar->value() + size);
    };
    follow(
        horizontalScrollBar(), [this] { return Left(col_); }, colWidths_[static_cast<size_t>(col_)],
        ViewWidth());
    follow(
        verticalScrollBar(), [this] { return Top(row_); }, rowHeights_[static_cast<size_t>(row_)],
        viewport()->height());
}

void QtBoardGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    BoardMoved();
}

void QtBoardGrid::BoardMoved() {
    // Sizing a board sets every row and column; the callers hear of it once, laid out.
    if (!boardMoved || movePending_)
        return;
    movePending_ = true;
    QTimer::singleShot(0, this, [this] {
        movePending_ = false;
        if (boardMoved)
            boardMoved();
    });
}

void QtBoardGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    painter.fillRect(dirty, QColor(22, 26, 48));
    painter.setClipRect(0, 0, ViewWidth(), viewport()->height());
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
    // The window hears a key on the cell it was pressed on; the arrows move afterwards.
    const int key = VirtualKeyOf(event->key(), event->modifiers() & Qt::KeypadModifier);
    if (events_ && key)
        events_->GridKeyDown(key, ShiftOf(event->modifiers()));
    switch (event->key()) {
        case Qt::Key_Left:
            SetCol(col_ - 1);
            ScrollToCurrent();
            break;
        case Qt::Key_Right:
            SetCol(col_ + 1);
            ScrollToCurrent();
            break;
        case Qt::Key_Up:
            SetRow(row_ - 1);
            ScrollToCurrent();
            break;
        case Qt::Key_Down:
            SetRow(row_ + 1);
            ScrollToCurrent();
            break;
        default:
            if (!events_ || !key)
                QAbstractScrollArea::keyPressEvent(event);
            break;
    }
}

}  // namespace platform::qt
