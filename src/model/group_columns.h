#pragma once

// The columns a receiver group shows and edits, shared by the groups window
// and the receiver list: kind, motor type, Uном, phases, Pном, cos φ, Iном,
// Iпуск, cos φп, tп, self-start, regime, Kз, Кв, tц, Nэп, Nраб.
//
// Columns are numbered as in the groups window: 0 number, 1 name, 2 kind,
// 3 motor type, 4 Uном … 18 Nраб.

#include <array>
#include <cstdint>
#include <string>

#include "model/model_records.h"

namespace kordavelt {

class sprClass;
class UiHost;
struct TableForm;

inline constexpr int kGroupColumnName = 1;
inline constexpr int kGroupColumnKind = 2;
inline constexpr int kGroupColumnType = 3;
inline constexpr int kGroupColumnLast = 18;  // Nраб

// The reference-book table of a group kind's motor types: 42 for "АД", 41
// for "СД", 0 for the other kinds.
int MotorTypeTable(int groupKind);

// Nominal current, A: |P + jQ| / Uном × 1000, divided by √3 for three phases.
double GroupNominalCurrent(const GroupRec& group);
// cos φ of P + jQ with the sign of Q (a load without Q counts as inductive).
double GroupCosPhi(const GroupRec& group);

class GroupColumns {
 public:
  // `book` may be null: no motor types are then known.
  GroupColumns(sprClass* book, UiHost& ui) : book_(book), ui_(ui) {}

  // The cells of columns 2 … 18, each with its leading '#'. A motor type the
  // book does not have ends the cells after the type column.
  std::string Cells(const GroupRec& group);
  // The edit letters of columns 0 … 18 for this group's row.
  std::string EditLetters(const GroupRec& group);
  // Applies a committed edit of `column` (1 … 16) to the group. False when
  // nothing changed; a value refused says why in a box captioned with the
  // window's caption. After every edit a group with Uном > 0 and no phases
  // gets three.
  bool Edit(GroupRec group, int column, const TableForm& form);
  // Why a read-only cell of `column` takes no typed value: the motor type
  // gives it, the program computes it. Empty when there is nothing to say.
  std::string ReadOnlyReason(const GroupRec& group, int column);

 private:
  // The motor type record of the group, positioned in the book; false when
  // the group has none or the book lacks it.
  bool FindMotorType(const GroupRec& group);
  bool ChooseMotorType(GroupRec group);

  sprClass* book_;
  UiHost& ui_;
  std::array<int, 2> lastTypeRow_{1, 1};  // rows last chosen for "АД" and "СД"
};

}  // namespace kordavelt
