// modelClass: opening and closing a model, the status line, table access,
// the element records and the window layout settings.

#include "model/model_class.h"

#include <algorithm>

#include "base/number_format.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "refbook/spr_class.h"
#include "storage/file_path.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// The file name without folder and extension.
std::string BaseName(const std::string& path) {
  std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

}  // namespace

modelClass::modelClass(UiHost& ui, FileSystem& files, std::string programPath)
    : dbfClass(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)),
      programPath_(std::move(programPath)),
      feedingSources_(kMaxRecords + 1, 0),
      nodeFeeders_(kMaxRecords + 1, 0),
      elements_(kMaxRecords + 1) {
  SetBackupOnOpen(true);
  SetReadOnly(false);
  SetJournalOn(true);
  OnOpen = [this](dbfClass&) { OpenModel(); };
  OnClose = [this](dbfClass&) { CloseModel(); };
  // The journal is emptied (before its entries go) or undone: nothing to undo.
  OnJournalChanged = [this](dbfClass&) {
    Notify({.kind = ModelEventKind::UndoAvailable, .on = false});
  };
  OnRecordDeleted = [this](dbfClass&, tbClass&) {
    Notify({.kind = ModelEventKind::UndoAvailable, .on = true});
  };
}

modelClass::~modelClass() {
  // The engine's destructor closes without hooks; the book goes first.
  if (book_ != nullptr) book_->CloseBook();
}

// --- Opening and closing --------------------------------------------------------------

void modelClass::OpenModel() {
  usable_ = false;
  settingsWritable_ = false;
  // CreateFile turns the journal off; a model always keeps one.
  SetJournalOn(true);
  Notify({.kind = ModelEventKind::Caption,
          .text = std::string(kProgramTitle) + " " + BaseName(FileName())});

  const SettingsRead read = settings_.Read(*this);
  settingsWritable_ = read != SettingsRead::Unreadable;
  if (read == SettingsRead::NewDefaults) {
    if (SchemeOptions) {
      const std::vector<std::uint8_t> options = SchemeOptions();
      settings_.SetSchemeDisplayOptions(options);
    }
    WriteSettings();
    if (OnGeneralProperties) OnGeneralProperties(*this);
  }

  if (!OpenBookForModel()) return;
  BindTables();
  if (!usable_) return;
  // Every table a topology edit may touch is opened now: opening a table
  // empties the deletion journal, which must survive until an undo.
  for (const ObjectKind& kind : ObjectKinds()) OpenObjectTable(kind.code);
  for (int table : {kXYNodeTable, kXYBranchTable, kXYPageTable}) OpenSchemeTable(table);
  ClearJournal();
  BuildDesignations();

  std::fill(feedingSources_.begin(), feedingSources_.end(), 0);
  std::fill(nodeFeeders_.begin(), nodeFeeders_.end(), 0);
  FreeAllElements();
  FarEnds()->GoTo(0);
  AssignFeedingSources();
  ClearCalculatedFlags();
  // The layouts are settings the file keeps: corrected whoever opens it.
  const std::int32_t standard = settings_.DefaultWindowLayout();
  if (standard < 1 || standard > 20) settings_.SetDefaultWindowLayout(5);
  if (settings_.WindowLayout() == 0) settings_.SetWindowLayout(5);
  refreshSuppression_ = 0;
  Notify({.kind = ModelEventKind::Opened});
}

void modelClass::CloseModel() {
  if (usable_) {
    FreeAllElements();
    std::fill(nodeFeeders_.begin(), nodeFeeders_.end(), 0);
    std::fill(feedingSources_.begin(), feedingSources_.end(), 0);
    Notify({.kind = ModelEventKind::Caption,
            .text = BaseName(programPath_.empty() ? kProgramTitle : programPath_)});
    if (SchemeOptions) {
      const std::vector<std::uint8_t> options = SchemeOptions();
      settings_.SetSchemeDisplayOptions(options);
    }
    // The settings are saved at every close, whatever the answer to the save question.
    if (settingsWritable_ && !ReadOnly()) WriteSettings();
    designations_.Clear();
    Notify({.kind = ModelEventKind::Closing});
    ShowStatus("Модель закрыта");
  }
  usable_ = false;
  settingsWritable_ = false;
  lastAddedNode_ = 0;
  refreshSuppression_ = 0;
  if (book_ != nullptr) {
    book_->CloseBook();
    book_.reset();
  }
  Notify({.kind = ModelEventKind::Closed});
}

