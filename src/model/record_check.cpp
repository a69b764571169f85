#include "model/record_check.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {
namespace {

std::string FieldName(const FieldDef& field) { return "поле «" + std::string(field.name) + "»"; }

std::optional<std::string> FloatFault(ConstBytes record, const FieldDef& field) {
  const float value = ReadF32(record, static_cast<std::size_t>(field.offset));
  if (std::isnan(value)) return FieldName(field) + ": не число";
  if (std::isinf(value)) return FieldName(field) + ": бесконечность";
  return std::nullopt;
}

std::optional<std::string> StringFault(ConstBytes record, const FieldDef& field) {
  const int length = ReadU8(record, static_cast<std::size_t>(field.offset));
  if (length <= field.size) return std::nullopt;
  return FieldName(field) + ": длина строки " + std::to_string(length) + " больше " +
         std::to_string(field.size);
}

}  // namespace

std::vector<std::string> FieldFaults(const RecordLayout& layout, ConstBytes record) {
  std::vector<std::string> faults;
  for (const FieldDef& field : layout.fields) {
    std::optional<std::string> fault;
    if (field.type == FieldType::F32) fault = FloatFault(record, field);
    if (field.type == FieldType::String) fault = StringFault(record, field);
    if (fault) faults.push_back(std::move(*fault));
  }
  return faults;
}

const FieldDef* FindField(const RecordLayout& layout, std::string_view name) {
  const auto found = std::ranges::find(layout.fields, name, &FieldDef::name);
  return found == layout.fields.end() ? nullptr : &*found;
}

std::optional<std::int64_t> FieldInteger(ConstBytes record, const FieldDef& field) {
  const std::size_t at = static_cast<std::size_t>(field.offset);
  switch (field.type) {
    case FieldType::U8:
      return ReadU8(record, at);
    case FieldType::I8:
      return static_cast<std::int8_t>(ReadU8(record, at));
    case FieldType::U16:
      return ReadU16(record, at);
    case FieldType::I16:
      return ReadI16(record, at);
    case FieldType::I32:
      return ReadI32(record, at);
    default:
      return std::nullopt;
  }
}

}  // namespace kordavelt
