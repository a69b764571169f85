// Lookups of a drawing by key and page. A node drawn on two subschemes has
// two records under one number; a lookup by number alone finds the first
// and shows, moves or deletes the busbar of the other page.

#include "scheme/geometry_lookup.h"

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

TEST(GeometryLookup, ANodeOnTwoPagesIsFoundOnEachByItsPage) {
  testing::ModelBuilder m;
  tbClass* nodes = m->OpenSchemeTable(kXYNodeTable);
  struct Drawn {
    int key, page, x;
  };
  for (const Drawn& d : {Drawn{4, 1, 10}, Drawn{5, 1, 20}, Drawn{5, 3, 30}, Drawn{6, 3, 40}}) {
    nodes->Insert(d.key);
    XYNodeRec record(nodes->Record());
    record.SetX(static_cast<std::int16_t>(d.x));
    record.SetPage(static_cast<std::uint8_t>(d.page));
    nodes->MarkModifiedAndFlush();
  }
  ASSERT_TRUE(SeekOnPage(nodes, 5, 3));
  EXPECT_EQ(XYNodeRec(nodes->Record()).X(), 30);
  ASSERT_TRUE(SeekOnPage(nodes, 5, 1));
  EXPECT_EQ(XYNodeRec(nodes->Record()).X(), 20);
  EXPECT_FALSE(SeekOnPage(nodes, 5, 2));
  EXPECT_FALSE(SeekOnPage(nodes, 6, 1));
  EXPECT_FALSE(SeekOnPage(nullptr, 5, 1));
  EXPECT_EQ(PagesOf(nodes, 5), (std::vector<int>{1, 3}));
  EXPECT_TRUE(PagesOf(nodes, 9).empty());
}

}  // namespace
}  // namespace kordavelt
