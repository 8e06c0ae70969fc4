// Subject codes made up from names, before they are made unique.
#include "export/subject_code.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct Case {
  const char* name;
  const char* code;
  const char* long_code;  // as the field of ten stores it
};

TEST(MakeSubjectCode, FollowsTheNameRules) {
  const Case cases[] = {
      {"Matem\xE1ticas", "Matem\xE1", "Matem\xE1"},  // one capital, no blank: first six
      {"Lengua Castellana y Literatura", "LCL", "Lengua Cas"},
      {"Lengua castellana y literatura", "Lcyl", "Lengua cas"},  // initials after blanks
      {"ingl\xE9s", "ingl\xE9s", "ingl\xE9s"},                   // first character not a capital
      {"F\xEDsica y Qu\xEDmica", "FQ", "F\xEDsica y Q"},
      {"MATEMATICAS APLICADAS", "MATEMATICA", "MATEMATICA"},
      {"1\xBA ESO Tutor\xED"
       "a",
       "1ESOT", "1ESOT"},  // a digit first, then capitals: five
      {"x", "x", "x"},
      {"\xC1lgebra", "\xC1lgebr", "\xC1lgebr"},  // an accented capital is not a capital
  };
  for (const Case& c : cases) {
    const SubjectCode code = MakeSubjectCode(c.name);
    EXPECT_EQ(code.code, c.code) << c.name;
    EXPECT_EQ(code.long_code.substr(0, 10), c.long_code) << c.name;
  }
}

TEST(MakeSubjectCode, LongCodeIsTakenBeforeTheCodeIsShortened) {
  const SubjectCode code = MakeSubjectCode("MATEMATICAS APLICADAS");
  EXPECT_EQ(code.long_code, "MATEMATICASAPLICADAS");
}

}  // namespace
}  // namespace tv
