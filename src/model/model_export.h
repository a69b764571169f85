#pragma once

// The export of a whole model into one exchange file (CSV, TXT or XML):
// rooms, receivers with their groups, sources, nodes, the branches with their
// objects kind by kind, the scheme geometry and the long names, one section
// each, in the order ImportModel reads them back.
//
//   ExportModel(model, ui, csvOptions);         // asks for the file, then a note
//   PutClass put(ui, files); put.OpenPath(...);  // or into a file opened by the caller
//   WriteModel(model, put); put.Close();

#include "exchange/export_variant.h"

namespace kordavelt {

class modelClass;
class PutClass;
class UiHost;

// Writes every section of the model into the open `put`; false after a
// write error (shown by PutClass). Reads only.
bool WriteModel(modelClass& model, PutClass& put);

// The export item: the save dialog "Экспорт модели" proposing the model's
// name, the file, and the note "Вывод модели выполнен". A cancelled dialog
// does nothing. True when the file was written.
bool ExportModel(modelClass& model, UiHost& ui, const CsvOptions& options);

}  // namespace kordavelt
