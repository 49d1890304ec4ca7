#include "startup/splash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "platform/services.h"
#include "startup/about_app.h"

namespace quarvelt {
namespace {

// Beams of the title art, as fractions of the window: from, to, colour.
struct Beam {
    double x1, y1, x2, y2;
    QColor colour;
};

}  // namespace

MDStartUp::MDStartUp() {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("QUARVELT"));
}

void MDStartUp::LayOut() {
    const platform::WorkArea area = platform::Current().desktop->GetWorkArea();
    setGeometry(area.left, area.top, area.width, area.height);
}

void MDStartUp::SetStatus(const QString& text) {
    status_ = text;
    update();
}

void MDStartUp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(10, 12, 30));
    sky.setColorAt(1, QColor(28, 22, 60));
    p.fillRect(rect(), sky);

    // A faint board grid.
    p.setPen(QColor(255, 255, 255, 14));
    const double cell = std::max(24.0, h / 18);
    for (double x = std::fmod(w / 2, cell); x < w; x += cell)
        p.drawLine(QPointF(x, 0), QPointF(x, h));
    for (double y = std::fmod(h / 2, cell); y < h; y += cell)
        p.drawLine(QPointF(0, y), QPointF(w, y));

    // The lamp's white beam reaches a prism and fans out into the colours.
    const QPointF prism(w * 0.5, h * 0.42);
    p.setPen(QPen(QColor(255, 255, 255, 220), h * 0.012, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.06, h * 0.5), prism);
    const Beam beams[] = {
        {0, 0, 0.94, 0.18, QColor(255, 60, 60)},  {0, 0, 0.96, 0.3, QColor(255, 220, 60)},
        {0, 0, 0.97, 0.42, QColor(70, 230, 90)},  {0, 0, 0.96, 0.54, QColor(60, 220, 230)},
        {0, 0, 0.94, 0.66, QColor(80, 120, 255)}, {0, 0, 0.92, 0.78, QColor(230, 70, 230)}};
    for (const Beam& beam : beams) {
        QColor glow = beam.colour;
        glow.setAlpha(60);
        p.setPen(QPen(glow, h * 0.03, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(prism, QPointF(w * beam.x2, h * beam.y2));
        p.setPen(QPen(beam.colour, h * 0.008, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(prism, QPointF(w * beam.x2, h * beam.y2));
    }
    QRadialGradient halo(prism, h * 0.18);
    halo.setColorAt(0, QColor(255, 255, 255, 120));
    halo.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(prism, h * 0.18, h * 0.18);
    p.drawPixmap(QPointF(prism.x() - h * 0.09, prism.y() - h * 0.09),
                 GameEmblem(static_cast<int>(h * 0.18)));

    QFont title = font();
    title.setPixelSize(static_cast<int>(h * 0.11));
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.02);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 160));
    const QRectF titleBox(0, h * 0.62, w, h * 0.14);
    p.drawText(titleBox.translated(3, 3), Qt::AlignCenter, QStringLiteral("QUARVELT"));
    p.setPen(QColor(245, 248, 255));
    p.drawText(titleBox, Qt::AlignCenter, QStringLiteral("QUARVELT"));

    QFont small = font();
    small.setPixelSize(std::max(12, static_cast<int>(h * 0.025)));
    p.setFont(small);
    p.setPen(QColor(180, 195, 235));
    p.drawText(QRectF(0, h * 0.76, w, h * 0.05), Qt::AlignCenter,
               QStringLiteral("A puzzle of light and mirrors"));
    p.drawText(QRectF(0, h - h * 0.1, w * 0.96, h * 0.05), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Version 2.00  2019"));
    if (!status_.isEmpty())
        p.drawText(QRectF(w * 0.04, h - h * 0.1, w * 0.6, h * 0.05),
                   Qt::AlignLeft | Qt::AlignVCenter, status_);
}

}  // namespace quarvelt
