#pragma once

// Finding the drawing of a node or branch on one subscheme. A node drawn on
// two subschemes has two XYNode records under its number (and a damaged or
// imported table may hold a branch twice), so a lookup by key alone finds
// whichever comes first; every lookup of a drawing selects by key and page
// here instead.

#include <cstdint>
#include <span>
#include <vector>

#include "scheme/scheme_geometry.h"

namespace kordavelt {

class tbClass;

// Positions `table` (XYNode, table 201, or XYBranch, table 202) on the
// record of `key` on `page`; false when there is none (the position is
// then undefined).
bool SeekOnPage(tbClass* table, std::int32_t key, int page);

// The subschemes `key` is drawn on, in record order (at most two for a node
// of a sound model).
std::vector<int> PagesOf(tbClass* table, std::int32_t key);

// The same selection among geometry already read: the first item of `key`
// on `page`, nullptr when there is none.
template <class Geometry>
const Geometry* FindOnPage(std::span<const Geometry> items, std::int32_t key, int page) {
  for (const Geometry& item : items) {
    if (item.key == key && item.page == page) return &item;
  }
  return nullptr;
}

}  // namespace kordavelt
