#include "import/clock_minutes.h"

#include "util/run_error.h"
#include "util/text.h"

namespace tv {

std::string ClockToMinutes(const std::string& clock) {
  const std::string text = clock.size() < 5 ? "0" + clock : clock;
  const long long hours = ParseInteger(LeftPart(text, 2));
  const long long minutes = ParseInteger(RightPart(text, 2));
  return std::to_string(hours * 60 + minutes);
}

}  // namespace tv
