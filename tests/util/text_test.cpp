#include "util/text.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct Case {
  const char* function;
  std::string input;
  long n;
  std::string expected;
};

std::string Apply(const Case& c) {
  const std::string f = c.function;
  if (f == "AllTrim") return AllTrim(c.input);
  if (f == "LTrim") return LTrim(c.input);
  if (f == "RTrim") return RTrim(c.input);
  if (f == "LeftPart") return LeftPart(c.input, c.n);
  if (f == "RightPart") return RightPart(c.input, c.n);
  if (f == "Capitals") return Capitals(c.input);
  if (f == "InitialsAfter") return InitialsAfter(c.input);
  ADD_FAILURE() << "unknown function " << f;
  return {};
}

TEST(TextUtilities, WorkedExamples) {
  // Accented letters are code page 1252 bytes: \xE1 á, \xF3 ó, \xC1 Á.
  const Case cases[] = {
      {"AllTrim", "  Lengua  Castellana  ", 0, "Lengua  Castellana"},
      {"AllTrim", "\t\t", 0, "\t\t"},
      {"AllTrim", "   ", 0, ""},
      {"AllTrim", "\xA0x\xA0", 0, "\xA0x\xA0"},
      {"LTrim", "  a b ", 0, "a b "},
      {"RTrim", "  a b ", 0, "  a b"},
      {"RTrim", "", 0, ""},
      {"LeftPart", "ABCDEF", 6, "ABCDEF"},
      {"LeftPart", "ABCDEF", 9, "ABCDEF"},
      {"LeftPart", "ABCDEF", 2, "AB"},
      {"LeftPart", "ABCDEF", 0, ""},
      {"LeftPart", "ABCDEF", -3, ""},
      {"RightPart", "ABCDEF", 2, "EF"},
      {"RightPart", "AB", 2, "AB"},
      {"RightPart", "ABCDEF", 0, ""},
      {"RightPart", "ABCDEF", -1, ""},
      {"Capitals", "Educaci\xF3n F\xEDsica", 0, "EF"},
      {"Capitals", "\xC1LGEBRA", 0, "LGEBRA"},
      {"Capitals", "lengua", 0, ""},
      {"InitialsAfter", "Lengua Castellana y Literatura", 0, "CyL"},
      {"InitialsAfter", "Dibujo", 0, ""},
      {"InitialsAfter", "Dibujo ", 0, ""},
      {"InitialsAfter", "A  B", 0, " B"},
      {"InitialsAfter", " x", 0, "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Apply(c), c.expected) << c.function << "('" << c.input << "', " << c.n << ")";
  }
}

TEST(TextUtilities, UpperAsciiLeavesAccentedLettersAlone) {
  EXPECT_EQ(UpperAscii("Educaci\xF3n"), "EDUCACI\xF3N");
}

TEST(TextUtilities, FoldCaseTakesAccentedCapitals) {
  EXPECT_EQ(FoldCase1252("GMJ"), FoldCase1252("gmj"));
  EXPECT_EQ(FoldCase1252("\xC1\xD1"), FoldCase1252("\xE1\xF1"));  // ÁÑ / áñ
  EXPECT_NE(FoldCase1252("\xD7"), FoldCase1252("\xF7"));          // × is not ÷
}

}  // namespace
}  // namespace tv
