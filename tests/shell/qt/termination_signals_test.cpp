// A request to end the program from outside (SIGTERM at a logout) used to
// kill the process with the model open, leaving its mark of an interrupted
// write; it must end the message loop instead, so that the model is closed
// as at a normal end.

#include "shell/qt/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QTimer>

namespace kordavelt {
namespace {

TEST(TerminationSignals, SigtermEndsTheMessageLoopInsteadOfTheProcess) {
  const TerminationSignals termination;
  bool timedOut = false;
  QTimer::singleShot(0, [] { ::raise(SIGTERM); });
  QTimer::singleShot(5000, [&timedOut] {
    timedOut = true;
    QCoreApplication::exit(1);
  });
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(timedOut);
}

}  // namespace
}  // namespace kordavelt
