#include "help/help_writer.h"

#include <QColorDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/help_page_view.h"
#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

namespace {

QPushButton* Button(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    // Enter belongs to the line boxes and the page-number box, never to a button.
    button->setAutoDefault(false);
    return button;
}

// The key code of a key the line editor moves the caret with, 0 for any other.
int KeyCodeOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return KeyUp;
        case Qt::Key_Down:
            return KeyDown;
        case Qt::Key_PageUp:
            return KeyPageUp;
        case Qt::Key_PageDown:
            return KeyPageDown;
        default:
            return 0;
    }
}

// The character a key types, as the line editor sees it; 0 for a key that
// types nothing (arrows, shortcuts, Delete), which the box handles by itself.
int CharacterOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return CharBackspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return CharTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return CharEnter;
        default:
            break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const std::string typed = ToAnsi(event.text());
    if (typed.empty() || static_cast<unsigned char>(typed[0]) < 32 || typed[0] == 127)
        return 0;
    return static_cast<unsigned char>(typed[0]);
}

}  // namespace

HelpWriter::HelpWriter(HelpWriterLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      pagNum_(new QLineEdit(this)),
      topicNum_(Indicator(this)),
      next_(Button("Page >", this)),
      prev_(Button("< Page", this)),
      save_(Button("  &Save New  Page", this)),
      update_(Button(" UpDate Page", this)),
      clear_(Button("Clear", this)),
      color_(Button("Page Color", this)),
      font_(Button("Front Style", this)),
      exit_(Button("Exit", this)),
      fontDialog_(new FontDialog(this)) {
    setModal(true);
    setWindowTitle(QStringLiteral("Help Writer"));
    std::vector<QWidget*> lines;
    for (auto& line : lines_) {
        line = new QLineEdit(this);
        line->setFrame(false);
        line->setMaxLength(static_cast<int>(HelpTextWidth));
        ApplyLook(line, LookOfBox(LineBox{}));
        line->installEventFilter(this);
        lines.push_back(line);
    }
    frame_ = quarvelt::PageFrame(this, lines);

    pagNum_->setMaxLength(3);
    pagNum_->setAlignment(Qt::AlignCenter);
    pagNum_->installEventFilter(this);
    next_->setEnabled(false);
    prev_->setEnabled(false);
    update_->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(Caption("Page Number", this));
    side->addWidget(pagNum_);
    side->addWidget(Caption("Topic Number", this));
    side->addWidget(topicNum_);
    side->addSpacing(12);
    auto* paging = new QHBoxLayout;
    paging->addWidget(prev_);
    paging->addWidget(next_);
    side->addLayout(paging);
    side->addSpacing(12);
    for (QPushButton* button : {save_, update_, clear_, color_, font_})
        side->addWidget(button);
    side->addStretch(1);
    side->addWidget(exit_);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame_);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(next_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::NextPgClick); });
    connect(prev_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::PrevPgClick); });
    connect(save_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::SavePgClick); });
    connect(update_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::UpDatePgClick); });
    connect(clear_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::ClearPgClick); });
    connect(color_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::PagColorClick); });
    connect(font_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::SelFontClick); });
    connect(exit_, &QPushButton::clicked, this, [this] { Act(&HelpWriterLogic::ExitHlpClick); });
    connect(pagNum_, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_.pagNum = ToAnsi(text); });
    for (size_t k = 0; k < lines_.size(); ++k)
        connect(lines_[k], &QLineEdit::textEdited, this, [this, k](const QString& text) {
            logic_.LineEdited(static_cast<int16_t>(k), ToAnsi(text));
        });
    logic_.choosers = this;
}

HelpWriter::~HelpWriter() {
    logic_.choosers = nullptr;
    logic_.changed = nullptr;
}

void HelpWriter::Act(void (HelpWriterLogic::*handler)()) {
    (logic_.*handler)();
    if (!logic_.Visible())
        accept();
}

void HelpWriter::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void HelpWriter::Sync() {
    syncing_ = true;
    const auto& boxes = logic_.Lines();
    for (size_t k = 0; k < lines_.size(); ++k) {
        ApplyLook(lines_[k], LookOfBox(boxes[k]));
        // Setting the text puts the caret at its end, as Tab wants.
        if (ToAnsi(lines_[k]->text()) != boxes[k].text)
            lines_[k]->setText(FromAnsi(boxes[k].text));
    }
    frame_->setTitle(FromAnsi(logic_.FrameCaption()));
    if (ToAnsi(pagNum_->text()) != logic_.pagNum)
        pagNum_->setText(FromAnsi(logic_.pagNum));
    topicNum_->setText(FromAnsi(logic_.TopicNum()));
    next_->setEnabled(logic_.NextEnabled());
    prev_->setEnabled(logic_.PrevEnabled());
    save_->setEnabled(logic_.SaveEnabled());
    update_->setEnabled(logic_.UpdateEnabled());
    if (focusMoves_ != logic_.FocusMoves()) {
        focusMoves_ = logic_.FocusMoves();
        lines_[static_cast<size_t>(logic_.CurLine())]->setFocus();
    }
    syncing_ = false;
}

void HelpWriter::reject() {
    // Escape and the close box leave as Exit does.
    if (logic_.Visible())
        logic_.ExitHlpClick();
    QDialog::reject();
}

int HelpWriter::LineOf(QObject* watched) const {
    for (size_t k = 0; k < lines_.size(); ++k)
        if (lines_[k] == watched)
            return static_cast<int>(k);
    return -1;
}

bool HelpWriter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pagNum_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Act(&HelpWriterLogic::PagNumEnter);
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    const int line = LineOf(watched);
    if (line < 0)
        return QDialog::eventFilter(watched, event);
    const auto index = static_cast<int16_t>(line);
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::MouseButtonPress:
            logic_.PgLineGotFocus(index);
            break;
        case QEvent::KeyPress: {
            const auto& key = *static_cast<QKeyEvent*>(event);
            // The caret keys still reach the box after the caret has moved.
            if (const int code = KeyCodeOf(key.key()))
                logic_.PgLineKeyDown(index, code);
            int typed = CharacterOf(key);
            if (typed != 0) {
                logic_.PgLineKeyPress(index, typed);
                if (typed == 0)
                    return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool HelpWriter::ChooseColor(const std::string& title, int32_t& color) {
    QColorDialog chooser(ColorOf(color), this);
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    chooser.setWindowTitle(FromAnsi(title));
    if (chooser.exec() != QDialog::Accepted)
        return false;
    color = ColorValue(chooser.selectedColor());
    return true;
}

bool HelpWriter::ChooseFont(const std::string& title, FontChoice& choice) {
    return fontDialog_->Choose(title, choice);
}

}  // namespace quarvelt
