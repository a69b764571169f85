#include "table/qt/grid_form.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

#include "base/qt/qt_text.h"
#include "table/qt/grid_view.h"
#include "table/qt/qt_table_environment.h"

namespace kordavelt {
namespace {

struct CommandText {
  GridCommand command;
  const char* name;  // object name, for tests and the toolbar
  const char* caption;
  const char* shortcut;
};

constexpr CommandText kCommands[kGridCommandCount] = {
    {GridCommand::UndoDelete, "undoDeleteAction", "&Отменить удаление", "Ctrl+Z"},
    {GridCommand::Delete, "deleteAction", "&Удалить", "Del"},
    {GridCommand::NewRow, "newRowAction", "&Новая строка", ""},
    {GridCommand::Copy, "copyAction", "&Копировать", "Ctrl+C"},
    {GridCommand::Paste, "pasteAction", "&Вставить", "Ctrl+V"},
    {GridCommand::CopyToFile, "copyToFileAction", "&Копировать в файл", ""},
    {GridCommand::Word, "wordAction", "&Передать в MS Word", ""},
    {GridCommand::SelectRow, "selectRowAction", "Вы&делить строку", "Shift+Right"},
    {GridCommand::SelectAll, "selectAllAction", "В&ыделить всё", "Ctrl+A"},
    {GridCommand::Find, "findAction", "&Найти", "Ctrl+F"},
    {GridCommand::FindNext, "findNextAction", "Найти &ещё", "Ctrl+L"},
    {GridCommand::Freeze, "freezeAction", "&Заморозить", "Ctrl+Right"},
    {GridCommand::Unfreeze, "unfreezeAction", "&Разморозить", "Ctrl+Left"},
    {GridCommand::FormView, "formViewAction", "&Форма", "Ctrl+T"},
};

}  // namespace

TGridForm::TGridForm(TableOwner& owner, TableForm& form, QtTableEnvironment& environment,
                     QWidget* parent)
    : QWidget(parent),
      environment_(environment),
      window_(std::make_unique<TableWindow>(owner, form, environment.Env())) {
  setObjectName(QStringLiteral("gridForm"));
  setWindowTitle(ToQString(form.caption));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  title_ = new QLabel(this);
  title_->setObjectName(QStringLiteral("gridTitle"));
  layout->addWidget(title_);
  grid_ = new ModifyDGrid(*window_, this);
  layout->addWidget(grid_, 1);
  setFocusProxy(grid_);

  BuildActions();
  window_->OnRepaint = [this] { grid_->viewport()->update(); };
  window_->OnLayoutChanged = [this] { Relayout(); };
  window_->OnCommandsChanged = [this] { UpdateCommands(); };
  window_->OnFormViewChanged = [this] { UpdateCommands(); };
  grid_->onCommit = [this](const CommitResult& result) {
    if (onCommit) onCommit(result);
  };
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { UpdateCommands(); });
  ApplyFont();
  UpdateCommands();
}

TGridForm::~TGridForm() = default;

void TGridForm::BuildActions() {
  editMenu_ = new QMenu(QStringLiteral("&Правка"), this);
  editMenu_->setObjectName(QStringLiteral("editMenu"));
  for (const CommandText& text : kCommands) {
    auto* action = new QAction(QString::fromUtf8(text.caption), this);
    action->setObjectName(QString::fromUtf8(text.name));
    if (*text.shortcut != '\0') {
      action->setShortcut(QKeySequence(QString::fromUtf8(text.shortcut)));
      // Each table window answers its own keys: two open tables never fight
      // over a shortcut.
      action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    addAction(action);
    actions_[static_cast<int>(text.command)] = action;
  }
  TableWindow& w = *window_;
  const auto on = [this](GridCommand command, std::function<void()> act) {
    connect(Action(command), &QAction::triggered, this, [this, act = std::move(act)] {
      grid_->CommitOpenEdit();
      act();
      window_->ShowCurrent(grid_->ClientSize());
      grid_->UpdateScrollBars();
      grid_->viewport()->update();
      UpdateCommands();
    });
  };
  on(GridCommand::UndoDelete, [&w] { w.UndoDelete(); });
  on(GridCommand::Delete, [&w] { w.DeleteSelected(); });
  on(GridCommand::NewRow, [&w] { w.NewRow(); });
  on(GridCommand::Copy, [&w] { w.Copy(); });
  on(GridCommand::Paste, [&w] { w.Paste(); });
  on(GridCommand::CopyToFile, [&w] { w.CopyToFile(); });
  on(GridCommand::SelectRow, [&w] { w.SelectRow(); });
  on(GridCommand::SelectAll, [&w] { w.SelectAll(); });
  on(GridCommand::Find, [&w] { w.Find(); });
  on(GridCommand::FindNext, [&w] { w.FindNext(); });
  on(GridCommand::Freeze, [&w] { w.Freeze(); });
  on(GridCommand::Unfreeze, [&w] { w.Unfreeze(); });
  on(GridCommand::FormView, [&w] { w.ToggleFormView(); });

  for (int i = 0; i < kGridCommandCount; ++i) {
    if (i == static_cast<int>(GridCommand::SelectAll) + 1 ||
        i == static_cast<int>(GridCommand::FindNext) + 1) {
      editMenu_->addSeparator();
    }
    editMenu_->addAction(actions_[i]);
  }
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("gridPopup"));
  for (GridCommand command :
       {GridCommand::NewRow, GridCommand::Delete, GridCommand::Copy, GridCommand::Paste}) {
    popup_->addAction(Action(command));
  }
}

