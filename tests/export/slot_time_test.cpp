// Slot times: minutes read from the file and written as clock texts.
#include "export/slot_time.h"

#include <gtest/gtest.h>

#include "util/run_error.h"

namespace tv {
namespace {

TEST(SlotTime, ReadsMinutesWithAZeroInFrontOfShortTexts) {
  EXPECT_EQ(SlotMinutes("480"), 480);
  EXPECT_EQ(SlotMinutes("45"), 45);
  EXPECT_EQ(SlotMinutes(""), 0);
  EXPECT_EQ(SlotMinutes("1500"), 1500);
  EXPECT_EQ(SlotMinutes("-100"), -100);
  for (const char* bad : {"8:00", "-5", "12a", "abcd"}) {
    EXPECT_THROW(SlotMinutes(bad), RunError) << bad;
  }
  // The message quotes the text as the file has it, not with the "0" put in front.
  for (const char* bad : {"8h", "abc", "1e9", "12a"}) {
    try {
      SlotMinutes(bad);
      ADD_FAILURE() << bad << " was accepted";
    } catch (const RunError& error) {
      EXPECT_EQ(error.message(), std::string("'") + bad + "' no es un valor entero v\xE1lido");
    }
  }
}

TEST(SlotTime, ClockTextAndBack) {
  const std::pair<int, const char*> cases[] = {
      {510, "08:30"}, {0, "00:00"},     {1439, "23:59"}, {1500, "25:00"},
      {45, "00:45"},  {6000, "100:00"}, {-100, "-2:20"},
  };
  for (const auto& [minutes, text] : cases) EXPECT_EQ(ClockText(minutes), text) << minutes;
  EXPECT_EQ(ClockMinutes("08:30"), 510);
  EXPECT_EQ(ClockMinutes("-2:20"), -100);
  EXPECT_EQ(ClockMinutes("00:00"), 0);
}

}  // namespace
}  // namespace tv
