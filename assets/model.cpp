#include "model.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "common/vocabulary.h"
#include "engine/entry_rules.h"
#include "engine/picture_names.h"

namespace assets {
namespace {

constexpr char Sides[] = "LRTB";
constexpr char Sizes[] = "SML";
constexpr char Colours[] = "RGBCMYW";

// Colours as sets of the three primaries.
int BitsOf(char colour) {
    switch (colour) {
        case 'R':
            return 4;
        case 'G':
            return 2;
        case 'B':
            return 1;
        case 'C':
            return 3;
        case 'M':
            return 5;
        case 'Y':
            return 6;
        case 'W':
            return 7;
        default:
            return 0;
    }
}

char ColourOfBits(int bits) {
    constexpr char ByBits[] = "_BGCRMYW";
    return bits > 0 && bits < 8 ? ByBits[bits] : '_';
}

int SizeIndex(char size) {
    const char* at = std::char_traits<char>::find(Sizes, 3, size);
    return at ? static_cast<int>(at - Sizes) : -1;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

bool ValidCode(const std::string& code) {
    return code.size() == 5 && std::all_of(code.begin(), code.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || c == '_';
           });
}

bool OnlyOf(const std::string& text, const char* allowed) {
    return text == "*" || (!text.empty() && text.find_first_not_of(allowed) == std::string::npos);
}

bool Has(const std::string& set, char c) {
    return set == "*" || set.find(c) != std::string::npos;
}

bool ParseFrames(const std::string& text, int frames[3]) {
    if (text.find(':') == std::string::npos &&
        text.find_first_not_of("0123456789") == std::string::npos) {
        const int n = std::stoi(text);
        frames[0] = frames[1] = frames[2] = n;
    } else {
        for (const auto& part : Split(text, ',')) {
            if (part.size() < 2 || SizeIndex(part[0]) < 0)
                return false;
            const std::string count = part.substr(1);
            if (count.empty() || count.find_first_not_of("0123456789") != std::string::npos)
                return false;
            frames[SizeIndex(part[0])] = std::stoi(count);
        }
    }
    return std::all_of(frames, frames + 3, [](int n) { return n >= 1 && n <= 99; });
}

bool ParsePhoton(const std::string& text, PhotonRule& photon) {
    photon = {};
    if (text == "-")
        return true;
    const auto parts = Split(text, '/');
    if (parts.size() != 3 || parts[0].size() != 1)
        return false;
    photon.none = false;
    photon.size = parts[0][0];
    if (photon.size != '=' && photon.size != '+' && photon.size != '-' &&
        SizeIndex(photon.size) < 0)
        return false;
    photon.colour = parts[1];
    const std::string& c = photon.colour;
    const bool colourOk = c == "=" || (c.size() == 1 && BitsOf(c[0])) ||
                          (c.size() == 2 && (c[0] == '&' || c[0] == '-') && BitsOf(c[1]));
    photon.direction = parts[2];
    const std::string& d = photon.direction;
    const bool directionOk = d == "fwd" || d == "left" || d == "right" ||
                             (d.size() == 1 && std::string(Sides).find(d[0]) != std::string::npos);
    return colourOk && directionOk;
}

std::string DirectionWord(char direction) {
    switch (direction) {
        case 'L':
            return "left";
        case 'R':
            return "right";
        case 'T':
            return "up";
        case 'B':
            return "down";
        default:
            return "?";
    }
}

std::string SideWord(char side) {
    switch (side) {
        case 'L':
            return "the left";
        case 'R':
            return "the right";
        case 'T':
            return "the top";
        case 'B':
            return "the bottom";
        default:
            return "?";
    }
}

std::string PhotonWords(const Photon& p) {
    return SizeWord(p.size) + " " + ColourWord(p.colour) + " travelling " +
           DirectionWord(p.direction);
}

std::string Tail(const Photon& p) {
    return p.None() ? "___" : std::string{p.size, p.colour, p.direction};
}

}  // namespace

// A photon entering through one side travels toward the opposite one.
char TravelOfEntrySide(char entrySide) {
    return quarvelt::EntrySideOf(std::string(1, entrySide));
}

char TurnLeft(char travel) {
    switch (travel) {
        case 'R':
            return 'T';
        case 'L':
            return 'B';
        case 'T':
            return 'L';
        case 'B':
            return 'R';
        default:
            return '_';
    }
}

char TurnRight(char travel) {
    switch (travel) {
        case 'R':
            return 'B';
        case 'L':
            return 'T';
        case 'T':
            return 'R';
        case 'B':
            return 'L';
        default:
            return '_';
    }
}

Photon ApplyPhotonRule(const PhotonRule& rule, char inSize, char inColour, char entrySide) {
    Photon out;
    if (rule.none)
        return out;
    const int size = SizeIndex(inSize);
    switch (rule.size) {
        case '=':
            out.size = inSize;
            break;
        case '+':
            out.size = Sizes[std::min(size + 1, 2)];
            break;
        case '-':
            out.size = Sizes[std::max(size - 1, 0)];
            break;
        default:
            out.size = rule.size;
    }
    const std::string& c = rule.colour;
    if (c == "=")
        out.colour = inColour;
    else if (c[0] == '&')
        out.colour = ColourOfBits(BitsOf(inColour) & BitsOf(c[1]));
    else if (c[0] == '-')
        out.colour = ColourOfBits(BitsOf(inColour) & ~BitsOf(c[1]));
    else
        out.colour = c[0];
    const char travel = TravelOfEntrySide(entrySide);
    const std::string& d = rule.direction;
    out.direction = d == "fwd"     ? travel
                    : d == "left"  ? TurnLeft(travel)
                    : d == "right" ? TurnRight(travel)
                                   : d[0];
    if (out.colour == '_')
        out = {};  // nothing of the photon got through
    return out;
}

bool ParseObjects(const std::string& text, std::vector<ObjectEntry>& objects, std::string& error) {
    objects.clear();
    std::set<std::string> codes, tools;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const auto f = Fields(line);
        if (f.empty())
            continue;
        const std::string where = "objects line " + std::to_string(number) + ": ";
        if (f.size() < 4 || f.size() > 5)
            return error = where + "expected 4 or 5 fields", false;
        ObjectEntry entry;
        entry.line = number;
        entry.code = f[0];
        if (!ValidCode(entry.code) || !codes.insert(entry.code).second)
            return error = where + "bad or repeated code " + f[0], false;
        if (f[1] != "-") {
            if (!ValidCode(f[1]) || !tools.insert(f[1]).second)
                return error = where + "bad or repeated tool " + f[1], false;
            if (f[2].size() != 1 || f[2][0] < '0' || f[2][0] > '5')
                return error = where + "group must be 0 to 5", false;
            entry.toolCode = f[1];
            entry.group = f[2][0] - '0';
        } else if (f[2] != "-") {
            return error = where + "an object without a tool has no group", false;
        }
        const auto range = Split(f[3], '-');
        if (range.empty() || range.size() > 2 || range[0].size() != 2 || range.back().size() != 2)
            return error = where + "resting frames are 00 or 00-04", false;
        const int first = std::stoi(range[0]), last = std::stoi(range.back());
        if (first != 0 || last < first)
            return error = where + "resting frames start at 00", false;
        for (int i = first; i <= last; ++i)
            entry.restingFrames.push_back(i);
        if (f.size() == 5) {
            if (f[4] != "emission")
                return error = where + "unknown note " + f[4], false;
            entry.emission = true;
        }
        objects.push_back(entry);
    }
    if (objects.empty())
        return error = "objects: no object", false;
    return true;
}

