#include "toolbox/shutter_dialog.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;

ShutterDialog::ShutterDialog(ShutterDialogLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(FixedPitchList(this)),
      keySqrInd_(Indicator(this)),
      keySqrCellInd_(Indicator(this)),
      cellNumInd_(Indicator(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setModal(true);
    list_->setMinimumSize(330, 220);
    ok_->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Caption("Available Shutters", this), 0, 0);
    layout->addWidget(list_, 1, 0, 6, 1);
    layout->addWidget(Caption("Square  or Key Number", this), 1, 1);
    layout->addWidget(keySqrInd_, 2, 1);
    layout->addWidget(Caption("Key or Square Cell #", this), 3, 1);
    layout->addWidget(keySqrCellInd_, 4, 1);
    layout->addWidget(Caption("Shutter   Cell #", this), 5, 1);
    layout->addWidget(cellNumInd_, 6, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, 7, 0, 1, 2);

    OnLineChosen(list_, syncing_, [this](int row) { logic_.LineClick(row); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        logic_.OkClick();
        if (!logic_.Visible())
            accept();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void ShutterDialog::Run() {
    logic_.changed = [this] { Sync(); };
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void ShutterDialog::Sync() {
    syncing_ = true;
    setWindowTitle(FromAnsi(logic_.Caption()));
    ShowLines(list_, logic_.Lines(), logic_.Selected());
    keySqrInd_->setText(FromAnsi(logic_.KeySqrInd()));
    keySqrCellInd_->setText(FromAnsi(logic_.KeySqrCellInd()));
    cellNumInd_->setText(FromAnsi(logic_.CellNumInd()));
    ok_->setEnabled(logic_.OkEnabled());
    syncing_ = false;
}

void ShutterDialog::reject() {
    if (logic_.Visible())
        logic_.CancelClick();
    QDialog::reject();
}

}  // namespace quarvelt
