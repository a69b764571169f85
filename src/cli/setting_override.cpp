#include "cli/setting_override.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/cp1251.h"
#include "storage/counted_string.h"

namespace kordavelt {
namespace {

template <class T>
std::optional<T> Parsed(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

const FieldDef* FieldAt(int offset) {
  for (const FieldDef& field : ModelSettingsLayout().fields) {
    if (field.offset == offset) return &field;
  }
  return nullptr;
}

bool Settable(const FieldDef& field) {
  return field.type != FieldType::Raw && field.offset != settings_offset::kReferenceBookName &&
         field.offset != settings_offset::kMarker;
}

template <class T>
bool InRangeOf(std::int64_t value) {
  return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

bool IntegerFits(FieldType type, std::int64_t value) {
  switch (type) {
    case FieldType::U8:
      return InRangeOf<std::uint8_t>(value);
    case FieldType::I8:
      return InRangeOf<std::int8_t>(value);
    case FieldType::U16:
      return InRangeOf<std::uint16_t>(value);
    case FieldType::I16:
      return InRangeOf<std::int16_t>(value);
    default:
      return InRangeOf<std::int32_t>(value);
  }
}

// The value typed as `field`; nullopt when the text does not fit the field.
std::optional<std::variant<std::int64_t, float, std::string>> ValueFor(const FieldDef& field,
                                                                       std::string_view text) {
  if (field.type == FieldType::String) {
    if (Utf8Length(text) > static_cast<std::size_t>(field.size)) return std::nullopt;
    return std::string(text);
  }
  if (field.type == FieldType::F32) {
    const std::optional<float> value = Parsed<float>(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return *value;
  }
  const std::optional<std::int64_t> value = Parsed<std::int64_t>(text);
  if (!value || !IntegerFits(field.type, *value)) return std::nullopt;
  return *value;
}

std::string TypeName(const FieldDef& field) {
  switch (field.type) {
    case FieldType::U8:
      return "целое 0 … 255";
    case FieldType::I8:
      return "целое -128 … 127";
    case FieldType::U16:
      return "целое 0 … 65535";
    case FieldType::I16:
      return "целое -32768 … 32767";
    case FieldType::I32:
      return "целое";
    case FieldType::F32:
      return "число";
    default:
      return "текст до " + std::to_string(field.size) + " знаков";
  }
}

}  // namespace

std::optional<SettingOverride> ParseSettingOverride(std::string_view text, std::string& error) {
  const std::size_t equals = text.find('=');
  const std::optional<int> offset =
      equals == std::string_view::npos ? std::nullopt : Parsed<int>(text.substr(0, equals));
  if (!offset) {
    error = "ключ --set ждёт СМЕЩЕНИЕ=ЗНАЧЕНИЕ, а не «" + std::string(text) + "»";
    return std::nullopt;
  }
  const FieldDef* field = FieldAt(*offset);
  if (field == nullptr) {
    error = "в блоке настроек нет поля со смещением " + std::to_string(*offset);
    return std::nullopt;
  }
  const std::string name(field->name);
  if (!Settable(*field)) {
    error = "поле " + std::to_string(*offset) + " (" + name + ") не задаётся ключом --set";
    return std::nullopt;
  }
  const std::string_view valueText = text.substr(equals + 1);
  auto value = ValueFor(*field, valueText);
  if (!value) {
    error = "значение «" + std::string(valueText) + "» не подходит полю " +
            std::to_string(*offset) + " (" + name + "): нужно " + TypeName(*field);
    return std::nullopt;
  }
  return SettingOverride{*field, std::move(*value)};
}

void ApplySettingOverride(const SettingOverride& setting, ModelSettings& settings) {
  const FieldDef& field = setting.field;
  const auto offset = static_cast<std::size_t>(field.offset);
  Bytes block = settings.Block();
  switch (field.type) {
    case FieldType::String:
      WriteCountedString(block, offset, static_cast<std::size_t>(field.size),
                         std::get<std::string>(setting.value));
      break;
    case FieldType::F32:
      WriteF32(block, offset, std::get<float>(setting.value));
      break;
    case FieldType::U8:
    case FieldType::I8:
      WriteU8(block, offset, static_cast<std::uint8_t>(std::get<std::int64_t>(setting.value)));
      break;
    case FieldType::U16:
    case FieldType::I16:
      WriteU16(block, offset, static_cast<std::uint16_t>(std::get<std::int64_t>(setting.value)));
      break;
    case FieldType::I32:
      WriteI32(block, offset, static_cast<std::int32_t>(std::get<std::int64_t>(setting.value)));
      break;
    case FieldType::Raw:
      break;
  }
}

}  // namespace kordavelt
