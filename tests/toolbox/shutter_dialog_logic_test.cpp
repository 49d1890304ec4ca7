// The shutter-link dialog: which shutters it lists, the numbers it hands out,
// linking, and the ways it gives up.
#include "toolbox/shutter_dialog_logic.h"

#include "common/text.h"
#include "toolbox_fixture.h"

using namespace quarvelt;

namespace {

constexpr const char* Title = "ADD/REMOVE KEYS OR CLOSING SQUARES";

class ShutterDialog : public toolboxtest::ShippedBoard {
  protected:
    ShutterDialogLogic dialog;

    void Show(const std::string& code, int16_t cell) {
        dialog.cellNumber = std::to_string(cell);
        dialog.trigType = code;
        dialog.Activate();
    }
    // Places the object at `cell`, linked to the first listed shutter.
    void Link(const std::string& code, int16_t cell) {
        Show(code, cell);
        dialog.LineClick(0);
        dialog.OkClick();
    }
};

TEST_F(ShutterDialog, ListsShuttersOfTheColourHorizontalFirst) {
    ShutterTable[4][1].cell = 200;  // brown vertical, slot 1
    ShutterTable[1][3].cell = 17;   // brown horizontal, slot 3
    ShutterTable[2][1].cell = 50;   // gray
    dialog.FormLoad();
    Show("KEYBN", 40);
    EXPECT_EQ(dialog.Caption(), "Shutter Trigger for Brown Key");
    ASSERT_EQ(dialog.Lines().size(), 2u);
    EXPECT_EQ(dialog.Lines()[0].text, " Brown Horiz Shutter   17         ");
    EXPECT_EQ(dialog.Lines()[0].itemData, 13);
    EXPECT_EQ(dialog.Lines()[1].text, " Brown Vert Shutter    200        ");
    EXPECT_EQ(dialog.Lines()[1].itemData, 16);
    EXPECT_EQ(dialog.KeySqrInd() + "/" + dialog.KeySqrCellInd() + "/" + dialog.CellNumInd(),
              "1/40/");
    // The longest name still leaves the cell at column 24; a removed shutter is not listed.
    ShutterTable[3][2].cell = 1234;
    EXPECT_EQ(dialog.LoadAvaiShutters("ORANGE"), 1);
    EXPECT_EQ(dialog.Lines()[0].text.substr(0, 28), " Orange Horiz Shutter  1234 ");
    ShutterTable[2][1].cell = -1;
    EXPECT_EQ(dialog.LoadAvaiShutters("GRAY"), 0);
}

TEST_F(ShutterDialog, OkWaitsForAShutterThenLinks) {
    ShutterTable[1][1].cell = 17;
    ShutterTable[4][2].cell = 200;
    Show("KEYBN", 40);
    EXPECT_FALSE(dialog.OkEnabled());
    dialog.OkClick();
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(KeyTable[1][1].cell, -1);

    dialog.LineClick(1);
    EXPECT_EQ(dialog.CellNumInd(), "200");
    EXPECT_TRUE(dialog.OkEnabled());
    dialog.OkClick();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.trigType, "KEYBN");
    EXPECT_EQ(dialog.cellNumber, "");
    EXPECT_TRUE(KeyTable[1][1].shutterCell == 200 && KeyTable[1][1].cell == 40 &&
                KeyTable[1][1].state == 0);

    // Cancel links nothing.
    Show("SQRBN", 41);
    dialog.LineClick(0);
    dialog.CancelClick();
    EXPECT_EQ(dialog.trigType + dialog.cellNumber, "CANCLE");
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(ClosingSquareTable[1][1].cell == -1 && ClosingSquareTable[1][1].shutterCell == -1);
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(ShutterDialog, NumbersAreReusedAndCountedPerKind) {
    ShutterTable[1][1].cell = 17;
    ShutterTable[2][1].cell = 50;
    Link("KEYBN", 40);
    Link("KEYBN", 41);
    EXPECT_EQ(KeyTable[1][2].cell, 41);
    // A number is free only when both of its cells are.
    KeyTable[1][3].cell = 99;
    KeyTable[1][4].shutterCell = 17;
    Show("KEYBN", 42);
    EXPECT_EQ(dialog.KeySqrInd(), "5");
    // Removing the first key frees its number.
    KeyTable[1][1].cell = KeyTable[1][1].shutterCell = -1;
    Show("KEYBN", 42);
    EXPECT_EQ(dialog.KeySqrInd(), "1");
    // Squares and other colours have numbers of their own.
    Link("SQRBN", 43);
    EXPECT_TRUE(ClosingSquareTable[1][1].cell == 43 && ClosingSquareTable[1][1].shutterCell == 17);
    Link("KEYGR", 44);
    EXPECT_TRUE(KeyTable[2][1].cell == 44 && KeyTable[2][1].shutterCell == 50);
}

TEST_F(ShutterDialog, GivesUpWithoutShutterOrFreeNumber) {
    ShutterTable[2][1].cell = 50;  // gray only
    platform.ExpectBox(Title);
    Show("KEYBN", 40);
    EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text),
              testsupport::Readable("NO SHUTTERS LISTED!\rYou MUST have a SHUTTER before\ryou "
                                    "can place a Key or Closing Square."));
    EXPECT_EQ(dialog.trigType, "CANCLE");
    EXPECT_FALSE(dialog.Visible());

    // All 32 gray key numbers taken; gray squares still have theirs.
    for (int n = 1; n <= LinkSlots; ++n)
        KeyTable[2][static_cast<size_t>(n)].cell = static_cast<int16_t>(100 + n);
    platform.ExpectBox(Title);
    Show("KEYGR", 41);
    EXPECT_EQ(platform.Boxes().back().text, "NO KEY OR SQUARE NUMBERS LEFT!");
    EXPECT_EQ(dialog.trigType, "CANCLE");
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(platform.Beeps(), 2);
    EXPECT_EQ(KeyTable[2][0].cell, 0);  // nothing linked in the unused row
    Show("SQRGR", 41);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.KeySqrInd(), "1");
}

}  // namespace
