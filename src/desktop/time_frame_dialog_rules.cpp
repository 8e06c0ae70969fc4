#include "desktop/time_frame_dialog_rules.h"

#include <cstddef>

#include "export/frame_choice.h"

namespace tv::desktop {

TimeFrameDialogRules::TimeFrameDialogRules(std::vector<TimeFrame> frames)
    : frames_(std::move(frames)) {
  for (const TimeFrame& frame : frames_) entries_.push_back(frame.code);
}

TimeFrameDialogRules::Details TimeFrameDialogRules::DetailsOf(int current) const {
  Details details;
  if (current < 0 || static_cast<std::size_t>(current) >= frames_.size()) return details;
  const std::string& code = frames_[static_cast<std::size_t>(current)].code;
  for (const TimeFrame& frame : frames_) {
    if (frame.code != code) continue;
    details.name = frame.name;
    details.start_date = frame.start_date;
    details.end_date = frame.end_date;
    details.slot_texts = frame.slot_texts;
  }
  return details;
}

TimeFrameDialogRules::Closing TimeFrameDialogRules::Close(const std::vector<bool>& selected) const {
  Closing closing;
  if (NoFrames()) {
    closing.choice.kind = FrameChoice::Kind::kCancelled;
    return closing;
  }
  FrameChoiceResult result = ApplyFrameChoice(entries_, selected);
  closing.choice.kind =
      result.accepted ? FrameChoice::Kind::kAccepted : FrameChoice::Kind::kRefused;
  if (result.accepted) closing.choice.codes = std::move(result.codes);
  closing.message = std::move(result.message);
  return closing;
}

}  // namespace tv::desktop
