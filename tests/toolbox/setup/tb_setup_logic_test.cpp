// The tool-box set-up on the shipped catalogue: each group's layout, the
// limits of the accept, count boxes typed and left, disable all, and the
// update and reset with objects already on the board.
#include "toolbox/tb_setup_logic.h"

#include <string>
#include <vector>

#include "common/library.h"
#include "common/text.h"
#include "toolbox/tool_box_logic.h"
#include "toolbox/toolbox_fixture.h"

using namespace quarvelt;

namespace {

constexpr const char* Title = "TOOLBOX   ITEMS";

std::vector<int16_t> UpRowsOf(int group) {
    std::vector<int16_t> rows;
    for (int16_t row = 0; row < ToolboxRowCount; ++row)
        if (ToolboxObjectTable[static_cast<size_t>(row)].group == group &&
            ToolboxObjectTable[static_cast<size_t>(row)].stem.ends_with('U'))
            rows.push_back(row);
    return rows;
}

int16_t RowOf(const std::string& stem) {
    for (int16_t row = 0; row < ToolboxRowCount; ++row)
        if (ToolboxObjectTable[static_cast<size_t>(row)].stem == stem)
            return row;
    ADD_FAILURE() << "no catalogue row " << stem;
    return 0;
}

ToolboxObjectRow& Entry(const std::string& stem) {
    return ToolboxObjectTable[static_cast<size_t>(RowOf(stem))];
}

class Setup : public toolboxtest::ShippedBoard {
  protected:
    TBSetupLogic setup;
    int homeMoves = 0;
    int redraws = 0;

