// Every file call of a scripted editing session made to fail, one run per
// call: creating, opening with a backup, inserting until pages split and the
// index changes levels, deleting, re-keying, undoing, raw blocks, packing and
// closing with and without keeping the changes. Catches crashes on failed
// calls, failures that go unreported or are reported as success, records
// that a successful operation wrote but the file lost, and files left
// unreadable with no sound backup beside them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/dial_list.h"
#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"
#include "support/engine_reference.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ui_host.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

using testing::FaultyFileSystem;
using testing::FileCall;
using testing::FillPattern;
using testing::HasPattern;

const std::string kModel = "m.LVN";
const std::string kPacked = "m!.LVN";
const std::string kSaveQuestion = "Cохранить изменения ?";
constexpr int kSmall = 5;  // record data length 34
constexpr int kLarge = 6;  // record data length 164
constexpr int kSmallLength = 34;
constexpr int kLargeLength = 164;
constexpr int kBlock = 1;
constexpr std::size_t kBlockLength = 1469;

std::string Num(long long value) { return std::to_string(value); }

// The program's own texts a failure may be reported with: the failure table
// of the engine, its index notes and the few texts of its own.
bool KnownMessage(const std::string& text) {
  static const std::vector<std::string> kKnown = {
      "Ошибка чтения файла#Возможно, что файл используется в сети",
      "Ошибка формата файла базы данных",
      "Проблемы файла БД!#Попытка восстановления.",
      "Таблицы № 0 нет",
      "Ошибка структуры таблицы №",
      "Ошибка БД Стр2 таблицы № ",
      "Ошибка БД Стр3 таблицы № ",
      "Ошибка диска Init Код № ",
      "Изменить длину таблицы № ",
      "Ошибка ключа2 в таблице № ",
      "Ошибка ключа в таблице № ",
      "Ошибка номера 2 в таблице № ",
      "Ошибка номера записи в таблице № ",
      "Таблица не открыта",
      "Ошибка Save Таблицы ",
      "Таблицы N 0 нет",
      "Данных № 0 нет",
      "Ошибка данных №",
      "Ошибка записи данных №",
      "Ошибка чтения данных №",
      "Превышен допустимый размер таблицы",
      "Переход на двухуровневый индекс таблицы №",
      "Деление вторичного индекса таблицы №",
      "Удаление страницы вторичного индекса таблицы №",
      "Переход с двухуровневого на одноуровневый индекс таблицы №",
      "Ошибка записи заголовка базы данных",
      "Не удалось вернуть файл к копии ",
      "Упакованную копию нельзя записать поверх ",
      "Файл не открывается: ",
      "Файл не открывается для записи: ",
      "Файл уже открыт для записи другой программой",
      "Запись файла была прервана",
      "Ошибка записи копии файла ",
      "Не удалось отметить начало записи файла: ",
      "Ошибка записи файла на диск",
      kSaveQuestion,
  };
  return std::any_of(kKnown.begin(), kKnown.end(),
                     [&](const std::string& known) { return text.rfind(known, 0) == 0; });
}

bool IndexNote(const std::string& text) {
  return text.rfind("Переход", 0) == 0 || text.rfind("Деление", 0) == 0 ||
         text.rfind("Удаление страницы", 0) == 0;
}

// --- A user who lets every session run to its end ---------------------------------

// Answers the save question as the session wants, proposes nothing else:
// other questions are closed, open dialogs cancelled, the packing dialog
// takes the proposed name. Keeps every window it was shown.
class LenientUi : public UiHost {
 public:
  struct Window {
    std::string kind;  // "dialog", "open", "save", "input", ...
    std::string caption;
    std::string text;
  };

  explicit LenientUi(int saveAnswer) : saveAnswer_(saveAnswer) {}

  const std::vector<Window>& Shown() const { return shown_; }
  int SaveQuestions() const { return saveQuestions_; }

  int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                 IconKind) override {
    shown_.push_back({"dialog", std::string(caption), std::string(text)});
    if (ListCount(buttons) <= 1) return kFirstButton;
    if (text == kSaveQuestion) {
      ++saveQuestions_;
      return saveAnswer_ == kAnswerYes ? kFirstButton : kFirstButton + 1;
    }
    return kAnswerCancel;
  }
  bool InputText(std::string_view caption, std::string_view prompt, std::string&, int) override {
    shown_.push_back({"input", std::string(caption), std::string(prompt)});
    return false;
  }
  int ChooseFromList(std::string_view caption, std::string_view items, int initial) override {
    shown_.push_back({"list", std::string(caption), std::string(items)});
    return initial;
  }
  bool ChooseColour(Color&) override { return false; }
  bool ChooseFont(FontChoice&) override { return false; }
  int ChooseSymbol(std::string_view, int, const SymbolPainter&) override { return 0; }
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override {
    shown_.push_back({"open", request.title, request.initialPath});
    return std::nullopt;
  }
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
    shown_.push_back({"save", request.title, request.initialPath});
    return request.initialPath;
  }
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view, std::string_view) override {
    return nullptr;
  }
  void Beep() override {}
  bool ShowTableDialog(TableOwner&, TableForm&, std::string_view) override { return false; }

 private:
  int saveAnswer_;
  int saveQuestions_ = 0;
  std::vector<Window> shown_;
};

// --- What a session must leave in the file ------------------------------------------

// Per table and key: what a successful close must have kept. Keys are unique
// within a table in these sessions, so a key names a record.
class Ledger {
 public:
  enum class State { Present, Absent, Either };
  struct Entry {
    State state = State::Absent;
    std::uint64_t serial = 0;
  };

