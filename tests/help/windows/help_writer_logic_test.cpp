// The help writer without a screen: opening, the new-page questions, the line
// editor's keys, colours and fonts, and saving pages into temporary manuals.
#include "help/help_writer_logic.h"

#include <sys/stat.h>

#include <deque>
#include <optional>

#include "help_fixture.h"

namespace helptest {
namespace {

// Choosers that hand back what the test queued; nothing queued means cancel.
class ScriptedChoosers : public HelpChoosers {
  public:
    std::deque<std::optional<int32_t>> colors;
    std::deque<std::optional<FontChoice>> fonts;
    std::vector<int32_t> colorPresets;
    std::vector<FontChoice> fontPresets;
    std::vector<std::string> titles;

    bool ChooseColor(const std::string& title, int32_t& color) override {
        titles.push_back(title);
        colorPresets.push_back(color);
        std::optional<int32_t> answer = Next(colors);
        if (answer)
            color = *answer;
        return answer.has_value();
    }
    bool ChooseFont(const std::string& title, FontChoice& choice) override {
        titles.push_back(title);
        fontPresets.push_back(choice);
        std::optional<FontChoice> answer = Next(fonts);
        if (answer)
            choice = *answer;
        return answer.has_value();
    }

  private:
    template <class T>
    static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty())
            return std::nullopt;
        std::optional<T> answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

class HelpWriterTest : public HelpManualTest {
  protected:
    HelpWriterLogic& Open() {
        writer.emplace();
        writer->choosers = &choosers;
        writer->Activate();
        return *writer;
    }
    // "page n/topic", then Next, Previous, Save and Update as on or off.
    std::string State() const {
        return writer->pagNum + "/" + writer->TopicNum() + (writer->NextEnabled() ? " N" : " -") +
               (writer->PrevEnabled() ? "P" : "-") + (writer->SaveEnabled() ? "S" : "-") +
               (writer->UpdateEnabled() ? "U" : "-");
    }
    void Jump(const std::string& typed) {
        writer->pagNum = typed;
        writer->PagNumEnter();
    }
    // A jump to the number after the page on screen, taken as a new page of its topic.
    void NewPage(const std::string& typed) {
        platform.ExpectBox("GET HELP PAGE");
        platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
        platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerNo);
        Jump(typed);
    }
    void Type(int16_t line, const std::string& text) { writer->LineEdited(line, text); }
    // A character typed on a line: what the box would then hold.
    std::string Press(int16_t line, int character) {
        int key = character;
        writer->PgLineKeyPress(line, key);
        std::string text = writer->Lines()[static_cast<size_t>(line)].text;
        if (key != 0)
            text += static_cast<char>(key);
        Type(line, text);
        return text;
    }

