#include "help/help_reader.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/help_page_view.h"
#include "platform/qt/ansi.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

namespace {

QPushButton* Button(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    // Enter belongs to the page-number box, never to a button.
    button->setAutoDefault(false);
    button->setMinimumWidth(90);
    return button;
}

// A control that keeps its place in the layout while hidden.
void KeepPlace(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

HelpReader::HelpReader(HelpReaderLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      content_(Button(" Contents", this)),
      next_(Button("Page >", this)),
      prev_(Button("< Page", this)),
      exit_(Button("Exit", this)),
      pagNum_(new QLineEdit(this)),
      pagMsg_(new QLabel(QStringLiteral("Enter Page Number to View   and push Enter."), this)) {
    setModal(true);
    std::vector<QWidget*> lines;
    for (auto& line : lines_) {
        line = new QLabel(this);
        line->setTextFormat(Qt::PlainText);
        line->setWordWrap(false);
        ApplyLook(line, LineLook{});
        lines.push_back(line);
    }
    frame_ = quarvelt::PageFrame(this, lines);

    pagNum_->setMaxLength(3);
    pagNum_->setFixedWidth(pagNum_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    pagNum_->setAlignment(Qt::AlignCenter);
    QFont bold = pagMsg_->font();
    bold.setBold(true);
    pagMsg_->setFont(bold);
    // Wrapped after "View", where the prompt leaves its wide gap.
    pagMsg_->setWordWrap(true);
    pagMsg_->setFixedWidth(
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("Enter Page Number to View   ")) + 8);
    for (QWidget* widget : {static_cast<QWidget*>(pagNum_), static_cast<QWidget*>(pagMsg_)})
        KeepPlace(widget);
    pagNum_->setVisible(false);
    pagNum_->setEnabled(false);
    pagMsg_->setVisible(false);
    next_->setEnabled(false);
    prev_->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(pagMsg_);
    bar->addWidget(pagNum_);
    bar->addStretch(1);
    for (QPushButton* button : {content_, prev_, next_, exit_})
        bar->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addLayout(bar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(content_, &QPushButton::clicked, this, [this] { Act(&HelpReaderLogic::ContentClick); });
    connect(next_, &QPushButton::clicked, this, [this] { Act(&HelpReaderLogic::NextPgClick); });
    connect(prev_, &QPushButton::clicked, this, [this] { Act(&HelpReaderLogic::PrevPgClick); });
    connect(exit_, &QPushButton::clicked, this, [this] { Act(&HelpReaderLogic::ExitHlpClick); });
    connect(pagNum_, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_.pagNum = ToAnsi(text); });
    pagNum_->installEventFilter(this);
}

void HelpReader::Act(void (HelpReaderLogic::*handler)()) {
    (logic_.*handler)();
    if (!logic_.Visible())
        accept();
}

void HelpReader::Run() {
    logic_.changed = [this] { Sync(); };
    setWindowTitle(FromAnsi(logic_.caption));
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void HelpReader::Sync() {
    setWindowTitle(FromAnsi(logic_.caption));
    const auto& looks = logic_.Lines();
    for (size_t k = 0; k < lines_.size(); ++k) {
        ApplyLook(lines_[k], looks[k]);
        lines_[k]->setText(FromAnsi(looks[k].text));
    }
    frame_->setTitle(FromAnsi(logic_.FrameCaption()));
    next_->setEnabled(logic_.NextEnabled());
    prev_->setEnabled(logic_.PrevEnabled());
    pagNum_->setVisible(logic_.PagNumShown());
    pagNum_->setEnabled(logic_.PagNumShown());
    pagMsg_->setVisible(logic_.PagMsgShown());
    if (ToAnsi(pagNum_->text()) != logic_.pagNum)
        pagNum_->setText(FromAnsi(logic_.pagNum));
}

void HelpReader::reject() {
    // Escape and the close box leave as Exit does.
    if (logic_.Visible())
        logic_.ExitHlpClick();
    QDialog::reject();
}

bool HelpReader::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pagNum_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Act(&HelpReaderLogic::PagNumEnter);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quarvelt
