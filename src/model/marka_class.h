#pragma once

// MarkaClass: the index of designations. Every designation in a model (the
// short marking of a node, branch, source, receiver or room) is unique
// regardless of letter case, in Cyrillic as in Latin. The index keeps them
// sorted so that a new designation is checked in a few comparisons.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kordavelt {

class tbClass;

class MarkaClass {
 public:
  static constexpr int kCapacity = 32767;
  // A designation is stored as a counted string of this many characters.
  static constexpr int kTextLength = 19;

  struct Position {
    bool found = false;
    int index = 0;  // where the text is, or would be inserted
  };

  struct Entry {
    std::string folded;  // code page 1251, letters upper-case: the sort key
    std::string text;    // as given
    std::int32_t key = 0;
  };

  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<Entry>& Entries() const { return entries_; }

  Position Find(std::string_view text) const;
  // The key of a designation, or 0 when it is not in the index.
  std::int32_t KeyOf(std::string_view text) const;
  // Inserts unless the text is present (or empty, or the index full); true when inserted.
  bool Add(std::string_view text, std::int32_t key);
  void Remove(std::string_view text);
  // Gives record `code` of the marking table the designation `text` and
  // enters it in the index; false, with nothing changed, when the text is
  // taken, empty, or the index full.
  bool AddMarking(std::string_view text, std::int32_t code, tbClass& markings);

 private:
  std::vector<Entry> entries_;
};

// The comparison of the index: code page 1251 with letters folded to upper
// case (Latin, Cyrillic, and the letters of the upper half such as Ё and Є).
std::string FoldDesignation(std::string_view utf8);

}  // namespace kordavelt
