// Designations must be unique whatever the letter case; an index that tells
// "Щ1" from "щ1" lets two busbars carry one name, and one that confuses two
// names refuses a designation the engineer needs.

#include "model/marka_class.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "storage/counted_string.h"
#include "storage/dbf_class.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

TEST(DesignationIndex, LetterCaseDoesNotMatterInCyrillicOrLatin) {
  MarkaClass index;
  EXPECT_TRUE(index.Add("Щ1", 256));
  EXPECT_FALSE(index.Add("щ1", 512));
  EXPECT_TRUE(index.Find("щ1").found);
  EXPECT_TRUE(index.Add("QF1", 257));
  EXPECT_FALSE(index.Add("qf1", 258));
  EXPECT_TRUE(index.Add("Ёмкость", 259));
  EXPECT_TRUE(index.Find("ёМКОСТЬ").found);
  EXPECT_TRUE(index.Find("ЇЄІЎ").found == false);
  EXPECT_EQ(FoldDesignation("їєіўґ"), FoldDesignation("ЇЄІЎҐ"));
  EXPECT_EQ(index.KeyOf("щ1"), 256);
  EXPECT_EQ(index.KeyOf("Т1"), 0);
}

TEST(DesignationIndex, KeepsTextsInOrderAndFindsWhereANewOneGoes) {
  MarkaClass index;
  for (const char* text : {"КЛ-3", "КЛ-1", "ТП-1", "КЛ-2"}) ASSERT_TRUE(index.Add(text, 1));
  ASSERT_EQ(index.Count(), 4);
  EXPECT_EQ(index.At(0).text, "КЛ-1");
  EXPECT_EQ(index.At(3).text, "ТП-1");
  const MarkaClass::Position before = index.Find("КЛ-15");
  EXPECT_FALSE(before.found);
  EXPECT_EQ(before.index, 1);
  EXPECT_EQ(index.Find("ЯЯ").index, 4) << "past the last entry";
  EXPECT_EQ(index.Find("кл-2").index, 1);
}

TEST(DesignationIndex, RemoveFreesTheText) {
  MarkaClass index;
  index.Add("Р1", 10);
  index.Remove("р1");
  EXPECT_EQ(index.Count(), 0);
  EXPECT_TRUE(index.Add("Р1", 11));
}

// The index stores entries apart from their order and reuses the slots of
// removed ones: a slot handed out twice, or an order entry left pointing at a
// freed slot, gives one designation the key of another.
TEST(DesignationIndex, LongRunsOfAddsAndRemovesAgreeWithASortedMap) {
  MarkaClass index;
  std::map<std::string, std::pair<std::string, std::int32_t>> expected;
  std::uint32_t seed = 7;
  const auto random = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
  };
  for (int step = 0; step < 4000; ++step) {
    const int n = random(300);
    const std::string text = (random(2) == 0 ? "кл-" : "КЛ-") + std::to_string(n);
    const std::string folded = FoldDesignation(text);
    if (random(3) == 0) {
      index.Remove(text);
      expected.erase(folded);
    } else {
      const bool inserted = expected.try_emplace(folded, text, step + 1).second;
      ASSERT_EQ(index.Add(text, step + 1), inserted) << text;
    }
  }
  ASSERT_EQ(index.Count(), static_cast<int>(expected.size()));
  int i = 0;
  for (const auto& [folded, entry] : expected) {
    EXPECT_EQ(index.At(i).folded, folded);
    EXPECT_EQ(index.At(i).text, entry.first);
    EXPECT_EQ(index.KeyOf(entry.first), entry.second);
    EXPECT_EQ(index.Find(entry.first).index, i);
    ++i;
  }
}

