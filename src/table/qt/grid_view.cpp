#include "table/qt/grid_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "base/qt/qt_text.h"
#include "draw/qt/qpainter_canvas.h"
#include "table/table_painter.h"

namespace kordavelt {
namespace {

constexpr int kListLines = 8;
constexpr int kWheelRows = 3;

bool TypedCharacter(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  return !text.isEmpty() && text.at(0).isPrint() && text.at(0) != u' ';
}

}  // namespace

ModifyDGrid::ModifyDGrid(TableWindow& window, QWidget* parent)
    : QAbstractScrollArea(parent), window_(window) {
  setObjectName(QStringLiteral("grid"));
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

  editor_ = new QLineEdit(viewport());
  editor_->setObjectName(QStringLiteral("cellEditor"));
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("cellList"));
  list_->setWindowFlags(Qt::Popup);
  list_->hide();
  list_->installEventFilter(this);
  connect(list_, &QListWidget::itemClicked, this, [this] { FinishList(true); });

  // The scroll bars move the current cell; the view follows it.
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (syncingBars_) return;
    const GridCell current = window_.CurrentCell();
    window_.MoveTo(GridCell{window_.Layout().FixedRows() + value, current.col});
    AfterMove();
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (syncingBars_ || window_.Layout().ColCount() - window_.Layout().FixedCols() <= 1) return;
    const GridCell current = window_.CurrentCell();
    window_.MoveTo(GridCell{current.row, window_.Layout().FixedCols() + value});
    AfterMove();
  });
}

Size ModifyDGrid::ClientSize() const { return Size{viewport()->width(), viewport()->height()}; }

void ModifyDGrid::UpdateScrollBars() {
  const GridLayout& layout = window_.Layout();
  const Size client = ClientSize();
  // Whether a bar is needed is judged on the whole area inside the frame,
  // less the other bar when that one is needed: a bar shown once must not
  // keep itself shown by the room it takes.
  const int frame = 2 * frameWidth();
  const int fullWidth = width() - frame;
  const int fullHeight = height() - frame;
  const int barWidth = verticalScrollBar()->sizeHint().width();
  const int barHeight = horizontalScrollBar()->sizeHint().height();
  bool needH = layout.TotalWidth() > fullWidth;
  bool needV = layout.TotalHeight() > fullHeight;
  if (needH && !needV) needV = layout.TotalHeight() > fullHeight - barHeight;
  if (needV && !needH) needH = layout.TotalWidth() > fullWidth - barWidth;
  syncingBars_ = true;
  const GridCell current = window_.CurrentCell();
  const int rows = std::max(layout.RowCount() - layout.FixedRows(), 0);
  verticalScrollBar()->setRange(0, needV ? std::max(rows - 1, 0) : 0);
  verticalScrollBar()->setPageStep(std::max(layout.VisibleRows(client), 1));
  verticalScrollBar()->setValue(current.row - layout.FixedRows());
  const int cols = std::max(layout.ColCount() - layout.FixedCols(), 0);
  horizontalScrollBar()->setRange(0, needH ? std::max(cols - 1, 0) : 0);
  horizontalScrollBar()->setPageStep(std::max(layout.VisibleCols(client), 1));
  horizontalScrollBar()->setValue(current.col - layout.FixedCols());
  syncingBars_ = false;
}

void ModifyDGrid::AfterMove() {
  window_.ShowCurrent(ClientSize());
  UpdateScrollBars();
  viewport()->update();
}

QRect ModifyDGrid::CellBox(GridCell cell) const {
  const Rect box = window_.Layout().CellRect(cell);
  return QRect(box.left, box.top, box.Width(), box.Height());
}

void ModifyDGrid::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  QPainterCanvas canvas(painter);
  PaintTable(window_, canvas, ClientSize());
}

void ModifyDGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  window_.ShowCurrent(ClientSize());
  UpdateScrollBars();
}

void ModifyDGrid::scrollContentsBy(int, int) { viewport()->update(); }

