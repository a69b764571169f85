// The main window's child windows as the engineer meets them over the demo
// workshop: a table's "&Правка" commands behind the menus, the toolbar and
// the keys, the window layouts, the file menu's exchange with the window in
// front, the help, and texts that must show whole. Faults caught here: a
// command greyed or silent although the table can do it, a key bound twice
// so that neither acts, a window out of reach after the frame shrank, an
// import or export that ignores the window in front, a column or caption
// cut short.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <fstream>
#include <iterator>
#include <string>

#include "base/dial_list.h"
#include "base/qt/qt_text.h"
#include "shell/qt/main_window.h"
#include "shell/settings_store.h"
#include "storage/file_layer.h"
#include "support/qt/modal_driver.h"
#include "support/scripted_ui_host.h"
#include "table/qt/grid_form.h"
#include "table/qt/grid_view.h"
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

class MainWindowChildrenTest : public testing::ModalTest {
 protected:
  MainWindowChildrenTest() {
    files.Put("/demo/Kordavelt.SPR", ReadBytes(KORDAVELT_CATALOGUE));
    files.Put(kDemo, ReadBytes(KORDAVELT_DEMO));
  }

  // The program on the demo, in a window of `size`, active with the keyboard.
  TMainForm& OpenDemo(QSize size = QSize(1000, 760)) {
    window = std::make_unique<TMainForm>(ui, files, store, kProgram);
    window->setWindowState(Qt::WindowNoState);
    window->resize(size);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(window->OpenModel(QString::fromUtf8(kDemo)));
    QApplication::processEvents();
    return *window;
  }

  // The table window `id` made the active child, its grid with the keyboard.
  TGridForm* Activate(TableWindowId id) {
    TGridForm* form = window->TableChild(id);
    EXPECT_NE(form, nullptr);
    if (form == nullptr) return nullptr;
    window->Area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
    form->Grid()->setFocus();
    QApplication::processEvents();
    return form;
  }

  std::vector<QMdiSubWindow*> ShownChildren() const {
    std::vector<QMdiSubWindow*> shown;
    for (QMdiSubWindow* child : window->Area()->subWindowList(QMdiArea::StackingOrder)) {
      if (child->isVisible()) shown.push_back(child);
    }
    return shown;
  }

  const std::string& LastDialog() const { return ui.Calls().back().caption; }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  MemorySettingsStore store;
  std::unique_ptr<TMainForm> window;
};

// --- "&Правка" of the active table ---------------------------------------------------

