// The model's record layouts as data: that they describe every byte of every
// model table exactly once. The dump, the exchange and the view checks all
// walk these tables.

#include "model/model_layouts.h"

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

}  // namespace
}  // namespace kordavelt
