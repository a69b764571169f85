// Designations must be unique whatever the letter case; an index that tells
// "Щ1" from "щ1" lets two busbars carry one name, and one that confuses two
// names refuses a designation the engineer needs.

#include "model/marka_class.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(index.Entries()[0].text, "КЛ-1");
  EXPECT_EQ(index.Entries()[3].text, "ТП-1");
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
