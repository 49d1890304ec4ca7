// The trigger dialog on screen; SetTriggLogic holds what it shows and does.
#pragma once

#include <QDialog>

#include "toolbox/set_trigg_logic.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quarvelt {

class SetTrigg : public QDialog {
  public:
    SetTrigg(SetTriggLogic& logic, QWidget* parent);

    // Shows the dialog modally for the object in the logic's hidden labels;
    // returns when it has hidden itself.
    void Run();
    void Sync();

    QListWidget* TriggerList() const { return list_; }
    QLineEdit* TrValue() const { return value_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    void reject() override;

  private:
    SetTriggLogic& logic_;
    QListWidget* list_;
    QLabel* trigValInd_;
    QLineEdit* value_;
    QLabel* trgCellNum_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool syncing_ = false;
};

}  // namespace quarvelt
