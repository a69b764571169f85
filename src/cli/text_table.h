#pragma once

// A table of the table protocol as plain aligned text for the console: the
// two header lines on top (the second only when it says anything), then one
// line per row; every column padded to its widest cell (counted in
// characters), columns two blanks apart. A column of numbers (and "-") is
// aligned on the right with its headers, a column of texts on the left.
// Picture cells show as "рис.", check boxes as "Да" and "Нет", as the
// exports write them.

#include <string>

#include "ui/table_owner.h"
#include "ui/ui_host.h"

namespace kordavelt {

// The whole table, lines ended by '\n', without trailing blanks.
std::string RenderTextTable(TableOwner& owner, TableForm& form, UiHost& ui);

}  // namespace kordavelt
