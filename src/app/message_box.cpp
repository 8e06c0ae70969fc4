#include "app/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include "app/application.h"

namespace tv::app {

void PlaceModal(QWidget& dialog, const ModalOwner& owner) {
  if (owner.widget != nullptr) {
    dialog.setParent(owner.widget, dialog.windowFlags() | Qt::Dialog);
    return;
  }
  if (owner.host != nullptr) {
    dialog.winId();  // makes the native window that takes the transient parent
    if (QWindow* window = dialog.windowHandle()) window->setTransientParent(owner.host);
  }
}

void ShowMessageBox(const QString& text, BoxKind kind, const ModalOwner& owner) {
  QMessageBox box(kind == BoxKind::kError ? QMessageBox::Critical : QMessageBox::NoIcon,
                  kApplicationTitle, text, QMessageBox::NoButton);
  box.setObjectName(QString::fromLatin1(kMessageBoxName));
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.setWindowModality(Qt::ApplicationModal);
  PlaceModal(box, owner);
  box.exec();
}

}  // namespace tv::app
