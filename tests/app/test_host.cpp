// A stand-in for the program that launches TransVelorOrtelia: one plain window, whose
// native id it prints in hexadecimal without prefix, as the launcher passes it. It
// stays until it is closed or killed.
#include <QApplication>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget host;
  host.setWindowTitle(QStringLiteral("Velorim"));
  host.resize(700, 400);
  host.setStyleSheet(QStringLiteral("background: #406080;"));
  host.show();
  std::printf("%llX\n", static_cast<unsigned long long>(host.winId()));
  std::fflush(stdout);
  return QApplication::exec();
}
