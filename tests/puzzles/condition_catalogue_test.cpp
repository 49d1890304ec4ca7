#include "puzzles/condition_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/globals.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace quarvelt {
namespace {

class SpecialConditionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        AppPath = folder.Path();
        SpecialCondBuffer = {};
    }
    void TearDown() override {
        ResetGlobals();
        SpecialCondBuffer = {};
    }

    testsupport::TempFolder folder;
};

TEST_F(SpecialConditionsTest, NewCatalogueHoldsTheTenFixedConditionsThenEmptyRecords) {
    ASSERT_FALSE(WriteSpecialCondFile(SpecialCondPath(), DefaultSpecialCondRecords()));
    const std::string bytes = folder.Read("QUARVELT.CSC");
    ASSERT_EQ(bytes.size(), 104940u);

    const std::string first = bytes.substr(0, 1060);
    EXPECT_EQ(first.substr(0, 2), "01");
    EXPECT_EQ(first.substr(2, 34), "01P1__DbTnP2__DbTnP3__DbTnTa0000~ ");
    const std::string desc = "All Three BLUE Detectors MUST be lit.";
    EXPECT_EQ(first.substr(36), desc + std::string(1024 - desc.size(), ' '));

    const std::string tenth = bytes.substr(9 * 1060, 1060);
    EXPECT_EQ(tenth.substr(0, 36), "1010P1____Tn________________Ta2000~ ");

    const std::string last = bytes.substr(98 * 1060, 1060);
    EXPECT_EQ(last, "99" + EmptySpecialCondCode() + " " + std::string(1024, ' '));

    std::vector<SpecialCondRecord> records;
    ASSERT_FALSE(ReadSpecialCondFile(SpecialCondPath(), records));
    ASSERT_EQ(records.size(), 99u);
    int listed = 0;
    for (const SpecialCondRecord& record : records)
        listed += record.Empty() ? 0 : 1;
    EXPECT_EQ(listed, 10);
    EXPECT_EQ(records[5].condCode.substr(0, 33), "06P1W___TnP2G___TnP3C___TnTa0000~");
}

TEST_F(SpecialConditionsTest, CodesNumberedZeroDemandNothing) {
    EXPECT_EQ(EmptySpecialCondCode().size(), 33u);
    EXPECT_EQ(StartSpecialCondCode(), "00________________________Ta0000~");
    EXPECT_TRUE(IsNoSpecialCond(StartSpecialCondCode()));
    EXPECT_TRUE(IsNoSpecialCond("00P1RLDrTnP2______________Ta2000~"));
    EXPECT_FALSE(IsNoSpecialCond("10P1____Tn________________Ta2000~"));
    EXPECT_FALSE(IsNoSpecialCond(""));
    // Emptiness is the code's alone, whatever the number and description say.
    EXPECT_TRUE((SpecialCondRecord{"42", EmptySpecialCondCode(), "left over"}.Empty()));
}

TEST_F(SpecialConditionsTest, ReadingNeverCreatesTheCatalogue) {
    std::vector<SpecialCondRecord> records{EmptySpecialCondRecord(1)};
    EXPECT_FALSE(ReadSpecialCondFile(SpecialCondPath(), records));
    EXPECT_TRUE(records.empty());
    SpecialCondBuffer.condNo = "kept";
    EXPECT_TRUE(GetSpecialCondRecord(SpecialCondPath(), 1));
    EXPECT_EQ(SpecialCondBuffer.condNo, "kept");
    EXPECT_FALSE(platform::IsFile(SpecialCondPath()));
}

TEST_F(SpecialConditionsTest, RecordsAreReadAndWrittenByNumber) {
    std::vector<SpecialCondRecord> three = DefaultSpecialCondRecords();
    three.resize(3);
    ASSERT_FALSE(WriteSpecialCondFile(SpecialCondPath(), three));
    // A part-record at the end is no record.
    folder.Write("QUARVELT.CSC", folder.Read("QUARVELT.CSC") + "12P1");

    SpecialCondBuffer = {"05", "05P1R___TnP2Y___Tn________Ta0000~", "Red and yellow."};
    ASSERT_FALSE(PutSpecialCondRecord(SpecialCondPath(), 5));
    std::vector<SpecialCondRecord> records;
    ASSERT_FALSE(ReadSpecialCondFile(SpecialCondPath(), records));
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0], three[0]);
    EXPECT_EQ(records[3], EmptySpecialCondRecord(4));
    EXPECT_EQ(records[3].condNo, "04");

    SpecialCondBuffer = {};
    ASSERT_FALSE(GetSpecialCondRecord(SpecialCondPath(), 5));
    EXPECT_EQ(SpecialCondBuffer.condCode, "05P1R___TnP2Y___Tn________Ta0000~ ");
    EXPECT_EQ(SpecialCondBuffer.condDesc.substr(0, 16), "Red and yellow. ");
    EXPECT_EQ(SpecialCondBuffer.condDesc.size(), 1024u);

    const SpecialCondRecord kept = SpecialCondBuffer;
    EXPECT_EQ(GetSpecialCondRecord(SpecialCondPath(), 6).number, platform::ErrPastEnd);
    EXPECT_TRUE(GetSpecialCondRecord(SpecialCondPath(), 0));
    EXPECT_TRUE(PutSpecialCondRecord(SpecialCondPath(), -1));
    EXPECT_EQ(SpecialCondBuffer, kept);
}

}  // namespace
}  // namespace quarvelt
