#pragma once

// ModifyDGrid: the grid of a table window on screen. It paints what the
// TableWindow lays out, turns keys and mouse presses into its moves,
// selections and edits, and holds the two editors a cell can open: a
// one-line edit over the cell and a drop-down list under it.
//
// Its scroll bars move the current cell, not only the view: the vertical one
// runs over the rows, the horizontal one over the scrolled columns.

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>

#include "table/table_window.h"

class QLineEdit;
class QListWidget;

namespace kordavelt {

class ModifyDGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  ModifyDGrid(TableWindow& window, QWidget* parent = nullptr);

  TableWindow& Window() const { return window_; }
  // The size of the area cells are drawn on.
  Size ClientSize() const;
  // Scroll bars and the view after the layout or the current cell changed.
  void UpdateScrollBars();
  // Commits an open inline edit (the window lost activation).
  void CommitOpenEdit();
  bool EditorOpen() const;
  QLineEdit* InlineEditor() const { return editor_; }
  QListWidget* ListEditor() const { return list_; }

  // A commit closed the window or chose a row; the form reacts.
  std::function<void(const CommitResult&)> onCommit;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void StartEdit(EditTrigger trigger, const QString& typed = {});
  void OpenInline(const EditorRequest& request, bool typed);
  void OpenList(const EditorRequest& request);
  // Ends the inline edit the way `end` says.
  void FinishInline(EditEnd end);
  void FinishList(bool choose);
  void Committed(const CommitResult& result);
  void AfterMove();
  QRect CellBox(GridCell cell) const;
  bool HandleMoveKey(QKeyEvent* event);

  TableWindow& window_;
  QLineEdit* editor_;
  QListWidget* list_;
  bool syncingBars_ = false;
  bool closingList_ = false;
  // Column resizing by dragging a header border.
  int resizingCol_ = -1;
  int resizeStartX_ = 0;
  int resizeStartWidth_ = 0;
  bool selecting_ = false;
};

}  // namespace kordavelt
