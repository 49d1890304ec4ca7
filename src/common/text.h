// Text helpers with the game's own rules: only blanks are trimmed, only the
// letters a to z change case, and numbers are read from the front of a text.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

std::string UpperCase(std::string text);
// Without blanks at either end (tabs and NULs stay).
std::string TrimBlanks(const std::string& text);
// The number at the start of a text: leading blanks, a sign, digits, a
// decimal part and an exponent; 0 when there is none ("0A" is 0, " 7" is 7,
// "1e9" is 1000000000).
double LeadingNumber(const std::string& text);
// The whole text as a number: optional blanks, an optional sign, digits with an
// optional decimal part and exponent, optional blanks. False for anything else.
bool ParseNumber(const std::string& text, double& value);
// Rounded to a whole number, halves to the even neighbour.
double RoundHalfEven(double value);
// A caption read as a number: the number its text begins with, rounded, held
// within the 16-bit range.
int16_t CaptionNumber(const std::string& text);
// A name that cannot leave its folder or name a device: no '/', '\\', "..", ':'
// or control characters. Names come from files that may be hostile.
bool IsPlainFileName(const std::string& name);

}  // namespace quarvelt
