// The main window's rules with a recording view and stand-in runs that talk to the user
// as the real ones do.
#include "desktop/main_window_rules.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

#include "desktop/help_file.h"
#include "desktop/result_flag.h"

namespace tv::desktop {
namespace {

namespace fs = std::filesystem;

class RecordingView : public MainWindowView {
 public:
  std::vector<std::uint32_t> hosts;
  bool directions_enabled = true;
  int close_requests = 0;
  void EmbedInHost(std::uint32_t handle) override { hosts.push_back(handle); }
  void EnableDirections(bool enabled) override { directions_enabled = enabled; }
  void CloseWindow() override { ++close_requests; }
};

class RecordingUi : public UserInterface {
 public:
  std::vector<std::optional<fs::path>> files;  // what the file dialog answers, in turn
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  bool busy = false;
  std::optional<fs::path> ChooseExchangeFile(const fs::path&) override {
    if (files.empty()) return std::nullopt;
    std::optional<fs::path> file = files.front();
    files.erase(files.begin());
    return file;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  FrameChoice ChooseFrames(const std::vector<TimeFrame>&) override { return {}; }
  void SetBusy(bool on) override { busy = on; }
};

// A run that asks for the file, says "No existe archivo" when there is none, and
// otherwise ends as told, leaving the hourglass on as a failing run may.
struct StandInRun {
  RunOutcome ending = RunOutcome::kFinished;
  std::vector<fs::path> files_used;
  RunReport operator()(const RunFolders&, UserInterface& ui, fs::path& selected_file) {
    if (auto chosen = ui.ChooseExchangeFile(selected_file)) selected_file = *chosen;
    files_used.push_back(selected_file);
    if (selected_file.empty() || !fs::exists(selected_file)) {
      ui.ShowMessage("No existe archivo");
      return {RunOutcome::kNoFile, {}, {}};
    }
    ui.SetBusy(true);
    return {ending, {}, {}};
  }
};

class MainWindowRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("tv_desktop_test_" + std::to_string(random()));
    fs::create_directories(folder_);
    exchange_file_ = folder_ / "centro.xml";
    std::ofstream(exchange_file_) << "<SERVICIO/>";
  }
  void TearDown() override { fs::remove_all(folder_); }

  MainWindowRules Make(std::vector<std::string> parameters) {
    MainWindowSetup setup;
    setup.parameters = std::move(parameters);
    setup.folders.program_folder = folder_;
    setup.folders.work_folder = folder_ / "QTEMP";
    setup.export_run = [this](const RunFolders& f, UserInterface& ui, fs::path& file) {
      return export_(f, ui, file);
    };
    setup.import_run = [this](const RunFolders& f, UserInterface& ui, fs::path& file) {
      return import_(f, ui, file);
    };
    return MainWindowRules(std::move(setup), view_, ui_);
  }