    void Open() {
        setup.moveToolBoxHome = [this] { ++homeMoves; };
        setup.changed = [this] { ++redraws; };
        setup.FormLoad();
    }
    const ToolboxObjectRow& Work(const std::string& stem) const {
        return setup.WorkTable()[static_cast<size_t>(RowOf(stem))];
    }
    // The position that shows the object in the group on show.
    int PositionOf(const std::string& stem) const {
        const int16_t position = Work(stem).button;
        EXPECT_GE(position, 0) << stem << " is not laid out";
        return position;
    }
    void Type(const std::string& stem, const std::string& text) {
        setup.CountEdited(PositionOf(stem), text);
    }
    void Accept() {
        platform.ExpectBox(Title);
        setup.AcceptClick();
    }
    std::string LastBox() const { return platform.Boxes().back().text; }
    int LastIcon() const { return platform::IconOf(platform.Boxes().back().flags); }
};

TEST_F(Setup, OpensOnTheMiscellaneousGroupWithTheBlankHiddenAndTheLampFixed) {
    Open();
    EXPECT_EQ(homeMoves, 1);
    EXPECT_TRUE(setup.Visible());
    EXPECT_EQ(setup.SetupGroup(), 5);
    for (int row = 0; row < SetupRowCount; ++row)
        EXPECT_EQ(setup.RowLabelVisible(row), row < 2) << "row " << row;

    const SetupPosition& blank = setup.Position(0);
    EXPECT_EQ(blank.code, "BLANK");
    EXPECT_TRUE(FileExists(blank.picture));
    EXPECT_FALSE(blank.pictureVisible || blank.countVisible || blank.checkVisible);
    EXPECT_EQ(blank.check, CheckGrayed);

    const SetupPosition& lamp = setup.Position(8);
    EXPECT_EQ(lamp.code, "LAMP_");
    EXPECT_TRUE(lamp.pictureVisible && lamp.countVisible);
    EXPECT_FALSE(lamp.countEnabled || lamp.checkVisible);
    EXPECT_EQ(lamp.count, "1");
    EXPECT_EQ(lamp.check, CheckGrayed);

    const SetupPosition& lens = setup.Position(PositionOf("LENCV_U"));
    EXPECT_TRUE(lens.pictureVisible && lens.countEnabled && lens.checkVisible && lens.checkEnabled);
    EXPECT_EQ(lens.count, "8");
    EXPECT_EQ(lens.check, CheckOn);
    // Nothing of the catalogue changed, and its button numbers are the tool box's own.
    EXPECT_EQ(Entry("LENCV_U").button, -1);
}

TEST_F(Setup, EveryGroupFillsItsPositionsInCatalogueOrder) {
    Entry("REFVL_U").enabled = False;
    Entry("SHVGR_U").allowed = 7;
    Open();
    const int labelledRows[SetupGroupCount] = {6, 1, 1, 2, 1, 2};
    for (int group = 0; group < SetupGroupCount; ++group) {
        SCOPED_TRACE("group " + std::to_string(group));
        setup.GroupClick(group);
        EXPECT_EQ(setup.SetupGroup(), group);
        for (int row = 0; row < SetupRowCount; ++row)
            EXPECT_EQ(setup.RowLabelVisible(row), row < labelledRows[group]);
        const std::vector<int16_t> rows = UpRowsOf(group);
        ASSERT_LE(rows.size(), static_cast<size_t>(SetupPositionCount));
        for (int p = 0; p < SetupPositionCount; ++p) {
            const SetupPosition& shown = setup.Position(p);
            if (static_cast<size_t>(p) >= rows.size()) {
                EXPECT_FALSE(shown.pictureVisible || shown.countVisible || shown.checkVisible);
                EXPECT_EQ(shown.check, CheckGrayed);
                EXPECT_EQ(shown.count, "");
                continue;
            }
            const ToolboxObjectRow& row = ToolboxObjectTable[static_cast<size_t>(rows[p])];
            EXPECT_EQ(setup.WorkTable()[static_cast<size_t>(rows[p])].button, p);
            EXPECT_EQ(shown.code, UpperCase(row.stem).substr(0, 5));
            if (group == 5 && (p == 0 || p == 8))
                continue;
            EXPECT_EQ(shown.count, std::to_string(row.allowed)) << row.stem;
            EXPECT_EQ(shown.check, IsTrue(row.enabled) ? CheckOn : CheckOff) << row.stem;
            EXPECT_EQ(shown.countEnabled, IsTrue(row.enabled)) << row.stem;
        }
    }
    // Only the group on show holds positions in the working copy.
    for (const ToolboxObjectRow& row : setup.WorkTable())
        EXPECT_TRUE(row.group == 5 || row.button == -1) << row.stem;
    setup.GroupClick(4);
    EXPECT_EQ(setup.Position(PositionOf("SHVGR_U")).count, "7");
    setup.GroupClick(1);
    EXPECT_EQ(setup.Position(PositionOf("REFVL_U")).check, CheckOff);
    EXPECT_FALSE(setup.Position(PositionOf("REFVL_U")).countEnabled);
}

TEST_F(Setup, EachLimitAcceptsItsValueAndRefusesOneMore) {
    Open();
    struct Case {
        const char* stem;
        int limit;
        const char* line;
    };
    const Case cases[] = {
        {"REFHB_U", 20, "Only 20 of this Reflector are allowed."},
        {"MXVYR_U", 10, "Only 10 of this Filter/Mixer are allowed."},
        {"KEYGR_U", 32, "Only 32 of this Trigger are allowed."},
        {"SQOR__U", 32, "Only 32 of this Trigger are allowed."},
        {"APPLE_U", 16, "Only 16 of this Trigger are allowed."},
        {"PUZM__U", 16, "Only 16 of this Trigger are allowed."},
        {"SHVOR_U", 32, "Only 32 of this Shutterr are allowed."},
        {"DETWH_U", 4, "Only 4 of this Detector are allowed."},
        {"LENCV_U", 8, "Only 8 of this Lens are allowed."},
        {"SPLTB_U", 4, "Only 4 of this Splitter are allowed."},
        {"SPLGL_U", 4, "Only 4 of this Color Splitter are allowed."},
    };
    const char* updated[SetupGroupCount] = {
        "Barrer/Walls Updated.", "Reflectors Updated.", "Filters Updated.",
        "Triggers Updated.",     "Shutters Updated.",   "Miscellanious items Updated."};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        const int group = Entry(c.stem).group;
        setup.GroupClick(group);
        const int p = PositionOf(c.stem);
        EXPECT_EQ(TBSetupLogic::LimitOf(group, p)->limit, c.limit);

        Type(c.stem, std::to_string(c.limit));
        Accept();
        EXPECT_EQ(LastBox(), updated[group]);
        EXPECT_EQ(LastIcon(), platform::MsgInformation);
        EXPECT_EQ(Work(c.stem).allowed, c.limit);

        // One more is refused, and nothing of the group is stored, not even what passed.
        const int other = p == 0 || (group == 5 && p == 1) ? p + 1 : p - 1;
        const int16_t otherRow = UpRowsOf(group)[static_cast<size_t>(other)];
        setup.CountEdited(other, "1");
        Type(c.stem, std::to_string(c.limit + 1));
        Accept();
        EXPECT_EQ(LastBox(), std::string("INVALID NUMBER OF OBJECTS!\r\r") + c.line);
        EXPECT_EQ(LastIcon(), platform::MsgExclamation);
        EXPECT_EQ(setup.Position(p).count, std::to_string(c.limit));
        EXPECT_TRUE(setup.Position(p).countEnabled);
        EXPECT_EQ(setup.Focus(), p);
        EXPECT_EQ(Work(c.stem).allowed, c.limit);
        EXPECT_EQ(setup.WorkTable()[static_cast<size_t>(otherRow)].allowed,
                  ToolboxObjectTable[static_cast<size_t>(otherRow)].allowed);
    }
    EXPECT_EQ(platform.Beeps(), 2 * static_cast<int>(std::size(cases)));
}

