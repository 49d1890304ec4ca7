// What the special-condition editor does, apart from drawing itself: it lists
// the catalogue's conditions, loads a picked one into its choice lists,
// composes a code from colour, size and detector choices per photon and a
// points tally, makes it the puzzle's condition (SpecialCond and
// SpecialCondText), and adds, updates and removes the designer's own
// conditions in the catalogue. The main window opens a fresh one each time
// and shows SpecialCondText when it has closed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "puzzles/condition_catalogue.h"
#include "puzzles/condition_code.h"

namespace quarvelt {

// A line of the catalogue list: the text shown and the record it stands for.
struct SpCondLine {
    std::string text;
    int16_t itemData = 0;
};

// One drop-down list: its entries and the one picked, -1 for none.
struct SpCondChoice {
    std::vector<std::string> entries;
    int picked = -1;

    // The picked entry's text, empty when none is picked.
    std::string Text() const;
    // Picks the first entry equal to `text`; an empty text picks none, and a
    // text no entry matches changes nothing.
    void Put(const std::string& text);
};

enum class SpCondChoiceKind { Color, Size, Det, Delay };

// The controls of one photon's frame.
struct SpCondPhoton {
    bool checked = false;  // PhotonNum
    SpCondChoice color, size, det, delay;

    SpCondChoice& Choice(SpCondChoiceKind kind);
    const SpCondChoice& Choice(SpCondChoiceKind kind) const;
};

// Which buttons are enabled.
struct SpCondCommands {
    bool acc = true;
    bool add = false;
    bool upDate = false;
    bool rem = false;
    bool clr = true;
    bool exit = true;

    bool operator==(const SpCondCommands&) const = default;
};

// Where the dialog wants the focus after a refused command.
enum class SpCondFocus { None, Text, Tally };

class SpCondEditLogic {
  public:
    explicit SpCondEditLogic(std::string cataloguePath = SpecialCondPath());

    // The two text boxes, as the designer typed them.
    std::string spConText;  // SPConText, the description
    std::string tallyAmt;   // TallyAmt, the required game points

    const std::string& Caption() const { return caption_; }
    const std::vector<SpCondLine>& Lines() const { return lines_; }  // SPCondList
    int Selected() const { return selected_; }                       // -1 none
    const std::string& CondNum() const { return condNum_; }
    bool TextEnabled() const { return textEnabled_; }
    bool TallyEnabled() const { return tallyEnabled_; }
    bool FrameEnabled(int photon) const { return frames_.at(static_cast<size_t>(photon)); }
    const SpCondPhoton& Photon(int photon) const {
        return photons_.at(static_cast<size_t>(photon));
    }
    const SpCondCommands& Commands() const { return commands_; }
    SpCondFocus Focus() const { return focus_; }
    bool Visible() const { return visible_; }

    // The record being edited ("00" none), the last accepted code and description.
    const std::string& EditCondNo() const { return editCondNo_; }
    const std::string& EditCondCode() const { return editCondCode_; }
    const std::string& EditCondDesc() const { return editCondDesc_; }

    // Loads the lists and shows the editor.
    void Activate();
    // Loads the catalogue record of list line `index` into the controls.
    void ListClick(int index);
    // Photon B's or C's box; photon A's is always checked.
    void PhotonNumClick(int photon, bool checked);
    // Picks entry `entry` (-1 none) of one of a photon's lists.
    void ChoiceClick(int photon, SpCondChoiceKind kind, int entry);
    void AccClick();
    void AddClick();
    void UpDateClick();
    void RemClick();
    void ClrClick();
    // EXIT, the close box and Escape.
    void ExitClick();

    std::function<void()> changed;

  private:
    void FillCondCombos();
    // False after the message of a catalogue that could not be read.
    bool LoadCondList();
    void ReadCodeIntoControls(const std::string& code);
    void PutChoice(int photon, SpCondChoiceKind kind, const std::string& text);
    // The number of the custom record whose code starts with `number`, 0 when
    // none; false after the message of a catalogue that could not be read.
    bool FindCustomRecord(const std::string& number, const char* title, int16_t& found);
    void Clear();
    void Changed();

    std::string path_;
    std::string caption_ = "SPECIAL CONDITIONS";
    std::vector<SpCondLine> lines_;
    int selected_ = -1;
    std::string condNum_;
    bool textEnabled_ = true;
    bool tallyEnabled_ = true;
    std::array<bool, CondPhotonCount> frames_{true, true, true};
    std::array<SpCondPhoton, CondPhotonCount> photons_;
    SpCondCommands commands_;
    SpCondFocus focus_ = SpCondFocus::None;
    bool visible_ = false;
    std::string editCondNo_ = "00";
    std::string editCondCode_ = StartSpecialCondCode();
    std::string editCondDesc_;
};

}  // namespace quarvelt
