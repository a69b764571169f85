#include "shell/model_session.h"

#include <type_traits>
#include <utility>

#include "calc/calc_class.h"
#include "exchange/export_variant.h"
#include "model/cable_lengths_import.h"
#include "model/data_class.h"
#include "model/model_export.h"
#include "model/model_import.h"
#include "model/model_tables.h"
#include "model/source_loads.h"
#include "refbook/book_owner.h"
#include "refbook/spr_class.h"
#include "results/results_window.h"
#include "results/tree_table.h"
#include "shell/calc_protocol.h"
#include "table/table_export.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

template <class Hook, class... Args>
void Call(const Hook& hook, Args&&... args) {
  if (hook) hook(std::forward<Args>(args)...);
}

constexpr TableWindowId kTableWindows[] = {TableWindowId::Sources, TableWindowId::Receivers,
                                           TableWindowId::Groups, TableWindowId::Book,
                                           TableWindowId::Results};

}  // namespace

ModelSession::ModelSession(UiHost& ui, FileSystem& files, std::string programPath)
    : ui_(ui), model_(ui, files, std::move(programPath)) {
  model_.OnGeneralProperties = [this](modelClass& model) { Call(OnGeneralProperties, model); };
  events_ = model_.Subscribe(static_cast<ModelListener&>(*this));
}

void ModelSession::OnModelEvent(const ModelEvent& event) {
  switch (event.kind) {
    case ModelEventKind::Caption:
      Call(OnCaption, event.text);
      break;
    case ModelEventKind::Status:
      Call(OnStatus, event.text);
      break;
    case ModelEventKind::Opened:
      StartModel();
      break;
    case ModelEventKind::Closing:
      FreeWindows();
      break;
    // The network grew: what was calculated no longer describes it.
    case ModelEventKind::NodeAdded:
    case ModelEventKind::BranchAdded:
      if (calc_ != nullptr) calc_->SetInvalid(true);
      break;
    case ModelEventKind::BranchSwitched:
      AutoCalc(event.branch);
      break;
    case ModelEventKind::UndoAvailable:
      undoAvailable_ = event.on;
      Call(OnUndoAvailable, event.on);
      break;
    default:
      break;
  }
}

void ModelSession::StartModel() {
  MakeWindows();
  ArrangeWindows();
  Calculate();
}

// A branch switched on the scheme: only its source is calculated again.
void ModelSession::AutoCalc(std::int32_t branchKey) {
  if (calc_ == nullptr) return;
  calc_->AutoCalc(kBranchTable, branchKey, RefreshSender::Scheme);
  Calculated();
}

ModelSession::~ModelSession() {
  // The main window is going away: nothing more is shown through it.
  OnCaption = nullptr;
  OnStatus = nullptr;
  OnModelPresent = nullptr;
  OnModelMenus = nullptr;
  OnModelPath = nullptr;
  OnShowWindow = nullptr;
  OnRepaintWindow = nullptr;
  OnHideAllWindows = nullptr;
  OnArrangeWindows = nullptr;
  OnUndoAvailable = nullptr;
  OnGeneralProperties = nullptr;
  SelectedNode = nullptr;
  if (model_.IsOpen()) {
    model_.SetAskToSave(false);
    model_.CloseFile();
  }
  // A close that could not write leaves the file open for the model's own
  // destructor; the windows go first all the same.
  FreeWindows();
}

// --- The windows of an open model ------------------------------------------------------

void ModelSession::MakeWindows() {
  FreeWindows();
  regimeAtOpen_ = model_.Regime();
  calc_ = std::make_unique<CalcClass>(model_);
  data_ = std::make_unique<DataClass>(model_, ui_);
  results_ = std::make_unique<ResultsWindow>(*calc_);
  results_->SelectedNode = [this] { return SelectedNode ? SelectedNode() : 0; };
  results_->OnShow = [this] { ShowWindow(TableWindowId::Results); };

  // The data windows keep one another in step (DataClass); each change
  // also reaches the window on the screen.
  data_->Sources().OnRepaint = [this] { RepaintWindow(TableWindowId::Sources); };
  GroupOwner& groups = data_->Groups();
  ReceiverOwner& receivers = data_->Receivers();
  groups.OnReceiversChanged = [this, reload = groups.OnReceiversChanged] {
    if (reload) reload();
    RepaintWindow(TableWindowId::Receivers);
  };
  receivers.OnSourceLoads = [this, reload = receivers.OnSourceLoads] {
    if (reload) reload();
    RepaintWindow(TableWindowId::Sources);
  };
  // The receiver list shows group columns, and edits them.
  groups.OnGroupsChanged = [this] {
    RepaintWindow(TableWindowId::Groups);
    RepaintWindow(TableWindowId::Receivers);
  };

  // The book object lives as long as the model is open; "Сохранить как ..."
  // closes and reopens its file in place, and the owner, which keeps no
  // table of the book between calls, stays with it. Re-making the owner
  // there would free it in the middle of its own SaveAs.
  if (sprClass* book = model_.Book()) {
    book_ = std::make_unique<BookOwner>(*book, ui_);
    book->OnBookOpened = [this](sprClass&) { RepaintWindow(TableWindowId::Book); };
  }
  Call(OnModelMenus, true);
}

