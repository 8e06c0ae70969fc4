// Draws the main window and the time-frame dialog on the sample school exactly as the
// program shows them and saves them as PNG pictures:
//   screenshot [output folder] [exchange file]
// Run it under a display (tools/screenshot/screenshot.sh starts Xvfb for it).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "app/application.h"
#include "app/main_form.h"
#include "app/paths.h"
#include "app/time_frame_dialog.h"
#include "export/time_frames.h"

namespace {

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool Save(QWidget& window, const QString& file) {
  window.show();
  QElapsedTimer waited;
  waited.start();
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    if (waited.elapsed() > 5000) return false;
    Wait(20);
  }
  Wait(200);  // let the window paint
  const bool saved = window.grab().save(file, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tv::app::SetUpApplication(application);
  const QStringList arguments = QCoreApplication::arguments();
  const QString folder = arguments.size() > 1 ? arguments[1] : QStringLiteral("docs");
  const QString exchange_file =
      arguments.size() > 2 ? arguments[2] : QStringLiteral("examples/centro.xml");
  QDir().mkpath(folder);

  tv::app::MainFormSetup setup;  // no parameters, no runs: the window as a user first sees it
  tv::app::TMForm form(setup);
  bool ok = Save(form, QDir(folder).filePath(QStringLiteral("main-window.png")));
  form.hide();

  // The dialog as the user is about to accept two frames: both selected, the second
  // one clicked last, so its name, dates and slots are shown.
  tv::app::TPlantillas dialog(
      tv::ReadTimeFrames(tv::xml::Document::Load(tv::app::ToPath(exchange_file))),
      tv::app::ModalOwner{});
  dialog.show();
  Wait(50);
  if (auto* frames = dialog.findChild<QListWidget*>(QStringLiteral("ListBox2"));
      frames != nullptr && frames->count() >= 2) {
    frames->item(0)->setSelected(true);
    frames->setCurrentRow(1, QItemSelectionModel::Select);
  }
  ok = Save(dialog, QDir(folder).filePath(QStringLiteral("time-frames.png"))) && ok;
  dialog.hide();

  // Launched mode: the window inside a host window, as Velorim starts it with a first
  // parameter that names no direction (so nothing starts). The picture is taken from
  // the screen, where the host and the window inside it are drawn separately.
  QWidget host;
  host.setWindowTitle(QStringLiteral("Velorim"));
  host.setFixedSize(700, 330);
  host.setStyleSheet(QStringLiteral("background: #5A7394;"));
  host.show();
  Wait(200);
  tv::app::MainFormSetup launched;
  launched.parameters = {"ver", QString::number(host.winId(), 16).toStdString()};
  tv::app::TMForm inside(launched);
  inside.show();
  Wait(500);
  const QString launched_file = QDir(folder).filePath(QStringLiteral("launched.png"));
  const bool grabbed = inside.RunMode() == 2 && host.screen() != nullptr &&
                       host.screen()->grabWindow(host.winId()).save(launched_file, "PNG");
  std::printf("%s %s\n", grabbed ? "wrote" : "could not write", qPrintable(launched_file));
  return ok && grabbed ? 0 : 1;
}
