// How a run started from the main window talks to its user: the window's file dialog,
// plain message boxes, the standard error box, the time-frame dialog and the hourglass.
// Texts from the core are code page 1252 and are converted here.
#pragma once

#include <QFileDialog>
#include <memory>

#include "app/message_box.h"
#include "util/user_interface.h"

namespace tv::app {

class WindowUserInterface : public UserInterface {
 public:
  // `owner` says where modal windows belong; it may change while the window lives
  // (launched mode).
  explicit WindowUserInterface(const ModalOwner& owner);
  ~WindowUserInterface() override;
  WindowUserInterface(const WindowUserInterface&) = delete;
  WindowUserInterface& operator=(const WindowUserInterface&) = delete;

  std::optional<std::filesystem::path> ChooseExchangeFile(
      const std::filesystem::path& previous) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) override;
  void SetBusy(bool busy) override;

 private:
  // The arrow instead of the hourglass while the user answers a modal window.
  class ModalCursor;

  // The file dialog OpenDialogXML, made when a run first asks for a file and kept, so
  // that it opens where the user last looked.
  QFileDialog& OpenDialogXML();

  std::unique_ptr<QFileDialog> open_dialog_xml_;
  const ModalOwner& owner_;
  bool busy_ = false;
};

}  // namespace tv::app
