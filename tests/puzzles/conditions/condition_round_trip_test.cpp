// A condition from the editor to the verdict of a run: composed, added to the
// catalogue, accepted, saved with two puzzles, loaded again and judged. The
// main window's logic does the saving, loading and running on the shipped
// picture set; the grid and labels are recording doubles, the boxes scripted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/globals.h"
#include "common/image_index.h"
#include "common/tables.h"
#include "common/text.h"
#include "engine/board_trace.h"
#include "mainwindow/game_bd_logic.h"
#include "platform/files.h"
#include "puzzles/sp_cond_edit_logic.h"
#include "support/main_window_fixture.h"
#include "support/recording_grid.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using namespace quarvelt;

namespace {

const char* const Described = "Photon A MUST reach the White Detector LARGE, WHITE and RICH.";

// Ten by ten: the lamp on row 6 sends its photon through a lens, a mirror at
// column 7 turns it up to a white detector; `diamond` puts a diamond worth
// 1234 points on its way.
std::string Board(bool diamond) {
    std::string text = "size 10 10\n";
    for (int r = 0; r < 10; ++r) {
        std::vector<std::string> row(10, "BLANK");
        if (r == 6) {
            row[1] = "LAMP_";
            row[2] = "LENCC";
            row[3] = diamond ? "DIAM_" : "BLANK";
            row[7] = "REFLU";
        }
        if (r == 2)
            row[7] = "DETWH";
        text += "row";
        for (const std::string& code : row)
            text += " " + code;
        text += "\n";
    }
    return diamond ? text + "trigger 63 1234\n" : text;
}

class ConditionRoundTrip : public testsupport::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_FALSE(WriteSpecialCondFile(Catalogue(), DefaultSpecialCondRecords()));
    }

    std::string Catalogue() const { return dir.Path() + "QUARVELT.CSC"; }

    void Build(bool diamond) {
        BoardFile board;
        std::string error;
        ASSERT_TRUE(ParseBoardFile(Board(diamond), board, error)) << error;
        LoadBoardFile(board);
    }
    // What the Puzzle menu's Conditions does around the editor: a fresh one,
    // and the description shown once it has closed.
    void Conditions(const std::function<void(SpCondEditLogic&)>& script) {
        SpCondEditLogic editor(Catalogue());
        editor.Activate();
        script(editor);
        editor.ExitClick();
        condition.SetCaption(SpecialCondText);
    }
    static void Choose(SpCondEditLogic& e, SpCondChoiceKind kind, const std::string& entry) {
        const auto& entries = e.Photon(0).Choice(kind).entries;
        for (size_t k = 0; k < entries.size(); ++k)
            if (entries[k] == entry)
                return e.ChoiceClick(0, kind, static_cast<int>(k));
        ADD_FAILURE() << "no entry " << entry;
    }
    static void PickDescribed(SpCondEditLogic& e) {
        for (size_t i = 0; i < e.Lines().size(); ++i)
            if (TrimBlanks(e.Lines()[i].text) == Described)
                return e.ListClick(static_cast<int>(i));
        ADD_FAILURE() << "the condition is not listed";
    }
    void Save(const std::string& puzzleName, const std::string& base) {
        view.creator.push_back([puzzleName, base](CreatorLogic& d) {
            d.pzlName = puzzleName;
            d.pzlFilename = base;
            d.CmdClick();
        });
        platform.ExpectBox("SAVE  CUSTOM  PUZZLE");
        logic.PuzzleMenuClick(2);
    }
    void Load(const std::string& puzzleName) {
        logic.MainMenuClick(4);
        view.creator.push_back([puzzleName](CreatorLogic& d) {
            for (size_t i = 0; i < d.Items().size(); ++i)
                if (d.Items()[i] == puzzleName)
                    d.ListClick(static_cast<int>(i));
            d.CmdClick();
        });
        platform.ExpectBox("S P E C I A L   C O N D I T I O N S");
        logic.PuzzleMenuClick(1);
    }
};

}  // namespace

TEST_F(ConditionRoundTrip, AComposedConditionIsSavedLoadedAndJudgesEachRun) {
    Build(true);
    Conditions([this](SpCondEditLogic& e) {
        e.spConText = Described;
        Choose(e, SpCondChoiceKind::Color, "White");
        Choose(e, SpCondChoiceKind::Size, "Large");
        Choose(e, SpCondChoiceKind::Det, "White Det.");
        e.tallyAmt = "1234";
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        e.AccClick();
        platform.ExpectBox("ADD  NEW  SPECIAL  CONDITION");
        e.AddClick();
        // Unnumbered until it is picked from the catalogue and accepted.
        EXPECT_TRUE(IsNoSpecialCond(SpecialCond));
        PickDescribed(e);
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        e.AccClick();
    });
    const std::string code = SpecialCond;
    EXPECT_EQ(code, "11P1WLDwTn________________Ta1234~");
    EXPECT_EQ(condition.Caption(), Described);
    Save("Meets", "meets");

    // The second puzzle takes the same condition from the catalogue.
    Build(false);
    Conditions([this](SpCondEditLogic& e) {
        PickDescribed(e);
        platform.ExpectBox("SETUP   SPECIAL   CONDITIONS");
        e.AccClick();
    });
    EXPECT_EQ(SpecialCond, code);
    Save("Misses", "misses");

    Load("Meets");
    EXPECT_EQ(platform.Boxes().back().text, Described);
    EXPECT_EQ(condition.Caption(), Described);
    EXPECT_EQ(SpecialCond.substr(0, 33), code);
    platform.ExpectBox("SUCCESSFUL  PUZZLE  COMPLETION");
    logic.MainMenuClick(2);
    EXPECT_EQ(CaptionNumber(tally.Caption()), 1234);

    Load("Misses");
    EXPECT_EQ(condition.Caption(), Described);
    platform.ExpectBox("YOU  FAILED  TO  SOLVE  THE  PUZZLE");
    logic.MainMenuClick(2);
    EXPECT_EQ(platform.Boxes().back().text.substr(0, 38), "SORRY, YOU FAILED TO SOLVE THE PUZZLE.");
}
