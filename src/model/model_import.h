#pragma once

// The import of a model exchange file (as ExportModel writes it) into the
// open model. Every row is written at once (no transaction): a row whose key
// exists overwrites that record's imported fields and leaves the others, so
// importing into a non-empty model merges. A row finds its record by its
// key, or by its designation when the key is 0 or negative; rows that find
// none are skipped, except that rooms, sources and receivers with a new
// designation are created under the next free key.
//
//   ImportModel(model, ui, ',');              // asks for the file, then a note
//   GetClass get(ui, files); get.OpenPath(path, ImportVariant::Csv);
//   ReadModel(model, get);                    // or from a file opened by the caller

namespace kordavelt {

class GetClass;
class modelClass;
class UiHost;

struct ModelImportCounts {
  int applied = 0;  // data rows that changed the model
  int skipped = 0;  // data rows that found no record, or belong to no known section
};

// Applies every record of the open `get`, then refreshes the model (feeding
// sources and views). The rows read before a read error stay applied.
ModelImportCounts ReadModel(modelClass& model, GetClass& get);

// The import item: the open dialog "Импорт модели" starting at the model's
// name, the rows, and the note "Ввод модели выполнен". A cancelled dialog
// does nothing. True when the whole file was read.
bool ImportModel(modelClass& model, UiHost& ui, char separator);

}  // namespace kordavelt
