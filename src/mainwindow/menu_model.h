// The main window's menu tree and the shown and enabled state of every item.
// The window draws its menu bar from this model; the commands change it.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace quarvelt {

// Items in the order of the menu arrays: MainMenu 0-6, PuzzleMenu 0-7,
// Toolmenu 0-4, HelpMenu 0-3.
enum class MenuItem {
    Puzzle,
    Tools,
    Run,
    ReSet,
    Clear,
    Help,
    Exit,
    New,
    Load,
    Save,
    Edit,
    Delete,
    Conditions,
    ExPort,
    ImPort,
    GameToolBox,
    DesignToolBox,
    ToolBoxSetup,
    LockUnlock,
    CellOverlay,
    HelpPages,
    HelpWriter,
    HelpSeparator,
    About,
};
inline constexpr int MenuItemCount = static_cast<int>(MenuItem::About) + 1;

struct MenuItemState {
    const char* caption;
    bool visible;
    bool enabled;
};

class MenuModel {
  public:
    // The items as the window is designed.
    MenuModel();

    const MenuItemState& State(MenuItem item) const { return items_[Index(item)]; }
    // Shown and enabled together, or hidden and disabled together.
    void Show(MenuItem item, bool on);
    void Enable(MenuItem item, bool on);

    // Called after every change, so the window can redraw its menus.
    std::function<void()> changed;

  private:
    static size_t Index(MenuItem item) { return static_cast<size_t>(item); }
    std::array<MenuItemState, MenuItemCount> items_;
};

}  // namespace quarvelt