std::string modelClass::FindBookPath() const {
  std::string name = settings_.ReferenceBookName();
  name = FileNameOf(name);
  if (name.empty()) name = sprClass::kDefaultFileName;
  const std::string beside = FolderOf(FileName()) + name;
  if (Files().Exists(beside)) return beside;
  const std::string program = FolderOf(programPath_) + name;
  if (Files().Exists(program)) return program;
  return FolderOf(programPath_) + sprClass::kDefaultFileName;
}

bool modelClass::OpenBookForModel() {
  book_ = std::make_unique<sprClass>(Ui(), Files());
  if (book_->OpenBook(FindBookPath())) return true;
  // The model stays open without tables.
  book_.reset();
  return false;
}

void modelClass::BindTables() {
  struct Opening {
    int table;
    int length;
  };
  static constexpr Opening kTables[] = {
      {kNodeTable, kNodeLength},         {kBranchTable, kBranchLength},
      {kFarEndTable, kFarEndLength},     {kSourceTable, kSourceLength},
      {kReceiverTable, kReceiverLength}, {kGroupTable, kGroupLength},
      {kRoomTable, kRoomLength},         {kMarkingTable, kMarkingLength},
      {kNameTable, kNameLength},
  };
  for (const Opening& opening : kTables) {
    tbClass::PositionHook hook;
    // Standing on a far end makes its branch current as well.
    if (opening.table == kFarEndTable) {
      hook = [this](tbClass& farEnds) {
        if (!followFarEnds_ || farEnds.Status() != kStatusOk || farEnds.Record().empty()) return;
        if (tbClass* branches = Branches()) branches->Seek(FarEndRec(farEnds.Record()).BranchKey());
      };
    }
    if (OpenTable(opening.table, opening.length, std::move(hook)) == nullptr) return;
  }
  usable_ = true;
}

void modelClass::BuildDesignations() {
  designations_.Clear();
  if (!usable_) return;
  // Gathered first and sorted once: a large model holds tens of thousands.
  std::vector<std::pair<std::string, std::int32_t>> found;
  const auto fill = [&found](tbClass* table, auto text) {
    for (int n = 1; n <= table->Count(); ++n) {
      table->GoTo(n);
      if (table->Status() != kStatusOk) break;
      found.emplace_back(text(table->Record()), table->Key());
    }
  };
  fill(Rooms(), [](Bytes r) { return RoomRec(r).Descript(); });
  fill(Sources(), [](Bytes r) { return SourceRec(r).Marking(); });
  fill(Receivers(), [](Bytes r) { return ReceiverRec(r).Marking(); });
  fill(Markings(), [](Bytes r) { return MarkingRec(r).Text(); });
  designations_.Assign(found);
}

void modelClass::ClearCalculatedFlags() {
  tbClass* sources = Sources();
  for (int n = 1; n <= sources->Count(); ++n) {
    sources->GoTo(n);
    if (sources->Status() != kStatusOk) break;
    SourceRec source(sources->Record());
    if (source.Calculated() == 0) continue;
    source.SetCalculated(0);
    sources->MarkModifiedAndFlush();
  }
}

// --- Status line ------------------------------------------------------------------------

std::string modelClass::StatusText(const std::string& text) {
  if (!IsOpen() || !usable_) return "Модель не открыта";
  return "Узлов-" + FormatNumber(Nodes()->Count()) + "  Ветвей-" +
         FormatNumber(Branches()->Count()) + "  Режим-" + RegimeName(regime_) + "  " + text;
}

void modelClass::ShowStatus(const std::string& text) {
  Notify({.kind = ModelEventKind::Status, .text = StatusText(text)});
}

// --- Tables -------------------------------------------------------------------------------

tbClass* modelClass::OpenObjectTable(int kind) {
  const ObjectKind* found = KindOfCode(kind);
  const int table = ObjectTableOfKind(kind);
  if (!usable_ || found == nullptr || table <= kObjectTableBase) return nullptr;
  if (tbClass* open = Table(table)) return open;
  return OpenTable(table, found->dataLength);
}