  // Every record of a file, present, its serial read back from its pattern.
  static Ledger FromFile(const std::vector<std::uint8_t>& bytes) {
    Ledger ledger;
    MemoryFile image(bytes);
    DbReader reader(image, db::FileKind::Model);
    for (const DbTableInfo& info : reader.Tables()) {
      if (info.rawBlock) {
        ledger.block_ = reader.ReadRawBlock(info.number).bytes;
        ledger.block_->resize(kBlockLength);
        continue;
      }
      for (const DbRecord& record : reader.ReadTable(info.number).records) {
        std::uint64_t serial = 0;
        for (int i = 3; i >= 0; --i)
          serial = serial << 8 | record.data[static_cast<std::size_t>(i)];
        ledger.Set(info.number, record.key, State::Present, serial);
      }
    }
    return ledger;
  }

  void Set(int table, std::int32_t key, State state, std::uint64_t serial) {
    tables_[table][key] = {state, serial};
  }
  const Entry* Find(int table, std::int32_t key) const {
    const auto t = tables_.find(table);
    if (t == tables_.end()) return nullptr;
    const auto k = t->second.find(key);
    return k == t->second.end() ? nullptr : &k->second;
  }
  void SetBlock(std::optional<std::vector<std::uint8_t>> block, bool certain) {
    block_ = std::move(block);
    blockCertain_ = certain;
  }
  const std::optional<std::vector<std::uint8_t>>& Block() const { return block_; }

  // Differences between the ledger and a file's contents; empty when none.
  std::string Compare(const std::vector<std::uint8_t>& bytes) const {
    MemoryFile image(bytes);
    DbReader reader(image, db::FileKind::Model);
    for (const auto& [table, keys] : tables_) {
      std::map<std::int32_t, std::vector<const DbRecord*>> found;
      const DbTableContents contents = reader.ReadTable(table);
      for (const DbRecord& record : contents.records) found[record.key].push_back(&record);
      for (const auto& [key, entry] : keys) {
        const auto hit = found.find(key);
        const std::size_t copies = hit == found.end() ? 0 : hit->second.size();
        const std::string where = "table " + Num(table) + " key " + Num(key);
        if (entry.state == State::Present) {
          if (copies != 1) return where + ": " + Num(static_cast<long long>(copies)) + " records";
          if (!HasPattern(hit->second.front()->data, entry.serial)) return where + ": data lost";
        } else if (entry.state == State::Absent && copies != 0) {
          return where + ": deleted, but in the file";
        } else if (copies > 1) {
          return where + ": " + Num(static_cast<long long>(copies)) + " records";
        }
      }
      for (const auto& [key, records] : found) {
        if (keys.count(key) == 0) return "table " + Num(table) + ": unknown key " + Num(key);
      }
    }
    if (block_ && blockCertain_) {
      const DbRawBlock stored = reader.ReadRawBlock(kBlock);
      if (!std::equal(block_->begin(), block_->end(), stored.bytes.begin())) {
        return "raw block " + Num(kBlock) + " differs";
      }
    }
    return {};
  }

 private:
  std::map<int, std::map<std::int32_t, Entry>> tables_;
  std::optional<std::vector<std::uint8_t>> block_;
  bool blockCertain_ = true;
};

// --- One run of a session -------------------------------------------------------------

// What one step of a session gave: whether it claims success, and what its
// caller sees of its result.
struct Outcome {
  bool success = true;
  std::string seen;
};

struct StepRules {
  // The operation has no message of its own for a failure (creating a file).
  bool mayFailSilently = false;
  // The operation is done when its last write fails and says so in a message
  // (putting the backup back at close: the file is closed all the same).
  bool mayEndWithReportedWriteFailure = false;
};

struct StepRecord {
  std::string name;
  long callsBefore = 0;
  long callsAfter = 0;
  std::size_t shownBefore = 0;
  std::size_t shownAfter = 0;
  Outcome outcome;
  StepRules rules;
};

struct Journalled {
  int table;
  std::int32_t key;
  std::uint64_t serial;
  bool known;  // the record held the data its serial names
};

class FaultRun;
using Script = std::function<void(FaultRun&)>;

// The files a session starts from, the script it runs, and how it closes.
struct Session {
  std::string name;
  std::map<std::string, std::vector<std::uint8_t>> files;  // the start
  Script script;
  int saveAnswer = kAnswerYes;
};

// One run of a session; the session must outlive it.
class FaultRun {
 public:
  FaultRun(const Session& session, long failCall)
      : session_(session), faulty_(memory_), ui_(session.saveAnswer) {
    for (const auto& [name, bytes] : session.files) memory_.Put(name, bytes);
    if (session.files.count(kModel) != 0) ledger_ = Ledger::FromFile(session.files.at(kModel));
    faulty_.FailCall(failCall);
    file_ = std::make_unique<dbfClass>(ui_, faulty_, std::string(db::kModelExtension),
                                       std::string(db::kModelSignature));
    file_->SetFileName(kModel);
    file_->SetBackupOnOpen(true);
    file_->SetJournalOn(true);
    // The owner opens its tables whenever the file opens, as the model does.
    file_->OnOpen = [this](dbfClass& file) {
      small_ = file.OpenTable(kSmall, kSmallLength);
      large_ = file.OpenTable(kLarge, kLargeLength);
      journal_.clear();
    };
    file_->OnClose = [this](dbfClass&) {
      small_ = nullptr;
      large_ = nullptr;
      journal_.clear();
    };
  }

