#pragma once

// "Состав параметров": the modal table in which the engineer switches the 32
// parameter groups of the scheme labels (column "На схеме") and of the tables
// (column "В таблице", groups 4 … 31). Every click inverts one bit of the
// model's settings at once; the dialog stays open for more. However it is
// closed, the views that depend on the groups are brought along and the
// settings are written, so a change made before Esc is kept.
//
//   ParameterChoiceOwner choice(model);
//   choice.OnObjectsRebuild = [&] { objects.Rebuild(); };
//   choice.Show(schemeCaption);

#include <functional>
#include <string_view>

#include "ui/table_owner.h"

namespace kordavelt {

class modelClass;

class ParameterChoiceOwner : public TableOwner {
 public:
  static constexpr std::string_view kTitle = "Состав параметров";
  static constexpr std::string_view kMenu = "##Применить#";
  static constexpr std::string_view kHeader = "    Наименование параметра    #На схеме#В таблице";
  // The first row with a table column (group 4, "Параметры").
  static constexpr int kFirstTableRow = 5;

  explicit ParameterChoiceOwner(modelClass& model);

  // Shows the table under the scheme window's caption; afterwards calls the
  // hooks and writes the settings block.
  void Show(std::string_view caption);

  // Unbound hooks do nothing. The object window rebuilds the kind it shows
  // at its current record (the table columns of group 5 come and go).
  std::function<void()> OnObjectsRebuild;
  // The main window's second calculation button: enabled exactly when the
  // automatic equipment choice is on (while it shows the calculation picture).
  std::function<void(bool enabled)> OnChoiceButton;

  TableForm& Form() { return form_; }

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;

 private:
  modelClass& model_;
  TableForm form_;
};

}  // namespace kordavelt
