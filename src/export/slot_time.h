// Times of day of the time slots: the exchange file gives minutes after midnight, the
// slot table shows them as clock texts.
#pragma once

#include <string>

namespace tv {

// Reads a slot's start or end text (trimmed): a text shorter than 4 characters gets one
// "0" in front, so the empty text is 0 and "45" is 45. Throws RunError ("'%s' no es un
// valor entero válido") when the text is not a whole number.
int SlotMinutes(const std::string& text);

// "hh:mm": the hours (rounded down) and the remaining minutes, each given one "0" in
// front when shorter than 2 characters. 510 -> "08:30", 1500 -> "25:00", -100 -> "-2:20".
std::string ClockText(int minutes);

// The inverse as the slot table is read back: 60 times the number in characters 1 to 2
// plus the number in characters 4 to 5. Throws RunError when either is no number.
int ClockMinutes(const std::string& clock_text);

}  // namespace tv
