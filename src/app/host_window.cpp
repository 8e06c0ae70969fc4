// The platform branches of launched mode. On X11 and on Windows, Qt takes a foreign
// window as the parent of one of ours; the Windows branch also makes sure the handle
// names a live window first (X11 reports a bad handle itself and leaves ours on top).
#include "app/host_window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tv::app {

namespace {

bool HostExists(quintptr host_handle) {
#ifdef Q_OS_WIN
  return IsWindow(reinterpret_cast<HWND>(host_handle)) != 0;
#else
  return host_handle != 0;
#endif
}

}  // namespace

QWindow* EmbedInHost(QWidget& window, quintptr host_handle) {
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  if (!HostExists(host_handle)) return nullptr;
  // Without foreign-window support (the offscreen platform) fromWinId says so and
  // returns nothing; the window then stays a borderless top-level window.
  QWindow* host = QWindow::fromWinId(static_cast<WId>(host_handle));
  if (host == nullptr) return nullptr;
  window.winId();  // the native window that takes the foreign parent
  QWindow* own = window.windowHandle();
  if (own == nullptr) return nullptr;
  own->setParent(host);
  window.move(0, 0);
  return host;
}

}  // namespace tv::app
