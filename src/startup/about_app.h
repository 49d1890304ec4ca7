// The About box: the game's title, icon, version and description, closed with
// OK, and a button that starts a system-information program.
#pragma once

#include <QDialog>

namespace quarvelt {

class AboutApp : public QDialog {
  public:
    explicit AboutApp(QWidget* parent = nullptr);
    void StartSysInfo();
};

// The game's emblem: a lamp's beam split into colours, drawn at any size.
QPixmap GameEmblem(int size);

}  // namespace quarvelt
