// The program's message boxes: modal, captioned "TransVelorOrtelia", one button; the
// error box has the error icon.
#pragma once

#include <windows.h>

#include <string>

namespace tv::win32 {

enum class BoxKind { kMessage, kError };

// Shows a code page 1252 text and returns once the user has closed the box.
void ShowBox(HWND owner, const std::string& text, BoxKind kind);

}  // namespace tv::win32
