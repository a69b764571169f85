// The results window over a calculated network: its menu reaches every
// table it names, a shown table can be rebuilt from newer results, and a
// table that refuses (unknown, or the cell filling without a selected node)
// leaves the window as it was instead of showing an empty grid.

#include <gtest/gtest.h>

#include <string>

#include "calc/network_sketch.h"
#include "results/result_tables.h"
#include "results/results_window.h"
#include "table/table_driver.h"

namespace kordavelt::testing {
namespace {

class ResultsWindowTest : public NetworkSketch {
 protected:
  ResultsWindowTest() {
    window_.OnShow = [this] { ++shown_; };
  }

  // A source, a breaker and a 100 m cable to a 20 kW receiver: one row of
  // the table of cables and protective devices.
  void Feeder() {
    n1_ = s.m.Node();
    n2_ = s.m.Node();
    n3_ = s.m.Node();
    Source(n1_, 400, 0);
    s.m.Breaker(n1_, n2_);
    Cable(n2_, n3_, 100);
    Load(n3_, Group(20, 0.9));
  }

  int Rows() { return window_.Form().rowCount; }

  ResultsWindow window_{s.calc};
  int shown_ = 0;
  int n1_ = 0, n2_ = 0, n3_ = 0;
};

// A menu id mistyped would give an item that silently shows nothing.
TEST_F(ResultsWindowTest, MenuNamesTablesTheResultsKnow) {
  const auto& items = ResultsWindow::MenuItems();
  // The loads and the cable table both carry F3, as the program has them.
  EXPECT_EQ(items[0].shortcut, "F3");
  EXPECT_EQ(items[1].shortcut, "F3");
  EXPECT_EQ(items.back().caption, "Обновить");
  EXPECT_EQ(items.back().id, ResultsWindow::kRefreshId);
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    EXPECT_NE(MakeResultTable(s.calc, items[i].id), nullptr) << items[i].caption;
  }
}

TEST_F(ResultsWindowTest, ShowBuildsTheTableIntoTheWindowAndShowsIt) {
  Feeder();
  ASSERT_TRUE(window_.Command("Rez"));
  EXPECT_EQ(shown_, 1);
  EXPECT_EQ(window_.Shown(), "Rez");
  EXPECT_EQ(window_.Form().caption, "Таблица расчета кабелей и защитных аппаратов");
  ASSERT_EQ(Rows(), 1);
  // The window's rows come from the table shown.
  TableDriver driver(window_, window_.Form(), s.m.ui);
  EXPECT_EQ(driver.Cell(1, 0), "1");
  EXPECT_EQ(driver.Cell(1, 16), "ВВГ-4*95");
}

// "Обновить" must read the results anew, not repaint the rows of the moment
// the table was first built.
TEST_F(ResultsWindowTest, RefreshRebuildsTheTableShownFromNewerResults) {
  Feeder();
  ASSERT_TRUE(window_.Show("KJur"));
  ASSERT_EQ(Rows(), 1);
  window_.Form().curCol = 3;
  const int n4 = s.m.Node();
  Cable(n3_, n4, 30);
  Load(n4, Group(10, 0.9));
  s.calc.CalcNetwork();
  EXPECT_EQ(Rows(), 1);

  ASSERT_TRUE(window_.Command(ResultsWindow::kRefreshId));
  EXPECT_EQ(window_.Shown(), "KJur");
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(window_.Form().curCol, 3);
  EXPECT_EQ(shown_, 2);
}

// An open table follows a calculation without being shown again, and never
// starts a calculation of its own on the way.
TEST_F(ResultsWindowTest, RebuildFollowsNewResultsQuietlyAndWaitsWhileTheyAreOutOfDate) {
  Feeder();
  EXPECT_FALSE(window_.Rebuild()) << "nothing shown yet";
  ASSERT_TRUE(window_.Show("KJur"));
  const int n4 = s.m.Node();
  Cable(n3_, n4, 30);
  Load(n4, Group(10, 0.9));

  s.calc.SetInvalid(true);
  EXPECT_FALSE(window_.Rebuild());
  EXPECT_TRUE(s.calc.Invalid()) << "the table waits for the engineer's calculation";
  EXPECT_EQ(Rows(), 1);

  s.calc.CalcNetwork();
  EXPECT_TRUE(window_.Rebuild());
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(shown_, 1) << "the window is not brought to the front";
}

TEST_F(ResultsWindowTest, RefusedTablesLeaveTheWindowAsItWas) {
  Feeder();
  EXPECT_FALSE(window_.Refresh());  // nothing shown yet
  ASSERT_TRUE(window_.Show("Rez"));
  const std::string caption = window_.Form().caption;

  EXPECT_FALSE(window_.Show("Nope"));
  // The cell filling works on the scheme's selection; without one it says so.
  EXPECT_FALSE(window_.Command("Cells"));
  EXPECT_EQ(s.LastMessage(), "Результат: Следует выделить узел");
  // The selected node has no connection type: the table names what is missing.
  window_.SelectedNode = [this] { return n2_; };
  EXPECT_FALSE(window_.Command("Cells"));
  EXPECT_EQ(s.LastMessage(), "Результат: Для узла должен быть указан тип присоединения");

  EXPECT_EQ(window_.Shown(), "Rez");
  EXPECT_EQ(window_.Form().caption, caption);
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(shown_, 1);
}

}  // namespace
}  // namespace kordavelt::testing
