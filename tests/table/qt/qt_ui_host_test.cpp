// The Qt dialogs answer as the rest of the program expects: message boxes by
// button number, inputs and choices with their values or the cancel result.

#include "table/qt/qt_ui_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <vector>

#include "support/qt/modal_driver.h"
#include "ui/qt/qt_file_dialog.h"
#include "ui/qt/qt_message_dialog.h"
#include "ui/qt/qt_progress_window.h"

namespace kordavelt {
namespace {

using testing::ButtonsLeftToRight;
using testing::Child;
using testing::WhenModalShows;

class QtUiHostTest : public testing::ModalTest {
 protected:
  QtUiHost ui_;
};

// --- Message boxes ----------------------------------------------------------

// Catches buttons numbered from 0 or from the right, and a close box that
// answers like a button.
TEST_F(QtUiHostTest, MessageBoxAnswersTenPlusTheButtonOrTwoWhenClosed) {
  WhenModalShows([](QWidget& window) { ButtonsLeftToRight(window).at(1)->click(); });
  EXPECT_EQ(ui_.ShowDialog("Проверка", "Строка", "Один#Два#Три", IconKind::Warning), 12);

  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.ShowDialog("Проверка", "Строка", "Один#Два#Три", IconKind::Warning), 2);

  WhenModalShows([](QWidget& window) { QTest::keyClick(&window, Qt::Key_Escape); });
  EXPECT_EQ(ui_.ShowDialog("Проверка", "Строка", "Один#Два", IconKind::Stop), 2);
}

// Catches a window that opens without the focus on its first button, or an
// Enter that presses the default button instead of the focused one.
TEST_F(QtUiHostTest, EnterPressesTheFocusedButtonTheFirstAtTheStart) {
  WhenModalShows([](QWidget& window) {
    QWidget* focused = window.focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused, ButtonsLeftToRight(window).at(0));
    QTest::keyClick(focused, Qt::Key_Return);
  });
  EXPECT_EQ(ui_.ShowDialog("Проверка", "Строка", "Один#Два", IconKind::Information), 11);

  WhenModalShows([](QWidget& window) {
    QPushButton* second = ButtonsLeftToRight(window).at(1);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Return);
  });
  EXPECT_EQ(ui_.ShowDialog("Проверка", "Строка", "Один#Два", IconKind::Information), 12);
}

// Catches the close box of the yes/no questions answering the wrong way.
TEST_F(QtUiHostTest, QuestionsAnswerTheirDefaultsWhenClosed) {
  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.AskYesNo("Вопрос", "Продолжить?"), kAnswerYes);
  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.AskNoYes("Вопрос", "Удалить?"), kAnswerNo);
  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.AskYesNoCancel("Вопрос", "Сохранить?"), kAnswerCancel);

  WhenModalShows([](QWidget& window) {
    const QList<QPushButton*> buttons = ButtonsLeftToRight(window);
    EXPECT_EQ(buttons.at(0)->text(), QStringLiteral("Нет"));
    buttons.at(1)->click();
  });
  EXPECT_EQ(ui_.AskNoYes("Вопрос", "Удалить?"), kAnswerYes);
}

// Catches a broken layout: unequal or narrow buttons, a row off centre, the
// text not split into lines, a missing separator, an icon for "no icon".
TEST_F(QtUiHostTest, MessageBoxLaysOutLinesIconSeparatorAndAnEqualCentredButtonRow) {
  MessageDialog dialog(nullptr, "Проверка", "Первая строка#Вторая", "Да#Нет#Отменить",
                       IconKind::Question);
  const QList<QPushButton*> buttons = ButtonsLeftToRight(dialog);
  ASSERT_EQ(buttons.size(), 3);
  const int width = buttons[0]->width();
  EXPECT_GE(width, dialog.fontMetrics().horizontalAdvance(QStringLiteral(" Применить ")));
  for (const QPushButton* button : buttons) {
    EXPECT_EQ(button->width(), width);
    EXPECT_EQ(button->y(), buttons[0]->y());
  }
  EXPECT_EQ(buttons[1]->x() - buttons[0]->x(), 5 * width / 4);
  const int leftGap = buttons[0]->x();
  const int rightGap = dialog.width() - (buttons[2]->x() + width);
  EXPECT_LE(std::abs(leftGap - rightGap), 1);

  EXPECT_EQ(Child<QLabel>(dialog, "messageText")->text(), QStringLiteral("Первая строка\nВторая"));
  EXPECT_NE(dialog.findChild<QLabel*>(QStringLiteral("messageIcon")), nullptr);
  bool separatorAboveButtons = false;
  for (const QFrame* frame : dialog.findChildren<QFrame*>()) {
    if (frame->frameShape() == QFrame::HLine && frame->y() < buttons[0]->y()) {
      separatorAboveButtons = true;
    }
  }
  EXPECT_TRUE(separatorAboveButtons);

  MessageDialog plain(nullptr, "Проверка", "Текст", "Ok", IconKind::None);
  EXPECT_EQ(plain.findChild<QLabel*>(QStringLiteral("messageIcon")), nullptr);
}

