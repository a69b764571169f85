#include "calc/prepare_context.h"

#include <cmath>

#include "calc/constants.h"
#include "model/model_kinds.h"
#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt {

PrepareContext::PrepareContext(modelClass& model) : model_(model) {}

tbClass* PrepareContext::ObjectTable(int kind) {
  if (ObjectTableOfKind(kind) == 0) return nullptr;
  return model_.OpenObjectTable(kind);
}

Bytes PrepareContext::Object(int kind, std::int32_t key) {
  tbClass* table = ObjectTable(kind);
  if (table == nullptr || !modelClass::SeekExact(table, key)) return {};
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
