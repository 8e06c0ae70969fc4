// The main window "Exportar e importar datos entre Velorim y Ortelia" (TMForm) in Qt:
// the two directions side by side, "&Salir" and help. A view over the window rules of
// desktop/main_window_rules.h (parameters, run modes, result flag), which it drives.
#pragma once

#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "app/message_box.h"
#include "desktop/main_window_rules.h"

class QPushButton;

namespace tv::app {

class WindowUserInterface;

using MainFormSetup = desktop::MainWindowSetup;

// The command-line parameters as the rules take them (code page 1252).
std::vector<std::string> Parameters(const QStringList& arguments);

class TMForm : public QWidget, private desktop::MainWindowView {
  Q_OBJECT

 public:
  explicit TMForm(MainFormSetup setup);
  ~TMForm() override;

  // 0 in normal use; 2 when launched inside a host window.
  int RunMode() const { return rules_->RunMode(); }
  // The flag written at close in launched mode: 0 nothing done, 1 a run finished, -1
  // the chosen exchange file does not exist.
  int TransformResult() const { return rules_->TransformResult(); }
  // The exchange file last chosen; kept between runs.
  const std::filesystem::path& SelectedFile() const { return rules_->SelectedFile(); }
  // Where the window's modal windows belong.
  const ModalOwner& Owner() const { return owner_; }

 signals:
  // The window has closed (the flag, if any, is written): the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void EmbedInHost(std::uint32_t handle) override;
  void EnableDirections(bool enabled) override;
  void CloseWindow() override;
  void Button1Click();

  std::filesystem::path program_folder_;
  bool shown_ = false;
  ModalOwner owner_;

  std::unique_ptr<WindowUserInterface> ui_;
  std::unique_ptr<desktop::MainWindowRules> rules_;
  QPushButton* b_exportar_;
  QPushButton* b_importar_;
  QPushButton* b_close_;
  QPushButton* button1_;
};

}  // namespace tv::app