    ScriptedChoosers choosers;
    std::optional<HelpWriterLogic> writer;
};

TEST_F(HelpWriterTest, AnEmptyManualStartsABlankPageOneOfTopicOne) {
    platform.ExpectBox("HELP MANUAL");
    Open();
    ASSERT_TRUE(writer->Visible());
    EXPECT_EQ(testsupport::Readable(platform.Boxes()[0].text),
              "EMPTY HELP MANUAL!||Starting a new help manual|with Page 1, Topic 1.");
    EXPECT_EQ(platform.Boxes()[0].flags, Exclamation);
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_EQ(State(), "1/1 --S-");
    EXPECT_EQ(writer->FrameCaption(), "Page 1");
    EXPECT_EQ(writer->NumPages(), 1);
    EXPECT_EQ(HelpPagesLeft, 1);
    for (const LineBox& box : writer->Lines())
        EXPECT_EQ(box, LineBox{});
    // Opening never creates the manual.
    EXPECT_FALSE(platform::IsFile(ManualPath()));
}

TEST_F(HelpWriterTest, AManualOpensOnPageOneAndPagesByTheSharedRule) {
    WriteManual({{1, 1}, {2, 2}, {3, 2}});
    HelpStartPage = 3;  // the writer always starts on page 1 with the whole manual
    HelpPageSpan = 1;
    Open();
    EXPECT_EQ(State(), "1/1 N-SU");
    EXPECT_EQ(writer->NumPages(), 3);
    writer->NextPgClick();
    EXPECT_EQ(State(), "2/2 NPSU");
    writer->NextPgClick();
    EXPECT_EQ(State(), "3/2 -PSU");
    EXPECT_EQ(writer->Lines()[0].text, "page 3");

    WriteManual({{5, 3}});
    platform.ExpectBox("GET HELP PAGE");
    Open();
    EXPECT_EQ(State(), "1/0 --S-") << "page 1 missing: a blank page stays";
    EXPECT_EQ(platform.Boxes().back().text, "ERROR: PAGE NOT FOUND!");
}

TEST_F(HelpWriterTest, TheNextNumberOffersANewPageAndTopic) {
    WriteManual({{1, 1}, {2, 1}, {3, 2}});
    Open();
    Jump("3");
    EXPECT_EQ(State(), "3/2 --SU");
    Type(0, "left from page 3");

    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    Jump("4");
    EXPECT_EQ(platform.Boxes()[1].text, "IS THIS A NEW PAGE?");
    EXPECT_EQ(platform.Boxes()[1].flags, Question);
    EXPECT_EQ(platform.Boxes()[2].text, "IS THIS A NEW TOPIC?");
    EXPECT_EQ(State(), "4/3 --SU");
    EXPECT_EQ(writer->FrameCaption(), "Page 4");
    EXPECT_EQ(writer->NumPages(), 2);  // the jump's range of one, and the new page
    EXPECT_EQ(writer->Lines()[0].text, "");
    // The page exists on screen only.
    EXPECT_EQ(StoredPages().size(), 3u);

    // No new topic: the page stays in the topic on screen.
    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerNo);
    Jump("5");
    EXPECT_EQ(State(), "5/3 --SU");
}

TEST_F(HelpWriterTest, ANumberThatIsNeitherStoredNorNextReturnsToThePageOnScreen) {
    WriteManual({{1, 1}, {2, 1}, {3, 2}});
    Open();
    Jump("3");
    const int beeps = platform.Beeps();

    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerNo);
    Jump("4");
    EXPECT_EQ(State(), "3/2 --SU");

    platform.ExpectBox("GET HELP PAGE");
    Jump("6");
    EXPECT_EQ(State(), "3/2 --SU");
    // The not-found message's beep, then the refusal's.
    EXPECT_EQ(platform.Beeps(), beeps + 3);

    Jump("1");
    EXPECT_EQ(State(), "1/1 --SU");
    EXPECT_EQ(HelpPagesLeft, 1);
}

TEST(HelpLineEditor, CaretKeysStayWithinThePage) {
    const struct {
        int16_t line;
        int key;
        int16_t to;
    } moves[] = {
        {5, KeyUp, 4},        {0, KeyUp, 0},         {23, KeyDown, 24},
        {24, KeyDown, 24},    {12, KeyPageUp, 0},    {0, KeyPageUp, 0},
        {3, KeyPageDown, 24}, {24, KeyPageDown, 24}, {7, 37 /* Left */, 7},
    };
    for (const auto& move : moves)
        EXPECT_EQ(LineAfterKeyDown(move.line, move.key), move.to)
            << "line " << move.line << " key " << move.key;
}

TEST(HelpLineEditor, TypedCharactersFollowTheLineRules) {
    const std::string full(80, 'w');
    const struct {
        int16_t line;
        std::string text;
        int key;
        bool consumed;
        int16_t moveTo;
        std::string after;
    } cases[] = {
        {3, "ab", 'c', false, -1, "ab"},
        {3, "ab", CharBackspace, false, -1, "ab"},
        {3, "ab", CharTab, true, -1, "ab        "},
        {3, std::string(75, 'x'), CharTab, true, -1, std::string(75, 'x') + "     "},
        {3, std::string(79, 'x'), CharTab, true, -1, std::string(79, 'x') + " "},
        {3, "ab", CharEnter, true, 4, "ab"},
        {24, "ab", CharEnter, true, -1, "ab"},
        // A full line swallows every key, Backspace and Tab included, and moves on.
        {3, full, 'z', true, 4, full},
        {3, full, CharBackspace, true, 4, full},
        {3, full, CharTab, true, 4, full},
        {24, full, 'z', true, -1, full},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        const LineKeyResult result = LineKeyPress(c.line, text, c.key);
        EXPECT_EQ(result.consumed, c.consumed)
            << c.line << " key " << c.key << " [" << c.text << "]";
        EXPECT_EQ(result.moveTo, c.moveTo) << c.line << " key " << c.key;
        EXPECT_EQ(text, c.after) << c.line << " key " << c.key;
        EXPECT_EQ(result.caretAtEnd, c.key == CharTab && c.text.size() < 80);
    }
}

