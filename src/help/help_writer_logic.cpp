#include "help/help_writer_logic.h"

#include <algorithm>

#include "common/globals.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* ManualTitle = "HELP MANUAL";
constexpr const char* AssignTitle = "ASSIGN HELP PAGE";
constexpr const char* SaveTitle = "SAVE PAGE TO FILE";
constexpr int Question = platform::MsgQuestion | platform::MsgYesNo;
constexpr size_t TabBlanks = 8;

std::string TrimRight(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

void ShowFileError(const platform::RuntimeError& error, const char* title) {
    platform::Warn(platform::ErrorText(error), title);
}

// The manual as it stands before a page is saved into it; false after the error's box.
bool ReadForSaving(const std::string& fileName, HelpManualBytes& manual) {
    if (auto error = ReadHelpManualBytes(fileName, manual)) {
        ShowFileError(error, SaveTitle);
        return false;
    }
    return true;
}

bool Asked(const char* question) {
    return platform::MsgBox(question, Question, AssignTitle) == platform::AnswerYes;
}

}  // namespace

LineLook LookOfBox(const LineBox& box) {
    return LookOfLine(box.text, box.fontName, box.fontSize, box.bold, box.italic, box.foreColor,
                      box.backColor);
}

int16_t LineAfterKeyDown(int16_t line, int keyCode) {
    switch (keyCode) {
        case KeyUp:
            return line > 0 ? static_cast<int16_t>(line - 1) : line;
        case KeyDown:
            return line < LastHelpLine ? static_cast<int16_t>(line + 1) : line;
        case KeyPageUp:
            return 0;
        case KeyPageDown:
            return LastHelpLine;
        default:
            return line;
    }
}

LineKeyResult LineKeyPress(int16_t line, std::string& text, int keyAscii) {
    LineKeyResult result;
    const int16_t below = line < LastHelpLine ? static_cast<int16_t>(line + 1) : -1;
    if (text.size() >= HelpTextWidth) {
        // A full line takes no more typing, not even Backspace; the caret moves on instead.
        result.consumed = true;
        result.moveTo = below;
    } else if (keyAscii == CharTab) {
        result.consumed = true;
        text.append(TabBlanks, ' ');
        text.resize(std::min(text.size(), HelpTextWidth));
        result.caretAtEnd = true;
    } else if (keyAscii == CharEnter) {
        result.consumed = true;
        result.moveTo = below;
    }
    return result;
}

HelpWriterLogic::HelpWriterLogic() {
    FormLoad();
}

void HelpWriterLogic::Changed() {
    if (changed)
        changed();
}

void HelpWriterLogic::MoveCaret(int16_t line) {
    curLine_ = line;
    ++focusMoves_;
}

void HelpWriterLogic::FormLoad() {
    model_.HelpFileName = AppPath + HelpManualName;
    buttons_ = {};
}

void HelpWriterLogic::ShowPage() {
    for (size_t k = 0; k < lines_.size(); ++k) {
        const PageLine& row = model_.PageArr[k];
        LineBox& box = lines_[k];
        box.foreColor = row.foreColor;
        box.fontName = TrimBlanks(row.fontName);
        box.fontSize = row.fontSize;
        box.bold = row.fontBold != 0;
        box.italic = row.fontItalic != 0;
        box.text = TrimRight(row.text);
        box.backColor = row.backColor;
    }
    frameCaption_ = PageCaption(model_.CurPage);
    pagNum = std::to_string(model_.CurPage);
    topicNum_ = std::to_string(model_.CurTopic);
}

void HelpWriterLogic::ReadBack() {
    // The background stays as the page model holds it: it is also what the screen shows.
    for (size_t k = 0; k < lines_.size(); ++k) {
        const LineBox& box = lines_[k];
        PageLine& row = model_.PageArr[k];
        row.foreColor = box.foreColor;
        row.fontName = box.fontName;
        row.fontSize = StoredFontSize(box.fontSize);
        row.fontBold = box.bold ? True : False;
        row.fontItalic = box.italic ? True : False;
        row.text = TrimRight(box.text);
    }
}

