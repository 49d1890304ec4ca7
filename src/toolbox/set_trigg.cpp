#include "toolbox/set_trigg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

SetTrigg::SetTrigg(SetTriggLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(FixedPitchList(this)),
      trigValInd_(Indicator(this)),
      value_(new QLineEdit(this)),
      trgCellNum_(Indicator(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setModal(true);
    list_->setMinimumSize(240, 300);
    value_->setMaxLength(12);
    ok_->setDefault(true);

    auto* heads = new QLabel(QStringLiteral("    Trig#         Trig Value"), this);
    heads->setFont(list_->font());
    auto* layout = new QGridLayout(this);
    layout->addWidget(heads, 0, 0);
    layout->addWidget(list_, 1, 0, 7, 1);
    layout->addWidget(Caption("Trig#", this), 1, 1);
    layout->addWidget(trigValInd_, 2, 1);
    layout->addWidget(Caption("Trig Value", this), 3, 1);
    layout->addWidget(value_, 4, 1);
    layout->addWidget(Caption("Cell Number", this), 5, 1);
    layout->addWidget(trgCellNum_, 6, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, 8, 0, 1, 2);

    OnLineChosen(list_, syncing_, [this](int row) { logic_.LineClick(row); });
    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_.trValue = ToAnsi(text); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        logic_.OkClick();
        if (!logic_.Visible())
            accept();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void SetTrigg::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void SetTrigg::Sync() {
    syncing_ = true;
    setWindowTitle(FromAnsi(logic_.Caption()));
    ShowLines(list_, logic_.Lines(), logic_.Selected());
    list_->setEnabled(logic_.ListEnabled());
    trigValInd_->setText(FromAnsi(logic_.TrigValInd()));
    trgCellNum_->setText(FromAnsi(logic_.TrgCellNum()));
    if (ToAnsi(value_->text()) != logic_.trValue)
        value_->setText(FromAnsi(logic_.trValue));
    value_->setEnabled(logic_.ValueEnabled());
    syncing_ = false;
}

void SetTrigg::reject() {
    // Escape and the close box cancel, as the Cancel button does.
    if (logic_.Visible())
        logic_.CancelClick();
    QDialog::reject();
}

}  // namespace quarvelt
