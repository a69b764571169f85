#include "table/table_environment.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {

int TableEnvironment::HorizontalMargin() const {
  return 2 * static_cast<int>(std::lround(dpi / 50.8));
}

Size TableEnvironment::TextExtent(std::string_view text, bool bold) const {
  if (measure == nullptr) return Size{0, textHeight};
  measure->font = font;
  measure->font.bold = bold || font.bold;
  return measure->TextExtent(text);
}

void TableEnvironment::Remeasure() {
  if (measure != nullptr) textHeight = std::max(TextExtent("A").height, 1);
}

}  // namespace kordavelt
