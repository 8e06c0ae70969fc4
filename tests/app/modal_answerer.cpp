#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

namespace tv::app::testing {

ModalAnswerer::ModalAnswerer() {
  timer_.setInterval(15);
  connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  timer_.start();
}

ModalAnswerer::~ModalAnswerer() = default;

ModalAnswerer& ModalAnswerer::Then(Answer answer) {
  answers_.push_back(std::move(answer));
  return *this;
}

ModalAnswerer& ModalAnswerer::AnswerBox() {
  return Then([this](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {
      unexpected_ << QStringLiteral("expected a message box, got ") + modal->objectName();
      modal->close();
      return;
    }
    messages_ << box->text();
    box_titles_ << box->windowTitle();
    const QList<QAbstractButton*> buttons = box->buttons();
    if (buttons.size() != 1)
      unexpected_ << QStringLiteral("a box with %1 buttons").arg(buttons.size());
    if (!buttons.isEmpty()) buttons.front()->click();
  });
}

ModalAnswerer& ModalAnswerer::ChooseFile(const QString& path) {
  return Then([this, path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) {
      unexpected_ << QStringLiteral("expected the file dialog, got ") + modal->objectName();
      modal->close();
      return;
    }
    // As a person does: the whole path typed into the file name box, then Enter.
    auto* name_box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name_box == nullptr) {
      unexpected_ << QStringLiteral("the file dialog has no file name box");
      dialog->close();
      return;
    }
    name_box->setFocus();
    name_box->setText(path);
    QTest::keyClick(name_box, Qt::Key_Return);
    // The completion list may have come up and taken that Enter: then Enter again.
    if (dialog->isVisible()) QTest::keyClick(name_box, Qt::Key_Return);
  });
}

ModalAnswerer& ModalAnswerer::CancelFileDialog() {
  return Then([this](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) {
      unexpected_ << QStringLiteral("expected the file dialog, got ") + modal->objectName();
      modal->close();
      return;
    }
    dialog->reject();
  });
}

void ModalAnswerer::Poll() {
  if (!current_.isNull() && !current_->isVisible()) current_ = nullptr;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || modal == current_.data() || !modal->isVisible()) return;
  current_ = modal;
  QPointer<QWidget> target(modal);
  Answer answer;
  if (!answers_.empty()) {
    answer = std::move(answers_.front());
    answers_.pop_front();
  }
  // The answer runs from a fresh event, so that this timer can answer the modal
  // windows that the answer itself brings up.
  QTimer::singleShot(0, this, [this, target, answer] {
    if (target.isNull()) return;
    if (answer) {
      answer(target.data());
    } else {
      unexpected_ << QStringLiteral("unanswered %1 \"%2\"")
                         .arg(target->objectName(), target->windowTitle());
      if (auto* box = qobject_cast<QMessageBox*>(target.data())) messages_ << box->text();
      target->close();
    }
  });
}

bool ModalAnswerer::WaitUntilDone(int timeout_ms) {
  return QTest::qWaitFor(
      [this] { return answers_.empty() && QApplication::activeModalWidget() == nullptr; },
      timeout_ms);
}

}  // namespace tv::app::testing