  void Execute() {
    session_.script(*this);
    if (file_->IsOpen()) Close("close again");
    finalName_ = file_->FileName();
    stillOpen_ = file_->IsOpen();
    file_.reset();
  }

  // --- Steps of a script ---------------------------------------------------------------

  void Create() {
    Step("CreateFile", {.mayFailSilently = true}, [&] {
      const bool created = file_->CreateFile();
      file_->SetJournalOn(true);
      return Outcome{created, created ? "created" : "not created"};
    });
  }

  void Open() {
    Step("OpenFile", {}, [&] {
      const bool opened = file_->OpenFile();
      DropTablesIfClosed();
      return Outcome{opened, opened ? "open" : "not open"};
    });
  }

  void Insert(int t, std::int32_t key, bool flush) {
    Step("Insert " + Num(t) + ":" + Num(key), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      // Every insert empties the journal, before anything else.
      journal_.clear();
      table->Insert(key);
      Outcome outcome{table->Status() == kStatusOk, {}};
      const std::uint64_t serial = nextSerial_++;
      if (outcome.success) {
        FillPattern(table->Record(), serial);
        if (flush) {
          table->MarkModifiedAndFlush();
          outcome.success = table->Status() == kStatusOk;
        } else {
          // Written when the table moves on, or at close.
          table->MarkModified();
        }
      }
      ledger_.Set(t, key, outcome.success ? Ledger::State::Present : Ledger::State::Either, serial);
      outcome.seen = Position(*table);
      return outcome;
    });
  }

  // The status of the seek, or -1000 when there was no table.
  int Seek(int t, std::int32_t key) {
    int status = -1000;
    Step("Seek " + Num(t) + ":" + Num(key), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      table->Seek(key);
      status = table->Status();
      return Outcome{status >= kStatusOk && status <= kStatusEmptyPage, Position(*table)};
    });
    return status;
  }

  void GoTo(int t, std::int32_t n) {
    Step("GoTo " + Num(t) + ":" + Num(n), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      table->GoTo(n);
      const int status = table->Status();
      return Outcome{status >= kStatusOk && status <= kStatusBeyond, Position(*table)};
    });
  }

  void Next(int t) {
    Step("Next " + Num(t), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      const bool moved = table->Next();
      const int status = table->Status();
      return Outcome{status >= kStatusOk && status <= kStatusBeyond,
                     (moved ? "moved, " : "stayed, ") + Position(*table)};
    });
  }

  void LastKey(int t) {
    Step("LastKey " + Num(t), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      return Outcome{true, "last key " + Num(table->LastKey()) + ", " + Position(*table)};
    });
  }

  void Delete(int t, std::int32_t key) {
    if (Seek(t, key) != kStatusOk) return;
    Step("Delete " + Num(t) + ":" + Num(key), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      const Ledger::Entry* entry = ledger_.Find(t, key);
      const std::uint64_t serial = entry != nullptr ? entry->serial : 0;
      const bool known = entry != nullptr && entry->state == Ledger::State::Present;
      table->Delete();
      const int status = table->Status();
      // The record enters the journal before anything is written.
      if (status == kStatusOk || status < 0) journal_.push_back({t, key, serial, known});
      if (status == kStatusOk) ledger_.Set(t, key, Ledger::State::Absent, serial);
      if (status < 0) ledger_.Set(t, key, Ledger::State::Either, serial);
      return Outcome{status == kStatusOk, Position(*table)};
    });
  }

  void ChangeKey(int t, std::int32_t from, std::int32_t to) {
    if (Seek(t, from) != kStatusOk) return;
    Step("ChangeKey " + Num(t) + ":" + Num(from) + "->" + Num(to), {}, [&] {
      tbClass* table = Table(t);
      if (table == nullptr) return Skipped();
      const Ledger::Entry* entry = ledger_.Find(t, from);
      const std::uint64_t serial = entry != nullptr ? entry->serial : 0;
      const bool known = entry != nullptr && entry->state == Ledger::State::Present;
      table->ChangeKey(to);
      const bool changed = table->Status() == kStatusOk;
      if (changed) {
        ledger_.Set(t, from, Ledger::State::Absent, serial);
        // A record whose insert failed carries whatever data it got.
        ledger_.Set(t, to, known ? Ledger::State::Present : Ledger::State::Either, serial);
        journal_.clear();
      } else {
        // Somewhere between the delete and the insert: either key, and the
        // journal may or may not hold the old record.
        ledger_.Set(t, from, Ledger::State::Either, serial);
        ledger_.Set(t, to, Ledger::State::Either, serial);
        journal_.push_back({t, from, serial, known});
        journalUncertain_ = true;
      }
      return Outcome{changed, Position(*table)};
    });
  }

  void Undo() {
    Step("UndoDeletions", {}, [&] {
      const std::size_t shown = ui_.Shown().size();
      file_->UndoDeletions();
      bool sound = ui_.Shown().size() == shown;
      for (tbClass* table : {small_, large_}) {
        if (table != nullptr && table->Status() < 0) sound = false;
      }
      for (auto entry = journal_.rbegin(); entry != journal_.rend(); ++entry) {
        const Ledger::Entry* now = ledger_.Find(entry->table, entry->key);
        if (now != nullptr && now->state == Ledger::State::Present) continue;
        const bool restored = sound && !journalUncertain_ && entry->known;
        ledger_.Set(entry->table, entry->key,
                    restored ? Ledger::State::Present : Ledger::State::Either, entry->serial);
      }
      journal_.clear();
      journalUncertain_ = false;
      std::string seen;
      for (tbClass* table : {small_, large_}) seen += table ? Position(*table) + "; " : "none; ";
      return Outcome{sound, seen};
    });
  }

  void WriteBlock(std::uint64_t serial) {
    Step("WriteBlock", {}, [&] {
      const std::vector<std::uint8_t> block = testing::RecordPattern(serial, kBlockLength);
      const bool written = file_->WriteBlock(kBlock, block);
      ledger_.SetBlock(block, written);
      return Outcome{written, written ? "written" : "not written"};
    });
  }

  void ReadBlock() {
    Step("ReadBlock", {}, [&] {
      std::vector<std::uint8_t> block(kBlockLength);
      const bool read = file_->ReadBlock(kBlock, block);
      const bool same = ledger_.Block() && *ledger_.Block() == block;
      return Outcome{read, std::string(read ? "read" : "not read") + (same ? ", same" : ", other")};
    });
  }

  void Pack() {
    Step("PackFile", {}, [&] {
      const bool packed = file_->PackFile();
      DropTablesIfClosed();
      journal_.clear();
      return Outcome{packed, packed ? "packed " + file_->FileName() : "not packed"};
    });
  }

  void Close(const std::string& name = "CloseFile") {
    Step(name, {.mayEndWithReportedWriteFailure = true}, [&] {
      const bool closed = file_->CloseFile();
      journal_.clear();
      return Outcome{closed, closed ? "closed" : "still open"};
    });
  }

  // --- After the run -------------------------------------------------------------------

  const std::vector<StepRecord>& Steps() const { return steps_; }
  const LenientUi& Ui() const { return ui_; }
  const FaultyFileSystem& Faulty() const { return faulty_; }
  long Calls() const { return faulty_.Calls(); }
  const std::string& FinalName() const { return finalName_; }
  bool StillOpen() const { return stillOpen_; }
  const Ledger& Expected() const { return ledger_; }
  bool KeepsChanges() const { return session_.saveAnswer == kAnswerYes; }
  // The files the session started from.
  const std::map<std::string, std::vector<std::uint8_t>>& StartFiles() const {
    return session_.files;
  }
  const std::vector<std::uint8_t>* Bytes(const std::string& name) const {
    return memory_.Find(name);
  }

 private:
  tbClass* Table(int t) const { return t == kSmall ? small_ : large_; }
  // A file that failed to open has freed the tables its OnOpen opened without
  // running OnClose (AFailedOpenRunsOnCloseForTheTablesOnOpenOpened): the
  // owner forgets them itself.
  void DropTablesIfClosed() {
    if (file_->IsOpen()) return;
    small_ = nullptr;
    large_ = nullptr;
  }
  static Outcome Skipped() { return {false, "no table"}; }
  static std::string Position(const tbClass& table) {
    return "status " + Num(table.Status()) + ", record " + Num(table.RecordNumber()) + ", key " +
           Num(table.Key()) + ", count " + Num(table.Count());
  }

  void Step(const std::string& name, StepRules rules, const std::function<Outcome()>& body) {
    StepRecord record;
    record.name = name;
    record.rules = rules;
    record.callsBefore = faulty_.Calls();
    record.shownBefore = ui_.Shown().size();
    record.outcome = body();
    record.callsAfter = faulty_.Calls();
    record.shownAfter = ui_.Shown().size();
    steps_.push_back(std::move(record));
  }

  const Session& session_;
  MemoryFileSystem memory_;
  FaultyFileSystem faulty_;
  LenientUi ui_;
  std::unique_ptr<dbfClass> file_;
  tbClass* small_ = nullptr;
  tbClass* large_ = nullptr;
  Ledger ledger_;
  std::vector<Journalled> journal_;
  bool journalUncertain_ = false;
  // Above the serials of records a session starts with.
  std::uint64_t nextSerial_ = 1000000;
  std::vector<StepRecord> steps_;
  std::string finalName_;
  bool stillOpen_ = false;
};

