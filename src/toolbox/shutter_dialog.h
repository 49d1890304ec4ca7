// The shutter-link dialog on screen; ShutterDialogLogic holds what it shows and does.
#pragma once

#include <QDialog>

#include "toolbox/shutter_dialog_logic.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quarvelt {

class ShutterDialog : public QDialog {
  public:
    ShutterDialog(ShutterDialogLogic& logic, QWidget* parent);

    // Shows the dialog modally for the object in the logic's hidden labels,
    // unless its activation gave up at once; returns when it has hidden itself.
    void Run();
    void Sync();

    QListWidget* AvailShutList() const { return list_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CanButton() const { return cancel_; }

  protected:
    void reject() override;

  private:
    ShutterDialogLogic& logic_;
    QListWidget* list_;
    QLabel* keySqrInd_;
    QLabel* keySqrCellInd_;
    QLabel* cellNumInd_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool syncing_ = false;
};

}  // namespace quarvelt
