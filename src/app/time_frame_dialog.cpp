#include "app/time_frame_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "app/application.h"
#include "app/button_glyphs.h"
#include "app/gradient_panel.h"
#include "app/paths.h"
#include "desktop/window_texts.h"

namespace tv::app {

namespace texts = desktop::texts;

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect place,
                  const QFont& font, const QColor& colour, bool word_wrap) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setFont(font);
  label->setWordWrap(word_wrap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

QFont MaroonFont() { return WindowFont(QStringLiteral("Arial"), 16, true); }

}  // namespace

TPlantillas::TPlantillas(std::vector<TimeFrame> frames, const ModalOwner& owner)
    : rules_(std::move(frames)) {
  setObjectName(QStringLiteral("Plantillas"));
  setWindowTitle(Text(texts::kFramesCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(370, 288);
  setFont(FormFont());
  setModal(true);
  PlaceModal(*this, owner);

  auto* panel = new GradientPanel(QColor(0xC2, 0xCD, 0xFE), QColor(0xCF, 0xF2, 0xFE),
                                  QColor(0xCC, 0xD8, 0xE6), this);
  panel->setObjectName(QStringLiteral("Draw3D4"));
  panel->setGeometry(0, 0, 370, 288);

  label_plantillas_ =
      MakeLabel(panel, "LabelPlantillas", Text(texts::kFramesHeading), QRect(16, 2, 321, 33),
                WindowFont(QStringLiteral("Arial"), 13, true), Qt::black, true);
  QFont selec_font = FormFont();
  selec_font.setBold(true);
  selec_font.setItalic(true);
  label_selec_ = MakeLabel(panel, "LabelSelec", Text(texts::kFramesHint), QRect(16, 36, 321, 50),
                           selec_font, Qt::red, true);
  MakeLabel(panel, "LabelMarcos", Text(texts::kFramesList), QRect(40, 86, 74, 16), MaroonFont(),
            kMaroon, false);

  list_box2_ = new QListWidget(panel);
  list_box2_->setObjectName(QStringLiteral("ListBox2"));
  list_box2_->setGeometry(16, 103, 127, 45);
  list_box2_->setSelectionMode(QAbstractItemView::ExtendedSelection);

  QFont underlined = MaroonFont();
  underlined.setUnderline(true);
  label_nombre_ = MakeLabel(panel, "LabelNombre", QStringLiteral("-"), QRect(9, 151, 120, 41),
                            underlined, kMaroon, true);
  label_plan_fec1_ = MakeLabel(panel, "LabelPlanFec1", QStringLiteral("-"), QRect(9, 196, 120, 23),
                               MaroonFont(), kMaroon, false);
  label_plan_fec2_ = MakeLabel(panel, "LabelPlanFec2", QStringLiteral("-"), QRect(9, 226, 120, 23),
                               MaroonFont(), kMaroon, false);
  MakeLabel(panel, "Label1", Text(texts::kSlotsList), QRect(215, 86, 67, 18), MaroonFont(), kMaroon,
            false);

  list_box1_ = new QListWidget(panel);
  list_box1_->setObjectName(QStringLiteral("ListBox1"));
  list_box1_->setGeometry(152, 103, 193, 146);
  list_box1_->setSelectionMode(QAbstractItemView::SingleSelection);

  combo_box_plantilla_ = new QComboBox(panel);
  combo_box_plantilla_->setObjectName(QStringLiteral("ComboBoxPlantilla"));
  combo_box_plantilla_->setGeometry(150, 254, 81, 21);
  combo_box_plantilla_->setVisible(false);

  bit_btn_continuar_ = new QPushButton(CheckMarkGlyph(), Text(texts::kContinue), panel);
  bit_btn_continuar_->setObjectName(QStringLiteral("BitBtnContinuar"));
  bit_btn_continuar_->setGeometry(255, 253, 89, 25);
  QFont bold = FormFont();
  bold.setBold(true);
  bit_btn_continuar_->setFont(bold);
  bit_btn_continuar_->setDefault(true);

  connect(list_box2_, &QListWidget::itemSelectionChanged, this, [this] { ListBox2Click(); });
  connect(list_box2_, &QListWidget::currentRowChanged, this, [this] { ListBox2Click(); });
  connect(bit_btn_continuar_, &QPushButton::clicked, this, [this] { accept(); });
}

TPlantillas::~TPlantillas() = default;

void TPlantillas::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The dialog is modal and shows boxes only while it closes, so it becomes the active
  // window of the program once per attempt: when it is shown.
  if (!activated_ && !event->spontaneous()) {
    activated_ = true;
    FormActivate();
  }
}

void TPlantillas::FormActivate() {
  const QSignalBlocker block_list(list_box2_);
  const QSignalBlocker block_combo(combo_box_plantilla_);
  combo_box_plantilla_->clear();
  list_box2_->clear();
  for (const std::string& code : rules_.Entries()) {
    combo_box_plantilla_->addItem(FromCp1252(code));
    list_box2_->addItem(FromCp1252(code));
  }
  combo_box_plantilla_->setCurrentIndex(0);
  list_box2_->setCurrentRow(-1);
  list_box2_->clearSelection();
  ComboBoxPlantillaChange();
  if (rules_.NoFrames()) ShowNoFrames();
}

void TPlantillas::ShowNoFrames() {
  label_selec_->setText(Text(texts::kNoFramesHint));
  bit_btn_continuar_->setText(Text(texts::kCancel));
}

void TPlantillas::ListBox2Click() {
  const QSignalBlocker block_combo(combo_box_plantilla_);
  combo_box_plantilla_->setCurrentIndex(list_box2_->currentRow());
  ComboBoxPlantillaChange();
}

void TPlantillas::ComboBoxPlantillaChange() {
  const auto details = rules_.DetailsOf(combo_box_plantilla_->currentIndex());
  label_nombre_->setText(FromCp1252(details.name));
  label_plan_fec1_->setText(FromCp1252(details.start_date));
  label_plan_fec2_->setText(FromCp1252(details.end_date));
  list_box1_->clear();
  for (const std::string& text : details.slot_texts) list_box1_->addItem(FromCp1252(text));
}

void TPlantillas::FormClose() {
  std::vector<bool> selected;
  for (int row = 0; row < list_box2_->count(); ++row) {
    selected.push_back(list_box2_->item(row)->isSelected());
  }
  const auto closing = rules_.Close(selected);
  if (!closing.message.empty()) {
    ShowMessageBox(FromCp1252(closing.message), BoxKind::kMessage, ModalOwner{this, nullptr});
  }
  choice_ = closing.choice;
}

void TPlantillas::done(int result) {
  if (closing_) return;
  closing_ = true;
  FormClose();
  QDialog::done(result);
  closing_ = false;
}

}  // namespace tv::app
