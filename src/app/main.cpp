// TransVelorOrtelia: the desktop program. It starts the application, names its help
// file and title, creates the main window (the only window made at start-up) and runs
// until that window closes.
#include <QApplication>

#include "app/application.h"
#include "app/main_form.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tv::app::SetUpApplication(application);
  QStringList parameters = QCoreApplication::arguments();
  parameters.removeFirst();
  tv::app::TMForm form(tv::desktop::ProgramSetup(tv::app::Parameters(parameters)));
  // A window inside a foreign window does not count as the last window closing, so
  // the program ends when the main window says it has closed.
  QObject::connect(&form, &tv::app::TMForm::Closed, &application,
                   [] { QCoreApplication::exit(0); });
  form.show();
  return QApplication::exec();
}
