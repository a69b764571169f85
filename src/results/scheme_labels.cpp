#include "results/scheme_labels.h"

#include "base/math_box.h"
#include "base/number_format.h"
#include "model/designations.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "results/calculated_records.h"
#include "results/label_groups.h"
#include "results/label_values.h"

namespace kordavelt {
namespace {

// The node's number, marking and name, by groups 0, 1 and 2.
std::string NodeIdentifiers(modelClass& model, int node, int nameKey, LabelGroups groups) {
  std::string text;
  if (groups.Has(kGroupNodeNumbers)) text = FormatNumber(node);
  if (groups.Has(kGroupMarkings)) {
    const std::string marking = MarkingText(model, NodeMarkingCode(node));
    if (!marking.empty()) text += "#" + marking;
  }
  if (groups.Has(kGroupNames) && nameKey != 0 && modelClass::SeekExact(model.Names(), nameKey)) {
    const std::string name = NameRec(model.Names()->Record()).Text();
    if (!name.empty()) text += "#" + name;
  }
  return text;
}

// The middle fault point of a cable line's labels, m: the non-ignition
// position of the settings for its voltage, at most the line's length.
double CablePoint(modelClass& model, std::int32_t key, const ElementRec& element) {
  const ModelSettings& settings = model.Settings();
  double point = element.unom >= 1000 ? settings.IgnitionFaultPositionAbove1kV()
                                      : settings.IgnitionFaultPositionBelow1kV();
  tbClass* lines = model.OpenObjectTable(kKindCableLine);
  if (modelClass::SeekExact(lines, key)) {
    const double length = CableLineRec(lines->Record()).L();
    if (point > length) point = length;
  }
  return point;
}

}  // namespace

NodeLabel NodeText(modelClass& model, int node, const SchemePalette& palette) {
  NodeLabel label{FormatNumber(node), palette.standard};
  if (!modelClass::SeekExact(model.Nodes(), node)) return label;
  const NodeRec record(model.Nodes()->Record());
  const int nameKey = record.KeyName();
  const std::int16_t x = record.X(), y = record.Y(), z = record.Z();
  if (model.FeedingSource(model.Nodes()->RecordNumber()) == 0) return label;

  label.colour = NodeColour(model, node, palette);
  const LabelGroups groups = SchemeGroups(model.Settings());
  label.text = NodeIdentifiers(model, node, nameKey, groups);
  const ElementRec* feeder = CurrentFeederRecord(model, node);
  if (feeder == nullptr || !(feeder->unom > 0)) return label;

  label.text += NodeValueText(*feeder, groups, model.Settings().ComplexForm());
  if (groups.Has(kGroupCoordinates)) {
    label.text += "#XYZ=" + FormatNumber(x) + "/" + FormatNumber(y) + "/" + FormatNumber(z);
  }
  // Only a label that reached its values loses a leading '#'.
  if (!label.text.empty() && label.text.front() == '#') label.text.erase(0, 1);
  return label;
}

BranchLabel BranchText(modelClass& model, std::int32_t key, std::string_view objectLabel,
                       const SchemePalette& palette) {
  BranchLabel label{std::string(objectLabel), {palette.standard, palette.standard}, false, 1};
  if (!modelClass::SeekExact(model.Branches(), key)) return label;
  const BranchRec branch(model.Branches()->Record());
  const int kind = branch.Kind();
  label.switchedOn = BitTest(branch.Status(), model.Regime());
  label.colours = BranchColours(model, key, palette);
  if (!label.switchedOn) return label;
  const ElementRec* element = CurrentBranchRecord(model, key);
  if (element == nullptr) return label;

  if (kind == kKindGenerator || kind == kKindPowerSource || element->signedKey < 0) {
    label.direction = -1;
  }
  BranchValueOptions options;
  options.kind = kind;
  options.groups = SchemeGroups(model.Settings());
  options.complexForm = model.Settings().ComplexForm();
  if (kind == kKindCableLine) options.cablePointM = CablePoint(model, key, *element);
  label.text += BranchValueText(*element, options);
  return label;
}

}  // namespace kordavelt