bool ModifyDGrid::HandleMoveKey(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Up:
      window_.MoveBy(-1, 0);
      break;
    case Qt::Key_Down:
      window_.MoveBy(1, 0);
      break;
    case Qt::Key_Left:
    case Qt::Key_Backtab:
      window_.MoveBy(0, -1);
      break;
    case Qt::Key_Right:
    case Qt::Key_Tab:
      window_.MoveBy(0, 1);
      break;
    case Qt::Key_PageUp:
      window_.PageBy(-1, ClientSize());
      break;
    case Qt::Key_PageDown:
      window_.PageBy(1, ClientSize());
      break;
    case Qt::Key_Home:
      if (control) {
        window_.MoveToEdge(false);
      } else {
        window_.MoveTo(GridCell{window_.CurrentCell().row, 0});
      }
      break;
    case Qt::Key_End:
      if (control) {
        window_.MoveToEdge(true);
      } else {
        window_.MoveTo(GridCell{window_.CurrentCell().row, window_.Layout().ColCount() - 1});
      }
      break;
    default:
      return false;
  }
  AfterMove();
  return true;
}

bool ModifyDGrid::event(QEvent* event) {
  // Tab moves between cells instead of leaving the grid.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void ModifyDGrid::keyPressEvent(QKeyEvent* event) {
  if (HandleMoveKey(event)) return;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      StartEdit(EditTrigger::Enter);
      return;
    case Qt::Key_Space:
      StartEdit(EditTrigger::Space);
      return;
    case Qt::Key_F2:
      StartEdit(EditTrigger::F2);
      return;
    default:
      break;
  }
  if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
    StartEdit(EditTrigger::OtherKey);
    return;
  }
  if (TypedCharacter(event)) {
    StartEdit(EditTrigger::Character, event->text());
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void ModifyDGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  if (editor_->isVisible()) FinishInline(EditEnd::MousePress);
  const Point at{static_cast<int>(event->position().x()), static_cast<int>(event->position().y())};
  const Size client = ClientSize();
  const GridLayout& layout = window_.Layout();
  if (at.y < layout.FixedHeight() && !window_.FormView()) {
    if (const std::optional<int> col = layout.ColumnBorderAt(at.x, client)) {
      resizingCol_ = *col;
      resizeStartX_ = at.x;
      resizeStartWidth_ = layout.ColWidth(*col);
      return;
    }
  }
  const std::optional<GridCell> cell = layout.CellAt(at, client);
  if (!cell) return;
  window_.MousePress(*cell);
  selecting_ = true;
  AfterMove();
}

void ModifyDGrid::mouseMoveEvent(QMouseEvent* event) {
  const Point at{static_cast<int>(event->position().x()), static_cast<int>(event->position().y())};
  const Size client = ClientSize();
  GridLayout& layout = window_.Layout();
  if (resizingCol_ >= 0) {
    layout.SetColWidth(resizingCol_, std::max(resizeStartWidth_ + at.x - resizeStartX_, 2));
    UpdateScrollBars();
    viewport()->update();
    return;
  }
  const bool onBorder = at.y < layout.FixedHeight() && !window_.FormView() &&
                        layout.ColumnBorderAt(at.x, client).has_value();
  viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (selecting_ && (event->buttons() & Qt::LeftButton)) {
    if (const std::optional<GridCell> cell = layout.CellAt(at, client))
      window_.MouseDrag(cell->row);
  }
}

void ModifyDGrid::mouseReleaseEvent(QMouseEvent*) {
  resizingCol_ = -1;
  selecting_ = false;
}

void ModifyDGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Point at{static_cast<int>(event->position().x()), static_cast<int>(event->position().y())};
  const std::optional<GridCell> cell = window_.Layout().CellAt(at, ClientSize());
  if (!cell || !(*cell == window_.CurrentCell())) return;
  StartEdit(EditTrigger::DoubleClick);
}

void ModifyDGrid::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  window_.MoveBy(-notches * kWheelRows, 0);
  AfterMove();
}

void ModifyDGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

// --- Editors -------------------------------------------------------------------------

bool ModifyDGrid::EditorOpen() const { return editor_->isVisible() || list_->isVisible(); }

void ModifyDGrid::StartEdit(EditTrigger trigger, const QString& typed) {
  AfterMove();
  const EditorRequest request = window_.BeginEdit(trigger, ToUtf8(typed));
  switch (request.kind) {
    case EditorRequest::Kind::Inline:
      OpenInline(request, trigger == EditTrigger::Character);
      break;
    case EditorRequest::Kind::List:
      OpenList(request);
      break;
    case EditorRequest::Kind::Committed:
      Committed(request.commit);
      break;
    case EditorRequest::Kind::None:
      break;
  }
}

