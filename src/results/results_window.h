#pragma once

// ResultsWindow: the owner of the results window. The window shows one
// result table at a time — the loads of the sources, the table of cables and
// protective devices, the cable journal, the cell filling of the node
// selected on the scheme, the consumers' coordinates or the heat release —
// chosen from its own menu; "Обновить" builds the table shown again from the
// current results.
//
//   ResultsWindow results(calc);
//   results.SelectedNode = [&scheme] { return scheme.CurrentNode(); };
//   results.OnShow = [&window] { window.show(); };
//   results.Command("KJur");   // the window now shows the cable journal
//
// A table that has nothing to show gives its message and leaves the window
// with the table it had.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "results/result_tables.h"
#include "ui/table_owner.h"

namespace kordavelt {

class CalcClass;

// An item of the window's menu. `id` is the table it shows, or
// ResultsWindow::kRefreshId for "Обновить".
struct ResultsMenuItem {
  std::string_view caption;
  std::string_view shortcut;  // empty: none
  std::string_view id;
};

class ResultsWindow : public TableOwner {
 public:
  static constexpr std::string_view kRefreshId = "Refresh";

  explicit ResultsWindow(CalcClass& calc);

  // The menu in its order. "&Нагрузки ИП" and "&Таблица расчетов" both carry
  // F3, as the program has always had them; a toolkit that refuses a
  // shortcut twice may leave it off the second item.
  static const std::array<ResultsMenuItem, 7>& MenuItems();

  // A menu item: kRefreshId rebuilds the table shown, any other id shows
  // that table. False when nothing was shown.
  bool Command(std::string_view id);
  // Builds table `id` (see MakeResultTable) into the window's form and
  // shows the window. The cell filling ("Cells") with argument 0 works on
  // the node SelectedNode gives. False, with the window unchanged, for an
  // unknown id or a table that gave its message instead.
  bool Show(std::string_view id, int argument = 0);
  // Builds the table shown again, keeping the current cell where it still
  // exists. False when no table is shown or it refused.
  bool Refresh();
  // The same without showing the window, for a window that follows the
  // model: after a calculation, an edit elsewhere or a new number format.
  // A table that reads results is left as it is while they are out of date,
  // since building it would start a calculation the engineer did not ask for.
  bool Rebuild();

  // The id of the table shown; empty before the first one.
  const std::string& Shown() const { return shownId_; }
  TableForm& Form() { return form_; }

  // The node selected on the scheme, 0 when none (unbound: none).
  std::function<int()> SelectedNode;
  // A table was built: the window shows itself and lays its grid out anew.
  std::function<void()> OnShow;

  // The callbacks of the table shown.
  void OnLine(TableForm& form) override;
  bool HasEdit() const override;
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;
  void OnCopyLine(TableForm& form) override;
  bool HasPasteLine() const override;
  void OnPasteLine(TableForm& form) override;

 private:
  // The table into the form, without showing the window.
  bool Build(std::string_view id, int argument);
  // The table shown built again in place, keeping the current cell.
  bool BuildAgain();

  CalcClass& calc_;
  TableForm form_;
  std::unique_ptr<ResultTable> table_;
  std::string shownId_;
  int shownArgument_ = 0;  // as Show was given it: 0 for the selected node
};

}  // namespace kordavelt