TEST_F(HelpWriterTest, TheLineEditorMovesTheCaretAndTheEightiethCharacterStays) {
    WriteManual({{1, 1}});
    Open();
    const unsigned moves = writer->FocusMoves();
    writer->PgLineGotFocus(10);
    EXPECT_EQ(writer->CurLine(), 10);
    writer->PgLineKeyDown(10, KeyPageDown);
    writer->PgLineKeyDown(24, KeyUp);
    EXPECT_EQ(writer->CurLine(), 23);
    EXPECT_EQ(writer->FocusMoves(), moves + 2);

    Type(5, std::string(79, 'a'));
    EXPECT_EQ(Press(5, 'b'), std::string(79, 'a') + "b");
    EXPECT_EQ(writer->CurLine(), 23) << "the 80th character moves nothing";
    EXPECT_EQ(Press(5, 'c'), std::string(79, 'a') + "b");
    EXPECT_EQ(writer->CurLine(), 6);

    Type(24, std::string(80, 'q'));
    writer->PgLineGotFocus(24);
    EXPECT_EQ(Press(24, CharBackspace), std::string(80, 'q'));
    EXPECT_EQ(writer->CurLine(), 24);

    EXPECT_EQ(Press(2, CharTab), std::string(8, ' '));
    EXPECT_EQ(writer->CurLine(), 24) << "Tab keeps the caret on its line";
}

TEST_F(HelpWriterTest, ThePageColourGoesToTheWholePageOrTheCaretsLine) {
    WriteManual({{1, 1}});
    Open();
    writer->PgLineKeyDown(0, KeyPageDown);
    writer->PgLineKeyDown(24, KeyUp);

    choosers.colors = {0x00FF00};
    platform.ExpectBox("HELP PAGE COLOR", platform::AnswerNo);
    writer->PagColorClick();
    EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text),
              "DO YOU WANT THE WHOLE PAGE|THIS COLOR?");
    EXPECT_EQ(platform.Boxes().back().flags, Question);
    EXPECT_EQ(choosers.titles.back(), "Select Page Color");
    EXPECT_EQ(choosers.colorPresets.back(), HelpWhite);
    for (int16_t k = 0; k < HelpPageLines; ++k) {
        const int32_t expected = k == 23 ? 0x00FF00 : HelpWhite;
        EXPECT_EQ(writer->Lines()[static_cast<size_t>(k)].backColor, expected) << k;
        EXPECT_EQ(writer->Model().PageArr[static_cast<size_t>(k)].backColor, expected) << k;
    }

    choosers.colors = {0x800000};
    platform.ExpectBox("HELP PAGE COLOR", platform::AnswerYes);
    writer->PagColorClick();
    for (const LineBox& box : writer->Lines())
        EXPECT_EQ(box.backColor, 0x800000);

    // Cancelled: nothing asked, nothing changed.
    const auto before = writer->Lines();
    const size_t boxes = platform.Boxes().size();
    writer->PagColorClick();
    EXPECT_EQ(platform.Boxes().size(), boxes);
    EXPECT_EQ(writer->Lines(), before);
}