TEST_F(MainWindowChildrenTest, ADeletedGroupComesBackByTheMenuItemTheButtonOrCtrlZ) {
  TMainForm& w = OpenDemo();
  TGridForm* groups = Activate(TableWindowId::Groups);
  ASSERT_NE(groups, nullptr);
  QAction* undo = groups->Action(GridCommand::UndoDelete);
  const int rows = groups->Window().RowCount();
  EXPECT_TRUE(undo->isVisible());
  EXPECT_FALSE(undo->isEnabled());

  groups->Window().MousePress(GridCell{6, 0});  // the water heaters, with a receiver
  ui.PressButton("Да");  // "Будут удалены все электроприемники группы!"
  groups->Action(GridCommand::Delete)->trigger();
  ASSERT_EQ(groups->Window().RowCount(), rows - 1);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_TRUE(w.Button(ToolButton::Undo)->isEnabled());

  QTest::keyClick(groups->Grid(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(groups->Window().RowCount(), rows);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(w.Button(ToolButton::Undo)->isEnabled());

  groups->Window().MousePress(GridCell{6, 0});
  ui.PressButton("Да");
  groups->Action(GridCommand::Delete)->trigger();
  w.Button(ToolButton::Undo)->trigger();
  EXPECT_EQ(groups->Window().RowCount(), rows);
}

TEST_F(MainWindowChildrenTest, PasteFollowsTheClipboardAndTheCurrentCell) {
  TMainForm& w = OpenDemo();
  TGridForm* groups = Activate(TableWindowId::Groups);
  ASSERT_NE(groups, nullptr);
  TableWindow& table = groups->Window();
  QAction* paste = groups->Action(GridCommand::Paste);
  table.MoveTo(GridCell{1, 1});  // the group's name
  EXPECT_FALSE(paste->isEnabled()) << "nothing on the clipboard";

  ui.SetClipboard("Насос пожарный");
  QGuiApplication::clipboard()->setText(QStringLiteral("Насос пожарный"));  // the desktop tells
  EXPECT_TRUE(paste->isEnabled());
  EXPECT_TRUE(w.Button(ToolButton::Paste)->isEnabled());

  // A computed column takes no value.
  table.Line(1);
  int computed = table.ColCount() - 1;
  while (computed > 0 && EditLetter(table.Form().editCodes, computed) != 'Z') --computed;
  ASSERT_GT(computed, 1);
  table.MoveTo(GridCell{1, computed});
  EXPECT_FALSE(paste->isEnabled());
  EXPECT_FALSE(w.Button(ToolButton::Paste)->isEnabled());

  table.MoveTo(GridCell{1, 1});
  QTest::keyClick(groups->Grid(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ListItem(table.Line(1), 1), "Насос пожарный");
}

// "&Перечень ЭП" and "Найти &ещё" both carried Ctrl+L, so neither acted.
TEST_F(MainWindowChildrenTest, CtrlLInATableFindsTheNextRow) {
  TMainForm& w = OpenDemo();
  EXPECT_EQ(w.Item("dataItem4")->text(), QStringLiteral("&Перечень ЭП"));
  EXPECT_TRUE(w.Item("dataItem4")->shortcut().isEmpty());
  TGridForm* receivers = Activate(TableWindowId::Receivers);
  ASSERT_NE(receivers, nullptr);
  ui.CancelInput();  // the text to find is asked for
  QTest::keyClick(receivers->Grid(), Qt::Key_L, Qt::ControlModifier);
  ASSERT_FALSE(ui.Calls().empty());
  EXPECT_EQ(ui.Calls().back().kind, "input");
  EXPECT_EQ(ui.Calls().back().text.rfind("Найти ", 0), 0u) << ui.Calls().back().text;
}

// --- Window layouts ----------------------------------------------------------------------

TEST_F(MainWindowChildrenTest, ShrinkingTheMainWindowKeepsEveryChildInReach) {
  TMainForm& w = OpenDemo();
  ASSERT_EQ(ShownChildren().size(), 3u);
  w.resize(560, 380);
  QApplication::processEvents();
  const QRect area = w.Area()->viewport()->rect();
  for (QMdiSubWindow* child : ShownChildren()) {
    EXPECT_TRUE(area.contains(child->geometry()))
        << child->windowTitle().toStdString() << " outside the area";
  }
}

TEST_F(MainWindowChildrenTest, TheCascadeLayoutLeavesEveryTitleBarInSight) {
  TMainForm& w = OpenDemo();
  w.Session().Model().Settings().SetWindowLayout(7);  // "Oкна каскадом"
  w.Item("reLayoutItem")->trigger();
  const std::vector<QMdiSubWindow*> shown = ShownChildren();
  ASSERT_EQ(shown.size(), 3u) << "the data windows cascaded";
  const QRect area = w.Area()->viewport()->rect();
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_TRUE(area.contains(shown[i]->geometry())) << i;
    if (i == 0) continue;
    EXPECT_GT(shown[i]->y(), shown[i - 1]->y()) << i;
    EXPECT_GT(shown[i]->x(), shown[i - 1]->x()) << i;
  }
  EXPECT_EQ(w.Area()->activeSubWindow(), shown.back()) << "the front window is the active one";
}

// "&Окна" showed an empty box beside every window.
TEST_F(MainWindowChildrenTest, TheWindowsMenuChecksTheWindowInFrontOnly) {
  TMainForm& w = OpenDemo();
  TGridForm* sources = Activate(TableWindowId::Sources);
  ASSERT_NE(sources, nullptr);
  QMenu* windows = w.Item("windowsMenu")->menu();
  windows->aboutToShow();
  int listed = 0;
  for (QAction* item : windows->actions().mid(4)) {
    ++listed;
    const bool front = item->text().endsWith(sources->windowTitle());
    EXPECT_EQ(item->isCheckable(), front) << item->text().toStdString();
    EXPECT_EQ(item->isChecked(), front) << item->text().toStdString();
  }
  EXPECT_EQ(listed, 3);
}

// --- Exchange with the window in front ---------------------------------------------------

TEST_F(MainWindowChildrenTest, ImportAndExportGoByTheWindowInFront) {
  TMainForm& w = OpenDemo();
  ASSERT_TRUE(w.Session().ShowResults("KJur"));
  ASSERT_EQ(w.Area()->activeSubWindow()->windowTitle(),
            QStringLiteral("Кабельный журнал для раскладки"));
  ui.CancelInput();
  w.Item("importItem")->trigger();
  EXPECT_EQ(LastDialog(), "Импорт длин кабелей");

  TGridForm* sources = Activate(TableWindowId::Sources);
  ASSERT_NE(sources, nullptr);
  ui.CancelInput();
  w.Item("importItem")->trigger();
  EXPECT_EQ(LastDialog(), "Импорт модели");
  ui.CancelInput();
  w.Item("exportItem")->trigger();
  EXPECT_EQ(LastDialog(), "Экспорт. " + sources->Window().Form().caption);
}

// --- Help ---------------------------------------------------------------------------------

TEST_F(MainWindowChildrenTest, F1OpensTheHelpFileOrNamesTheOneMissing) {
  window = std::make_unique<TMainForm>(ui, files, store, kProgram);
  QStringList opened;
  window->OpenDocument = [&opened](const QString& path) {
    opened << path;
    return true;
  };
  QAction* help = window->Item("helpItem");
  EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
  help->trigger();
  EXPECT_TRUE(opened.isEmpty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0], "Справка: Файл справки /demo/Kordavelt.htm отсутствует");

  files.Put("/demo/Kordavelt.htm", ReadBytes(KORDAVELT_HELP));
  help->trigger();
  EXPECT_EQ(opened, QStringList{QStringLiteral("/demo/Kordavelt.htm")});

  // Without a program for it on the desktop, the help shows in the viewer.
  window->OpenDocument = [](const QString&) { return false; };
  QString shown;
  testing::WhenModalShows([&shown](QWidget& viewer) {
    shown = testing::Child<QTextBrowser>(viewer, "viewerText")->toPlainText();
    viewer.close();
  });
  help->trigger();
  EXPECT_TRUE(shown.contains(QStringLiteral("kordavelt-cli calc"))) << shown.toStdString();
  EXPECT_EQ(ui.Messages().size(), 1u);
}

// The help delivered beside the program says, in the program's language,
// what it is and how to begin: the demo and the command line.
TEST(ShippedHelpTest, NamesTheProgramTheDemoAndTheCommandLine) {
  const std::vector<std::uint8_t> bytes = ReadBytes(KORDAVELT_HELP);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("charset=\"utf-8\""), std::string::npos);
  EXPECT_NE(text.find("низковольтных"), std::string::npos);
  EXPECT_NE(text.find("Demo.LVN"), std::string::npos);
  EXPECT_NE(text.find("kordavelt-cli calc"), std::string::npos);
}

