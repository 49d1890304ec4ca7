// What the tool box does, apart from drawing itself: it lays out the objects of
// one group on 66 picture buttons with their remaining counts, hands out the
// picked catalogue row through SelectedTool, and switches the board grid's
// tool-box look and cell-number overlay. The window on screen draws the state
// kept here after every call.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/board_grid.h"

namespace quarvelt {

inline constexpr int ToolButtonCount = 66;
inline constexpr int ToolButtonColumns = 11;
inline constexpr int ToolGroupCount = 6;

// What one picture button shows.
struct ToolButtonState {
    bool visible = false;
    bool enabled = false;
    std::string tooltip;
    // Picture files in ImagePath; empty when the button has none (yet).
    std::string picture;
    std::string downPicture;
    // The object's tool code, shown in place of a picture that can't be drawn.
    std::string code;
};

struct ToolOptionState {
    bool visible = true;
    bool enabled = true;
};

// A rectangle on the screen, in pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// Where the tool box of `boxWidth` by `boxHeight` goes on each activation:
// beside `board` (the part of the board the window shows), level with its top,
// on its right where `screen` has room, else on its left, else at the screen's
// right edge; always wholly inside the screen, on every edge, wherever the board
// lies. A box wider or taller than the screen stands at its left or top edge.
// The result's width and height are the box's.
ScreenRect ToolBoxPlace(const ScreenRect& board, int boxWidth, int boxHeight,
                        const ScreenRect& screen);
// How much of the board window's right side to keep clear for the tool box, so
// that it never stands over or against the board: none when the box finds its
// place beside `centredBoard` (the board as the window centres it) with the gap
// between them, else the box's width and its gap, and the board stands centred
// in what is left.
int ToolBoxRoom(const ScreenRect& centredBoard, int boxWidth, int boxHeight,
                const ScreenRect& screen);

class ToolBoxLogic {
  public:
    // The group option captions, by group.
    static const std::array<const char*, ToolGroupCount> GroupCaptions;

    explicit ToolBoxLogic(platform::BoardGrid& grid) : grid_(grid) {}

    // TBMode: "GM" the game tool box, "DM" the design tool box; any other text offers nothing.
    std::string mode;
    int16_t CurrentGroup() const { return currentGroup_; }
    int SelectedOption() const { return selectedOption_; }
    const ToolButtonState& Button(int index) const { return buttons_[static_cast<size_t>(index)]; }
    const ToolOptionState& Option(int group) const { return options_[static_cast<size_t>(group)]; }
    bool Visible() const { return visible_; }

    // The window's load, once: group 5's pictures on the buttons, every button hidden.
    void FormLoad();
    // The window became active (shown, or returned to).
    void Activate();
    // A group option was chosen.
    void GroupClick(int group);
    // A shown box whose mode or catalogue changed under it lays out its group
    // again at once, pictures and counts, as choosing it and an activation do.
    void LayOutAgain();
    // A picture button was pressed.
    void ToolClick(int index);
    void OverlayClick();
    void ExitClick();
    // Shown or hidden by the main window.
    void SetVisible(bool visible) { visible_ = visible; }

    // Called by the window when a picture file it was given can't be drawn;
    // the first failure of a session is reported, later ones only shown.
    void PictureFailed();

    // Runs after every change of the state above.
    std::function<void()> changed;

  private:
    void GroupPass(int group, bool load);
    // Makes the row's picture present in ImagePath; the path, or "" when it can't be had.
    std::string FetchPicture(int16_t row);
    void Changed();

    platform::BoardGrid& grid_;
    std::array<ToolButtonState, ToolButtonCount> buttons_;
    std::array<ToolOptionState, ToolGroupCount> options_;
    int16_t currentGroup_ = 5;
    int selectedOption_ = 0;
    bool visible_ = false;
    bool failureReported_ = false;
};

}  // namespace quarvelt
