// The small pictures of the windows' bitmap buttons, drawn by the program itself: the
// green check mark of the OK kind and the open door of the close kind.
#pragma once

#include <QIcon>

namespace tv::app {

QIcon CheckMarkGlyph();
QIcon CloseGlyph();

}  // namespace tv::app
