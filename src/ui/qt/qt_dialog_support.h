#pragma once

// Small pieces shared by the program's own dialogs: UTF-8 text conversion and
// '#'-lists as string lists (qt_text.h), the row of equal buttons and the
// placement of a window at the mouse.

#include <QList>
#include <QString>

#include "base/qt/qt_text.h"

class QFontMetrics;
class QPushButton;
class QSize;
class QWidget;

namespace kordavelt {

// Every button of a dialog row is as wide as " Применить " (or as the widest
// caption, should one be longer) and two text lines high.
struct ButtonRowMetrics {
  int buttonWidth = 0;
  int buttonHeight = 0;
  int RowWidth(int count) const { return (5 * count - 1) * buttonWidth / 4; }
};
ButtonRowMetrics MeasureButtonRow(const QFontMetrics& metrics, const QList<QPushButton*>& buttons);

// Places the buttons side by side, 5/4 of a button width apart, the row
// centred in `clientWidth`, their tops at `top`.
void PlaceButtonRow(const QList<QPushButton*>& buttons, const ButtonRowMetrics& row,
                    int clientWidth, int top);

// What the window manager adds around a top-level window's client area: a
// title bar and a border. It is not known before the window is shown; the
// style's own title bar and frame stand in for it.
QSize FrameAllowance(const QWidget& window);

// The width a top-level window needs for its title bar to show `caption`
// whole beside the bar's icon and buttons. The window manager's font is not
// known; the window's font in bold stands in for it.
int CaptionWidth(const QWidget& window, const QString& caption);

// Moves a top-level window so that it opens at the mouse position, shifted
// left and up as far as needed to lie on the screen, never at negative
// coordinates. Call it once the window has its final size.
void PlaceAtMouse(QWidget& window);

}  // namespace kordavelt
