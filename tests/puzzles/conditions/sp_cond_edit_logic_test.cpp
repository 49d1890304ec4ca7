// The special-condition editor without a screen: a catalogue in a folder of
// the test's own, every message box expected.
#include "puzzles/sp_cond_edit_logic.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "common/text.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

using Kind = SpCondChoiceKind;

const char* const SetupTitle = "SETUP   SPECIAL   CONDITIONS";
const char* const AddTitle = "ADD  NEW  SPECIAL  CONDITION";
const char* const UpdateTitle = "UPDATE  SPECIAL  CONDITIONS";
const char* const RemovingTitle = "REMOVING  A  SPECIAL  CONDITION";
const int Exclamation = platform::MsgOkOnly | platform::MsgExclamation;

// Limits the size of files this process may write for the life of the scope,
// so that replacing the catalogue fails even for the superuser.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit old_{};
    void (*previous_)(int) = SIG_DFL;
};

SpCondCommands Buttons(bool acc, bool add, bool upDate, bool rem) {
    return {acc, add, upDate, rem, true, true};
}

class SpCondEditor : public ::testing::Test {
  protected:
    testsupport::TempFolder dir;
    testsupport::ScriptedPlatform platform;
    std::optional<SpCondEditLogic> d;

    void SetUp() override {
        ResetGlobals();
        AppPath = dir.Path();
    }
    void TearDown() override { ResetGlobals(); }

    std::string Catalogue() const { return dir.Path() + "QUARVELT.CSC"; }
    void WriteCatalogue(const std::vector<SpecialCondRecord>& records) {
        ASSERT_FALSE(WriteSpecialCondFile(Catalogue(), records));
    }
    SpecialCondRecord Record(size_t number) const {
        std::vector<SpecialCondRecord> records;
        EXPECT_FALSE(ReadSpecialCondFile(Catalogue(), records));
        return number <= records.size() ? records[number - 1] : SpecialCondRecord{};
    }
    std::string Bytes() const {
        std::string bytes;
        platform::ReadWholeFile(Catalogue(), bytes);
        return bytes;
    }
    // A fresh editor, as the main window opens each one.
    void Open() {
        d.emplace(Catalogue());
        d->Activate();
    }
    void Pick(const std::string& desc) {
        for (size_t i = 0; i < d->Lines().size(); ++i)
            if (TrimBlanks(d->Lines()[i].text) == desc)
                return d->ListClick(static_cast<int>(i));
        ADD_FAILURE() << "not listed: " << desc;
    }
    void Choose(int photon, Kind kind, const std::string& entry) {
        const auto& entries = d->Photon(photon).Choice(kind).entries;
        for (size_t k = 0; k < entries.size(); ++k)
            if (entries[k] == entry)
                return d->ChoiceClick(photon, kind, static_cast<int>(k));
        ADD_FAILURE() << "no entry " << entry;
    }
    void Accept() {
        platform.ExpectBox(SetupTitle);
        d->AccClick();
    }
    void Command(void (SpCondEditLogic::*command)(), const char* title) {
        platform.ExpectBox(title);
        (*d.*command)();
    }
    // Composes and accepts a condition asking photon A for `color`, and adds it.
    void AddCustom(const std::string& desc, const std::string& color) {
        d->ClrClick();
        d->spConText = desc;
        Choose(0, Kind::Color, color);
        Accept();
        Command(&SpCondEditLogic::AddClick, AddTitle);
    }
    std::string LastBox() const {
        return platform.Boxes().empty() ? std::string() : platform.Boxes().back().text;
    }
};

