#include "refbook/book_builder.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/dial_list.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/brand_flags.h"
#include "storage/counted_string.h"

namespace kordavelt::testing {
namespace {

// A new record of `table` under `code`, current afterwards; its data bytes,
// empty when it could not be added. Without a code the record goes last
// under a temporary key, as a row appended in the window, until it gets its
// automatic code.
Bytes NewRecord(sprClass& book, int table, std::int32_t code) {
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr) return {};
  if (code == 0) {
    const std::int32_t last = open->LastKey();
    code = last < std::numeric_limits<std::int32_t>::max() ? last + 1 : last;
  }
  open->Insert(code);
  return open->Status() == kStatusOk ? open->Record() : Bytes{};
}

// Writes the record through and gives it its code: `code`, or the automatic
// one. 0 when the record could not be added.
std::int32_t Finish(sprClass& book, int table, std::int32_t code) {
  tbClass* open = book.BookTable(table);
  if (open == nullptr || open->Status() != kStatusOk || open->Record().empty()) return 0;
  open->MarkModifiedAndFlush();
  if (code != 0) return open->Key();
  return book.AssignAutomaticCode(table);
}

}  // namespace

TestBook::TestBook(const std::string& path) { EXPECT_TRUE(book.OpenBook(path)) << path; }

std::int32_t AddType(sprClass& book, int table, std::string_view name, std::int32_t code) {
  const Bytes record = NewRecord(book, table, code);
  if (table == book::kTemplateTable) {
    book::CompositionTemplateRec(record).SetName(name);
  } else if (table == book::kBreakerSeriesTable) {
    book::BreakerSeriesRec(record).SetName(name);
  } else if (table == book::kMechanismTable) {
    book::MechanismRec(record).SetMechType(name);
  } else if (table != book::kCableTable) {
    book::NamedRec(record).SetType(name);
  }
  return Finish(book, table, code);
}

std::int32_t AddCableBrand(sprClass& book, std::string_view name, std::int32_t code) {
  book::CableBrandRec brand(NewRecord(book, book::kCableBrandTable, code));
  brand.SetType(name);
  brand.SetFlags(CableBrandFlags(name));
  return Finish(book, book::kCableBrandTable, code);
}

std::int32_t AddCable(sprClass& book, std::int32_t brand, float unom, int condCount, float crossF,
                      float crossN, std::int32_t code) {
  book::CableRec cable(NewRecord(book, book::kCableTable, code));
  cable.SetType(brand);
  cable.SetUnom(unom);
  cable.SetCondCount(static_cast<std::uint8_t>(condCount));
  cable.SetCrossCectF(crossF);
  cable.SetCrossCectN(crossN);
  return Finish(book, book::kCableTable, code);
}

std::int32_t AddInsulatedWire(sprClass& book, std::string_view name, int condCount, float crossF,
                              std::int32_t code) {
  book::InsulatedWireRec wire(NewRecord(book, book::kInsulatedWireTable, code));
  wire.SetType(name);
  wire.SetFlags(InsulatedWireFlags(name));
  wire.SetCondCount(static_cast<std::uint8_t>(condCount));
  wire.SetCrossCectF(crossF);
  return Finish(book, book::kInsulatedWireTable, code);
}

std::int32_t AddBareWire(sprClass& book, std::string_view name, float crossF, std::int32_t code) {
  book::BareWireRec wire(NewRecord(book, book::kBareWireTable, code));
  wire.SetType(name);
  wire.SetFlags(BareWireFlags(name));
  wire.SetCrossCectF(crossF);
  return Finish(book, book::kBareWireTable, code);
}

std::int32_t AddTrunking(sprClass& book, std::string_view name, float unom, float inom,
                         std::int32_t code) {
  book::TrunkingRec trunking(NewRecord(book, book::kTrunkingTable, code));
  trunking.SetType(name);
  trunking.SetUnom(unom);
  trunking.SetInom(inom);
  return Finish(book, book::kTrunkingTable, code);
}

std::int32_t AddFuse(sprClass& book, std::string_view name, float unom, float inom,
                     const std::vector<float>& settingI, std::int32_t code) {
  book::FuseRec fuse(NewRecord(book, book::kFuseTable, code));
  fuse.SetType(name);
  fuse.SetUnom(unom);
  fuse.SetInom(inom);
  fuse.SetSettingI(settingI);
  return Finish(book, book::kFuseTable, code);
}

std::int32_t AddBreakerSeries(sprClass& book, std::string_view name, std::int32_t code) {
  book::BreakerSeriesRec(NewRecord(book, book::kBreakerSeriesTable, code)).SetName(name);
  return Finish(book, book::kBreakerSeriesTable, code);
}

std::int32_t AddTripUnit(sprClass& book, std::string_view name, std::uint16_t seria,
                         const std::vector<float>& inom, std::int32_t code) {
  book::TripUnitRec unit(NewRecord(book, book::kTripUnitTable, code));
  unit.SetType(name);
  unit.SetSeria(seria);
  unit.SetInom(inom);
  return Finish(book, book::kTripUnitTable, code);
}