// --- Judging a run ----------------------------------------------------------------------

// A file the stand-alone check finds nothing wrong with.
bool Sound(const std::vector<std::uint8_t>* bytes) {
  if (bytes == nullptr) return false;
  MemoryFile image(*bytes);
  DbReader reader(image, db::FileKind::Model);
  return reader.Accepted() && reader.Check().empty();
}

std::string BackupOf(const std::string& name) { return name.substr(0, name.rfind('.')) + ".~LVN"; }

struct Verdict {
  std::string failure;  // empty when the run is right
};

// The windows a step showed, for failure messages.
std::string ShownDuring(const FaultRun& run, const StepRecord& step) {
  std::string texts;
  for (std::size_t i = step.shownBefore; i < step.shownAfter; ++i) {
    texts += " [" + run.Ui().Shown()[i].text + "]";
  }
  return texts;
}

// What is wrong with a run whose call `failCall` failed, judged against the
// same session without a failure.
Verdict Judge(const FaultRun& run, const FaultRun& clean, long failCall) {
  const FaultyFileSystem& faulty = run.Faulty();
  if (!faulty.FailureHappened()) return {"call " + Num(failCall) + " never came"};

  for (const LenientUi::Window& window : run.Ui().Shown()) {
    if (window.kind == "dialog" && !KnownMessage(window.text)) {
      return {"a message that is not the program's: \"" + window.caption + "\": " + window.text};
    }
  }

  // The step that met the failure ran like the clean one up to that call.
  const auto step = std::find_if(run.Steps().begin(), run.Steps().end(), [&](const StepRecord& s) {
    return s.callsBefore < failCall && failCall <= s.callsAfter;
  });
  if (step == run.Steps().end()) return {"the failure came outside every step"};
  const std::size_t index = static_cast<std::size_t>(step - run.Steps().begin());
  const StepRecord& expected = clean.Steps()[index];
  const auto& shown = run.Ui().Shown();
  const bool reported = std::any_of(
      shown.begin() + static_cast<long>(step->shownBefore),
      shown.begin() + static_cast<long>(step->shownAfter),
      [](const LenientUi::Window& w) { return w.kind != "dialog" || !IndexNote(w.text); });

  const std::string where =
      "step \"" + step->name + "\" (" + step->outcome.seen + ")" + ShownDuring(run, *step);
  if (step->outcome.success) {
    if (faulty.FailedCallWrites() && !(step->rules.mayEndWithReportedWriteFailure && reported)) {
      return {where + " claims success though its write failed"};
    }
    if (step->outcome.seen != expected.outcome.seen && !reported) {
      return {where + " differs from the run without failure (" + expected.outcome.seen +
              ") and says nothing"};
    }
  } else if (!reported && !step->rules.mayFailSilently) {
    return {where + " fails without a message"};
  }

  // The file, or its backup, is sound.
  const std::string& name = run.FinalName();
  const std::vector<std::uint8_t>* bytes = run.Bytes(name);
  const std::vector<std::uint8_t>* backup = run.Bytes(BackupOf(name));
  if (bytes == nullptr && backup == nullptr) {
    const bool createFailed =
        run.Steps().front().name == "CreateFile" && !run.Steps().front().outcome.success;
    if (createFailed) return {};
    return {"neither " + name + " nor its backup exists"};
  }
  const bool sound = Sound(bytes);
  if (!sound && !Sound(backup)) return {"neither " + name + " nor its backup is sound"};
  // A file the user closed, and was told was closed, is sound and, when the
  // changes were kept, holds every one an operation reported done.
  const bool closed = !run.StillOpen() &&
                      std::any_of(run.Steps().begin(), run.Steps().end(), [](const StepRecord& s) {
                        return s.rules.mayEndWithReportedWriteFailure && s.outcome.success;
                      });
  if (closed && !sound) return {name + " was closed unsound (its backup is sound)"};
  if (closed && run.KeepsChanges()) {
    const std::string lost = run.Expected().Compare(*bytes);
    if (!lost.empty()) return {name + " after closing: " + lost};
  }
  return {};
}

