// Converts the readable help manual (assets/help/manual.txt, whose opening
// comment describes the format) into "QUARVELT.HLP" through the game's own
// record writer. Every limit of the help windows is checked here, so a manual
// that builds is one the reader can show: 25 lines of at most 80 characters a
// page, fonts the desktop has, pages numbered 1 to N, topics in runs, and the
// contents on page 1 (and 2) pointing at the first page of every topic.
//
// Usage: quarvelt_helpgen <manual source> <game folder>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "help/help_file.h"
#include "platform/files.h"

namespace {

using quarvelt::PageLine;

constexpr size_t ContentsWidth = 76;  // entry lines end here, page number included
constexpr int MaxContentsPages = 2;   // the reader offers the page entry on pages 1 and 2 only
constexpr int MaxPages = 999;         // the reader's page entry holds three digits
constexpr int MinFontSize = 8;
constexpr int MaxFontSize = 16;

const char* const Fonts[] = {"Courier New", "Monospace", "Sans Serif", "Serif"};

struct NamedColour {
    const char* name;
    int32_t rgb;  // 0xRRGGBB as written; stored as &H00BBGGRR
};

const NamedColour Colours[] = {
    {"black", 0x000000},     {"white", 0xFFFFFF},     {"gray", 0x808080},
    {"silver", 0xC0C0C0},    {"lightgray", 0xE0E0E0}, {"red", 0xFF0000},
    {"darkred", 0x800000},   {"maroon", 0x800000},    {"green", 0x00C000},
    {"darkgreen", 0x006000}, {"blue", 0x0000FF},      {"lightblue", 0x5080FF},
    {"navy", 0x000080},      {"cyan", 0x00FFFF},      {"teal", 0x008080},
    {"magenta", 0xFF00FF},   {"purple", 0x800080},    {"yellow", 0xFFFF00},
    {"olive", 0x808000},     {"orange", 0xFF8000},    {"brown", 0x804000},
    {"cream", 0xFFF8E0},
};

int32_t Stored(int32_t rgb) {
    const int32_t r = (rgb >> 16) & 0xFF;
    const int32_t g = (rgb >> 8) & 0xFF;
    const int32_t b = rgb & 0xFF;
    return r | (g << 8) | (b << 16);
}

// A fault in the source, told with the line it stands on.
struct SourceError {
    int line = 0;
    std::string message;
};

[[noreturn]] void Fail(int line, const std::string& message) {
    throw SourceError{line, message};
}

// Windows-1252 has these in 0x80 to 0x9F; every other byte is the code point itself.
const std::map<uint32_t, unsigned char> WindowsSpecials = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
};

// The manual's text is single-byte, as the record stores it.
std::string ToWindows1252(const std::string& utf8, int line) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        uint32_t code = 0;
        size_t length = 1;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1F;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0F;
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07;
            length = 4;
        } else {
            Fail(line, "the text is not UTF-8");
        }
        if (i + length > utf8.size())
            Fail(line, "the text is not UTF-8");
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                Fail(line, "the text is not UTF-8");
            code = (code << 6) | (next & 0x3F);
        }
        i += length;
        if (code < 0x20 || code == 0x7F)
            Fail(line, "the text holds a control character (a tab?)");
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
            continue;
        }
        const auto special = WindowsSpecials.find(code);
        if (special == WindowsSpecials.end())
            Fail(line, "a character of the text has no Windows-1252 byte");
        out += static_cast<char>(special->second);
    }
    return out;
}

std::string TrimRight(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : TrimRight(text.substr(first));
}

bool SameLook(const PageLine& a, const PageLine& b) {
    return a.foreColor == b.foreColor && a.fontName == b.fontName && a.fontSize == b.fontSize &&
           a.fontBold == b.fontBold && a.fontItalic == b.fontItalic && a.backColor == b.backColor;
}

bool IsStyleName(const std::string& word) {
    if (word.empty())
        return false;
    for (char c : word) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            return false;
    }
    return true;
}

