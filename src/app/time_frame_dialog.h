// The time-frame dialog "Planillas, Marcos o Jornadas Horarias" (TPlantillas) in Qt: a
// view over desktop/time_frame_dialog_rules.h. The export shows it when the exchange
// file holds two or more time frames, and the user selects the one or two frames the
// timetable uses. One dialog serves one attempt: after a refused choice the caller shows
// a new one. Handed no frame at all, the dialog says so and its button cancels the
// export instead.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/message_box.h"
#include "desktop/time_frame_dialog_rules.h"
#include "util/user_interface.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tv::app {

class TPlantillas : public QDialog {
  Q_OBJECT

 public:
  TPlantillas(std::vector<TimeFrame> frames, const ModalOwner& owner);
  ~TPlantillas() override;

  // The result, valid once the dialog has closed: accepted with one or two codes,
  // refused (the rules' message was shown), or cancelled (no frame to choose).
  const FrameChoice& Choice() const { return choice_; }
  bool ChoiceAccepted() const { return choice_.kind == FrameChoice::Kind::kAccepted; }

  // Every way of closing (the button, the close box, Escape) ends here.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormActivate();
  void ListBox2Click();
  void ComboBoxPlantillaChange();
  void FormClose();
  void ShowNoFrames();

  desktop::TimeFrameDialogRules rules_;
  bool activated_ = false;
  bool closing_ = false;
  FrameChoice choice_;

  QLabel* label_plantillas_;
  QLabel* label_selec_;
  QListWidget* list_box2_;
  QLabel* label_nombre_;
  QLabel* label_plan_fec1_;
  QLabel* label_plan_fec2_;
  QListWidget* list_box1_;
  QComboBox* combo_box_plantilla_;
  QPushButton* bit_btn_continuar_;
};

}  // namespace tv::app
