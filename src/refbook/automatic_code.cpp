#include "refbook/automatic_code.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/cp1251.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/standard_series.h"

namespace kordavelt {
namespace {

// A code under assembly: fields are written into bit ranges, each value
// masked to its width, a range reaching past bit 31 cut there.
class CodeBuilder {
 public:
  explicit CodeBuilder(std::uint32_t start = 0) : code_(start) {}

  void Put(int low, int high, std::int64_t value) {
    high = std::min(high, 31);
    const int width = high - low + 1;
    const std::uint32_t mask = (width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u) << low;
    code_ = (code_ & ~mask) | ((static_cast<std::uint32_t>(value) << low) & mask);
  }

  // Never negative: bit 31 is no code's.
  std::int32_t Code() const { return static_cast<std::int32_t>(code_ & 0x7FFFFFFFu); }

 private:
  std::uint32_t code_;
};

// Character i (1-based) of the name at the start of a record, as its
// code-page-1251 byte; 0 past the name's length.
std::uint8_t NameChar(ConstBytes record, int i) {
  const int length = std::min<int>(ReadU8(record, 0), book::NamedRec::kNameCapacity);
  return i >= 1 && i <= length ? ReadU8(record, static_cast<std::size_t>(i)) : 0;
}

// 1-based position of byte c among the letters; 0 when absent.
int PositionIn(std::uint8_t c, std::u32string_view letters) {
  if (c == 0) return 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (CodePointToCp1251(letters[i]) == c) return static_cast<int>(i) + 1;
  }
  return 0;
}

// Nearest integer, ties to even; whatever the value, one that a field can
// take (NaN 0, clamped to 0 ... 2^30), the mask doing the rest.
std::int64_t Rounded(double value) {
  if (!(value > 0)) return 0;
  return static_cast<std::int64_t>(std::nearbyint(std::min(value, 1073741824.0)));
}

// Bits 27-31 voltage, 12-17 power and 7-11 speed: the fields machines share.
void PutMachine(CodeBuilder& code, const book::MachineRec& machine) {
  code.Put(27, 31, VoltageIndex(machine.Unom()));
  const double pnom = machine.Pnom();
  if (pnom >= 1) code.Put(12, 17, Rounded(4.48 * std::log(pnom)));
  const double speed = machine.Speed();
  if (speed > 0) code.Put(7, 11, Rounded(3000.0 / speed));
}

// Synchronous (41) and asynchronous (42) machines: a name that begins with
// the table's own letter sorts by its second character, any other name by
// its first, after every name of the first kind.
void PutMotorName(CodeBuilder& code, ConstBytes record, bool ownLetter) {
  if (ownLetter) {
    code.Put(26, 26, 0);
    code.Put(18, 25, NameChar(record, 2));
  } else {
    code.Put(26, 26, 1);
    code.Put(18, 25, NameChar(record, 1));
  }
}

void PutTwoChars(CodeBuilder& code, ConstBytes record) {
  code.Put(23, 30, NameChar(record, 1));
  code.Put(15, 22, NameChar(record, 2));
}

}  // namespace

int CodeSearchWidth(int table) {
  switch (table) {
    case book::kBreakerTable:
      return 6;
    case book::kTemplateTable:
    case book::kRelayTable:
    case book::kBreakerSeriesTable:
      return 0;
    default:
      return IsBookTable(table) ? 8 : 0;
  }
}

