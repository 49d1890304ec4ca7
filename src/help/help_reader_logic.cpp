#include "help/help_reader_logic.h"

#include "common/globals.h"
#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* ManualTitle = "HELP MANUAL";
constexpr int Exclamation = platform::MsgExclamation | platform::MsgOkOnly;

}  // namespace

HelpReaderLogic::HelpReaderLogic() {
    FormLoad();
}

void HelpReaderLogic::Changed() {
    if (changed)
        changed();
}

void HelpReaderLogic::Hide() {
    visible_ = false;
    Changed();
}

void HelpReaderLogic::FormLoad() {
    const std::string title = UpperCase(caption);
    // Both titles name the one manual.
    if (title == "HELP" || title == "RULE")
        model_.HelpFileName = AppPath + HelpManualName;
    else
        model_.HelpFileName.clear();
    buttons_ = {};
}

void HelpReaderLogic::ShowPage() {
    for (size_t k = 0; k < lines_.size(); ++k)
        lines_[k] = LookOfLine(model_.PageArr[k]);
    frameCaption_ = PageCaption(model_.CurPage);
    pagNumShown_ = OffersPageEntry(model_.CurPage);
}

void HelpReaderLogic::Activate() {
    visible_ = true;
    model_.PageArr = PageTable{};
    model_.ClearPageArr();

    // Reading never creates the manual: a missing one reads as empty.
    HelpManualContents manual;
    if (!model_.HelpFileName.empty()) {
        if (auto error = ReadHelpManual(model_.HelpFileName, manual)) {
            platform::Beep();
            platform::MsgBox(platform::ErrorText(error), Exclamation, ManualTitle);
            Hide();
            return;
        }
    }
    const auto count = static_cast<int16_t>(manual.pages.size());
    if (count == 0) {
        platform::Beep();
        platform::MsgBox("NO HELP AVAILABLE!", Exclamation, ManualTitle);
        Hide();
        return;
    }

    const int16_t span = HelpPageSpan == 0 ? count : HelpPageSpan;
    HelpPagesLeft = span;
    if (span <= 1) {
        HelpPagesLeft = 1;
        numPages_ = 1;
    } else {
        numPages_ = span;
    }
    model_.CurPage = HelpStartPage;
    int16_t inTopic = 0;
    if (model_.GetPage(model_.CurPage, inTopic) != 0) {
        Hide();
        return;
    }
    ShowPage();
    if (span >= 2)
        buttons_.next = true;
    Changed();
}

void HelpReaderLogic::NextPgClick() {
    if (TurnPage(PageTurn::Next, model_, numPages_, buttons_))
        ShowPage();
    Changed();
}

void HelpReaderLogic::PrevPgClick() {
    if (TurnPage(PageTurn::Previous, model_, numPages_, buttons_))
        ShowPage();
    Changed();
}

void HelpReaderLogic::ContentClick() {
    // The paging range and the buttons stay as they are.
    model_.CurPage = 1;
    int16_t inTopic = 0;
    if (model_.GetPage(model_.CurPage, inTopic) == 0) {
        ShowPage();
        Changed();
    }
}

void HelpReaderLogic::PagNumEnter() {
    const int16_t remembered = model_.CurPage;
    model_.CurPage = CaptionNumber(pagNum);
    int16_t inTopic = 0;
    if (model_.GetPage(model_.CurPage, inTopic) == 0) {
        ShowPage();
        // The range runs over the topic's page count from the page jumped to.
        const int16_t pages = inTopic <= 1 ? 1 : inTopic;
        HelpPagesLeft = pages;
        numPages_ = pages;
        buttons_ = {pages >= 2, false};
    } else {
        model_.CurPage = remembered;
        pagNum = std::to_string(model_.CurPage);
    }
    Changed();
}

void HelpReaderLogic::ExitHlpClick() {
    Hide();
}

}  // namespace quarvelt