TEST_F(HelpWriterTest, TheFontChooserStartsFromItsLastStyleAndACancelChangesNothing) {
    WriteManual({{1, 1}});
    Open();
    writer->PgLineGotFocus(4);
    choosers.fonts = {FontChoice{"Serif", 14, true, true, 0x0000FF}};
    writer->SelFontClick();
    ASSERT_EQ(choosers.fontPresets.size(), 1u);
    EXPECT_EQ(choosers.titles.back(), "Select Font");
    EXPECT_EQ(choosers.fontPresets[0].fontName, "Courier New");
    EXPECT_EQ(choosers.fontPresets[0].fontSize, 11);
    EXPECT_FALSE(choosers.fontPresets[0].bold);
    EXPECT_EQ(choosers.fontPresets[0].color, HelpBlack);
    const LineBox styled = writer->Lines()[4];
    EXPECT_EQ(styled.fontName, "Serif");
    EXPECT_EQ(styled.fontSize, 14);
    EXPECT_TRUE(styled.bold && styled.italic);
    EXPECT_EQ(styled.foreColor, 0x0000FF);
    EXPECT_EQ(writer->Model().PageArr[4].fontName, "Serif");
    EXPECT_EQ(writer->Lines()[5], LineBox{});
    EXPECT_EQ(writer->CurLine(), 4);

    // A page colour chosen in between does not become the text colour.
    choosers.colors = {0xABCDEF};
    platform.ExpectBox("HELP PAGE COLOR", platform::AnswerNo);
    writer->PagColorClick();
    const auto before = writer->Lines();
    writer->SelFontClick();  // cancelled
    EXPECT_EQ(writer->Lines(), before);
    ASSERT_EQ(choosers.fontPresets.size(), 2u);
    EXPECT_EQ(choosers.fontPresets[1].fontName, "Courier New");
    EXPECT_EQ(choosers.fontPresets[1].fontSize, 11);
    EXPECT_TRUE(choosers.fontPresets[1].bold && choosers.fontPresets[1].italic);
    EXPECT_EQ(choosers.fontPresets[1].color, 0x0000FF);
}

TEST_F(HelpWriterTest, ClearBlanksTheScreenPageOnly) {
    WriteManual({{1, 1}, {2, 4}});
    Open();
    writer->NextPgClick();
    const std::string bytes = StoredBytes();
    writer->ClearPgClick();
    EXPECT_EQ(State(), "2/4 -PSU");
    for (const LineBox& box : writer->Lines())
        EXPECT_EQ(box, LineBox{});
    EXPECT_EQ(StoredBytes(), bytes);
}

TEST_F(HelpWriterTest, SavingAppendsANewPageAndRefusesAStoredNumber) {
    WriteManual({{1, 1}, {2, 1}, {3, 1}});
    Open();
    Jump("3");
    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerNo);
    Jump("4");
    EXPECT_EQ(State(), "4/1 --SU");
    Type(0, "word" + std::string(8, ' '));
    Type(1, "   indented");

    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->SavePgClick();
    EXPECT_EQ(platform.Boxes().back().text, "NEW PAGE ADDED.");
    EXPECT_EQ(platform.Boxes().back().flags, Information);
    EXPECT_EQ(State(), "4/1 -PSU");
    const auto pages = StoredPages();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[3].pageNo, 4);
    EXPECT_EQ(pages[3].topicNo, 1);
    EXPECT_EQ(pages[3].lines[0].text, "word");
    EXPECT_EQ(pages[3].lines[1].text, "   indented");
    EXPECT_EQ(StoredBytes().substr(3 * HelpPageRecordLength + 4, 80),
              "word" + std::string(76, ' '));

    // The same number again, and a stored one: refused, the file as it was.
    const std::string bytes = StoredBytes();
    for (const char* page : {"4", "2"}) {
        if (std::string(page) == "2")
            Jump(page);
        platform.ExpectBox("SAVE PAGE TO FILE");
        writer->SavePgClick();
        EXPECT_EQ(platform.Boxes().back().text, "THIS PAGE ALREADY EXISTS!");
        EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
        EXPECT_EQ(StoredBytes(), bytes);
    }
}

TEST_F(HelpWriterTest, TheFirstSaveCreatesTheManualAndEnablesUpdating) {
    platform.ExpectBox("HELP MANUAL");
    Open();
    Type(0, "Contents");
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->SavePgClick();
    EXPECT_EQ(State(), "1/1 -PSU");
    const auto pages = StoredPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].lines[0].text, "Contents");
    EXPECT_EQ(StoredBytes().size(), HelpPageRecordLength);
}

