// TransVelorOrtelia.exe: the desktop program on Windows. It reads its parameters from the
// wide command line (so a path may hold any character), creates the main window (the
// only window made at start-up) and runs until that window closes.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "desktop/main_window_rules.h"
#include "win32/main_window.h"
#include "win32/time_frame_dialog.h"
#include "win32/win32_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  tv::win32::TMForm::RegisterClasses(instance);
  tv::win32::RegisterTimeFrameDialogClass(instance);

  std::vector<std::string> parameters;
  int count = 0;
  if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) parameters.push_back(tv::win32::Cp1252FromWide(arguments[i]));
    LocalFree(arguments);
  }
  tv::win32::TMForm form(tv::desktop::ProgramSetup(std::move(parameters)));
  return form.Run();
}
