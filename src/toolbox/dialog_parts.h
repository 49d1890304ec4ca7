// Small pieces the tool box's dialogs share on screen.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <functional>
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
// Calls `chosen` with the row of a line the player selects; the focus alone
// only makes a line current, and changes made while `syncing` are not the player's.
void OnLineChosen(QListWidget* list, const bool& syncing, std::function<void(int)> chosen);
// Puts `lines` into `list` when they differ, and selects `selected` (-1 none).
void ShowLines(QListWidget* list, const std::vector<ListLine>& lines, int selected);
// Puts `texts` into `list` when they differ.
void ShowTexts(QListWidget* list, const std::vector<std::string>& texts);

}  // namespace quarvelt
