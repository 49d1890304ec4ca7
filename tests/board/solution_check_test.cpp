#include "board/solution_check.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "common/globals.h"
#include "common/tables.h"
#include "platform/services.h"
#include "puzzles/condition_catalogue.h"

namespace quarvelt {
namespace {

const std::string Solved =
    "SUCCESSFUL  PUZZLE  COMPLETION | CONGRATULATIONS YOU SOLVED THE PUZZLE.";
const std::string Failed =
    "YOU  FAILED  TO  SOLVE  THE  PUZZLE | SORRY, YOU FAILED TO SOLVE THE PUZZLE.";

std::string PointsFailed(const std::string& points) {
    return Failed + "\r\rYou failed to collect the required\ramount of game points of " + points;
}

// Records every box the check shows, whatever it is.
class ShownBoxes : public platform::MessageBoxes {
  public:
    int Show(const std::string& text, int flags, const std::string& title) override {
        shown.push_back(title + " | " + text);
        this->flags.push_back(flags);
        return platform::AnswerOk;
    }
    void Beep() override { ++beeps; }
    std::vector<std::string> shown;
    std::vector<int> flags;
    int beeps = 0;
};

class SolutionCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        ResetPhotonTables();
        platform::Services services;
        services.boxes = &boxes;
        platform::Install(services);
    }
    void TearDown() override {
        platform::InstallHeadless();
        ResetGlobals();
    }

    // Size, colour and detector letters of photons 1 to 3; "_" for one never created.
    static void Photons(std::initializer_list<std::array<const char*, 3>> states) {
        int photon = 1;
        for (const auto& state : states) {
            PhotonState[photon][1] = state[0];
            PhotonState[photon][2] = state[1];
            PhotonState[photon][3] = state[2];
            ++photon;
        }
    }

    // What the check showed for the code: "none", or the one box as "TITLE | TEXT".
    std::string Check(const std::string& code, const std::string& tally = "0") {
        SpecialCond = code;
        boxes.shown.clear();
        boxes.flags.clear();
        boxes.beeps = 0;
        CheckForSpecialCond(tally);
        EXPECT_EQ(SpecialCond, code);
        if (boxes.shown.empty())
            return "none";
        EXPECT_EQ(boxes.shown.size(), 1u);
        return boxes.shown.front();
    }

    ShownBoxes boxes;
};

TEST_F(SolutionCheckTest, ConditionNumberedZeroShowsNothing) {
    Photons({{"S", "R", "_"}});
    for (const char* code : {"00P1RLDrTnP2______________Ta2000~", "00", "00 no terminator"})
        EXPECT_EQ(Check(code), "none") << code;
}

TEST_F(SolutionCheckTest, MalformedCodesShowTheirErrorWithoutBeep) {
    const std::string noTerminator =
        "INVALIED SPECIAL CONDITION | ERROR:  NO TERMINATOR!\r\rThere MUST be a ~ terminator\rat "
        "the end of the Special Condition.";
    EXPECT_EQ(Check(""), noTerminator);
    EXPECT_EQ(Check("0"), noTerminator);
    EXPECT_EQ(Check("01P1__DbTnP2__DbTnP3__DbTnTa0000 "), noTerminator);
    EXPECT_EQ(boxes.flags.back(), platform::MsgOkOnly | platform::MsgExclamation);
    EXPECT_EQ(boxes.beeps, 0);

    EXPECT_EQ(Check("07________________________Ta0000~"),
              "ERROR  INVALIED  PUZZLE | ERROR:  NO PHOTON A!\r\rThere MUST be at least one "
              "Photon.\rPhoton 1 MUST be present for a valied game.");
    EXPECT_EQ(boxes.flags.back(), platform::MsgOkOnly | platform::MsgExclamation);
    EXPECT_EQ(boxes.beeps, 0);
}

TEST_F(SolutionCheckTest, VerdictsComeWithABeepAndTheInformationIcon) {
    Photons({{"M", "W", "_"}});
    EXPECT_EQ(Check("11P1W___Tn________________Ta0000~"), Solved);
    EXPECT_EQ(boxes.flags.back(), platform::MsgOkOnly | platform::MsgInformation);
    EXPECT_EQ(boxes.beeps, 1);
    EXPECT_EQ(Check("11P1R___Tn________________Ta0000~"), Failed);
    EXPECT_EQ(boxes.flags.back(), platform::MsgOkOnly | platform::MsgInformation);
    EXPECT_EQ(boxes.beeps, 1);
}

