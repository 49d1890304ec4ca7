#include "platform/qt/ansi.h"

#include <gtest/gtest.h>

#include "modal.h"

namespace {

using guitest::Utf8;
using platform::qt::FromAnsi;
using platform::qt::FromAnsiMessage;
using platform::qt::ToAnsi;

TEST(Ansi, BytesBecomeTheirWindows1252Characters) {
    EXPECT_EQ(Utf8(FromAnsi("25\xB0")), "25\u00B0");
    EXPECT_EQ(Utf8(FromAnsi("\x80 5")), "\u20AC 5");
    EXPECT_EQ(Utf8(FromAnsi("\x93Hi\x94")), "\u201CHi\u201D");
    EXPECT_EQ(Utf8(FromAnsi("\x85\x9F\xE9\xFF")), "\u2026\u0178\u00E9\u00FF");

    // The undefined bytes keep their own code points.
    QString undefined = FromAnsi("\x81\x8D\x8F\x90\x9D");
    ASSERT_EQ(undefined.size(), 5);
    EXPECT_EQ(undefined[0].unicode(), 0x81);
    EXPECT_EQ(undefined[1].unicode(), 0x8D);
    EXPECT_EQ(undefined[2].unicode(), 0x8F);
    EXPECT_EQ(undefined[3].unicode(), 0x90);
    EXPECT_EQ(undefined[4].unicode(), 0x9D);
}

TEST(Ansi, CharactersGoBackToTheirBytes) {
    EXPECT_EQ(ToAnsi(QString::fromUtf8("25\u00B0 \u20AC \u201CHi\u201D")),
              "25\xB0 \x80 \x93Hi\x94");

    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    QString text = FromAnsi(every);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToAnsi(text), every);
}

TEST(Ansi, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    // U+0080 has no byte of its own: byte 0x80 is the euro sign.
    EXPECT_EQ(ToAnsi(QString(QChar(0x80))), "?");
    EXPECT_EQ(ToAnsi(QString::fromUtf8("a\u0100b\u4E2D")), "a?b?");
    // One character outside the BMP is one '?', not one per UTF-16 unit.
    EXPECT_EQ(ToAnsi(QString::fromUtf8("x\U0001F600y")), "x?y");
}

TEST(Ansi, MessageLineBreaks) {
    EXPECT_EQ(Utf8(FromAnsiMessage("one\r\ntwo\rthree\nfour")), "one\ntwo\nthree\nfour");
    EXPECT_EQ(Utf8(FromAnsiMessage("gap\r\rafter\r")), "gap\n\nafter\n");
    EXPECT_EQ(Utf8(FromAnsiMessage("\n\r")), "\n\n");
    EXPECT_EQ(Utf8(FromAnsiMessage("\x93Go\x94\r\x80")), "\u201CGo\u201D\n\u20AC");
}

}  // namespace
