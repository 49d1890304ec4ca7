// The special-condition editor on screen; SpCondEditLogic holds what it shows
// and does.
#pragma once

#include <QDialog>
#include <array>

#include "puzzles/sp_cond_edit_logic.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quarvelt {

class SpCondEdit : public QDialog {
  public:
    SpCondEdit(SpCondEditLogic& logic, QWidget* parent);

    // Shows the editor modally; returns when it has hidden itself.
    void Run();
    void Sync();

    QListWidget* CondList() const { return list_; }
    QLabel* CondNum() const { return condNum_; }
    QPlainTextEdit* CondText() const { return text_; }
    QLineEdit* TallyAmt() const { return tally_; }
    QGroupBox* Frame(int photon) const { return frames_.at(static_cast<size_t>(photon)); }
    QCheckBox* PhotonNum(int photon) const { return checks_.at(static_cast<size_t>(photon)); }
    QComboBox* Combo(int photon, SpCondChoiceKind kind) const;
    QLabel* TimeLabel(int photon) const { return timeLabels_.at(static_cast<size_t>(photon)); }
    QPushButton* AccButton() const { return acc_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* UpDateButton() const { return upDate_; }
    QPushButton* RemButton() const { return rem_; }
    QPushButton* ClrButton() const { return clr_; }
    QPushButton* ExitButton() const { return exit_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildFrame(int photon);
    // Runs a command and closes the dialog once the logic has hidden itself.
    void Command(void (SpCondEditLogic::*handler)());
    void TextEdited();

    SpCondEditLogic& logic_;
    QListWidget* list_;
    QLabel* condNum_;
    QPlainTextEdit* text_;
    QLineEdit* tally_;
    std::array<QGroupBox*, CondPhotonCount> frames_{};
    std::array<QCheckBox*, CondPhotonCount> checks_{};
    std::array<std::array<QComboBox*, 4>, CondPhotonCount> combos_{};
    std::array<QLabel*, CondPhotonCount> timeLabels_{};
    QPushButton* acc_;
    QPushButton* add_;
    QPushButton* upDate_;
    QPushButton* rem_;
    QPushButton* clr_;
    QPushButton* exit_;
    bool syncing_ = false;
};

}  // namespace quarvelt
