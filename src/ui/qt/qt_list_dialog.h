#pragma once

// The list choice window: a list box fitted to its items. A click, a double
// click, Enter or a letter key chooses the highlighted item; Esc, closing or
// leaving the window cancels.

#include <QDialog>
#include <string_view>

class QListWidget;

namespace kordavelt {

class ListDialog : public QDialog {
 public:
  ListDialog(QWidget* parent, std::string_view caption, std::string_view items, int initial);

  // The chosen index, or -1 while nothing has been chosen.
  int Chosen() const { return chosen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ChooseCurrent();

  QListWidget* list_ = nullptr;
  int chosen_ = -1;
  bool wasActive_ = false;
};

// The chosen index, or `initial` when the choice is cancelled.
int RunListDialog(QWidget* parent, std::string_view caption, std::string_view items, int initial);

}  // namespace kordavelt
