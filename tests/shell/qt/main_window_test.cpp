// The main window as the user meets it: its menus and buttons with and
// without a model, the demo model opened from the command line, the recent
// files, the settings kept between runs and the save question at the exit.
// Faults caught here: an item usable without a model (a crash waiting to
// happen), a recent list that loses a path, settings that do not come back.

#include "shell/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <fstream>
#include <iterator>

#include "model/data_class.h"
#include "shell/qt/about_box.h"
#include "shell/qt/qt_settings_store.h"
#include "shell/settings_store.h"
#include "storage/file_layer.h"
#include "support/qt/modal_driver.h"
#include "support/scripted_ui_host.h"
#include "table/qt/grid_form.h"
#include "table/qt/qt_table_environment.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

std::vector<std::uint8_t> ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr const char* kProgram = "/demo/Kordavelt";
constexpr const char* kDemo = "/demo/Demo.LVN";
constexpr const char* kCopy = "/demo/Copy.LVN";

// The program's folder with the delivered book and the demo model.
class MainWindowTest : public testing::ModalTest {
 protected:
  MainWindowTest() {
    files.Put("/demo/Kordavelt.SPR", ReadBytes(KORDAVELT_CATALOGUE));
    files.Put(kDemo, ReadBytes(KORDAVELT_DEMO));
    files.Put(kCopy, ReadBytes(KORDAVELT_DEMO));
  }

  TMainForm& Start() {
    window = std::make_unique<TMainForm>(ui, files, store, kProgram);
    return *window;
  }

  bool Enabled(const char* item) { return window->Item(item)->isEnabled(); }
  bool Visible(const char* item) { return window->Item(item)->isVisible(); }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  MemorySettingsStore store;
  std::unique_ptr<TMainForm> window;
};

TEST_F(MainWindowTest, WithoutAModelOnlyNewAndOpenAreThere) {
  TMainForm& w = Start();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kordavelt"));
  EXPECT_EQ(w.StatusText(), QStringLiteral("Модель не открыта"));
  for (const char* item : {"saveItem", "saveAsItem", "closeItem", "importItem", "exportItem"}) {
    EXPECT_FALSE(Enabled(item)) << item;
  }
  EXPECT_TRUE(Enabled("newItem"));
  EXPECT_TRUE(Enabled("openItem"));
  for (const char* menu : {"serviceMenu", "bookMenu", "windowsMenu", "dataMenu", "resultsMenu"}) {
    EXPECT_FALSE(Visible(menu)) << menu;
  }
  for (int i = 0; i < kToolButtonCount; ++i) {
    const auto button = static_cast<ToolButton>(i);
    const bool expected = button == ToolButton::New || button == ToolButton::Open;
    EXPECT_EQ(w.Button(button)->isEnabled(), expected) << i;
  }
}

TEST_F(MainWindowTest, AFirstStartCreatesTheSettingsKeyAndKeepsTheStartValues) {
  TMainForm& w = Start();
  EXPECT_TRUE(store.HasKey(kSettingsKey));
  EXPECT_EQ(w.Settings().fontName, "Arial");
  EXPECT_EQ(w.Settings().fontSize, 10);
  EXPECT_EQ(w.Settings().digits, 5);
  EXPECT_FALSE(w.findChild<QToolBar*>()->isHidden());
}

TEST_F(MainWindowTest, SettingsWrittenAtTheEndComeBackAtTheNextStart) {
  {
    TMainForm& w = Start();
    w.Settings().digits = 7;
    w.Settings().fontName = "DejaVu Sans";
    w.Settings().colorDefault = 0x00FF00;
    w.Settings().colorOffline = 0x00FF00;  // equal to the standard colour
    w.findChild<QToolBar*>()->hide();
    w.WriteSettings();
    window.reset();
  }
  TMainForm& again = Start();
  EXPECT_EQ(again.Settings().digits, 7);
  EXPECT_EQ(again.Settings().fontName, "DejaVu Sans");
  EXPECT_EQ(again.Settings().colorOffline, 0xC0C0C0u);  // read back as silver
  EXPECT_TRUE(again.findChild<QToolBar*>()->isHidden());
}

