// The main window with stand-in runs that talk to the user exactly as the real ones do.
#include "app/main_form.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/paths.h"
#include "modal_answerer.h"

namespace tv::app {
namespace {

namespace fs = std::filesystem;
using testing::ModalAnswerer;

// A run that asks for the file and reports like the real ones, ending as told.
struct StandInRun {
  RunOutcome ending = RunOutcome::kFinished;
  bool ask = true;  // false: starts, asks nothing and is refused
  int calls = 0;
  std::vector<fs::path> files_used;
  bool hourglass_seen = false;

  RunReport Run(UserInterface& ui, fs::path& selected_file) {
    ++calls;
    if (!ask) return RunReport{RunOutcome::kRefused, {}, {}};
    if (auto chosen = ui.ChooseExchangeFile(selected_file)) selected_file = *chosen;
    files_used.push_back(selected_file);
    if (selected_file.empty() || !fs::exists(selected_file)) {
      ui.ShowMessage("No existe archivo");
      return RunReport{RunOutcome::kNoFile, {}, {}};
    }
    switch (ending) {
      case RunOutcome::kRefused:
        ui.ShowMessage("ATENCI\xD3N - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA");
        break;
      case RunOutcome::kFailed:
        ui.SetBusy(true);
        ui.ShowError("El campo no admite el valor");
        break;
      case RunOutcome::kFinished:
      case RunOutcome::kNoFile:
        ui.SetBusy(true);
        hourglass_seen = QApplication::overrideCursor() != nullptr &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        ui.SetBusy(false);
        ui.ShowMessage("Proceso finalizado");
        break;
    }
    return RunReport{ending, {}, {}};
  }
};

class MainFormTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir program_folder_;
  QString exchange_file_;
  std::shared_ptr<StandInRun> export_;
  std::shared_ptr<StandInRun> import_;

  fs::path ProgramFolder() const { return ToPath(program_folder_.path()); }
  fs::path IniFile() const { return ProgramFolder() / "Velorim.ini"; }

  std::unique_ptr<TMForm> MakeForm(const QStringList& parameters) {
    MainFormSetup setup;
    setup.parameters = app::Parameters(parameters);
    setup.folders.program_folder = ProgramFolder();
    setup.folders.work_folder = ProgramFolder() / "QTEMP";
    auto export_run = export_;
    auto import_run = import_;
    setup.export_run = [export_run](const RunFolders&, UserInterface& ui, fs::path& file) {
      return export_run->Run(ui, file);
    };
    setup.import_run = [import_run](const RunFolders&, UserInterface& ui, fs::path& file) {
      return import_run->Run(ui, file);
    };
    return std::make_unique<TMForm>(setup);
  }

  QString IniText() const {
    QFile file(ToQString(IniFile()));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<none>");
    return QString::fromLatin1(file.readAll());
  }

  static QPushButton* Button(TMForm& form, const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
  }

 private slots:
  void init() {
    QVERIFY(program_folder_.isValid());
    QFile::remove(ToQString(IniFile()));
    exchange_file_ = program_folder_.filePath(QStringLiteral("centro.xml"));
    std::ofstream(ToPath(exchange_file_)) << "<SERVICIO/>";
    export_ = std::make_shared<StandInRun>();
    import_ = std::make_shared<StandInRun>();
  }

  void Parameters_data() {
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<int>("run_mode");
    QTest::addColumn<int>("exports");
    QTest::addColumn<int>("imports");
    QTest::addColumn<QString>("error_box");
    QTest::addColumn<QString>("ini_after_close");
    const QString no_ini = QStringLiteral("<none>");
    const QString flag0 = QStringLiteral("[Transformadores]\r\nTransformado=0\r\n");
    QTest::newRow("none") << QStringList{} << 0 << 0 << 0 << QString() << no_ini;
    QTest::newRow("one") << QStringList{"exportar"} << 0 << 0 << 0 << QString() << no_ini;
    QTest::newRow("three") << QStringList{"exportar", "1A2B", "x"} << 0 << 0 << 0 << QString()
                           << no_ini;
    QTest::newRow("EXPORTAR in capitals")
        << QStringList{"EXPORTAR", "1A2B"} << 2 << 1 << 0 << QString() << flag0;
    QTest::newRow("importar mixed case")
        << QStringList{"ImPoRtAr", "1a2b"} << 2 << 0 << 1 << QString() << flag0;
    QTest::newRow("no direction") << QStringList{"ver", "1A2B"} << 2 << 0 << 0 << QString()
                                  << flag0;
    QTest::newRow("handle with 0x")
        << QStringList{"exportar", "0x1A2B"} << 0 << 1 << 0
        << QStringLiteral("'$0x1A2B' no es un valor entero válido") << no_ini;
  }