// --- Sweeping a session -------------------------------------------------------------------

struct SweepResult {
  long runs = 0;
  std::vector<std::string> failures;
};

long totalRuns = 0;
std::vector<std::string> sweepCounts;

// Runs the session once for every call it makes, that call failing.
SweepResult Sweep(const Session& session,
                  const std::function<Verdict(const FaultRun&)>& extra = {}) {
  SweepResult result;
  FaultRun clean(session, 0);
  clean.Execute();
  for (long n = 1; n <= clean.Calls(); ++n) {
    FaultRun run(session, n);
    run.Execute();
    ++result.runs;
    Verdict verdict = Judge(run, clean, n);
    if (verdict.failure.empty() && extra) verdict = extra(run);
    if (!verdict.failure.empty()) {
      result.failures.push_back("run " + Num(n) + " (" + run.Faulty().FailedCallText() +
                                "): " + verdict.failure);
    }
  }
  totalRuns += result.runs;
  sweepCounts.push_back(session.name + " " + Num(result.runs));
  return result;
}

void ExpectNoFailures(const SweepResult& result) {
  ::testing::Test::RecordProperty("runs", static_cast<int>(result.runs));
  const std::size_t shown = std::min<std::size_t>(result.failures.size(), 25);
  for (std::size_t i = 0; i < shown; ++i) ADD_FAILURE() << result.failures[i];
  if (result.failures.size() > shown) {
    ADD_FAILURE() << "... and " << result.failures.size() - shown << " more failing runs of "
                  << result.runs;
  }
}

class EngineFaults : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    std::string parts;
    for (const std::string& part : sweepCounts) parts += (parts.empty() ? "" : ", ") + part;
    std::printf("engine fault injection: %ld runs (%s)\n", totalRuns, parts.c_str());
  }
};

// --- The sessions -----------------------------------------------------------------------

// A new model: two tables filled until pages split and a page empties,
// deletions undone, records re-keyed, the settings block written and read,
// the file packed, edited once more and closed keeping the changes.
void CreateEditAndPack(FaultRun& run) {
  run.Create();
  run.Open();
  std::vector<std::int32_t> keys;
  for (std::int32_t k = 10; k <= 1200; k += 10) keys.push_back(k);
  std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
  for (std::size_t i = 0; i < keys.size(); ++i) run.Insert(kSmall, keys[i], i % 2 == 0);
  // Twelve records a page: three pages, filled in order.
  for (std::int32_t k = 5; k <= 150; k += 5) run.Insert(kLarge, k, false);
  run.GoTo(kSmall, 1);
  run.Next(kSmall);
  run.GoTo(kSmall, 60);
  run.Seek(kSmall, 555);
  run.Seek(kLarge, 75);
  run.LastKey(kSmall);
  run.LastKey(kLarge);
  for (std::int32_t k : {100, 500, 510, 520, 1200, 10}) run.Delete(kSmall, k);
  // The middle page of the large table empties and leaves the index.
  for (std::int32_t k = 65; k <= 120; k += 5) run.Delete(kLarge, k);
  run.Undo();
  run.Delete(kSmall, 300);
  run.Delete(kSmall, 310);
  run.ChangeKey(kSmall, 400, 405);
  run.ChangeKey(kLarge, 30, 1000);
  run.Undo();  // nothing: re-keying emptied the journal
  run.WriteBlock(900001);
  run.ReadBlock();
  run.Pack();
  run.Insert(kSmall, 2000, true);
  run.Delete(kLarge, 150);
  run.LastKey(kSmall);
  run.Close();
}