TEST_F(MainWindowTest, TheSettingsFileKeepsValuesOfEveryType) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("settings.ini"));
  {
    QtSettingsStore file(path);
    EXPECT_FALSE(file.HasKey(kSettingsKey));
    EXPECT_TRUE(file.CreateKey(kSettingsKey));
    file.WriteString(kSettingsKey, "FontName", "Times New Roman");
    file.WriteInt(kSettingsKey, "ColorSelect", 0xC0C0C0);
    file.WriteDouble(kSettingsKey, "MinNull", 1e-6);
    file.WriteBool(kSettingsKey, "Toolbar", true);
    EXPECT_TRUE(file.Sync());
  }
  QtSettingsStore file(path);
  EXPECT_TRUE(file.HasKey(kSettingsKey));
  EXPECT_EQ(file.ReadString(kSettingsKey, "FontName"), "Times New Roman");
  EXPECT_EQ(file.ReadInt(kSettingsKey, "ColorSelect"), 0xC0C0C0);
  EXPECT_DOUBLE_EQ(*file.ReadDouble(kSettingsKey, "MinNull"), 1e-6);
  EXPECT_EQ(file.ReadBool(kSettingsKey, "Toolbar"), true);
  EXPECT_FALSE(file.ReadInt(kSettingsKey, "Digits"));
}

TEST_F(MainWindowTest, TheCommandLineModelOpensWhenTheWindowFirstShows) {
  TMainForm& w = Start();
  w.SetModelToOpen(QString::fromUtf8(kDemo));
  w.show();
  for (int i = 0; i < 10 && !w.Session().Usable(); ++i) QApplication::processEvents();
  ASSERT_TRUE(w.Session().Usable());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kordavelt Demo"));
  EXPECT_TRUE(w.StatusText().startsWith(QStringLiteral("Узлов-")));
  for (const char* item : {"saveItem", "saveAsItem", "closeItem", "importItem", "exportItem"}) {
    EXPECT_TRUE(Enabled(item)) << item;
  }
  for (const char* menu : {"serviceMenu", "bookMenu", "windowsMenu", "dataMenu", "resultsMenu"}) {
    EXPECT_TRUE(Visible(menu)) << menu;
  }
  EXPECT_TRUE(w.Button(ToolButton::Calc)->isEnabled());
  EXPECT_TRUE(w.Button(ToolButton::Sprav)->isEnabled());
  EXPECT_EQ(w.Recent().Entry(1), kDemo);
}

TEST_F(MainWindowTest, TheActiveTableMergesItsEditMenuAndLendsTheToolbarItsCommands) {
  TMainForm& w = Start();
  w.show();
  ASSERT_TRUE(w.OpenModel(QString::fromUtf8(kDemo)));
  w.Session().ShowSources();
  TGridForm* sources = w.TableChild(TableWindowId::Sources);
  ASSERT_NE(sources, nullptr);
  w.Area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(sources->parentWidget()));
  QApplication::processEvents();
  QStringList menus;
  for (QAction* action : w.menuBar()->actions()) {
    if (action->isVisible()) menus << action->text();
  }
  EXPECT_EQ(menus, (QStringList{"&Файл", "&Правка", "&Данные", "&Результаты", "&Сервис",
                                "Сп&равочник", "&Окна", "&?"}));
  EXPECT_TRUE(w.Button(ToolButton::Copy)->isEnabled());
  EXPECT_TRUE(w.Button(ToolButton::Search)->isEnabled());
  EXPECT_FALSE(w.Button(ToolButton::Delete)->isEnabled());
  sources->Window().MousePress(GridCell{1, 0});
  EXPECT_TRUE(w.Button(ToolButton::Delete)->isEnabled());

  ui.PressButton("Нет");  // the calculation has changed the model
  ASSERT_TRUE(w.CloseModel());
  EXPECT_EQ(w.TableChild(TableWindowId::Sources), nullptr);
  EXPECT_FALSE(w.Button(ToolButton::Copy)->isEnabled());
  EXPECT_FALSE(Visible("dataMenu"));
  EXPECT_FALSE(Enabled("saveItem"));
}

