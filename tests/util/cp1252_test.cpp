#include "util/cp1252.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(CodePage1252, RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage1252, ConvertsSpanishTextAndTheEuro) {
  EXPECT_EQ(Utf8ToCp1252("Ñandú €"),
            "\xD1"
            "and\xFA \x80");
  EXPECT_EQ(Cp1252ToUtf8("\xD1"
                         "and\xFA \x80"),
            "Ñandú €");
}

TEST(CodePage1252, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x86\x92"
                         "b"),
            "a?b");                                  // U+2192 arrow
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // an emoji
  EXPECT_EQ(Utf8ToCp1252("x\xC3"), "x?");            // cut sequence
  EXPECT_EQ(Utf8ToCp1252("\xFFy"), "?y");            // not UTF-8 at all
}

TEST(CodePage1252, Latin1IsReadByteForByte) { EXPECT_EQ(Latin1ToUtf8("\xE1\x80"), "á\xC2\x80"); }

}  // namespace
}  // namespace tv
