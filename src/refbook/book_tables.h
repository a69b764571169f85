#pragma once

// The tables of the reference book: one per equipment category plus the
// auxiliary tables of trip units, mechanisms, cable brands and breaker series.
// A table's number is the object-kind code of the objects that use it (the
// auxiliary tables have numbers of their own); its category is its place in
// the category list of the reference-book window.

#include <array>
#include <vector>

namespace kordavelt {

// The table numbers. They live in namespace `book` because the model names
// its object tables alike (model/model_tables.h: kBreakerTable = 121, ...).
namespace book {

inline constexpr int kTemplateTable = 2;
inline constexpr int kCableTable = 11;
inline constexpr int kInsulatedWireTable = 12;
inline constexpr int kBareWireTable = 13;
inline constexpr int kTrunkingTable = 14;
inline constexpr int kBreakerTable = 21;
inline constexpr int kFuseTable = 22;
inline constexpr int kRelayTable = 23;
inline constexpr int kSwitchTable = 24;
inline constexpr int kStarterTable = 25;
inline constexpr int kTransformerTable = 31;
inline constexpr int kStabiliserTable = 32;
inline constexpr int kReactorTable = 33;
inline constexpr int kCurrentTransformerTable = 34;
inline constexpr int kSynchronousMachineTable = 41;
inline constexpr int kAsyncMotorTable = 42;
inline constexpr int kCapacitorBankTable = 43;
inline constexpr int kGeneratorTable = 50;
inline constexpr int kTripUnitTable = 91;
inline constexpr int kMechanismTable = 92;
inline constexpr int kCableBrandTable = 93;
inline constexpr int kBreakerSeriesTable = 94;

}  // namespace book

// Categories are numbered 1 ... 21; the breaker series have none.
inline constexpr int kCategoryCount = 21;
inline constexpr int kBookTableCount = 22;

// Every table of the book: the 21 categories in category order, then 94.
const std::array<int, kBookTableCount>& BookTables();

// Record data length of a book table (the key not counted); 0 for any other number.
int BookRecordLength(int table);
bool IsBookTable(int table);
// The table of category 1 ... 21, 0 for any other number.
int CategoryTable(int category);
// The category of a book table, 0 for table 94 and for numbers that are no book table.
int TableCategory(int table);
// The tables opened together with `table`: 11 → 93; 21 → 94, 91; 91 → 94; 92 → 42, 41.
std::vector<int> Companions(int table);

}  // namespace kordavelt
