#pragma once

// The text viewer of the protocol and the notes: a modal window centred on
// the screen, three quarters of the main window's client area, with the
// read-only, word-wrapped text in the table font and one menu item
// "&Закрыть" (Esc). It also shows the HTML help where the desktop has no
// program for it.

#include <QFont>
#include <QString>

class QWidget;

namespace kordavelt {

enum class ViewerText { Plain, Html };

void RunTextViewer(QWidget* mainWindow, const QString& title, const QString& text,
                   const QFont& font, ViewerText format = ViewerText::Plain);

}  // namespace kordavelt