TEST_F(Setup, TheFirstFailingPositionIsTheOneReported) {
    // A barrier count from a puzzle file is past anything that can be typed.
    Entry("BACC__U").allowed = 150;
    Entry("PHVR__U").allowed = 120;
    Open();
    setup.GroupClick(0);
    EXPECT_EQ(setup.Position(PositionOf("BACC__U")).count, "150");
    Accept();
    EXPECT_EQ(LastBox(), "INVALID NUMBER OF OBJECTS!\r\rOnly 99 Barrer/Walls are allowed.");
    EXPECT_EQ(setup.Focus(), PositionOf("BACC__U"));
    EXPECT_EQ(setup.Position(PositionOf("BACC__U")).count, "99");
    EXPECT_EQ(setup.Position(PositionOf("PHVR__U")).count, "120");
    Accept();
    EXPECT_EQ(setup.Focus(), PositionOf("PHVR__U"));
    Accept();
    EXPECT_EQ(LastBox(), "Barrer/Walls Updated.");
    EXPECT_EQ(setup.Focus(), -1);
    EXPECT_EQ(Work("BACC__U").allowed, 99);

    // In the trigger group the keys and squares allow 32, the bonus objects 16.
    setup.GroupClick(3);
    for (int p = 0; p < 12; ++p)
        setup.CountEdited(p, "32");
    Accept();
    EXPECT_EQ(setup.Focus(), 0);
    for (int p : {0, 1, 2, 3, 7, 8})
        setup.CountEdited(p, "16");
    Accept();
    EXPECT_EQ(LastBox(), "Triggers Updated.");
    for (const char* stem : {"KEYBN_U", "KEYOR_U", "SQBN__U", "SQOR__U"})
        EXPECT_EQ(Work(stem).allowed, 32) << stem;
    for (const char* stem : {"APPLE_U", "HRTRD_U", "MINER_U", "PUZM__U"})
        EXPECT_EQ(Work(stem).allowed, 16) << stem;
}

