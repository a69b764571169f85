// Lengths typed into an exported cable journal come back to the line
// elements they name, and to nothing else: a row aimed at a breaker, an
// unknown key or a foreign section must leave the model as it was.

#include "model/cable_lengths_import.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "exchange/get_class.h"
#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/object_records.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;

int ImportJournal(ModelBuilder& m, std::string_view text) {
  const std::string bytes = Utf8ToCp1251(text);
  m.files.Put("/in/KJur.CSV", {bytes.begin(), bytes.end()});
  GetClass get(m.ui, m.files);
  EXPECT_TRUE(get.OpenPath("/in/KJur.CSV", ImportVariant::Csv));
  return ReadCableLengths(m.model, get);
}

float LengthOf(ModelBuilder& m, int kind, std::int32_t key) {
  tbClass* table = m->OpenObjectTable(kind);
  EXPECT_TRUE(modelClass::SeekExact(table, key));
  switch (kind) {
    case kKindCableLine:
      return CableLineRec(table->Record()).L();
    case kKindOverheadLine:
      return OverheadLineRec(table->Record()).L();
    default:
      return WiringRec(table->Record()).L();
  }
}

TEST(CableLengthsImportTest, RowsSetTheLengthsOfTheLinesTheyName) {
  ModelBuilder m;
  m.Nodes(7);
  const std::int32_t cable = m.Cable(7, 1, 95, 10);
  const std::int32_t cable2 = m.Cable(7, 2, 95, 10);
  const std::int32_t line = m.Branch(kKindOverheadLine, 7, 3);
  const std::int32_t breaker = m.Breaker(7, 4);
  ASSERT_EQ(cable2, BranchKey(7, 2));
  ASSERT_TRUE(m->Designations().AddMarking("ВЛ-3", line, *m->Markings()));

  const int set = ImportJournal(m,
                                "#KJur,From,To,Name,Marka\r\n"
                                "1,7,1,,7.1,,,,,,42.5\r\n"
                                "2,7,2,,7.2,,,,,,60\r\n"
                                "3,7,3,,ВЛ-3,,,,,,310\r\n"
                                "4,7,4,,7.4,,,,,,99\r\n"
                                "5,7,9,,9.9,,,,,,99\r\n");
  EXPECT_EQ(set, 3);
  EXPECT_EQ(LengthOf(m, kKindCableLine, cable), 42.5f);
  EXPECT_EQ(LengthOf(m, kKindCableLine, cable2), 60.0f);
  EXPECT_EQ(LengthOf(m, kKindOverheadLine, line), 310.0f);
  EXPECT_TRUE(modelClass::SeekExact(m->Branches(), breaker));
}

TEST(CableLengthsImportTest, AForeignSectionEndsTheImport) {
  ModelBuilder m;
  m.Nodes(2);
  const std::int32_t cable = m.Cable(1, 2, 95, 10);
  const int set = ImportJournal(m,
                                "#Rez,a,b\r\n"
                                "1,1,2,,1.1,,,,,,77\r\n"
                                "#KJur,From\r\n"
                                "1,1,2,,1.1,,,,,,88\r\n");
  EXPECT_EQ(set, 0);
  EXPECT_EQ(LengthOf(m, kKindCableLine, cable), 10.0f);
}

}  // namespace
}  // namespace kordavelt
