#include "puzzles/creator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

namespace {

void Apply(QWidget* widget, const CreatorControl& control) {
    widget->setVisible(control.visible);
    widget->setEnabled(control.enabled);
}

}  // namespace

Creator::Creator(CreatorLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(new QListWidget(this)),
      name_(new QLineEdit(this)),
      filename_(new QLineEdit(this)),
      size_(new QLineEdit(this)),
      date_(new QLineEdit(this)),
      custom_(new QCheckBox(QStringLiteral("CUSTOM"), this)),
      cmd_(new QPushButton(this)),
      edKey_(new QPushButton(QStringLiteral("PUZZLE KEY"), this)),
      cancel_(new QPushButton(QStringLiteral("CANCLE"), this)),
      label2_(Caption("PUZZLE FILENAME.", this)) {
    setModal(true);
    name_->setMaxLength(40);
    filename_->setMaxLength(20);
    date_->setInputMask(QStringLiteral("99/99/9999;_"));
    date_->setEnabled(false);
    custom_->setAttribute(Qt::WA_TransparentForMouseEvents);
    custom_->setFocusPolicy(Qt::NoFocus);
    list_->setMinimumSize(300, 260);
    QFont bold = cmd_->font();
    bold.setBold(true);
    for (QPushButton* button : {cmd_, edKey_, cancel_})
        button->setFont(bold);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Caption("PUZZLE LISTING", this), 0, 0);
    layout->addWidget(list_, 1, 0, 10, 1);
    layout->addWidget(Caption("NAME of PUZZLE.", this), 0, 1, 1, 2);
    layout->addWidget(name_, 1, 1, 1, 2);
    layout->addWidget(label2_, 2, 1, 1, 2);
    layout->addWidget(filename_, 3, 1, 1, 2);
    layout->addWidget(Caption("PUZZLE SIZE.", this), 4, 1);
    layout->addWidget(Caption("PUZZLE DATE.", this), 4, 2);
    layout->addWidget(size_, 5, 1);
    layout->addWidget(date_, 5, 2);
    layout->addWidget(custom_, 6, 1);
    layout->addWidget(cmd_, 8, 1, 1, 2);
    layout->addWidget(edKey_, 9, 1, 1, 2);
    layout->addWidget(cancel_, 10, 1, 1, 2);
    layout->setRowStretch(7, 1);
    layout->setColumnStretch(0, 1);

    OnLineChosen(list_, syncing_, [this](int row) { logic_.ListClick(row); });
    connect(name_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.pzlName = ToAnsi(t); });
    connect(filename_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.pzlFilename = ToAnsi(t); });
    connect(size_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.pzlSize = ToAnsi(t); });
    connect(cmd_, &QPushButton::clicked, this, [this] { logic_.CmdClick(); });
    connect(edKey_, &QPushButton::clicked, this, [this] { logic_.EdKeyClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
    name_->installEventFilter(this);
    size_->installEventFilter(this);
}

void Creator::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void Creator::Sync() {
    syncing_ = true;
    setWindowTitle(FromAnsi(logic_.caption));
    ShowTexts(list_, logic_.Items());
    Apply(list_, logic_.list);
    Apply(name_, logic_.name);
    Apply(filename_, logic_.filename);
    label2_->setVisible(logic_.label2.visible);
    Apply(size_, logic_.size);
    custom_->setVisible(logic_.custom.visible);
    custom_->setChecked(logic_.customValue == 1);
    Apply(edKey_, logic_.edKey);
    for (auto [box, text] :
         {std::pair{name_, &logic_.pzlName}, std::pair{filename_, &logic_.pzlFilename},
          std::pair{size_, &logic_.pzlSize}})
        if (ToAnsi(box->text()) != *text)
            box->setText(FromAnsi(*text));
    date_->setText(FromAnsi(logic_.pzlDate));
    cmd_->setText(FromAnsi(logic_.CmdCaption()));
    const int32_t c = logic_.CmdColour();
    QPalette palette = cmd_->palette();
    palette.setColor(QPalette::Button, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    palette.setColor(QPalette::ButtonText, Qt::white);
    cmd_->setPalette(palette);
    switch (logic_.Focus()) {
        case CreatorFocus::List:
            list_->setFocus();
            break;
        case CreatorFocus::Name:
            name_->setFocus();
            break;
        case CreatorFocus::Filename:
            filename_->setFocus();
            break;
        case CreatorFocus::Size:
            size_->setFocus();
            break;
        case CreatorFocus::None:
            break;
    }
    syncing_ = false;
    if (!logic_.Visible() && isVisible())
        accept();
}

bool Creator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves from the name to the size, and runs the command from the size.
            if (watched == name_)
                logic_.NameEnter();
            else if (watched == size_)
                logic_.SizeEnter();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Creator::reject() {
    // Escape and the close box are the CANCLE button, and like it wait for a command to end.
    if (logic_.Visible())
        logic_.CanClick();
    if (!logic_.Visible())
        QDialog::reject();
}

}  // namespace quarvelt
