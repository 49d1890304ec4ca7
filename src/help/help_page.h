// What both help windows share beyond the manual's file: how a line of the
// page model looks on screen, the frame's caption, and the paging rule that
// turns the page forward or back within the paging range.
#pragma once

#include <cstdint>
#include <string>

#include "help/help_file.h"

namespace quarvelt {

// The kind of face a font name stands for; a font that is not installed is
// replaced by the default face of its kind.
enum class HelpFontKind { Monospace, Sans, Serif };
HelpFontKind KindOfFont(const std::string& fontName);

// The sizes a line can be shown at; any other size shows at the default.
inline constexpr double SmallestHelpFontSize = 0;  // exclusive
inline constexpr double LargestHelpFontSize = 72;
inline constexpr double DefaultHelpFontSize = 11;

// One line as a window puts it on screen. Stored attributes that cannot be
// shown are replaced here, never in the page itself.
struct LineLook {
    std::string text;                      // without trailing blanks
    std::string fontName = "Courier New";  // without blanks at either end
    HelpFontKind fontKind = HelpFontKind::Monospace;
    double fontSize = DefaultHelpFontSize;
    bool bold = true;
    bool italic = false;
    int32_t foreColor = HelpBlack;  // &H00BBGGRR, 0 to 16777215
    int32_t backColor = HelpWhite;

    bool operator==(const LineLook&) const = default;
};

LineLook LookOfLine(const std::string& text, const std::string& fontName, double fontSize,
                    bool bold, bool italic, int32_t foreColor, int32_t backColor);
LineLook LookOfLine(const PageLine& line);

// "Page " and the number, as the page frame shows it.
std::string PageCaption(int16_t page);
// The reader offers page-number entry on the contents' two pages only.
bool OffersPageEntry(int16_t page);

// A whole number of points for a size a window holds: halves go to the even neighbour.
int16_t StoredFontSize(double size);

enum class PageTurn { Next, Previous };

struct PagingButtons {
    bool next = false;  // NextPg enabled
    bool prev = false;  // PrevPg enabled
};

// Turns the model's page one forward or back within a range of `numPages`
// pages, keeping HelpPagesLeft and the buttons. True when the new page is in
// the model and is to be shown; false after GetPage's message, with CurPage,
// HelpPagesLeft and the page model as they were and the buttons as the turn set them.
bool TurnPage(PageTurn turn, HelpPageModel& model, int16_t numPages, PagingButtons& buttons);

}  // namespace quarvelt
