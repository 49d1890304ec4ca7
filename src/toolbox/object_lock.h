// The object lock window on screen: the list of the board's objects with their
// cells and lock states, a preview of the clicked object, and the LOCK,
// UNLOCK, Select ALL, UnSelect ALL and EXIT buttons. ObjectLockLogic holds what
// it shows; every activation rebuilds the list from the board.
#pragma once

#include <QDialog>
#include <string>

#include "toolbox/object_lock_logic.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quarvelt {

class ObjectLock : public QDialog {
  public:
    ObjectLock(ObjectLockLogic& logic, QWidget* parent);

    // Shows the window modeless and runs its activation, as coming back to it does.
    void ShowAndActivate();
    // Draws the logic's state.
    void Sync();

    QListWidget* GBObjectList() const { return list_; }
    QLabel* ObjImage() const { return image_; }
    QPushButton* LockButton() const { return lock_; }
    QPushButton* UnLockButton() const { return unlock_; }
    QPushButton* SelAllButton() const { return selAll_; }
    QPushButton* UnSelAllButton() const { return unSelAll_; }
    QPushButton* ExitButton() const { return exit_; }

  protected:
    void changeEvent(QEvent* event) override;
    void reject() override;

  private:
    ObjectLockLogic& logic_;
    QListWidget* list_;
    QLabel* image_;
    QPushButton* lock_;
    QPushButton* unlock_;
    QPushButton* selAll_;
    QPushButton* unSelAll_;
    QPushButton* exit_;
    std::string shownPreview_;
    bool syncing_ = false;
};

}  // namespace quarvelt