tbClass* modelClass::OpenSchemeTable(int table) {
  if (!usable_) return nullptr;
  int length = 0;
  if (table == kXYNodeTable) length = kXYNodeLength;
  if (table == kXYBranchTable) length = kXYBranchLength;
  if (table == kXYPageTable) length = kXYPageLength;
  if (length == 0) return nullptr;
  if (tbClass* open = Table(table)) return open;
  return OpenTable(table, length);
}

bool modelClass::SeekExact(tbClass* table, std::int32_t key) {
  if (table == nullptr) return false;
  table->Seek(key);
  return table->Status() == kStatusOk && table->Key() == key && !table->Record().empty();
}

bool modelClass::PositionOrInsert(tbClass* table, std::int32_t key) {
  if (table == nullptr) return false;
  if (SeekExact(table, key)) return true;
  table->Insert(key);
  return table->Status() == kStatusOk && !table->Record().empty();
}

// --- Element records -----------------------------------------------------------------

ElementRec* modelClass::Element(int recordNumber) {
  if (recordNumber < 1 || recordNumber > kMaxRecords) return nullptr;
  auto& slot = elements_[recordNumber];
  if (slot == nullptr) slot = std::make_unique<ElementSlot>();
  return &slot->data;
}

bool modelClass::HasElement(int recordNumber) const {
  return recordNumber >= 1 && recordNumber <= kMaxRecords && elements_[recordNumber] != nullptr;
}

void modelClass::FreeElement(int recordNumber) {
  if (recordNumber >= 1 && recordNumber <= kMaxRecords) elements_[recordNumber].reset();
}

void modelClass::FreeAllElements() {
  for (auto& slot : elements_) slot.reset();
}

ElementAttachment* modelClass::Attachment(int recordNumber) const {
  return HasElement(recordNumber) ? elements_[recordNumber]->attachment.get() : nullptr;
}

void modelClass::SetAttachment(int recordNumber, std::unique_ptr<ElementAttachment> attachment) {
  if (Element(recordNumber) == nullptr) return;
  elements_[recordNumber]->attachment = std::move(attachment);
}

int modelClass::NodeFeeder(int nodeRecord) const {
  return nodeRecord >= 1 && nodeRecord <= kMaxRecords ? nodeFeeders_[nodeRecord] : 0;
}

void modelClass::SetNodeFeeder(int nodeRecord, int branchRecord) {
  if (nodeRecord >= 1 && nodeRecord <= kMaxRecords) nodeFeeders_[nodeRecord] = branchRecord;
}

std::uint8_t modelClass::FeedingSource(int recordNumber) const {
  return recordNumber >= 1 && recordNumber <= kMaxRecords ? feedingSources_[recordNumber] : 0;
}

std::uint8_t modelClass::FeedingSourceOfNode(int node) {
  if (!usable_ || !SeekExact(Nodes(), node)) return 0;
  return FeedingSource(Nodes()->RecordNumber());
}

// --- Regimes ------------------------------------------------------------------------

void modelClass::SetRegime(int regime) { regime_ = std::clamp(regime, 0, kRegimeCount - 1); }

std::string modelClass::RegimeName(int regime) const { return settings_.RegimeName(regime); }

// --- Window layout settings ------------------------------------------------------------

void modelClass::ChooseWindowLayout() {
  static constexpr std::string_view kLayouts =
      "Tаблицы ЭП и ИП#Таблицы объектов#Cхема#Cхема, снизу данные#Схема, справа данные#"
      "Схема, справа таблица#Oкна каскадом";
  const int initial = std::clamp<int>(settings_.WindowLayout() - 1, 0, 6);
  const int chosen = Ui().ChooseFromList("Схема расположения окон", kLayouts, initial);
  if (chosen >= 0 && chosen <= 6) settings_.SetWindowLayout(chosen + 1);
}

void modelClass::DefaultWindowLayout() {
  const std::int32_t standard = settings_.DefaultWindowLayout();
  if (standard >= 0 && standard <= 8) settings_.SetWindowLayout(standard);
}

}  // namespace kordavelt
