#include "import/clock_minutes.h"

#include "util/run_error.h"
#include "util/text.h"

namespace tv {

namespace {

// The number in characters `from` to `from + 1` of the clock with its "0" in front. A part
// that takes the added "0" is not in the table as it stands, so its error quotes the
// whole clock instead.
long long ClockPart(const std::string& clock, bool padded, std::size_t from) {
  const std::string text = padded ? "0" + clock : clock;
  const std::string part = text.substr(from, 2);
  try {
    return ParseInteger(part);
  } catch (const RunError&) {
    if (padded && from == 0) throw NotAnInteger(clock);
    throw;
  }
}

}  // namespace

std::string ClockToMinutes(const std::string& clock) {
  const bool padded = clock.size() < 5;
  const std::size_t length = padded ? clock.size() + 1 : clock.size();
  const long long hours = ClockPart(clock, padded, 0);
  const long long minutes = ClockPart(clock, padded, length < 2 ? 0 : length - 2);
  return std::to_string(hours * 60 + minutes);
}

}  // namespace tv
