#pragma once

// The import of a model exchange file (as ExportModel writes it) into the
// open model. Every row is written at once (no transaction): a row whose key
// exists overwrites that record's imported fields and leaves the others, so
// importing into a non-empty model merges. A row finds its record by its
// key, or by its designation when the key is 0 or negative; rows that find
// none are skipped, except that rooms, sources and receivers with a new
// designation are created under the next free key.
//
// The whole file is checked first (model_import_check.h): a file with any
// problem changes nothing, and the caller gets the problems to show.
//
//   ImportModel(model, ui, ',');              // asks for the file, then a note
//   GetClass get(ui, files); get.OpenPath(path, ImportVariant::Csv);
//   ReadModel(model, get);                    // or from a file opened by the caller

#include <string>
#include <vector>

namespace kordavelt {

class GetClass;
class modelClass;
class UiHost;

struct ModelImportCounts {
  int applied = 0;  // data rows that changed the model
  int skipped = 0;  // data rows that found no record, or change nothing (Rele, CurrentTransf)
  // What the check found, e.g. "строка 12, Node, Key: «1.5» — не целое
  // число": the texts of the first ModelImportReport::kMaxTexts, and the count.
  std::vector<std::string> problems;
  int problemCount = 0;
  // True when the model was not touched: the file has problems, or could
  // not be read again for applying it.
  bool refused = false;
};

// Checks the whole file of the open `get`; when it is clean, reads it again
// from its start, applies every record and refreshes the model (feeding
// sources and views). A read error while applying (the file changed or
// failed in between) leaves the rows read before it applied.
ModelImportCounts ReadModel(modelClass& model, GetClass& get);

// The import item: the open dialog "Импорт модели" starting at the model's
// name, the rows, and the note "Ввод модели выполнен"; a refused file shows
// its first problems in an error box "Импорт" instead. A cancelled dialog
// does nothing. True when the whole file was applied.
bool ImportModel(modelClass& model, UiHost& ui, char separator);

}  // namespace kordavelt