int32_t ParseColour(const std::string& value, int line) {
    if (value.size() == 7 && value[0] == '#') {
        int32_t rgb = 0;
        for (size_t i = 1; i < value.size(); ++i) {
            const char c = value[i];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            if (digit < 0)
                Fail(line, "bad colour \"" + value + "\"");
            rgb = rgb * 16 + digit;
        }
        return Stored(rgb);
    }
    for (const auto& colour : Colours) {
        if (value == colour.name)
            return Stored(colour.rgb);
    }
    Fail(line, "unknown colour \"" + value + "\" (a name or #RRGGBB)");
}

class Manual {
  public:
    void Parse(const std::string& source);
    std::vector<quarvelt::HelpPageRecord> Build() const;
    size_t TopicCount() const { return topics_.size(); }

  private:
    struct Line {
        int source = 0;    // line number in the source
        std::string text;  // Windows-1252, without trailing blanks
        PageLine look;
        bool contents = false;  // where the contents entries go
    };
    struct Page {
        int source = 0;
        PageLine filler;  // the look of the lines below the last one written
        std::vector<Line> lines;
    };
    struct Topic {
        int source = 0;
        std::string title;
        std::vector<Page> pages;
    };

    std::vector<std::string> Words(const std::string& settings, int line) const;
    PageLine ApplySettings(PageLine look, const std::string& settings, int line) const;
    void StartPage(int line);
    Page& CurrentPage(int line);

    std::map<std::string, PageLine> styles_{{"body", PageLine{}}};
    std::vector<Topic> topics_;
    bool haveContents_ = false;
};

std::vector<std::string> Manual::Words(const std::string& settings, int line) const {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (char c : settings) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (quoted)
        Fail(line, "a quote is not closed");
    if (!word.empty())
        words.push_back(word);
    return words;
}

PageLine Manual::ApplySettings(PageLine look, const std::string& settings, int line) const {
    for (const std::string& word : Words(settings, line)) {
        const auto equals = word.find('=');
        if (equals == std::string::npos) {
            if (word == "bold") {
                look.fontBold = quarvelt::True;
            } else if (word == "nobold") {
                look.fontBold = quarvelt::False;
            } else if (word == "italic") {
                look.fontItalic = quarvelt::True;
            } else if (word == "noitalic") {
                look.fontItalic = quarvelt::False;
            } else if (const auto style = styles_.find(word); style != styles_.end()) {
                look = style->second;
            } else {
                Fail(line, "unknown style or setting \"" + word + "\"");
            }
            continue;
        }
        const std::string key = word.substr(0, equals);
        const std::string value = word.substr(equals + 1);
        if (key == "font") {
            bool known = false;
            for (const char* font : Fonts)
                known = known || value == font;
            if (!known)
                Fail(line,
                     "font \"" + value +
                         "\" is not one of \"Courier New\", Monospace, \"Sans Serif\", Serif");
            look.fontName = value;
        } else if (key == "size") {
            int size = 0;
            for (char c : value) {
                if (c < '0' || c > '9' || size > MaxFontSize)
                    Fail(line, "bad size \"" + value + "\"");
                size = size * 10 + (c - '0');
            }
            if (value.empty() || size < MinFontSize || size > MaxFontSize)
                Fail(line, "sizes run from " + std::to_string(MinFontSize) + " to " +
                               std::to_string(MaxFontSize) + " points");
            look.fontSize = static_cast<int16_t>(size);
        } else if (key == "fore") {
            look.foreColor = ParseColour(value, line);
        } else if (key == "back") {
            look.backColor = ParseColour(value, line);
        } else {
            Fail(line, "unknown setting \"" + key + "\"");
        }
    }
    return look;
}

void Manual::StartPage(int line) {
    Page page;
    page.source = line;
    page.filler = styles_.at("body");
    page.filler.text.clear();
    topics_.back().pages.push_back(page);
}

Manual::Page& Manual::CurrentPage(int line) {
    if (topics_.empty())
        Fail(line, "text before the first @topic");
    return topics_.back().pages.back();
}

