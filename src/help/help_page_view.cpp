#include "help/help_page_view.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/qt/ansi.h"

namespace quarvelt {

namespace {

// Room left and right of a line's text inside the page.
constexpr int LineMargin = 6;

// The standard row: high enough for a heading in a 14-point face, so pages
// keep one height whatever their lines hold.
int StandardRowHeight() {
    QFont heading(FamilyFor("Sans Serif", HelpFontKind::Sans));
    heading.setPointSizeF(14);
    heading.setBold(true);
    return QFontMetrics(heading).height() + 2;
}

}  // namespace

QColor ColorOf(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t ColorValue(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QString FamilyFor(const std::string& fontName, HelpFontKind kind) {
    const QString name = platform::qt::FromAnsi(fontName);
    if (!name.isEmpty() && QFontDatabase::hasFamily(name))
        return name;
    switch (kind) {
        case HelpFontKind::Monospace:
            return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        case HelpFontKind::Serif:
            return QStringLiteral("Serif");
        case HelpFontKind::Sans:
            break;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont FontOf(const LineLook& look) {
    QFont font(FamilyFor(look.fontName, look.fontKind));
    switch (look.fontKind) {
        case HelpFontKind::Monospace:
            font.setStyleHint(QFont::TypeWriter);
            font.setFixedPitch(true);
            break;
        case HelpFontKind::Serif:
            font.setStyleHint(QFont::Serif);
            break;
        case HelpFontKind::Sans:
            font.setStyleHint(QFont::SansSerif);
            break;
    }
    font.setPointSizeF(look.fontSize);
    font.setBold(look.bold);
    font.setItalic(look.italic);
    return font;
}

void ApplyLook(QWidget* line, const LineLook& look) {
    const QFont font = FontOf(look);
    if (line->font() != font)
        line->setFont(font);
    QPalette palette = line->palette();
    const QColor fore = ColorOf(look.foreColor);
    const QColor back = ColorOf(look.backColor);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, fore);
        palette.setColor(group, QPalette::Text, fore);
        palette.setColor(group, QPalette::Window, back);
        palette.setColor(group, QPalette::Base, back);
    }
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    static const int standard = StandardRowHeight();
    line->setFixedHeight(std::max(standard, QFontMetrics(font).height() + 2));
}

QGroupBox* PageFrame(QWidget* parent, const std::vector<QWidget*>& lines) {
    auto* frame = new QGroupBox(parent);
    // The page number stands out above the page; the lines carry fonts of their own.
    QFont caption = frame->font();
    caption.setBold(true);
    frame->setFont(caption);
    auto* paper = new QWidget(frame);
    paper->setAutoFillBackground(true);
    QPalette palette = paper->palette();
    palette.setColor(QPalette::Window, Qt::white);
    paper->setPalette(palette);

    auto* column = new QVBoxLayout(paper);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QWidget* line : lines) {
        line->setParent(paper);
        line->setContentsMargins(LineMargin, 0, LineMargin, 0);
        column->addWidget(line);
    }
    column->addStretch(1);

    // Eighty characters of the game's default line, with room to spare.
    const QFont standard = FontOf(LineLook{});
    paper->setMinimumWidth(QFontMetrics(standard).horizontalAdvance(QString(80, QLatin1Char('M'))) +
                           4 * LineMargin);
    paper->setMinimumHeight(static_cast<int>(lines.size()) * StandardRowHeight());

    auto* inside = new QVBoxLayout(frame);
    inside->addWidget(paper);
    return frame;
}

}  // namespace quarvelt
