// The rules of the time-frame dialog "Planillas, Marcos o Jornadas Horarias", without
// any window toolkit. The export shows the dialog when the exchange file holds two or
// more time frames; the user selects the one or two frames the timetable uses. The
// dialog is handed the frames the run read and gives back the chosen codes. One dialog
// serves one attempt: after a refused choice the caller shows a fresh one, with the
// first frame's details and nothing selected.
#pragma once

#include <string>
#include <vector>

#include "util/user_interface.h"

namespace tv::desktop {

class TimeFrameDialogRules {
 public:
  explicit TimeFrameDialogRules(std::vector<TimeFrame> frames);

  // The entries of the frame list: the frame codes as the file gives them, in file order.
  const std::vector<std::string>& Entries() const { return entries_; }

  // No frame to choose (the way out): the dialog says so and its button cancels the
  // export instead of going on.
  bool NoFrames() const { return entries_.empty(); }

  // What the dialog shows of its current frame: "-" for each text when there is none.
  struct Details {
    std::string name = "-";
    std::string start_date = "-";
    std::string end_date = "-";
    std::vector<std::string> slot_texts;
  };
  // The current frame is the entry with this index: the first one when the dialog opens,
  // then the entry last clicked or reached with the keyboard, selected or not. Frames
  // that share a code show the last of them, as the code is what the list shows.
  Details DetailsOf(int current) const;

  // The dialog closes, by its button or its close box, whichever the selection: the
  // choice, and for a refused one the message to show before the dialog goes (code
  // page 1252). `selected` holds one entry per list entry.
  struct Closing {
    FrameChoice choice;
    std::string message;
  };
  Closing Close(const std::vector<bool>& selected) const;

 private:
  std::vector<TimeFrame> frames_;
  std::vector<std::string> entries_;
};

}  // namespace tv::desktop
