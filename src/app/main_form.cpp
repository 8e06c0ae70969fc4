#include "app/main_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include "app/application.h"
#include "app/button_glyphs.h"
#include "app/gradient_panel.h"
#include "app/help.h"
#include "app/host_window.h"
#include "app/ini_file.h"
#include "app/paths.h"
#include "app/window_user_interface.h"
#include "report/desktop_report.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::app {

namespace {

constexpr int kClientWidth = 632;
constexpr int kClientHeight = 266;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect place,
                  const QFont& font, const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  if (place.isValid()) {
    label->setWordWrap(true);
    label->setGeometry(place);
  } else {
    label->move(place.topLeft());
    label->adjustSize();
  }
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QIcon& glyph, const QString& text,
                        QRect place) {
  auto* button = new QPushButton(glyph, text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  return button;
}

}  // namespace

TMForm::TMForm(MainFormSetup setup) : setup_(std::move(setup)) {
  setObjectName(QStringLiteral("MForm"));
  setWindowTitle(QStringLiteral("Exportar e importar datos entre Velorim y Ortelia"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(FormFont());

  const QColor warm_start(0xF9, 0xD3, 0x7D), warm_end(0xFF, 0xEE, 0xDD);
  auto* draw3d2 = new GradientPanel(warm_start, Qt::white, warm_end, this);
  draw3d2->setObjectName(QStringLiteral("Draw3D2"));
  draw3d2->setGeometry(0, 0, 315, 169);
  auto* draw3d3 = new GradientPanel(warm_start, Qt::white, warm_end, this);
  draw3d3->setObjectName(QStringLiteral("Draw3D3"));
  draw3d3->setGeometry(315, 0, 317, 169);
  auto* draw3d1 = new GradientPanel(QColor(0xC2, 0xCD, 0xFE), QColor(0xCF, 0xF2, 0xFE),
                                    QColor(0xCC, 0xD8, 0xE6), this);
  draw3d1->setObjectName(QStringLiteral("Draw3D1"));
  draw3d1->setGeometry(0, 168, 633, 97);

  const QFont heading = WindowFont(QStringLiteral("Arial"), 16, true);
  MakeLabel(draw3d2, "Label3", QStringLiteral("Transformar datos desde Ortelia hacia Velorim "),
            QRect(24, 24, 265, 57), heading, Qt::black);
  b_exportar_ = MakeButton(draw3d2, "BExportar", CheckMarkGlyph(), QStringLiteral("Aceptar"),
                           QRect(96, 120, 89, 25));
  MakeLabel(draw3d3, "Label4", QStringLiteral("Transformar datos desde Velorim hacia Ortelia"),
            QRect(8, 24, 305, 57), heading, Qt::black);
  b_importar_ = MakeButton(draw3d3, "BImportar", CheckMarkGlyph(), QStringLiteral("Aceptar"),
                           QRect(96, 120, 89, 25));
  QFont bold = FormFont();
  bold.setBold(true);
  MakeLabel(draw3d1, "Label1", QStringLiteral("TransVelorimOrtelia para VX20 V-1.0"),
            QRect(QPoint(8, 72), QSize()), bold, Qt::red);
  b_close_ =
      MakeButton(draw3d1, "BClose", CloseGlyph(), QStringLiteral("&Salir"), QRect(256, 32, 89, 25));
  button1_ =
      MakeButton(draw3d1, "Button1", QIcon(), QStringLiteral("F1 Ayuda"), QRect(264, 64, 75, 25));

  owner_.widget = this;
  ui_ = std::make_unique<WindowUserInterface>(owner_);

  connect(b_exportar_, &QPushButton::clicked, this, [this] { BExportarClick(); });
  connect(b_importar_, &QPushButton::clicked, this, [this] { BImportarClick(); });
  connect(b_close_, &QPushButton::clicked, this, [this] { close(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help_key, &QShortcut::activated, this,
          [this] { ShowHelp(setup_.folders.program_folder, owner_); });

  // Centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::FormCreate() {
  transform_result_ = 0;
  if (setup_.parameters.size() != 2) return;
  int handle = 0;
  try {
    // The handle comes without prefix; Velorim writes it in hexadecimal.
    handle = ParseInteger("$" + ToCp1252(setup_.parameters[1]));
  } catch (const RunError& error) {
    // The window keeps its border and its place; RunMode stays 0.
    ShowMessageBox(FromCp1252(error.message()), BoxKind::kError, ModalOwner{});
    return;
  }
  QWindow* host = EmbedInHost(*this, static_cast<quintptr>(static_cast<quint32>(handle)));
  if (host != nullptr) owner_ = ModalOwner{nullptr, host};
  run_mode_ = 2;
}

void TMForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The direction starts once the window is on the screen.
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMForm::FormShow() {
  if (setup_.parameters.size() != 2) return;
  const QString direction = setup_.parameters[0].toLower();
  if (direction == QStringLiteral("importar")) BImportarClick();
  if (direction == QStringLiteral("exportar")) BExportarClick();
}

void TMForm::closeEvent(QCloseEvent* event) {
  if (!FormClose()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}

bool TMForm::FormClose() {
  if (run_mode_ != 2) return true;
  const std::filesystem::path folder = setup_.folders.program_folder;
  const std::filesystem::path ini =
      env::FindFileNoCase(folder, "Velorim.ini").value_or(folder / "Velorim.ini");
  try {
    WriteIniValue(ini, "Transformadores", "Transformado", std::to_string(transform_result_));
  } catch (const RunError& error) {
    ShowMessageBox(FromCp1252(error.message()), BoxKind::kError, owner_);
    return false;
  }
  return true;
}

void TMForm::BExportarClick() { StartRun(setup_.export_run, RunKind::kExport); }

void TMForm::BImportarClick() { StartRun(setup_.import_run, RunKind::kImport); }

void TMForm::Button1Click() {
  SetHelpFileName(kHelpFileName);
  ShowHelp(setup_.folders.program_folder, owner_);
}

void TMForm::StartRun(const RunFunction& run, RunKind kind) {
  RunReport report;
  try {
    report = run(setup_.folders, *ui_, selected_file_);
  } catch (const std::exception& error) {
    // The runs report their own errors; anything else still ends only this run.
    ui_->SetBusy(false);
    ui_->ShowError(error.what());
    return;
  }
  ui_->SetBusy(false);
  switch (report.outcome) {
    case RunOutcome::kFinished:
      transform_result_ = 1;
      b_exportar_->setEnabled(false);
      b_importar_->setEnabled(false);
      // The report beside the exchange file; one that cannot be written is shown as an
      // error, and the run's result stays.
      WriteDesktopReport(kind, setup_.folders, selected_file_, report, *ui_);
      if (run_mode_ == 2) close();
      break;
    case RunOutcome::kNoFile:
      if (run_mode_ == 2) {
        transform_result_ = -1;
        close();
      }
      break;
    case RunOutcome::kRefused:
    case RunOutcome::kFailed:
      break;
  }
}

}  // namespace tv::app
