#include "ui/qt/qt_list_dialog.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

constexpr int kMinimumListWidth = 32;

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}

int AvailableHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().height() : 600;
}

}  // namespace

ListDialog::ListDialog(QWidget* parent, std::string_view caption, std::string_view items,
                       int initial)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  const QString title = ToQString(caption);
  setWindowTitle(title);

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("choiceList"));
  list_->addItems(ListItems(items));
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (initial >= 0 && initial < list_->count()) list_->setCurrentRow(initial);
  list_->installEventFilter(this);
  connect(list_, &QListWidget::itemClicked, this, [this] { ChooseCurrent(); });
  connect(list_, &QListWidget::itemActivated, this, [this] { ChooseCurrent(); });

  // As wide as twice the caption or the widest item, as high as all items
  // (within the screen, scrolling beyond it).
  const QFontMetrics metrics = list_->fontMetrics();
  int width = std::max(
      {kMinimumListWidth, 2 * metrics.horizontalAdvance(title), list_->sizeHintForColumn(0)});
  const int frame = 2 * list_->frameWidth();
  const int rowHeight = std::max(1, list_->sizeHintForRow(0));
  int height = list_->count() * rowHeight + frame;
  const int maxHeight = AvailableHeight() * 2 / 3;
  if (height > maxHeight) {
    height = maxHeight;
    width += list_->verticalScrollBar()->sizeHint().width();
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  setFixedSize(width + frame + 2 * metrics.horizontalAdvance(u' '), height);
  list_->setFocus();
}

void ListDialog::ChooseCurrent() {
  chosen_ = list_->currentRow();
  if (chosen_ >= 0) accept();
}

bool ListDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      reject();
      return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter ||
        (!IsNavigationKey(key->key()) && !key->text().isEmpty() && key->text().at(0).isPrint())) {
      ChooseCurrent();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ListDialog::changeEvent(QEvent* event) {
  // Leaving the window (activating another) cancels the choice, but not one
  // made already: the window loses activation while it closes with it.
  if (event->type() == QEvent::ActivationChange && isVisible()) {
    if (isActiveWindow()) {
      wasActive_ = true;
    } else if (wasActive_ && chosen_ < 0) {
      reject();
    }
  }
  QDialog::changeEvent(event);
}

int RunListDialog(QWidget* parent, std::string_view caption, std::string_view items, int initial) {
  ListDialog dialog(parent, caption, items, initial);
  PlaceAtMouse(dialog);
  dialog.exec();
  return dialog.Chosen() >= 0 ? dialog.Chosen() : initial;
}

}  // namespace kordavelt