// The large table one page short of a two-level index: 254 pages of one
// record (keys 1, 13, 25 ...) and a full last page (3049 ... 3060).
std::vector<std::uint8_t> NearlyTwoLevelModel() {
  LenientUi ui(kAnswerYes);
  MemoryFileSystem files;
  {
    dbfClass file(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature));
    file.SetFileName(kModel);
    EXPECT_TRUE(file.CreateFile());
    EXPECT_TRUE(file.OpenFile());
    EXPECT_NE(file.OpenTable(kSmall, kSmallLength), nullptr);
    tbClass* large = file.OpenTable(kLarge, kLargeLength);
    EXPECT_NE(large, nullptr);
    if (large == nullptr) return {};
    const int perPage = db::RecordsPerPage(kLargeLength + db::kKeySize);
    const int last = perPage * db::kMaxEntries;
    for (std::int32_t k = 1; k <= last; ++k) {
      large->Insert(k);
      FillPattern(large->Record(), static_cast<std::uint64_t>(k));
      large->MarkModified();
    }
    for (std::int32_t k = 1; k <= last - perPage; ++k) {
      if ((k - 1) % perPage == 0) continue;
      large->Seek(k);
      large->Delete();
    }
    EXPECT_FALSE(large->TwoLevel());
    EXPECT_EQ(large->Count(), db::kMaxEntries - 1 + perPage);
    file.SetAskToSave(false);
    EXPECT_TRUE(file.CloseFile());
  }
  return *files.Find(kModel);
}

// Into two levels on the 256th page, through both second-level pages, and
// back to one level as the second one empties.
void CrossTheIndexLevels(FaultRun& run) {
  run.Open();
  run.Insert(kLarge, 5000, true);
  for (std::int32_t k = 5001; k <= 5011; ++k) run.Insert(kLarge, k, k % 2 == 0);
  // A new last page, written only when the table moves to the other
  // second-level page.
  run.Insert(kLarge, 5012, false);
  run.GoTo(kLarge, 1);
  run.Insert(kLarge, 7, true);  // under the first second-level page
  run.GoTo(kLarge, 200);
  run.Seek(kLarge, 3050);
  run.LastKey(kLarge);
  run.GoTo(kLarge, 1);
  run.Next(kLarge);
  // Everything under the second second-level page goes, last first.
  for (std::int32_t k = 5012; k >= 5000; --k) run.Delete(kLarge, k);
  for (std::int32_t k = 3060; k >= 3049; --k) run.Delete(kLarge, k);
  for (std::int32_t k = 3037; k >= 1525; k -= 12) run.Delete(kLarge, k);
  run.LastKey(kLarge);
  run.Seek(kLarge, 7);
  run.Insert(kLarge, 1600, true);
  run.Close();
}

// An existing model edited and closed answering No.
void EditAndDiscard(FaultRun& run) {
  run.Open();
  std::vector<std::int32_t> keys;
  for (std::int32_t k = 3000; k < 3600; k += 10) keys.push_back(k);
  std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
  for (std::size_t i = 0; i < keys.size(); ++i) run.Insert(kSmall, keys[i], i % 3 == 0);
  run.Delete(kLarge, 5);
  run.Delete(kLarge, 10);
  run.ChangeKey(kSmall, 20, 25);
  run.WriteBlock(900002);
  run.Delete(kSmall, 3000);
  run.Undo();
  run.LastKey(kSmall);
  run.Close();
}

// The run without a failure must itself be right, or the sweep proves nothing.
void ExpectCleanRun(const FaultRun& clean) {
  for (const StepRecord& step : clean.Steps()) {
    EXPECT_TRUE(step.outcome.success) << step.name << ": " << step.outcome.seen;
  }
  EXPECT_FALSE(clean.StillOpen());
  EXPECT_TRUE(Sound(clean.Bytes(clean.FinalName()))) << clean.FinalName();
  for (const LenientUi::Window& window : clean.Ui().Shown()) {
    EXPECT_TRUE(window.kind == "save" || IndexNote(window.text) || window.text == kSaveQuestion)
        << window.kind << " \"" << window.caption << "\": " << window.text;
  }
}

bool ShowsText(const FaultRun& run, const std::string& text) {
  return std::any_of(run.Ui().Shown().begin(), run.Ui().Shown().end(),
                     [&](const LenientUi::Window& w) { return w.text == text; });
}

Session CreateEditAndPackSession() { return {"create, edit and pack", {}, CreateEditAndPack}; }

TEST_F(EngineFaults, EveryFailedCallWhileCreatingEditingAndPackingIsReportedAndLosesNothing) {
  const Session session = CreateEditAndPackSession();
  FaultRun clean(session, 0);
  clean.Execute();
  ExpectCleanRun(clean);
  EXPECT_EQ(clean.FinalName(), kPacked);
  EXPECT_EQ(clean.Expected().Compare(*clean.Bytes(kPacked)), "");
  ExpectNoFailures(Sweep(session));
}

