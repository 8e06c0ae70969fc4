// Launched mode: the main window settles inside a window of another program, given by
// its native handle, as a child window without any border.
#pragma once

#include <QtGlobal>

class QWidget;
class QWindow;

namespace tv::app {

// Makes `window` (a top-level widget, not yet shown) a borderless child of the host
// window, at the host's top left corner. Returns the host as a window our dialogs can
// take as their transient parent, or nullptr when this platform cannot embed into
// foreign windows or no such window exists; the window is borderless in any case.
QWindow* EmbedInHost(QWidget& window, quintptr host_handle);

}  // namespace tv::app
