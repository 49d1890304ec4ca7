#include "help/help_page.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/text.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool HasAny(const std::string& text, std::initializer_list<const char*> parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](const char* part) { return text.find(part) != std::string::npos; });
}

std::string TrimRight(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

int16_t Clamp16(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

}  // namespace

HelpFontKind KindOfFont(const std::string& fontName) {
    const std::string name = Lower(TrimBlanks(fontName));
    // The game's own default face is a typewriter face, so a line without a name is one too.
    if (name.empty() ||
        HasAny(name, {"mono", "courier", "consol", "fixed", "typewriter", "terminal", "code"}))
        return HelpFontKind::Monospace;
    if (HasAny(name, {"sans", "arial", "helvetica", "verdana", "tahoma", "gothic"}))
        return HelpFontKind::Sans;
    if (HasAny(name, {"serif", "times", "roman", "georgia", "garamond", "bookman", "palatino",
                      "century", "schoolbook"}))
        return HelpFontKind::Serif;
    return HelpFontKind::Sans;
}

LineLook LookOfLine(const std::string& text, const std::string& fontName, double fontSize,
                    bool bold, bool italic, int32_t foreColor, int32_t backColor) {
    LineLook look;
    look.text = TrimRight(text);
    look.fontName = TrimBlanks(fontName);
    look.fontKind = KindOfFont(look.fontName);
    // NaN fails both tests and shows at the default too.
    look.fontSize = fontSize > SmallestHelpFontSize && fontSize <= LargestHelpFontSize
                        ? fontSize
                        : DefaultHelpFontSize;
    look.bold = bold;
    look.italic = italic;
    // Negative values are the platform's system colours, which mean nothing here.
    look.foreColor = foreColor < 0 ? HelpBlack : (foreColor & HelpWhite);
    look.backColor = backColor < 0 ? HelpWhite : (backColor & HelpWhite);
    return look;
}

LineLook LookOfLine(const PageLine& line) {
    return LookOfLine(line.text, line.fontName, line.fontSize, line.fontBold != 0,
                      line.fontItalic != 0, line.foreColor, line.backColor);
}

std::string PageCaption(int16_t page) {
    return "Page " + std::to_string(page);
}

bool OffersPageEntry(int16_t page) {
    return page == 1 || page == 2;
}

int16_t StoredFontSize(double size) {
    if (std::isnan(size))
        return static_cast<int16_t>(DefaultHelpFontSize);
    return static_cast<int16_t>(std::clamp(RoundHalfEven(size), -32768.0, 32767.0));
}

bool TurnPage(PageTurn turn, HelpPageModel& model, int16_t numPages, PagingButtons& buttons) {
    const int16_t remembered = model.CurPage;
    const bool next = turn == PageTurn::Next;
    const int left = HelpPagesLeft + (next ? -1 : 1);
    HelpPagesLeft = Clamp16(left);
    if (next) {
        if (left > 1 && left < numPages) {
            buttons = {true, true};
        } else if (left > 1) {
            HelpPagesLeft = numPages;
            buttons = {true, false};
        } else {
            buttons = {false, true};
        }
    } else {
        if (left >= numPages) {
            HelpPagesLeft = numPages;
            buttons = {true, false};
        } else if (left > 1) {
            buttons = {true, true};
        } else {
            buttons = {false, true};
        }
    }

    const int page = model.CurPage + (next ? 1 : -1);
    // A failed turn leaves the model as it was, so the page on screen and the
    // page a later save reads back stay one and the same.
    const PageTable kept = model.PageArr;
    bool found = false;
    if (page >= std::numeric_limits<int16_t>::min() &&
        page <= std::numeric_limits<int16_t>::max()) {
        model.CurPage = static_cast<int16_t>(page);
        model.ClearPageArr();
        found = model.GetPage(model.CurPage) == 0;
    } else {
        platform::Beep();
    }
    if (!found) {
        HelpPagesLeft = Clamp16(HelpPagesLeft + (next ? 1 : -1));
        model.CurPage = remembered;
        model.PageArr = kept;
    }
    return found;
}

}  // namespace quarvelt
