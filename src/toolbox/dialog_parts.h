// Small pieces the tool box's dialogs share on screen.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <string>
#include <vector>

#include "toolbox/set_trigg_logic.h"

namespace quarvelt {

// An indicator: cyan text on black, as the dialogs show their numbers.
QLabel* Indicator(QWidget* parent, int minimumWidth = 70);
// A caption above a control.
QLabel* Caption(const char* text, QWidget* parent);
// A list in a fixed-pitch font, so the columns of its lines stand in line.
QListWidget* FixedPitchList(QWidget* parent);
// Puts `lines` into `list` when they differ, and selects `selected` (-1 none).
void ShowLines(QListWidget* list, const std::vector<ListLine>& lines, int selected);

}  // namespace quarvelt