void HelpWriterLogic::StartBlankPage() {
    model_.CurTopic = 1;
    model_.CurPage = 1;
    numPages_ = 1;
    HelpPagesLeft = 1;
    ShowPage();
    buttons_ = {};
    updateEnabled_ = false;
}

void HelpWriterLogic::Activate() {
    visible_ = true;
    model_.PageArr = PageTable{};
    model_.ClearPageArr();
    ShowPage();
    MoveCaret(0);

    // Opening never creates the manual: only a save does.
    HelpManualContents manual;
    if (auto error = ReadHelpManual(model_.HelpFileName, manual)) {
        ShowFileError(error, ManualTitle);
        StartBlankPage();
        // A manual that cannot be read is not written over either.
        saveEnabled_ = false;
        Changed();
        return;
    }
    const auto count = static_cast<int16_t>(manual.pages.size());
    if (count == 0) {
        platform::Warn("EMPTY HELP MANUAL!\r\rStarting a new help manual\rwith Page 1, Topic 1.",
                       ManualTitle);
        StartBlankPage();
        Changed();
        return;
    }

    numPages_ = count;
    HelpPagesLeft = count;
    model_.CurPage = 1;
    if (model_.GetPage(model_.CurPage) == 0) {
        ShowPage();
        updateEnabled_ = true;
        buttons_ = {count >= 2, false};
    } else {
        // The blank page stays, under the number it would be saved as.
        ShowPage();
    }
    Changed();
}

void HelpWriterLogic::NextPgClick() {
    if (TurnPage(PageTurn::Next, model_, numPages_, buttons_))
        ShowPage();
    Changed();
}

void HelpWriterLogic::PrevPgClick() {
    if (TurnPage(PageTurn::Previous, model_, numPages_, buttons_))
        ShowPage();
    Changed();
}

void HelpWriterLogic::PagNumEnter() {
    const int16_t remembered = model_.CurPage;
    const int16_t typed = CaptionNumber(pagNum);
    model_.CurPage = typed;
    if (model_.GetPage(model_.CurPage) == 0) {
        ShowPage();
        // After a jump the writer does not page.
        HelpPagesLeft = 1;
        numPages_ = 1;
        buttons_ = {};
    } else if (typed == remembered + 1) {
        // Only the number after the page on screen may start a new page.
        if (Asked("IS THIS A NEW PAGE?")) {
            model_.ClearPageArr();
            ShowPage();
            if (numPages_ < 32767)
                ++numPages_;
            if (Asked("IS THIS A NEW TOPIC?")) {
                if (model_.CurTopic < 32767)
                    ++model_.CurTopic;
                topicNum_ = std::to_string(model_.CurTopic);
            }
        } else {
            model_.CurPage = remembered;
            pagNum = std::to_string(model_.CurPage);
        }
    } else {
        platform::Beep();
        model_.CurPage = remembered;
        pagNum = std::to_string(model_.CurPage);
    }
    Changed();
}

void HelpWriterLogic::PgLineGotFocus(int16_t line) {
    if (line >= 0 && line <= LastHelpLine)
        curLine_ = line;
}

void HelpWriterLogic::PgLineKeyDown(int16_t line, int keyCode) {
    if (line < 0 || line > LastHelpLine)
        return;
    const int16_t to = LineAfterKeyDown(line, keyCode);
    if (to != line) {
        MoveCaret(to);
        Changed();
    }
}

void HelpWriterLogic::PgLineKeyPress(int16_t line, int& keyAscii) {
    if (line < 0 || line > LastHelpLine)
        return;
    const LineKeyResult result =
        LineKeyPress(line, lines_[static_cast<size_t>(line)].text, keyAscii);
    if (!result.consumed)
        return;
    keyAscii = 0;
    if (result.moveTo >= 0)
        MoveCaret(result.moveTo);
    Changed();
}

