#include "puzzles/sp_cond_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

namespace {

constexpr std::array<SpCondChoiceKind, 4> Kinds{SpCondChoiceKind::Color, SpCondChoiceKind::Size,
                                                SpCondChoiceKind::Det, SpCondChoiceKind::Delay};
constexpr std::array<const char*, 4> KindCaptions{"Color", "Size", "Detector", "Time"};
constexpr std::array<const char*, CondPhotonCount> PhotonNames{"Photon A", "Photon B", "Photon C"};

void ShowChoice(QComboBox* combo, const SpCondChoice& choice) {
    bool same = combo->count() == static_cast<int>(choice.entries.size());
    for (int k = 0; same && k < combo->count(); ++k)
        same = combo->itemText(k) == FromAnsi(choice.entries[static_cast<size_t>(k)]);
    if (!same) {
        combo->clear();
        for (const std::string& entry : choice.entries)
            combo->addItem(FromAnsi(entry));
    }
    combo->setCurrentIndex(choice.picked);
}

// A list line without the description field's trailing fill.
std::string Shown(const std::string& text) {
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

SpCondEdit::SpCondEdit(SpCondEditLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(new QListWidget(this)),
      condNum_(Indicator(this, 60)),
      text_(new QPlainTextEdit(this)),
      tally_(new QLineEdit(this)),
      acc_(new QPushButton(QStringLiteral("ACCEPT"), this)),
      add_(new QPushButton(QStringLiteral(" ADD Condition."), this)),
      upDate_(new QPushButton(QStringLiteral(" UPDATE Condition."), this)),
      rem_(new QPushButton(QStringLiteral("  REMOVE  Condition."), this)),
      clr_(new QPushButton(QStringLiteral("CLEAR"), this)),
      exit_(new QPushButton(QStringLiteral("EXIT"), this)) {
    setModal(true);
    list_->setWordWrap(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setMinimumSize(620, 170);
    text_->setTabChangesFocus(true);
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 3 + 14);
    text_->installEventFilter(this);
    tally_->setMaxLength(4);
    tally_->setFixedWidth(70);
    tally_->setAlignment(Qt::AlignRight);
    QFont bold = acc_->font();
    bold.setBold(true);
    for (QPushButton* button : {acc_, add_, upDate_, rem_, clr_, exit_}) {
        button->setFont(bold);
        button->setAutoDefault(false);
    }

    auto* layout = new QGridLayout(this);
    layout->addWidget(Caption("Special Conditions Listing. ", this), 0, 0, 1, 4);
    layout->addWidget(list_, 1, 0, 1, 4);
    layout->addWidget(Caption("Condition Number ", this), 2, 0);
    layout->addWidget(condNum_, 2, 1, Qt::AlignLeft);
    layout->addWidget(Caption("Points Tally", this), 2, 2, Qt::AlignRight);
    layout->addWidget(tally_, 2, 3);
    layout->addWidget(Caption("Condition Discription: ", this), 3, 0, 1, 4);
    layout->addWidget(text_, 4, 0, 1, 4);
    auto* frames = new QHBoxLayout;
    for (int i = 0; i < CondPhotonCount; ++i)
        frames->addWidget(BuildFrame(i));
    layout->addLayout(frames, 5, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {acc_, add_, upDate_, rem_, clr_, exit_})
        buttons->addWidget(button);
    layout->addLayout(buttons, 6, 0, 1, 4);
    layout->setColumnStretch(1, 1);

    OnLineChosen(list_, syncing_, [this](int row) { logic_.ListClick(row); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { TextEdited(); });
    connect(tally_, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_.tallyAmt = ToAnsi(text); });
    connect(acc_, &QPushButton::clicked, this, [this] { Command(&SpCondEditLogic::AccClick); });
    connect(add_, &QPushButton::clicked, this, [this] { Command(&SpCondEditLogic::AddClick); });
    connect(upDate_, &QPushButton::clicked, this,
            [this] { Command(&SpCondEditLogic::UpDateClick); });
    connect(rem_, &QPushButton::clicked, this, [this] { Command(&SpCondEditLogic::RemClick); });
    connect(clr_, &QPushButton::clicked, this, [this] { Command(&SpCondEditLogic::ClrClick); });
    connect(exit_, &QPushButton::clicked, this, [this] { Command(&SpCondEditLogic::ExitClick); });
}

QWidget* SpCondEdit::BuildFrame(int photon) {
    const auto at = static_cast<size_t>(photon);
    auto* frame = new QGroupBox(QString::fromLatin1(PhotonNames[at]), this);
    auto* grid = new QGridLayout(frame);
    checks_[at] = new QCheckBox(QString::fromLatin1(PhotonNames[at]), frame);
    grid->addWidget(checks_[at], 0, 0, 1, 2);
    for (size_t k = 0; k < Kinds.size(); ++k) {
        auto* label = new QLabel(QString::fromLatin1(KindCaptions[k]), frame);
        auto* combo = new QComboBox(frame);
        combo->setMinimumWidth(130);
        combos_[at][k] = combo;
        grid->addWidget(label, static_cast<int>(k) + 1, 0);
        grid->addWidget(combo, static_cast<int>(k) + 1, 1);
        if (Kinds[k] == SpCondChoiceKind::Delay) {
            // The time requirement is not offered: shown, but never changeable.
            timeLabels_[at] = label;
            label->setEnabled(false);
            combo->setEnabled(false);
            continue;
        }
        connect(combo, &QComboBox::activated, this, [this, photon, k](int index) {
            if (!syncing_)
                logic_.ChoiceClick(photon, Kinds[k], index);
        });
    }
    grid->setColumnStretch(1, 1);
    if (photon == 0) {
        // Photon A always has a block; its box only shows that.
        checks_[at]->setChecked(true);
        checks_[at]->setEnabled(false);
    } else {
        connect(checks_[at], &QCheckBox::clicked, this, [this, photon](bool checked) {
            if (!syncing_)
                logic_.PhotonNumClick(photon, checked);
        });
    }
    frames_[at] = frame;
    return frame;
}

QComboBox* SpCondEdit::Combo(int photon, SpCondChoiceKind kind) const {
    const auto k = static_cast<size_t>(std::find(Kinds.begin(), Kinds.end(), kind) - Kinds.begin());
    return combos_.at(static_cast<size_t>(photon)).at(k);
}

void SpCondEdit::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void SpCondEdit::Sync() {
    syncing_ = true;
    setWindowTitle(FromAnsi(logic_.Caption()));
    std::vector<std::string> lines;
    for (const SpCondLine& line : logic_.Lines())
        lines.push_back(Shown(line.text));
    ShowTexts(list_, lines);
    list_->setCurrentRow(logic_.Selected());
    if (logic_.Selected() < 0)
        list_->clearSelection();
    condNum_->setText(FromAnsi(logic_.CondNum()));
    if (ToAnsi(text_->toPlainText()) != logic_.spConText)
        text_->setPlainText(FromAnsi(logic_.spConText));
    text_->setEnabled(logic_.TextEnabled());
    if (ToAnsi(tally_->text()) != logic_.tallyAmt)
        tally_->setText(FromAnsi(logic_.tallyAmt));
    tally_->setEnabled(logic_.TallyEnabled());
    for (int i = 0; i < CondPhotonCount; ++i) {
        const auto at = static_cast<size_t>(i);
        const SpCondPhoton& photon = logic_.Photon(i);
        frames_[at]->setEnabled(logic_.FrameEnabled(i));
        checks_[at]->setChecked(photon.checked);
        for (size_t k = 0; k < Kinds.size(); ++k)
            ShowChoice(combos_[at][k], photon.Choice(Kinds[k]));
    }
    const SpCondCommands& commands = logic_.Commands();
    acc_->setEnabled(commands.acc);
    add_->setEnabled(commands.add);
    upDate_->setEnabled(commands.upDate);
    rem_->setEnabled(commands.rem);
    clr_->setEnabled(commands.clr);
    exit_->setEnabled(commands.exit);
    if (logic_.Focus() == SpCondFocus::Text)
        text_->setFocus();
    else if (logic_.Focus() == SpCondFocus::Tally)
        tally_->setFocus();
    syncing_ = false;
}

void SpCondEdit::TextEdited() {
    if (syncing_)
        return;
    // One line of at most 1024 characters: pasted line breaks become blanks.
    QString text = text_->toPlainText();
    QString kept = text;
    kept.replace(QChar('\n'), QChar(' ')).truncate(static_cast<int>(SpecialCondDescLength));
    if (kept != text) {
        syncing_ = true;
        text_->setPlainText(kept);
        text_->moveCursor(QTextCursor::End);
        syncing_ = false;
    }
    logic_.spConText = ToAnsi(kept);
}

bool SpCondEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;  // the description is one line
    }
    return QDialog::eventFilter(watched, event);
}

void SpCondEdit::Command(void (SpCondEditLogic::*handler)()) {
    (logic_.*handler)();
    if (!logic_.Visible())
        accept();
}

void SpCondEdit::reject() {
    // Escape and the close box end the editor as EXIT does.
    if (logic_.Visible())
        logic_.ExitClick();
    QDialog::reject();
}

}  // namespace quarvelt
