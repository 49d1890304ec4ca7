// The help manual, and the pages a reader turns to.
#include <algorithm>
#include <tuple>

#include "common/globals.h"
#include "entries.h"
#include "help/help_file.h"
#include "platform/files.h"
#include "platform/records.h"
#include "support.h"

namespace quarvelt::fuzz {

namespace {

constexpr const char* Name = "help_manual";
constexpr size_t MaxTurns = 8;

bool SameLine(const PageLine& a, const PageLine& b) {
    return std::tie(a.foreColor, a.fontName, a.fontSize, a.text, a.fontBold, a.fontItalic,
                    a.backColor) == std::tie(b.foreColor, b.fontName, b.fontSize, b.text,
                                             b.fontBold, b.fontItalic, b.backColor);
}

// Turns to `page` and holds the model to what a scan of `manual` finds.
void Turn(HelpPageModel& model, const std::vector<HelpPageRecord>& manual, int16_t page) {
    constexpr int16_t Untouched = -77;
    int16_t inTopic = Untouched;
    const int16_t result = model.GetPage(page, inTopic);
    const std::string where = " (page " + std::to_string(page) + ")";
    if (HelpPageSpan == 0 && page == 0) {
        Require(result == -1 && inTopic == 0, Name, "page zero was not refused" + where);
        return;
    }
    const auto found = std::find_if(manual.begin(), manual.end(),
                                    [page](const HelpPageRecord& r) { return r.pageNo == page; });
    if (found == manual.end()) {
        Require(result == -1 && inTopic == Untouched, Name, "a missing page was found" + where);
        return;
    }
    Require(result == 0, Name, "a page in the manual was not found" + where);
    Require(model.CurTopic == found->topicNo, Name, "the page's topic is wrong" + where);
    const auto count = std::count_if(manual.begin(), manual.end(), [&](const HelpPageRecord& r) {
        return r.topicNo == found->topicNo;
    });
    Require(inTopic == count, Name, "the topic's page count is wrong" + where);
    for (size_t k = 0; k < model.PageArr.size(); ++k)
        Require(SameLine(model.PageArr[k], PageLineFromRecord(found->lines[k])), Name,
                "line " + std::to_string(k + 1) + " is not the stored one" + where);
}

}  // namespace

int HelpManual(const uint8_t* data, size_t size) {
    Session session;
    const std::vector<std::string> parts = Split(data, size, 2);
    const std::string path = FreshFolder(Name) + HelpManualName;
    (void)platform::WriteFileAtomic(path, parts[0]);

    HelpManualContents contents;
    if (ReadHelpManual(path, contents))
        return 0;
    std::vector<int16_t> turns;
    if (parts.size() > 1) {
        const std::string& numbers = parts[1];
        for (size_t at = 0; at + 2 <= numbers.size() && turns.size() < MaxTurns; at += 2)
            turns.push_back(platform::RecordBuffer(numbers.substr(at, 2)).GetInt16(0));
    }
    if (turns.empty()) {
        turns = {0, 1};
        if (!contents.pages.empty())
            turns.push_back(contents.pages.back().pageNo);
    }

    HelpPageModel model;
    model.HelpFileName = path;
    auto turnAll = [&](const std::vector<HelpPageRecord>& manual) {
        for (size_t i = 0; i < turns.size(); ++i) {
            HelpPageSpan = static_cast<int16_t>(i % 2);
            Turn(model, manual, turns[i]);
        }
    };
    turnAll(contents.pages);

    // The writer rewrites the manual while the model is open: the look-ups follow,
    // the second time at the same size with every page and topic renumbered.
    std::vector<HelpPageRecord> pages(contents.pages.rbegin(), contents.pages.rend());
    Require(!WriteHelpManual(path, pages), Name, "the manual cannot be written back");
    turnAll(pages);
    for (HelpPageRecord& page : pages) {
        page.pageNo = static_cast<int16_t>(page.pageNo ^ 1);
        page.topicNo = static_cast<int16_t>(page.topicNo + 1);
    }
    Require(!WriteHelpManual(path, pages), Name, "the manual cannot be written back");
    turnAll(pages);

    HelpManualContents reread;
    Require(!ReadHelpManual(path, reread) && reread.pages.size() == pages.size() &&
                reread.trailingBytes == 0,
            Name, "the rewritten manual does not read back whole");
    return 0;
}

}  // namespace quarvelt::fuzz
