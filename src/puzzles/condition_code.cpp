#include "puzzles/condition_code.h"

#include <array>
#include <string_view>

#include "common/text.h"

namespace quarvelt {

namespace {

struct Word {
    std::string_view code;
    std::string_view text;
};

// Each table in the order of its choice list.
constexpr std::array<Word, 8> Colors{{{"A", "Any Color"},
                                      {"R", "Red"},
                                      {"B", "Blue"},
                                      {"G", "Green"},
                                      {"Y", "Yellow"},
                                      {"C", "Cyan"},
                                      {"M", "Magenta"},
                                      {"W", "White"}}};
constexpr std::array<Word, 7> Sizes{{{"L", "Large"},
                                     {"M", "Medium"},
                                     {"S", "Small"},
                                     {">", "Larger"},
                                     {"<", "Smaller"},
                                     {"=", "Same Size"},
                                     {"A", "Any Size"}}};
constexpr std::array<Word, 8> Detectors{{{"Da", "Any Det."},
                                         {"Dr", "Red Det."},
                                         {"Db", "Blue Det."},
                                         {"Dg", "Green Det."},
                                         {"Dw", "White Det."},
                                         {"Dm", "Magenta Det."},
                                         {"Dy", "Yellow Det."},
                                         {"Dc", "Cyan Det."}}};
constexpr std::array<Word, 4> Times{
    {{"Tn", "NONE"}, {"Tg", "Greater"}, {"Tl", "Less"}, {"Te", "Nearly Equal"}}};

template <size_t N>
std::string TextOf(const std::array<Word, N>& words, const std::string& code) {
    for (const Word& word : words)
        if (word.code == code)
            return std::string(word.text);
    return {};
}

template <size_t N>
std::string CodeOf(const std::array<Word, N>& words, const std::string& entry,
                   const char* nothing) {
    const std::string text = TrimBlanks(entry);
    for (const Word& word : words)
        if (word.text == text)
            return std::string(word.code);
    return nothing;
}

template <size_t N>
std::vector<std::string> EntriesOf(const std::array<Word, N>& words, bool withNone) {
    std::vector<std::string> entries;
    if (withNone)
        entries.emplace_back(NoneEntry);
    for (const Word& word : words)
        entries.emplace_back(word.text);
    return entries;
}

}  // namespace

std::string GetPhotonColor(const std::string& letter) {
    return TextOf(Colors, letter);
}

std::string GetPhotonSize(const std::string& letter) {
    return TextOf(Sizes, letter);
}

std::string GetDetColor(const std::string& pair) {
    return TextOf(Detectors, pair);
}

std::string GetTimeRequirement(const std::string& pair) {
    return TextOf(Times, pair);
}

std::vector<std::string> ColorEntries(bool withNone) {
    return EntriesOf(Colors, withNone);
}

std::vector<std::string> SizeEntries(bool withNone) {
    return EntriesOf(Sizes, withNone);
}

std::vector<std::string> DetEntries(bool withNone) {
    return EntriesOf(Detectors, withNone);
}

char PhotonColorCode(const std::string& entry) {
    return CodeOf(Colors, entry, "_").front();
}

char PhotonSizeCode(const std::string& entry) {
    return CodeOf(Sizes, entry, "_").front();
}

std::string DetectorCode(const std::string& entry) {
    return CodeOf(Detectors, entry, "__");
}

std::string PhotonBlock(int photon, const std::string& color, const std::string& size,
                        const std::string& detector) {
    std::string block = "P" + std::to_string(photon + 1);
    block += PhotonColorCode(color);
    block += PhotonSizeCode(size);
    return block + DetectorCode(detector) + "Tn";
}

bool ReadPointsTally(const std::string& text, int16_t& points) {
    double value = 0;
    if (!ParseNumber(text, value))
        return false;
    // Judged as a number before it is narrowed, so nothing can wrap around.
    value = RoundHalfEven(value);
    if (!(value >= 0 && value <= MaxCondPoints))
        return false;
    points = static_cast<int16_t>(value);
    return true;
}

std::string TallyField(int16_t points) {
    std::string digits = std::to_string(points);
    if (digits.size() < CondPointsWidth)
        digits.insert(0, CondPointsWidth - digits.size(), '0');
    return "Ta" + digits;
}

std::string CondNumberText(int number) {
    return {static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10)};
}

}  // namespace quarvelt