std::int32_t AddBreaker(sprClass& book, std::string_view name, std::uint16_t seria, float unom,
                        float inom, float iswitch, std::int32_t tripUnit, std::int32_t code) {
  book::BreakerRec breaker(NewRecord(book, book::kBreakerTable, code));
  breaker.SetType(name);
  breaker.SetSeria(seria);
  breaker.SetUnom(unom);
  breaker.SetInom(inom);
  breaker.SetIswitch(iswitch);
  breaker.SetTripUnit(tripUnit);
  return Finish(book, book::kBreakerTable, code);
}

std::int32_t AddTransformer(sprClass& book, std::string_view name, float snom, float uv, float un,
                            std::int32_t code) {
  book::TransformerRec transformer(NewRecord(book, book::kTransformerTable, code));
  transformer.SetType(name);
  transformer.SetSnom(snom);
  transformer.SetUv(uv);
  transformer.SetUn(un);
  return Finish(book, book::kTransformerTable, code);
}

std::int32_t AddCurrentTransformer(sprClass& book, std::string_view name, float unom, float inom,
                                   float inom2, std::int32_t code) {
  book::CurrentTransformerRec transformer(NewRecord(book, book::kCurrentTransformerTable, code));
  transformer.SetType(name);
  transformer.SetUnom(unom);
  transformer.SetInom(inom);
  transformer.SetInom2(inom2);
  return Finish(book, book::kCurrentTransformerTable, code);
}

std::int32_t AddAsyncMotor(sprClass& book, std::string_view name, float unom, float pnom,
                           float speed, std::int32_t code) {
  book::AsyncMotorRec motor(NewRecord(book, book::kAsyncMotorTable, code));
  motor.SetType(name);
  motor.SetUnom(unom);
  motor.SetPnom(pnom);
  motor.SetSpeed(speed);
  return Finish(book, book::kAsyncMotorTable, code);
}

// A value in every column, as varied as the fields allow: numbers that need
// all their digits, negative numbers, lists and ranges, every enumeration,
// characteristics of any bytes.
std::vector<std::uint8_t> AddFilledType(sprClass& book, int table, std::int32_t code,
                                        const BookReferences& refs) {
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr) return {};
  open->Insert(code);
  const Bytes record = open->Record();
  int c = 0;
  for (const BookColumn& column : BookColumns(table)) {
    ++c;
    switch (column.field) {
      case BookField::Number:
        WriteF32(record, column.offset, (c % 2 != 0 ? 1.0f : -1.0f) * (1.2345678f * c + 1e-4f));
        break;
      case BookField::Byte:
        WriteU8(record, column.offset, static_cast<std::uint8_t>(c + 3));
        break;
      case BookField::SignedByte:
        WriteU8(record, column.offset, static_cast<std::uint8_t>(-7));
        break;
      case BookField::Name:
        WriteCountedString(
            record, column.offset, column.size,
            table == book::kBareWireTable ? "АпС-2" : "Тип-" + std::to_string(table));
        DeriveBookFlags(table, record);
        break;
      case BookField::Choice: {
        const int value = c % ListCount(column.choices);
        const int mask = (1 << column.size) - 1;
        const int bits = ReadU8(record, column.offset) & ~(mask << column.shift);
        WriteU8(record, column.offset, static_cast<std::uint8_t>(bits | (value << column.shift)));
        break;
      }
      case BookField::Values: {
        const std::vector<float> values =
            c % 2 != 0 ? std::vector<float>{0.4f, 1.2345678f, 16.75f, 1000.5f}
                       : std::vector<float>{63.3f, 0, 125.125f};
        for (std::size_t k = 0; k < values.size(); ++k) {
          WriteF32(record, column.offset + 4 * static_cast<int>(k), values[k]);
        }
        break;
      }
      case BookField::Vth:
        for (int k = 0; k < 112; ++k) {
          WriteU8(record, column.offset + k, static_cast<std::uint8_t>(k * 37 + c));
        }
        break;
      case BookField::Check:
        WriteU8(record, column.offset, 1);
        break;
      case BookField::Slot:
        if (column.size < 5) {
          WriteU8(record, column.offset,
                  static_cast<std::uint8_t>(TemplateSlotKinds()[column.size * 4]));
        }
        break;
      case BookField::Brand:
        WriteI32(record, column.offset, refs.brand);
        break;
      case BookField::Series:
        WriteU16(record, column.offset, static_cast<std::uint16_t>(refs.series));
        break;
      case BookField::TripUnit:
        WriteI32(record, column.offset, refs.unit);
        break;
      case BookField::MotorKind:
        WriteU8(record, column.offset, 1);
        break;
      case BookField::MotorType:
        WriteI32(record, column.offset, refs.motor);
        break;
      case BookField::Qnom:
      case BookField::Code:
        break;
    }
  }
  open->MarkModifiedAndFlush();
  return {record.begin(), record.end()};
}

std::vector<std::uint8_t> TypeBytes(sprClass& book, int table, std::int32_t code) {
  if (!book.FindType(table, code)) return {};
  const Bytes record = book.CurrentRecord(table);
  return {record.begin(), record.end()};
}

}  // namespace kordavelt::testing
