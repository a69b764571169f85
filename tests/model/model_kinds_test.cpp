// Every later part picks object tables and captions from the kind table; one
// wrong row sends a kind's objects to another kind's table.

#include "model/model_kinds.h"

#include <gtest/gtest.h>

#include "base/dial_list.h"
#include "model/model_layouts.h"

namespace kordavelt {
namespace {

TEST(ObjectKinds, ListPositionsFollowTheCaptionList) {
  const auto& kinds = ObjectKinds();
  for (int i = 0; i < kKindCount; ++i) {
    EXPECT_EQ(kinds[static_cast<std::size_t>(i)].position, i);
    EXPECT_EQ(kinds[static_cast<std::size_t>(i)].caption, ListItem(KindCaptionList(), i));
  }
  EXPECT_EQ(ListCount(KindCaptionList()), kKindCount);
}

TEST(ObjectKinds, ObjectsLiveInTableHundredPlusTheirCode) {
  for (const ObjectKind& kind : ObjectKinds()) {
    if (kind.code == kKindNode) {
      EXPECT_EQ(kind.table, 2);
    } else if (kind.code == kKindLighting) {
      EXPECT_EQ(kind.table, 0) << "lighting keeps no objects";
      EXPECT_EQ(ObjectTableOfKind(kind.code), 0);
    } else {
      EXPECT_EQ(kind.table, 100 + kind.code) << kind.caption;
      EXPECT_EQ(ObjectTableOfKind(kind.code), kind.table);
    }
  }
}

TEST(ObjectKinds, DataLengthsAreThoseOfTheObjectRecords) {
  EXPECT_EQ(KindOfCode(kKindCableLine)->dataLength, 20);
  EXPECT_EQ(KindOfCode(kKindProtectiveDevice)->dataLength, 157);
  EXPECT_EQ(KindOfCode(kKindPowerSource)->dataLength, 132);
  EXPECT_EQ(KindOfCode(kKindTransformer)->dataLength, 29);
  EXPECT_EQ(KindOfCode(kKindEquivalentMotor)->dataLength, 40);
}

TEST(ObjectKinds, DataLengthsAgreeWithTheRecordLayouts) {
  for (const ObjectKind& kind : ObjectKinds()) {
    if (kind.table == 0) continue;
    const RecordLayout* layout = ModelTableLayout(kind.table);
    ASSERT_NE(layout, nullptr) << kind.caption;
    EXPECT_EQ(layout->dataLength, kind.dataLength) << kind.caption;
  }
}

TEST(ObjectKinds, CodesOfTheCalculationAreNoKinds) {
  for (int code : {0, 1, 41, 42, 54, 55, 255}) EXPECT_EQ(KindOfCode(code), nullptr) << code;
  EXPECT_EQ(ObjectTableOfKind(41), 0);
}

}  // namespace
}  // namespace kordavelt