std::int32_t ComposedCode(int table, ConstBytes record, std::int32_t startValue) {
  if (CodeSearchWidth(table) == 0) return 0;
  // A copy of the record's full length: a short span reads as zeros.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(BookRecordLength(table)), 0);
  std::copy_n(record.begin(), std::min(record.size(), bytes.size()), bytes.begin());
  const Bytes data(bytes);
  const ConstBytes chars(bytes);

  CodeBuilder code;
  switch (table) {
    case book::kCableBrandTable: {
      code = CodeBuilder(static_cast<std::uint32_t>(startValue));
      code.Put(16, 23, book::CableBrandRec(data).Flags());
      break;
    }
    case book::kCableTable: {
      const book::CableRec cable(data);
      code = CodeBuilder(static_cast<std::uint32_t>(startValue));
      code.Put(24, 28, VoltageIndex(cable.Unom()));
      code.Put(13, 15, cable.CondCount());
      code.Put(8, 12, SectionIndex(cable.CrossCectF()));
      break;
    }
    case book::kInsulatedWireTable: {
      const book::InsulatedWireRec wire(data);
      code.Put(23, 30, wire.Flags());
      code.Put(16, 22, SectionIndex(wire.CrossCectF()));
      code.Put(8, 15, wire.CondCount());
      break;
    }
    case book::kBareWireTable: {
      const book::BareWireRec wire(data);
      code.Put(23, 30, wire.Flags());
      code.Put(16, 22, SectionIndex(wire.CrossCectF()));
      break;
    }
    case book::kTrunkingTable: {
      const book::TrunkingRec trunking(data);
      code.Put(27, 31, VoltageIndex(trunking.Unom()));
      code.Put(19, 25, CurrentIndex(trunking.Inom()));
      break;
    }
    case book::kBreakerTable: {
      const book::BreakerRec breaker(data);
      code.Put(23, 30, breaker.Seria());
      code.Put(18, 22, VoltageIndex(breaker.Unom()));
      code.Put(12, 17, CurrentIndex(breaker.Inom()));
      code.Put(6, 11, CurrentIndex(static_cast<double>(breaker.Iswitch()) * 1000));
      break;
    }
    case book::kFuseTable:
      PutTwoChars(code, chars);
      code.Put(8, 14, CurrentIndex(book::FuseRec(data).Inom()));
      break;
    case book::kSwitchTable:
      PutTwoChars(code, chars);
      code.Put(8, 14, CurrentIndex(book::SwitchRec(data).Inom()));
      break;
    case book::kStarterTable:
      PutTwoChars(code, chars);
      code.Put(8, 14, CurrentIndex(book::StarterRec(data).Inom()));
      break;
    case book::kReactorTable:
      PutTwoChars(code, chars);
      code.Put(8, 14, CurrentIndex(book::ReactorRec(data).Inom()));
      break;
    case book::kStabiliserTable:
      PutTwoChars(code, chars);
      code.Put(8, 14, PowerIndex(book::StabiliserRec(data).Snom()));
      break;
    case book::kCapacitorBankTable: {
      const book::CapacitorBankRec bank(data);
      PutTwoChars(code, chars);
      code.Put(11, 14, VoltageIndex(bank.Unom()));
      code.Put(5, 10, CurrentIndex(0.31416 * bank.Cnom() * bank.Unom() * 0.001));
      break;
    }
    case book::kTransformerTable: {
      const book::TransformerRec transformer(data);
      code.Put(26, 30, VoltageIndex(static_cast<double>(transformer.Uv()) * 1000));
      code.Put(20, 25, PowerIndex(transformer.Snom()));
      code.Put(16, 19, VoltageIndex(static_cast<double>(transformer.Un()) * 1000));
      code.Put(14, 15, PositionIn(NameChar(chars, 1), U"ТО"));
      code.Put(10, 13, PositionIn(NameChar(chars, 2), U"СНМ"));
      break;
    }
    case book::kCurrentTransformerTable: {
      const book::CurrentTransformerRec transformer(data);
      code.Put(27, 30, VoltageIndex(transformer.Unom()));
      code.Put(19, 26, NameChar(chars, 2));
      code.Put(11, 18, NameChar(chars, 3));
      code.Put(4, 10, CurrentIndex(transformer.Inom()));
      break;
    }
    case book::kSynchronousMachineTable: {
      PutMachine(code, book::MachineRec(data));
      PutMotorName(code, chars, NameChar(chars, 1) == CodePointToCp1251(U'С'));
      break;
    }
    case book::kAsyncMotorTable: {
      const std::uint8_t first = NameChar(chars, 1);
      PutMachine(code, book::MachineRec(data));
      PutMotorName(code, chars, first == CodePointToCp1251(U'А') || first == 'A');
      break;
    }
    case book::kGeneratorTable:
      PutMachine(code, book::MachineRec(data));
      break;
    case book::kTripUnitTable: {
      const book::TripUnitRec unit(data);
      const std::vector<float> inom = unit.Inom();
      // The last non-zero rated current; the first when only it is given.
      float last = inom[0];
      for (std::size_t i = inom.size() - 1; i >= 1; --i) {
        if (inom[i] != 0) {
          last = inom[i];
          break;
        }
      }
      code.Put(23, 30, unit.Seria());
      code.Put(17, 22, CurrentIndex(last));
      code.Put(11, 16, CurrentIndex(inom[0]));
      break;
    }
    case book::kMechanismTable:
      PutTwoChars(code, chars);
      code.Put(7, 14, NameChar(chars, 3));
      break;
    default:
      return 0;
  }
  return code.Code();
}

}  // namespace kordavelt
