#include "export/slot_time.h"

#include "util/run_error.h"
#include "util/text.h"

namespace tv {

int SlotMinutes(const std::string& text) {
  try {
    return ParseInteger(text.size() < 4 ? "0" + text : text);
  } catch (const RunError&) {
    throw NotAnInteger(text);  // the text as the file has it, without the added "0"
  }
}

namespace {

std::string TwoDigits(long long value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

}  // namespace

std::string ClockText(int minutes) {
  long long hours = minutes / 60;
  long long rest = minutes % 60;
  if (rest < 0) {  // round down, also for negative minutes
    rest += 60;
    hours -= 1;
  }
  return TwoDigits(hours) + ":" + TwoDigits(rest);
}

int ClockMinutes(const std::string& clock_text) {
  return 60 * ParseInteger(clock_text.substr(0, 2)) +
         ParseInteger(clock_text.size() > 3 ? clock_text.substr(3, 2) : std::string());
}

}  // namespace tv
