#pragma once

// The modal table of choice and settings dialogs: a table window in a dialog
// whose menu bar holds the commands of a '#'-list of four captions (print,
// edit, ok, cancel). Committing a cell of an owner without OnEdit chooses
// its row; Ctrl+P (ok) and Esc (cancel) close it.

#include <string_view>

#include "ui/table_owner.h"

class QWidget;

namespace kordavelt {

class QtTableEnvironment;

// How the dialog is sized and placed.
enum class TableDialogKind {
  Table,   // fitted to every row unless rows can be appended, opened at the mouse
  Choice,  // fitted to every row, at the last modal table's place
};

bool RunTableDialog(QWidget* parent, QtTableEnvironment& environment, TableOwner& owner,
                    TableForm& form, std::string_view menu, TableDialogKind kind);

}  // namespace kordavelt
