// Converts the readable help manual (assets/help/manual.txt, whose opening
// comment describes the format) into "QUARVELT.HLP" through the game's own
// record writer. Every limit of the help windows is checked here, so a manual
// that builds is one the reader can show: 25 lines of at most 80 characters a
// page, fonts the desktop has, pages numbered 1 to N, topics in runs, and the
// contents on page 1 (and 2) pointing at the first page of every topic.
//
// The pages that say what each object does to a photon are written here from
// the picture set's own tables (objects.txt, rules.txt) and the engine's entry
// rules, so the manual says what the game does and cannot drift from it.
//
// Usage: quarvelt_helpgen <manual source> <game folder> [<objects table> <rules table>]
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/vocabulary.h"
#include "engine/entry_rules.h"
#include "help/help_file.h"
#include "model.h"
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

// ---- The object pages ----------------------------------------------------

constexpr char PhotonSides[] = "LRTB";
constexpr char PhotonSizes[] = "SML";
constexpr char PhotonColours[] = "RGBCMYW";
constexpr size_t PhysicsWidth = 78;

// The compile's own stop for a step that leaves no photon where one must go on:
// a photon running into a wall from inside its cell, or a splitter that has
// nothing to split off.
constexpr const char* NoColourStop = "ERROR:  NO COLOR INFROMATION FOUND!";
// Every refusal of the entry rules opens with this line and an empty one.
constexpr std::string_view RefusalHead = "ERROR: INVALIED USE!\r\r";

using assets::ColourWord;
using assets::SizeWord;

std::string SideWord(char side) {
    switch (side) {
        case 'L':
            return "the left";
        case 'R':
            return "the right";
        case 'T':
            return "above";
        default:
            return "below";
    }
}

// What a photon leaving the cell does, as a verb phrase.
std::string TravelWords(const std::string& direction) {
    if (direction == "fwd")
        return "goes straight on";
    if (direction == "left")
        return "is turned to its left";
    if (direction == "right")
        return "is turned to its right";
    if (direction == "T")
        return "leaves upwards";
    if (direction == "B")
        return "leaves downwards";
    if (direction == "L")
        return "leaves to the left";
    return "leaves to the right";
}

std::string Join(const std::vector<std::string>& words, const std::string& last) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += i + 1 == words.size() ? " " + last + " " : ", ";
        text += words[i];
    }
    return text;
}

template <typename Word>
std::vector<std::string> WordsOf(const std::string& letters, Word word) {
    std::vector<std::string> words;
    for (char c : letters)
        words.push_back(word(c));
    return words;
}

// A set of entering photons: entry sides, sizes and colours, each as letters.
struct Clause {
    std::string sides, sizes, colours;
};

std::string ColourSet(const std::string& colours) {
    if (colours.size() == 7)
        return "any colour";
    if (colours.size() >= 5) {
        std::string missing;
        for (char c : std::string(PhotonColours))
            if (colours.find(c) == std::string::npos)
                missing += c;
        return "any colour but " + Join(WordsOf(missing, ColourWord), "and");
    }
    return Join(WordsOf(colours, ColourWord), "or");
}

std::string Where(const Clause& clause) {
    const std::string sides = clause.sides.size() == 4
                                  ? "from any side"
                                  : "in from " + Join(WordsOf(clause.sides, SideWord), "or");
    const std::string sizes =
        clause.sizes.size() == 3 ? "any size" : Join(WordsOf(clause.sizes, SizeWord), "or");
    return sides + ", " + sizes + ", " + ColourSet(clause.colours);
}

// Words of `text` over lines of at most PhysicsWidth characters; a line breaks
// only at a single blank, so the doubled blanks of the game's texts stay whole.
std::vector<std::string> Wrap(const std::string& text, size_t firstIndent, size_t nextIndent,
                              int sourceLine) {
    std::vector<std::string> lines;
    std::string rest = text;
    size_t indent = firstIndent;
    while (indent + rest.size() > PhysicsWidth) {
        size_t cut = std::string::npos;
        for (size_t i = PhysicsWidth - indent; i > 0; --i) {
            if (rest[i] == ' ' && rest[i - 1] != ' ' && i + 1 < rest.size() && rest[i + 1] != ' ') {
                cut = i;
                break;
            }
        }
        if (cut == std::string::npos)
            Fail(sourceLine, "an object's text has a word too long for a page line");
        lines.push_back(std::string(indent, ' ') + rest.substr(0, cut));
        rest = rest.substr(cut + 1);
        indent = nextIndent;
    }
    lines.push_back(std::string(indent, ' ') + rest);
    return lines;
}

