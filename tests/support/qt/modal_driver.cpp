#include "support/qt/modal_driver.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

namespace kordavelt::testing {
namespace {

constexpr int kWatchdogMs = 10000;
// Bumped after each test, so a request that found no window dies with its test.
int generation = 0;

void PollForModal(int requestGeneration, std::function<void(QWidget& window)> act) {
  QTimer::singleShot(0, [requestGeneration, act = std::move(act)]() mutable {
    if (requestGeneration != generation) return;
    QWidget* window = QApplication::activeModalWidget();
    if (window != nullptr && window->isVisible()) {
      act(*window);
    } else {
      PollForModal(requestGeneration, std::move(act));
    }
  });
}

}  // namespace

void WhenModalShows(std::function<void(QWidget& window)> act) {
  PollForModal(generation, std::move(act));
}

QList<QPushButton*> ButtonsLeftToRight(QWidget& window) {
  QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
  std::sort(buttons.begin(), buttons.end(),
            [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
  return buttons;
}

void ModalTest::SetUp() {
  watchdog_.setSingleShot(true);
  QObject::connect(&watchdog_, &QTimer::timeout, [] {
    ADD_FAILURE() << "a modal window was left open";
    while (QWidget* window = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
      } else {
        window->close();
      }
      QApplication::processEvents();
    }
  });
  watchdog_.start(kWatchdogMs);
}

void ModalTest::TearDown() {
  watchdog_.stop();
  ++generation;
  QApplication::processEvents();
}

}  // namespace kordavelt::testing