// "Просмо... токола": a short message under a longer caption cut the caption.
TEST_F(QtUiHostTest, AMessageBoxIsWideEnoughForItsCaption) {
  MessageDialog dialog(nullptr, "Просмотр протокола", "Нет", "Ok", IconKind::Information);
  QFont bold = dialog.font();
  bold.setBold(true);
  // The caption beside the bar's buttons, about a bar high each.
  const int needed = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) +
                     3 * dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  EXPECT_GE(dialog.width(), needed);
}

// Catches a window placed past the screen's edge when the mouse is near it.
TEST_F(QtUiHostTest, MessageBoxOpensAtTheMouseButStaysOnTheScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QCursor::setPos(area.left() + 10, area.top() + 20);
  WhenModalShows([](QWidget& window) {
    EXPECT_EQ(window.pos(), QCursor::pos());
    window.close();
  });
  ui_.ShowInfo("Проверка", "Текст");

  QCursor::setPos(area.right() - 5, area.bottom() - 5);
  WhenModalShows([area](QWidget& window) {
    EXPECT_LE(window.x() + window.width(), area.right() + 1);
    EXPECT_LE(window.y() + window.height(), area.bottom() + 1);
    EXPECT_GE(window.x(), 0);
    EXPECT_GE(window.y(), 0);
    window.close();
  });
  ui_.ShowInfo("Проверка", "Текст");
}

// --- Text input -------------------------------------------------------------

