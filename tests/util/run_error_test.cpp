#include "util/run_error.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ParseInteger, ReadsDecimalAndDollarHexadecimal) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("-7"), -7);
  EXPECT_EQ(ParseInteger("$1A2B"), 0x1A2B);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
}

TEST(ParseInteger, RefusesWhatIsNotAWholeNumber) {
  for (const char* text :
       {"", "12a", " 12", "$0x1A2B", "$", "-", "2147483648", "1.5", "$1FFFFFFFF"}) {
    try {
      ParseInteger(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const RunError& e) {
      EXPECT_EQ(e.message(), std::string("'") + text + "' no es un valor entero v\xE1lido");
    }
  }
}

}  // namespace
}  // namespace tv