bool ParseRules(const std::string& text, std::vector<Rule>& rules, std::string& error) {
    rules.clear();
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const auto f = Fields(line);
        if (f.empty())
            continue;
        const std::string where = "rules line " + std::to_string(number) + ": ";
        if (f.size() != 7)
            return error = where + "expected 7 fields", false;
        Rule rule;
        rule.line = number;
        rule.codes = Split(f[0], ',');
        for (const auto& code : rule.codes)
            if (!ValidCode(code))
                return error = where + "bad code " + code, false;
        rule.sides = f[1];
        rule.sizes = f[2];
        rule.colours = f[3];
        if (!OnlyOf(rule.sides, Sides) || !OnlyOf(rule.sizes, Sizes) ||
            !OnlyOf(rule.colours, Colours))
            return error = where + "bad sides, sizes or colours", false;
        if (!ParsePhoton(f[4], rule.photon1) || !ParsePhoton(f[5], rule.photon2))
            return error = where + "bad photon", false;
        if (!ParseFrames(f[6], rule.frames))
            return error = where + "bad frames", false;
        rules.push_back(rule);
    }
    return true;
}

bool ExpandPictures(const std::vector<ObjectEntry>& objects, const std::vector<Rule>& rules,
                    std::vector<Picture>& pictures, std::string& error) {
    pictures.clear();
    std::map<std::string, std::vector<const Rule*>> rulesByCode;
    std::set<std::string> known;
    for (const auto& object : objects)
        known.insert(object.code);
    for (const auto& rule : rules)
        for (const auto& code : rule.codes) {
            if (!known.count(code))
                return error =
                           "rules line " + std::to_string(rule.line) + ": unknown object " + code,
                       false;
            rulesByCode[code].push_back(&rule);
        }

    // The blank comes first: record 1 of the index is its resting picture.
    std::vector<const ObjectEntry*> boardOrder;
    for (const auto& object : objects)
        if (object.code == "BLANK")
            boardOrder.push_back(&object);
    if (boardOrder.empty())
        return error = "objects: the blank is missing", false;
    for (const auto& object : objects)
        if (object.code != "BLANK")
            boardOrder.push_back(&object);

    const std::string restTail(15, '_');
    for (const ObjectEntry* object : boardOrder) {
        for (int frame : object->restingFrames) {
            Picture p;
            p.code = object->code;
            p.name = quarvelt::FrameImageName(object->code + restTail, frame);
            p.state = frame;
            p.behaviour = "resting, frame " + std::to_string(frame);
            pictures.push_back(p);
        }
        if (object->emission) {
            for (int frame = 0; frame <= 5; ++frame) {
                Picture p;
                p.code = object->code;
                p.name = quarvelt::FrameImageName(object->code + "_________MWR___", frame);
                p.emission = true;
                p.state = frame;
                p.out1 = {'M', 'W', 'R'};
                p.behaviour = frame < 5 ? "emits a medium white photon travelling right, frame " +
                                              std::to_string(frame)
                                        : "lit, the photon gone";
                pictures.push_back(p);
            }
        }
        const auto& candidates = rulesByCode[object->code];
        for (char side : std::string(Sides)) {
            const char travel = TravelOfEntrySide(side);
            for (char size : std::string(Sizes)) {
                for (char colour : std::string(Colours)) {
                    const std::string refusal =
                        quarvelt::CheckPhotonEntry(object->code, std::string(1, colour),
                                                   std::string(1, size), std::string(1, travel));
                    if (!refusal.empty())
                        continue;
                    const Rule* rule = nullptr;
                    for (const Rule* r : candidates)
                        if (Has(r->sides, side) && Has(r->sizes, size) && Has(r->colours, colour)) {
                            rule = r;
                            break;
                        }
                    const std::string situation = object->code + " " + size + colour + side;
                    if (!rule)
                        return error = "no rule for the admitted situation " + situation, false;
                    const Photon out1 = ApplyPhotonRule(rule->photon1, size, colour, side);
                    const Photon out2 = ApplyPhotonRule(rule->photon2, size, colour, side);
                    if (!out2.None() && !quarvelt::IsSplitterCode(object->code))
                        return error = "rules line " + std::to_string(rule->line) +
                                       ": only splitters have a second photon",
                               false;
                    const std::string stem =
                        object->code + size + colour + side + "______" + Tail(out1) + Tail(out2);
                    std::string words = SizeWord(size) + " " + ColourWord(colour) +
                                        " photon in from " + SideWord(side);
                    if (out1.None() && out2.None())
                        words += "; stops here";
                    if (!out1.None())
                        words += "; leaves " + PhotonWords(out1);
                    if (!out2.None())
                        words += "; splits off " + PhotonWords(out2);
                    const int frames = rule->frames[SizeIndex(size)];
                    for (int frame = 1; frame <= frames; ++frame) {
                        Picture p;
                        p.code = object->code;
                        p.name = quarvelt::FrameImageName(stem, frame);
                        p.entrySide = side;
                        p.inSize = size;
                        p.inColour = colour;
                        p.out1 = out1;
                        p.out2 = out2;
                        p.frame = frame;
                        p.frames = frames;
                        p.behaviour = words + "; frame " + std::to_string(frame) + " of " +
                                      std::to_string(frames);
                        pictures.push_back(p);
                    }
                }
            }
        }
    }

    for (const auto& object : objects) {
        if (object.toolCode.empty())
            continue;
        for (bool down : {false, true}) {
            Picture p;
            p.tool = true;
            p.code = object.code;
            p.toolCode = object.toolCode;
            p.down = down;
            p.name = object.toolCode + (down ? "_D.BMP" : "_U.BMP");
            p.behaviour = std::string("tool-box picture, group ") + std::to_string(object.group) +
                          (down ? ", pressed" : ", raised");
            pictures.push_back(p);
        }
    }
    if (pictures.size() > 32767)
        return error = "more than 32767 pictures", false;
    return true;
}

std::string SizeWord(char size) {
    switch (size) {
        case 'S':
            return "small";
        case 'M':
            return "medium";
        case 'L':
            return "large";
        default:
            return "?";
    }
}

std::string ColourWord(char colour) {
    switch (colour) {
        case 'R':
            return "red";
        case 'G':
            return "green";
        case 'B':
            return "blue";
        case 'C':
            return "cyan";
        case 'M':
            return "magenta";
        case 'Y':
            return "yellow";
        case 'W':
            return "white";
        default:
            return "?";
    }
}

}  // namespace assets
