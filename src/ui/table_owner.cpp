#include "ui/table_owner.h"

namespace kordavelt {

std::string TableForm::DefaultFieldNames() {
  std::string names = "f1";
  for (int i = 2; i <= kMaxTableColumns; ++i) names += "#f" + std::to_string(i);
  return names;
}

}  // namespace kordavelt
