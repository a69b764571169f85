// Reading the geometry of a model for a redraw and writing the repairs back
// after painting. Guards against a redraw that writes into the model while
// it draws, repairs that never reach the file (reported again at every
// redraw) and deletions that hit the wrong record.

#include "scheme/geometry_store.h"

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

class GeometryStoreTest : public ::testing::Test {
 protected:
  tbClass* nodes() { return m->OpenSchemeTable(kXYNodeTable); }
  tbClass* branches() { return m->OpenSchemeTable(kXYBranchTable); }

  void AddNode(std::int32_t key, int page) {
    nodes()->Insert(key);
    XYNodeRec record(nodes()->Record());
    record.SetX(3);
    record.SetL(4);
    record.SetPage(static_cast<std::uint8_t>(page));
    nodes()->MarkModifiedAndFlush();
  }
  void AddBranch(std::int32_t key, int nxy, std::int16_t first = 0, std::int16_t third = 5) {
    branches()->Insert(key);
    XYBranchRec record(branches()->Record());
    record.SetXy(0, first);
    record.SetXy(2, third);
    record.SetNxy(static_cast<std::uint8_t>(nxy));
    record.SetPage(1);
    branches()->MarkModifiedAndFlush();
  }
  std::uint8_t NxyOf(std::int32_t key) {
    branches()->Seek(key);
    return XYBranchRec(branches()->Record()).Nxy();
  }

  testing::ModelBuilder m;
  RepairLog log;
};

TEST_F(GeometryStoreTest, ReadingRepairsInMemoryAndSavingWritesTheRepairs) {
  AddNode(5, 0);
  AddBranch(1281, 0);
  AddBranch(1282, 1);

  const CheckedGeometry read = ReadGeometry(nodes(), branches(), log);
  ASSERT_EQ(read.nodes.size(), 1u);
  ASSERT_EQ(read.branches.size(), 2u);
  EXPECT_EQ(read.nodes[0].page, 1);
  EXPECT_EQ(read.branches[0].nxy, 1);
  EXPECT_EQ(NxyOf(1281), 0) << "the redraw wrote into the model";
  EXPECT_EQ(log.TakePending(), std::vector<std::string>{"Ветвь с кодом 1281 нарисована плохо"});

  EXPECT_EQ(SaveRepairs(nodes(), branches(), read), 2);
  EXPECT_EQ(NxyOf(1281), 1);
  nodes()->Seek(5);
  EXPECT_EQ(XYNodeRec(nodes()->Record()).Page(), 1);

  const CheckedGeometry again = ReadGeometry(nodes(), branches(), log);
  EXPECT_FALSE(again.HasRepairs());
}

TEST_F(GeometryStoreTest, RecordsUnderKeyZeroAreDeletedAndNoOther) {
  AddNode(0, 1);
  AddNode(7, 1);
  AddBranch(0, 1);
  AddBranch(0, 1);
  AddBranch(1793, 1);

  const CheckedGeometry read = ReadGeometry(nodes(), branches(), log);
  EXPECT_EQ(read.droppedNodeRecords.size(), 1u);
  EXPECT_EQ(read.droppedBranchRecords.size(), 2u);
  EXPECT_EQ(read.branches.size(), 1u);
  EXPECT_EQ(SaveRepairs(nodes(), branches(), read), 3);
  EXPECT_EQ(nodes()->Count(), 1);
  EXPECT_EQ(branches()->Count(), 1);
  branches()->GoTo(1);
  EXPECT_EQ(branches()->Key(), 1793);
}

}  // namespace
}  // namespace kordavelt
