#include "toolbox/tool_box.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QHideEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "platform/board_grid.h"
#include "platform/files.h"
#include "platform/qt/ansi.h"

namespace quarvelt {

namespace {

using platform::TwipsPerPixel;

int Px(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

QRect Twips(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

const QColor LightGrey(0xC0, 0xC0, 0xC0);

bool LoadIcon(const std::string& path, QIcon& icon) {
    if (path.empty())
        return false;
    QPixmap picture;
    const std::string resolved = platform::ResolveCase(path);
    if (!picture.load(QFile::decodeName(QByteArray::fromStdString(resolved))) || picture.isNull())
        return false;
    icon = QIcon(picture);
    return true;
}

}  // namespace

ToolBox::ToolBox(ToolBoxLogic& logic, QWidget* parent) : QWidget(parent, Qt::Tool), logic_(logic) {
    setWindowTitle(QStringLiteral("Tool Box"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, LightGrey);
    palette.setColor(QPalette::WindowText, QColor(20, 24, 44));
    palette.setColor(QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::ButtonText, QColor(20, 24, 44));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    setPalette(palette);
    setFixedSize(Px(6000), Px(4830));

    static constexpr int RowTops[] = {930, 1425, 1920, 2415, 2925, 3435};
    for (int k = 0; k < ToolButtonCount; ++k) {
        auto* button = new QToolButton(this);
        const int row = k / ToolButtonColumns, column = k % ToolButtonColumns;
        button->setGeometry(Twips(150 + 510 * column, RowTops[row], 510, 495));
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(false);
        button->hide();
        QFont font = button->font();
        font.setPixelSize(8);
        button->setFont(font);
        // The down picture shows while the button is held.
        connect(button, &QToolButton::pressed, this, [this, k] {
            if (!pictures_[static_cast<size_t>(k)].downIcon.isNull())
                tools_[static_cast<size_t>(k)]->setIcon(pictures_[static_cast<size_t>(k)].downIcon);
        });
        connect(button, &QToolButton::released, this, [this, k] {
            tools_[static_cast<size_t>(k)]->setIcon(pictures_[static_cast<size_t>(k)].upIcon);
        });
        connect(button, &QToolButton::clicked, this, [this, k] { logic_.ToolClick(k); });
        tools_[static_cast<size_t>(k)] = button;
    }

    static constexpr int Places[ToolGroupCount][4] = {
        {210, 120, 960, 285},   {1560, 120, 1200, 285}, {3120, 120, 1500, 285},
        {4785, 105, 1050, 285}, {210, 450, 1170, 285},  {1560, 435, 1545, 285}};
    auto* group = new QButtonGroup(this);
    for (int g = 0; g < ToolGroupCount; ++g) {
        auto* option = new QRadioButton(QString::fromLatin1(ToolBoxLogic::GroupCaptions[g]), this);
        const int* place = Places[g];
        option->setGeometry(Twips(place[0], place[1], place[2] + 240, place[3]));
        QFont font = option->font();
        font.setBold(true);
        font.setPixelSize(11);
        option->setFont(font);
        group->addButton(option, g);
        options_[static_cast<size_t>(g)] = option;
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int g) {
        if (!syncing_)
            logic_.GroupClick(g);
    });

    auto* overlay = new QPushButton(QStringLiteral("Overlay"), this);
    overlay->setGeometry(Twips(1995, 4140, 1020, 495));
    overlay->setToolTip(QStringLiteral("Brings up or removes the numerical cell overlay."));
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setGeometry(Twips(3120, 4140, 1020, 495));
    for (QPushButton* button : {overlay, exit}) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    QPalette red = exit->palette();
    red.setColor(QPalette::Button, QColor(255, 0, 0));
    red.setColor(QPalette::ButtonText, Qt::white);
    exit->setPalette(red);
    connect(overlay, &QPushButton::clicked, this, [this] { logic_.OverlayClick(); });
    connect(exit, &QPushButton::clicked, this, [this] { logic_.ExitClick(); });

    logic_.changed = [this] { Sync(); };
}

void ToolBox::Sync() {
    syncing_ = true;
    for (int k = 0; k < ToolButtonCount; ++k) {
        const ToolButtonState& state = logic_.Button(k);
        QToolButton* button = tools_[static_cast<size_t>(k)];
        Pictures& pictures = pictures_[static_cast<size_t>(k)];
        if (state.picture != pictures.up) {
            pictures.up = state.picture;
            pictures.failed = !LoadIcon(state.picture, pictures.upIcon);
            if (pictures.failed) {
                pictures.upIcon = QIcon();
                if (!state.picture.empty())
                    logic_.PictureFailed();
            }
            button->setIcon(pictures.upIcon);
        }
        if (state.downPicture != pictures.down) {
            pictures.down = state.downPicture;
            if (!LoadIcon(state.downPicture, pictures.downIcon))
                pictures.downIcon = pictures.upIcon;
        }
        // A button whose picture can't be drawn still works, showing the object's code.
        button->setText(pictures.failed ? platform::qt::FromAnsi(state.code) : QString());
        button->setToolButtonStyle(pictures.failed ? Qt::ToolButtonTextOnly
                                                   : Qt::ToolButtonIconOnly);
        button->setToolTip(platform::qt::FromAnsi(state.tooltip));
        button->setEnabled(state.enabled);
        button->setVisible(state.visible);
    }
    for (int g = 0; g < ToolGroupCount; ++g) {
        QRadioButton* option = options_[static_cast<size_t>(g)];
        option->setVisible(logic_.Option(g).visible);
        option->setEnabled(logic_.Option(g).enabled);
    }
    if (QRadioButton* selected = options_[static_cast<size_t>(logic_.SelectedOption())])
        selected->setChecked(true);
    syncing_ = false;
    if (!logic_.Visible() && isVisible())
        hide();
}

void ToolBox::ShowAndActivate() {
    if (placeBesideBoard)
        placeBesideBoard();
    show();
    raise();
    logic_.Activate();
}

void ToolBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && logic_.Visible()) {
        // The board may have changed size since the window was last placed.
        if (placeBesideBoard)
            placeBesideBoard();
        logic_.Activate();
    }
}

void ToolBox::closeEvent(QCloseEvent* event) {
    // The close box is the Exit button.
    if (logic_.Visible())
        logic_.ExitClick();
    event->accept();
}

void ToolBox::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A minimised main window takes the box along; it comes back in its place.
    if (!event->spontaneous() && putAway)
        putAway();
}

}  // namespace quarvelt