TEST_F(HelpWriterTest, UpdatingRewritesThePageInPlaceWithEveryLinesOwnLook) {
    WriteManual({{1, 1}, {2, 1}, {3, 1}});
    Open();
    writer->NextPgClick();
    for (int16_t k = 0; k < HelpPageLines; ++k) {
        writer->PgLineGotFocus(k);
        choosers.colors.push_back(0x010203 * k);
        platform.ExpectBox("HELP PAGE COLOR", platform::AnswerNo);
        writer->PagColorClick();
    }
    writer->PgLineGotFocus(7);
    choosers.fonts = {FontChoice{"A Face Named Longer", 11.25, false, true, 0x00AA00}};
    writer->SelFontClick();
    writer->PgLineGotFocus(8);
    choosers.fonts = {FontChoice{"Serif", 10.5, true, false, 0}};
    writer->SelFontClick();
    Type(9, "changed");

    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    EXPECT_EQ(platform.Boxes().back().text, "PAGE UPDATED.");
    EXPECT_EQ(platform.Boxes().back().flags, Information);
    const auto pages = StoredPages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].lines[0].text, "page 1");
    EXPECT_EQ(pages[2].lines[0].text, "page 3");
    const HelpPageRecord& page = pages[1];
    EXPECT_EQ(page.pageNo, 2);
    for (size_t k = 0; k < HelpPageLines; ++k)
        EXPECT_EQ(page.lines[k].backColor, static_cast<int32_t>(0x010203 * k)) << k;
    EXPECT_EQ(page.lines[7].fontName, "A Face Named Lo");
    EXPECT_EQ(page.lines[7].fontSize, 11);
    EXPECT_EQ(page.lines[7].fontItalic, True);
    EXPECT_EQ(page.lines[7].fontBold, False);
    EXPECT_EQ(page.lines[7].foreColor, 0x00AA00);
    EXPECT_EQ(page.lines[8].fontSize, 10);
    EXPECT_EQ(page.lines[8].fontBold, True);
    EXPECT_EQ(page.lines[9].text, "changed");

    // Shown again, the page has the colours it was given.
    writer->PrevPgClick();
    writer->NextPgClick();
    for (size_t k = 0; k < HelpPageLines; ++k)
        EXPECT_EQ(writer->Lines()[k].backColor, static_cast<int32_t>(0x010203 * k)) << k;
}

TEST_F(HelpWriterTest, UpdatingAMissingPageIsRefusedAndANewTopicMovesThePage) {
    WriteManual({{1, 1}, {2, 1}});
    Open();
    Jump("2");
    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerNo);
    Jump("3");
    const std::string bytes = StoredBytes();
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    EXPECT_EQ(platform.Boxes().back().text, "THIS PAGE DOESN'T EXIST!");
    EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
    EXPECT_EQ(StoredBytes(), bytes);
}

TEST_F(HelpWriterTest, UpdatingTakesTheTopicOnScreen) {
    WriteManual({{1, 1}});
    Open();
    platform.ExpectBox("GET HELP PAGE");
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    platform.ExpectBox("ASSIGN HELP PAGE", platform::AnswerYes);
    Jump("2");
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->SavePgClick();
    EXPECT_EQ(StoredPages().at(1).topicNo, 2);
    // Stored meanwhile under another topic, the page moves to the one on screen.
    WriteManual({{1, 1}, {2, 1}});
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    EXPECT_EQ(StoredPages().at(1).topicNo, 2);
    EXPECT_EQ(StoredPages().at(1).lines[0].text, "");

    // A manual of one page is updated in place.
    Jump("1");
    Type(3, "more");
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    const auto pages = StoredPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines[3].text, "more");
    EXPECT_EQ(pages[0].topicNo, 1);
}

