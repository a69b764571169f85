#include "ui/qt/qt_progress_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/qt/qt_text.h"

namespace kordavelt {
namespace {

// Width of the window in average characters.
constexpr int kWindowChars = 40;

}  // namespace

QtProgressWindow::QtProgressWindow(QWidget* parent, std::string_view caption, std::string_view text)
    : window_(new QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)) {
  window_->setWindowTitle(ToQString(caption));
  window_->setWindowModality(Qt::ApplicationModal);

  label_ = new QLabel(ToQString(text), window_);
  label_->setObjectName(QStringLiteral("progressText"));
  label_->setTextFormat(Qt::PlainText);
  bar_ = new QProgressBar(window_);
  bar_->setRange(0, 0);  // busy until the first SetProgress
  auto* cancel = new QPushButton(QStringLiteral("Отменить"), window_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(window_);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  window_->setMinimumWidth(kWindowChars * window_->fontMetrics().averageCharWidth());

  // The cancel button and closing the window both ask the transfer to stop.
  QObject::connect(cancel, &QPushButton::clicked, window_, [this] { cancelled_ = true; });
  QObject::connect(window_, &QDialog::rejected, window_, [this] { cancelled_ = true; });
  window_->show();
  QCoreApplication::processEvents();
}

QtProgressWindow::~QtProgressWindow() { delete window_; }

void QtProgressWindow::SetText(std::string_view text) {
  if (window_ != nullptr) label_->setText(ToQString(text));
}

void QtProgressWindow::SetProgress(int done, int total) {
  if (window_ == nullptr) return;
  if (total <= 0) {
    bar_->setRange(0, 0);
    return;
  }
  bar_->setRange(0, total);
  bar_->setValue(std::clamp(done, 0, total));
}

bool QtProgressWindow::Cancelled() {
  QCoreApplication::processEvents();
  return cancelled_ || window_ == nullptr;
}

}  // namespace kordavelt
