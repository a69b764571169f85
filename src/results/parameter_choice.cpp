#include "results/parameter_choice.h"

#include <string>

#include "draw/picture_string.h"
#include "model/model_class.h"
#include "results/label_groups.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr int kSchemeColumn = 1;
constexpr int kTableColumn = 2;

std::string CheckBox(bool checked) { return std::string(checked ? kCheckedBox : kUncheckedBox); }

}  // namespace

ParameterChoiceOwner::ParameterChoiceOwner(modelClass& model) : model_(model) {
  form_.title = std::string(kTitle);
  form_.head1 = std::string(kHeader);
  form_.displayCodes = "LCC";
  form_.editCodes = "XXX";
  form_.rowCount = kLabelGroupCount;
}

void ParameterChoiceOwner::Show(std::string_view caption) {
  form_.caption = std::string(caption);
  form_.curRow = 1;
  form_.curCol = kSchemeColumn;
  model_.Ui().ShowTableDialog(*this, form_, kMenu);
  if (OnObjectsRebuild) OnObjectsRebuild();
  if (OnChoiceButton) OnChoiceButton(model_.Settings().AutoChoice());
  model_.WriteSettings();
}

void ParameterChoiceOwner::OnLine(TableForm& form) {
  const int group = form.lineNo - 1;
  const ModelSettings& settings = model_.Settings();
  form.line = std::string(LabelGroupCaption(group)) + "#" +
              CheckBox(SchemeGroups(settings).Has(group)) + "#";
  if (form.lineNo >= kFirstTableRow) {
    form.line += CheckBox(TableGroups(settings).Has(group));
    form.editCodes = "XXX";
  } else {
    form.editCodes = "XXZ";
  }
}

void ParameterChoiceOwner::OnEdit(TableForm& form) {
  const int group = form.curRow - 1;
  if (group < 0 || group >= kLabelGroupCount) return;
  ModelSettings& settings = model_.Settings();
  if (form.curCol == kSchemeColumn) {
    settings.SetSchemeParameterGroups(
        static_cast<std::int32_t>(SchemeGroups(settings).Toggled(group).Bits()));
  } else if (form.curCol == kTableColumn && form.curRow >= kFirstTableRow) {
    settings.SetTableParameterGroups(
        static_cast<std::int32_t>(TableGroups(settings).Toggled(group).Bits()));
  } else {
    return;
  }
  form.refresh = Refresh::CurrentRow;
}

}  // namespace kordavelt
