// Clock texts of the slot table ("08:30") back into minutes after midnight ("510").
#pragma once

#include <string>

namespace tv {

// The decimal text of the minutes after midnight of a clock text "hh:mm". A text of
// fewer than five characters gets a "0" in front; the hours are its first two
// characters and the minutes its last two, so "8:30" gives "510" and "" gives "0".
// Throws RunError ("'%s' no es un valor entero válido") when either part is not a
// whole number, as the ":3" of "8:3".
std::string ClockToMinutes(const std::string& clock);

}  // namespace tv
