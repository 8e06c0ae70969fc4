#include "app/window_user_interface.h"

#include <QApplication>
#include <QCursor>

#include "app/paths.h"
#include "app/time_frame_dialog.h"
#include "desktop/window_texts.h"

namespace tv::app {

namespace texts = desktop::texts;

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

WindowUserInterface::WindowUserInterface(const ModalOwner& owner) : owner_(owner) {}

WindowUserInterface::~WindowUserInterface() { SetBusy(false); }

QFileDialog& WindowUserInterface::OpenDialogXML() {
  if (open_dialog_xml_ == nullptr) {
    // A file that does not exist may be typed: the run then says "No existe archivo".
    open_dialog_xml_ = std::make_unique<QFileDialog>();
    open_dialog_xml_->setObjectName(QStringLiteral("OpenDialogXML"));
    open_dialog_xml_->setWindowTitle(Text(texts::kFileDialogTitle));
    open_dialog_xml_->setNameFilter(QStringLiteral("*.xml"));
    open_dialog_xml_->setDefaultSuffix(QStringLiteral("xml"));
    open_dialog_xml_->setAcceptMode(QFileDialog::AcceptOpen);
    open_dialog_xml_->setFileMode(QFileDialog::AnyFile);
    open_dialog_xml_->setOption(QFileDialog::DontUseNativeDialog);
    open_dialog_xml_->setModal(true);
  }
  return *open_dialog_xml_;
}

std::optional<std::filesystem::path> WindowUserInterface::ChooseExchangeFile(
    const std::filesystem::path& previous) {
  ModalCursor cursor(busy_);
  QFileDialog& dialog = OpenDialogXML();
  if (!previous.empty()) dialog.selectFile(ToQString(previous));
  PlaceModal(dialog, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
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

FrameChoice WindowUserInterface::ChooseFrames(const std::vector<TimeFrame>& frames) {
  ModalCursor cursor(busy_);
  // A fresh dialog for every attempt: lists filled anew, nothing selected.
  TPlantillas dialog(frames, owner_);
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
