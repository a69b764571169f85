#pragma once

// `--set OFFSET=VALUE`: one value of the model's settings block changed for
// one command-line run, addressed by its byte offset in the block and typed
// as the field at that offset is (an integer of the field's width, a float32,
// or a text of at most the field's length). Only offsets where a field of
// the block begins are accepted; the spans of no known meaning, the
// reference-book name (the book is open by then: use --book) and the block's
// marker are refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "model/model_settings.h"
#include "storage/record_layout.h"

namespace kordavelt {

struct SettingOverride {
  FieldDef field;
  std::variant<std::int64_t, float, std::string> value;
};

// The override `text` ("1329=1.1") asks for; nullopt with the reason in `error`.
std::optional<SettingOverride> ParseSettingOverride(std::string_view text, std::string& error);

void ApplySettingOverride(const SettingOverride& setting, ModelSettings& settings);

}  // namespace kordavelt
