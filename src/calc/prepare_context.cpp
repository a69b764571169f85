#include "calc/prepare_context.h"

#include <bit>
#include <cmath>
#include <utility>

#include "base/constants.h"
#include "model/model_kinds.h"
#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt {

PrepareContext::PrepareContext(modelClass& model) : model_(model) {}

tbClass* PrepareContext::ObjectTable(int kind) {
  const bool slotted = kind >= 0 && kind < kKindSlots;
  if (slotted && objectTableKnown_[kind]) return objectTables_[kind];
  tbClass* table = ObjectTableOfKind(kind) == 0 ? nullptr : model_.OpenObjectTable(kind);
  // A table that could not be opened is asked for again next time.
  if (slotted && table != nullptr) {
    objectTables_[kind] = table;
    objectTableKnown_[kind] = true;
  }
  return table;
}

bool StandOn(tbClass* table, std::int32_t key) {
  if (table == nullptr) return false;
  if (table->Status() == kStatusOk && table->Key() == key && !table->Record().empty()) return true;
  return modelClass::SeekExact(table, key);
}

Bytes PrepareContext::Object(int kind, std::int32_t key) {
  // The preparation and the checks ask for one element's object more than
  // once; object keys are unique.
  tbClass* table = ObjectTable(kind);
  if (!StandOn(table, key)) return {};
  return table->Record();
}

void PrepareContext::SaveObject(int kind) {
  if (tbClass* table = ObjectTable(kind)) table->MarkModifiedAndFlush();
}

std::vector<std::uint8_t> PrepareContext::BookType(int table, std::int32_t code) {
  sprClass* book = model_.Book();
  if (book == nullptr || code == 0 || !book->FindType(table, code)) return {};
  const Bytes record = book->CurrentRecord(table);
  return {record.begin(), record.end()};
}

Bytes PrepareContext::CachedBookType(int table, std::int32_t code) {
  if (model_.Book() == nullptr || code == 0) return {};
  const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(table)) << 32) |
                            static_cast<std::uint32_t>(code);
  auto found = bookTypes_.find(key);
  if (found == bookTypes_.end()) found = bookTypes_.emplace(key, BookType(table, code)).first;
  return found->second;
}

const std::optional<vth_class>* PrepareContext::KeptCharacteristic(
    const CharacteristicKey& key) const {
  const auto found = characteristics_.find(key);
  return found == characteristics_.end() ? nullptr : &found->second;
}

const std::optional<vth_class>& PrepareContext::KeepCharacteristic(
    const CharacteristicKey& key, std::optional<vth_class> characteristic) {
  return characteristics_.insert_or_assign(key, std::move(characteristic)).first->second;
}

std::uint32_t FloatBits(float value) { return std::bit_cast<std::uint32_t>(value); }

long double RmsCurrent(const ElementRec& e) {
  return std::sqrt((Abs2(e.ia) + Abs2(e.ib) + Abs2(e.ic)) / 3);
}

void ClearElementParameters(ElementRec& e) {
  e.kt = 1.0f;
  e.z1 = kComplexZero;
  e.z0 = kComplexZero;
  e.iPermissible = 0;
  e.classCode = kClassOrdinary;
  e.phaseShift = 0;
  e.nextElement = 0;
  e.tempWork = 0;
  e.tempConstant = 0;
  e.adiabaticConstant = 0;
  e.nonAdiabaticA = 0;
  e.nonAdiabaticB = 0;
  e.zThermal = kComplexZero;
  e.zIgnition = kComplexZero;
}

long double RoundToInteger(long double x) { return std::round(x); }

Complex Parallel(const Complex& z, const Complex& w) { return Divide(z * w, z + w); }

Complex UnitAt(long double degrees) {
  const long double rad = degrees * kPi / 180;
  return {static_cast<float>(std::cos(rad)), static_cast<float>(std::sin(rad))};
}

}  // namespace kordavelt