TEST_F(SolutionCheckTest, DefaultConditionsOfTheCatalogue) {
    struct Case {
        int record;
        std::array<std::array<const char*, 3>, 3> photons;
        const char* tally;
        bool solved;
    };
    const std::vector<Case> cases = {
        {1, {{{"M", "B", "B"}, {"S", "B", "B"}, {"L", "B", "B"}}}, "0", true},
        {1, {{{"M", "B", "B"}, {"S", "B", "B"}, {"_", "_", "_"}}}, "0", false},
        {2, {{{"M", "R", "_"}, {"M", "G", "_"}, {"L", "W", "_"}}}, "0", true},
        {2, {{{"M", "R", "_"}, {"L", "G", "_"}, {"_", "_", "_"}}}, "0", false},
        {3, {{{"L", "W", "W"}, {"M", "W", "_"}, {"_", "_", "_"}}}, "0", true},
        {3, {{{"M", "W", "W"}, {"M", "W", "_"}, {"_", "_", "_"}}}, "0", false},
        {3, {{{"L", "W", "W"}, {"_", "_", "_"}, {"_", "_", "_"}}}, "0", false},
        {4, {{{"M", "Y", "_"}, {"S", "Y", "_"}, {"S", "Y", "Y"}}}, "0", true},
        {4, {{{"M", "Y", "_"}, {"S", "Y", "_"}, {"_", "_", "_"}}}, "0", false},
        {5, {{{"M", "R", "_"}, {"M", "Y", "_"}, {"_", "_", "_"}}}, "0", true},
        {5, {{{"M", "Y", "_"}, {"M", "R", "_"}, {"_", "_", "_"}}}, "0", false},
        {6, {{{"L", "W", "_"}, {"M", "G", "_"}, {"M", "C", "_"}}}, "0", true},
        {6, {{{"L", "W", "_"}, {"M", "G", "_"}, {"M", "B", "_"}}}, "0", false},
        // "A" and "Da" accept anything, also no detector and a photon never created.
        {7, {{{"S", "R", "_"}, {"_", "_", "_"}, {"_", "_", "_"}}}, "0", true},
        {8, {{{"M", "W", "W"}, {"_", "_", "_"}, {"_", "_", "_"}}}, "0", true},
        {9, {{{"L", "W", "W"}, {"M", "C", "C"}, {"S", "G", "G"}}}, "0", true},
        {9, {{{"L", "W", "W"}, {"M", "C", "G"}, {"S", "G", "C"}}}, "0", false},
        {10, {{{"M", "W", "_"}, {"_", "_", "_"}, {"_", "_", "_"}}}, "2000", true},
    };
    const std::vector<SpecialCondRecord> catalogue = DefaultSpecialCondRecords();
    for (const Case& c : cases) {
        const std::string code =
            catalogue.at(static_cast<size_t>(c.record - 1)).condCode.substr(0, 33);
        SCOPED_TRACE(code);
        Photons({c.photons[0], c.photons[1], c.photons[2]});
        EXPECT_EQ(Check(code, c.tally), c.solved ? Solved : Failed);
    }
}

TEST_F(SolutionCheckTest, TallyMustEqualTheRequiredPointsExactly) {
    Photons({{"M", "W", "_"}});
    const std::string code = "10P1____Tn________________Ta2000~";
    EXPECT_EQ(Check(code, "2000"), Solved);
    for (const char* tally : {"0", "1500", "2500", "12000", "", "TWO"})
        EXPECT_EQ(Check(code, tally), PointsFailed("2000")) << tally;
    EXPECT_EQ(Check("10P1____Tn________________Ta0050~", "50"), Solved);
    EXPECT_EQ(Check("10P1____Tn________________Ta0000~", "12345"), Solved);
}

TEST_F(SolutionCheckTest, RelativeSizesTakeTheirReferencesFromTheOtherPhotons) {
    struct Case {
        const char* code;
        std::array<const char*, 3> sizes;
        bool solved;
    };
    const std::vector<Case> cases = {
        // Both others "A": larger than each of them.
        {"11P1AA__TnP2AA__TnP3A>__TnTa0000~", {"M", "S", "L"}, true},
        {"11P1AA__TnP2AA__TnP3A>__TnTa0000~", {"M", "M", "M"}, false},
        // Photon 1's "<" takes photon 2's "A" whatever photon 3 demands...
        {"11P1A<__TnP2AA__TnP3AS__TnTa0000~", {"S", "M", "S"}, true},
        {"11P1A<__TnP2AA__TnP3AS__TnTa0000~", {"M", "M", "S"}, false},
        // ... and photon 3's "A" whatever photon 2 demands.
        {"11P1A<__TnP2AM__TnP3AA__TnTa0000~", {"S", "M", "L"}, true},
        // The other relations, and the other photons, use the rules as they stand.
        {"11P1A>__TnP2AM__TnP3AA__TnTa0000~", {"L", "M", "S"}, false},
        {"11P1AA__TnP2A<__TnP3AS__TnTa0000~", {"L", "S", "S"}, false},
        // A photon never created has no size to be smaller or larger than...
        {"11P1A<__TnP2AA__Tn________Ta0000~", {"S", "_", "_"}, false},
        // ... but two of them are the same size.
        {"11P1A___TnP2AA__TnP3A=__TnTa0000~", {"L", "_", "_"}, true},
        {"11P1A___TnP2AA__TnP3A=__TnTa0000~", {"L", "M", "_"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.sizes[0] + c.sizes[1] + c.sizes[2]);
        Photons({{c.sizes[0], "W", "_"}, {c.sizes[1], "W", "_"}, {c.sizes[2], "W", "_"}});
        EXPECT_EQ(Check(c.code), c.solved ? Solved : Failed);
    }
}

TEST_F(SolutionCheckTest, ShortCodesReadAsEmptyPastTheirEnd) {
    Photons({{"L", "R", "R"}, {"M", "G", "_"}});
    // The detector condition lies past the end: an empty condition never holds.
    EXPECT_EQ(Check("11P1RL~"), Failed);
    // Every condition met and photon 2's marker past the end, but so are the
    // points, which never match.
    EXPECT_EQ(Check("11P1RLDr~", "0"), PointsFailed(""));
    // Photon 2's marker is there, its size and detector conditions are not.
    EXPECT_EQ(Check("11P1RLDrTnP2~"), Failed);
}

TEST_F(SolutionCheckTest, BlocksWithAnotherMarkerDemandNothing) {
    Photons({{"L", "W", "_"}});
    EXPECT_EQ(Check("11P1W___TnP3R___TnP2R___TnTa0000~"), Solved);
}

}  // namespace
}  // namespace quarvelt
