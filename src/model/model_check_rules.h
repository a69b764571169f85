#pragma once

// The rules of the model check (model_check.h) as data: what the keys of
// each model table are, and which fields must hold a value of a kind the
// program itself writes there. They follow what the program's operations
// can write, not only what the model is meant to hold: node numbers run to
// the largest whose branch keys fit 32 bits, since the engineer may raise the
// settings' bound past 65535; an object record may outlive its branch; a
// copied source or receiver object names no source or receiver (0).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kordavelt {

struct KeyRule {
  bool (*fits)(std::int64_t key);
  std::string_view text;  // what the key must be, to follow "ключ N: "
};

struct TableRule {
  int table = 0;
  const KeyRule* key = nullptr;
  // A field that makes the key unique together with it; empty: the key alone is unique.
  std::string_view uniqueWith;
};

// The rule of a model table; object tables without one of their own are
// keyed by branch keys of slots 1 … 255. Nothing for other table numbers.
std::optional<TableRule> TableRuleOf(int table);

// The fault of a field's value in the record keyed `key`, or nothing.
using FieldFault = std::optional<std::string> (*)(std::int64_t value, std::int32_t key);

struct FieldRule {
  int table = 0;
  std::string_view field;  // its name in the table's layout (record_layout.h)
  FieldFault fault;
};

// Every field rule, of every table.
std::span<const FieldRule> FieldRules();

}  // namespace kordavelt
