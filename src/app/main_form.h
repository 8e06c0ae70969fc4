// The main window "Exportar e importar datos entre Velorim y Ortelia" (TMForm): the two
// directions side by side, "&Salir" and help. Started with exactly two parameters, a
// direction and the native handle (hexadecimal) of a host window, it settles inside
// that window, runs the direction at once, closes itself when the run finishes or finds
// no file, and writes the result flag to "Velorim.ini" when it closes. A finished run
// leaves its report beside the exchange file (InformeExportacion<name>.txt or
// InformeImportacion<name>.txt).
#pragma once

#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/message_box.h"
#include "report/report_source.h"
#include "util/run_outcome.h"
#include "util/user_interface.h"

class QPushButton;

namespace tv::app {

class WindowUserInterface;

// A run as the window starts it: the export or the import.
using RunFunction = std::function<RunReport(const RunFolders& folders, UserInterface& ui,
                                            std::filesystem::path& selected_file)>;

struct MainFormSetup {
  QStringList parameters;  // the command-line parameters, the program itself not counted
  RunFolders folders;      // the work folder, and the program's folder (NIVELEX.DBF,
                           // Velorim.ini, ORTELIA.chm)
  RunFunction export_run;
  RunFunction import_run;
};

// The setup of the real program: the real runs and the platform's folders.
MainFormSetup ProgramSetup(const QStringList& parameters);

class TMForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMForm(MainFormSetup setup);
  ~TMForm() override;

  // 0 in normal use; 2 when launched inside a host window.
  int RunMode() const { return run_mode_; }
  // The flag written at close in launched mode: 0 nothing done, 1 a run finished, -1
  // the chosen exchange file does not exist.
  int TransformResult() const { return transform_result_; }
  // The exchange file last chosen; kept between runs.
  const std::filesystem::path& SelectedFile() const { return selected_file_; }
  // Where the window's modal windows belong.
  const ModalOwner& Owner() const { return owner_; }

 signals:
  // The window has closed (the flag, if any, is written): the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  // Writes the flag in launched mode; false when it could not (the window stays open).
  bool FormClose();
  void BExportarClick();
  void BImportarClick();
  void Button1Click();
  void StartRun(const RunFunction& run, RunKind kind);

  MainFormSetup setup_;
  int run_mode_ = 0;
  int transform_result_ = 0;
  std::filesystem::path selected_file_;
  bool shown_ = false;
  ModalOwner owner_;

  std::unique_ptr<WindowUserInterface> ui_;
  QPushButton* b_exportar_;
  QPushButton* b_importar_;
  QPushButton* b_close_;
  QPushButton* button1_;
};

}  // namespace tv::app