TEST_F(SpCondEditor, OpensOnTheCatalogueWithNothingPicked) {
    WriteCatalogue(DefaultSpecialCondRecords());
    Open();
    ASSERT_EQ(d->Lines().size(), 10u);
    const auto defaults = DefaultSpecialCondRecords();
    for (size_t i = 0; i < 10; ++i) {
        // One blank, then the whole description field as stored.
        EXPECT_EQ(d->Lines()[i].text, " " + defaults[i].condDesc);
        EXPECT_EQ(d->Lines()[i].itemData, static_cast<int16_t>(i + 1));
    }
    EXPECT_EQ(d->tallyAmt, "0000");
    EXPECT_EQ(d->EditCondCode(), StartSpecialCondCode());
    for (int i = 0; i < CondPhotonCount; ++i) {
        const SpCondPhoton& photon = d->Photon(i);
        EXPECT_EQ(photon.checked, i == 0);
        EXPECT_EQ(photon.color.entries, ColorEntries(i > 0));
        EXPECT_EQ(photon.det.entries, DetEntries(i > 0));
        EXPECT_TRUE(photon.delay.entries.empty());
        for (Kind kind : {Kind::Color, Kind::Size, Kind::Det, Kind::Delay})
            EXPECT_EQ(photon.Choice(kind).picked, -1);
    }
    d->PhotonNumClick(0, false);
    EXPECT_TRUE(d->Photon(0).checked) << "photon A always has a block";
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(SpCondEditor, EachFixedConditionAcceptsToItsStoredCodeByteForByte) {
    WriteCatalogue(DefaultSpecialCondRecords());
    const auto defaults = DefaultSpecialCondRecords();
    Open();
    // Photon C checked beforehand must not leak into conditions that leave it blank.
    d->PhotonNumClick(2, true);
    for (size_t r = 0; r < 10; ++r) {
        d->ListClick(static_cast<int>(r));
        EXPECT_EQ(d->CondNum(), defaults[r].condNo);
        Accept();
        EXPECT_EQ(SpecialCond, defaults[r].condCode.substr(0, 33)) << r;
        EXPECT_EQ(SpecialCondText, TrimBlanks(defaults[r].condDesc));
        EXPECT_EQ(LastBox(), "SPECIAL CONDITIONS SET");
        for (int i = 0; i < CondPhotonCount; ++i)
            EXPECT_EQ(d->Photon(i).delay.picked, -1) << "the time lists never show a pick";
    }
    EXPECT_EQ(platform.Beeps(), 0);

    // EXIT keeps the puzzle's condition and forgets the editor's own.
    d->ExitClick();
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(SpecialCond, defaults[9].condCode.substr(0, 33));
    EXPECT_EQ(d->EditCondNo(), "00");
    EXPECT_EQ(d->EditCondCode(), StartSpecialCondCode());
    EXPECT_EQ(d->EditCondDesc(), "");
}

TEST_F(SpCondEditor, ComposedConditionsCarryEveryChoiceOfEachPhoton) {
    Open();
    d->spConText = "  Composed.  ";
    Accept();
    EXPECT_EQ(SpecialCond, "00P1____Tn________________Ta0000~") << "nothing picked";
    d->PhotonNumClick(1, true);
    d->PhotonNumClick(2, true);
    for (size_t step = 0; step < 9; ++step) {
        std::string expected = "00";
        for (int i = 0; i < CondPhotonCount; ++i) {
            const SpCondPhoton& photon = d->Photon(i);
            // Each photon runs through its lists from a different start.
            const auto at = [&](const SpCondChoice& c) {
                return static_cast<int>((step + static_cast<size_t>(i) * 3) % c.entries.size());
            };
            d->ChoiceClick(i, Kind::Color, at(photon.color));
            d->ChoiceClick(i, Kind::Size, at(photon.size));
            d->ChoiceClick(i, Kind::Det, at(photon.det));
            expected += "P" + std::to_string(i + 1) + PhotonColorCode(photon.color.Text()) +
                        PhotonSizeCode(photon.size.Text()) + DetectorCode(photon.det.Text()) + "Tn";
        }
        d->tallyAmt = std::to_string(step * 1111);
        expected += "Ta" + std::string(step == 0 ? "000" : "") + std::to_string(step * 1111) + "~";
        Accept();
        EXPECT_EQ(SpecialCond, expected);
        EXPECT_EQ(SpecialCondText, "Composed.");
    }

    // Photon B asking nothing in every list still has its block; an unchecked
    // photon C has none, whatever its lists show.
    for (Kind kind : {Kind::Color, Kind::Size, Kind::Det})
        Choose(1, kind, "NONE");
    d->PhotonNumClick(2, false);
    Accept();
    EXPECT_EQ(SpecialCond.substr(10, 16), "P2____Tn________");
}

TEST_F(SpCondEditor, BadDescriptionsAndTalliesChangeNothing) {
    Open();
    d->spConText = "Kept";
    d->tallyAmt = "2000";
    Accept();
    const std::string kept = SpecialCond;
    const std::string noText =
        "ERROR:  NO SPECIAL CONDITION TEXT!\r\rYou MUST supply a discription for\ryour Custom "
        "Special Condition.";
    const std::string badTally =
        "ERROR:  INVALID POINTS TALLY!\r\rEnter a number between 0 and 9999.";
    Choose(0, Kind::Color, "Red");
    for (auto [desc, tally] :
         {std::pair{"New", "10000"}, std::pair{"New", "-5"}, std::pair{"New", "abc"},
          std::pair{"New", ""}, std::pair{"   ", "0"}, std::pair{"", "abc"}}) {
        const bool noDesc = TrimBlanks(desc).empty();
        d->spConText = desc;
        d->tallyAmt = tally;
        platform.ExpectBox(SetupTitle);
        d->AccClick();
        EXPECT_EQ(LastBox(), noDesc ? noText : badTally) << tally;
        EXPECT_EQ(d->Focus(), noDesc ? SpCondFocus::Text : SpCondFocus::Tally);
        EXPECT_EQ(SpecialCond, kept) << tally;
        EXPECT_EQ(SpecialCondText, "Kept");
        EXPECT_EQ(d->EditCondDesc(), "Kept");
        EXPECT_EQ(d->Commands(), Buttons(true, true, false, false));
    }
    EXPECT_EQ(platform.Beeps(), 6);
    EXPECT_EQ(platform.Boxes().back().flags, Exclamation);

    // Fractions round, halves to the even neighbour; the focus request is spent.
    for (auto [tally, field] : {std::pair{"12.5", "Ta0012"}, std::pair{"13.5", "Ta0014"},
                                std::pair{"9999", "Ta9999"}, std::pair{"0", "Ta0000"}}) {
        d->tallyAmt = tally;
        d->spConText = "New";
        Accept();
        EXPECT_EQ(SpecialCond.substr(26), std::string(field) + "~");
        EXPECT_EQ(d->Focus(), SpCondFocus::None);
    }
}

TEST_F(SpCondEditor, AddedConditionsFillTheCustomRecordsUntilTheCatalogueIsFull) {
    WriteCatalogue(DefaultSpecialCondRecords());
    Open();
    AddCustom("First of mine.", "Blue");
    EXPECT_EQ(LastBox(), "NEW SPECIAL CONDITION ADDED.");
    EXPECT_EQ(d->CondNum(), "11");
    // The puzzle's condition stays unnumbered until the new line is picked and accepted.
    EXPECT_EQ(SpecialCond, "00P1B___Tn________________Ta0000~");
    EXPECT_EQ(Record(11).condNo, "11");
    EXPECT_EQ(Record(11).condCode, "11P1B___Tn________________Ta0000~ ");
    EXPECT_EQ(TrimBlanks(Record(11).condDesc), "First of mine.");
    ASSERT_EQ(d->Lines().size(), 11u);
    EXPECT_EQ(d->Lines()[10].itemData, 11);
    Pick("First of mine.");
    Accept();
    EXPECT_EQ(SpecialCond, "11P1B___Tn________________Ta0000~");

    for (int r = 12; r <= 99; ++r)
        AddCustom("Mine " + std::to_string(r), "Red");
    EXPECT_EQ(d->CondNum(), "99");
    EXPECT_EQ(d->Lines().size(), 99u);
    EXPECT_EQ(Record(99).condCode.substr(0, 4), "99P1");

    const std::string before = Bytes();
    AddCustom("One too many", "Red");
    EXPECT_EQ(LastBox(),
              "ERROR:  SPECIAL CONDITION LIST IS FULL!\r\rAll locations for Custom Special "
              "Conditions\rare full. Try deleting one first.");
    EXPECT_EQ(d->CondNum(), "");
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(platform.Beeps(), 1);
}

TEST_F(SpCondEditor, CustomConditionsAreUpdatedAndRemovedButNeverTheFixedOnes) {
    WriteCatalogue(DefaultSpecialCondRecords());
    Open();
    AddCustom("Mine.", "Cyan");
    Pick("Mine.");
    EXPECT_EQ(d->Photon(0).color.Text(), "Cyan");
    d->spConText = "Mine, greener.";
    Choose(0, Kind::Color, "Green");
    d->PhotonNumClick(1, true);
    Choose(1, Kind::Det, "Yellow Det.");
    d->tallyAmt = "150";
    Accept();
    EXPECT_EQ(SpecialCond, "11P1G___TnP2__DyTn________Ta0150~");
    Command(&SpCondEditLogic::UpDateClick, UpdateTitle);
    EXPECT_EQ(LastBox(), "SPECIAL CONDITION UPDATED.");
    EXPECT_EQ(Record(11).condCode, SpecialCond + " ");
    EXPECT_EQ(TrimBlanks(Record(11).condDesc), "Mine, greener.");
    EXPECT_EQ(TrimBlanks(d->Lines().back().text), "Mine, greener.");

    Command(&SpCondEditLogic::RemClick, RemovingTitle);
    EXPECT_EQ(LastBox(), "SPECIAL CONDITION REMOVED!");
    EXPECT_EQ(Record(11), EmptySpecialCondRecord(11));
    EXPECT_EQ(d->Lines().size(), 10u);
    // A removal also takes the puzzle's condition away.
    EXPECT_EQ(SpecialCond, StartSpecialCondCode());
    EXPECT_EQ(SpecialCondText, "");
    EXPECT_EQ(platform.Beeps(), 0);

    // Refusals: a fixed condition, no condition at all, and one removed meanwhile.
    AddCustom("Going away.", "Red");
    Pick("Going away.");
    Accept();
    WriteCatalogue(DefaultSpecialCondRecords());
    const std::string before = Bytes();
    Command(&SpCondEditLogic::UpDateClick, UpdateTitle);
    EXPECT_EQ(LastBox(), "ERROR: CAN'T UPDATE NONEXISTENT CONDITION!");
    Command(&SpCondEditLogic::RemClick, "REMOVE  SPECIAL  CONDITION");
    EXPECT_EQ(LastBox(), "ERROR: CAN'T REMOVE NONEXISTENT CONDITION!");
    for (bool fixed : {true, false}) {
        if (fixed)
            Pick("Photon A MUST be Larger than Photon B.");
        else
            d->ClrClick();
        Command(&SpCondEditLogic::UpDateClick, UpdateTitle);
        EXPECT_EQ(LastBox(), "ILLEGAL SELECTION!\r\rYou can't update the first 10 conditions.");
        Command(&SpCondEditLogic::RemClick, RemovingTitle);
        EXPECT_EQ(LastBox(), "ILLEGAL SELECTION!\r\rYou can't delete the first 10 conditions.");
    }
    EXPECT_EQ(platform.Beeps(), 6);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(SpCondEditor, CommandStatesFollowTheTable) {
    WriteCatalogue(DefaultSpecialCondRecords());
    Open();
    // The buttons, then whether the frames and the two boxes are open.
    const auto expect = [this](const char* situation, SpCondCommands buttons, bool open) {
        EXPECT_EQ(d->Commands(), buttons) << situation;
        for (int i = 0; i < CondPhotonCount; ++i)
            EXPECT_EQ(d->FrameEnabled(i), open) << situation;
        EXPECT_EQ(d->TextEnabled(), open) << situation;
        EXPECT_EQ(d->TallyEnabled(), open) << situation;
    };
    expect("after load", Buttons(true, false, false, false), true);
    d->ListClick(3);
    expect("fixed picked", Buttons(true, false, false, false), false);
    Accept();
    expect("accepted 1-10", Buttons(true, false, false, false), false);
    d->ClrClick();
    expect("after clear", Buttons(true, false, false, false), true);
    d->spConText = "Walk.";
    Accept();
    expect("accepted 00", Buttons(true, true, false, false), true);
    Command(&SpCondEditLogic::AddClick, AddTitle);
    expect("after add", Buttons(false, false, false, false), true);
    d->ListClick(0);
    expect("fixed after add", Buttons(true, false, false, false), false);
    Pick("Walk.");
    expect("custom picked", Buttons(true, false, false, true), true);
    Accept();
    expect("accepted 11-99", Buttons(true, false, true, true), true);
    Command(&SpCondEditLogic::UpDateClick, UpdateTitle);
    expect("after update", Buttons(false, false, false, true), true);
    Command(&SpCondEditLogic::RemClick, RemovingTitle);
    expect("after remove", Buttons(true, false, false, false), true);
}

TEST_F(SpCondEditor, PickingReadsTheCodeIntoTheListsAsItStands) {
    auto records = DefaultSpecialCondRecords();
    // A strange tag and a "P3" in photon B's place, and lines that name no record
    // or a record by a number the file's line does not hold.
    const std::string blank = BlankPhotonBlock;
    records[10] = {"11", "11P1R<DcTgXX______" + blank + "Ta0042~", "Odd tags."};
    records[11] = {"12", "12P1__DbTnP3Y___TnXX______Ta0000~", "C in B's place."};
    records[12] = {"  ", "13P1x___Tn________________Ta0000~", "No number."};
    records[13] = {"7x", "14P1W___Tn________________Ta0000~", "Number seven."};
    WriteCatalogue(records);
    Open();
    ASSERT_EQ(d->Lines().size(), 14u);
    EXPECT_EQ(d->Lines()[12].itemData, 0);

    d->PhotonNumClick(1, true);
    d->PhotonNumClick(2, true);
    Choose(1, Kind::Color, "Red");
    Pick("Odd tags.");
    EXPECT_FALSE(d->Photon(1).checked || d->Photon(2).checked);
    EXPECT_EQ(d->Photon(0).color.Text() + d->Photon(0).size.Text() + d->Photon(0).det.Text(),
              "RedSmallerCyan Det.");
    EXPECT_EQ(d->Photon(1).color.picked, -1);
    EXPECT_EQ(d->tallyAmt, "0042");

    Pick("C in B's place.");
    EXPECT_FALSE(d->Photon(1).checked);
    EXPECT_TRUE(d->Photon(2).checked);
    EXPECT_EQ(d->Photon(0).color.picked, -1);
    EXPECT_EQ(d->Photon(0).det.Text(), "Blue Det.");

    Pick("No number.");
    EXPECT_EQ(d->EditCondNo(), "12") << "a line naming no record loads nothing";
    Pick("Number seven.");
    EXPECT_EQ(d->EditCondNo(), "07");
    EXPECT_EQ(d->Photon(0).det.Text(), "Any Det.");
    EXPECT_EQ(d->spConText, "Number seven.");
    EXPECT_TRUE(platform.Boxes().empty());
}

TEST_F(SpCondEditor, AMissingOrShortCatalogueOffersWhatItHolds) {
    Open();
    EXPECT_TRUE(d->Lines().empty());
    AddCustom("Loose.", "Red");
    EXPECT_EQ(LastBox().substr(0, 38), "ERROR:  SPECIAL CONDITION LIST IS FULL");
    EXPECT_FALSE(platform::IsFile(Catalogue())) << "reading never creates the catalogue";

    auto records = DefaultSpecialCondRecords();
    records.resize(12);
    WriteCatalogue(records);
    Open();
    EXPECT_EQ(d->Lines().size(), 10u);
    AddCustom("Eleven.", "Red");
    AddCustom("Twelve.", "Blue");
    EXPECT_EQ(d->CondNum(), "12");
    AddCustom("Thirteen.", "Blue");
    EXPECT_EQ(LastBox().substr(0, 38), "ERROR:  SPECIAL CONDITION LIST IS FULL");
    EXPECT_EQ(Bytes().size(), 12u * 1060u);

    // A line whose number lies past the file's end loads nothing.
    records.resize(5);
    records[4].condNo = "40";
    WriteCatalogue(records);
    Open();
    ASSERT_EQ(d->Lines().size(), 5u);
    const size_t boxes = platform.Boxes().size();
    d->ListClick(4);
    EXPECT_EQ(d->EditCondNo(), "00");
    EXPECT_EQ(d->spConText, "");
    EXPECT_EQ(platform.Boxes().size(), boxes);
}

TEST_F(SpCondEditor, AnUnreadableCatalogueIsReportedAndTheEditorStaysUsable) {
    dir.Write("QUARVELT.CSC/inside", "");
    SpecialCond = "05P1R___TnP2Y___Tn________Ta0000~";
    platform.ExpectBox("SPECIAL CONDITIONS");
    Open();
    EXPECT_EQ(LastBox(), "ERROR 75\rPath/File access error");
    EXPECT_EQ(platform.Beeps(), 1);
    EXPECT_TRUE(d->Visible() && d->Lines().empty());
    Command(&SpCondEditLogic::ClrClick, "SPECIAL CONDITIONS");
    EXPECT_EQ(SpecialCond, "05P1R___TnP2Y___Tn________Ta0000~");

    d->spConText = "Still works.";
    Choose(0, Kind::Size, "Small");
    Accept();
    EXPECT_EQ(SpecialCond, "00P1_S__Tn________________Ta0000~");
    Command(&SpCondEditLogic::AddClick, AddTitle);
    EXPECT_EQ(LastBox(), "ERROR 75\rPath/File access error");
    EXPECT_EQ(d->Commands(), Buttons(true, true, false, false));
}

TEST_F(SpCondEditor, AFailedWriteIsReportedAndChangesNothing) {
    WriteCatalogue(DefaultSpecialCondRecords());
    Open();
    AddCustom("Written before.", "Red");
    Pick("Written before.");
    Accept();
    const std::string accepted = SpecialCond;
    const std::string before = Bytes();
    {
        FileSizeLimit limit(1000);
        Command(&SpCondEditLogic::UpDateClick, UpdateTitle);
        EXPECT_EQ(LastBox().substr(0, 6), "ERROR ");
        EXPECT_EQ(d->Commands(), Buttons(true, false, true, true));
        Command(&SpCondEditLogic::RemClick, RemovingTitle);
        EXPECT_EQ(LastBox().substr(0, 6), "ERROR ");
        EXPECT_EQ(SpecialCond, accepted);
        EXPECT_EQ(SpecialCondText, "Written before.");
        AddCustom("Not written.", "Blue");
        EXPECT_EQ(LastBox().substr(0, 6), "ERROR ");
        EXPECT_EQ(d->CondNum(), "");
        EXPECT_EQ(d->Commands(), Buttons(true, true, false, false));
    }
    EXPECT_EQ(platform.Beeps(), 3);
    EXPECT_EQ(Bytes(), before);
}

}  // namespace
}  // namespace quarvelt
