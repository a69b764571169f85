#pragma once

// The reference book's modal table dialogs: the category and kind lists, the
// choice of a cable brand, a breaker series, a trip unit and a motor type for
// the type being edited, and the selection dialog through which object
// tables choose a type. Each returns nothing when the user cancels.

#include <cstdint>
#include <optional>

namespace kordavelt {

class sprClass;
class UiHost;

// "Вид оборудования": the 21 categories with their symbols, `current`
// preselected. The chosen category (1 … 21).
std::optional<int> ChooseBookCategory(UiHost& ui, int current);

// "Вид объекта": the kinds a composition template's slot may hold.
std::optional<int> ChooseSlotKind(UiHost& ui);

// "Марки кабелей": the brands of table 93; the chosen brand's code.
std::optional<std::int32_t> ChooseCableBrand(sprClass& book, UiHost& ui, std::int32_t current);

// The series of table 94 (row 1 is series 0, none, created when missing).
// New series are typed into the append row or an unnamed row; a series other
// than 0 may be deleted. The chosen series' code.
std::optional<std::uint16_t> ChooseBreakerSeries(sprClass& book, UiHost& ui, std::uint16_t current);

// "Расцепители автоматов": the trip units of table 91; the chosen one's code.
std::optional<std::int32_t> ChooseTripUnit(sprClass& book, UiHost& ui, std::int32_t current);

// "Типы двигателей": the motors of table 42 (asynchronous) or 41
// (synchronous); the chosen motor's code.
std::optional<std::int32_t> ChooseMotorType(sprClass& book, UiHost& ui, int table,
                                            std::int32_t current);

// "Из справочника": the types of `table` in its leading columns, row
// `lastRow` preselected. On "Выбор" the table is positioned on the chosen
// type, `lastRow` becomes its row and true is returned.
bool ChooseBookType(sprClass& book, UiHost& ui, int table, int& lastRow);

}  // namespace kordavelt
