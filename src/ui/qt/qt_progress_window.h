#pragma once

// The modal progress window of long transfers: a text, a progress bar and
// the button "Отменить". The caller polls Cancelled(), which also keeps the
// program responsive.

#include <QDialog>
#include <QPointer>
#include <string_view>

#include "ui/ui_host.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace kordavelt {

class QtProgressWindow : public ProgressWindow {
 public:
  QtProgressWindow(QWidget* parent, std::string_view caption, std::string_view text);
  ~QtProgressWindow() override;

  void SetText(std::string_view text) override;
  void SetProgress(int done, int total) override;
  bool Cancelled() override;

  QDialog* Window() const { return window_; }

 private:
  // Guarded: the owner window may delete its child dialogs first.
  QPointer<QDialog> window_;
  QLabel* label_ = nullptr;
  QProgressBar* bar_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace kordavelt
