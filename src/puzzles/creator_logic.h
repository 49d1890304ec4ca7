// What the puzzle library dialog does, apart from drawing itself: in "NEW" it
// asks for a name and a board size; in "LOAD" it lists the puzzles and reads
// the chosen one onto the board, opening it for play or for design by its key;
// in "SAVE" it writes the board as a puzzle; in "DELE" it deletes the loaded
// puzzle. The main window shows it modally and reads its result from
// CreatorCancelled, the board size and the special-condition values.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/board_grid.h"
#include "platform/label.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/puzzle_keys.h"
#include "puzzles/puzzle_set_replace.h"

namespace quarvelt {

// What the dialog reaches of the main window.
class CreatorHost {
  public:
    virtual ~CreatorHost() = default;
    virtual platform::BoardGrid& Grid() = 0;
    virtual platform::Label& Tally() = 0;       // GamTally
    virtual platform::Label& PuzzleName() = 0;  // PzlName
    virtual platform::Label& Condition() = 0;   // SpCondDisc
    // A loaded puzzle opens for design or for play: the menus and the tool box's mode follow.
    virtual void PuzzleOpened(bool design) = 0;
    // "ExPort" shown (and enabled) or hidden.
    virtual void ShowExPort(bool on) = 0;
    virtual void Repaint() = 0;
};

// A control's two flags.
struct CreatorControl {
    bool visible = true;
    bool enabled = true;
};

// Which box the dialog wants the focus in after a command.
enum class CreatorFocus { None, List, Name, Filename, Size };

inline constexpr const char* EmptyCondCode = "00                              ~";
inline constexpr const char* NoDate = "__/__/____";

class CreatorLogic {
  public:
    explicit CreatorLogic(CreatorHost& host) : host_(host) {}

    // The text boxes, as the player typed them.
    std::string pzlName;
    std::string pzlFilename;
    std::string pzlSize;
    std::string pzlDate;
    CreatorControl list, name, filename, label2, size, date, custom, cmd, edKey;
    int16_t customValue = 0;

    std::string caption;
    const std::string& CmdCaption() const { return cmdCaption_; }
    int32_t CmdColour() const { return cmdColour_; }  // &H00BBGGRR
    const std::vector<std::string>& Items() const { return items_; }
    int Selected() const { return selected_; }
    const std::string& TypedKey() const { return typedKey_; }
    bool Visible() const { return visible_; }
    CreatorFocus Focus() const { return focus_; }

    // Sets the dialog up for PuzzleMode; it may hide itself at once.
    void Activate();
    // Lists the puzzles of the puzzle folder; the number of ".INF" files found.
    int16_t LoadPuzzleList();
    void ListClick(int index);
    void EdKeyClick();
    void CanClick();
    // Enter in the name box moves on to the size box; Enter in the size box runs the command.
    void NameEnter();
    void SizeEnter();
    void CmdClick();

    std::function<void()> changed;

  private:
    struct ListRow {
        std::string puzzleName, pzlFile, tbxFile, baseName, infFile;
    };

    // Runs one command unless another is still running.
    template <class Command>
    void Dispatch(Command command);
    void ChooseRow(int index);
    void NewCommand();
    void LoadCommand();
    void SaveCommand();
    void DeleteCommand();
    // The stored key, or "ERROR1" when the ".INF" is missing; "" with `failed` after a message.
    std::string LoadPuzzleFiles(const std::string& base, bool& failed);
    int16_t BuildPuzzleBoard();
    int16_t SavePuzzleFiles(const std::string& puzzleName, const std::string& base,
                            PuzzleFileResult& result);
    // One try of the save, through `folder`, over the set as `state` found it:
    // Changed when the set changed meanwhile. `newKey` is the player's answer
    // to the new-key question, asked once and kept for the next try.
    int16_t SaveOver(platform::Folder& folder, const std::string& puzzleName,
                     const std::string& base, const PuzzleSetState& state,
                     std::optional<std::string>& newKey, PuzzleFileResult& result);
    int16_t DeletePuzzleFiles(const std::string& base, PuzzleFileResult& result);
    // False after the message of a base name that can't be a puzzle's.
    bool CheckBaseName(const std::string& base, const char* title);
    void Hide();
    void Changed();

    CreatorHost& host_;
    std::string mode_;
    std::string cmdCaption_;
    int32_t cmdColour_ = 0;
    std::vector<std::string> items_;
    std::vector<ListRow> rows_;  // row i of the list, from 0
    int selected_ = -1;
    // The size of the puzzle chosen in the list; it becomes the board's only when it loads.
    int16_t chosenRows_ = 0;
    int16_t chosenCols_ = 0;
    std::string typedKey_;
    bool visible_ = false;
    bool busy_ = false;  // a command runs: every other command is ignored
    CreatorFocus focus_ = CreatorFocus::None;
};

}  // namespace quarvelt