void ModifyDGrid::OpenInline(const EditorRequest& request, bool typed) {
  const QRect box = CellBox(window_.CurrentCell());
  editor_->setFont(font());
  editor_->setGeometry(box);
  editor_->setText(ToQString(request.text));
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  // A typed character goes on being typed; otherwise the cell text is
  // selected, ready to be replaced.
  if (typed) {
    editor_->end(false);
  } else {
    editor_->selectAll();
  }
}

void ModifyDGrid::OpenList(const EditorRequest& request) {
  list_->clear();
  int widest = 0;
  const QFontMetrics metrics(list_->font());
  for (const std::string& choice : request.choices) {
    const QString text = ToQString(choice);
    list_->addItem(text);
    widest = std::max(widest, metrics.horizontalAdvance(text));
  }
  const int count = static_cast<int>(request.choices.size());
  const int lines = std::min(count, kListLines);
  const int border = 2 * list_->frameWidth();
  int width = widest + 8 * std::max(list_->frameWidth(), 1) + border;
  if (count > kListLines) width += list_->verticalScrollBar()->sizeHint().width();
  const int rowHeight = std::max(list_->sizeHintForRow(0), metrics.height());
  const int height = lines * rowHeight + border;

  const QRect box = CellBox(window_.CurrentCell());
  QPoint below = viewport()->mapToGlobal(box.bottomLeft() + QPoint(0, 1));
  if (width < box.width()) below.rx() += (box.width() - width) / 2;
  const QScreen* screen = QGuiApplication::screenAt(below);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr && below.y() + height > screen->availableGeometry().bottom()) {
    below.ry() = viewport()->mapToGlobal(box.topLeft()).y() - height;
  }
  list_->setGeometry(QRect(below, QSize(width, height)));
  list_->setCurrentRow(0);
  list_->show();
  list_->setFocus();
}

void ModifyDGrid::FinishInline(EditEnd end) {
  if (!editor_->isVisible()) return;
  const QString text = editor_->text();
  editor_->hide();
  setFocus(Qt::OtherFocusReason);
  if (end == EditEnd::Escape || end == EditEnd::Elsewhere) {
    window_.CancelEdit();
    return;
  }
  Committed(window_.EndEdit(end, ToUtf8(text)));
}

void ModifyDGrid::FinishList(bool choose) {
  if (!list_->isVisible() && !window_.Editing()) return;
  const int index = list_->currentRow();
  closingList_ = true;
  list_->hide();
  closingList_ = false;
  setFocus(Qt::OtherFocusReason);
  if (!choose || index < 0) {
    window_.CancelEdit();
    return;
  }
  Committed(window_.ChooseFromList(index));
}

void ModifyDGrid::CommitOpenEdit() {
  if (editor_->isVisible()) FinishInline(EditEnd::Deactivated);
}

void ModifyDGrid::Committed(const CommitResult& result) {
  AfterMove();
  if (onCommit && (result.closeWindow || result.rowChosen)) onCommit(result);
}

bool ModifyDGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_) {
    // Esc belongs to the editor while it is open, not to a dialog's cancel.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      event->accept();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Escape:
          FinishInline(EditEnd::Escape);
          return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
          FinishInline(EditEnd::Enter);
          return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
          FinishInline(EditEnd::Tab);
          HandleMoveKey(key);
          return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
          FinishInline(key->key() == Qt::Key_Up ? EditEnd::Up : EditEnd::Down);
          HandleMoveKey(key);
          return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
          FinishInline(key->key() == Qt::Key_PageUp ? EditEnd::PageUp : EditEnd::PageDown);
          HandleMoveKey(key);
          return true;
        default:
          break;
      }
    } else if (event->type() == QEvent::FocusOut) {
      auto* focus = static_cast<QFocusEvent*>(event);
      // A context menu takes the focus only for a moment.
      if (focus->reason() != Qt::PopupFocusReason && editor_->isVisible()) {
        FinishInline(EditEnd::Deactivated);
      }
    }
  } else if (watched == list_) {
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Escape:
          FinishList(false);
          return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
          return false;
        default:
          // Enter, in practice; any other key chooses too.
          FinishList(true);
          return true;
      }
    }
    if (event->type() == QEvent::Hide && !closingList_ && window_.Editing()) {
      // The list closed by a click elsewhere: nothing is chosen.
      window_.CancelEdit();
    }
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace kordavelt
