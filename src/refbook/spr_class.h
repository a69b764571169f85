#pragma once

// sprClass: the reference book, the database file of equipment types.
//
// Each category is one table; each type one record keyed by its type code.
// Tables open lazily, on first use, together with their companions, and stay
// open until the book closes. After a table is positioned its current record
// is read through the typed views of book_records.h:
//   if (book.FindType(book::kCableTable, code)) {
//     const book::CableRec cable(book.CurrentRecord(book::kCableTable));
//     ...
//   }
// The window that shows the book belongs to its owner; the book knows nothing
// of it beyond the two hooks below.

#include <cstdint>
#include <functional>
#include <string>

#include "storage/dbf_class.h"

namespace kordavelt {

class sprClass : public dbfClass {
 public:
  using BookHook = std::function<void(sprClass&)>;

  static constexpr const char* kDefaultFileName = "Kordavelt.SPR";

  sprClass(UiHost& ui, FileSystem& files);
  ~sprClass() override;

  // Opens the book at `path`, creating an empty one first when no such file
  // exists. False (with the engine's message) when it cannot be opened.
  bool OpenBook(const std::string& path);
  // Saves (flushes) and closes every table and the file. A file whose
  // changes cannot be written stays open (the engine said why).
  void CloseBook();

  // The table with its companions, opened (created empty with its record
  // length) when not yet open; nullptr for a number that is no book table,
  // when the file is not open or the table cannot be opened.
  tbClass* OpenBookTable(int table);
  // The open table, or nullptr; opens nothing.
  tbClass* BookTable(int table) const;
  // The data bytes of the current record of an open table; empty when the
  // table is not open or has no current record.
  Bytes CurrentRecord(int table) const;
  // The last table asked for through OpenBookTable (companions aside), 0 none.
  int LastRequestedTable() const { return lastRequested_; }

  // Opens the table and positions it on the record with this code; true
  // when there is one. Otherwise the table's position is undefined.
  bool FindType(int table, std::int32_t code);
  // The short text shown for the type on which table `kind` is positioned
  // (cable: brand-3*95+1*50); empty for kinds without one and when the table
  // is not positioned on a record.
  std::string TypeDesignation(int kind);

  // Gives the current record of `table` its automatic code and returns the
  // code the record has afterwards. Tables without automatic codes keep the
  // code. 0 when the table has no current record.
  std::int32_t AssignAutomaticCode(int table);
  // The free-code search: from `start` (at least 1) up, at most 2^(width+1) - 1
  // steps, to the first code no other record has; the current record of
  // `table` is moved to it (data kept). When every candidate is taken the
  // record keeps its code. Returns the record's code afterwards, 0 when the
  // table has no current record.
  std::int32_t GiveFreeCode(int table, std::int32_t start, int width);

  // Empirical resistances, mΩ; a non-positive argument gives 0.
  // Cable/wire terminals: `flags` bit 7 set means aluminium.
  static double TerminalResistance(std::uint8_t flags, double section);
  // A busbar-trunking joint, from the Inom of the record table 14 is
  // positioned on; 0 when it is not positioned on one.
  double BusbarJointResistance();
  // A contact carrying `current` amperes.
  static double ContactResistance(double current);

  // "Сохранить как ...": packs the file under a name the user chooses, then
  // closes the book and opens it from the packed file. On failure the book
  // stays (or is reopened) on its previous file.
  bool SaveAs();

  // Owner's hooks: after the book opened; before its tables are freed at any
  // close (table pointers are invalid afterwards).
  BookHook OnBookOpened;
  BookHook OnBookClosed;

 private:
  tbClass* OpenWithCompanions(int table);
  // Why the book at `path` can only be read here; empty when it can be written.
  std::string WhyReadOnly(const std::string& path);

  int lastRequested_ = 0;
};

}  // namespace kordavelt