void Manual::Parse(const std::string& source) {
    std::istringstream in(source);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (!raw.empty() && raw[0] == '#')
            continue;
        if (topics_.empty() && Trim(raw).empty())
            continue;

        if (!raw.empty() && raw[0] == '@') {
            const auto space = raw.find(' ');
            const std::string directive = raw.substr(0, space);
            const std::string rest = space == std::string::npos ? "" : Trim(raw.substr(space + 1));
            if (directive == "@style") {
                const auto nameEnd = rest.find(' ');
                const std::string name = rest.substr(0, nameEnd);
                if (!IsStyleName(name))
                    Fail(line, "a style needs a name of small letters, digits, '-' and '_'");
                const std::string settings =
                    nameEnd == std::string::npos ? "" : rest.substr(nameEnd + 1);
                styles_[name] = ApplySettings(PageLine{}, settings, line);
            } else if (directive == "@topic") {
                if (rest.empty())
                    Fail(line, "a topic needs a title");
                topics_.push_back({line, ToWindows1252(rest, line), {}});
                StartPage(line);
            } else if (directive == "@page") {
                if (topics_.empty())
                    Fail(line, "@page before the first @topic");
                if (topics_.size() == 1)
                    Fail(line, "the contents run on to a second page by themselves");
                if (!rest.empty())
                    Fail(line, "@page takes nothing after it");
                StartPage(line);
            } else if (directive == "@contents") {
                if (topics_.size() != 1)
                    Fail(line, "the contents belong to the first topic");
                if (haveContents_)
                    Fail(line, "the contents are listed once");
                haveContents_ = true;
                Line entries;
                entries.source = line;
                entries.look = ApplySettings(styles_.at("body"), rest, line);
                entries.contents = true;
                CurrentPage(line).lines.push_back(entries);
            } else {
                Fail(line, "unknown directive " + directive);
            }
            continue;
        }

        Page& page = CurrentPage(line);
        Line text;
        text.source = line;
        text.look = styles_.at("body");
        std::string body = raw;
        if (!raw.empty() && raw[0] == '{') {
            const auto close = raw.find('}');
            if (close == std::string::npos)
                Fail(line, "a '{' without its '}'");
            text.look = ApplySettings(text.look, raw.substr(1, close - 1), line);
            body = raw.substr(close + 1);
            if (!body.empty() && body[0] == ' ')
                body.erase(0, 1);
        }
        text.text = TrimRight(ToWindows1252(body, line));
        if (text.text.size() > quarvelt::HelpTextWidth)
            Fail(line, "the line is " + std::to_string(text.text.size()) +
                           " characters long; a page line holds " +
                           std::to_string(quarvelt::HelpTextWidth));
        page.lines.push_back(text);
    }

    if (topics_.size() < 2)
        Fail(line, "the manual needs the contents and at least one topic");
    if (!haveContents_)
        Fail(topics_[0].source, "the first topic must list the contents (@contents)");
    for (Topic& topic : topics_) {
        for (Page& page : topic.pages) {
            // Blank lines that only space out the source are not page lines.
            while (!page.lines.empty() && page.lines.back().text.empty() &&
                   !page.lines.back().contents && SameLook(page.lines.back().look, page.filler))
                page.lines.pop_back();
            if (page.lines.empty())
                Fail(page.source, "an empty page");
            if (&topic != &topics_[0] && page.lines.size() > quarvelt::HelpPageLines)
                Fail(page.lines[quarvelt::HelpPageLines].source,
                     "the page has " + std::to_string(page.lines.size()) + " lines; it holds " +
                         std::to_string(quarvelt::HelpPageLines));
        }
    }
}

std::string ContentsEntry(const std::string& title, int page, int line) {
    const std::string left = "  " + title + " ";
    std::string number = std::to_string(page);
    number = " " + std::string(number.size() < 3 ? 3 - number.size() : 0, ' ') + number;
    if (left.size() + number.size() + 3 > ContentsWidth)
        Fail(line, "the title is too long for its line in the contents");
    return left + std::string(ContentsWidth - left.size() - number.size(), '.') + number;
}

