#include "model/receiver_rows.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/cp1251.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"

namespace kordavelt {
namespace {

struct SortItem {
  std::int32_t key = 0;
  std::string text;  // code page 1251: texts compare by character codes
  double power = 0;
};

bool Greater(const SortItem& a, const SortItem& b, ReceiverOrder order) {
  const auto textLess = [](const std::string& x, const std::string& y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char l, char r) {
      return static_cast<unsigned char>(l) < static_cast<unsigned char>(r);
    });
  };
  switch (order) {
    case ReceiverOrder::DesignationDescending:
    case ReceiverOrder::NameDescending:
      return textLess(a.text, b.text);
    case ReceiverOrder::DesignationAscending:
    case ReceiverOrder::NameAscending:
      return textLess(b.text, a.text);
    case ReceiverOrder::Power:
      return a.power > b.power;
    case ReceiverOrder::Key:
      break;
  }
  return a.key > b.key;
}

// The diminishing-gap sort of the window, gaps n/2, n/4, … 1.
void ShellSort(std::vector<SortItem>& items, ReceiverOrder order) {
  const int n = static_cast<int>(items.size());
  for (int gap = n / 2; gap > 0; gap /= 2) {
    for (int i = gap; i < n; ++i) {
      for (int j = i - gap; j >= 0 && Greater(items[j], items[j + gap], order); j -= gap) {
        std::swap(items[j], items[j + gap]);
      }
    }
  }
}

}  // namespace

void ReceiverRows::Rebuild(modelClass& model) {
  keys_.clear();
  tbClass* receivers = model.Receivers();
  if (receivers == nullptr) return;
  std::vector<SortItem> items;
  receivers->GoTo(0);
  while (receivers->Next()) {
    SortItem item;
    item.key = receivers->Key();
    if (order_ == ReceiverOrder::DesignationAscending ||
        order_ == ReceiverOrder::DesignationDescending) {
      item.text = Utf8ToCp1251(ReceiverRec(receivers->Record()).Marking());
    }
    items.push_back(std::move(item));
  }
  if (order_ == ReceiverOrder::NameAscending || order_ == ReceiverOrder::NameDescending ||
      order_ == ReceiverOrder::Power) {
    tbClass* groups = model.Groups();
    for (SortItem& item : items) {
      if (!modelClass::SeekExact(groups, GroupOfKey(item.key))) continue;
      const GroupRec group(groups->Record());
      item.text = Utf8ToCp1251(group.Name());
      item.power = group.P();
    }
  }
  if (order_ != ReceiverOrder::Key) ShellSort(items, order_);
  keys_.reserve(items.size());
  for (const SortItem& item : items) keys_.push_back(item.key);
}

void ReceiverRows::SortBy(modelClass& model, int column) {
  switch (column) {
    case 0:
      order_ = ReceiverOrder::Key;
      break;
    case 1:
      order_ = order_ == ReceiverOrder::DesignationDescending ? ReceiverOrder::DesignationAscending
               : order_ == ReceiverOrder::DesignationAscending
                   ? ReceiverOrder::Key
                   : ReceiverOrder::DesignationDescending;
      break;
    case 2:
      order_ = order_ == ReceiverOrder::NameDescending  ? ReceiverOrder::NameAscending
               : order_ == ReceiverOrder::NameAscending ? ReceiverOrder::Key
                                                        : ReceiverOrder::NameDescending;
      break;
    default:
      order_ = order_ == ReceiverOrder::Power ? ReceiverOrder::Key : ReceiverOrder::Power;
      break;
  }
  Rebuild(model);
}

std::int32_t ReceiverRows::Key(int row) const {
  return row >= 1 && row <= Rows() ? keys_[static_cast<std::size_t>(row - 1)] : 0;
}

int ReceiverRows::RowOf(std::int32_t key) const {
  const auto at = std::find(keys_.begin(), keys_.end(), key);
  return at == keys_.end() ? 0 : static_cast<int>(at - keys_.begin()) + 1;
}

}  // namespace kordavelt