struct EnteringPhoton {
    char side, size, colour;
};

// The entering photons of one outcome, described as few clauses: per side the
// sizes and colours (one clause when they form a full table), then sides with
// the same sizes and colours together.
std::vector<Clause> ClausesOf(const std::vector<EnteringPhoton>& photons) {
    std::vector<Clause> perSide;
    for (char side : std::string(PhotonSides)) {
        std::map<char, std::string> bySize;
        for (const EnteringPhoton& photon : photons)
            if (photon.side == side)
                bySize[photon.size] += photon.colour;
        if (bySize.empty())
            continue;
        std::string sizes;
        bool table = true;
        for (char size : std::string(PhotonSizes)) {
            if (!bySize.count(size))
                continue;
            sizes += size;
            table = table && bySize[size] == bySize.begin()->second;
        }
        if (table) {
            perSide.push_back({std::string(1, side), sizes, bySize.begin()->second});
            continue;
        }
        for (char size : sizes)
            perSide.push_back({std::string(1, side), std::string(1, size), bySize[size]});
    }
    std::vector<Clause> merged;
    for (const Clause& clause : perSide) {
        auto same = std::find_if(merged.begin(), merged.end(), [&](const Clause& m) {
            return m.sizes == clause.sizes && m.colours == clause.colours;
        });
        if (same == merged.end())
            merged.push_back(clause);
        else
            same->sides += clause.sides;
    }
    return merged;
}

// The colours a rule changes, for the photons of `colours`: "white turns cyan, ...".
std::string ColourChanges(const assets::PhotonRule& rule, const std::string& colours) {
    std::vector<std::string> changes;
    bool unchanged = false;
    for (char colour : colours) {
        const assets::Photon out = assets::ApplyPhotonRule(rule, 'M', colour, 'L');
        if (out.colour == colour)
            unchanged = true;
        else
            changes.push_back(ColourWord(colour) + " turns " + ColourWord(out.colour));
    }
    if (changes.empty())
        return "";
    return Join(changes, "and") + (unchanged ? ", the others stay as they are" : "");
}

std::string SizeChange(const assets::PhotonRule& rule) {
    switch (rule.size) {
        case '=':
            return "";
        case '+':
            return "one size larger";
        case '-':
            return "one size smaller";
        default:
            return "made " + SizeWord(rule.size);
    }
}

// What becomes of the entering photons of `clause` under `rule` in the object `code`.
std::string Effect(const std::string& code, const assets::Rule& rule, const Clause& clause) {
    const assets::PhotonRule& first = rule.photon1;
    const assets::PhotonRule& second = rule.photon2;
    const bool splitter = quarvelt::IsSplitterCode(code);
    if (quarvelt::IsMixerCode(code)) {
        char primary = 'W';
        for (char c : clause.colours)
            if (std::string("RGB").find(c) != std::string::npos)
                primary = c;
        return "it waits there for its partner; the pair then " + TravelWords(first.direction) +
               " as one white photon with the size of the " + ColourWord(primary) + " one";
    }
    if (first.none && second.none) {
        if (quarvelt::IsDetectorCode(code))
            return "it is taken in, and its flight ends here";
        return std::string("it stops in the cell, and the run stops with \"") + NoColourStop + "\"";
    }
    // Every splitter's step starts a photon; without one the compile stops.
    if (splitter && second.none)
        return std::string("there is nothing to split off, and the run stops with \"") +
               NoColourStop + "\"";
    std::string text;
    if (first.none) {
        text = "it " + TravelWords(second.direction) +
               " as a whole and goes on as a new photon; nothing goes on straight";
    } else {
        text = "it " + TravelWords(first.direction);
        std::vector<std::string> details;
        if (const std::string size = SizeChange(first); !size.empty())
            details.push_back(size);
        if (const std::string colours = ColourChanges(first, clause.colours); !colours.empty())
            details.push_back(colours);
        if (details.empty() && second.none)
            details.push_back("unchanged");
        for (const std::string& detail : details)
            text += ", " + detail;
    }
    if (!first.none && !second.none) {
        std::string copy = "a copy";
        if (second.colour.size() == 1 && second.colour != "=")
            copy = "a " + ColourWord(second.colour[0]) + " photon";
        text += "; " + copy + " " + TravelWords(second.direction);
        if (const std::string size = SizeChange(second); !size.empty())
            text += ", " + size;
    }
    if (rule.frames[0] > 3)
        text += ", after a pause";
    return text;
}

