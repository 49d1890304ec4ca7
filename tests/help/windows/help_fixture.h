// Help windows without a screen: a program folder of their own, the boxes
// scripted, and small manuals written page by page.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/globals.h"
#include "help/help_file.h"
#include "platform/files.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace helptest {

using namespace quarvelt;

constexpr int Exclamation = platform::MsgExclamation | platform::MsgOkOnly;
constexpr int Information = platform::MsgInformation | platform::MsgOkOnly;
constexpr int Question = platform::MsgQuestion | platform::MsgYesNo;

// A page whose first line names it, so a test can tell which page is shown.
inline HelpPageRecord NamedPage(int16_t pageNo, int16_t topicNo) {
    PageTable lines{};
    lines[0].text = "page " + std::to_string(pageNo);
    return MakeHelpPageRecord(pageNo, topicNo, lines);
}

class HelpManualTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGlobals();
        AppPath = folder.Path();
        HelpStartPage = 1;
        HelpPageSpan = 0;
    }
    void TearDown() override { ResetGlobals(); }

    std::string ManualPath() const { return folder.Path() + HelpManualName; }

    // Writes a manual of the pages given as {page, topic}, in that order.
    void WriteManual(const std::vector<std::pair<int16_t, int16_t>>& pages) {
        std::vector<HelpPageRecord> records;
        for (const auto& [page, topic] : pages)
            records.push_back(NamedPage(page, topic));
        WriteRecords(records);
    }
    void WriteRecords(const std::vector<HelpPageRecord>& records) {
        ASSERT_FALSE(WriteHelpManual(ManualPath(), records));
    }
    std::vector<HelpPageRecord> StoredPages() {
        HelpManualContents contents;
        EXPECT_FALSE(ReadHelpManual(ManualPath(), contents));
        return contents.pages;
    }
    std::string StoredBytes() { return folder.Read(HelpManualName); }

    // Puts a folder where the manual belongs: it can be neither read nor replaced.
    void FolderInPlaceOfManual() {
        platform::DeleteFile(ManualPath());
        ASSERT_FALSE(platform::CreateFolder(ManualPath()));
    }

    testsupport::ScriptedPlatform platform;
    testsupport::TempFolder folder;
};

}  // namespace helptest