TEST_F(EngineFaults, EveryFailedCallAroundTheIndexChangingLevelsIsReportedAndLosesNothing) {
  const Session session{"index levels", {{kModel, NearlyTwoLevelModel()}}, CrossTheIndexLevels};
  FaultRun clean(session, 0);
  clean.Execute();
  ExpectCleanRun(clean);
  EXPECT_EQ(clean.Expected().Compare(*clean.Bytes(kModel)), "");
  EXPECT_TRUE(ShowsText(clean, "Переход на двухуровневый индекс таблицы №6"));
  EXPECT_TRUE(ShowsText(clean, "Удаление страницы вторичного индекса таблицы №6"));
  EXPECT_TRUE(ShowsText(clean, "Переход с двухуровневого на одноуровневый индекс таблицы №6"));
  ExpectNoFailures(Sweep(session));
}

// After No at the save question the file is the one opened, or the user was
// told it could not be put back and the backup still is.
Verdict DiscardedChanges(const FaultRun& run) {
  const std::vector<std::uint8_t>& original = run.StartFiles().at(kModel);
  const std::vector<std::uint8_t>* bytes = run.Bytes(kModel);
  if (bytes != nullptr && *bytes == original) return {};
  const bool told =
      std::any_of(run.Ui().Shown().begin(), run.Ui().Shown().end(), [](const LenientUi::Window& w) {
        return w.text.rfind("Не удалось вернуть файл к копии", 0) == 0;
      });
  const std::vector<std::uint8_t>* backup = run.Bytes(BackupOf(kModel));
  if (told) {
    if (backup != nullptr && *backup == original) return {};
    return {"the backup is not the original"};
  }
  if (run.Ui().SaveQuestions() == 0) return {"the changes stayed without the save question"};
  return {"the changes stayed after No"};
}

TEST_F(EngineFaults, EveryFailedCallBeforeClosingWithNoStillBringsTheOriginalBack) {
  const Session before = CreateEditAndPackSession();
  FaultRun first(before, 0);
  first.Execute();
  ASSERT_NE(first.Bytes(kPacked), nullptr);
  Session session{"discard at close", {{kModel, *first.Bytes(kPacked)}}, EditAndDiscard, kAnswerNo};
  FaultRun clean(session, 0);
  clean.Execute();
  ExpectCleanRun(clean);
  EXPECT_EQ(clean.Ui().SaveQuestions(), 1);
  EXPECT_EQ(DiscardedChanges(clean).failure, "");
  ExpectNoFailures(Sweep(session, DiscardedChanges));
}

// --- Single failures, case by case -------------------------------------------------------

// A model file on a file system that fails the one call a case names.
class OneFailedCall : public ::testing::Test {
 protected:
  void SetUp() override {
    file.SetFileName(kModel);
    ASSERT_TRUE(file.CreateFile());
  }

  tbClass& OpenTable(int dataLength) {
    EXPECT_TRUE(file.OpenFile());
    tbClass* table = file.OpenTable(kSmall, dataLength);
    EXPECT_NE(table, nullptr);
    return *table;
  }

  // Keys first ... last, each record carrying the pattern of its key.
  static void InsertAscending(tbClass& table, std::int32_t first, std::int32_t last) {
    for (std::int32_t k = first; k <= last; ++k) {
      table.Insert(k);
      ASSERT_EQ(table.Status(), kStatusOk) << "insert " << k;
      FillPattern(table.Record(), static_cast<std::uint64_t>(k));
      table.MarkModifiedAndFlush();
    }
  }

  void CloseKeepingChanges() {
    file.SetAskToSave(false);
    EXPECT_TRUE(file.CloseFile());
  }

  std::vector<std::string> Problems() const {
    MemoryFile image(*memory.Find(kModel));
    std::vector<std::string> texts;
    for (const DbProblem& problem : DbReader(image, db::FileKind::Model).Check()) {
      texts.push_back(problem.text);
    }
    return texts;
  }

  std::vector<DbRecord> Records() const {
    MemoryFile image(*memory.Find(kModel));
    return DbReader(image, db::FileKind::Model).ReadTable(kSmall).records;
  }

  testing::ScriptedUiHost ui;
  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  dbfClass file{ui, faulty, std::string(db::kModelExtension), std::string(db::kModelSignature)};
};

// A changed data page whose write fails as the table moves to another page
// was dropped, the move reported success and the change never reached the
// file.
TEST_F(OneFailedCall, APageWhoseWriteFailsAsTheTableMovesOnIsReportedAndWrittenLater) {
  tbClass& table = OpenTable(kSmallLength);
  InsertAscending(table, 1, 60);  // 53 records a page: two pages
  table.GoTo(1);
  FillPattern(table.Record(), 777);
  table.MarkModified();

  faulty.FailNext(FileCall::WriteAt);
  table.GoTo(60);
  EXPECT_LT(table.Status(), 0);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{kModel + ": Ошибка Save Таблицы 5"});

  CloseKeepingChanges();
  EXPECT_EQ(Problems(), std::vector<std::string>{});
  const std::vector<DbRecord> records = Records();
  ASSERT_EQ(records.size(), 60u);
  EXPECT_TRUE(HasPattern(records[0].data, 777));
}

