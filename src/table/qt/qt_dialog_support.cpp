#include "table/qt/qt_dialog_support.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace kordavelt {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toStdString(); }

QStringList ListItems(std::string_view list) { return ToQString(list).split(u'#'); }

ButtonRowMetrics MeasureButtonRow(const QFontMetrics& metrics, const QList<QPushButton*>& buttons) {
  ButtonRowMetrics row;
  row.buttonWidth = metrics.horizontalAdvance(QStringLiteral(" Применить "));
  for (const QPushButton* button : buttons) {
    row.buttonWidth = std::max(row.buttonWidth, button->sizeHint().width());
  }
  row.buttonHeight = 2 * metrics.height();
  return row;
}

void PlaceButtonRow(const QList<QPushButton*>& buttons, const ButtonRowMetrics& row,
                    int clientWidth, int top) {
  const int left = (clientWidth - row.RowWidth(static_cast<int>(buttons.size()))) / 2;
  for (qsizetype i = 0; i < buttons.size(); ++i) {
    const int x = left + static_cast<int>(i) * 5 * row.buttonWidth / 4;
    buttons[i]->setGeometry(x, top, row.buttonWidth, row.buttonHeight);
  }
}

void PlaceAtMouse(QWidget& window) {
  const QPoint mouse = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(mouse);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();

  // The frame is not known before the window is shown; allow for a title bar
  // and a border so the whole window stays on the screen.
  const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const int outerWidth = window.width() + 2 * border;
  const int outerHeight = window.height() + titleBar + 2 * border;

  const int x = std::max(area.left(), std::min(mouse.x(), area.right() + 1 - outerWidth));
  const int y = std::max(area.top(), std::min(mouse.y(), area.bottom() + 1 - outerHeight));
  window.move(std::max(0, x), std::max(0, y));
}

}  // namespace kordavelt
