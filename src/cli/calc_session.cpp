#include "cli/calc_session.h"

#include <algorithm>
#include <vector>

#include "cli/book_check.h"
#include "model/catalogue_references.h"
#include "refbook/spr_class.h"
#include "storage/db_reader.h"
#include "storage/file_path.h"

namespace kordavelt {
namespace {

// Every problem of the book file, the engine's and the book's own; `types`
// gets the number of its equipment types.
std::vector<DbProblem> InspectBook(FileSystem& files, const std::string& path, int& types) {
  const std::unique_ptr<RandomAccessFile> file = files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) return {{0, "Файл не открывается"}};
  DbReader reader(*file, db::FileKind::ReferenceBook);
  std::vector<DbProblem> problems = reader.Check();
  const std::vector<DbProblem> own = CheckBookTables(reader);
  problems.insert(problems.end(), own.begin(), own.end());
  types = CountBookTypes(reader);
  return problems;
}

}  // namespace

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
  if (!CheckReadable(path, context_)) return false;
  // A book that is not there would be replaced by an empty one.
  if (!options_.book.empty() && !CheckReadable(options_.book, context_)) return false;
  FileSystem* files = nullptr;
  if (options_.choice) {
    writer_ = std::make_unique<WriteSession>(context_, path, db::kModelExtension);
    if (!writer_->Begin()) return false;
    files = &writer_->Files();
  } else {
    scratch_ = std::make_unique<ScratchFileSystem>(context_.files);
    scratch_->OnNote = [this](const std::string& file, const std::string& note) {
      context_.ui.ShowInfo(file, note);
    };
    files = scratch_.get();
  }
  // The book is looked for beside the model, then in the folder of --book.
  const std::string programPath =
      FolderOf(options_.book.empty() ? path : options_.book) + "kordavelt-cli";
  model_ = std::make_unique<modelClass>(ui_, *files, programPath);
  model_->SetFileName(path);
  if (!model_->OpenFile()) return false;
  bookRefused_ = !BookServes(*files);
  const bool usable = model_->Usable() && model_->Book() != nullptr;
  if (bookRefused_ || !usable) {
    if (!bookRefused_) context_.ui.ShowError(path, "Таблицы модели не открываются");
    model_->SetAskToSave(false);
    model_->CloseFile();
    return false;
  }
  const ConstBytes block = model_->Settings().Block();
  std::copy(block.begin(), block.end(), savedSettings_.begin());
  statusLine_ = model_->Subscribe([this](const ModelEvent& event) {
    if (event.kind != ModelEventKind::Status) return;
    status_ = event.text;
    statusShown_ = true;
  });
  calc_ = std::make_unique<CalcClass>(*model_);
  return true;
}

// The calculation trusts its reference book. A book the check finds damaged
// is refused: its types could be read wrongly. A book without a single type
// is refused when the model names catalogue types, since every such element
// would be calculated with no impedance and no permissible current, numbers
// that look like results; a model of its own impedances alone (abstract
// branches, sources with their own data) is calculated against it. A type
// missing from a book that has others is left to the checks of the
// calculation, which report the element ("нет в БД!") as the program does.
bool CalcSession::BookServes(FileSystem& files) {
  // A book the engine refused to open is looked at where the model looked for it.
  const sprClass* open = model_->Book();
  const std::string book = open != nullptr ? open->FileName() : model_->FindBookPath();
  int types = 0;
  const std::vector<DbProblem> problems = InspectBook(files, book, types);
  if (!problems.empty()) {
    context_.ui.ShowError(options_.model, "Справочник повреждён: " + book);
    for (const DbProblem& problem : problems) context_.ui.ShowError(book, problem.text);
    return false;
  }
  if (types == 0 && model_->Usable() && NamesCatalogueTypes(*model_)) {
    context_.ui.ShowError(options_.model, "Справочник пуст: " + book);
    return false;
  }
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
  const bool closed = model_->CloseFile() && !model_->IoFailed();
  if (writer_ == nullptr) return closed;
  if (!closed) {
    context_.ui.ShowError(options_.model, "Выбранное оборудование не записано; модель не изменена");
    return false;
  }
  return writer_->Commit();
}

int CalcSession::OpenExitCode() const {
  if (bookRefused_) return kExitProblems;
  if (writer_ != nullptr && writer_->ExitCode() != kExitOk) return writer_->ExitCode();
  return kExitUsage;
}

}  // namespace kordavelt
