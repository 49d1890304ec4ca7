#include "toolbox/object_lock.h"

#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

namespace {

QPushButton* Button(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(false);
    button->setMinimumHeight(32);
    return button;
}

}  // namespace

ObjectLock::ObjectLock(ObjectLockLogic& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      list_(FixedPitchList(this)),
      image_(new QLabel(this)),
      lock_(Button("LOCK", this)),
      unlock_(Button("UNLOCK", this)),
      selAll_(Button("Select ALL", this)),
      unSelAll_(Button("UnSelect ALL", this)),
      exit_(Button("EXIT", this)) {
    setModal(false);
    setWindowTitle(QStringLiteral("Game Object Lock / UnLock."));
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    const QFontMetrics metrics(list_->font());
    const int column = metrics.horizontalAdvance(QLatin1Char(' '));
    list_->setMinimumSize(column * static_cast<int>(ObjectLockLineLength + 1) + 32, 340);

    // The headings stand over the columns of the rows: the name from column 2,
    // the cell number ending at column 41, the state from column 44.
    auto* headings = new QWidget(this);
    headings->setFixedHeight(metrics.height() + 6);
    const int inset = list_->frameWidth() + 3;
    const std::pair<const char*, int> heads[] = {
        {"Object Name", 2}, {"Cell #", 36}, {"Status", 44}};
    for (const auto& [text, at] : heads) {
        auto* head = new QLabel(QString::fromLatin1(text), headings);
        QFont font = list_->font();
        font.setBold(true);
        head->setFont(font);
        head->move(inset + (at - 1) * column, 2);
    }

    image_->setFixedSize(104, 104);
    image_->setFrameShape(QFrame::Panel);
    image_->setFrameShadow(QFrame::Sunken);
    image_->setAlignment(Qt::AlignCenter);
    image_->setAutoFillBackground(true);
    QPalette grey = image_->palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    image_->setPalette(grey);
    QPalette red = exit_->palette();
    red.setColor(QPalette::Button, QColor(255, 0, 0));
    red.setColor(QPalette::ButtonText, Qt::white);
    exit_->setPalette(red);

    auto* side = new QVBoxLayout;
    side->addWidget(image_, 0, Qt::AlignHCenter);
    side->addSpacing(12);
    for (QPushButton* button : {lock_, unlock_, selAll_, unSelAll_})
        side->addWidget(button);
    side->addStretch(1);
    side->addWidget(exit_);
    auto* layout = new QGridLayout(this);
    layout->addWidget(headings, 0, 0);
    layout->addWidget(list_, 1, 0);
    layout->addLayout(side, 1, 1);

    // A click toggles one row; the logic keeps the selection and is told of each change.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        if (syncing_)
            return;
        std::vector<int> toggled;
        for (int row = 0; row < list_->count(); ++row)
            if (static_cast<size_t>(row) < logic_.Rows().size() &&
                list_->item(row)->isSelected() != logic_.Selected(row))
                toggled.push_back(row);
        for (int row : toggled)
            logic_.ListClick(row);
    });
    connect(lock_, &QPushButton::clicked, this, [this] { logic_.LockClick(); });
    connect(unlock_, &QPushButton::clicked, this, [this] { logic_.UnLockClick(); });
    connect(selAll_, &QPushButton::clicked, this, [this] { logic_.SelAllClick(); });
    connect(unSelAll_, &QPushButton::clicked, this, [this] { logic_.UnSelAllClick(); });
    connect(exit_, &QPushButton::clicked, this, [this] {
        logic_.ExitClick();
        hide();
    });
}

void ObjectLock::ShowAndActivate() {
    logic_.changed = [this] { Sync(); };
    show();
    raise();
    activateWindow();
    logic_.Activate();
}

void ObjectLock::Sync() {
    syncing_ = true;
    std::vector<std::string> texts;
    for (const ListLine& row : logic_.Rows())
        texts.push_back(row.text);
    ShowTexts(list_, texts);
    for (int row = 0; row < list_->count(); ++row)
        list_->item(row)->setSelected(logic_.Selected(row));
    if (logic_.CurrentRow() >= 0)
        list_->setCurrentRow(logic_.CurrentRow(), QItemSelectionModel::NoUpdate);
    if (logic_.Preview() != shownPreview_) {
        shownPreview_ = logic_.Preview();
        QPixmap picture;
        const std::string path = platform::ResolveCase(shownPreview_);
        // A picture that can't be read leaves the preview empty.
        if (!shownPreview_.empty() &&
            picture.load(QFile::decodeName(QByteArray::fromStdString(path))))
            image_->setPixmap(picture);
        else
            image_->clear();
    }
    syncing_ = false;
    if (!logic_.Visible() && isVisible())
        hide();
}

void ObjectLock::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && logic_.Visible())
        logic_.Activate();
}

void ObjectLock::reject() {
    // Escape and the close box leave as EXIT does; the window stays loaded.
    logic_.ExitClick();
    QDialog::reject();
}

}  // namespace quarvelt
