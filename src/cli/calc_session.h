#pragma once

// One calculation from the command line: the model opened with its
// reference book, the regime and the settings of the options put in place,
// the whole network calculated as the menu does it, and the model closed.
//
// Without --choice the model is opened over a ScratchFileSystem, so the
// results, flags and backups the calculation writes never reach the files:
// the model and its book stay exactly as they were. With --choice the model
// is changed all or nothing (WriteSession): the chosen types reach the file
// at the close, the state before stays as its backup; the settings of --set
// and the switch of the automatic choice are put back before, so only the
// choice is kept.
//
//   CalcSession session(options, context);
//   if (!session.Open()) return session.OpenExitCode();
//   session.Run();
//   out << session.StatusLine() << '\n';
//   session.Close();

#include <memory>
#include <string>

#include "calc/calc_class.h"
#include "cli/calc_options.h"
#include "cli/console_ui_host.h"
#include "cli/scratch_file_system.h"
#include "cli/write_session.h"
#include "model/model_class.h"

namespace kordavelt {

// The console host that also counts the messages shown and can be hushed
// while a listing retraces trees whose messages were shown already.
class CalcUiHost : public ConsoleUiHost {
 public:
  using ConsoleUiHost::ConsoleUiHost;
  int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                 IconKind icon) override;
  int Messages() const { return messages_; }
  void SetQuiet(bool quiet) { quiet_ = quiet; }

 private:
  int messages_ = 0;
  bool quiet_ = false;
};

class CalcSession {
 public:
  CalcSession(const CalcOptions& options, const CliContext& context);
  ~CalcSession();
  CalcSession(const CalcSession&) = delete;
  CalcSession& operator=(const CalcSession&) = delete;

  // Opens the model with its tables and book; false after a message.
  bool Open();
  // After a failed Open: true when it was the book that could not serve.
  bool BookRefused() const { return bookRefused_; }
  // After a failed Open: the exit code that says why.
  int OpenExitCode() const;
  // Applies the regime and settings and runs the calculation. False when
  // it reported a problem or calculated no source.
  bool Run();
  // The status line the run left: "Узлов-… Ветвей-… Режим-… " + protocol.
  const std::string& StatusLine() const { return status_; }
  // Closes the model, saving it only for --choice; false when that failed.
  bool Close();

  modelClass& Model() { return *model_; }
  CalcClass& Calc() { return *calc_; }
  CalcUiHost& Ui() { return ui_; }

 private:
  // False after a message when the model's book, as `files` give it, is
  // damaged, or empty while the model names catalogue types.
  bool BookServes(FileSystem& files);

  const CalcOptions& options_;
  const CliContext& context_;
  CalcUiHost ui_;
  std::unique_ptr<ScratchFileSystem> scratch_;  // without --choice
  std::unique_ptr<WriteSession> writer_;        // with --choice
  std::unique_ptr<modelClass> model_;
  std::unique_ptr<CalcClass> calc_;
  std::array<std::uint8_t, ModelSettings::kLength> savedSettings_{};
  std::string status_;
  bool statusShown_ = false;
  bool bookRefused_ = false;
  ModelSubscription statusLine_;  // the model's status line, into status_
};

}  // namespace kordavelt