TEST_F(MainWindowTest, OpeningTheThirdRecentFileMakesItTheFirst) {
  const std::string key = RecentFileKey("Kordavelt");
  store.WriteString(key, "File1", "/demo/First.LVN");
  store.WriteString(key, "File2", "/demo/Second.LVN");
  store.WriteString(key, "File3", kCopy);
  TMainForm& w = Start();
  QAction* third = w.Item("recentItem3");
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->text(), QString::fromUtf8("3 ") + QString::fromUtf8(kCopy));
  EXPECT_EQ(w.Item("recentItem4"), nullptr);  // only entries present at start
  third->trigger();
  ASSERT_TRUE(w.Session().Usable());
  EXPECT_EQ(w.Recent().Entry(1), kCopy);
  EXPECT_EQ(w.Recent().Entry(3), "/demo/First.LVN");
  EXPECT_EQ(w.Item("recentItem1")->text(), QString::fromUtf8("1 ") + QString::fromUtf8(kCopy));
  w.WriteSettings();
  EXPECT_EQ(store.ReadString(key, "File1"), kCopy);
}

TEST_F(MainWindowTest, CancellingTheSaveQuestionKeepsTheWindowAndTheModel) {
  TMainForm& w = Start();
  w.show();
  ASSERT_TRUE(w.OpenModel(QString::fromUtf8(kDemo)));
  // A new designation for source 1 changes the model.
  TableDriver sources(*w.Session().Owner(TableWindowId::Sources),
                      *w.Session().Form(TableWindowId::Sources), ui);
  ASSERT_TRUE(sources.CommitEdit(1, 1, "ТП-1"));
  ui.PressButton("Отменить");
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.Session().Usable());
  ui.PressButton("Нет");
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.Session().HasModel());
}

// The calculation of the open writes its protocol, which "&Протокол"
// shows; without the file (and without notes) the user is told so.
TEST_F(MainWindowTest, TheProtocolOfTheCalculationIsShownAndAMissingFileIsSaidSo) {
  TMainForm& w = Start();
  ASSERT_TRUE(w.OpenModel(QString::fromUtf8(kDemo)));
  QString shown;
  testing::WhenModalShows([&](QWidget& viewer) {
    shown = testing::Child<QPlainTextEdit>(viewer, "viewerText")->toPlainText();
    static_cast<QDialog&>(viewer).accept();
  });
  w.ShowProtocol();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Протокол расчета\nМодель: /demo/Demo.LVN\n")))
      << shown.toStdString();
  EXPECT_TRUE(shown.contains(w.StatusText())) << shown.toStdString();

  files.Remove("/demo/Demo.txt");
  w.ShowProtocol();
  w.ShowNotes();
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[0],
            "Просмотр протокола: Протокол не создан!#Возможно, что расчет# не выполнялся");
  EXPECT_EQ(ui.Messages()[1],
            "Заметки по программе: Файл /demo/Kordavelt.txt отсутствует#Он может содержать "
            "информацию об изменениях#в программе и/или замечания расчетчика ");
}

// The about box decodes its JPEG built into the program; a picture that no
// longer decodes would show an empty box.
TEST(AboutBoxTest, ShowsItsPictureVersionAndPurpose) {
  TAboutBox about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
  EXPECT_TRUE(about.HasPicture());
  EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("aboutVersion"))->text(),
            QStringLiteral("V 2.02"));
  EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("aboutComment"))->text(),
            QStringLiteral("Анализ и проектирование низковольтной распределительной сети"));
}

}  // namespace
}  // namespace kordavelt
