#include "win32/message_box.h"

#include "desktop/window_texts.h"
#include "win32/win32_text.h"

namespace tv::win32 {

void ShowBox(HWND owner, const std::string& text, BoxKind kind) {
  UINT style = MB_OK | (kind == BoxKind::kError ? MB_ICONERROR : 0);
  if (owner == nullptr) style |= MB_TASKMODAL;
  MessageBoxW(owner, WideFromCp1252(text).c_str(),
              WideFromUtf8(desktop::texts::kApplicationTitle).c_str(), style);
}

}  // namespace tv::win32
