#include "shell/qt/termination_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace kordavelt {
namespace {

// The handler may only write to a descriptor; the message loop reads the
// other end.
int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Quit(); });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

void TerminationSignals::Quit() {
  char byte = 0;
  [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
  // Every event loop ends, a modal dialog's too; the windows and the model
  // session are then destroyed in order.
  QCoreApplication::exit(0);
}

}  // namespace kordavelt
