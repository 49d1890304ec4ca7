// The object lock list on the shipped picture set: its rows, the preview,
// locking and unlocking a selection, select all, and a board that changes
// while the window is open.
#include "toolbox/object_lock_logic.h"

#include <string>
#include <vector>

#include "common/library.h"
#include "common/vocabulary.h"
#include "toolbox/toolbox_fixture.h"

using namespace quarvelt;

namespace {

std::string Resting(const std::string& code) {
    return code + "_______________00.BMP";
}

class ObjectLockList : public toolboxtest::ShippedBoard {
  protected:
    ObjectLockLogic window;
    int redraws = 0;

    void SetUp() override {
        ShippedBoard::SetUp();
        window.changed = [this] { ++redraws; };
    }
    static void Place(int16_t cell, const std::string& code, Flag locked = False) {
        BoardTable[static_cast<size_t>(cell)].pictureName = Resting(code);
        BoardTable[static_cast<size_t>(cell)].lockFlag = locked;
    }
    std::vector<int16_t> Cells() const {
        std::vector<int16_t> cells;
        for (const ListLine& row : window.Rows())
            cells.push_back(row.itemData);
        return cells;
    }
    std::vector<std::string> States() const {
        std::vector<std::string> states;
        for (const ListLine& row : window.Rows())
            states.push_back(row.text.substr(43, 8) == "LOCKED  " ? "L" : row.text.substr(43, 8));
        return states;
    }
    std::string EmptyPreview() const { return ImagePath + EmptyPreviewName; }
};

TEST_F(ObjectLockList, RowsNameEveryObjectInCellOrder) {
    testsupport::RecordingLabel label;
    BoardRows = BoardCols = 60;
    ClearPuzzleBoard(grid, label, False);
    Place(3599, "REFLU");
    Place(0, "LAMP_", True);
    Place(61, "BABSR");  // the longest display name
    Place(70, "ZZZZZ");  // no display name
    window.Activate();
    EXPECT_TRUE(window.Visible());
    ASSERT_EQ(Cells(), (std::vector<int16_t>{0, 61, 70, 3599}));
    const std::vector<ListLine>& rows = window.Rows();
    // A blank, the name in 36 columns, the cell in 4, two blanks, the state, blanks to 54.
    EXPECT_EQ(rows[0].text,
              " Lamp" + std::string(32, ' ') + "   0" + "  LOCKED" + std::string(5, ' '));
    EXPECT_EQ(rows[1].text, " Barrer on Bottom with Short Right." + std::string(2, ' ') + "  61" +
                                "  UNLOCKED   ");
    EXPECT_EQ(rows[2].text.substr(0, 41), std::string(37, ' ') + "  70");
    EXPECT_EQ(rows[3].text.substr(37, 4), "3599");
    for (const ListLine& row : rows)
        EXPECT_EQ(row.text.size(), ObjectLockLineLength);
    EXPECT_EQ(window.CurrentRow(), -1);
    EXPECT_EQ(window.Preview(), EmptyPreview());
    EXPECT_TRUE(FileExists(window.Preview()));
}

TEST_F(ObjectLockList, EveryNameFitsItsColumns) {
    // Names longer than the 36 columns are cut, so the cell number always stands in 38 to 41.
    for (const ObjectDisplayName& entry : AllObjectDisplayNames()) {
        Place(123, std::string(entry.code));
        const std::string line = ObjectLockLine(123);
        ASSERT_EQ(line.size(), ObjectLockLineLength) << entry.code;
        const std::string name(entry.name.substr(0, 36));
        EXPECT_EQ(line.substr(1, name.size()), name) << entry.code;
        EXPECT_EQ(line.find_first_not_of(' ', 1 + name.size()), 38u) << entry.code;
        EXPECT_EQ(line.substr(37, 6), " 123  ") << entry.code;
    }
}

TEST_F(ObjectLockList, LockAndUnlockTheSelectedRows) {
    window.Activate();
    EXPECT_TRUE(window.Rows().empty());
    window.LockClick();
    window.UnLockClick();
    EXPECT_TRUE(window.Rows().empty());

    Place(16, "LAMP_");
    Place(20, "REFHT");
    Place(100, "DETWH");
    Place(224, "KEYBN");
    window.Activate();
    window.ListClick(0);
    window.ListClick(2);
    window.ListClick(3);
    window.ListClick(3);  // a second click deselects
    EXPECT_TRUE(window.Selected(0) && window.Selected(2));
    EXPECT_FALSE(window.Selected(1) || window.Selected(3));
    window.LockClick();
    EXPECT_EQ(States(), (std::vector<std::string>{"L", "UNLOCKED", "L", "UNLOCKED"}));
    EXPECT_EQ(BoardTable[16].lockFlag, True);
    EXPECT_EQ(BoardTable[100].lockFlag, True);
    EXPECT_EQ(BoardTable[20].lockFlag, False);
    // The rebuilt list has no selection and an empty preview.
    for (size_t row = 0; row < window.Rows().size(); ++row)
        EXPECT_FALSE(window.Selected(static_cast<int>(row)));
    EXPECT_EQ(window.Preview(), EmptyPreview());

    window.ListClick(2);
    window.ListClick(1);
    window.UnLockClick();
    EXPECT_EQ(States(), (std::vector<std::string>{"L", "UNLOCKED", "UNLOCKED", "UNLOCKED"}));

    // Select ALL then LOCK locks everything, the lamp included.
    window.SelAllClick();
    window.LockClick();
    EXPECT_EQ(States(), (std::vector<std::string>{"L", "L", "L", "L"}));
}

TEST_F(ObjectLockList, APreviewFollowsClicksUntilSelectAll) {
    Place(5, "LENCC");
    Place(6, "SPLTB");
    const std::string lens = ImagePath + Resting("LENCC");
    ASSERT_FALSE(FileExists(lens));
    window.Activate();
    // A click that selects shows the object, extracted from the archives first.
    window.ListClick(0);
    EXPECT_EQ(window.Preview(), lens);
    EXPECT_TRUE(FileExists(lens));
    EXPECT_EQ(window.PreviewCell(), 5);
    EXPECT_EQ(window.CurrentRow(), 0);
    window.ListClick(0);
    EXPECT_EQ(window.Preview(), EmptyPreview());

    window.ListClick(1);
    window.SelAllClick();
    EXPECT_TRUE(window.PreviewOff());
    EXPECT_TRUE(window.Selected(0) && window.Selected(1));
    EXPECT_EQ(window.Preview(), EmptyPreview());
    window.ListClick(1);
    window.ListClick(0);
    window.ListClick(0);
    EXPECT_FALSE(window.Selected(1));
    EXPECT_EQ(window.Preview(), EmptyPreview());

    window.UnSelAllClick();
    EXPECT_FALSE(window.PreviewOff() || window.Selected(0));
    window.ListClick(1);
    EXPECT_EQ(window.Preview(), ImagePath + Resting("SPLTB"));

    // An activation lets clicks preview again.
    window.SelAllClick();
    window.Activate();
    EXPECT_FALSE(window.PreviewOff());
    window.ListClick(0);
    EXPECT_EQ(window.Preview(), lens);

    // One cell chosen by the program: only its row selected, the preview held.
    window.SelectObject(6);
    EXPECT_FALSE(window.Selected(0));
    EXPECT_TRUE(window.Selected(1));
    EXPECT_EQ(window.Preview(), ImagePath + Resting("SPLTB"));
    window.ListClick(0);
    EXPECT_EQ(window.Preview(), ImagePath + Resting("SPLTB"));

    window.ExitClick();
    EXPECT_FALSE(window.Visible());
    EXPECT_GT(redraws, 0);
}

TEST_F(ObjectLockList, APictureThatCantBeHadLeavesTheEmptyPreview) {
    Place(7, "REFLU");
    BoardTable[8].pictureName = "../../REFLU.BMP";
    BoardTable[9].pictureName = "QQQQQ_______________00.BMP";
    window.Activate();
    ASSERT_EQ(window.Rows().size(), 3u);
    for (int row : {1, 2}) {
        window.ListClick(row);
        EXPECT_EQ(window.Preview(), EmptyPreview()) << row;
        window.ListClick(row);
    }
    EXPECT_FALSE(FileExists(ImagePath + "QQQQQ_______________00.BMP"));
}

TEST_F(ObjectLockList, ABoardChangedWhileTheWindowIsOpenIsNeverLockedBlindly) {
    testsupport::RecordingLabel label;
    BoardRows = BoardCols = 20;
    ClearPuzzleBoard(grid, label, False);
    Place(30, "REFVR");
    Place(350, "DETGN");
    window.Activate();
    ASSERT_EQ(Cells(), (std::vector<int16_t>{30, 350}));

    // Cleared to the same size: the old rows name empty cells, which stay unlocked.
    ClearPuzzleBoard(grid, label, False);
    window.SelAllClick();
    window.LockClick();
    EXPECT_EQ(BoardTable[30].lockFlag, False);
    EXPECT_EQ(BoardTable[350].lockFlag, False);
    EXPECT_TRUE(window.Rows().empty());

    // Cleared to a smaller board: a row beyond its cells is skipped.
    Place(30, "REFVR");
    Place(350, "DETGN");
    window.Activate();
    BoardRows = BoardCols = 10;
    ClearPuzzleBoard(grid, label, False);
    Place(30, "REFVR");
    window.SelAllClick();
    window.LockClick();
    EXPECT_EQ(BoardTable.size(), 100u);
    EXPECT_EQ(BoardTable[30].lockFlag, True);
    EXPECT_EQ(Cells(), (std::vector<int16_t>{30}));
}

}  // namespace
