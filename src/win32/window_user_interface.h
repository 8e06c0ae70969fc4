// How a run started from the Windows program's main window talks to its user: the file
// dialog "Archivo XML", message boxes, the error box, the time-frame dialog and the
// hourglass.
#pragma once

#include <windows.h>

#include "util/user_interface.h"

namespace tv::win32 {

class WindowUserInterface : public UserInterface {
 public:
  // `owner` is the main window; its modal windows belong to it.
  explicit WindowUserInterface(HWND owner) : owner_(owner) {}

  std::optional<std::filesystem::path> ChooseExchangeFile(
      const std::filesystem::path& previous) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) override;
  void SetBusy(bool busy) override;

  // Whether the hourglass is on (the windows show it over themselves).
  bool Busy() const { return busy_; }

 private:
  // The arrow instead of the hourglass while the user answers a modal window.
  class ModalCursor;

  HWND owner_;
  bool busy_ = false;
};

}  // namespace tv::win32
