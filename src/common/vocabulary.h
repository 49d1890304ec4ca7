// Object codes, the names the windows show for them, and the numbered special
// objects that triggers, shutter links and the animation refer to.
// Codes are five upper-case characters, "_"-filled; texts are single-byte
// (Windows-1252).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarvelt {

struct SpecialObject {
    int16_t number;
    std::string_view code;
    std::string_view name;
    std::string_view color;  // empty for the bonus objects
};

// Puzzle files and link tables store these numbers, so the order is fixed:
// bonus objects, closing squares, keys, horizontal and vertical shutters,
// each group of three brown, gray, orange.
inline constexpr std::array<SpecialObject, 18> SpecialObjects{{
    {1, "DIAM_", "Diamond", ""},
    {2, "APPLE", "Apple", ""},
    {3, "FACE_", "Face", ""},
    {4, "HEART", "Heart", ""},
    {5, "MINRL", "Mineral", ""},
    {6, "PUZZL", "Puzzle", ""},
    {7, "SQRBN", "Brown Square", "BROWN"},
    {8, "SQRGR", "Gray Square", "GRAY"},
    {9, "SQROR", "Orange Square", "ORANGE"},
    {10, "KEYBN", "Brown Key", "BROWN"},
    {11, "KEYGR", "Gray Key", "GRAY"},
    {12, "KEYOR", "Orange Key", "ORANGE"},
    {13, "SHHBN", "Brown Horiz Shutter", "BROWN"},
    {14, "SHHGR", "Gray Horiz Shutter", "GRAY"},
    {15, "SHHOR", "Orange Horiz Shutter", "ORANGE"},
    {16, "SHVBN", "Brown Vert Shutter", "BROWN"},
    {17, "SHVGR", "Gray Vert Shutter", "GRAY"},
    {18, "SHVOR", "Orange Vert Shutter", "ORANGE"},
}};

constexpr int16_t SpecialObjectCount = static_cast<int16_t>(SpecialObjects.size());

// The groups of special-object numbers.
constexpr bool IsBonusObject(int16_t number) {
    return number >= 1 && number <= 6;
}
constexpr bool IsClosingSquare(int16_t number) {
    return number >= 7 && number <= 9;
}
constexpr bool IsKeyObject(int16_t number) {
    return number >= 10 && number <= 12;
}
constexpr bool IsColourShutter(int16_t number) {
    return number >= 13 && number <= 18;
}

// The families of objects that behave alike. Each question reads only the start
// of what it is given, so a picture name, which begins with its object's code,
// answers as its code does.

// The twelve mixers, horizontal ("MXH") and vertical ("MXV"): a photon that
// enters one waits there for its partner, and the pair leaves as one white photon.
constexpr bool IsMixerCode(std::string_view code) {
    return code.starts_with("MXH") || code.starts_with("MXV");
}

// The splitters ("SPL"): every step through one starts a second photon, and only
// their pictures show a second photon leaving.
constexpr bool IsSplitterCode(std::string_view code) {
    return code.starts_with("SPL");
}

// The red, blue and green splitters, which turn aside only their own colour: a
// photon wholly of that colour turns aside whole and nothing goes on straight.
constexpr bool IsColourSplitterCode(std::string_view code) {
    return code.starts_with("SPLR") || code.starts_with("SPLB") || code.starts_with("SPLG");
}

// The six filters ("FLT"), horizontal and vertical, cyan, magenta and yellow.
constexpr bool IsFilterCode(std::string_view code) {
    return code.starts_with("FLT");
}

// The seven detectors ("DET"): a photon that one takes in ends its flight there.
constexpr bool IsDetectorCode(std::string_view code) {
    return code.starts_with("DET");
}

struct ObjectDisplayName {
    std::string_view code;
    std::string_view name;
};

constexpr size_t ObjectDisplayNameCount = 121;

// Every board code with a display name, grouped by family as the tool box lists them.
std::span<const ObjectDisplayName, ObjectDisplayNameCount> AllObjectDisplayNames();

// Empty for any code outside the table: "BLANK", tool-box-only codes, wrong case or length.
std::string GetObjectDisplayName(const std::string& code);

// 1 to 18, or 0 when the code is not a special object.
int16_t GetSpecialObjNumber(const std::string& code);

// Compared by value, so 8.0 is "SQRGR" while 8.5, NaN and anything outside 1 to 18 are empty.
std::string GetSpecialObjCode(double number);

// Empty unless the code is one of the 18 special objects.
std::string GetSpecialObjName(const std::string& code);

// "BROWN", "GRAY" or "ORANGE" for 7 to 18; empty otherwise, bonus objects included.
std::string GetSpecialObjColor(int16_t number);

}  // namespace quarvelt
