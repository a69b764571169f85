#pragma once

// The subschemes (pages) of the scheme, table 203, keyed by their number
// 1 … 255. Page 1, "Главная", always exists: a model without its record gets
// it the first time the scheme is shown. Each page keeps where the window
// looked at it (X0, Y0, the step and the scale index) and its stamp.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scheme/grid.h"
#include "scheme/zoom.h"

namespace kordavelt {

class tbClass;

inline constexpr int kMainPage = 1;
inline constexpr int kLastPage = 255;
inline constexpr std::string_view kMainPageName = "Главная";

// The stamp text size: 0 none, 1 100 %, 2 200 %, 3 300 %.
inline constexpr int kMaxStampSize = 3;

struct PageRecord {
  int number = kMainPage;
  bool found = false;  // false: no record, the values are the defaults
  std::string name;
  ViewState view;
  GridPoint stamp;
  int stampSize = 0;  // 0 … 3; a damaged value reads as 0
};

// Creates page 1 "Главная" when `pages` has no record for it; true when it did.
bool EnsureMainPage(tbClass* pages);

// The record of `page`, its view bounded (ViewOfRecord); a missing record
// reads as origin (0, 0), the font height and 100 %.
PageRecord ReadPage(tbClass* pages, int page, int fontHeight);

// Keeps the window's view in the record of `page` when the window leaves
// it (St holds the step). False when the page has no record.
bool WritePageView(tbClass* pages, int page, const ViewState& view);
bool WriteStampSize(tbClass* pages, int page, int stampSize);

// The numbers of the pages, in key order (keys outside 1 … 255 skipped).
std::vector<int> PageNumbers(tbClass* pages);

// The number of a new page: one above the highest, or, when that would pass
// 255, the lowest number not in use; 0 when all 255 are taken.
int NewPageNumber(std::span<const int> used);

}  // namespace kordavelt
