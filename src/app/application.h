// What the whole desktop program shares: its title (the caption of every message box),
// its help file, and the fonts of the windows with their fallbacks.
#pragma once

#include <QFont>
#include <QString>

#include "desktop/help_file.h"
#include "desktop/window_texts.h"

class QApplication;

namespace tv::app {

inline const QString kApplicationTitle = QString::fromUtf8(desktop::texts::kApplicationTitle);
inline const QString kHelpFileName = QString::fromUtf8(desktop::kHelpFileName);

// Sets the title and the help file, and teaches the font database the closest
// replacements of the windows' fonts ("MS Sans Serif", "Arial") on this system.
void SetUpApplication(QApplication& application);

// The help file the application names (set again by the help button).
QString HelpFileName();
void SetHelpFileName(const QString& name);

// A font of the windows at a size in pixels (the windows are laid out in pixels).
QFont WindowFont(const QString& family, int pixel_size, bool bold = false);
// "MS Sans Serif" 8 points, the windows' own font.
QFont FormFont();

}  // namespace tv::app
