// The trigger dialog: its list, new and existing objects, the checks of the
// value in their order, storing and cancelling.
#include "toolbox/set_trigg_logic.h"

#include "common/text.h"
#include "toolbox_fixture.h"

using namespace quarvelt;

namespace {

BonusObjSlot& Diamond(int number) {
    return BonusObjTable[1][static_cast<size_t>(number)];
}

// A cell that already holds a diamond, as the board editing leaves it.
void PlaceDiamond(int16_t cell) {
    BoardTable[static_cast<size_t>(cell)].pictureName = "DIAM_______________00.BMP";
}

class SetTrigg : public toolboxtest::ShippedBoard {
  protected:
    SetTriggLogic dialog;

    void Show(const std::string& code, int16_t cell) {
        dialog.cellNumber = std::to_string(cell);
        dialog.trigType = code;
        dialog.Activate();
    }
    void Store(int16_t cell, int line, const std::string& value) {
        Show("DIAM_", cell);
        dialog.LineClick(line);
        dialog.trValue = value;
        dialog.OkClick();
    }
};

TEST_F(SetTrigg, ListsTheSixteenNumbersOfTheKind) {
    BonusObjTable[2][10] = {9999, 88, 0};
    dialog.FormLoad();
    Show("APPLE", 30);
    EXPECT_EQ(dialog.Caption(), "Set Trigger for Apple");
    ASSERT_EQ(dialog.Lines().size(), 16u);
    for (int n = 1; n <= 16; ++n) {
        const ListLine& line = dialog.Lines()[static_cast<size_t>(n - 1)];
        EXPECT_EQ(TrimBlanks(line.text.substr(0, 18)), std::to_string(n));
        EXPECT_EQ(line.itemData, n == 10 ? 88 : -1);
    }
    EXPECT_EQ(dialog.Lines()[8].text, "    9             0   ");
    EXPECT_EQ(dialog.Lines()[9].text, "    10            9999");
    for (const char* other : {"KEYBN", "LAMP_", ""}) {
        Show(other, 30);
        EXPECT_TRUE(dialog.Lines().empty()) << other;
    }
}

TEST_F(SetTrigg, NewAndExistingObjects) {
    // Being placed: the cell still reads blank, so an owner match means nothing.
    Diamond(12) = {250, 47, 0};
    Show("DIAM_", 47);
    EXPECT_TRUE(dialog.Selected() == -1 && dialog.ListEnabled());
    EXPECT_EQ(dialog.TrigValInd() + dialog.trValue, "");
    EXPECT_EQ(dialog.TrgCellNum(), "00047");
    // Already on the board and owning number 12: only the value can change.
    PlaceDiamond(47);
    Show("DIAM_", 47);
    EXPECT_TRUE(dialog.Selected() == 11 && !dialog.ListEnabled());
    EXPECT_EQ(dialog.TrigValInd() + "/" + dialog.trValue, "12/250");
    // On the board without a number: as a new object.
    PlaceDiamond(148);
    Show("DIAM_", 148);
    EXPECT_TRUE(dialog.Selected() == -1 && dialog.ListEnabled());
    EXPECT_EQ(dialog.TrigValInd() + dialog.TrgCellNum(), "00148");
}

TEST_F(SetTrigg, StoresTheChosenNumberRoundedAndMovesItFromItsOwner) {
    Diamond(10) = {100, 200, -1};
    PlaceDiamond(200);
    Show("DIAM_", 47);
    dialog.LineClick(9);
    EXPECT_EQ(dialog.TrigValInd() + "/" + dialog.trValue, "10/100");
    EXPECT_TRUE(dialog.ValueEnabled());
    dialog.trValue = "12.6";
    dialog.OkClick();
    EXPECT_TRUE(Diamond(10).points == 13 && Diamond(10).cell == 47 && Diamond(10).state == 0);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.trigType + "/" + dialog.trValue, "DIAM_/0");
    EXPECT_EQ(dialog.TrigValInd() + dialog.TrgCellNum() + dialog.cellNumber, "");
    EXPECT_EQ(TrimBlanks(dialog.Lines()[9].text.substr(18)), "13");
    // The earlier owner no longer finds a number of its own.
    Show("DIAM_", 200);
    EXPECT_EQ(dialog.Selected(), -1);

    // Other accepted forms; halves go to the even neighbour.
    const std::pair<const char*, int16_t> accepted[] = {
        {"9999", 9999}, {"2.5", 2}, {" +7 ", 7}, {"1.5E1", 15}, {"9999.4", 9999}};
    for (const auto& [entry, stored] : accepted) {
        Store(48, 0, entry);
        EXPECT_EQ(Diamond(1).points, stored) << entry;
    }
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(SetTrigg, RefusesInOrderAndKeepsTheDialogOpen) {
    Diamond(3) = {40, 90, 0};
    platform.ExpectBox("TRIGGER VALUE ENTRY");
    Store(47, -1, "abc");
    EXPECT_EQ(platform.Boxes().back().text,
              "YOU HAVEN'T SELECTED A TRIGGER NUMBER!\r\rPlease Select a number from the list.");
    dialog.LineClick(2);
    const std::pair<const char*, const char*> refused[] = {
        {"", "NOT NUMERIC"},     {"abc", "NOT NUMERIC"}, {"12abc", "NOT NUMERIC"},
        {"10000", "TOO LARGE"},  {"40000", "TOO LARGE"}, {"1e9", "TOO LARGE"},
        {"9999.5", "TOO LARGE"}, {"0", "ZERO"},          {"0.5", "ZERO"},
        {"-3", "NEGATIVE"},      {"-40000", "NEGATIVE"},
    };
    for (const auto& [entry, what] : refused) {
        dialog.trValue = entry;
        platform.ExpectBox("TRIGGER VALUE ENTRY");
        dialog.OkClick();
        EXPECT_EQ(testsupport::Readable(platform.Boxes().back().text),
                  testsupport::Readable("YOUR ENTRY IS " + std::string(what) +
                                        "!\r\rPlease re-enter with a number\rbetween 1 and 9999"))
            << '"' << entry << '"';
        EXPECT_NE(platform.Boxes().back().flags & platform::MsgExclamation, 0);
        EXPECT_TRUE(dialog.Visible() && dialog.trValue == entry);
        EXPECT_TRUE(Diamond(3).points == 40 && Diamond(3).cell == 90);
    }
    EXPECT_EQ(platform.Beeps(), static_cast<int>(platform.Boxes().size()));

    dialog.CancelClick();
    EXPECT_EQ(dialog.trigType + dialog.cellNumber, "CANCLE");
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(Diamond(3).points == 40 && Diamond(3).cell == 90);
}

}  // namespace