TEST_F(Setup, CountsAreReadAsNumbersWhenAcceptedOrLeft) {
    Open();
    setup.GroupClick(1);
    const int p = PositionOf("REFLU_U");
    struct Case {
        const char* typed;
        int16_t stored;  // -99: refused
    };
    const Case cases[] = {{"-1", -1}, {"0", 0}, {"12", 12}, {"99", -99},
                          {"x", 0},   {"", 0},  {" 7", 7},  {".5", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        setup.CountEdited(p, "5");
        setup.CountLeft(p);
        ASSERT_EQ(Work("REFLU_U").allowed, 5);
        // Leaving the box stores the number only within the limit.
        setup.CountEdited(p, c.typed);
        setup.CountLeft(p);
        EXPECT_EQ(Work("REFLU_U").allowed, c.stored == -99 ? 5 : c.stored);
        Accept();
        if (c.stored == -99) {
            EXPECT_EQ(setup.Position(p).count, "20");
            EXPECT_EQ(Work("REFLU_U").allowed, 5);
        } else {
            EXPECT_EQ(LastBox(), "Reflectors Updated.");
            EXPECT_EQ(Work("REFLU_U").allowed, c.stored);
        }
    }
    // A count box left unchecked is still tested; when it passes the object goes, its count stays.
    setup.CountEdited(p, "3");
    Accept();
    setup.CheckClick(p);
    EXPECT_EQ(Work("REFLU_U").enabled, False);
    EXPECT_EQ(Work("REFLU_U").shown, True);
    setup.CountEdited(p, "9");
    Accept();
    EXPECT_EQ(Work("REFLU_U").allowed, 3);
    EXPECT_EQ(Work("REFLU_U").shown, False);
    EXPECT_FALSE(setup.Position(p).countEnabled);
    // A disabled count box takes neither typing nor a leave.
    setup.CountEdited(p, "4");
    setup.CountLeft(p);
    EXPECT_EQ(setup.Position(p).count, "9");
    EXPECT_EQ(Work("REFLU_U").allowed, 3);
}

TEST_F(Setup, TypingStopsAtTwoCharactersButALongerCountShowsWhole) {
    Entry("BAL___U").allowed = 150;
    Open();
    setup.GroupClick(0);
    const int p = PositionOf("BAL___U");
    EXPECT_EQ(setup.Position(p).count, "150");
    for (const char* typed : {"1500", "15", "153"})
        setup.CountEdited(p, typed);
    EXPECT_EQ(setup.Position(p).count, "15");
}

TEST_F(Setup, CheckBoxesToggleAndTheGrayedStateIsNeverTheUsers) {
    Open();
    setup.GroupClick(4);
    const int p = PositionOf("SHHGR_U");
    setup.CheckClick(p);
    EXPECT_EQ(setup.Position(p).check, CheckOff);
    EXPECT_EQ(Work("SHHGR_U").enabled, False);
    setup.CheckClick(p);
    EXPECT_EQ(setup.Position(p).check, CheckOn);
    EXPECT_EQ(Work("SHHGR_U").enabled, True);
    // An empty position and the lamp's hidden box take no clicks.
    setup.CheckClick(40);
    EXPECT_EQ(setup.Position(40).check, CheckGrayed);
    setup.GroupClick(5);
    setup.CheckClick(8);
    EXPECT_EQ(setup.Position(8).check, CheckGrayed);
    EXPECT_EQ(Work("LAMP__U").enabled, True);

    // Coming back to a group shows its check-box changes and the counts it stored.
    setup.GroupClick(4);
    setup.CheckClick(p);
    setup.CountEdited(PositionOf("SHVBN_U"), "6");
    setup.CountLeft(PositionOf("SHVBN_U"));
    setup.CountEdited(PositionOf("SHHBN_U"), "5");
    setup.GroupClick(2);
    setup.GroupClick(4);
    EXPECT_EQ(setup.Position(p).check, CheckOff);
    EXPECT_EQ(setup.Position(PositionOf("SHVBN_U")).count, "6");
    EXPECT_EQ(setup.Position(PositionOf("SHHBN_U")).count, "32");
}

TEST_F(Setup, DisableAllThenAcceptKeepsTheBlankAndTheLampPickable) {
    Open();
    setup.DisableAllClick();
    for (int p = 0; p < SetupPositionCount; ++p)
        EXPECT_EQ(setup.Position(p).check, p == 0 || p == 8 ? CheckOn : CheckOff) << p;
    // Only the boxes changed until the accept.
    EXPECT_EQ(Work("DETRD_U").enabled, True);
    EXPECT_TRUE(setup.Position(PositionOf("DETRD_U")).countEnabled);
    Accept();
    EXPECT_EQ(Work("BLANK_U").allowed, -1);
    EXPECT_EQ(Work("LAMP__U").allowed, 1);
    for (const char* stem : {"BLANK_U", "LAMP__U"})
        EXPECT_TRUE(IsTrue(Work(stem).enabled) && IsTrue(Work(stem).shown)) << stem;
    for (const char* stem : {"DETRD_U", "LENCC_U", "SPLGR_U"}) {
        EXPECT_FALSE(IsTrue(Work(stem).enabled) || IsTrue(Work(stem).shown)) << stem;
        EXPECT_FALSE(setup.Position(PositionOf(stem)).countEnabled) << stem;
    }
    EXPECT_EQ(Work("DETRD_U").allowed, 4);
    platform.ExpectBox(Title);
    setup.UpdateClick();

    // The player's tool box still offers the blank and nothing else of the group.
    ToolBoxLogic box{grid};
    box.FormLoad();
    box.mode = "GM";
    box.GroupClick(5);
    int shown = 0;
    for (int k = 0; k < ToolButtonCount; ++k)
        shown += box.Button(k).visible ? 1 : 0;
    EXPECT_EQ(shown, 1);
    box.ToolClick(Entry("BLANK_U").button);
    EXPECT_EQ(SelectedTool, RowOf("BLANK_U"));

    // A reset keeps the boxes as they stand, so the next accept does the same.
    setup.ResetClick();
    EXPECT_EQ(setup.Position(0).check, CheckOn);
    EXPECT_EQ(setup.Position(8).check, CheckOn);
    EXPECT_FALSE(setup.Position(8).checkVisible);
    EXPECT_EQ(setup.Position(PositionOf("DETRD_U")).check, CheckOn);
    EXPECT_TRUE(IsTrue(Entry("DETRD_U").enabled));
}

TEST_F(Setup, UpdateCopiesTheWorkingCopyAndCountsTheBoardAgain) {
    // Board codes, two of them differing from the tool codes, one an older splitter code.
    const auto place = [](int16_t cell, const std::string& code) {
        BoardTable[static_cast<size_t>(cell)].pictureName = code + "_______________00.BMP";
    };
    place(3, "LAMP_");
    place(10, "REFLU");
    place(11, "REFLU");
    place(40, "DIAM_");
    place(41, "DETYE");
    place(42, "SPLTL");
    for (ToolboxObjectRow& row : ToolboxObjectTable)
        row.used = 9;
    const auto before = ToolboxObjectTable;
    Open();
    platform.ExpectBox(Title);
    setup.UpdateClick();
    EXPECT_EQ(LastBox(), "TOOLBOX UPDATED");
    EXPECT_EQ(LastIcon(), platform::MsgInformation);
    EXPECT_TRUE(setup.Visible());
    for (size_t i = 0; i < ToolboxObjectTable.size(); ++i) {
        const ToolboxObjectRow& row = ToolboxObjectTable[i];
        EXPECT_EQ(row.button, -1);
        EXPECT_EQ(
            row.stem + std::to_string(row.allowed) + std::to_string(row.enabled),
            before[i].stem + std::to_string(before[i].allowed) + std::to_string(before[i].enabled));
    }
    EXPECT_EQ(Entry("LAMP__U").used, 1);
    EXPECT_EQ(Entry("REFLU_U").used, 2);
    EXPECT_EQ(Entry("DIAY__U").used, 1);
    EXPECT_EQ(Entry("DETYL_U").used, 1);
    EXPECT_EQ(Entry("SPLTF_U").used, 1);
    EXPECT_EQ(Entry("BLANK_U").used, 0);
    EXPECT_EQ(Entry("REFLU_D").used, 0);
    EXPECT_EQ(Entry("REFHT_U").used, 0);

    // Fewer reflectors allowed than placed: none left, and the box says so.
    setup.GroupClick(1);
    Type("REFLU_U", "1");
    Accept();
    platform.ExpectBox(Title);
    setup.UpdateClick();
    EXPECT_EQ(Entry("REFLU_U").allowed, 1);
    EXPECT_EQ(Entry("REFLU_U").used, 2);

    // A reset brings the defaults back at once, the board still counted.
    Entry("LENCC_U").enabled = False;
    setup.ResetClick();
    EXPECT_EQ(Entry("REFLU_U").allowed, 20);
    EXPECT_EQ(Entry("REFLU_U").used, 2);
    EXPECT_EQ(Work("REFLU_U").used, 2);
    EXPECT_EQ(Entry("LENCC_U").enabled, True);
    EXPECT_EQ(setup.SetupGroup(), 1);
    EXPECT_EQ(setup.Position(PositionOf("REFLU_U")).count, "20");
    EXPECT_EQ(platform.Boxes().size(), 3u);
    // The down rows came back with the index, untouched by the set-up.
    EXPECT_EQ(Entry("REFLU_D").stem, before[static_cast<size_t>(RowOf("REFLU_D"))].stem);
}

TEST_F(Setup, APictureThatCantBeHadLeavesItsCodeAndOneMessage) {
    ImagePath = dir.Path() + "NOWHERE/";
    platform.ExpectBox(Title);
    Open();
    EXPECT_EQ(platform.Boxes().size(), 1u);
    EXPECT_EQ(platform.Boxes()[0].text.substr(0, 21), "ERROR: GETTING IMAGE!");
    const SetupPosition& detector = setup.Position(1);
    EXPECT_EQ(detector.picture, "");
    EXPECT_EQ(detector.code, "DETWH");
    EXPECT_TRUE(detector.pictureVisible && detector.countEnabled);
    // The window's own failures add nothing more.
    setup.PictureFailed();
    setup.GroupClick(3);
    Type("KEYBN_U", "5");
    Accept();
    EXPECT_EQ(Work("KEYBN_U").allowed, 5);
    EXPECT_EQ(platform.Boxes().size(), 2u);
}

}  // namespace
