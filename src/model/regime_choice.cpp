// modelClass::ChooseRegime: the table of the eight switching regimes. A
// named row is chosen, an empty row takes a name (and is then chosen), a
// deleted row loses its name.

#include <string>

#include "model/model_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

class RegimeTable : public TableOwner {
 public:
  explicit RegimeTable(ModelSettings& settings) : settings_(settings) {}

  void OnLine(TableForm& form) override {
    const int regime = form.lineNo - 1;
    const std::string name = settings_.RegimeName(regime);
    form.line = std::to_string(form.lineNo) + "#" + name;
    // Only an empty row takes typed text; a named one is chosen by a commit.
    if (form.editCodes.size() > 1) form.editCodes[1] = name.empty() ? 'T' : 'X';
  }

  bool HasEdit() const override { return true; }

  void OnEdit(TableForm& form) override {
    const int regime = form.curRow - 1;
    if (regime < 0 || regime >= modelClass::kRegimeCount) return;
    if (settings_.RegimeName(regime).empty() && !form.editText.empty()) {
      settings_.SetRegimeName(regime, form.editText);
    }
    if (settings_.RegimeName(regime).empty()) return;
    chosen_ = regime;
    form.refresh = Refresh::CloseWindow;
  }

  void OnDelete(TableForm& form) override {
    const int regime = form.curRow - 1;
    if (regime >= 0 && regime < modelClass::kRegimeCount) settings_.SetRegimeName(regime, "");
    form.refresh = Refresh::All;
  }

  int Chosen() const { return chosen_; }

 private:
  ModelSettings& settings_;
  int chosen_ = -1;
};

}  // namespace

void modelClass::ChooseRegime() {
  if (!Usable()) return;
  RegimeTable table(settings_);
  TableForm form;
  form.caption = "Переключение режимов схемы";
  form.head1 = " № #     Наименование режима     ";
  form.displayCodes = "CC";
  form.editCodes = "XT";
  form.rowCount = kRegimeCount;
  form.curRow = regime_ + 1;
  const bool ok = Ui().ShowTableDialog(table, form, "#Правка#Выбрать#Отмена");
  int chosen = table.Chosen();
  // "Выбрать" on a named row chooses it as a commit would.
  if (chosen < 0 && ok && form.curRow >= 1 && form.curRow <= kRegimeCount &&
      !settings_.RegimeName(form.curRow - 1).empty()) {
    chosen = form.curRow - 1;
  }
  if (chosen >= 0) {
    SetRegime(chosen);
    Notify({.kind = ModelEventKind::RegimeChanged});
  }
  ShowStatus();
}

}  // namespace kordavelt