// Catches an edit box that is not preset, not selected, not limited, or an
// accept that does not store the entry.
TEST_F(QtUiHostTest, InputTextPresetsSelectsAndStoresTheEntryOnYes) {
  WhenModalShows([](QWidget& window) {
    auto* edit = Child<QLineEdit>(window, "inputEdit");
    EXPECT_EQ(edit->text(), QStringLiteral("старый"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("старый"));
    EXPECT_EQ(edit->maxLength(), 12);
    edit->setText(QStringLiteral("новый"));
    ButtonsLeftToRight(window).at(0)->click();
  });
  std::string text = "старый";
  EXPECT_TRUE(ui_.InputText("Ввод", "Имя:", text, 12));
  EXPECT_EQ(text, "новый");

  WhenModalShows([](QWidget& window) {
    auto* edit = Child<QLineEdit>(window, "inputEdit");
    edit->setText(QStringLiteral("через Enter"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_TRUE(ui_.InputText("Ввод", "Имя:", text, 20));
  EXPECT_EQ(text, "через Enter");
}

// Catches a cancel that still stores the typed text.
TEST_F(QtUiHostTest, InputTextCancelledByNoOrEscKeepsTheText) {
  std::string text = "было";
  WhenModalShows([](QWidget& window) {
    Child<QLineEdit>(window, "inputEdit")->setText(QStringLiteral("стало"));
    ButtonsLeftToRight(window).at(1)->click();
  });
  EXPECT_FALSE(ui_.InputText("Ввод", "Имя:", text, 10));
  WhenModalShows([](QWidget& window) {
    auto* edit = Child<QLineEdit>(window, "inputEdit");
    edit->setText(QStringLiteral("стало"));
    QTest::keyClick(edit, Qt::Key_Escape);
  });
  EXPECT_FALSE(ui_.InputText("Ввод", "Имя:", text, 10));
  EXPECT_EQ(text, "было");
}

// Catches the edit box placed anywhere but after the last prompt line.
TEST_F(QtUiHostTest, InputTextPutsTheEditBoxOnTheLastPromptLine) {
  WhenModalShows([](QWidget& window) {
    auto* edit = Child<QLineEdit>(window, "inputEdit");
    QList<QLabel*> labels = window.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    const QLabel* last = labels[0]->y() > labels[1]->y() ? labels[0] : labels[1];
    EXPECT_EQ(last->text(), QStringLiteral("Длина, м:"));
    EXPECT_GT(edit->x(), last->x() + window.fontMetrics().horizontalAdvance(last->text()));
    EXPECT_LT(std::abs(edit->geometry().center().y() - last->geometry().center().y()), 2);
    window.close();
  });
  std::string text = "1";
  EXPECT_FALSE(ui_.InputText("Ввод", "Кабельная линия#Длина, м:", text, 10));
}

// --- List choice ------------------------------------------------------------

// Catches keys or clicks that choose something other than the highlighted
// item, and a cancel that answers anything but the initial index.
TEST_F(QtUiHostTest, ChooseFromListAnswersTheHighlightedItemOrTheInitialOne) {
  const char* items = "Первый#Второй#Третий#Четвертый";
  WhenModalShows([](QWidget& window) {
    auto* list = Child<QListWidget>(window, "choiceList");
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
  });
  EXPECT_EQ(ui_.ChooseFromList("Выбор", items, 1), 2);

  WhenModalShows([](QWidget& window) {
    auto* list = Child<QListWidget>(window, "choiceList");
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_F);
  });
  EXPECT_EQ(ui_.ChooseFromList("Выбор", items, 0), 3);

  WhenModalShows([](QWidget& window) {
    auto* list = Child<QListWidget>(window, "choiceList");
    const QRect cell = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  });
  EXPECT_EQ(ui_.ChooseFromList("Выбор", items, 2), 0);

  WhenModalShows([](QWidget& window) {
    auto* list = Child<QListWidget>(window, "choiceList");
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_Escape);
  });
  EXPECT_EQ(ui_.ChooseFromList("Выбор", items, 2), 2);

  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.ChooseFromList("Выбор", items, 1), 1);
}

// Catches a list box cut short, so that items need scrolling.
TEST_F(QtUiHostTest, ChooseFromListFitsTheListToItsItems) {
  WhenModalShows([](QWidget& window) {
    auto* list = Child<QListWidget>(window, "choiceList");
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    EXPECT_LE(last.bottom(), list->viewport()->height());
    EXPECT_GE(list->viewport()->width(),
              list->fontMetrics().horizontalAdvance(QStringLiteral("Очень длинный пункт")));
    window.close();
  });
  ui_.ChooseFromList("Выбор", "А#Б#Очень длинный пункт#Г#Д#Е", 0);
}

// --- Symbol palette ---------------------------------------------------------

struct PaintedCell {
  int index;
  int left;
  int top;
  int size;
};

// Catches a palette shown for a single symbol.
TEST_F(QtUiHostTest, ChooseSymbolShowsNothingForFewerThanTwoSymbols) {
  int painted = 0;
  const SymbolPainter paint = [&](Canvas&, int, int, int, int) { ++painted; };
  EXPECT_EQ(ui_.ChooseSymbol("Подключить", 1, paint), 0);
  EXPECT_EQ(ui_.ChooseSymbol("Подключить", 0, paint), 0);
  EXPECT_EQ(painted, 0);
}

// Catches a wrong grid (columns, cell size) and clicks mapped to the wrong
// symbol, or a click past the last symbol that chooses one.
TEST_F(QtUiHostTest, ChooseSymbolPaintsFivePerRowAndAnswersTheClickedSymbol) {
  std::vector<PaintedCell> cells;
  const SymbolPainter paint = [&](Canvas&, int index, int left, int top, int size) {
    cells.push_back({index, left, top, size});
  };
  int cellSize = 0;
  WhenModalShows([&](QWidget& window) {
    auto* grid = Child<QWidget>(window, "symbolGrid");
    cellSize = 4 * window.fontMetrics().height();
    EXPECT_EQ(grid->size(), QSize(5 * cellSize, 2 * cellSize));
    grid->grab();
    // Past the last of seven symbols: nothing happens.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(4 * cellSize + 3, cellSize + 3));
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(cellSize + 3, cellSize + 3));
  });
  EXPECT_EQ(ui_.ChooseSymbol("Подключить", 7, paint), 7);
  ASSERT_GE(cells.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(cells[i].index, i + 1);
    EXPECT_EQ(cells[i].left, (i % 5) * cellSize);
    EXPECT_EQ(cells[i].top, (i / 5) * cellSize);
    EXPECT_EQ(cells[i].size, cellSize);
  }

  WhenModalShows([](QWidget& window) {
    EXPECT_EQ(Child<QWidget>(window, "symbolGrid")->width(), 3 * 4 * window.fontMetrics().height());
    window.close();
  });
  EXPECT_EQ(ui_.ChooseSymbol("Подключить", 3, paint), 0);
}

// --- Colour, files, clipboard, progress ---------------------------------------

// Catches a colour stored on cancel, or channels mixed up on accept.
TEST_F(QtUiHostTest, ChooseColourStoresTheColourOnlyOnAccept) {
  Color colour{10, 20, 30};
  WhenModalShows([](QWidget& window) {
    auto* dialog = qobject_cast<QColorDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->currentColor(), QColor(10, 20, 30));
    dialog->setCurrentColor(QColor(200, 100, 50));
    dialog->accept();
  });
  EXPECT_TRUE(ui_.ChooseColour(colour));
  EXPECT_EQ(colour, (Color{200, 100, 50}));

  WhenModalShows([](QWidget& window) {
    auto* dialog = qobject_cast<QColorDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    dialog->setCurrentColor(QColor(1, 2, 3));
    dialog->reject();
  });
  EXPECT_FALSE(ui_.ChooseColour(colour));
  EXPECT_EQ(colour, (Color{200, 100, 50}));
}

