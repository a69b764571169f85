#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "shell/qt/main_window.h"
#include "table/qt/qt_ui_host.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kordavelt"));

  // The program speaks Russian; Qt's own dialogs (files, colours) follow when
  // Qt's translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  kordavelt::QtUiHost ui;
  kordavelt::MainWindow window(ui);
  ui.SetParentWindow(&window);

  // A first argument names the model to open.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.SetModelToOpen(arguments.at(1));

  window.show();
  return QApplication::exec();
}