class Physics {
  public:
    void Load(const std::string& objectsText, const std::string& rulesText) {
        std::string error;
        if (!assets::ParseObjects(objectsText, objects_, error) ||
            !assets::ParseRules(rulesText, rules_, error))
            Fail(0, error);
        for (const auto& object : objects_)
            known_.insert(object.code);
    }
    bool Loaded() const { return !objects_.empty(); }

    struct Block {
        std::vector<std::string> header;  // the objects' names and codes
        std::vector<std::string> lines;   // what they do to each entering photon
    };

    // The blocks of `codes`: objects that act alike in every way share one.
    std::vector<Block> Describe(const std::vector<std::string>& codes, int line) const {
        std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> groups;
        for (const std::string& code : codes) {
            if (!known_.count(code))
                Fail(line, "no object " + code + " in the objects table");
            const std::vector<std::string> behaviour = Behaviour(code, line);
            auto same = std::find_if(groups.begin(), groups.end(),
                                     [&](const auto& group) { return group.second == behaviour; });
            if (same == groups.end())
                groups.push_back({{code}, behaviour});
            else
                same->first.push_back(code);
        }
        std::vector<Block> blocks;
        for (const auto& [group, behaviour] : groups)
            blocks.push_back({Header(group, line), behaviour});
        return blocks;
    }

  private:
    const assets::Rule* RuleFor(const std::string& code, char side, char size, char colour) const {
        const auto has = [](const std::string& set, char c) {
            return set == "*" || set.find(c) != std::string::npos;
        };
        for (const assets::Rule& rule : rules_)
            if (std::find(rule.codes.begin(), rule.codes.end(), code) != rule.codes.end() &&
                has(rule.sides, side) && has(rule.sizes, size) && has(rule.colours, colour))
                return &rule;
        return nullptr;
    }

    std::vector<std::string> Behaviour(const std::string& code, int line) const {
        // Outcomes in the order met: a rule admitted, or a refusal's words.
        std::vector<std::string> order;
        std::map<std::string, std::vector<EnteringPhoton>> photons;
        std::map<std::string, const assets::Rule*> ruleOf;
        for (char side : std::string(PhotonSides)) {
            const std::string travel(1, assets::TravelOfEntrySide(side));
            for (char size : std::string(PhotonSizes)) {
                for (char colour : std::string(PhotonColours)) {
                    std::string refusal = quarvelt::CheckPhotonEntry(code, std::string(1, colour),
                                                                     std::string(1, size), travel);
                    std::string key;
                    if (refusal.empty()) {
                        const assets::Rule* rule = RuleFor(code, side, size, colour);
                        if (!rule)
                            Fail(line, "the rules table has no line for " + code +
                                           " entered from " + SideWord(side));
                        key = "A" + std::to_string(rule->line);
                        ruleOf[key] = rule;
                    } else {
                        if (refusal.starts_with(RefusalHead))
                            refusal.erase(0, RefusalHead.size());
                        std::replace(refusal.begin(), refusal.end(), '\r', ' ');
                        key = "R" + refusal;
                    }
                    if (!photons.count(key))
                        order.push_back(key);
                    photons[key].push_back({side, size, colour});
                }
            }
        }
        std::stable_partition(order.begin(), order.end(),
                              [](const std::string& key) { return key[0] == 'A'; });
        std::vector<std::string> lines;
        for (const std::string& key : order) {
            for (const Clause& clause : ClausesOf(photons[key])) {
                const std::string what = key[0] == 'A' ? Effect(code, *ruleOf[key], clause)
                                                       : "refused, \"" + key.substr(1) + "\"";
                const auto wrapped = Wrap(Where(clause) + ": " + what, 2, 6, line);
                lines.insert(lines.end(), wrapped.begin(), wrapped.end());
            }
        }
        return lines;
    }

