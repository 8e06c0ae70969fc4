#include "import/clock_minutes.h"

#include <gtest/gtest.h>

#include "util/run_error.h"

namespace tv {
namespace {

TEST(ClockToMinutes, TurnsClockTextsIntoMinutesAfterMidnight) {
  const struct {
    std::string clock;
    std::string minutes;
  } cases[] = {
      {"08:30", "510"}, {"8:30", "510"},   {"14:05", "845"},  {"", "0"},
      {"00:00", "0"},   {"23:59", "1439"}, {"25:00", "1500"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClockToMinutes(c.clock), c.minutes) << c.clock;
}

TEST(ClockToMinutes, TextsThatAreNoClockStopWithTheConversionError) {
  const struct {
    std::string clock;
    std::string message;
  } cases[] = {
      // "8:3" becomes "08:3", whose last two characters are ":3".
      {"8:3", "':3' no es un valor entero v\xE1lido"},
      {"ab:30", "'ab' no es un valor entero v\xE1lido"},
      {"08:3x", "'3x' no es un valor entero v\xE1lido"},
      // A part that takes the added "0" is no text of the table: the clock is quoted.
      {"abc", "'abc' no es un valor entero v\xE1lido"},
      {"x", "'x' no es un valor entero v\xE1lido"},
  };
  for (const auto& c : cases) {
    try {
      ClockToMinutes(c.clock);
      ADD_FAILURE() << c.clock << " was accepted";
    } catch (const RunError& error) {
      EXPECT_EQ(error.message(), c.message) << c.clock;
    }
  }
}

}  // namespace
}  // namespace tv
