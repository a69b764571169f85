#include "scheme/scheme_pages.h"

#include <algorithm>
#include <set>

#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Positions `pages` on the record of `page`.
bool SeekPage(tbClass* pages, int page) {
  if (pages == nullptr) return false;
  pages->Seek(page);
  return pages->Status() == kStatusOk && !pages->Record().empty() && pages->Key() == page;
}

}  // namespace

bool EnsureMainPage(tbClass* pages) {
  if (pages == nullptr || SeekPage(pages, kMainPage)) return false;
  pages->Insert(kMainPage);
  if (pages->Status() != kStatusOk || pages->Record().empty()) return false;
  XYPageRec(pages->Record()).SetName(kMainPageName);
  pages->MarkModifiedAndFlush();
  return true;
}

PageRecord ReadPage(tbClass* pages, int page, int fontHeight) {
  PageRecord result;
  result.number = page;
  result.view = ViewOfRecord(0, 0, 0, 0, fontHeight);
  if (!SeekPage(pages, page)) return result;
  const XYPageRec record(pages->Record());
  result.found = true;
  result.name = record.Name();
  result.view = ViewOfRecord(record.X0(), record.Y0(), record.St(), record.Scale(), fontHeight);
  result.stamp = {record.StampX(), record.StampY()};
  result.stampSize = record.StampSize() <= kMaxStampSize ? record.StampSize() : 0;
  return result;
}

bool WritePageView(tbClass* pages, int page, const ViewState& view) {
  if (!SeekPage(pages, page)) return false;
  XYPageRec record(pages->Record());
  record.SetX0(ClampToGrid(view.x0));
  record.SetY0(ClampToGrid(view.y0));
  record.SetSt(static_cast<std::int16_t>(BoundStep(view.step)));
  record.SetScale(static_cast<std::int16_t>(ScaleChoiceOf(view.scale)));
  pages->MarkModifiedAndFlush();
  return true;
}

bool WriteStampSize(tbClass* pages, int page, int stampSize) {
  if (!SeekPage(pages, page)) return false;
  XYPageRec(pages->Record())
      .SetStampSize(static_cast<std::uint8_t>(std::clamp(stampSize, 0, kMaxStampSize)));
  pages->MarkModifiedAndFlush();
  return true;
}

std::vector<int> PageNumbers(tbClass* pages) {
  std::vector<int> numbers;
  if (pages == nullptr) return numbers;
  pages->GoTo(0);
  while (pages->Next()) {
    const std::int32_t key = pages->Key();
    if (key >= kMainPage && key <= kLastPage) numbers.push_back(key);
  }
  return numbers;
}

int NewPageNumber(std::span<const int> used) {
  const std::set<int> taken(used.begin(), used.end());
  const int highest = taken.empty() ? 0 : *taken.rbegin();
  if (highest < kLastPage) return std::max(highest + 1, kMainPage);
  for (int number = kMainPage; number <= kLastPage; ++number) {
    if (taken.count(number) == 0) return number;
  }
  return 0;
}

}  // namespace kordavelt
