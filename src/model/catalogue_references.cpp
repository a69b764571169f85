#include "model/catalogue_references.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/model_layouts.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/record_check.h"

namespace kordavelt {
namespace {

// The names the record layouts give the fields that hold a catalogue type
// code: an object's type (a cable's second type, a line's neutral wire, a
// breaker's trip unit), a group's motor and its driven mechanism.
constexpr std::string_view kTypeCodeFields[] = {"Type",         "Type2",    "Type_N",
                                                "TripUnitType", "key_type", "key_mech"};

std::vector<const FieldDef*> TypeCodeFields(int table) {
  std::vector<const FieldDef*> fields;
  const RecordLayout* layout = ModelTableLayout(table);
  if (layout == nullptr) return fields;
  for (const std::string_view name : kTypeCodeFields) {
    const FieldDef* field = FindField(*layout, name);
    // An abstract branch's "Type" is a text of the engineer's, not a code.
    if (field != nullptr && field->type == FieldType::I32) fields.push_back(field);
  }
  return fields;
}

bool NamesType(ConstBytes record, const std::vector<const FieldDef*>& fields) {
  return std::ranges::any_of(fields, [record](const FieldDef* field) {
    return FieldInteger(record, *field).value_or(0) != 0;
  });
}

bool AnyGroupNamesType(modelClass& model) {
  tbClass* groups = model.Groups();
  const std::vector<const FieldDef*> fields = TypeCodeFields(kGroupTable);
  for (int n = 1; groups != nullptr && n <= groups->Count(); ++n) {
    groups->GoTo(n);
    if (groups->Status() != kStatusOk) break;
    if (NamesType(std::as_const(*groups).Record(), fields)) return true;
  }
  return false;
}

// The object of a branch, not an object record a deleted branch left behind.
bool ObjectNamesType(modelClass& model, std::int32_t key, int kind) {
  const int table = ObjectTableOfKind(kind);
  if (table == 0) return false;
  tbClass* objects = model.OpenObjectTable(kind);
  if (!modelClass::SeekExact(objects, key)) return false;
  return NamesType(std::as_const(*objects).Record(), TypeCodeFields(table));
}

}  // namespace

bool NamesCatalogueTypes(modelClass& model) {
  if (AnyGroupNamesType(model)) return true;
  tbClass* branches = model.Branches();
  for (int n = 1; branches != nullptr && n <= branches->Count(); ++n) {
    branches->GoTo(n);
    if (branches->Status() != kStatusOk) break;
    const int kind = BranchRec(branches->Record()).Kind();
    if (ObjectNamesType(model, branches->Key(), kind)) return true;
  }
  return false;
}

}  // namespace kordavelt
