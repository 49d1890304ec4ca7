#include "toolbox/obj_infro_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;

ObjInfroDialog::ObjInfroDialog(ObjInfroLogic& logic, QWidget* parent)
    : QDialog(parent), logic_(logic), lockInd_(new QLabel(this)) {
    setModal(false);
    struct Line {
        const char* caption;
        std::string* text;
    };
    const std::vector<Line> frameLines[4] = {
        {{"Trigger#", &logic.trigNum},
         {"Trigger   Value", &logic.trigValue},
         {"Cell Number", &logic.trigCellNum}},
        {{"Square  or Key Number", &logic.keySqrNum},
         {"Square or Key Cell #.", &logic.keySqrCell},
         {"Shutter   Cell #.", &logic.shutCelNum}},
        {{"Shutter Number", &logic.shutNum}, {"Shutter   Cell #", &logic.shutCellNum}},
        {{"Cell Number", &logic.missCellNum}},
    };
    auto* layout = new QGridLayout(this);
    for (int f = 0; f < 4; ++f) {
        auto* frame = new QGroupBox(this);
        auto* inner = new QGridLayout(frame);
        int row = 0;
        for (const Line& line : frameLines[f]) {
            inner->addWidget(Caption(line.caption, frame), row, 0);
            QLabel* indicator = Indicator(frame, 90);
            inner->addWidget(indicator, row++, 1);
            indicators_.emplace_back(indicator, line.text);
        }
        inner->setRowStretch(row, 1);
        // The four frames share one place; only the object's group shows.
        layout->addWidget(frame, 0, 0, 1, 2);
        frame->hide();
        frames_[f] = frame;
    }
    lockInd_->setToolTip(QStringLiteral("If 'LOCK', object can't be removed."));
    lockInd_->setAutoFillBackground(true);
    lockInd_->setAlignment(Qt::AlignCenter);
    lockInd_->setMinimumSize(110, 26);
    QPalette palette = lockInd_->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    lockInd_->setPalette(palette);
    QFont font = lockInd_->font();
    font.setBold(true);
    lockInd_->setFont(font);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout->addWidget(lockInd_, 1, 0);
    layout->addWidget(ok, 1, 1);
    layout->setRowMinimumHeight(0, 150);
    setMinimumWidth(360);
    connect(ok, &QPushButton::clicked, this, [this] {
        logic_.OkClick();
        hide();
    });
}

void ObjInfroDialog::ShowAndActivate() {
    logic_.changed = [this] { Sync(); };
    show();
    raise();
    logic_.Activate();
}

void ObjInfroDialog::Sync() {
    setWindowTitle(FromAnsi(logic_.Caption()));
    for (int f = 0; f < 4; ++f) {
        const InfoFrameState& state = logic_.Frame(static_cast<InfoFrame>(f));
        frames_[f]->setTitle(FromAnsi(state.title));
        frames_[f]->setVisible(state.visible);
    }
    for (const auto& [label, text] : indicators_)
        label->setText(FromAnsi(*text));
    lockInd_->setText(FromAnsi(logic_.lockInd));
    QPalette palette = lockInd_->palette();
    const int32_t c = logic_.lockColour;
    palette.setColor(QPalette::WindowText, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    lockInd_->setPalette(palette);
}

void ObjInfroDialog::reject() {
    // The close box is the OK button: the window empties itself and hides.
    logic_.OkClick();
    QDialog::reject();
}

}  // namespace quarvelt
