#include "shell/qt/program_start.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "base/qt/qt_text.h"
#include "shell/qt/about_box.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/qt/termination_signals.h"
#include "storage/file_layer.h"
#include "table/qt/qt_table_environment.h"
#include "table/qt/qt_ui_host.h"

namespace kordavelt {

int RunProgram(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kordavelt"));
  const TerminationSignals termination;

  // The program speaks Russian; Qt's own dialogs (files, colours, fonts)
  // follow when Qt's translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  TAboutBox splash;
  splash.setWindowFlag(Qt::SplashScreen);
  splash.show();
  QApplication::processEvents();
  bool splashDone = false;
  QTimer::singleShot(1000, [&splashDone] { splashDone = true; });

  QtUiHost ui;
  QtSettingsStore store;
  // The help, the notes and the reference book stand beside the program
  // under the program's own name.
  const std::string programPath =
      ToUtf8(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Kordavelt")));
  TMainForm window(ui, LocalFileSystem(), store, programPath);
  ui.SetParentWindow(&window);
  ui.SetTableEnvironment(&window.Tables());

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.SetModelToOpen(arguments.at(1));

  while (!splashDone) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  splash.hide();
  window.show();
  const int code = QApplication::exec();
  store.Sync();
  return code;
}

}  // namespace kordavelt
