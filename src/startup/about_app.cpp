#include "startup/about_app.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "platform/services.h"

namespace quarvelt {

QPixmap GameEmblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 22, 46));
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    // A white beam meets a prism and leaves in three colours.
    p.setPen(QPen(QColor(255, 255, 255, 230), s * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.1, s * 0.55), QPointF(s * 0.45, s * 0.5));
    const QColor colours[] = {QColor(255, 60, 60), QColor(70, 230, 90), QColor(80, 120, 255)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colours[i], s * 0.06, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.55, s * 0.5), QPointF(s * 0.9, s * (0.3 + 0.2 * i)));
    }
    QPainterPath prism;
    prism.moveTo(s * 0.5, s * 0.2);
    prism.lineTo(s * 0.68, s * 0.78);
    prism.lineTo(s * 0.32, s * 0.78);
    prism.closeSubpath();
    p.setPen(QPen(QColor(220, 235, 255), s * 0.025));
    p.setBrush(QColor(190, 215, 255, 90));
    p.drawPath(prism);
    return pixmap;
}

AboutApp::AboutApp(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About QUARVELT"));
    auto* picIcon = new QLabel(this);
    picIcon->setPixmap(GameEmblem(64));
    auto* lblTitle = new QLabel(QStringLiteral("QUARVELT"), this);
    QFont title = lblTitle->font();
    title.setPixelSize(24);
    title.setBold(true);
    lblTitle->setFont(title);
    auto* lblVersion = new QLabel(QStringLiteral("Version: 2.00.01.2019"), this);
    auto* lblDescription = new QLabel(QStringLiteral("A Discription of the App."), this);
    auto* lblDisclaimer =
        new QLabel(QStringLiteral("QUARVELT is free to play and to extend. It comes without any "
                                  "warranty: use it at your own "
                                  "risk, and have fun bending light."),
                   this);
    lblDisclaimer->setWordWrap(true);
    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(lblDisclaimer, 3, 0, 1, 3);
    layout->addWidget(cmdOK, 0, 2);
    layout->addWidget(cmdSysInfo, 1, 2);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(420);
}

void AboutApp::StartSysInfo() {
    if (!platform::Current().desktop->StartSystemInfo())
        platform::MsgBox("System Information Is Unavailable At This Time", platform::MsgOkOnly,
                         "QUARVELT");
}

}  // namespace quarvelt
