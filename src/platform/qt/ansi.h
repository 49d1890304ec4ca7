// The game's text is single-byte Windows-1252; Qt's is UTF-16. These convert
// between the two at the edge of the platform layer.
#pragma once

#include <QString>
#include <string>

namespace platform::qt {

// Every byte maps to one character; the five bytes Windows-1252 leaves
// undefined keep their own code points so that no byte is lost.
QString FromAnsi(const std::string& bytes);

// A character without a Windows-1252 byte becomes '?'.
std::string ToAnsi(const QString& text);

// As FromAnsi, with CR LF, a lone CR and a lone LF each made one '\n'.
QString FromAnsiMessage(const std::string& bytes);

}  // namespace platform::qt
