// How a run talks to its user. The desktop windows, the command line and the tests each
// implement it; the core never shows anything by itself. Texts are code page 1252.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tv {

// A time frame of the exchange file as the frame dialog shows it: the texts as the file
// gives them (untrimmed), and the texts of the slots that belong to the frame, in file
// order.
struct TimeFrame {
  std::string code;        // field 0
  std::string name;        // field 1
  std::string start_date;  // field 2
  std::string end_date;    // field 3
  std::vector<std::string> slot_texts;

  bool operator==(const TimeFrame&) const = default;
};

// The answer of the time-frame dialog for one attempt.
struct FrameChoice {
  enum class Kind {
    kAccepted,   // `codes` holds one or two frame codes, in the order of the frame list
    kRefused,    // too many or no frames selected: the run asks again
    kCancelled,  // the user gave up (only offered when there is no frame to choose)
  };
  Kind kind = Kind::kRefused;
  std::vector<std::string> codes;  // the chosen frames' codes, as the file gives them
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Asks for an exchange file ("Archivo XML", *.xml). `previous` is the file chosen
  // last (may be empty). Returns nothing when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseExchangeFile(
      const std::filesystem::path& previous) = 0;

  // A plain modal message; returns once the user has read it.
  virtual void ShowMessage(const std::string& text) = 0;

  // The error that ended a run; returns once the user has read it.
  virtual void ShowError(const std::string& text) = 0;

  // One attempt of the time-frame dialog on the frames the run read from the exchange
  // file (two or more, in file order).
  virtual FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) = 0;

  // The hourglass while a run works.
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace tv
