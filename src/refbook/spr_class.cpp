#include "refbook/spr_class.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "base/number_format.h"
#include "refbook/automatic_code.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "storage/file_errors.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// True when the table stands on one of its records (not between, before or
// after them, and not after a search that missed).
bool Positioned(const tbClass& table) {
  const int status = table.Status();
  return (status == kStatusOk || status == kStatusReadOnly) && !table.Record().empty() &&
         table.RecordNumber() >= 1 && table.RecordNumber() <= table.Count();
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Num(double value) { return FormatNumber(value); }

}  // namespace

sprClass::sprClass(UiHost& ui, FileSystem& files)
    : dbfClass(ui, files, std::string(db::kReferenceBookExtension),
               std::string(db::kReferenceBookSignature)) {
  // The engine frees every table right after this hook, whatever closes the file.
  OnClose = [this](dbfClass&) {
    lastRequested_ = 0;
    if (OnBookClosed) OnBookClosed(*this);
  };
}

sprClass::~sprClass() = default;

// --- The file ----------------------------------------------------------------------

std::string sprClass::WhyReadOnly(const std::string& path) {
  const WriterStatus writer = ProbeWriter(Files(), path);
  if (writer.state == WriterState::Live) {
    const std::string who = DescribeWriter(writer.writer);
    return "Справочник открыт для записи другой программой" +
           (who.empty() ? "" : " (" + who + ")") + ".";
  }
  if (!Files().Exists(path)) return {};
  int error = Files().AccessError(path, OpenMode::ReadWrite);
  if (error == 0) error = Files().AccessError(WriterLockPath(path), OpenMode::Create);
  return error == 0 ? std::string() : "Справочник нельзя изменять: " + FileErrorText(error) + ".";
}

bool sprClass::OpenBook(const std::string& path) {
  if (IsOpen()) {
    CloseBook();
    if (IsOpen()) return false;
  }
  lastRequested_ = 0;
  SetFileName(path);
  // A name that asks for a file (empty, or with "*") goes to the open dialog.
  const bool named = !path.empty() && path.find('*') == std::string::npos;
  // A book that cannot be written here is read: the model still opens, and
  // edits of the book are refused. So it is with a book another program
  // holds for writing (the program started twice on one catalogue), whose
  // writes must not be torn, and with a catalogue installed read-only.
  const std::string why = named ? WhyReadOnly(path) : std::string();
  SetReadOnly(!why.empty());
  if (named && !Files().Exists(path) && !CreateFile()) return false;
  if (!OpenFile()) return false;
  if (ReadOnly()) {
    Ui().ShowInfo(path, why + "#Он открыт только для чтения: его изменения не сохраняются.");
  }
  if (OnBookOpened) OnBookOpened(*this);
  return true;
}

void sprClass::CloseBook() {
  if (!IsOpen()) return;
  // Every change is already written through: no question, only saving.
  SetAskToSave(false);
  CloseFile();
}

bool sprClass::SaveAs() {
  if (!IsOpen()) return false;
  const std::string previous = FileName();
  // PackFile closes the book and opens it again from the packed copy.
  if (!PackFile()) {
    if (!IsOpen()) OpenBook(previous);
    return false;
  }
  const std::string packed = FileName();
  CloseBook();
  if (OpenBook(packed)) return true;
  OpenBook(previous);
  return false;
}

// --- Tables ------------------------------------------------------------------------

tbClass* sprClass::OpenBookTable(int table) {
  if (!IsBookTable(table)) return nullptr;
  lastRequested_ = table;
  return OpenWithCompanions(table);
}

tbClass* sprClass::OpenWithCompanions(int table) {
  if (!IsOpen()) return nullptr;
  if (tbClass* open = Table(table)) return open;
  tbClass* opened = OpenTable(table, BookRecordLength(table));
  if (opened == nullptr) return nullptr;
  for (int companion : Companions(table)) OpenWithCompanions(companion);
  return opened;
}

tbClass* sprClass::BookTable(int table) const {
  return IsBookTable(table) ? Table(table) : nullptr;
}

Bytes sprClass::CurrentRecord(int table) const {
  tbClass* open = BookTable(table);
  return open != nullptr ? open->Record() : Bytes{};
}

bool sprClass::FindType(int table, std::int32_t code) {
  tbClass* open = OpenBookTable(table);
  if (open == nullptr) return false;
  open->Seek(code);
  return open->Status() == kStatusOk && open->Key() == code && !open->Record().empty();
}

// --- Designations ------------------------------------------------------------------