void HelpWriterLogic::LineEdited(int16_t line, const std::string& text) {
    if (line >= 0 && line <= LastHelpLine)
        lines_[static_cast<size_t>(line)].text = text.substr(0, HelpTextWidth);
}

void HelpWriterLogic::PagColorClick() {
    int32_t color = HelpWhite;
    // A cancelled chooser changes nothing and asks nothing.
    if (choosers == nullptr || !choosers->ChooseColor("Select Page Color", color))
        return;
    const bool wholePage = platform::MsgBox("DO YOU WANT THE WHOLE PAGE\rTHIS COLOR?", Question,
                                            "HELP PAGE COLOR") == platform::AnswerYes;
    for (int16_t k = 0; k <= LastHelpLine; ++k) {
        if (wholePage || k == curLine_) {
            model_.PageArr[static_cast<size_t>(k)].backColor = color;
            lines_[static_cast<size_t>(k)].backColor = color;
        }
    }
    Changed();
}

void HelpWriterLogic::SelFontClick() {
    FontChoice choice;
    choice.fontName = "Courier New";
    choice.fontSize = DefaultHelpFontSize;
    choice.bold = lastBold_;
    choice.italic = lastItalic_;
    choice.color = lastColor_;
    if (choosers != nullptr && choosers->ChooseFont("Select Font", choice)) {
        lastBold_ = choice.bold;
        lastItalic_ = choice.italic;
        lastColor_ = choice.color;
        PageLine& row = model_.PageArr[static_cast<size_t>(curLine_)];
        row.fontName = choice.fontName;
        row.fontSize = StoredFontSize(choice.fontSize);
        row.fontBold = choice.bold ? True : False;
        row.fontItalic = choice.italic ? True : False;
        row.foreColor = choice.color;
        LineBox& box = lines_[static_cast<size_t>(curLine_)];
        box.fontName = choice.fontName;
        box.fontSize = choice.fontSize;
        box.bold = choice.bold;
        box.italic = choice.italic;
        box.foreColor = choice.color;
    }
    MoveCaret(curLine_);
    Changed();
}

void HelpWriterLogic::ClearPgClick() {
    // Only the screen page: the manual and the page's numbers stay.
    model_.ClearPageArr();
    ShowPage();
    Changed();
}

void HelpWriterLogic::SavePgClick() {
    if (!saveEnabled_)
        return;
    ReadBack();
    HelpManualBytes manual;
    if (!ReadForSaving(model_.HelpFileName, manual))
        return;
    if (manual.Find(model_.CurPage) < manual.Count()) {
        platform::Warn("THIS PAGE ALREADY EXISTS!", SaveTitle);
        return;
    }
    if (!StorePage(manual, manual.Count()))
        return;
    platform::Tell("NEW PAGE ADDED.", SaveTitle);
    updateEnabled_ = true;
    buttons_.prev = true;
    Changed();
}

void HelpWriterLogic::UpDatePgClick() {
    if (!updateEnabled_)
        return;
    ReadBack();
    HelpManualBytes manual;
    if (!ReadForSaving(model_.HelpFileName, manual))
        return;
    const size_t at = manual.Find(model_.CurPage);
    if (at == manual.Count()) {
        platform::Warn("THIS PAGE DOESN'T EXIST!", SaveTitle);
        return;
    }
    // The page also takes the topic on screen.
    if (StorePage(manual, at))
        platform::Tell("PAGE UPDATED.", SaveTitle);
}

bool HelpWriterLogic::StorePage(HelpManualBytes& manual, size_t at) {
    platform::RuntimeError error =
        manual.Put(at, MakeHelpPageRecord(model_.CurPage, model_.CurTopic, model_.PageArr));
    if (!error)
        error = WriteHelpManualBytes(model_.HelpFileName, manual);
    if (error) {
        ShowFileError(error, SaveTitle);
        return false;
    }
    return true;
}

void HelpWriterLogic::ExitHlpClick() {
    // Lines not saved are lost without a question.
    visible_ = false;
    Changed();
}

}  // namespace quarvelt