void ModelSession::FreeWindows() {
  if (calc_ == nullptr && data_ == nullptr && book_ == nullptr && results_ == nullptr) return;
  Call(OnHideAllWindows);
  Call(OnModelMenus, false);
  if (sprClass* book = model_.Book()) {
    book->OnBookOpened = nullptr;
    book->OnBookClosed = nullptr;
  }
  results_.reset();
  book_.reset();
  data_.reset();
  calc_.reset();
}

TableOwner* ModelSession::Owner(TableWindowId id) {
  switch (id) {
    case TableWindowId::Sources:
      return data_ != nullptr ? &data_->Sources() : nullptr;
    case TableWindowId::Receivers:
      return data_ != nullptr ? &data_->Receivers() : nullptr;
    case TableWindowId::Groups:
      return data_ != nullptr ? &data_->Groups() : nullptr;
    case TableWindowId::Book:
      return book_.get();
    case TableWindowId::Results:
      return results_.get();
  }
  return nullptr;
}

TableForm* ModelSession::Form(TableWindowId id) {
  switch (id) {
    case TableWindowId::Sources:
      return data_ != nullptr ? &data_->Sources().Form() : nullptr;
    case TableWindowId::Receivers:
      return data_ != nullptr ? &data_->Receivers().Form() : nullptr;
    case TableWindowId::Groups:
      return data_ != nullptr ? &data_->Groups().Form() : nullptr;
    case TableWindowId::Book:
      return book_ != nullptr ? &book_->Form() : nullptr;
    case TableWindowId::Results:
      return results_ != nullptr ? &results_->Form() : nullptr;
  }
  return nullptr;
}

void ModelSession::ShowWindow(TableWindowId id) {
  if (Owner(id) != nullptr) Call(OnShowWindow, id);
}

void ModelSession::RepaintWindow(TableWindowId id) {
  if (Owner(id) != nullptr) Call(OnRepaintWindow, id);
}

void ModelSession::ReloadDataWindows() { RefreshTables(); }

// --- File commands ---------------------------------------------------------------------

void ModelSession::Present() { Call(OnModelPresent, model_.IsOpen()); }

void ModelSession::Opened() { Call(OnModelPath, model_.FileName()); }

bool ModelSession::Reopen(const std::string& path) {
  if (path.empty() || model_.IsOpen()) return false;
  model_.SetFileName(path);
  if (!model_.OpenFile()) return false;
  Opened();
  return true;
}

// "Нет" lets the engine put the backup taken at the open back over the file;
// the regime chosen since goes back with it, so that the model comes back as
// it was, while "Да" keeps the regime for the next model.
bool ModelSession::CloseWithQuestion() {
  FileSystem& files = model_.Files();
  const std::string backup = model_.BackupName();
  const bool hadBackup = files.Exists(backup);
  if (!model_.CloseFile()) return false;
  if (hadBackup && !files.Exists(backup)) model_.SetRegime(regimeAtOpen_);
  return true;
}

bool ModelSession::NewModel() {
  if (model_.IsOpen() && !CloseWithQuestion()) return false;
  // "*" makes the engine ask for the new file's name.
  model_.SetFileName("*");
  const bool made = model_.CreateFile() && model_.OpenFile();
  if (made) Opened();
  Present();
  return made;
}

bool ModelSession::OpenModel(const std::string& path) {
  const std::string previous = model_.IsOpen() ? model_.FileName() : std::string();
  if (model_.IsOpen() && !CloseWithQuestion()) return false;
  // An empty name, or one of no file, makes the engine show the open dialog.
  model_.SetFileName(path);
  const bool opened = model_.OpenFile();
  if (opened) {
    Opened();
  } else {
    Reopen(previous);
  }
  Present();
  return opened;
}