// Opening a model fills the index in one sorted pass; it must keep exactly
// what inserting the same designations one by one keeps, or a model would
// resolve a designation to another record after every open.
TEST(DesignationIndex, AssignKeepsWhatAddingOneByOneKeeps) {
  std::vector<std::pair<std::string, std::int32_t>> given = {
      {"Щ2", 1}, {"", 2}, {"щ2", 3}, {"QF1", 4}, {"Ёмкость", 5}, {"qf1", 6}, {"А", 7}};
  MarkaClass sorted;
  sorted.Assign(given);
  MarkaClass added;
  for (const auto& [text, key] : given) added.Add(text, key);
  ASSERT_EQ(sorted.Count(), 4);
  ASSERT_EQ(sorted.Count(), added.Count());
  for (int i = 0; i < added.Count(); ++i) {
    EXPECT_EQ(sorted.At(i).text, added.At(i).text);
    EXPECT_EQ(sorted.At(i).key, added.At(i).key);
  }
  EXPECT_EQ(sorted.KeyOf("щ2"), 1) << "the first of equal texts stays";

  // What was there before goes; the index keeps working after it.
  sorted.Remove("А");
  sorted.Assign({{"Т1", 9}});
  EXPECT_EQ(sorted.Count(), 1);
  EXPECT_TRUE(sorted.Add("Т2", 10));
  EXPECT_EQ(sorted.KeyOf("т2"), 10);
  EXPECT_EQ(sorted.KeyOf("Щ2"), 0);
}

TEST(DesignationIndex, AFullIndexKeepsTheFirstDistinctTextsGiven) {
  // Duplicates, letter-case twins and empty texts are interleaved with more
  // distinct texts than fit, ending in the last text of the order ("Я…").
  std::vector<std::pair<std::string, std::int32_t>> given;
  for (int n = MarkaClass::kCapacity + 40; n >= 1; --n) {
    given.emplace_back("Н" + std::to_string(n), n);
    if (n % 7 == 0) given.emplace_back("н" + std::to_string(n + 1), -n);
    if (n % 11 == 0) given.emplace_back("", 0);
  }
  given.emplace_back("Я1", 1);
  MarkaClass sorted;
  sorted.Assign(given);
  MarkaClass added;
  for (const auto& [text, key] : given) added.Add(text, key);
  ASSERT_EQ(sorted.Count(), MarkaClass::kCapacity);
  ASSERT_EQ(added.Count(), MarkaClass::kCapacity);
  for (int i = 0; i < added.Count(); ++i) {
    ASSERT_EQ(sorted.At(i).folded, added.At(i).folded) << i;
    ASSERT_EQ(sorted.At(i).key, added.At(i).key) << i;
  }
  EXPECT_EQ(sorted.KeyOf("Я1"), 0) << "given after the index was full";
  EXPECT_FALSE(sorted.Add("Я2", 2));
}

TEST(DesignationIndex, EmptyTextsAreNotDesignations) {
  MarkaClass index;
  EXPECT_FALSE(index.Add("", 5));
  EXPECT_EQ(index.Count(), 0);
}

TEST(DesignationIndex, TextsDifferingInTheirNineteenthCharacterAreTwo) {
  MarkaClass index;
  EXPECT_TRUE(index.Add("ЩР-этаж-2-секция-1А", 1));
  EXPECT_TRUE(index.Add("ЩР-этаж-2-секция-1Б", 2));
}

TEST(DesignationIndex, AddMarkingWritesTheMarkingRecord) {
  testing::ScriptedUiHost ui;
  MemoryFileSystem files;
  dbfClass file(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature));
  file.SetFileName("net.LVN");
  ASSERT_TRUE(file.CreateFile());
  ASSERT_TRUE(file.OpenFile());
  tbClass* markings = file.OpenTable(9, 20);
  MarkaClass index;
  EXPECT_TRUE(index.AddMarking("КЛ-1", 1281, *markings));
  EXPECT_FALSE(index.AddMarking("кл-1", 1537, *markings));
  EXPECT_EQ(markings->Count(), 1);
  markings->Seek(1281);
  ASSERT_EQ(markings->Status(), kStatusOk);
  EXPECT_EQ(ReadCountedString(markings->Record(), 0, 19), "КЛ-1");
  EXPECT_EQ(index.KeyOf("КЛ-1"), 1281);
  file.SetAskToSave(false);
  file.CloseFile();
}

}  // namespace
}  // namespace kordavelt
