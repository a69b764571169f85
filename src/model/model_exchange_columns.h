#pragma once

// What each cell of a model exchange row holds, section by section, as the
// export writes it and the import stores it: one declaration per section,
// position by position, so that the check of a file before its import
// (model_import_check.h) knows the field behind every cell without a rule of
// its own per column.

#include <cstdint>
#include <span>
#include <string_view>

namespace kordavelt {

enum class CellKind {
  Text,           // designations, names, type names: any text
  Integer,        // an integer field: a whole number within min … max
  Float,          // a float32 field: a finite number within ±3.4E+38
  Number,         // a value the import does not store: any finite number
  BranchKey,      // node and slot "12.3", or a key (≤ 0: found by designation)
  ReceiverKey,    // group and number "5.7", or a key (≤ 0: found by designation)
  Voltage,        // an item of the model's voltage list, or empty (kept)
  ListItem,       // an item of `list`, or empty (kept)
  ListOrDefault,  // an item of `list`; any other text takes the import's default
  YesNo,  // "Y", "Да", "T", "Истина" … or "N", "Нет", "F", "Ложь" …, or empty
  DrawingKind,  // a section name of the kind table, a kind code, or empty
};

struct ExchangeColumn {
  CellKind kind = CellKind::Text;
  std::int64_t min = 0;  // Integer
  std::int64_t max = 0;
  std::string_view list;    // ListItem, ListOrDefault
  bool mayBeEmpty = false;  // a trailing column a row may leave empty
};

struct SectionColumns {
  std::span<const ExchangeColumn> columns;  // by position in the row
  int keyColumn = -1;                       // the row's own key, compared for repeats; -1: none
  int pageColumn = -1;  // a node is drawn once per subscheme: the key with its page
};

// The columns of a section (a kind-table position, kSectionBuswayS or
// kSectionCTransf); none for kSectionUnknown. Positions beyond them are
// neither read by the import nor checked.
const SectionColumns& ColumnsOfSection(int section);

}  // namespace kordavelt
