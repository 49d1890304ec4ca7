// The page of the help windows on screen: how a line's look becomes a Qt font
// and colours, and the frame that holds the 25 lines on white paper.
#pragma once

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QWidget>
#include <vector>

#include "help/help_page.h"

namespace quarvelt {

// &H00BBGGRR and back.
QColor ColorOf(int32_t value);
int32_t ColorValue(const QColor& color);

// The family a line is drawn in: the named one when it is installed, else the
// default face of the name's kind.
QString FamilyFor(const std::string& fontName, HelpFontKind kind);
QFont FontOf(const LineLook& look);

// Puts a line's font and colours on a label or a line box, and its height: a
// line is at least as high as the page's standard row and never cuts its font.
void ApplyLook(QWidget* line, const LineLook& look);

// The frame "Page n" with the lines stacked on a white page, 80 characters wide.
QGroupBox* PageFrame(QWidget* parent, const std::vector<QWidget*>& lines);

}  // namespace quarvelt
