#include "app/window_user_interface.h"

#include <QApplication>
#include <QCursor>

#include "app/paths.h"
#include "app/time_frame_dialog.h"

namespace tv::app {

class WindowUserInterface::ModalCursor {
 public:
  explicit ModalCursor(bool busy) : busy_(busy) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ModalCursor() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  ModalCursor(const ModalCursor&) = delete;
  ModalCursor& operator=(const ModalCursor&) = delete;

 private:
  bool busy_;
};

WindowUserInterface::WindowUserInterface(QFileDialog& open_dialog, const ModalOwner& owner)
    : open_dialog_(open_dialog), owner_(owner) {}

WindowUserInterface::~WindowUserInterface() { SetBusy(false); }

std::optional<std::filesystem::path> WindowUserInterface::ChooseExchangeFile(
    const std::filesystem::path& previous) {
  ModalCursor cursor(busy_);
  if (!previous.empty()) open_dialog_.selectFile(ToQString(previous));
  PlaceModal(open_dialog_, owner_);
  if (open_dialog_.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = open_dialog_.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return ToPath(files.front());
}

void WindowUserInterface::ShowMessage(const std::string& text) {
  ModalCursor cursor(busy_);
  ShowMessageBox(FromCp1252(text), BoxKind::kMessage, owner_);
}

void WindowUserInterface::ShowError(const std::string& text) {
  ModalCursor cursor(busy_);
  ShowMessageBox(FromCp1252(text), BoxKind::kError, owner_);
}

FrameChoice WindowUserInterface::ChooseFrames(const std::filesystem::path& exchange_file) {
  ModalCursor cursor(busy_);
  // A fresh dialog for every attempt: lists filled anew, nothing selected.
  TPlantillas dialog(exchange_file, owner_);
  dialog.exec();
  return dialog.Choice();
}

void WindowUserInterface::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace tv::app
