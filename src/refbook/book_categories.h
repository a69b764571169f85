#pragma once

// The categories of the reference-book window: for each book table its
// caption, header lines, exchange column names, the number of columns the
// selection dialog shows and the per-column display and edit letters; the
// category list with its exchange-section names; and the choice lists the
// window shows for enumerated fields.

#include <span>
#include <string>
#include <string_view>

#include "refbook/book_tables.h"

namespace kordavelt {

// The layout of one book table in the window.
struct BookTableLayout {
  int table;     // table number in the book file
  int category;  // 1-based position in the category list
  std::string_view caption;
  std::string_view head1;
  std::string_view head2;          // empty for a one-line header
  std::string_view exchangeNames;  // column names of export and import; may be empty
  int selColumns;                  // leading columns of the selection dialog, 0 = all
  std::string_view displayCodes;
  std::string_view editCodes;
};

// Every table the window shows, in category order.
std::span<const BookTableLayout> BookTableLayouts();

// The layout of a book table, or nullptr for a table the window does not show.
const BookTableLayout* BookLayoutOfTable(int table);
// The layout of category 1 … 21, or nullptr.
const BookTableLayout* BookLayoutOfCategory(int category);

// The column names export writes and XML import matches, one for every
// column of the table: the exchange names in their places, and the table
// window's "f" + (column + 1) for a column the list does not name or names
// as an earlier column (a list may be shorter or longer than the columns,
// and repeat a name).
std::string BookFieldNames(const BookTableLayout& layout);

// "Присоединения#Кабели#…#Марки кабелей", one caption per category.
std::string_view BookCategoryCaptions();

// "SNode#SPriz#…#SMarka_kab": item n is the exchange section of category n + 1;
// category 21 (cable brands), which the list leaves out, has the section
// "SMarka".
std::string_view BookSectionNames();
// The exchange-section name of a category, empty when it has none.
std::string_view BookSectionOfCategory(int category);
// The category whose section name is `name` (compared exactly), 0 when none.
int BookCategoryOfSection(std::string_view name);

// --- Choice lists of enumerated fields ---------------------------------------

// Conductor material of cables and insulated wires (brand / wire flag bit 7).
inline constexpr std::string_view kConductorMaterials = "Медь#Алюминий";
// Conductor material of bare wires (flag bits 6–7).
inline constexpr std::string_view kBareWireMaterials = "Медь#Алюминий#Бронза#Сталь";
// Cable insulation (brand flag bits 0–2).
inline constexpr std::string_view kInsulationMaterials = "ПВХ#СПЭ#ЭПК#ПЭ#БМ#БП";
// Cable sheath (brand flag bits 4–6); the "A" of the aluminium item is Latin.
inline constexpr std::string_view kSheathMaterials = "Нет#Aлюминий#Свинец#Сталь#ПВХ#Полиэтилен";
// Cable armour (brand flag bit 3).
inline constexpr std::string_view kArmourChoices = "Нет#Есть";
// Transformer connection groups.
inline constexpr std::string_view kConnectionGroups = "Y0/Y0#D/Y0#Y/Y0#Y/Z#D/Z#D/Y";
// Units of the trip-unit current settings: amperes, multiples of In, of Ir.
inline constexpr std::string_view kSettingUnits = "A#*In#*Ir";
// Units the Ir setting may take.
inline constexpr std::string_view kIrUnits = "A#*In";
// Load-torque characteristics of a mechanism.
inline constexpr std::string_view kTorqueCharacteristics =
    "Постоянная#Линейная#Квадратичная#Кубическая#Другая";
// Kinds of electric receivers shown for a mechanism's motor kind (index = kind).
inline constexpr std::string_view kMotorKindTexts = " - #АД#СД#АД2#ЭД#Освещение#Нагреватель#Сварка";
// The motor kinds a mechanism can be given (stored as index + 1).
inline constexpr std::string_view kMechanismMotorKinds = "АД#СД";
// A flag cell: a ticked box, an empty box.
inline constexpr std::string_view kCheckMarks = "@s0r22DDp6B35447BC2e#@s0r22DDe";

// The text of the append row's number cell.
inline constexpr std::string_view kAppendRowMark = "•••";

// The object kinds a composition template's slot may hold, in the order of
// the kind dialog.
std::span<const int> TemplateSlotKinds();

}  // namespace kordavelt
