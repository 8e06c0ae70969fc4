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
#include "app/paths.h"
#include "app/window_user_interface.h"
#include "desktop/window_texts.h"

namespace tv::app {

namespace texts = desktop::texts;

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

TMForm::TMForm(MainFormSetup setup) : program_folder_(setup.folders.program_folder) {
  setObjectName(QStringLiteral("MForm"));
  setWindowTitle(Text(texts::kMainCaption));
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
  MakeLabel(draw3d2, "Label3", Text(texts::kExportHeading), QRect(24, 24, 265, 57), heading,
            Qt::black);
  b_exportar_ = MakeButton(draw3d2, "BExportar", CheckMarkGlyph(), Text(texts::kAccept),
                           QRect(96, 120, 89, 25));
  MakeLabel(draw3d3, "Label4", Text(texts::kImportHeading), QRect(8, 24, 305, 57), heading,
            Qt::black);
  b_importar_ = MakeButton(draw3d3, "BImportar", CheckMarkGlyph(), Text(texts::kAccept),
                           QRect(96, 120, 89, 25));
  QFont bold = FormFont();
  bold.setBold(true);
  MakeLabel(draw3d1, "Label1", Text(texts::kVersionLabel), QRect(QPoint(8, 72), QSize()), bold,
            Qt::red);
  b_close_ =
      MakeButton(draw3d1, "BClose", CloseGlyph(), Text(texts::kClose), QRect(256, 32, 89, 25));
  button1_ =
      MakeButton(draw3d1, "Button1", QIcon(), Text(texts::kHelpButton), QRect(264, 64, 75, 25));

  owner_.widget = this;
  ui_ = std::make_unique<WindowUserInterface>(owner_);
  rules_ = std::make_unique<desktop::MainWindowRules>(
      std::move(setup), static_cast<desktop::MainWindowView&>(*this), *ui_);

  connect(b_exportar_, &QPushButton::clicked, this, [this] { rules_->BExportarClick(); });
  connect(b_importar_, &QPushButton::clicked, this, [this] { rules_->BImportarClick(); });
  connect(b_close_, &QPushButton::clicked, this, [this] { close(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help_key, &QShortcut::activated, this, [this] { ShowHelp(program_folder_, owner_); });

  // Centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  rules_->FormCreate();
}

TMForm::~TMForm() = default;

std::vector<std::string> Parameters(const QStringList& arguments) {
  std::vector<std::string> parameters;
  for (const QString& argument : arguments) parameters.push_back(ToCp1252(argument));
  return parameters;
}

void TMForm::EmbedInHost(std::uint32_t handle) {
  QWindow* host = app::EmbedInHost(*this, static_cast<quintptr>(handle));
  if (host != nullptr) owner_ = ModalOwner{nullptr, host};
}

void TMForm::EnableDirections(bool enabled) {
  b_exportar_->setEnabled(enabled);
  b_importar_->setEnabled(enabled);
}

void TMForm::CloseWindow() { close(); }

void TMForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The direction starts once the window is on the screen.
  QTimer::singleShot(0, this, [this] { rules_->FormShow(); });
}

void TMForm::closeEvent(QCloseEvent* event) {
  if (!rules_->FormClose()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}

void TMForm::Button1Click() {
  SetHelpFileName(kHelpFileName);
  ShowHelp(program_folder_, owner_);
}

}  // namespace tv::app
