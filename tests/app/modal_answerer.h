// Answers the program's modal windows in a test as a person would: each modal window
// that comes up is handed, in order, to the next scripted answer, which reads it and
// clicks or types. A modal window without an answer left is closed and recorded, so a
// test never hangs and still fails.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace tv::app::testing {

class ModalAnswerer : public QObject {
 public:
  using Answer = std::function<void(QWidget* modal)>;

  ModalAnswerer();
  ~ModalAnswerer() override;

  // Clicks the one button of a message box, after noting its text.
  ModalAnswerer& AnswerBox();
  // Picks this file in the file dialog ("Archivo XML").
  ModalAnswerer& ChooseFile(const QString& path);
  // Cancels the file dialog.
  ModalAnswerer& CancelFileDialog();
  // Any other answer.
  ModalAnswerer& Then(Answer answer);

  // The texts of the message boxes answered so far, and their window titles.
  const QStringList& Messages() const { return messages_; }
  const QStringList& BoxTitles() const { return box_titles_; }
  // What came up without an answer left (object names), or answers left unused.
  const QStringList& Unexpected() const { return unexpected_; }
  int AnswersLeft() const { return static_cast<int>(answers_.size()); }

  // Waits until every answer has been used (or the time is up).
  bool WaitUntilDone(int timeout_ms = 10000);

 private:
  void Poll();

  QTimer timer_;
  std::deque<Answer> answers_;
  QPointer<QWidget> current_;  // the modal window being answered
  QStringList messages_;
  QStringList box_titles_;
  QStringList unexpected_;
};

}  // namespace tv::app::testing