    // "Name (CODE)" for every object of a block, objects of one name together.
    static std::vector<std::string> Header(const std::vector<std::string>& codes, int line) {
        std::vector<std::pair<std::string, std::string>> named;
        for (const std::string& code : codes) {
            std::string name = quarvelt::GetObjectDisplayName(code);
            if (name.empty())
                name = code == "BLANK" ? "The blank, an empty cell" : code;
            auto same = std::find_if(named.begin(), named.end(),
                                     [&](const auto& entry) { return entry.first == name; });
            if (same == named.end())
                named.push_back({name, code});
            else
                same->second += ", " + code;
        }
        std::vector<std::string> lines;
        std::string current;
        for (const auto& [name, list] : named) {
            const std::string entry = name + " (" + list + ")";
            if (entry.size() > PhysicsWidth)
                Fail(line, "an object's name is too long for a page line");
            if (!current.empty() && current.size() + 3 + entry.size() > PhysicsWidth) {
                lines.push_back(current + ";");
                current.clear();
            }
            current += (current.empty() ? "" : ";  ") + entry;
        }
        lines.push_back(current);
        return lines;
    }

    std::vector<assets::ObjectEntry> objects_;
    std::vector<assets::Rule> rules_;
    std::set<std::string> known_;
};

class Manual {
  public:
    explicit Manual(const Physics& physics) : physics_(physics) {}
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
    void AddPhysics(const std::string& settings, int line);

    const Physics& physics_;
    std::map<std::string, PageLine> styles_{{"body", PageLine{}}};
    std::vector<Topic> topics_;
    bool haveContents_ = false;
};

// "@physics STYLE CODE,CODE,...": the objects' blocks, each header in STYLE. A
// block that does not fit on the page starts the topic's next page, under the
// page's first line (its title) again.
void Manual::AddPhysics(const std::string& settings, int line) {
    if (!physics_.Loaded())
        Fail(line, "@physics needs the objects and rules tables (see the usage)");
    if (topics_.size() < 2)
        Fail(line, "@physics belongs to a topic after the contents");
    const auto space = settings.find(' ');
    const std::string style = settings.substr(0, space);
    if (!styles_.count(style))
        Fail(line, "@physics names its header style first; \"" + style + "\" is none");
    std::vector<std::string> codes;
    std::istringstream list(space == std::string::npos ? "" : settings.substr(space + 1));
    for (std::string code; std::getline(list, code, ',');)
        if (!Trim(code).empty())
            codes.push_back(Trim(code));
    if (codes.empty())
        Fail(line, "@physics names no object");

    const PageLine body = styles_.at("body");
    for (const Physics::Block& block : physics_.Describe(codes, line)) {
        const size_t need = block.header.size() + block.lines.size();
        if (need + 1 > quarvelt::HelpPageLines)
            Fail(line, "an object's block is longer than a page");
        Page* page = &CurrentPage(line);
        // Blank lines at a page's end only space out the source.
        size_t used = page->lines.size();
        while (used > 0 && page->lines[used - 1].text.empty() && !page->lines[used - 1].contents &&
               SameLook(page->lines[used - 1].look, page->filler))
            --used;
        if (used + need > quarvelt::HelpPageLines) {
            if (page->lines.empty())
                Fail(line, "an object's block is longer than a page");
            const Line title = page->lines.front();
            StartPage(line);
            page = &CurrentPage(line);
            page->lines.push_back(title);
        } else if (page->lines.size() + need > quarvelt::HelpPageLines) {
            page->lines.resize(used);
        }
        for (const std::string& text : block.header)
            page->lines.push_back({line, text, styles_.at(style), false});
        for (const std::string& text : block.lines)
            page->lines.push_back({line, text, body, false});
    }
}

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
            } else if (directive == "@physics") {
                AddPhysics(rest, line);
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
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: quarvelt_helpgen <manual source> <game folder> [<objects table> "
                     "<rules table>]\n";
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

    Physics physics;
    if (argc == 5) {
        std::string tables[2];
        for (int i = 0; i < 2; ++i) {
            std::ifstream table(argv[3 + i], std::ios::binary);
            if (!table) {
                std::cerr << argv[3 + i] << ": cannot be read\n";
                return 1;
            }
            std::stringstream text;
            text << table.rdbuf();
            tables[i] = text.str();
        }
        try {
            physics.Load(tables[0], tables[1]);
        } catch (const SourceError& error) {
            std::cerr << argv[3] << ", " << argv[4] << ": " << error.message << "\n";
            return 1;
        }
    }

    std::vector<quarvelt::HelpPageRecord> pages;
    size_t topics = 0;
    try {
        Manual manual(physics);
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
