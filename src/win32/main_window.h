// The main window "Exportar e importar datos entre Velorim y Ortelia" (TMForm) on the
// Windows API: a view over desktop/main_window_rules.h. Client area 632 x 266, fixed
// dialog border, centred; three gradient panels with the two directions and "&Salir"
// and "F1 Ayuda"; F1 anywhere opens help. Launched with a direction and the handle of a
// host window, it becomes a borderless child of that window at its client origin; a
// handle that names no window leaves it an ordinary window of its own, still launched
// (it runs the direction, closes itself and writes the flag).
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/main_window_rules.h"
#include "win32/window_user_interface.h"

namespace tv::win32 {

// Control identifiers, for the people and programs that drive the window.
inline constexpr int kExportButtonId = 201;  // BExportar
inline constexpr int kImportButtonId = 202;  // BImportar
inline constexpr int kCloseButtonId = 203;   // BClose
inline constexpr int kHelpButtonId = 204;    // Button1

class TMForm : private desktop::MainWindowView {
 public:
  explicit TMForm(desktop::MainWindowSetup setup);
  ~TMForm() override;
  TMForm(const TMForm&) = delete;
  TMForm& operator=(const TMForm&) = delete;

  // Registers the window classes once.
  static void RegisterClasses(HINSTANCE instance);

  // Creates and shows the window, and runs the program until the window has closed.
  int Run();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Create(HWND window);

  void EmbedInHost(std::uint32_t handle) override;
  void EnableDirections(bool enabled) override;
  void CloseWindow() override;

  desktop::MainWindowSetup setup_;
  std::filesystem::path program_folder_;
  HWND window_ = nullptr;
  HWND b_exportar_ = nullptr;
  HWND b_importar_ = nullptr;
  std::vector<HFONT> fonts_;
  std::unique_ptr<WindowUserInterface> ui_;
  std::unique_ptr<desktop::MainWindowRules> rules_;
};

}  // namespace tv::win32