  void Parameters() {
    QFETCH(QStringList, parameters);
    QFETCH(int, run_mode);
    QFETCH(int, exports);
    QFETCH(int, imports);
    QFETCH(QString, error_box);
    QFETCH(QString, ini_after_close);
    export_->ask = import_->ask = false;

    ModalAnswerer answerer;
    if (!error_box.isEmpty()) answerer.AnswerBox();
    auto form = MakeForm(parameters);
    QCOMPARE(form->RunMode(), run_mode);
    QCOMPARE(form->windowFlags().testFlag(Qt::FramelessWindowHint), run_mode == 2);
    form->show();
    QVERIFY(answerer.WaitUntilDone());
    QTest::qWait(50);  // the direction starts once the window is shown
    QCOMPARE(export_->calls, exports);
    QCOMPARE(import_->calls, imports);
    QCOMPARE(answerer.Messages(), error_box.isEmpty() ? QStringList{} : QStringList{error_box});
    QVERIFY(form->close());
    QCOMPARE(IniText(), ini_after_close);
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  // Launched mode: what each outcome leaves in the flag, whether the window closes by
  // itself, and the direction buttons afterwards.
  void LaunchedOutcome_data() {
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("file");  // "" cancels the dialog
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes_itself");
    QTest::addColumn<bool>("buttons_enabled");
    QTest::addColumn<int>("flag");
    QTest::newRow("finished") << int(RunOutcome::kFinished) << "centro.xml"
                              << "Proceso finalizado" << true << false << 1;
    QTest::newRow("dialog cancelled") << int(RunOutcome::kFinished) << ""
                                      << "No existe archivo" << true << true << -1;
    QTest::newRow("file gone") << int(RunOutcome::kFinished) << "borrado.xml"
                               << "No existe archivo" << true << true << -1;
    QTest::newRow("refused") << int(RunOutcome::kRefused) << "centro.xml"
                             << "ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA"
                             << false << true << 0;
    QTest::newRow("failed") << int(RunOutcome::kFailed) << "centro.xml"
                            << "El campo no admite el valor" << false << true << 0;
  }

  void LaunchedOutcome() {
    QFETCH(int, ending);
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(bool, closes_itself);
    QFETCH(bool, buttons_enabled);
    QFETCH(int, flag);
    export_->ending = static_cast<RunOutcome>(ending);

    ModalAnswerer answerer;
    if (file.isEmpty()) {
      answerer.CancelFileDialog();
    } else {
      answerer.ChooseFile(program_folder_.filePath(file));
    }
    answerer.AnswerBox();
    auto form = MakeForm({"exportar", "1A2B"});
    QSignalSpy closed(form.get(), &TMForm::Closed);
    form->show();
    QVERIFY(answerer.WaitUntilDone());
    QTest::qWait(20);
    QCOMPARE(answerer.Messages(), QStringList{message});
    QCOMPARE(answerer.BoxTitles(), QStringList{"TransVelorOrtelia"});
    QCOMPARE(closed.count(), closes_itself ? 1 : 0);
    QCOMPARE(form->isVisible(), !closes_itself);
    QCOMPARE(Button(*form, "BExportar")->isEnabled(), buttons_enabled);
    QCOMPARE(Button(*form, "BImportar")->isEnabled(), buttons_enabled);
    QCOMPARE(form->TransformResult(), flag);
    if (!closes_itself) {
      QCOMPARE(IniText(), QStringLiteral("<none>"));
      QTest::mouseClick(Button(*form, "BClose"), Qt::LeftButton);
      QCOMPARE(closed.count(), 1);
    }
    QCOMPARE(IniText(), QStringLiteral("[Transformadores]\r\nTransformado=%1\r\n").arg(flag));
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  void NormalModeFinishedRun() {
    ModalAnswerer answerer;
    answerer.ChooseFile(exchange_file_).AnswerBox();
    auto form = MakeForm({});
    form->show();
    QTest::mouseClick(Button(*form, "BImportar"), Qt::LeftButton);
    QVERIFY(answerer.WaitUntilDone());
    QCOMPARE(answerer.Messages(), QStringList{"Proceso finalizado"});
    QVERIFY(import_->hourglass_seen);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!Button(*form, "BExportar")->isEnabled());
    QVERIFY(!Button(*form, "BImportar")->isEnabled());
    QVERIFY(form->isVisible());
    QCOMPARE(form->TransformResult(), 1);
    QVERIFY(form->close());
    QCOMPARE(IniText(), QStringLiteral("<none>"));
  }

  // The file chosen once is used again when the dialog is cancelled later, by either run.
  void SelectedFileKeptWhenCancelled() {
    export_->ending = RunOutcome::kRefused;
    import_->ending = RunOutcome::kRefused;
    ModalAnswerer answerer;
    answerer.CancelFileDialog().AnswerBox();  // first run: nothing chosen yet
    answerer.ChooseFile(exchange_file_).AnswerBox();
    answerer.CancelFileDialog().AnswerBox();
    auto form = MakeForm({});
    form->show();
    QTest::mouseClick(Button(*form, "BExportar"), Qt::LeftButton);
    QTest::mouseClick(Button(*form, "BExportar"), Qt::LeftButton);
    QTest::mouseClick(Button(*form, "BImportar"), Qt::LeftButton);
    QVERIFY(answerer.WaitUntilDone());
    const fs::path chosen = ToPath(exchange_file_);
    QCOMPARE(export_->files_used, (std::vector<fs::path>{fs::path(), chosen}));
    QCOMPARE(import_->files_used, std::vector<fs::path>{chosen});
    QCOMPARE(form->SelectedFile(), chosen);
    QCOMPARE(answerer.Messages().front(), QStringLiteral("No existe archivo"));
    QVERIFY(Button(*form, "BExportar")->isEnabled());
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  void UnwritableFlagKeepsTheWindowOpen() {
    QVERIFY(QDir(program_folder_.path()).mkdir(QStringLiteral("Velorim.ini")));
    ModalAnswerer answerer;
    answerer.AnswerBox();
    auto form = MakeForm({"ver", "1A2B"});
    QSignalSpy closed(form.get(), &TMForm::Closed);
    form->show();
    QTest::qWait(20);
    QVERIFY(!form->close());
    QVERIFY(answerer.WaitUntilDone());
    QCOMPARE(answerer.Messages(),
             QStringList{QStringLiteral("Unable to write to ") + ToQString(IniFile())});
    QVERIFY(form->isVisible());
    QCOMPARE(closed.count(), 0);
    QVERIFY(QDir(program_folder_.path()).rmdir(QStringLiteral("Velorim.ini")));
    QVERIFY(form->close());
    QCOMPARE(IniText(), QStringLiteral("[Transformadores]\r\nTransformado=0\r\n"));
  }

  void MissingHelpFileIsSaid() {
    ModalAnswerer answerer;
    answerer.AnswerBox().AnswerBox();
    auto form = MakeForm({});
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::mouseClick(Button(*form, "Button1"), Qt::LeftButton);
    form->activateWindow();  // back to the window, as a person would, and F1 there
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    QVERIFY(answerer.WaitUntilDone());
    const QString text = QStringLiteral("No se encuentra el archivo de ayuda ") +
                         ToQString(ProgramFolder() / "ORTELIA.chm");
    QCOMPARE(answerer.Messages(), (QStringList{text, text}));
  }

  void WindowAsDrawn() {
    auto form = MakeForm({});
    // The main window is the only window made at start-up.
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{form.get()});
    QCOMPARE(form->objectName(), QStringLiteral("MForm"));
    QCOMPARE(form->windowTitle(),
             QStringLiteral("Exportar e importar datos entre Velorim y Ortelia"));
    QCOMPARE(form->size(), QSize(632, 266));
    QCOMPARE(Button(*form, "BExportar")->text(), QStringLiteral("Aceptar"));
    QCOMPARE(Button(*form, "BExportar")->geometry(), QRect(96, 120, 89, 25));
    QCOMPARE(Button(*form, "BClose")->text(), QStringLiteral("&Salir"));
    QCOMPARE(Button(*form, "Button1")->geometry(), QRect(264, 64, 75, 25));
    QVERIFY(!Button(*form, "BExportar")->icon().isNull());
  }
};

}  // namespace
}  // namespace tv::app

QTEST_MAIN(tv::app::MainFormTest)
#include "main_form_test.moc"
