// The table window on screen, driven through its widgets as a user drives
// it: keys typed into the grid, menu commands, the drop-down list, the
// modal dialog. Faults caught here are the ones between the window and the
// widget: a key that never reaches the owner, an editor that commits on Esc,
// a dialog that forgets where it stood.

#include "table/qt/grid_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <string>

#include "storage/file_layer.h"
#include "support/qt/modal_driver.h"
#include "support/recording_owner.h"
#include "support/scripted_ui_host.h"
#include "table/qt/grid_view.h"
#include "table/qt/qt_table_dialog.h"
#include "table/qt/qt_table_environment.h"
#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

using testing::ModalTest;
using testing::RecordingOwner;
using testing::ScriptedUiHost;
using testing::WhenModalShows;

// An owner that can bring deleted rows back.
class UndoOwner : public RecordingOwner {
 public:
  std::vector<std::string> removed;
  void OnDelete(TableForm& form) override {
    RecordingOwner::OnDelete(form);
    removed.push_back(rows[form.curRow - 1]);
  }
  bool HasUndoDelete() const override { return true; }
  bool CanUndoDelete() const override { return !removed.empty(); }
  void OnUndoDelete(TableForm&) override { removed.clear(); }
};

// Types text the way a keyboard layout delivers it: characters without a
// key of their own (Cyrillic letters) come as text.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

class GridFormTest : public ModalTest {
 protected:
  GridFormTest() {
    form.caption = "Кабели";
    form.head1 = "№#Марка#Длина-#Тип#Материал";
    form.head2 = "#кв.мм#м##";
    form.displayCodes = "CLCCL";
    form.editCodes = "XTNHL";
    owner.rows = {"1#ААБл 3х95#120#1a#Алюминий", "2#ВВГ 4х16#-#0#Медь", "3#АВВГ#35#FF#Алюминий",
                  "4#АВВГ#40#1#Алюминий", "5#АПвБбШв#55#2#Алюминий"};
    owner.columnLists = {"", "", "", "", "Медь#Алюминий"};
    form.rowCount = static_cast<int>(owner.rows.size());
  }

  TGridForm& Show() {
    grid = std::make_unique<TGridForm>(owner, form, environment);
    grid->resize(500, 300);
    grid->show();
    QApplication::setActiveWindow(grid.get());
    grid->Grid()->setFocus();
    QApplication::processEvents();
    return *grid;
  }

  QWidget* Cells() { return grid->Grid(); }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  QtTableEnvironment environment{ui, files};
  UndoOwner owner;
  TableForm form;
  std::unique_ptr<TGridForm> grid;
};

TEST_F(GridFormTest, ATypedNumberGoesToTheOwnerOnEnter) {
  TGridForm& g = Show();
  g.Window().MoveTo(GridCell{3, 2});
  QTest::keyClicks(Cells(), "7");
  QLineEdit* editor = g.Grid()->InlineEditor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), QStringLiteral("7"));
  QTest::keyClicks(editor, "5");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_FALSE(editor->isVisible());
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].row, 3);
  EXPECT_EQ(owner.edits[0].real, 75);
}

TEST_F(GridFormTest, EscForgetsTheEditAndDownCommitsItAndMoves) {
  TGridForm& g = Show();
  g.Window().MoveTo(GridCell{1, 1});
  QTest::keyClick(Cells(), Qt::Key_F2);
  QLineEdit* editor = g.Grid()->InlineEditor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), QStringLiteral("ААБл 3х95"));
  QTest::keyClick(editor, Qt::Key_Escape);
  EXPECT_TRUE(owner.edits.empty());
  TypeText(Cells(), QStringLiteral("С"));
  QTest::keyClick(editor, Qt::Key_Down);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].text, "С");
  EXPECT_EQ(owner.edits[0].row, 1);
  EXPECT_EQ(g.Window().CurRow(), 2);
}

TEST_F(GridFormTest, AListCellOffersItsChoicesUnderTheCell) {
  TGridForm& g = Show();
  g.Window().MoveTo(GridCell{2, 4});
  QTest::keyClick(Cells(), Qt::Key_Return);
  QListWidget* list = g.Grid()->ListEditor();
  ASSERT_TRUE(list->isVisible());
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("Алюминий"));
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_FALSE(list->isVisible());
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].text, "Алюминий");
  EXPECT_EQ(owner.edits[0].integer, 1);
}

