#pragma once

// Bounds that every field of a record keeps whatever it means: a float is a
// number (a NaN or an infinity in a length, a power or a coefficient turns
// every result computed from it into nonsense), and the length byte of a
// counted string does not pass the string's capacity. They hold in the model
// and in the reference book alike, so a check walks a record by its layout
// instead of knowing its fields.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"
#include "storage/record_layout.h"

namespace kordavelt {

// What is wrong with the fields of one record, one text per field
// ("поле «L»: не число"); empty when every field keeps its bounds.
std::vector<std::string> FieldFaults(const RecordLayout& layout, ConstBytes record);

// The field of this name, or nullptr.
const FieldDef* FindField(const RecordLayout& layout, std::string_view name);

// The value of an integer field (U8 … I32); nothing for floats, strings and raw spans.
std::optional<std::int64_t> FieldInteger(ConstBytes record, const FieldDef& field);

}  // namespace kordavelt
