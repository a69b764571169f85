#pragma once

// The modal table of choice and settings dialogs, in its first form: the
// owner's rows in a grid, a row chosen with Enter, a double click or the ok
// command, Esc or the cancel command to leave. Editing cells comes with the
// full table window.

#include <string_view>

#include "table/table_owner.h"

class QWidget;

namespace kordavelt {

bool RunTableDialog(QWidget* parent, TableOwner& owner, TableForm& form, std::string_view menu);

}  // namespace kordavelt
