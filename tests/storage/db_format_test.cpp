#include "storage/db_format.h"

#include <gtest/gtest.h>

#include <array>

namespace kordavelt::db {
namespace {

using Page = std::array<std::uint8_t, kPageSize>;

// Catches descriptor offsets that drift by one table, and a scratch table
// whose count or root would be written over the end of the header.
TEST(DbFormatHeader, DescriptorsSitAtTheirOffsetsAndTable333KeepsOnlyItsSlotLength) {
  EXPECT_EQ(DescriptorOffset(1), 54u);
  EXPECT_EQ(DescriptorOffset(332), 2040u);
  EXPECT_EQ(DescriptorOffset(333), 2046u);

  Page header{};
  SetSlotLength(header, 333, 38);
  SetDescriptorCount(header, 333, 7);
  SetRootPage(header, 333, 9);
  EXPECT_EQ(header[2046], 38);
  EXPECT_EQ(header[2047], 0);
  EXPECT_EQ(SlotLength(header, 333), 38);
  EXPECT_EQ(DescriptorCount(header, 333), 0);
  EXPECT_EQ(RootPage(header, 333), 0);

  SetSlotLength(header, 332, 14);
  SetDescriptorCount(header, 332, 3);
  SetRootPage(header, 332, 0x1234);
  EXPECT_EQ(header[2040], 14);
  EXPECT_EQ(header[2042], 3);
  EXPECT_EQ(header[2044], 0x34);
  EXPECT_EQ(header[2045], 0x12);
  EXPECT_EQ(SlotLength(header, 333), 38) << "table 332 must not spill into table 333";
  EXPECT_EQ(SlotLength(header, 0), 0);
  EXPECT_EQ(SlotLength(header, 334), 0);
}

// Catches a signature compared without its length byte, so that a longer
// signature starting with the expected one would pass.
TEST(DbFormatHeader, SignatureMatchesOnlyWithItsLengthByte) {
  Page header{};
  PutSignature(header, kModelSignature);
  EXPECT_EQ(header[0], 9);
  EXPECT_TRUE(HasSignature(header, "Brovaskel"));
  EXPECT_FALSE(HasSignature(header, "KdvSpr"));
  EXPECT_FALSE(HasSignature(header, "Brovaske"));
  header[0] = 10;
  EXPECT_FALSE(HasSignature(header, "Brovaskel"));

  header[0] = 255;
  EXPECT_EQ(StoredSignature(header).size(), kMaxSignatureLength);
}

// Catches an off-by-one in the records a data page holds.
TEST(DbFormatDataPage, CapacityFollowsTheSlotLength) {
  EXPECT_EQ(RecordsPerPage(38), 53);
  EXPECT_EQ(RecordsPerPage(8), 256);
  EXPECT_EQ(RecordsPerPage(2048), 1);
  EXPECT_EQ(RecordsPerPage(5), 409);
  EXPECT_EQ(RecordsPerPage(4), 0);
  EXPECT_EQ(RecordsPerPage(2049), 0);
  EXPECT_EQ(RecordsPerPage(-1), 0);
}

// Catches record data handed out past the end of the page.
TEST(DbFormatDataPage, RecordDataStaysInsideThePage) {
  Page page{};
  SetRecordKey(page, 38, 52, -5);
  EXPECT_EQ(RecordKey(page, 38, 52), -5);
  EXPECT_EQ(RecordData(ConstBytes(page), 38, 52).size(), 34u);
  EXPECT_TRUE(RecordData(ConstBytes(page), 38, 53).empty());
  EXPECT_TRUE(RecordData(ConstBytes(page), 3, 0).empty());
}

// Catches a correction applied to the reusable slot, or computed from the
// wrong entry.
TEST(DbFormatIndexPage, StaleCountsAreShiftedToTheRootCount) {
  Page page{};
  InitIndexPage(page, kLevelSecond, 12);
  SetIndexEntryCount(page, 3);
  SetEntry(page, 1, 10, 60, 5);
  SetEntry(page, 2, 20, 70, 6);
  SetEntry(page, 3, 30, 80, 7);
  SetEntryPage(page, 4, 99);  // reusable slot

  EXPECT_EQ(StaleCountDelta(page, 120), 40);
  CorrectStaleCounts(page, 40);
  EXPECT_EQ(EntryCumulative(page, 1), 100);
  EXPECT_EQ(EntryCumulative(page, 2), 110);
  EXPECT_EQ(EntryCumulative(page, 3), 120);
  EXPECT_EQ(EntryPage(page, 4), 99);
  EXPECT_EQ(EntryCumulative(page, 4), 0);
  EXPECT_EQ(IndexTable(page), 12);
  EXPECT_EQ(IndexLevel(page), kLevelSecond);
}

// Catches a reusable slot read from entry 256, which lies past the page.
TEST(DbFormatIndexPage, ReusableSlotFollowsTheLastEntry) {
  Page page{};
  InitIndexPage(page, kLevelOneLevelRoot, 1);
  SetIndexEntryCount(page, 2);
  SetEntryPage(page, 3, 44);
  EXPECT_EQ(ReusablePage(page), 44);
  SetIndexEntryCount(page, 255);
  EXPECT_EQ(ReusablePage(page), 0);
  EXPECT_EQ(EntryOffset(255), 2040u);
}

}  // namespace
}  // namespace kordavelt::db
