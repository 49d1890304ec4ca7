// The tool-box set-up on screen: a modal window with the six group options, 66
// positions (a picture, a count box and a check box each) in two halves of
// three rows, and the five buttons along the bottom. Everything it shows comes
// from TBSetupLogic; its events go there.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "toolbox/tb_setup_logic.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quarvelt {

class TBSetup : public QDialog {
  public:
    TBSetup(TBSetupLogic& logic, QWidget* parent);

    // Loads the set-up and shows it modally; returns when it has hidden itself.
    void Run();
    // Draws the logic's state.
    void Sync();

    QRadioButton* TBoxType(int group) const { return options_[static_cast<size_t>(group)]; }
    QLabel* Tool(int p) const { return pictures_[static_cast<size_t>(p)]; }
    QLineEdit* ToolNumAval(int p) const { return counts_[static_cast<size_t>(p)]; }
    QCheckBox* ToolItemDisable(int p) const { return checks_[static_cast<size_t>(p)]; }
    QLabel* DisableTools(int row) const { return rowLabels_[static_cast<size_t>(row)]; }
    QPushButton* GroupAcc() const { return groupAcc_; }
    QPushButton* UpDateTools() const { return upDateTools_; }
    QPushButton* ItemDisable() const { return itemDisable_; }
    QPushButton* ToolBoxReset() const { return toolBoxReset_; }
    QPushButton* ExitButton() const { return exitButton_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Shown {
        std::string path;
        std::string code;
        bool drawn = false;
        bool failed = false;
    };

    void ShowPicture(int p);

    TBSetupLogic& logic_;
    std::array<QRadioButton*, SetupGroupCount> options_{};
    std::array<QLabel*, SetupPositionCount> pictures_{};
    std::array<Shown, SetupPositionCount> shown_{};
    std::array<QLineEdit*, SetupPositionCount> counts_{};
    std::array<QCheckBox*, SetupPositionCount> checks_{};
    std::array<QLabel*, SetupRowCount> rowLabels_{};
    std::array<QFrame*, SetupRowCount> leftLines_{};
    std::array<QFrame*, SetupRowCount> rightLines_{};
    QPushButton* groupAcc_;
    QPushButton* upDateTools_;
    QPushButton* itemDisable_;
    QPushButton* toolBoxReset_;
    QPushButton* exitButton_;
    bool syncing_ = false;
};

}  // namespace quarvelt
