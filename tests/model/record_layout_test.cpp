// The record layouts as data: that they describe every byte of every model
// table exactly once, and how a field is shown as text. The dump, the
// exchange and the view checks all walk these tables.

#include "model/record_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "model/model_tables.h"

namespace kordavelt {
namespace {

// Catches a table left out of the registry or given the wrong data length,
// and a layout whose fields leave a gap, overlap, or run past the record.
TEST(RecordLayout, EveryModelTableHasALayoutThatCoversItsRecordExactly) {
  const std::map<int, int> expected = {
      {kSettingsBlock, kSettingsLength},
      {kNodeTable, kNodeLength},
      {kBranchTable, kBranchLength},
      {kFarEndTable, kFarEndLength},
      {kSourceTable, kSourceLength},
      {kReceiverTable, kReceiverLength},
      {kGroupTable, kGroupLength},
      {kRoomTable, kRoomLength},
      {kMarkingTable, kMarkingLength},
      {kNameTable, kNameLength},
      {kAbstractBranchTable, kAbstractBranchLength},
      {kCableLineTable, kCableLineLength},
      {kWiringTable, kWiringLength},
      {kOverheadLineTable, kOverheadLineLength},
      {kTrunkingTable, kTrunkingLength},
      {kBusbarTrunkingTable, kBusbarTrunkingLength},
      {kProtectiveDeviceTable, kProtectiveDeviceLength},
      {kBreakerTable, kBreakerLength},
      {kFuseTable, kFuseLength},
      {kCurrentRelayTable, kTypeOnlyLength},
      {kSwitchTable, kTypeOnlyLength},
      {kStarterTable, kStarterLength},
      {kTransformerTable, kTransformerLength},
      {kStabiliserTable, kTypeOnlyLength},
      {kReactorTable, kTypeOnlyLength},
      {kCurrentTransformerTable, kTypeOnlyLength},
      {kCapacitorBankTable, kCapacitorBankLength},
      {kSocketsTable, kSocketsLength},
      {kGeneratorTable, kGeneratorLength},
      {kSourceObjectTable, kSourceObjectLength},
      {kReceiverObjectTable, kReceiverObjectLength},
      {kEquivalentMotorTable, kEquivalentMotorLength},
      {kXYNodeTable, kXYNodeLength},
      {kXYBranchTable, kXYBranchLength},
      {kXYPageTable, kXYPageLength},
  };
  std::map<int, int> found;
  for (int table = -1; table <= 334; ++table) {
    const RecordLayout* layout = ModelTableLayout(table);
    if (layout == nullptr) continue;
    SCOPED_TRACE("table " + std::to_string(table));
    EXPECT_EQ(layout->table, table);
    EXPECT_FALSE(layout->name.empty());
    found[table] = layout->dataLength;

    std::vector<FieldDef> fields(layout->fields.begin(), layout->fields.end());
    std::ranges::sort(fields, {}, &FieldDef::offset);
    int end = 0;
    std::set<std::string_view> names;
    for (const FieldDef& field : fields) {
      EXPECT_EQ(field.offset, end)
          << field.name << (field.offset < end ? " overlaps" : " leaves a gap");
      EXPECT_GT(FieldWidth(field), 0) << field.name;
      EXPECT_TRUE(field.name == "unused" || names.insert(field.name).second)
          << "two fields named " << field.name;
      end = field.offset + FieldWidth(field);
    }
    EXPECT_EQ(end, layout->dataLength) << "the fields end short of or past the record";
  }
  EXPECT_EQ(found, expected);
}

// Catches a sign lost, a float shown with too many digits or as its bits, a
// string not decoded from code page 1251, and a raw span not in hexadecimal.
TEST(RecordLayout, FieldTextShowsEachTypeAsTheProgramWritesIt) {
  const std::vector<std::uint8_t> record = {
      0xFB,                    // 0: -5 as I8, 251 as U8
      0x2E, 0xFB,              // 1: -1234 as I16, 64302 as U16
      0xEB, 0x32, 0xA4, 0xF8,  // 3: -123456789
      0x00, 0x00, 0xC8, 0x3F,  // 7: 1.5625f
      0x03, 0xD9, 0xE5, 0xF5,  // 11: string[4] of length 3
      0x01, 0xAB,              // 15: raw
  };
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::I8}), "-5");
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::U8}), "251");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::I16}), "-1234");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::U16}), "64302");
  EXPECT_EQ(FieldText(record, {"a", 3, FieldType::I32}), "-123456789");
  EXPECT_EQ(FieldText(record, {"a", 7, FieldType::F32}), "1.5625");
  EXPECT_EQ(FieldText(record, {"a", 11, FieldType::String, 4}), "Щех");
  EXPECT_EQ(FieldText(record, {"a", 15, FieldType::Raw, 2}), "01AB");
}

// Catches a field of a damaged, short record read past the record's end.
TEST(RecordLayout, FieldTextOfAFieldPastAShortRecordShowsWhatIsThere) {
  const std::vector<std::uint8_t> record = {0x05, 0xC0, 0xC1};
  EXPECT_EQ(FieldText(record, {"a", 2, FieldType::I32}), "0");
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::String, 19}), "АБ");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::Raw, 112}), "C0C1");
  EXPECT_EQ(FieldText(record, {"a", 9, FieldType::Raw, 4}), "");
  EXPECT_EQ(FieldText(record, {"a", 9, FieldType::String, 4}), "");
}

}  // namespace
}  // namespace kordavelt
