// The tool box on screen: a small tool window beside the board with 66 picture
// buttons, the six group options, "Overlay" and "Exit". Everything it shows
// comes from ToolBoxLogic; its events go there.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "toolbox/tool_box_logic.h"

class QRadioButton;
class QToolButton;

namespace quarvelt {

class ToolBox : public QWidget {
  public:
    ToolBox(ToolBoxLogic& logic, QWidget* parent);

    QToolButton* Tool(int index) const { return tools_[static_cast<size_t>(index)]; }
    QRadioButton* TBoxType(int group) const { return options_[static_cast<size_t>(group)]; }
    // Shows the window and runs its activation, as coming back to it does.
    void ShowAndActivate();
    // Moves the window to its place beside the board; run at every activation.
    std::function<void()> placeBesideBoard;
    // Runs when the window is put away (Exit, the close box, Run, no puzzle).
    std::function<void()> putAway;
    // Draws the logic's state.
    void Sync();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Pictures {
        std::string up, down;
        QIcon upIcon, downIcon;
        bool failed = false;
    };

    ToolBoxLogic& logic_;
    std::array<QToolButton*, ToolButtonCount> tools_{};
    std::array<Pictures, ToolButtonCount> pictures_{};
    std::array<QRadioButton*, ToolGroupCount> options_{};
    bool syncing_ = false;
};

}  // namespace quarvelt
