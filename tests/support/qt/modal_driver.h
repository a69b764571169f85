#pragma once

// Drives modal windows from inside their own event loop: a test schedules
// what to do with the next modal window, then opens it.

#include <gtest/gtest.h>

#include <QList>
#include <QTimer>
#include <QWidget>
#include <functional>

class QPushButton;

namespace kordavelt::testing {

// Runs `act` on the active modal window as soon as one is shown.
void WhenModalShows(std::function<void(QWidget& window)> act);

// The window's push buttons from left to right.
QList<QPushButton*> ButtonsLeftToRight(QWidget& window);

// The named child widget; fails the test when it is missing.
template <typename T>
T* Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << "no child " << name;
  return child;
}

// A fixture whose watchdog closes a modal window that a failing test left
// open, so the run fails instead of hanging.
class ModalTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  QTimer watchdog_;
};

}  // namespace kordavelt::testing
