#include "win32/window_user_interface.h"

#include <commdlg.h>

#include "desktop/window_texts.h"
#include "win32/message_box.h"
#include "win32/time_frame_dialog.h"
#include "win32/win32_text.h"

namespace tv::win32 {

class WindowUserInterface::ModalCursor {
 public:
  explicit ModalCursor(WindowUserInterface& ui) : ui_(ui), busy_(ui.busy_) {
    if (busy_) ui_.SetBusy(false);
  }
  ~ModalCursor() {
    if (busy_) ui_.SetBusy(true);
  }
  ModalCursor(const ModalCursor&) = delete;
  ModalCursor& operator=(const ModalCursor&) = delete;

 private:
  WindowUserInterface& ui_;
  bool busy_;
};

std::optional<std::filesystem::path> WindowUserInterface::ChooseExchangeFile(
    const std::filesystem::path& previous) {
  ModalCursor cursor(*this);
  std::wstring name(32768, L'\0');
  std::wstring folder;
  if (!previous.empty()) {
    // Opens where the last file was, with its name filled in.
    const std::wstring last = previous.filename().wstring();
    name.replace(0, last.size(), last);
    folder = previous.parent_path().wstring();
  }
  const std::wstring title = WideFromUtf8(desktop::texts::kFileDialogTitle);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = L"*.xml\0*.xml\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = L"xml";
  // A name that does not exist may be typed: the run then says "No existe archivo".
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::filesystem::path(std::wstring(name.c_str()));
}

void WindowUserInterface::ShowMessage(const std::string& text) {
  ModalCursor cursor(*this);
  ShowBox(owner_, text, BoxKind::kMessage);
}

void WindowUserInterface::ShowError(const std::string& text) {
  ModalCursor cursor(*this);
  ShowBox(owner_, text, BoxKind::kError);
}

FrameChoice WindowUserInterface::ChooseFrames(const std::vector<TimeFrame>& frames) {
  ModalCursor cursor(*this);
  // A fresh dialog for every attempt: lists filled anew, nothing selected.
  return ShowTimeFrameDialog(owner_, frames);
}

void WindowUserInterface::SetBusy(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace tv::win32
