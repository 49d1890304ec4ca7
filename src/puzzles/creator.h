// The puzzle library dialog on screen; CreatorLogic holds what it shows and does.
#pragma once

#include <QDialog>

#include "puzzles/creator_logic.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quarvelt {

class Creator : public QDialog {
  public:
    Creator(CreatorLogic& logic, QWidget* parent);

    // Sets the dialog up for PuzzleMode and shows it modally, unless its set-up
    // refused; returns when it has hidden itself.
    void Run();
    void Sync();

    QListWidget* PzlList() const { return list_; }
    QLineEdit* PzlName() const { return name_; }
    QLineEdit* PzlFilename() const { return filename_; }
    QLineEdit* PzlSize() const { return size_; }
    QPushButton* PzlCmd() const { return cmd_; }
    QPushButton* PzlEdKey() const { return edKey_; }
    QPushButton* PzlCan() const { return cancel_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CreatorLogic& logic_;
    QListWidget* list_;
    QLineEdit* name_;
    QLineEdit* filename_;
    QLineEdit* size_;
    QLineEdit* date_;
    QCheckBox* custom_;
    QPushButton* cmd_;
    QPushButton* edKey_;
    QPushButton* cancel_;
    QLabel* label2_;
    bool syncing_ = false;
};

}  // namespace quarvelt