// A page appended at the end of a two-level index is written at the next
// flush; when that write fails as the table moves to the other second-level
// page, the new page and its index entry were dropped and the record lost.
TEST_F(OneFailedCall, AnAppendedPageWhoseWriteFailsAsTheTableMovesOnIsReportedAndWrittenLater) {
  tbClass& table = OpenTable(1000);  // two records a page
  InsertAscending(table, 1, 600);
  ASSERT_TRUE(table.TwoLevel());
  table.Insert(601);  // the last page is full: a new page, not yet written
  ASSERT_EQ(table.Status(), kStatusOk);
  FillPattern(table.Record(), 601);
  table.MarkModified();

  faulty.FailNext(FileCall::WriteAt);
  table.GoTo(1);
  EXPECT_LT(table.Status(), 0);

  CloseKeepingChanges();
  EXPECT_EQ(Problems(), std::vector<std::string>{});
  const std::vector<DbRecord> records = Records();
  ASSERT_EQ(records.size(), 601u);
  EXPECT_EQ(records.back().key, 601);
  EXPECT_TRUE(HasPattern(records.back().data, 601));
}

// LastKey answered 0, the key of an empty table, when the last page could not
// be read, and said nothing: a caller numbering new records from it would
// reuse keys.
TEST_F(OneFailedCall, LastKeyReportsALastPageItCannotRead) {
  tbClass& table = OpenTable(kSmallLength);
  InsertAscending(table, 1, 60);
  table.GoTo(1);

  faulty.FailNext(FileCall::ReadAt);
  const std::int32_t last = table.LastKey();
  if (last != 60) {
    EXPECT_LT(table.Status(), 0);
    EXPECT_EQ(ui.Messages().size(), 1u);
  }
  CloseKeepingChanges();
}

// When the read of the remaining second-level page fails while the index
// folds back to one level, the index stays two-level with one root entry, but
// the last entry of that page kept its own key instead of 2147483647: the
// file check finds it unsound.
TEST_F(OneFailedCall, AFailedReadWhileFoldingTheIndexBackLeavesASoundFile) {
  tbClass& table = OpenTable(1000);
  InsertAscending(table, 1, 511);  // 255 full pages and one more: two levels
  ASSERT_TRUE(table.TwoLevel());
  // The first second-level page holds 127 pages of two records; the second
  // goes down to its last record.
  while (table.Count() > 255) {
    table.GoTo(table.Count());
    table.Delete();
    ASSERT_EQ(table.Status(), kStatusOk);
  }
  table.GoTo(table.Count());
  faulty.FailNext(FileCall::ReadAt);
  table.Delete();
  EXPECT_EQ(ui.Messages().back(), kModel + ": Ошибка ключа2 в таблице № 5");

  CloseKeepingChanges();
  EXPECT_EQ(Problems(), std::vector<std::string>{});
  const std::vector<DbRecord> records = Records();
  ASSERT_EQ(records.size(), 254u);
  EXPECT_EQ(records.back().key, 254);
}

// OpenFile closes the file again when a table fails to open inside OnOpen and
// frees the tables OnOpen had opened, without running OnClose: the owner,
// which drops its table pointers in OnClose, keeps pointers to freed tables.
TEST_F(OneFailedCall, AFailedOpenRunsOnCloseForTheTablesOnOpenOpened) {
  tbClass* table = nullptr;
  file.OnOpen = [&](dbfClass& opened) {
    table = opened.OpenTable(kSmall, kSmallLength);
    opened.OpenTable(0, kSmallLength);  // "Таблицы № 0 нет"
  };
  file.OnClose = [&](dbfClass&) { table = nullptr; };
  EXPECT_FALSE(file.OpenFile());
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(table, nullptr);
}

// A new table whose first pages cannot be written fails to open, but its
// descriptor stays in the header image, which the file writes as it closes:
// the header names a root page that was never written.
TEST_F(OneFailedCall, ATableWhoseCreationFailsLeavesTheFileSound) {
  file.OnOpen = [](dbfClass& opened) { opened.OpenTable(kSmall, kSmallLength); };
  faulty.FailNext(FileCall::WriteAt);
  EXPECT_FALSE(file.OpenFile());
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{kModel + ": Ошибка Save Таблицы 5"});
  EXPECT_EQ(Problems(), std::vector<std::string>{});
}

// A raw block whose page cannot be written or read answers false and shows
// nothing: the user never learns why the settings were not kept.
TEST_F(OneFailedCall, ARawBlockThatCannotBeWrittenOrReadIsReported) {
  ASSERT_TRUE(file.OpenFile());
  const std::vector<std::uint8_t> block = testing::RecordPattern(5, kBlockLength);
  faulty.FailNext(FileCall::WriteAt);
  EXPECT_FALSE(file.WriteBlock(kBlock, block));
  EXPECT_EQ(ui.Messages().size(), 1u);
  ASSERT_TRUE(file.WriteBlock(kBlock, block));
  std::vector<std::uint8_t> read(kBlockLength);
  faulty.FailNext(FileCall::ReadAt);
  EXPECT_FALSE(file.ReadBlock(kBlock, read));
  EXPECT_EQ(ui.Messages().size(), 2u);
  CloseKeepingChanges();
}

// CloseFile asks the save question only when it finds the backup; a failed
// look at the backup skipped the question, and the changes stayed without a
// word although the backup was there to go back to.
TEST_F(OneFailedCall, AFailedLookAtTheBackupStillAsksTheSaveQuestion) {
  InsertAscending(OpenTable(kSmallLength), 1, 10);  // a backup larger than the header alone
  CloseKeepingChanges();
  const std::vector<std::uint8_t> original = *memory.Find(kModel);
  file.SetBackupOnOpen(true);
  InsertAscending(OpenTable(kSmallLength), 11, 20);
  ui.PressButton("Нет");
  faulty.FailNext(FileCall::FileSize);
  EXPECT_TRUE(file.CloseFile());
  EXPECT_EQ(*memory.Find(kModel), original);
}

}  // namespace
}  // namespace kordavelt