TEST_F(HelpWriterTest, AFileThatCannotBeWrittenIsReportedAndTheWriterStaysUsable) {
    WriteManual({{1, 1}, {2, 1}});
    Open();
    FolderInPlaceOfManual();
    for (auto click : {&HelpWriterLogic::SavePgClick, &HelpWriterLogic::UpDatePgClick}) {
        platform.ExpectBox("SAVE PAGE TO FILE");
        ((*writer).*click)();
        const std::string shown = platform.Boxes().back().text;
        EXPECT_EQ(shown.rfind("ERROR 75\r", 0), 0u) << testsupport::Readable(shown);
        EXPECT_EQ(platform.Boxes().back().flags, Exclamation);
    }
    EXPECT_TRUE(platform::IsFolder(ManualPath()));
    EXPECT_TRUE(writer->Visible());
    writer->ClearPgClick();
    Type(0, "still typing");
    EXPECT_EQ(writer->Lines()[0].text, "still typing");
}

TEST_F(HelpWriterTest, SaveAndUpdateRewriteTheirPageAloneAndAWriteProtectedManualStays) {
    // Another page's font name with leading blanks, and bytes after the last record.
    HelpPageRecord odd = NamedPage(2, 1);
    odd.lines[4].fontName = "  Odd";
    WriteRecords({NamedPage(1, 1), odd});
    const std::string tail = "tail";
    folder.Write(HelpManualName, StoredBytes() + tail);
    const std::string before = StoredBytes().substr(0, 2 * HelpPageRecordLength);
    ASSERT_NE(before.find("  Odd"), std::string::npos);
    Open();
    writer->NextPgClick();
    NewPage("3");
    for (auto click : {&HelpWriterLogic::SavePgClick, &HelpWriterLogic::UpDatePgClick}) {
        Type(0, click == &HelpWriterLogic::SavePgClick ? "new" : "updated");
        platform.ExpectBox("SAVE PAGE TO FILE");
        ((*writer).*click)();
        const std::string bytes = StoredBytes();
        ASSERT_EQ(bytes.size(), 3 * HelpPageRecordLength + tail.size());
        EXPECT_EQ(bytes.substr(0, before.size()), before);
        EXPECT_EQ(bytes.substr(3 * HelpPageRecordLength), tail);
        EXPECT_EQ(StoredPages().at(2).lines[0].text, writer->Lines()[0].text);
    }
    EXPECT_EQ(platform.Boxes().back().text, "PAGE UPDATED.");

    // No write permission on the manual: both report the error, the file stays.
    const std::string stored = StoredBytes();
    ASSERT_EQ(::chmod(ManualPath().c_str(), 0444), 0);
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    NewPage("4");
    const std::string state = State();
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->SavePgClick();
    for (size_t last : {1u, 5u}) {
        const testsupport::BoxCall& box = platform.Boxes()[platform.Boxes().size() - last];
        EXPECT_EQ(box.text, "ERROR 70\rPermission denied");
        EXPECT_EQ(box.flags, Exclamation);
    }
    EXPECT_EQ(StoredBytes(), stored);
    EXPECT_EQ(State(), state);
}

TEST_F(HelpWriterTest, AFailedTurnKeepsThePageThatASaveReadsBack) {
    PageTable coloured{};
    for (auto& line : coloured)
        line.backColor = 0x00FFFF;
    WriteRecords({NamedPage(1, 1), MakeHelpPageRecord(2, 1, coloured), NamedPage(4, 1)});
    Open();
    writer->NextPgClick();
    platform.ExpectBox("GET HELP PAGE");
    writer->NextPgClick();
    EXPECT_EQ(writer->pagNum, "2");
    platform.ExpectBox("SAVE PAGE TO FILE");
    writer->UpDatePgClick();
    const auto pages = StoredPages();
    for (const HelpPageLine& line : pages.at(1).lines)
        EXPECT_EQ(line.backColor, 0x00FFFF);
}

TEST_F(HelpWriterTest, AManualThatCannotBeReadLeavesABlankPageWithSavingOff) {
    FolderInPlaceOfManual();
    platform.ExpectBox("HELP MANUAL");
    Open();
    EXPECT_EQ(platform.Boxes().back().text.rfind("ERROR 75\r", 0), 0u);
    EXPECT_EQ(State(), "1/1 ----");
    writer->SavePgClick();
    writer->UpDatePgClick();
    EXPECT_EQ(platform.Boxes().size(), 1u);
}

}  // namespace
}  // namespace helptest
