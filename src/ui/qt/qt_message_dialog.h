#pragma once

// The program's message window: lines of text, an optional system icon, a
// lowered separator and a centred row of equal buttons.

#include <QDialog>
#include <QList>
#include <QSize>
#include <string_view>

#include "ui/ui_host.h"

class QPushButton;

namespace kordavelt {

class MessageDialog : public QDialog {
 public:
  // `defaultButton`: the button (1-based) that has the focus and that Enter
  // presses at the start.
  MessageDialog(QWidget* parent, std::string_view caption, std::string_view text,
                std::string_view buttons, IconKind icon, int defaultButton = 1);

  // Esc and the title bar's close box answer "closed without a button".
  void reject() override;

 private:
  // The icon and the text lines; answers the size of the text block.
  QSize AddIconAndText(std::string_view text, IconKind icon);
  // One button per caption, the default one focused.
  void AddButtons(std::string_view buttons, int defaultButton);

  QList<QPushButton*> buttons_;
};

// Shows the window at the mouse and returns 10 + the number of the button
// pressed (11 for the first), or 2 when it was closed without one.
int RunMessageDialog(QWidget* parent, std::string_view caption, std::string_view text,
                     std::string_view buttons, IconKind icon, int defaultButton = 1);

}  // namespace kordavelt
