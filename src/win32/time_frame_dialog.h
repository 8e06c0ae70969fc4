// The time-frame dialog "Planillas, Marcos o Jornadas Horarias" (TPlantillas) on the
// Windows API: a view over desktop/time_frame_dialog_rules.h. The frame list takes
// extended selection (click, Ctrl-click, Shift-click); "Continuar" and the close box
// (or Escape) close it, and closing is always allowed. Handed no frame, it says so and
// its button cancels the export.
#pragma once

#include <windows.h>

#include <vector>

#include "util/user_interface.h"

namespace tv::win32 {

// Registers the dialog's window class once.
void RegisterTimeFrameDialogClass(HINSTANCE instance);

// One attempt: shows a fresh dialog, modal to `owner`'s window, and returns its choice
// once it has closed.
FrameChoice ShowTimeFrameDialog(HWND owner, const std::vector<TimeFrame>& frames);

// The control identifiers, for the people and programs that drive the dialog.
inline constexpr int kFrameListId = 102;     // ListBox2
inline constexpr int kSlotListId = 101;      // ListBox1
inline constexpr int kContinueButtonId = 1;  // BitBtnContinuar (IDOK)

}  // namespace tv::win32
