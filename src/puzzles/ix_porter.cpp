#include "puzzles/ix_porter.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;

namespace {

// The list's height: 2760 twips at 15 twips a pixel.
constexpr int ListHeight = 184;

}  // namespace

IXPorter::IXPorter(IXPorterLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(new QListWidget(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      exit_(new QPushButton(QStringLiteral("EXIT"), this)) {
    setModal(true);
    // A click adds a puzzle to the choice or takes it out again.
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    list_->setMinimumSize(300, ListHeight);
    list_->setEnabled(false);
    QFont bold = ok_->font();
    bold.setBold(true);
    ok_->setFont(bold);
    exit_->setFont(bold);
    ok_->setMinimumWidth(110);
    exit_->setMinimumWidth(110);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Caption("PUZZLE LISTING", this), 0, 0);
    layout->addWidget(list_, 1, 0, 3, 1);
    layout->addWidget(ok_, 1, 1);
    layout->addWidget(exit_, 2, 1);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);

    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        if (syncing_)
            return;
        std::vector<bool> selected(static_cast<size_t>(list_->count()));
        for (int r = 0; r < list_->count(); ++r)
            selected[static_cast<size_t>(r)] = list_->item(r)->isSelected();
        logic_.ListClick(selected);
    });
    connect(ok_, &QPushButton::clicked, this, [this] { logic_.OkClick(); });
    connect(exit_, &QPushButton::clicked, this, [this] { logic_.ExitClick(); });
}

void IXPorter::Run() {
    logic_.changed = [this] { Sync(); };
    Sync();
    logic_.Activate();
    if (logic_.Visible())
        exec();
    logic_.changed = nullptr;
}

void IXPorter::Sync() {
    syncing_ = true;
    setWindowTitle(FromAnsi(logic_.caption));
    ShowTexts(list_, logic_.Items());
    const std::vector<bool>& selection = logic_.Selection();
    for (int r = 0; r < list_->count() && static_cast<size_t>(r) < selection.size(); ++r)
        list_->item(r)->setSelected(selection[static_cast<size_t>(r)]);
    list_->setEnabled(logic_.ListEnabled());
    ok_->setText(FromAnsi(logic_.OkCaption()));
    if (logic_.ListFocus())
        list_->setFocus();
    syncing_ = false;
    if (!logic_.Visible() && isVisible())
        accept();
}

void IXPorter::reject() {
    // Escape and the close box are the EXIT button.
    if (logic_.Visible())
        logic_.ExitClick();
    QDialog::reject();
}

}  // namespace quarvelt
