// What the tool-box set-up does, apart from drawing itself: the author sets,
// group by group, which objects the player's tool box offers and how many of
// each, within a fixed limit per position. The set-up works on a working copy
// of the catalogue; " UPDATE TOOLBOX" copies it back and "RESET TOOLBOX"
// rebuilds the catalogue from the image index. The window on screen draws the
// state kept here after every call.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/toolbox_catalogue.h"

namespace quarvelt {

inline constexpr int SetupPositionCount = 66;
inline constexpr int SetupRowLength = 11;
inline constexpr int SetupRowCount = 6;
inline constexpr int SetupGroupCount = 6;

// Check-box states, as the window's three-state boxes number them.
enum : int { CheckOff = 0, CheckOn = 1, CheckGrayed = 2 };

// What one position shows: a picture, a count box below it and a check box below that.
struct SetupPosition {
    bool pictureVisible = false;
    // The picture file in ImagePath; empty when it can't be had.
    std::string picture;
    // The object's tool code, shown in place of a picture that can't be drawn.
    std::string code;
    std::string count;  // ToolNumAval's text
    bool countVisible = false;
    bool countEnabled = false;
    int check = CheckGrayed;  // ToolItemDisable's value
    bool checkVisible = false;
    bool checkEnabled = false;
};

// The most a position may offer, the line that says so and the text a refused box gets.
struct SetupLimit {
    int16_t limit = 0;
    const char* line = "";
    const char* resetText = "";
};

class TBSetupLogic {
  public:
    static const std::array<const char*, SetupGroupCount> GroupCaptions;
    // Typing into a count box stops at this many characters.
    static constexpr size_t CountTypingLength = 2;
    // Typing may shorten a longer stored count but never lengthen a box past the limit.
    static bool TypingAllowed(const std::string& before, const std::string& after);

    // The limit of a position of a group; none for the positions the accept leaves untested.
    static std::optional<SetupLimit> LimitOf(int group, int position);

    // Called by the load to put the tool box back at its home place.
    std::function<void()> moveToolBoxHome;

    const std::array<ToolboxObjectRow, ToolboxRowCount>& WorkTable() const { return work_; }
    int16_t SetupGroup() const { return setupGroup_; }
    const SetupPosition& Position(int p) const { return positions_[static_cast<size_t>(p)]; }
    // DisableTools(row) with its two lines.
    bool RowLabelVisible(int row) const { return rowLabels_[static_cast<size_t>(row)]; }
    // The count box that wants the focus after a refused accept, -1 none.
    int Focus() const { return focus_; }
    bool Visible() const { return visible_; }

    // The window was created: a fresh working copy, opened on the Miscellaneous group.
    void FormLoad();
    // A group option was chosen.
    void GroupClick(int group);
    void AcceptClick();
    void UpdateClick();
    void DisableAllClick();
    void ResetClick();
    // The user toggled a check box.
    void CheckClick(int position);
    // The user changed a count box's text, and left the box.
    void CountEdited(int position, const std::string& text);
    void CountLeft(int position);
    void ExitClick();

    // Called by the window when a picture file it was given can't be drawn;
    // the first failure is reported, later ones only shown.
    void PictureFailed();

    // Runs after every change of the state above.
    std::function<void()> changed;

  private:
    // The working-copy row shown at a position of the group on show, or -1.
    int16_t RowAt(int position) const;
    void ClearPosition(int position, bool keepCheck);
    void LayOut(bool keepChecks);
    std::string FetchPicture(const ToolboxObjectRow& row);
    void FillWorkTable();
    void Changed();

    std::array<ToolboxObjectRow, ToolboxRowCount> work_{};
    std::array<SetupPosition, SetupPositionCount> positions_{};
    std::array<bool, SetupRowCount> rowLabels_{};
    int16_t setupGroup_ = 0;
    int focus_ = -1;
    bool visible_ = false;
    bool failureReported_ = false;
};

// Sets every used count of the catalogue to the number of its objects on the
// board, found through the board's code conversion; the blank counts nothing,
// and an unlimited object counts nothing, as the board's editing keeps it.
void RecountUsedFromBoard();

}  // namespace quarvelt
