// The subscheme records. Guards against a model without page records that
// shows no page, a page view that comes back different from how it was
// left, a damaged record whose zoom breaks the window, and a new page
// number beyond 255.

#include "scheme/scheme_pages.h"

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

class SchemePagesTest : public ::testing::Test {
 protected:
  tbClass* pages() { return m->OpenSchemeTable(kXYPageTable); }
  testing::ModelBuilder m;
};

TEST_F(SchemePagesTest, ANewModelGetsTheMainPageAtOneHundredPercentOnce) {
  EXPECT_FALSE(ReadPage(pages(), kMainPage, 16).found);
  EXPECT_TRUE(EnsureMainPage(pages()));
  EXPECT_FALSE(EnsureMainPage(pages()));
  EXPECT_EQ(pages()->Count(), 1);
  const PageRecord page = ReadPage(pages(), kMainPage, 16);
  EXPECT_TRUE(page.found);
  EXPECT_EQ(page.name, "Главная");
  EXPECT_EQ(page.view, (ViewState{0, 0, 16, 0}));
  EXPECT_EQ(ZoomPercent(page.view.step, 16), 100);
  EXPECT_EQ(PageNumbers(pages()), std::vector<int>{1});
}

TEST_F(SchemePagesTest, TheViewLeftOnAPageComesBackAndSurvivesAReopen) {
  EnsureMainPage(pages());
  EXPECT_TRUE(WritePageView(pages(), kMainPage, ViewState{-40, 32767, 9, 3}));
  EXPECT_TRUE(WriteStampSize(pages(), kMainPage, 2));
  ASSERT_TRUE(m.Reopen());
  const PageRecord page = ReadPage(pages(), kMainPage, 16);
  EXPECT_EQ(page.view, (ViewState{-40, 32767, 9, 3}));
  EXPECT_EQ(page.stampSize, 2);
  EXPECT_FALSE(WritePageView(pages(), 7, ViewState{}));
}

TEST_F(SchemePagesTest, ADamagedPageRecordReadsWithinBounds) {
  EnsureMainPage(pages());
  pages()->Seek(kMainPage);
  XYPageRec record(pages()->Record());
  record.SetSt(-7);
  record.SetScale(300);
  record.SetStampSize(9);
  pages()->MarkModifiedAndFlush();
  const PageRecord page = ReadPage(pages(), kMainPage, 14);
  EXPECT_EQ(page.view.step, 14);
  EXPECT_EQ(page.view.scale, 0);
  EXPECT_EQ(page.stampSize, 0);
}

TEST(SchemePageNumbers, ANewPageTakesTheNextNumberThenTheFirstFreeOne) {
  EXPECT_EQ(NewPageNumber(std::vector<int>{}), 1);
  EXPECT_EQ(NewPageNumber(std::vector<int>{1, 2, 7}), 8);
  EXPECT_EQ(NewPageNumber(std::vector<int>{1, 3, 255}), 2);
  std::vector<int> all;
  for (int page = 1; page <= 255; ++page) all.push_back(page);
  EXPECT_EQ(NewPageNumber(all), 0);
}

}  // namespace
}  // namespace kordavelt
