#pragma once

// TGridForm: a table window on screen — the title above the grid, the grid
// itself (ModifyDGrid) and the window's "&Правка" menu with its commands.
// The main window merges that menu into its own while the window is active
// and mirrors some of its commands on the toolbar; modal tables put it into
// their dialog. Everything the window does is TableWindow's; the form only
// shows it.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "table/table_window.h"

class QAction;
class QLabel;
class QMenu;

namespace kordavelt {

class ModifyDGrid;
class QtTableEnvironment;

// The commands of "&Правка", in menu order.
enum class GridCommand {
  UndoDelete,
  Delete,
  NewRow,
  Copy,
  Paste,
  CopyToFile,
  Word,
  SelectRow,
  SelectAll,
  Find,
  FindNext,
  Freeze,
  Unfreeze,
  FormView,
};
inline constexpr int kGridCommandCount = 14;

class TGridForm : public QWidget {
  Q_OBJECT

 public:
  TGridForm(TableOwner& owner, TableForm& form, QtTableEnvironment& environment,
            QWidget* parent = nullptr);
  ~TGridForm() override;

  TableWindow& Window() { return *window_; }
  ModifyDGrid* Grid() const { return grid_; }
  QLabel* Title() const { return title_; }
  // "&Правка", for the main window to merge.
  QMenu* EditMenu() const { return editMenu_; }
  // The popup of the grid ("&Новая строка", "&Удалить", …); owners' windows
  // add their own items.
  QMenu* Popup() const { return popup_; }
  QAction* Action(GridCommand command) const { return actions_[static_cast<int>(command)]; }

  // The size this widget wants for the window's grid as FitToContent gives
  // it, within `available` (the whole widget: title, grid, scroll bars).
  QSize FittedSize(int cols, int rows, bool measureData, QSize available);
  // The table font changed.
  void ApplyFont();
  // Reads the rows again and repaints.
  void Redraw();
  // Commits an open inline edit (the window loses activation).
  void CommitOpenEdit();
  // The enabled, visible and checked states of the commands, from the window.
  void UpdateCommands();
  // The size FittedSize gave last (the layout's own before that).
  QSize sizeHint() const override;

  // A commit closed the window (the owner asked) or chose a row (a dialog
  // without OnEdit).
  std::function<void(const CommitResult&)> onCommit;
  // The commands' states changed (the main window mirrors them).
  std::function<void()> onCommandsChanged;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildActions();
  void UpdateTitle();
  void Relayout();

  QtTableEnvironment& environment_;
  std::unique_ptr<TableWindow> window_;
  QLabel* title_;
  ModifyDGrid* grid_;
  QMenu* editMenu_;
  QMenu* popup_;
  std::array<QAction*, kGridCommandCount> actions_{};
  QSize fitted_;
};

}  // namespace kordavelt
