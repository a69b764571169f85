#pragma once

// '#'-lists: texts whose items are separated by '#', numbered from 0, with no
// escape. They carry multi-line messages, button rows, choice lists, table
// headers and table rows.

#include <string>
#include <string_view>

namespace kordavelt {

// Item `index` (0-based); empty when the list has fewer items or index is negative.
std::string ListItem(std::string_view list, int index);

// Number of '#' plus one: an empty text is a list of one empty item.
int ListCount(std::string_view list);

// Length in characters of the longest item, at least 1.
int ListMaxLength(std::string_view list);

// Item 0 when flag is true, item 1 otherwise ("Y#N" style lists).
std::string ListItemByFlag(bool flag, std::string_view list);

// "#" + ListItemByFlag: appends one cell to a table row.
std::string AppendItemByFlag(bool flag, std::string_view list);

}  // namespace kordavelt
