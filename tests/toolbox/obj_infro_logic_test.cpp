// The object-information window: what it finds for each kind of object, the
// lock indicator, and refills while it stays shown.
#include "toolbox/obj_infro_logic.h"

#include "toolbox_fixture.h"

using namespace quarvelt;

namespace {

constexpr InfoFrame AllFrames[] = {InfoFrame::Trig, InfoFrame::KeySqr, InfoFrame::Shut,
                                   InfoFrame::Miss};

class ObjInfro : public toolboxtest::ShippedBoard {
  protected:
    ObjInfroLogic window;

    // Fills the window as a right click does; only `frame` may then be shown, titled `name`.
    void Show(const std::string& number, const std::string& cell, const std::string& name,
              InfoFrame frame) {
        window.trigType = number;
        window.cellNumber = cell;
        window.frameCapt = name + " ";
        window.Activate();
        for (InfoFrame each : AllFrames)
            EXPECT_EQ(window.Frame(each).visible, each == frame) << name;
        EXPECT_EQ(window.Frame(frame).title, name);
    }
};

TEST_F(ObjInfro, BonusObjectsShowTheirTrigger) {
    BonusObjTable[1][3] = {250, 47, 0};
    BonusObjTable[1][12] = {75, 48, 0};
    window.FormLoad();
    Show("1", " 47", "Diamond", InfoFrame::Trig);
    EXPECT_EQ(window.trigNum + "/" + window.trigValue + "/" + window.trigCellNum, "3/250/47");
    Show("1", "48", "Diamond", InfoFrame::Trig);
    EXPECT_EQ(window.trigNum + "/" + window.trigValue, "12/75");
    // An apple on a cell that a diamond's number names owns nothing.
    Show("2", "47", "Apple", InfoFrame::Trig);
    EXPECT_EQ(window.trigNum + "/" + window.trigValue + "/" + window.trigCellNum, "//47");
}

TEST_F(ObjInfro, KeysAndSquaresShowTheirLink) {
    KeyTable[1][2] = {130, 60, 10, 0};  // brown keys 2 and 20
    KeyTable[1][20] = {131, 61, 10, 0};
    ClosingSquareTable[2][9] = {8, 140, 62};  // gray square 9
    Show("10", "60", "Brown Key", InfoFrame::KeySqr);
    EXPECT_EQ(window.keySqrNum + "/" + window.keySqrCell + "/" + window.shutCelNum, "2/60/130");
    Show("10", "61", "Brown Key", InfoFrame::KeySqr);
    EXPECT_EQ(window.keySqrNum + "/" + window.shutCelNum, "20/131");
    Show("8", "62", "Gray Square", InfoFrame::KeySqr);
    EXPECT_EQ(window.keySqrNum + "/" + window.shutCelNum, "9/140");
    // A gray key where a brown one is listed, and a square the table doesn't know.
    Show("11", "60", "Gray Key", InfoFrame::KeySqr);
    EXPECT_EQ(window.keySqrNum + "/" + window.keySqrCell + "/" + window.shutCelNum, "/60/");
    Show("7", "63", "Brown Square", InfoFrame::KeySqr);
    EXPECT_EQ(window.keySqrNum + "/" + window.keySqrCell + "/" + window.shutCelNum, "/63/");
}

TEST_F(ObjInfro, RefillsShowOneFrameAndForgetEarlierFinds) {
    ShutterTable[5][25].cell = 70;
    Show("17", "70", "Gray Vert Shutter", InfoFrame::Shut);
    EXPECT_EQ(window.shutNum + "/" + window.shutCellNum, "25/70");
    Show("17", "71", "Gray Vert Shutter", InfoFrame::Shut);
    EXPECT_EQ(window.shutNum + "/" + window.shutCellNum, "/71");
    // The right cell under another kind's number is not this shutter.
    Show("14", "70", "Gray Horiz Shutter", InfoFrame::Shut);
    EXPECT_EQ(window.shutNum, "");
    Show("99", "72", "Lamp", InfoFrame::Miss);
    EXPECT_EQ(window.missCellNum, "72");
}

TEST_F(ObjInfro, LockIndicatorAndOk) {
    BoardTable[47].lockFlag = True;
    BoardTable[48].lockFlag = False;
    BoardTable[49].lockFlag = 5;
    Show("99", "47", "Reflector", InfoFrame::Miss);
    EXPECT_TRUE(window.lockInd == "LOCKED" && window.lockColour == 255);
    Show("99", "48", "Reflector", InfoFrame::Miss);
    EXPECT_TRUE(window.lockInd == "UNLOCKED" && window.lockColour == 32768);
    // A flag that is neither leaves the indicator as it was.
    Show("99", "49", "Reflector", InfoFrame::Miss);
    EXPECT_EQ(window.lockInd, "UNLOCKED");
    EXPECT_TRUE(window.Visible());

    window.OkClick();
    EXPECT_FALSE(window.Visible());
    EXPECT_EQ(window.missCellNum + window.lockInd + window.trigType + window.frameCapt, "");
    for (InfoFrame each : AllFrames)
        EXPECT_TRUE(!window.Frame(each).visible && window.Frame(each).title.empty());
}

}  // namespace
