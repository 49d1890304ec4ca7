#include "toolbox/tb_setup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include "platform/board_grid.h"
#include "platform/files.h"
#include "platform/qt/ansi.h"

namespace quarvelt {

namespace {

using platform::TwipsPerPixel;
using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

int Px(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

QRect Twips(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

const QColor LightGrey(0xC0, 0xC0, 0xC0);
const QColor Ink(20, 24, 44);

// Window geometry in twips. Rows 0 to 2 stand in the left half, rows 3 to 5 in the right.
constexpr int ClientWidth = 12810;
constexpr int ClientHeight = 8055;
constexpr int HalfLefts[2] = {150, 6540};
constexpr int HalfWidth = 6150;
constexpr int Pitch = 565;
constexpr int PictureSize = 540;
constexpr int FirstRowTop = 720;
constexpr int RowPitch = 2040;
constexpr int LabelWidth = 2700;

// Typing may not lengthen a count box past two characters; what the program
// puts there is shown in full.
class CountValidator : public QValidator {
  public:
    CountValidator(const TBSetupLogic& logic, int position, QObject* parent)
        : QValidator(parent), logic_(logic), position_(position) {}
    State validate(QString& input, int&) const override {
        return TBSetupLogic::TypingAllowed(logic_.Position(position_).count, ToAnsi(input))
                   ? Acceptable
                   : Invalid;
    }

  private:
    const TBSetupLogic& logic_;
    int position_;
};

QFrame* Line(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

TBSetup::TBSetup(TBSetupLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      groupAcc_(new QPushButton(QStringLiteral(" ACCEPT GROUP"), this)),
      upDateTools_(new QPushButton(QStringLiteral(" UPDATE TOOLBOX"), this)),
      itemDisable_(new QPushButton(QStringLiteral("DISABLE ALL"), this)),
      toolBoxReset_(new QPushButton(QStringLiteral("RESET TOOLBOX"), this)),
      exitButton_(new QPushButton(QStringLiteral("EXIT"), this)) {
    setModal(true);
    setWindowTitle(QStringLiteral("TOOL BOX  SETUP"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, LightGrey);
    palette.setColor(QPalette::WindowText, Ink);
    palette.setColor(QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::ButtonText, Ink);
    setPalette(palette);
    setFixedSize(Px(ClientWidth), Px(ClientHeight));

    static constexpr int OptionPlaces[SetupGroupCount][2] = {
        {360, 1200}, {2160, 1500}, {4160, 1900}, {6560, 1300}, {8360, 1400}, {10260, 1900}};
    auto* group = new QButtonGroup(this);
    for (int g = 0; g < SetupGroupCount; ++g) {
        auto* option = new QRadioButton(QString::fromLatin1(TBSetupLogic::GroupCaptions[g]), this);
        option->setGeometry(Twips(OptionPlaces[g][0], 150, OptionPlaces[g][1], 300));
        QFont font = option->font();
        font.setBold(true);
        option->setFont(font);
        group->addButton(option, g);
        options_[static_cast<size_t>(g)] = option;
    }
    options_[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this](int g) {
        if (!syncing_)
            logic_.GroupClick(g);
    });

    for (int p = 0; p < SetupPositionCount; ++p) {
        const int row = p / SetupRowLength;
        const int left = HalfLefts[row / 3] + (p % SetupRowLength) * Pitch;
        const int top = FirstRowTop + (row % 3) * RowPitch;

        auto* picture = new QLabel(this);
        picture->setGeometry(Twips(left, top, PictureSize, PictureSize));
        picture->setFrameShape(QFrame::Panel);
        picture->setFrameShadow(QFrame::Sunken);
        picture->setAlignment(Qt::AlignCenter);
        // Pictures take no clicks; a disabled label would draw its picture faded.
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont small = picture->font();
        small.setPixelSize(9);
        picture->setFont(small);
        picture->hide();
        pictures_[static_cast<size_t>(p)] = picture;

        auto* count = new QLineEdit(this);
        count->setGeometry(Twips(left + 30, top + 585, PictureSize - 60, 300));
        count->setAlignment(Qt::AlignCenter);
        count->setValidator(new CountValidator(logic_, p, count));
        count->installEventFilter(this);
        count->hide();
        connect(count, &QLineEdit::textEdited, this,
                [this, p](const QString& text) { logic_.CountEdited(p, ToAnsi(text)); });
        counts_[static_cast<size_t>(p)] = count;

        auto* check = new QCheckBox(this);
        check->setGeometry(Twips(left + 165, top + 915, 270, 270));
        check->setTristate(true);
        check->hide();
        // The logic decides the box's next state; the grayed one is never the user's.
        connect(check, &QCheckBox::clicked, this, [this, p] {
            if (!syncing_)
                logic_.CheckClick(p);
        });
        checks_[static_cast<size_t>(p)] = check;
    }

    for (int row = 0; row < SetupRowCount; ++row) {
        const int halfLeft = HalfLefts[row / 3];
        const int top = FirstRowTop + (row % 3) * RowPitch + 1230;
        const int labelLeft = halfLeft + (HalfWidth - LabelWidth) / 2;
        auto* label = new QLabel(QStringLiteral("Disable Tool Check Box."), this);
        label->setGeometry(Twips(labelLeft, top, LabelWidth, 255));
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->hide();
        rowLabels_[static_cast<size_t>(row)] = label;
        QFrame* leftLine = Line(this);
        leftLine->setGeometry(Twips(halfLeft + 240, top + 60, labelLeft - halfLeft - 360, 150));
        leftLine->hide();
        leftLines_[static_cast<size_t>(row)] = leftLine;
        QFrame* rightLine = Line(this);
        const int rightLeft = labelLeft + LabelWidth + 120;
        rightLine->setGeometry(
            Twips(rightLeft, top + 60, halfLeft + HalfWidth - 240 - rightLeft, 150));
        rightLine->hide();
        rightLines_[static_cast<size_t>(row)] = rightLine;
    }
    Line(this)->setGeometry(Twips(120, 6840, ClientWidth - 240, 150));

    QPushButton* buttons[] = {groupAcc_, upDateTools_, itemDisable_, toolBoxReset_, exitButton_};
    for (int b = 0; b < 5; ++b) {
        buttons[b]->setGeometry(Twips(450 + b * 2475, 7140, 2100, 495));
        buttons[b]->setAutoDefault(false);
        QFont font = buttons[b]->font();
        font.setBold(true);
        buttons[b]->setFont(font);
    }
    QPalette red = exitButton_->palette();
    red.setColor(QPalette::Button, QColor(255, 0, 0));
    red.setColor(QPalette::ButtonText, Qt::white);
    exitButton_->setPalette(red);

    connect(groupAcc_, &QPushButton::clicked, this, [this] { logic_.AcceptClick(); });
    connect(upDateTools_, &QPushButton::clicked, this, [this] { logic_.UpdateClick(); });
    connect(itemDisable_, &QPushButton::clicked, this, [this] { logic_.DisableAllClick(); });
    connect(toolBoxReset_, &QPushButton::clicked, this, [this] { logic_.ResetClick(); });
    connect(exitButton_, &QPushButton::clicked, this, [this] {
        logic_.ExitClick();
        if (!logic_.Visible())
            accept();
    });
}

void TBSetup::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.FormLoad();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void TBSetup::ShowPicture(int p) {
    const SetupPosition& state = logic_.Position(p);
    QLabel* label = pictures_[static_cast<size_t>(p)];
    Shown& shown = shown_[static_cast<size_t>(p)];
    if (!shown.drawn || state.picture != shown.path || state.code != shown.code) {
        shown.drawn = true;
        shown.path = state.picture;
        shown.code = state.code;
        QPixmap picture;
        const std::string resolved = platform::ResolveCase(state.picture);
        shown.failed = state.picture.empty() ||
                       !picture.load(QFile::decodeName(QByteArray::fromStdString(resolved))) ||
                       picture.isNull();
        if (shown.failed) {
            label->clear();
            // A position whose picture can't be drawn still works, showing the object's code.
            label->setText(FromAnsi(state.code));
            if (!state.picture.empty())
                logic_.PictureFailed();
        } else {
            label->setPixmap(picture);
        }
    }
    label->setVisible(state.pictureVisible);
}

void TBSetup::Sync() {
    syncing_ = true;
    const int group = logic_.SetupGroup();
    if (group >= 0 && group < SetupGroupCount)
        options_[static_cast<size_t>(group)]->setChecked(true);
    for (int row = 0; row < SetupRowCount; ++row) {
        const bool on = logic_.RowLabelVisible(row);
        rowLabels_[static_cast<size_t>(row)]->setVisible(on);
        leftLines_[static_cast<size_t>(row)]->setVisible(on);
        rightLines_[static_cast<size_t>(row)]->setVisible(on);
    }
    for (int p = 0; p < SetupPositionCount; ++p) {
        const SetupPosition& state = logic_.Position(p);
        ShowPicture(p);
        QLineEdit* count = counts_[static_cast<size_t>(p)];
        if (ToAnsi(count->text()) != state.count)
            count->setText(FromAnsi(state.count));
        count->setEnabled(state.countEnabled);
        count->setVisible(state.countVisible);
        QCheckBox* check = checks_[static_cast<size_t>(p)];
        check->setCheckState(state.check == CheckOn    ? Qt::Checked
                             : state.check == CheckOff ? Qt::Unchecked
                                                       : Qt::PartiallyChecked);
        check->setEnabled(state.checkEnabled);
        check->setVisible(state.checkVisible);
    }
    const int focus = logic_.Focus();
    if (focus >= 0 && focusWidget() != counts_[static_cast<size_t>(focus)]) {
        counts_[static_cast<size_t>(focus)]->setFocus();
        counts_[static_cast<size_t>(focus)]->selectAll();
    }
    syncing_ = false;
}

bool TBSetup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !syncing_)
        for (int p = 0; p < SetupPositionCount; ++p)
            if (counts_[static_cast<size_t>(p)] == watched)
                logic_.CountLeft(p);
    return QDialog::eventFilter(watched, event);
}

void TBSetup::reject() {
    // Escape and the close box leave as EXIT does.
    if (logic_.Visible())
        logic_.ExitClick();
    QDialog::reject();
}

}  // namespace quarvelt
