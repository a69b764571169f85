#pragma once

// The check of a whole model exchange file before its import changes
// anything: a file the program's own export wrote passes; a damaged or
// foreign one is refused with the place of every fault, instead of being
// read as zeros, cut fractions and silently overwritten records.
//
//   GetClass get(ui, files); get.OpenPath(path, ImportVariant::Csv);
//   const ModelImportReport report = CheckModelFile(get, model.Settings());
//   if (report.problemCount == 0 && get.Reopen()) ...  // now apply the rows
//
// Refused: an XML file whose root is not <Model>; a section name the import
// does not know; a cell that is not what its column holds (see
// model_exchange_columns.h): not a number, a fraction in an integer field, a
// value beyond its field, a voltage not in the model's list; a row that
// repeats the key of an earlier row of its section.

#include <string>
#include <vector>

namespace kordavelt {

class GetClass;
class ModelSettings;

struct ModelImportReport {
  // A hostile file may hold millions of faults: the texts of the first ones
  // are kept, all are counted.
  static constexpr int kMaxTexts = 100;

  // In file order, e.g. "строка 12, Node, Key: «1.5» — не целое число".
  std::vector<std::string> problems;
  int problemCount = 0;

  void Add(std::string text);
};

// Reads every record of the open `get` to its end and never touches a
// model; `settings` gives the voltage list. A read error (shown by GetClass)
// is a problem too.
ModelImportReport CheckModelFile(GetClass& get, const ModelSettings& settings);

}  // namespace kordavelt
