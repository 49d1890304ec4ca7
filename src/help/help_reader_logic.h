// What the help reader does, apart from drawing itself: it opens the manual on
// the start page the main window set, pages through the paging range, goes
// back to the contents, jumps to a page typed on the contents' pages, and
// closes. It only reads the manual.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "help/help_file.h"
#include "help/help_page.h"

namespace quarvelt {

class HelpReaderLogic {
  public:
    // Loads the window under its designed title "Help".
    HelpReaderLogic();

    // The window's title; the main window sets "QUARVELT.HLP" before showing it.
    std::string caption = "Help";
    // PagNum as the player typed it.
    std::string pagNum;

    const std::array<LineLook, HelpPageLines>& Lines() const { return lines_; }  // PgLine
    const std::string& FrameCaption() const { return frameCaption_; }            // PageFrame
    bool NextEnabled() const { return buttons_.next; }
    bool PrevEnabled() const { return buttons_.prev; }
    bool PagNumShown() const { return pagNumShown_; }  // PagNum visible and enabled
    bool PagMsgShown() const { return pagNumShown_; }  // PagMsg visible
    bool Visible() const { return visible_; }

    const HelpPageModel& Model() const { return model_; }
    int16_t CurPage() const { return model_.CurPage; }
    int16_t NumPages() const { return numPages_; }

    // Reads the window's title for the manual's name, as the window loads.
    void FormLoad();
    // Shows the start page, or hides at once after a message.
    void Activate();
    void NextPgClick();
    void PrevPgClick();
    void ContentClick();
    // Enter in PagNum; every other key is typed into it as usual.
    void PagNumEnter();
    void ExitHlpClick();

    std::function<void()> changed;

  private:
    void ShowPage();
    void Hide();
    void Changed();

    HelpPageModel model_;
    int16_t numPages_ = 0;
    std::array<LineLook, HelpPageLines> lines_{};
    std::string frameCaption_;
    PagingButtons buttons_;
    bool pagNumShown_ = false;
    bool visible_ = false;
};

}  // namespace quarvelt