std::vector<quarvelt::HelpPageRecord> Manual::Build() const {
    // The contents' own length decides where every other topic starts.
    const Topic& contents = topics_[0];
    const size_t contentsLines = contents.pages[0].lines.size() - 1 + (topics_.size() - 1);
    const int contentsPages =
        static_cast<int>((contentsLines + quarvelt::HelpPageLines - 1) / quarvelt::HelpPageLines);
    if (contentsPages > MaxContentsPages)
        Fail(contents.source, "the contents need more than two pages");

    std::vector<int> firstPage(topics_.size());
    int next = 1 + contentsPages;
    for (size_t t = 1; t < topics_.size(); ++t) {
        firstPage[t] = next;
        next += static_cast<int>(topics_[t].pages.size());
    }
    if (next - 1 > MaxPages)
        Fail(topics_.back().source, "more pages than the reader can number");

    std::vector<Line> contentsFlow;
    for (const Line& line : contents.pages[0].lines) {
        if (!line.contents) {
            contentsFlow.push_back(line);
            continue;
        }
        for (size_t t = 1; t < topics_.size(); ++t) {
            Line entry = line;
            entry.contents = false;
            entry.text = ContentsEntry(topics_[t].title, firstPage[t], topics_[t].source);
            contentsFlow.push_back(entry);
        }
    }

    std::vector<quarvelt::HelpPageRecord> records;
    auto emit = [&](int16_t topicNo, const Page& page, size_t from, size_t to,
                    const std::vector<Line>& lines) {
        quarvelt::PageTable table;
        table.fill(page.filler);
        for (size_t k = from; k < to; ++k) {
            table[k - from] = lines[k].look;
            table[k - from].text = lines[k].text;
        }
        const auto pageNo = static_cast<int16_t>(records.size() + 1);
        records.push_back(quarvelt::MakeHelpPageRecord(pageNo, topicNo, table));
    };

    for (size_t from = 0; from < contentsFlow.size(); from += quarvelt::HelpPageLines) {
        const size_t to = std::min(contentsFlow.size(), from + quarvelt::HelpPageLines);
        emit(1, contents.pages[0], from, to, contentsFlow);
    }
    for (size_t t = 1; t < topics_.size(); ++t) {
        for (const Page& page : topics_[t].pages)
            emit(static_cast<int16_t>(t + 1), page, 0, page.lines.size(), page.lines);
    }
    return records;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quarvelt_helpgen <manual source> <game folder>\n";
        return 2;
    }
    const std::string sourcePath = argv[1];
    std::string folder = argv[2];
    if (folder.empty() || folder.back() != '/')
        folder += '/';

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::cerr << sourcePath << ": cannot be read\n";
        return 1;
    }
    std::stringstream source;
    source << in.rdbuf();

    std::vector<quarvelt::HelpPageRecord> pages;
    size_t topics = 0;
    try {
        Manual manual;
        manual.Parse(source.str());
        pages = manual.Build();
        topics = manual.TopicCount();
    } catch (const SourceError& error) {
        std::cerr << sourcePath << ":" << error.line << ": " << error.message << "\n";
        return 1;
    }

    const std::string target = folder + quarvelt::HelpManualName;
    if (auto error = platform::CreateFolder(folder)) {
        std::cerr << folder << ": " << error.description << "\n";
        return 1;
    }
    if (auto error = quarvelt::WriteHelpManual(target, pages)) {
        std::cerr << target << ": " << error.description << "\n";
        return 1;
    }
    quarvelt::HelpManualContents written;
    if (auto error = quarvelt::ReadHelpManual(target, written);
        error || written.pages.size() != pages.size() || written.trailingBytes != 0) {
        std::cerr << target << ": the manual does not read back\n";
        return 1;
    }
    std::cout << target << ": " << pages.size() << " pages in " << topics << " topics\n";
    return 0;
}
