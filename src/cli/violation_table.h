#pragma once

// The violations the checks found, one row per element of every calculated
// source tree: the source, the element's connection, its kind and the codes
// of the violated conditions ("Iдоп!Кч1ф!"). What `kordavelt-cli calc`
// prints after the status line when no table is asked for.

#include <string>
#include <vector>

#include "ui/table_owner.h"

namespace kordavelt {

class CalcClass;

class ViolationTable : public TableOwner {
 public:
  // Collects the rows by re-tracing every source (messages of the trace are
  // the caller's to silence). False when no element violates anything.
  bool Open(CalcClass& calc, TableForm& form);
  void OnLine(TableForm& form) override;

 private:
  std::vector<std::string> rows_;
};

}  // namespace kordavelt
