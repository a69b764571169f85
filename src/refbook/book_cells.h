#pragma once

// What the reference-book window shows of a book table: which record field
// each column holds, the text of each cell, and the rows in code order.
// The window owner, the choice dialogs and the row import all read the
// columns from here, so a row shown, exported and imported again gives the
// record back.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"

namespace kordavelt {

class sprClass;
class tbClass;

// How a column reads and writes its record field.
enum class BookField : std::uint8_t {
  Number,      // float32 at offset
  Byte,        // uint8 at offset, a whole number
  SignedByte,  // int8 at offset, a whole number
  Name,        // counted string of `size` characters at offset
  Choice,      // `size` bits from bit `shift` of the byte at offset, shown as an item of `choices`
  Values,      // value list of `size` float32 slots at offset
  Vth,         // 112-byte characteristic at offset, shown as 224 hexadecimal digits
  Check,       // byte at offset: non-zero shows a ticked box
  Slot,        // table 2: object-kind code of slot `size` (byte at offset)
  Brand,       // table 11: int32 code of the cable brand (table 93) at offset
  Series,      // uint16 code of the breaker series (table 94) at offset
  TripUnit,    // table 21: int32 code of the trip unit (table 91) at offset
  MotorKind,   // table 92: kind of the driving motor (byte at offset)
  MotorType,   // table 92: int32 code of the motor type (table 42 or 41) at offset
  Qnom,        // table 43: rated reactive power, computed from Unom and Cnom
  Code,        // the type's code (the record's key)
};

struct BookColumn {
  BookField field = BookField::Number;
  int offset = 0;
  int size = 0;   // Name: capacity; Values: slots; Choice: bits; Slot: slot number
  int shift = 0;  // Choice: lowest bit
  std::string_view choices = {};
  // Number: shown only when positive. Choice: shown only when the first
  // value of the list in the column before is positive.
  bool onlyWhenPositive = false;
};

// Columns 1 … n of a book table (column 0, the row number, is not listed);
// empty for a table the window does not show.
std::span<const BookColumn> BookColumns(int table);
// Column `column` (1-based) of a table, or nullptr.
const BookColumn* BookColumnAt(int table, int column);
// The column of the type's code, 0 for table 2 (no code column).
int BookCodeColumn(int table);

// --- Texts -------------------------------------------------------------------

// A number as the window shows it (the general number format) or, when
// `exact`, as export writes it: the shortest decimal text, without exponent,
// that reads back to the same float32.
std::string BookNumberText(double value, bool exact);
// A value list: values separated by ";", a range as first-third.
std::string BookValueListText(const std::vector<float>& slots, bool exact);
// A number as written by BookNumberText (either form); false when the text is none.
bool ParseBookFloat(std::string_view text, float& value);
// A value list as BookValueListText writes it or as typed (";", ",", "#", "_"
// separators; a text with "-" is a range), into `slotCount` slots.
std::vector<float> ParseBookValueList(std::string_view text, int slotCount);

// The name of a referenced type: the breaker series (94), the trip unit (91),
// the cable brand (93) and the motor (42 / 41). `found` tells whether the
// code exists in its table.
std::string ReferencedName(sprClass& book, int table, std::int32_t code, bool& found);

// The '#'-list of cells 1 … n of a record of `table` with code `code` (each
// item preceded by '#'). `exporting` gives the raw values: exact numbers,
// units and Imax also where the window leaves them out, and the number of an
// enumeration whose value has no text.
std::string BookRecordCells(sprClass& book, int table, ConstBytes record, std::int32_t code,
                            bool exporting);

// After a name is stored: the flags a cable brand (93) or a wire (12, 13)
// takes from its name. Other tables keep theirs.
void DeriveBookFlags(int table, Bytes record);

// The choices of an 'L' column, empty for other columns.
std::string_view BookColumnChoices(int table, int column);

// --- Rows ----------------------------------------------------------------------

// The codes of a table's records in code order: row r (1-based) shows the
// record with the r-th smallest code. It grows with the table, so a table of
// any size is shown whole.
class BookRowMap {
 public:
  // Reads every code of `table` (none for nullptr).
  void Rebuild(tbClass* table);
  void Clear() { codes_.clear(); }

  int Rows() const { return static_cast<int>(codes_.size()); }
  // The code of row `row`, 0 outside the rows.
  std::int32_t Code(int row) const;
  // The first row that holds `code`, 0 when none does.
  int RowOf(std::int32_t code) const;

  // Keeps the rows in code order as records come, go and change codes.
  void Add(std::int32_t code);
  void Remove(std::int32_t code);
  void Change(std::int32_t from, std::int32_t to);

 private:
  std::vector<std::int32_t> codes_;
};

}  // namespace kordavelt
