// The rules of the main window "Exportar e importar datos entre Velorim y Ortelia",
// without any window toolkit: the parameters and the two run modes, the result flag,
// which outcome of a run gives which flag, the direction buttons after a finished run,
// and launched mode closing itself. The desktop programs are views over these rules:
// they draw the window, pass its events here and do what the rules ask of them.
//
// Started with exactly two parameters, a direction ("exportar" or "importar", in any
// letter case) and the handle of a host window in hexadecimal without prefix, the window
// settles inside the host, runs the direction once it is shown, closes itself when the
// run finishes or finds no file, and writes the result flag to "Velorim.ini" beside the
// program when it closes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "util/run_outcome.h"
#include "util/user_interface.h"

namespace tv::desktop {

// A run as the window starts it: the export or the import.
using RunFunction = std::function<RunReport(const RunFolders& folders, UserInterface& ui,
                                            std::filesystem::path& selected_file)>;

struct MainWindowSetup {
  // The command-line parameters, the program itself not counted (code page 1252).
  std::vector<std::string> parameters;
  // The work folder, and the program's folder (NIVELEX.DBF, Velorim.ini, ORTELIA.chm).
  RunFolders folders;
  RunFunction export_run;
  RunFunction import_run;
};

// The setup of the real program: the real runs and the platform's folders.
MainWindowSetup ProgramSetup(std::vector<std::string> parameters);

// What the rules ask of the window that shows them.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  // Launched mode: the window becomes a borderless child of the host window with this
  // handle, at the host's client origin. What a handle that names no window gives is
  // the view's choice; the rules carry on in launched mode either way.
  virtual void EmbedInHost(std::uint32_t handle) = 0;
  // Enables or disables "Aceptar" of both directions.
  virtual void EnableDirections(bool enabled) = 0;
  // Closes the window; the view's close passes through FormClose.
  virtual void CloseWindow() = 0;
};

// What the window does when a run has ended.
struct RunEnding {
  std::optional<int> flag;          // the new TransformResult, if it changes
  bool disable_directions = false;  // one finished run per start of the program
  bool close_window = false;        // launched mode closes itself
};

// A finished run gives flag 1 and disables both directions; a missing file gives -1 in
// launched mode; a refused or failed run changes nothing. Launched mode closes the
// window after a finished run and after a missing file.
RunEnding EndingOf(RunOutcome outcome, bool launched);

class MainWindowRules {
 public:
  MainWindowRules(MainWindowSetup setup, MainWindowView& view, UserInterface& ui);

  // The window has been made: reads the parameters. With two, a second parameter that is
  // not a hexadecimal number shows the conversion error and leaves the window in normal
  // mode; otherwise the view embeds the window and RunMode becomes 2.
  void FormCreate();
  // The window is on the screen (call once): with two parameters, starts the direction
  // the first one names, if any.
  void FormShow();
  // The window is closing. In launched mode writes TransformResult under "Transformado"
  // in [Transformadores] of Velorim.ini; when that fails, shows the error and returns
  // false: the window stays open.
  bool FormClose();
  void BExportarClick();
  void BImportarClick();

  // 0 in normal use; 2 when launched inside a host window.
  int RunMode() const { return run_mode_; }
  // The flag written at close in launched mode: 0 nothing done, 1 a run finished, -1
  // the chosen exchange file does not exist.
  int TransformResult() const { return transform_result_; }
  // The exchange file last chosen; kept between runs.
  const std::filesystem::path& SelectedFile() const { return selected_file_; }
  const RunFolders& Folders() const { return setup_.folders; }

 private:
  void StartRun(const RunFunction& run);

  MainWindowSetup setup_;
  MainWindowView& view_;
  UserInterface& ui_;
  int run_mode_ = 0;
  int transform_result_ = 0;
  std::filesystem::path selected_file_;
};

}  // namespace tv::desktop
