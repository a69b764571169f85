#pragma once

// A request to end the program from outside — the session logging out
// (SIGTERM, SIGHUP) or Ctrl+C in the terminal that started it (SIGINT) —
// ends the message loop instead of the process: the open model is then
// closed as at a normal end, its changes kept and its writer mark removed,
// so its next open sees no interrupted write.

#include <QObject>

class QSocketNotifier;

namespace kordavelt {

class TerminationSignals : public QObject {
 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Quit();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kordavelt