std::string sprClass::TypeDesignation(int kind) {
  tbClass* open = BookTable(kind);
  if (open == nullptr || !Positioned(*open)) return {};
  const Bytes record = open->Record();
  const std::string name = Trimmed(BookRecordName(kind, record));
  switch (kind) {
    case book::kCableTable: {
      const book::CableRec cable(record);
      const double count = cable.CondCount();
      const double phase = cable.CrossCectF();
      const double neutral = cable.CrossCectN();
      const int remembered = lastRequested_;
      const bool found = FindType(book::kCableBrandTable, cable.Type());
      lastRequested_ = remembered;
      if (!found) return {};
      const std::string brand =
          Trimmed(book::CableBrandRec(CurrentRecord(book::kCableBrandTable)).Type());
      if (neutral > 0) {
        return brand + "-" + Num(count - 1) + "*" + Num(phase) + "+1*" + Num(neutral);
      }
      return brand + "-" + Num(count) + "*" + Num(phase);
    }
    case book::kInsulatedWireTable: {
      const book::InsulatedWireRec wire(record);
      if (wire.CondCount() < 2) return name + "-" + Num(wire.CrossCectF());
      return name + "-" + Num(wire.CondCount()) + "*" + Num(wire.CrossCectF());
    }
    case book::kBareWireTable:
      return name + "-" + Num(book::BareWireRec(record).CrossCectF());
    case book::kTrunkingTable:
      return name + "-" + Num(book::TrunkingRec(record).Inom());
    case book::kFuseTable:
      return name + "-" + Num(book::FuseRec(record).Inom());
    case book::kTransformerTable: {
      const book::TransformerRec transformer(record);
      return name + "-" + Num(transformer.Snom()) + "/" + Num(transformer.Uv());
    }
    case book::kCurrentTransformerTable: {
      const book::CurrentTransformerRec transformer(record);
      return name + "-" + Num(transformer.Inom()) + "/" + Num(transformer.Inom2());
    }
    case book::kBreakerTable:
    case book::kRelayTable:
    case book::kTripUnitTable:
      return name;
    default:
      return {};
  }
}

// --- Codes -------------------------------------------------------------------------

std::int32_t sprClass::AssignAutomaticCode(int table) {
  tbClass* open = BookTable(table);
  if (open == nullptr || !Positioned(*open)) return 0;
  const int width = CodeSearchWidth(table);
  if (width == 0) return open->Key();
  std::int32_t start = 0;
  if (table == book::kCableBrandTable) start = open->RecordNumber();
  if (table == book::kCableTable) start = book::CableRec(open->Record()).Type();
  return GiveFreeCode(table, ComposedCode(table, open->Record(), start), width);
}

std::int32_t sprClass::GiveFreeCode(int table, std::int32_t start, int width) {
  tbClass* open = BookTable(table);
  if (open == nullptr || !Positioned(*open)) return 0;
  const std::int32_t number = open->RecordNumber();
  const std::int32_t previous = open->Key();
  const long steps = (1L << std::clamp(width + 1, 0, 31)) - 1;

  std::int32_t code = std::max<std::int32_t>(start, 1);
  bool free = false;
  for (long step = 0;; ++step) {
    open->Seek(code);
    const int status = open->Status();
    if (status == kStatusGreater || status == kStatusBeyond || status == kStatusEmptyPage ||
        (status == kStatusOk && open->RecordNumber() == number)) {
      free = true;
      break;
    }
    // A failed read leaves the record as it is.
    if (status != kStatusOk) break;
    if (step >= steps || code == std::numeric_limits<std::int32_t>::max()) break;
    ++code;
  }

  open->GoTo(number);
  if (open->Status() != kStatusOk) return previous;
  if (!free || code == open->Key()) return open->Key();
  open->ChangeKey(code);
  return open->Key();
}

// --- Empirical resistances ------------------------------------------------------------

double sprClass::TerminalResistance(std::uint8_t flags, double section) {
  if (!(section > 0)) return 0;
  return (flags & 0x80) != 0 ? 0.4446 * std::pow(section, -0.5981) : 0.2 * std::pow(section, -0.6);
}

double sprClass::BusbarJointResistance() {
  tbClass* open = BookTable(book::kTrunkingTable);
  if (open == nullptr || !Positioned(*open)) return 0;
  const double inom = book::TrunkingRec(open->Record()).Inom();
  if (!(inom > 0)) return 0;
  return 0.3711 * std::pow(inom, -0.6781);
}

double sprClass::ContactResistance(double current) {
  if (!(current > 0)) return 0;
  return 68.251 * std::pow(current, -0.9959);
}

}  // namespace kordavelt
