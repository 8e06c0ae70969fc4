// The time-frame dialog "Planillas, Marcos o Jornadas Horarias" (TPlantillas): the
// export shows it when the exchange file holds two or more time frames, and the user
// selects the one or two frames the timetable uses. The dialog reads the file itself,
// texts as the file gives them. One dialog serves one attempt: after a refused choice
// the caller shows a new one. When the file yields no frame at all, the dialog says so
// and its button cancels the export instead.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "app/message_box.h"
#include "exchange/xml_document.h"
#include "util/user_interface.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tv::app {

class TPlantillas : public QDialog {
  Q_OBJECT

 public:
  TPlantillas(std::filesystem::path exchange_file, const ModalOwner& owner);
  ~TPlantillas() override;

  // The result, valid once the dialog has closed: accepted with one or two padded
  // codes, refused (the rules' message was shown), or cancelled (no frame to choose).
  FrameChoice Choice() const;
  bool ChoiceAccepted() const { return choice_accepted_; }
  const std::string& ChosenFrames() const { return chosen_frames_; }

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
  // The text of the hidden combo box: the code of the current frame ("" for none).
  std::string CurrentFrameCode() const;

  std::filesystem::path exchange_file_;
  xml::Document frame_document_;
  std::vector<std::string> codes_;  // the entries of both frame lists, as the file gives them
  bool activated_ = false;
  bool closing_ = false;
  bool no_frames_ = false;
  bool choice_accepted_ = false;
  std::string chosen_frames_;

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
