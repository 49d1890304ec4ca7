// The puzzle transfer window on screen; IXPorterLogic holds what it shows and does.
#pragma once

#include <QDialog>

#include "puzzles/ix_porter_logic.h"

class QListWidget;
class QPushButton;

namespace quarvelt {

class IXPorter : public QDialog {
  public:
    IXPorter(IXPorterLogic& logic, QWidget* parent);

    // Asks for the drive and lists the puzzles, then shows the window modally
    // unless that ended it; returns when it has hidden itself.
    void Run();
    void Sync();

    QListWidget* PzlList() const { return list_; }
    QPushButton* PzlOk() const { return ok_; }
    QPushButton* PzlExit() const { return exit_; }

  protected:
    void reject() override;

  private:
    IXPorterLogic& logic_;
    QListWidget* list_;
    QPushButton* ok_;
    QPushButton* exit_;
    bool syncing_ = false;
};

}  // namespace quarvelt
