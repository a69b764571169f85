#include "table/qt/qt_table_dialog.h"

#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/dial_list.h"
#include "table/qt/grid_form.h"
#include "table/qt/grid_view.h"
#include "table/qt/qt_table_environment.h"
#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

enum DialogResult { kResultOk = 1, kResultCancel = 2 };

QScreen* ScreenAtMouse() {
  QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// To the right of the mouse in the left half of the screen, else with the
// right edge at the mouse; below it in the upper half, else above it; on the
// screen and never at negative coordinates.
QPoint PlaceByMouse(QSize size, const QRect& area) {
  const QPoint mouse = QCursor::pos();
  int x = mouse.x() < area.center().x() ? mouse.x() : mouse.x() - size.width();
  int y = mouse.y() < area.center().y() ? mouse.y() : mouse.y() - size.height();
  x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
  y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
  return QPoint(std::max(x, 0), std::max(y, 0));
}

QPoint PlaceAtRememberedOrCentre(QSize size, const QRect& area, const TableEnvironment& env) {
  if (env.lastModalPosition) {
    const QRect rect(QPoint(env.lastModalPosition->x, env.lastModalPosition->y), size);
    if (area.contains(rect)) return rect.topLeft();
  }
  return QPoint(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
}

QAction* MenuEntry(QDialog& dialog, QMenuBar& bar, const QString& caption, const char* shortcut,
                   const char* name) {
  QAction* action = bar.addAction(caption);
  // The dialog holds the entry too, so its key works wherever the focus is.
  dialog.addAction(action);
  action->setObjectName(QString::fromUtf8(name));
  action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
  return action;
}

}  // namespace

bool RunTableDialog(QWidget* parent, QtTableEnvironment& environment, TableOwner& owner,
                    TableForm& form, std::string_view menu, TableDialogKind kind) {
  TableEnvironment& env = environment.Env();
  // The window the dialog came from is active again afterwards.
  QMdiSubWindow* activeChild = nullptr;
  if (parent != nullptr) {
    if (auto* area = parent->findChild<QMdiArea*>()) activeChild = area->activeSubWindow();
  }
  const int startRow = form.curRow;
  const int startCol = form.curCol;

  QDialog dialog(parent, Qt::Tool);
  dialog.setObjectName(QStringLiteral("tableDialog"));
  dialog.setWindowTitle(ToQString(form.caption));
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(&dialog);
  layout->setMenuBar(bar);
  auto* grid = new TGridForm(owner, form, environment, &dialog);
  layout->addWidget(grid);

  const QString print = ToQString(ListItem(menu, 0));
  const QString edit = ToQString(ListItem(menu, 1));
  const QString ok = ToQString(ListItem(menu, 2));
  const QString cancel = ToQString(ListItem(menu, 3));
  if (!print.isEmpty()) {
    // Printing of tables comes with the print settings; the entry is there
    // and takes Ctrl+P before the ok entry does.
    QAction* action = MenuEntry(dialog, *bar, print, "Ctrl+P", "printEntry");
    action->setEnabled(false);
  }
  if (!edit.isEmpty()) {
    grid->EditMenu()->setTitle(edit.startsWith(u'&') ? edit : QStringLiteral("&") + edit);
    bar->addMenu(grid->EditMenu());
  }
  if (!ok.isEmpty()) {
    QAction* action = MenuEntry(dialog, *bar, ok, print.isEmpty() ? "Ctrl+P" : "", "okEntry");
    QObject::connect(action, &QAction::triggered, &dialog, [&dialog, grid] {
      grid->CommitOpenEdit();
      dialog.done(kResultOk);
    });
  }
  if (!cancel.isEmpty()) {
    QAction* action = MenuEntry(dialog, *bar, cancel, "Esc", "cancelEntry");
    QObject::connect(action, &QAction::triggered, &dialog,
                     [&dialog] { dialog.done(kResultCancel); });
  }
  grid->onCommit = [&dialog](const CommitResult& result) {
    if (result.rowChosen || result.closeWindow) dialog.done(kResultOk);
  };

  TableWindow& window = grid->Window();
  if (startRow > 0 && startRow <= window.RowCount() + (form.appendable ? 1 : 0)) {
    window.SetCurRow(startRow);
  }
  if (startCol > 0 && startCol < window.ColCount()) window.SetCurCol(startCol);

  const QRect area =
      ScreenAtMouse() != nullptr ? ScreenAtMouse()->availableGeometry() : QRect(0, 0, 1024, 768);
  // The window with its title bar and border takes at most 4/5 of the screen
  // and is placed whole on it.
  const QSize frame = FrameAllowance(dialog);
  const QSize limit = QSize(area.width() * 4 / 5, area.height() * 4 / 5) - frame;
  const bool choice = kind == TableDialogKind::Choice;
  // A table that takes no new rows is measured row by row.
  QSize size = grid->FittedSize(0, 0, choice || !form.appendable, limit);
  size.rheight() += bar->sizeHint().height();
  size.setWidth(std::max(size.width(), CaptionWidth(dialog, dialog.windowTitle())));
  dialog.resize(size.boundedTo(limit));
  const QSize outer = dialog.size() + frame;
  dialog.move(choice ? PlaceAtRememberedOrCentre(outer, area, env) : PlaceByMouse(outer, area));
  grid->setFocus();

  // The dialog takes the keyboard at once: its Ctrl+P and Esc entries act
  // only in the active window.
  QTimer::singleShot(0, &dialog, [&dialog, grid] {
    dialog.activateWindow();
    grid->Window().ShowCurrent(grid->Grid()->ClientSize());
    grid->Grid()->UpdateScrollBars();
  });
  const int result = dialog.exec();
  form.curRow = window.CurRow();
  form.curCol = window.CurCol();
  env.lastModalPosition = Point{dialog.x(), dialog.y()};
  if (activeChild != nullptr) activeChild->setFocus();
  return result == kResultOk;
}

}  // namespace kordavelt