TEST_F(GridFormTest, DeletingSelectedRowsAndUndoingItGoThroughTheMenu) {
  TGridForm& g = Show();
  QAction* remove = g.Action(GridCommand::Delete);
  QAction* undo = g.Action(GridCommand::UndoDelete);
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_TRUE(undo->isVisible());
  EXPECT_FALSE(undo->isEnabled());
  g.Window().MoveTo(GridCell{2, 1});
  QTest::keyClick(Cells(), Qt::Key_Right, Qt::ShiftModifier);  // "Вы&делить строку"
  EXPECT_EQ(g.Window().SelFirst(), 2);
  EXPECT_TRUE(remove->isEnabled());
  QTest::keyClick(Cells(), Qt::Key_Delete);
  EXPECT_EQ(owner.deleted, std::vector<int>{2});
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_TRUE(undo->isEnabled());
  QTest::keyClick(Cells(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(owner.removed.empty());
  EXPECT_FALSE(undo->isEnabled());
}

TEST_F(GridFormTest, PasteHandsLinesToTheOwner) {
  TGridForm& g = Show();
  ui.SetClipboard("6\tАСБ\t10\r\n7\tСБ\t20\r\n");
  g.UpdateCommands();
  ASSERT_TRUE(g.Action(GridCommand::Paste)->isEnabled());
  QTest::keyClick(Cells(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(owner.pasted.size(), 2u);
  EXPECT_EQ(owner.pasted[1].first, "7#СБ#20");
  EXPECT_EQ(owner.pasted[1].second, LineContext::NextRow);
}

TEST_F(GridFormTest, CopyToFileWritesTheTableWhereTheUserSays) {
  TGridForm& g = Show();
  ui.ChooseFile("/out/cables.csv");  // the variant gives the extension
  g.Action(GridCommand::CopyToFile)->trigger();
  const std::vector<std::uint8_t>* written = files.Find("/out/cables.CSV");
  ASSERT_NE(written, nullptr);
  // Exchange files keep code page 1251.
  const std::string text(written->begin(), written->end());
  EXPECT_NE(text.find("\xC0\xC2\xC2\xC3"), std::string::npos);  // АВВГ
  EXPECT_EQ(ui.Calls().front().kind, "save");
}

TEST_F(GridFormTest, FindMovesToTheRowAndSaysWhenNothingIsLeft) {
  TGridForm& g = Show();
  g.Window().MoveTo(GridCell{1, 1});
  ui.EnterText("АВВГ");
  QTest::keyClick(Cells(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(g.Window().CurRow(), 3);
  QTest::keyClick(Cells(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(g.Window().CurRow(), 4);
  QTest::keyClick(Cells(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(ui.Messages().back(), "Кабели: Не найдено АВВГ");
}

TEST_F(GridFormTest, CtrlTShowsOneRecordAndBack) {
  TGridForm& g = Show();
  QAction* formView = g.Action(GridCommand::FormView);
  EXPECT_TRUE(formView->isVisible());
  g.Window().MoveTo(GridCell{4, 2});
  QTest::keyClick(Cells(), Qt::Key_T, Qt::ControlModifier);
  ASSERT_TRUE(g.Window().FormView());
  EXPECT_EQ(formView->text(), QStringLiteral("&Таблица"));
  EXPECT_EQ(g.Window().Layout().ColCount(), 2);
  QTest::keyClick(Cells(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_FALSE(g.Window().FormView());
  EXPECT_EQ(g.Window().CurRow(), 4);
  EXPECT_EQ(g.Window().CurCol(), 2);
}

TEST_F(GridFormTest, ThreeColumnsHideTheFormItem) {
  form.head1 = "№#Марка#Длина";
  TGridForm& g = Show();
  EXPECT_FALSE(g.Action(GridCommand::FormView)->isVisible());
  QTest::keyClick(Cells(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_FALSE(g.Window().FormView());
}

TEST_F(GridFormTest, ChoiceDialogChoosesTheRowOnEnterAndReopensInPlace) {
  owner.withEdit = false;
  form.editCodes = "XXXXX";
  form.curRow = 2;
  WhenModalShows([](QWidget& dialog) {
    QWidget* cells = dialog.findChild<ModifyDGrid*>();
    ASSERT_NE(cells, nullptr);
    QTest::keyClick(cells, Qt::Key_Down);
    QTest::keyClick(cells, Qt::Key_Return);
  });
  EXPECT_TRUE(
      RunTableDialog(nullptr, environment, owner, form, "##Выбор#Отмена", TableDialogKind::Choice));
  EXPECT_EQ(form.curRow, 3);
  ASSERT_TRUE(environment.Env().lastModalPosition);
  const Point first = *environment.Env().lastModalPosition;

  QPoint opened;
  WhenModalShows([&opened](QWidget& dialog) {
    opened = dialog.pos();
    QTest::keyClick(dialog.findChild<ModifyDGrid*>(), Qt::Key_Escape);
  });
  EXPECT_FALSE(
      RunTableDialog(nullptr, environment, owner, form, "##Выбор#Отмена", TableDialogKind::Choice));
  EXPECT_EQ(opened, QPoint(first.x, first.y));
}

TEST_F(GridFormTest, TheDialogMenuHoldsOnlyTheCommandsItWasGiven) {
  QStringList captions;
  WhenModalShows([&captions](QWidget& dialog) {
    for (QAction* action : dialog.findChild<QMenuBar*>()->actions()) captions << action->text();
    QTest::keyClick(dialog.findChild<ModifyDGrid*>(), Qt::Key_Escape);
  });
  EXPECT_FALSE(
      RunTableDialog(nullptr, environment, owner, form, "##Выбор#Отмена", TableDialogKind::Table));
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Выбор"), QStringLiteral("Отмена")}));

  captions.clear();
  WhenModalShows([&captions](QWidget& dialog) {
    for (QAction* action : dialog.findChild<QMenuBar*>()->actions()) captions << action->text();
    // The menu's keys act in the active window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.findChild<ModifyDGrid*>(), Qt::Key_P, Qt::ControlModifier);
  });
  EXPECT_TRUE(RunTableDialog(nullptr, environment, owner, form, "#Правка#Выбрать#Отмена",
                             TableDialogKind::Table));
  EXPECT_EQ(captions, (QStringList{QStringLiteral("&Правка"), QStringLiteral("Выбрать"),
                                   QStringLiteral("Отмена")}));
}

// The source tree ran off the bottom of the screen: the window manager's
// title bar was left out when the dialog was sized and placed.
TEST_F(GridFormTest, ATallDialogStaysOnTheScreenWithItsTitleBar) {
  owner.rows.clear();
  for (int row = 1; row <= 300; ++row) owner.rows.push_back(std::to_string(row) + "#ВВГ#10#1#Медь");
  form.rowCount = 300;
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QCursor::setPos(area.center().x() - 1, area.center().y() - 1);
  QRect window;
  WhenModalShows([&window](QWidget& dialog) {
    window = QRect(dialog.pos(), dialog.size() + FrameAllowance(dialog));
    QTest::keyClick(dialog.findChild<ModifyDGrid*>(), Qt::Key_Escape);
  });
  RunTableDialog(nullptr, environment, owner, form, "##Выбор#Отмена", TableDialogKind::Table);
  EXPECT_TRUE(area.contains(window)) << window.bottom() << " below " << area.bottom();
  EXPECT_LE(window.height(), area.height() * 4 / 5);
}

// "Перек...схемы": a table of two narrow columns cut its caption.
TEST_F(GridFormTest, ANarrowDialogIsWideEnoughForItsCaption) {
  form.caption = "Переключение режимов схемы";
  form.head1 = " № #Режим";
  form.head2.clear();
  form.displayCodes = "CL";
  form.editCodes = "XX";
  owner.rows = {"1#Т1", "2#Т2"};
  owner.columnLists.clear();
  form.rowCount = 2;
  int width = 0;
  int needed = 0;
  WhenModalShows([&](QWidget& dialog) {
    width = dialog.width();
    QFont bold = dialog.font();
    bold.setBold(true);
    // The caption beside the bar's buttons, about a bar high each.
    needed = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) +
             3 * dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QTest::keyClick(dialog.findChild<ModifyDGrid*>(), Qt::Key_Escape);
  });
  RunTableDialog(nullptr, environment, owner, form, "##Выбрать#Отмена", TableDialogKind::Table);
  EXPECT_GE(width, needed);
}

}  // namespace
}  // namespace kordavelt