// --- Texts shown whole ---------------------------------------------------------------------

// "Насос циркуляцион", "АИР180М", "Нагре": the receivers window shown again
// as the list kept the column widths of the receivers' own columns.
TEST_F(MainWindowChildrenTest, TheReceiverListFitsEveryColumnToItsCells) {
  TMainForm& w = OpenDemo();
  w.Item("dataItem4")->trigger();
  TGridForm* list = w.TableChild(TableWindowId::Receivers);
  ASSERT_NE(list, nullptr);
  TableWindow& table = list->Window();
  ASSERT_EQ(table.Form().caption, "Перечень электроприемников");
  for (int row = 1; row <= table.RowCount(); ++row) {
    const std::string line = table.Line(row);
    for (int col = 0; col < table.ColCount(); ++col) {
      const std::string item = ListItem(line, col);
      if (item.starts_with('@')) continue;
      EXPECT_GE(table.Layout().ColWidth(col), table.Environment().TextExtent(item).width)
          << "row " << row << ": " << item;
    }
  }
}

TEST_F(MainWindowChildrenTest, TheBookWindowIsCaptionedWithTheCategoryShown) {
  TMainForm& w = OpenDemo();
  ui.ChooseTableRow(2);
  w.Item("bookMenu")->trigger();
  TGridForm* book = w.TableChild(TableWindowId::Book);
  ASSERT_NE(book, nullptr);
  EXPECT_EQ(book->parentWidget()->windowTitle(), QStringLiteral("Кабели"));
}

}  // namespace
}  // namespace kordavelt
