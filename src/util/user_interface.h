// How a run talks to its user. The Qt windows, the command line and the tests each
// implement it; the core never shows anything by itself. Texts are code page 1252.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tv {

// The answer of the time-frame dialog for one attempt.
struct FrameChoice {
  enum class Kind {
    kAccepted,   // chosen_frames holds 10 or 20 characters (one or two padded codes)
    kRefused,    // too many or no frames selected: the run asks again
    kCancelled,  // the user gave up (only offered when the file holds no frame to choose)
  };
  Kind kind = Kind::kRefused;
  std::string chosen_frames;
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

  // One attempt of the time-frame dialog on the given exchange file, which holds two
  // or more frames. The dialog reads the file itself.
  virtual FrameChoice ChooseFrames(const std::filesystem::path& exchange_file) = 0;

  // The hourglass while a run works.
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace tv