void TGridForm::UpdateCommands() {
  TableWindow& w = *window_;
  Action(GridCommand::UndoDelete)->setVisible(w.HasUndoDelete());
  Action(GridCommand::UndoDelete)->setEnabled(w.CanUndoDelete());
  Action(GridCommand::Delete)->setEnabled(w.CanDelete());
  Action(GridCommand::NewRow)->setEnabled(w.Form().appendable && !w.FormView());
  Action(GridCommand::Paste)->setEnabled(w.CanPaste());
  // The transfer to a word processor is not there yet.
  Action(GridCommand::Word)->setEnabled(false);
  Action(GridCommand::Freeze)->setEnabled(w.CanFreeze());
  Action(GridCommand::Unfreeze)->setEnabled(!w.FormView() && w.CanUnfreeze());
  QAction* form = Action(GridCommand::FormView);
  form->setVisible(w.ColCount() > 3);
  form->setEnabled(w.FormView() || w.CanFormView());
  form->setText(w.FormView() ? QStringLiteral("&Таблица") : QStringLiteral("&Форма"));
  if (onCommandsChanged) onCommandsChanged();
}

void TGridForm::UpdateTitle() {
  const std::vector<std::string> lines = window_->TitleLines();
  if (lines.empty()) {
    title_->hide();
    return;
  }
  QStringList texts;
  for (const std::string& line : lines) texts << ToQString(line);
  title_->setText(texts.join(u'\n'));
  const bool fits = window_->TitleWidth() <= width();
  title_->setAlignment((fits ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
  title_->show();
}

void TGridForm::Relayout() {
  setWindowTitle(ToQString(window_->Form().caption));
  UpdateTitle();
  window_->ShowCurrent(grid_->ClientSize());
  grid_->UpdateScrollBars();
  grid_->viewport()->update();
}

void TGridForm::ApplyFont() {
  const QFont font = environment_.TableFont();
  grid_->setFont(font);
  QFont bold = font;
  bold.setBold(true);
  title_->setFont(bold);
  window_->ApplyFont();
  Relayout();
}

void TGridForm::Redraw() {
  window_->Sync();
  window_->Redraw();
  Relayout();
}

void TGridForm::CommitOpenEdit() { grid_->CommitOpenEdit(); }

QSize TGridForm::FittedSize(int cols, int rows, bool measureData, QSize available) {
  window_->Sync();
  UpdateTitle();
  const int frame = 2 * grid_->frameWidth();
  const int titleHeight = title_->isHidden() ? 0 : title_->sizeHint().height();
  const int scrollBar = grid_->verticalScrollBar()->sizeHint().width();
  const int scrollBarHeight = grid_->horizontalScrollBar()->sizeHint().height();
  const Size room{available.width() - frame - scrollBar,
                  available.height() - frame - titleHeight - scrollBarHeight};
  const std::optional<Size> grid = window_->FitToContent(
      cols, rows, measureData, Size{std::max(room.width, 1), std::max(room.height, 1)});
  if (!grid) return size();
  int width = grid->width + frame;
  int height = grid->height + frame + titleHeight;
  const GridLayout& layout = window_->Layout();
  // Room for the scroll bars that will show.
  if (layout.TotalHeight() > grid->height) width += scrollBar;
  if (layout.TotalWidth() > grid->width) height += scrollBarHeight;
  UpdateTitle();
  fitted_ = QSize(std::min(width, available.width()), std::min(height, available.height()));
  return fitted_;
}

QSize TGridForm::sizeHint() const { return fitted_.isValid() ? fitted_ : QWidget::sizeHint(); }

void TGridForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The title is centred while it fits the window.
  UpdateTitle();
}

void TGridForm::contextMenuEvent(QContextMenuEvent* event) {
  UpdateCommands();
  popup_->exec(event->globalPos());
}

}  // namespace kordavelt
