#include "platform/qt/ansi.h"

#include <QList>
#include <array>

namespace platform::qt {
namespace {

// Bytes 0x80-0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

QChar CharOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(byte);
}

// The byte of a code point, or -1 when the code page has none.
int ByteOfCodePoint(uint code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<int>(code);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == code)
            return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace

QString FromAnsi(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        text.append(CharOfByte(static_cast<unsigned char>(c)));
    return text;
}

std::string ToAnsi(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    // Code points, not UTF-16 units: a character outside the BMP is one '?', not two.
    for (uint code : text.toUcs4()) {
        int byte = ByteOfCodePoint(code);
        bytes += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return bytes;
}

QString FromAnsiMessage(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            text.append(QChar('\n'));
        } else {
            text.append(CharOfByte(byte));
        }
    }
    return text;
}

}  // namespace platform::qt
