#include "shell/qt/main_window.h"

#include <QGuiApplication>
#include <QScreen>

#include "table/ui_host.h"

namespace kordavelt {

MainWindow::MainWindow(UiHost& ui, QWidget* parent) : QMainWindow(parent), ui_(ui) {
  setWindowTitle(QStringLiteral("Kordavelt"));
  // Until the window remembers its own size: most of the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(screen->availableSize() * 3 / 4);
  }
}

}  // namespace kordavelt