// Catches a request's fields lost on the way to the dialog.
TEST_F(QtUiHostTest, FileDialogTakesTitleFiltersExtensionPathAndOverwriteQuestion) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  FileDialogRequest request;
  request.title = "Сохранить модель";
  request.filter = "Базы данных (*.LVN)|*.LVN|Все файлы|*.*";
  request.defaultExtension = "LVN";
  request.initialPath = (folder.path() + QStringLiteral("/сеть.LVN")).toStdString();
  request.confirmOverwrite = true;

  QFileDialog dialog;
  ConfigureFileDialog(dialog, request, QFileDialog::AcceptSave);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Сохранить модель"));
  EXPECT_EQ(dialog.nameFilters(), (QStringList{QStringLiteral("Базы данных (*.LVN)"),
                                               QStringLiteral("Все файлы (*.*)")}));
  EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("LVN"));
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(folder.path()).canonicalPath());

  request.confirmOverwrite = false;
  ConfigureFileDialog(dialog, request, QFileDialog::AcceptOpen);
  EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
}

// Catches a chosen file that does not come back as its full path, and a
// cancel that answers a path.
TEST_F(QtUiHostTest, AskOpenFileNameAnswersTheChosenPathOrNothing) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.path() + QStringLiteral("/модель.LVN");
  std::ofstream(path.toStdString()) << "x";
  FileDialogRequest request{"Открыть", "Базы данных (*.LVN)|*.LVN", "LVN",
                            folder.path().toStdString(), false};

  WhenModalShows([path](QWidget& window) {
    auto* dialog = qobject_cast<QFileDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides its override
  });
  EXPECT_EQ(ui_.AskOpenFileName(request), path.toStdString());

  WhenModalShows([](QWidget& window) { window.close(); });
  EXPECT_EQ(ui_.AskSaveFileName(request), std::nullopt);
}

// Catches text lost or mangled (UTF-8) on the way through the clipboard.
TEST_F(QtUiHostTest, ClipboardKeepsCyrillicText) {
  ui_.SetClipboardText("Узел\t1\nВетвь\t2");
  EXPECT_EQ(ui_.ClipboardText(), "Узел\t1\nВетвь\t2");
}

// Catches a progress window that reports a cancel nobody asked for, or
// misses the button or the close box.
TEST_F(QtUiHostTest, ProgressReportsCancelAfterTheButtonOrTheCloseBox) {
  std::unique_ptr<ProgressWindow> progress = ui_.OpenProgress("Передача", "Узлы");
  auto* window = static_cast<QtProgressWindow&>(*progress).Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  progress->SetText("Ветви");
  progress->SetProgress(3, 10);
  EXPECT_EQ(Child<QLabel>(*window, "progressText")->text(), QStringLiteral("Ветви"));
  EXPECT_FALSE(progress->Cancelled());
  QPushButton* cancel = ButtonsLeftToRight(*window).at(0);
  EXPECT_EQ(cancel->text(), QStringLiteral("Отменить"));
  cancel->click();
  EXPECT_TRUE(progress->Cancelled());

  std::unique_ptr<ProgressWindow> second = ui_.OpenProgress("Передача", "Узлы");
  static_cast<QtProgressWindow&>(*second).Window()->close();
  EXPECT_TRUE(second->Cancelled());
}

}  // namespace
}  // namespace kordavelt
