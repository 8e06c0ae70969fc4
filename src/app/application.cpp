#include "app/application.h"

#include <QApplication>

namespace tv::app {

namespace {
QString help_file_name;
}

void SetUpApplication(QApplication& application) {
  SetHelpFileName(kHelpFileName);
  application.setApplicationName(kApplicationTitle);
  // Metric-compatible replacements first, then look-alikes.
  QFont::insertSubstitutions(QStringLiteral("Arial"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(
      QStringLiteral("MS Sans Serif"),
      {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
       QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
  application.setFont(FormFont());
}

QString HelpFileName() { return help_file_name.isEmpty() ? kHelpFileName : help_file_name; }

void SetHelpFileName(const QString& name) { help_file_name = name; }

QFont WindowFont(const QString& family, int pixel_size, bool bold) {
  QFont font(family);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// 8 points on the 96 dots per inch the windows were drawn for.
QFont FormFont() { return WindowFont(QStringLiteral("MS Sans Serif"), 11); }

}  // namespace tv::app
