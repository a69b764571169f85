#include "cli/calc_session.h"

#include <algorithm>

#include "calc/calculation.h"
#include "storage/file_path.h"

namespace kordavelt {

int CalcUiHost::ShowDialog(std::string_view caption, std::string_view text,
                           std::string_view buttons, IconKind icon) {
  if (quiet_) return kAnswerCancel;
  ++messages_;
  return ConsoleUiHost::ShowDialog(caption, text, buttons, icon);
}

CalcSession::CalcSession(const CalcOptions& options, const CliContext& context)
    : options_(options), context_(context), ui_(context.err) {}

CalcSession::~CalcSession() {
  // The calculation refers to the model, the model to the file system.
  calc_.reset();
  model_.reset();
}

bool CalcSession::Open() {
  const std::string& path = options_.model;
  if (!context_.files.Exists(path)) {
    context_.ui.ShowError(path, "Файл не найден");
    return false;
  }
  // A book that is not there would be replaced by an empty one.
  if (!options_.book.empty() && !context_.files.Exists(options_.book)) {
    context_.ui.ShowError(options_.book, "Файл не найден");
    return false;
  }
  FileSystem* files = &context_.files;
  if (!options_.choice) {
    scratch_ = std::make_unique<ScratchFileSystem>(context_.files);
    files = scratch_.get();
  }
  // The book is looked for beside the model, then in the folder of --book.
  const std::string programPath =
      FolderOf(options_.book.empty() ? path : options_.book) + "kordavelt-cli";
  model_ = std::make_unique<modelClass>(ui_, *files, programPath);
  model_->SetFileName(path);
  if (!model_->OpenFile()) return false;
  if (!model_->Usable() || model_->Book() == nullptr) {
    context_.ui.ShowError(path, "Таблицы модели не открываются");
    model_->SetAskToSave(false);
    model_->CloseFile();
    return false;
  }
  const ConstBytes block = model_->Settings().Block();
  std::copy(block.begin(), block.end(), savedSettings_.begin());
  model_->OnStatusText = [this](const std::string& text) {
    status_ = text;
    statusShown_ = true;
  };
  calc_ = std::make_unique<CalcClass>(*model_);
  BindCalculation(*calc_);
  return true;
}

bool CalcSession::Run() {
  if (options_.regime) model_->SetRegime(*options_.regime);
  ModelSettings& settings = model_->Settings();
  for (const SettingOverride& setting : options_.settings) ApplySettingOverride(setting, settings);

  const int messagesBefore = ui_.Messages();
  statusShown_ = false;
  if (options_.choice) {
    // Asking for the choice is what turns it on for this run.
    settings.SetAutoChoice(true);
    calc_->CalcNetworkWithChoice();
  } else {
    calc_->CalcNetwork();
  }
  if (!statusShown_) status_ = model_->StatusText(calc_->Protocol());
  return ui_.Messages() == messagesBefore && !calc_->Invalid();
}

bool CalcSession::Close() {
  if (model_ == nullptr || !model_->IsOpen()) return true;
  calc_.reset();
  // The settings are written at every close: the run's changes must not be.
  std::copy(savedSettings_.begin(), savedSettings_.end(), model_->Settings().Block().begin());
  model_->SetAskToSave(false);
  return model_->CloseFile();
}

}  // namespace kordavelt
