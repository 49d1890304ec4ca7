// What the help writer does, apart from drawing itself: it opens the manual on
// page 1 (or starts a new manual), pages through it, jumps to a page by number
// and offers the next number for a new page, edits the 25 lines with their own
// fonts and colours, and appends the page on screen to the manual or rewrites
// the stored page of the same number.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "help/help_file.h"
#include "help/help_page.h"

namespace quarvelt {

// What the font chooser shows and hands back.
struct FontChoice {
    std::string fontName;
    double fontSize = DefaultHelpFontSize;
    bool bold = false;
    bool italic = false;
    int32_t color = HelpBlack;  // the text colour, &H00BBGGRR
};

// The colour and font choosers the window offers the writer. A cancelled
// chooser answers false and leaves its argument as it was.
class HelpChoosers {
  public:
    virtual ~HelpChoosers() = default;
    virtual bool ChooseColor(const std::string& title, int32_t& color) = 0;
    virtual bool ChooseFont(const std::string& title, FontChoice& choice) = 0;
};

// One line box of the page as it stands on screen. Its attributes are kept as
// given even where they cannot be shown, so that saving stores them unchanged.
struct LineBox {
    std::string text;
    std::string fontName = "Courier New";
    double fontSize = DefaultHelpFontSize;
    bool bold = true;
    bool italic = false;
    int32_t foreColor = HelpBlack;
    int32_t backColor = HelpWhite;

    bool operator==(const LineBox&) const = default;
};
LineLook LookOfBox(const LineBox& box);

inline constexpr int16_t LastHelpLine = HelpPageLines - 1;

// Key codes of the keys that move the caret between lines.
enum : int { KeyPageUp = 33, KeyPageDown = 34, KeyUp = 38, KeyDown = 40 };
// Character codes the line editor acts on.
enum : int { CharBackspace = 8, CharTab = 9, CharEnter = 13 };

// The line that holds the caret after a key goes down on `line`.
int16_t LineAfterKeyDown(int16_t line, int keyCode);

struct LineKeyResult {
    bool consumed = false;    // the key does not reach the box
    int16_t moveTo = -1;      // the line the caret moves to, -1 none
    bool caretAtEnd = false;  // the caret goes to the end of `text`
};
// A character typed on `line` holding `text`: a full line takes nothing more,
// Tab appends eight blanks, Enter moves on; other keys are the box's to type.
LineKeyResult LineKeyPress(int16_t line, std::string& text, int keyAscii);

class HelpWriterLogic {
  public:
    // Loads the window: the manual's name and the designed buttons.
    HelpWriterLogic();

    HelpChoosers* choosers = nullptr;
    // PagNum as the author typed it.
    std::string pagNum;

    const std::array<LineBox, HelpPageLines>& Lines() const { return lines_; }  // PgLine
    const std::string& FrameCaption() const { return frameCaption_; }           // PageFrame
    const std::string& TopicNum() const { return topicNum_; }
    bool NextEnabled() const { return buttons_.next; }
    bool PrevEnabled() const { return buttons_.prev; }
    bool SaveEnabled() const { return saveEnabled_; }
    bool UpdateEnabled() const { return updateEnabled_; }
    bool Visible() const { return visible_; }
    int16_t CurLine() const { return curLine_; }
    // Counts the times the caret is to move to CurLine(); the window follows each.
    unsigned FocusMoves() const { return focusMoves_; }

    const HelpPageModel& Model() const { return model_; }
    int16_t NumPages() const { return numPages_; }

    void FormLoad();
    void Activate();
    void NextPgClick();
    void PrevPgClick();
    // Enter in PagNum.
    void PagNumEnter();

    // The line editor: the box that gets the caret, a key going down, a character typed
    // (set to 0 when consumed), and the text as the box holds it after typing.
    void PgLineGotFocus(int16_t line);
    void PgLineKeyDown(int16_t line, int keyCode);
    void PgLineKeyPress(int16_t line, int& keyAscii);
    void LineEdited(int16_t line, const std::string& text);

    void PagColorClick();
    void SelFontClick();
    void ClearPgClick();
    void SavePgClick();
    void UpDatePgClick();
    void ExitHlpClick();

    std::function<void()> changed;

  private:
    void ShowPage();
    void ReadBack();
    void StartBlankPage();
    // Writes the page on screen as record `at` of `manual`; false after the error's box.
    bool StorePage(HelpManualBytes& manual, size_t at);
    void MoveCaret(int16_t line);
    void Changed();

    HelpPageModel model_;
    int16_t numPages_ = 0;
    int16_t curLine_ = 0;
    unsigned focusMoves_ = 0;
    std::array<LineBox, HelpPageLines> lines_{};
    std::string frameCaption_;
    std::string topicNum_;
    PagingButtons buttons_;
    bool saveEnabled_ = true;
    bool updateEnabled_ = false;
    bool visible_ = false;
    // The font chooser starts from what it last held.
    bool lastBold_ = false;
    bool lastItalic_ = false;
    int32_t lastColor_ = HelpBlack;
};

}  // namespace quarvelt