bool ModelSession::Save() {
  if (!model_.IsOpen()) return false;
  const std::string name = model_.FileName();
  model_.SetAskToSave(false);
  if (!model_.CloseFile()) {
    // Changes that could not be written: the model stays open, and asks again.
    model_.SetAskToSave(true);
    return false;
  }
  const bool opened = Reopen(name);
  Present();
  return opened;
}

bool ModelSession::SaveAs() {
  if (!model_.IsOpen()) return false;
  const std::string previous = model_.FileName();
  // The packed copy holds every change; the model it is made from keeps
  // them too, as "Со&хранить" does, instead of asking about them.
  model_.SetAskToSave(false);
  const bool packed = model_.PackFile();
  if (packed) {
    Opened();
  } else if (model_.IsOpen()) {
    model_.SetAskToSave(true);
  } else {
    Reopen(previous);
  }
  Present();
  return packed;
}

bool ModelSession::CloseModel() {
  if (!model_.IsOpen()) return true;
  if (!CloseWithQuestion()) return false;
  Present();
  return true;
}

// The end hook of the program is the session's destructor; this is the
// question before it.
bool ModelSession::CloseForExit() { return CloseModel(); }

// --- Model commands --------------------------------------------------------------------

void ModelSession::ShowSources() {
  if (data_ == nullptr) return;
  data_->Sources().Reload();
  ShowWindow(TableWindowId::Sources);
}

void ModelSession::ShowReceivers() {
  if (data_ == nullptr) return;
  data_->ShowReceivers();
  ShowWindow(TableWindowId::Receivers);
}

void ModelSession::ShowReceiverList() {
  if (data_ == nullptr) return;
  data_->ShowReceiverList();
  ShowWindow(TableWindowId::Receivers);
}

void ModelSession::ShowGroups() {
  if (data_ == nullptr) return;
  data_->Groups().Reload();
  ShowWindow(TableWindowId::Groups);
}

bool ModelSession::EditRooms() {
  if (data_ == nullptr) return false;
  const bool chosen = data_->EditRooms();
  // Receivers show the numbers of their rooms.
  RepaintWindow(TableWindowId::Receivers);
  return chosen;
}

void ModelSession::ChooseRegime() {
  if (!Usable()) return;
  model_.ChooseRegime();
  Calculate();
  RepaintWindow(TableWindowId::Receivers);
}

void ModelSession::GeneralProperties() {
  if (!Usable()) return;
  Call(OnGeneralProperties, model_);
  model_.Notify({.kind = ModelEventKind::SettingsChanged});
}

bool ModelSession::ChooseBookCategory() {
  if (book_ == nullptr || !book_->ChooseCategory()) return false;
  ShowWindow(TableWindowId::Book);
  return true;
}

bool ModelSession::SaveBookAs() {
  if (book_ == nullptr) return false;
  const bool saved = book_->SaveAs();
  RepaintWindow(TableWindowId::Book);
  return saved;
}

bool ModelSession::ShowResults(std::string_view id) {
  return results_ != nullptr && results_->Command(id);
}

void ModelSession::ShowSourceTree(int node) {
  if (calc_ != nullptr) kordavelt::ShowSourceTree(*calc_, node);
}

void ModelSession::Calculate() {
  if (calc_ == nullptr) return;
  calc_->CalcNetwork();
  Calculated();
}

void ModelSession::Calculate2() {
  if (calc_ == nullptr || !model_.Settings().AutoChoice()) return;
  calc_->CalcNetworkWithChoice();
  Calculated();
}

// The calculation found which source feeds each receiver: the sources'
// design loads follow, since the sources window shows them stored.
void ModelSession::Calculated() {
  if (!Usable()) return;
  ComputeSourceLoads(model_, model_.Settings());
  if (!model_.ReadOnly()) {
    WriteCalcProtocol(model_.Files(), model_.FileName(), LocalTimeText(),
                      model_.StatusText(calc_->Protocol()));
  }
  RefreshTables();
  model_.Notify({.kind = ModelEventKind::Calculated});
}

void ModelSession::RefreshTables() {
  if (!Usable()) return;
  data_->ReloadAll();
  results_->Rebuild();
  for (const TableWindowId id : kTableWindows) RepaintWindow(id);
}