  std::string Ini(const char* name = "Velorim.ini") const {
    std::ifstream in(folder_ / name, std::ios::binary);
    if (!in) return "<none>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path folder_;
  fs::path exchange_file_;
  RecordingView view_;
  RecordingUi ui_;
  StandInRun export_;
  StandInRun import_;
};

TEST_F(MainWindowRulesTest, ParametersDecideTheModeAndWhatStarts) {
  struct Case {
    std::vector<std::string> parameters;
    int run_mode;
    std::vector<std::uint32_t> hosts;
    std::size_t exports;
    std::size_t imports;
    std::string error;
    std::string ini_after_close;
  };
  const std::string flag0 = "[Transformadores]\r\nTransformado=0\r\n";
  const Case cases[] = {
      {{}, 0, {}, 0, 0, "", "<none>"},
      {{"exportar"}, 0, {}, 0, 0, "", "<none>"},
      {{"exportar", "1A2B", "x"}, 0, {}, 0, 0, "", "<none>"},
      {{"EXPORTAR", "1A2B"}, 2, {0x1A2B}, 1, 0, "", flag0},
      {{"ImPoRtAr", "1a2b"}, 2, {0x1A2B}, 0, 1, "", flag0},
      {{"ver", "FFFFFFFF"}, 2, {0xFFFFFFFF}, 0, 0, "", flag0},
      // Not a number: the error, normal mode, and the direction still starts.
      {{"exportar", "0x1A2B"}, 0, {}, 1, 0, "'$0x1A2B' no es un valor entero v\xE1lido", "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters.empty() ? "none" : c.parameters[0]);
    fs::remove(folder_ / "Velorim.ini");
    view_ = {};
    ui_ = {};
    ui_.files = {exchange_file_};
    export_ = {};
    import_ = {};
    export_.ending = import_.ending = RunOutcome::kRefused;  // the flag stays 0
    MainWindowRules rules = Make(c.parameters);
    rules.FormCreate();
    rules.FormShow();
    EXPECT_EQ(rules.RunMode(), c.run_mode);
    EXPECT_EQ(view_.hosts, c.hosts);
    EXPECT_EQ(export_.files_used.size(), c.exports);
    EXPECT_EQ(import_.files_used.size(), c.imports);
    EXPECT_EQ(ui_.errors, c.error.empty() ? std::vector<std::string>{} : std::vector{c.error});
    EXPECT_TRUE(rules.FormClose());
    EXPECT_EQ(Ini(), c.ini_after_close);
  }
}

// What each outcome leaves: the flag, the direction buttons, and whether the window
// closes itself, in launched mode and in normal use.
TEST_F(MainWindowRulesTest, EachOutcomeGivesItsFlag) {
  struct Case {
    RunOutcome outcome;
    bool launched;
    std::optional<int> flag;
    bool disable;
    bool close;
  };
  const Case cases[] = {
      {RunOutcome::kFinished, true, 1, true, true},
      {RunOutcome::kFinished, false, 1, true, false},
      {RunOutcome::kNoFile, true, -1, false, true},
      {RunOutcome::kNoFile, false, std::nullopt, false, false},
      {RunOutcome::kRefused, true, std::nullopt, false, false},
      {RunOutcome::kFailed, true, std::nullopt, false, false},
      {RunOutcome::kFailed, false, std::nullopt, false, false},
  };
  for (const Case& c : cases) {
    const RunEnding ending = EndingOf(c.outcome, c.launched);
    EXPECT_EQ(ending.flag, c.flag) << static_cast<int>(c.outcome) << c.launched;
    EXPECT_EQ(ending.disable_directions, c.disable) << static_cast<int>(c.outcome);
    EXPECT_EQ(ending.close_window, c.close) << static_cast<int>(c.outcome) << c.launched;
  }
}

TEST_F(MainWindowRulesTest, LaunchedRunsCloseAndLeaveTheirFlagWithOtherLinesKept) {
  struct Case {
    RunOutcome ending;
    std::optional<fs::path> file;  // nothing: the dialog is cancelled
    int flag;
    int closes;
  };
  const Case cases[] = {
      {RunOutcome::kFinished, exchange_file_, 1, 1},
      {RunOutcome::kFinished, std::nullopt, -1, 1},
      {RunOutcome::kFinished, folder_ / "borrado.xml", -1, 1},
      {RunOutcome::kRefused, exchange_file_, 0, 0},
      {RunOutcome::kFailed, exchange_file_, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    // An ini file of Velorim's, spelt its own way, with lines of its own.
    fs::remove(folder_ / "VELORIM.INI");
    std::ofstream(folder_ / "VELORIM.INI", std::ios::binary)
        << "[Velorim]\r\nIdioma=ES\r\n[transformadores]\r\nTRANSFORMADO=7\r\nOtro=1\r\n";
    view_ = {};
    ui_ = {};
    ui_.files = {c.file};
    export_ = {};
    export_.ending = c.ending;
    MainWindowRules rules = Make({"exportar", "00C0FFEE"});
    rules.FormCreate();
    rules.FormShow();
    EXPECT_EQ(view_.close_requests, c.closes);
    EXPECT_EQ(view_.directions_enabled,
              c.ending != RunOutcome::kFinished || !c.file || !fs::exists(*c.file));
    EXPECT_FALSE(ui_.busy);  // the hourglass goes whatever the ending
    EXPECT_EQ(rules.TransformResult(), c.flag);
    EXPECT_TRUE(rules.FormClose());
    EXPECT_EQ(Ini("VELORIM.INI"), "[Velorim]\r\nIdioma=ES\r\n[transformadores]\r\nTRANSFORMADO=" +
                                      std::to_string(c.flag) + "\r\nOtro=1\r\n");
    int ini_files = 0;  // the file Velorim has is the one written, not a second one
    for (const auto& entry : fs::directory_iterator(folder_)) {
      std::string name = entry.path().filename().string();
      for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      ini_files += name == "velorim.ini";
    }
    EXPECT_EQ(ini_files, 1);
  }
}

// The file chosen once is used again when the dialog is cancelled later, by either run.
TEST_F(MainWindowRulesTest, SelectedFileIsKeptWhenTheDialogIsCancelled) {
  export_.ending = RunOutcome::kRefused;
  import_.ending = RunOutcome::kRefused;
  ui_.files = {std::nullopt, exchange_file_, std::nullopt};
  MainWindowRules rules = Make({});
  rules.FormCreate();
  rules.BExportarClick();
  rules.BExportarClick();
  rules.BImportarClick();
  EXPECT_EQ(export_.files_used, (std::vector<fs::path>{fs::path(), exchange_file_}));
  EXPECT_EQ(import_.files_used, std::vector<fs::path>{exchange_file_});
  EXPECT_EQ(rules.SelectedFile(), exchange_file_);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"No existe archivo"});
  EXPECT_TRUE(view_.directions_enabled);
  EXPECT_EQ(view_.close_requests, 0);
  EXPECT_EQ(rules.TransformResult(), 0);
}

TEST_F(MainWindowRulesTest, AFlagThatCannotBeWrittenKeepsTheWindowOpen) {
  fs::create_directory(folder_ / "Velorim.ini");
  MainWindowRules rules = Make({"ver", "1A2B"});
  rules.FormCreate();
  EXPECT_FALSE(rules.FormClose());
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_EQ(ui_.errors[0].rfind("Unable to write to ", 0), 0u) << ui_.errors[0];
  fs::remove(folder_ / "Velorim.ini");
  EXPECT_TRUE(rules.FormClose());
  EXPECT_EQ(Ini(), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST_F(MainWindowRulesTest, ARunThatThrowsEndsOnlyThatRun) {
  MainWindowSetup setup;
  setup.folders.program_folder = folder_;
  setup.export_run = [](const RunFolders&, UserInterface& ui, fs::path&) -> RunReport {
    ui.SetBusy(true);
    throw std::runtime_error("sin memoria");
  };
  MainWindowRules rules(std::move(setup), view_, ui_);
  rules.FormCreate();
  rules.BExportarClick();
  EXPECT_EQ(ui_.errors, std::vector<std::string>{"sin memoria"});
  EXPECT_FALSE(ui_.busy);
  EXPECT_TRUE(view_.directions_enabled);
  EXPECT_EQ(rules.TransformResult(), 0);
}

TEST_F(MainWindowRulesTest, HelpFileIsFoundInAnyLetterCaseOrSaidMissing) {
  EXPECT_EQ(FindHelpFile(folder_), std::nullopt);
  EXPECT_EQ(MissingHelpFileMessage(folder_),
            "No se encuentra el archivo de ayuda " + (folder_ / "ORTELIA.chm").string());
  std::ofstream(folder_ / "ortelia.CHM") << "ayuda";
  ASSERT_TRUE(FindHelpFile(folder_).has_value());
  EXPECT_TRUE(fs::equivalent(*FindHelpFile(folder_), folder_ / "ortelia.CHM"));
}

}  // namespace
}  // namespace tv::desktop
