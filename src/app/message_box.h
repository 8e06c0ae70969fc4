// The modal windows of the program and where they belong, and the plain message box:
// modal, the application title as caption, one button. The boxes are real modal
// windows; tests answer them as a person would (they find and click the button).
#pragma once

#include <QString>

class QWidget;
class QWindow;

namespace tv::app {

// Where a modal window belongs: on top of the main window in normal use, or on top of
// the host window when the main window lives inside another program's window (a
// widget inside a foreign window cannot parent a dialog, so the dialog gets no parent
// and the host becomes its transient parent).
struct ModalOwner {
  QWidget* widget = nullptr;
  QWindow* host = nullptr;
};

// Gives `dialog` its owner before it is shown.
void PlaceModal(QWidget& dialog, const ModalOwner& owner);

enum class BoxKind {
  kMessage,  // a plain message, no icon
  kError,    // the error that ended something, with the error icon
};

// Shows the text (Unicode) and returns once the user has closed the box.
void ShowMessageBox(const QString& text, BoxKind kind, const ModalOwner& owner);

// The object name of every box, so that a test can tell a box from other windows.
inline constexpr char kMessageBoxName[] = "MessageBox";

}  // namespace tv::app
