#pragma once

// The label the scheme writes beside an object, built line by line: the
// marking first, then type lines (shown with group 3 "Типы" on) and parameter
// lines (group 4 "Параметры"). A line joins the label after a '#', or becomes
// the whole label while it is empty; an empty line adds nothing. Items of
// receivers always join with their '#', even at the start, so such a label
// begins with an empty line.

#include <string>
#include <string_view>

#include "results/label_groups.h"

namespace kordavelt {

class ObjectLabel {
 public:
  explicit ObjectLabel(LabelGroups groups) : groups_(groups) {}

  LabelGroups Groups() const { return groups_; }
  const std::string& Text() const { return text_; }

  void Set(std::string text) { text_ = std::move(text); }
  void AddType(std::string_view line) {
    if (groups_.Has(kGroupTypes)) AddLine(line);
  }
  void AddParameter(std::string_view line) {
    if (groups_.Has(kGroupParameters)) AddLine(line);
  }
  // "#" + item, whatever the label holds.
  void AppendItem(std::string_view item) {
    text_ += '#';
    text_ += item;
  }

 private:
  void AddLine(std::string_view line) {
    if (line.empty()) return;
    if (!text_.empty()) text_ += '#';
    text_ += line;
  }

  LabelGroups groups_;
  std::string text_;
};

}  // namespace kordavelt