void ModelSession::Restore() {
  if (!Usable()) return;
  model_.Restore();
  calc_->SetInvalid(true);
  ReloadDataWindows();
}

bool ModelSession::ImportModel(const CsvOptions& options) {
  if (!Usable()) return false;
  const bool read = kordavelt::ImportModel(model_, ui_, options.separator);
  // Rows read before a failure stay applied: the windows follow either way.
  calc_->SetInvalid(true);
  ReloadDataWindows();
  return read;
}

bool ModelSession::ExportModel(const CsvOptions& options) {
  return Usable() && kordavelt::ExportModel(model_, ui_, options);
}

bool ModelSession::Import(const CsvOptions& options, const TableForm* active) {
  const bool journal = active != nullptr && active == Form(TableWindowId::Results) &&
                       active->caption.find("Каб") != std::string::npos;
  if (!journal) return ImportModel(options);
  if (!Usable()) return false;
  // The lengths change the network: the journal shows them recalculated.
  return kordavelt::ImportCableLengths(model_, ui_, options.separator, active->name,
                                       active->caption, active->fieldNames, [this] {
                                         calc_->SetInvalid(true);
                                         ReloadDataWindows();
                                       });
}

bool ModelSession::Export(const CsvOptions& options, TableOwner* activeOwner,
                          TableForm* activeForm) {
  if (activeOwner == nullptr || activeForm == nullptr) return ExportModel(options);
  if (!Usable()) return false;
  const bool written = ExportTable(*activeOwner, *activeForm, ui_, model_.Files(), options);
  activeForm->exporting = false;
  return written;
}

void ModelSession::UndoDeletion() {
  if (!Usable()) return;
  model_.UndoDeletion();
  calc_->SetInvalid(true);
  ReloadDataWindows();
}

void ModelSession::ChooseWindowLayout() {
  if (!Usable()) return;
  model_.ChooseWindowLayout();
  ArrangeWindows();
}

void ModelSession::DefaultWindowLayout() {
  if (!Usable()) return;
  model_.DefaultWindowLayout();
  ArrangeWindows();
}

void ModelSession::ReLayout() {
  if (Usable()) ArrangeWindows();
}

void ModelSession::ArrangeWindows() {
  Call(OnArrangeWindows, static_cast<int>(model_.Settings().WindowLayout()));
  model_.ShowStatus();
}

// --- The data menu ---------------------------------------------------------------------

const std::array<DataMenuEntry, 7>& ModelSession::DataMenu() {
  static const std::array<DataMenuEntry, 7> kEntries = [] {
    // The data items keep the order DataClass gives them.
    const auto& data = DataClass::MenuItems();
    static constexpr std::array<DataCommand, 5> kDataCommands{
        DataCommand::Rooms, DataCommand::Groups, DataCommand::Receivers, DataCommand::ReceiverList,
        DataCommand::Sources};
    static_assert(std::tuple_size_v<std::remove_cvref_t<decltype(data)>> == kDataCommands.size());
    std::array<DataMenuEntry, 7> entries{};
    entries.front() = {"&Общие свойства модели", "Ctrl+D", DataCommand::GeneralProperties};
    for (std::size_t i = 0; i < data.size(); ++i) {
      entries[i + 1] = {data[i].caption, data[i].shortcut, kDataCommands[i]};
    }
    // The regimes would share Ctrl+I with the sources window; the sources keep it.
    entries.back() = {"&Расчетные режимы", "", DataCommand::Regimes};
    // Ctrl+L is "Найти &ещё" of every table window; the list does without it.
    for (DataMenuEntry& entry : entries) {
      if (entry.command == DataCommand::ReceiverList) entry.shortcut = {};
    }
    return entries;
  }();
  return kEntries;
}

bool ModelSession::RunDataCommand(DataCommand command) {
  if (!Usable()) return false;
  switch (command) {
    case DataCommand::GeneralProperties:
      GeneralProperties();
      return true;
    case DataCommand::Rooms:
      EditRooms();
      return true;
    case DataCommand::Groups:
      ShowGroups();
      return true;
    case DataCommand::Receivers:
      ShowReceivers();
      return true;
    case DataCommand::ReceiverList:
      ShowReceiverList();
      return true;
    case DataCommand::Sources:
      ShowSources();
      return true;
    case DataCommand::Regimes:
      ChooseRegime();
      return true;
  }
  return false;
}

}  // namespace kordavelt
