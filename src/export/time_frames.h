// The time frames of an exchange file ("JORNADAS_ESCOLARES") and which time slots
// ("TRAMOS_HORARIOS") belong to each. This is the one place that decides whether a slot
// belongs to a frame: the frame dialog shows, and the time-slot tables write, the same
// slots. Texts are code page 1252.
#pragma once

#include <string>
#include <vector>

#include "exchange/xml_document.h"
#include "util/user_interface.h"

namespace tv {

// What a frame code is compared by: the code without blanks around it, cut to the 10
// characters Velorim keeps of it. A slot belongs to the frame whose code has the same
// key as the slot's frame code (field 4); slots without a frame code have the empty key.
std::string FrameKey(const std::string& code);

// Every frame record in document order, with the texts of its slots. No record is
// skipped for having few fields; missing fields read as empty texts.
std::vector<TimeFrame> ReadTimeFrames(const xml::Document& document);

}  // namespace tv
