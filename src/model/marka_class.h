#pragma once

// MarkaClass: the index of designations. Every designation in a model (the
// short marking of a node, branch, source, receiver or room) is unique
// regardless of letter case, in Cyrillic as in Latin. The index keeps them
// sorted so that a new designation is checked in a few comparisons.
//
// A large model holds tens of thousands of designations. The entries stay
// where they were put (a removed one leaves its slot to the next insert) and
// only a sorted array of their slot numbers moves, four bytes an entry, so
// an insert or a removal shifts at most 128 KiB. Filling the index at open
// goes through Assign, which sorts once instead of inserting one by one.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

  void Clear();
  int Count() const { return static_cast<int>(order_.size()); }
  // Entry `index` (0 … Count() − 1) in the order of the index.
  const Entry& At(int index) const { return slots_[order_[static_cast<std::size_t>(index)]]; }

  // Replaces the whole index by `designations`, taken as Add would take them
  // one after another: empty texts skipped, of equal texts the first kept,
  // no more than kCapacity; in O(n log n).
  void Assign(const std::vector<std::pair<std::string, std::int32_t>>& designations);

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
  // Where `folded` is, or would go, in order_.
  Position Locate(const std::string& folded) const;

  std::vector<Entry> slots_;          // entries where they were put, free ones too
  std::vector<std::uint32_t> order_;  // slots of the entries, ascending by folded text
  std::vector<std::uint32_t> free_;   // slots left by removed entries
};

// The comparison of the index: code page 1251 with letters folded to upper
// case (Latin, Cyrillic, and the letters of the upper half such as Ё and Є).
std::string FoldDesignation(std::string_view utf8);

}  // namespace kordavelt
