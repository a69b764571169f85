#include "ui/qt/qt_dialog_support.h"

#include <QCursor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace kordavelt {

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

QSize FrameAllowance(const QWidget& window) {
  const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return QSize(2 * border, titleBar + 2 * border);
}

int CaptionWidth(const QWidget& window, const QString& caption) {
  QFont bold = window.font();
  bold.setBold(true);
  const int text = QFontMetrics(bold).horizontalAdvance(caption);
  // The icon, minimise, maximise and close, each about a bar high and square,
  // and a margin at either end.
  const int button = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return text + 5 * button;
}

void PlaceAtMouse(QWidget& window) {
  const QPoint mouse = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(mouse);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();

  // The whole window, frame included, stays on the screen.
  const QSize frame = FrameAllowance(window);
  const int outerWidth = window.width() + frame.width();
  const int outerHeight = window.height() + frame.height();

  const int x = std::max(area.left(), std::min(mouse.x(), area.right() + 1 - outerWidth));
  const int y = std::max(area.top(), std::min(mouse.y(), area.bottom() + 1 - outerHeight));
  window.move(std::max(0, x), std::max(0, y));
}

}  // namespace kordavelt
