// How a run started from the main window talks to its user: the window's file dialog,
// plain message boxes, the standard error box, the time-frame dialog and the hourglass.
// Texts from the core are code page 1252 and are converted here.
#pragma once

#include <QFileDialog>

#include "app/message_box.h"
#include "util/user_interface.h"

namespace tv::app {

class WindowUserInterface : public UserInterface {
 public:
  // `open_dialog` is the window's OpenDialogXML; `owner` says where modal windows
  // belong and may change while the window lives (launched mode).
  WindowUserInterface(QFileDialog& open_dialog, const ModalOwner& owner);
  ~WindowUserInterface() override;
  WindowUserInterface(const WindowUserInterface&) = delete;
  WindowUserInterface& operator=(const WindowUserInterface&) = delete;

  std::optional<std::filesystem::path> ChooseExchangeFile(
      const std::filesystem::path& previous) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  FrameChoice ChooseFrames(const std::filesystem::path& exchange_file) override;
  void SetBusy(bool busy) override;

 private:
  // The arrow instead of the hourglass while the user answers a modal window.
  class ModalCursor;

  QFileDialog& open_dialog_;
  const ModalOwner& owner_;
  bool busy_ = false;
};

}  // namespace tv::app
