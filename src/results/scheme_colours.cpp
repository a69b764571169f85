#include "results/scheme_colours.h"

#include <string_view>

#include "base/math_box.h"
#include "base/number_list.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "results/calculated_records.h"

namespace kordavelt {
namespace {

// Working voltage against the nominal one (mode 4) and load factor (mode 5):
// the bands whose colours the settings keep, nearest value taken.
constexpr std::string_view kDeviationBands = "0.8#0.85#0.9#0.95#1#1.05#1.1#1.15#1.2";
constexpr std::string_view kLoadBands = "0.2#0.5#0.75#0.9#1#1.1#1.25#1.5#2";

Color FromSetting(std::int32_t colourRef) {
  return Color::FromColorRef(static_cast<std::uint32_t>(colourRef));
}

Color VoltageColour(const ModelSettings& settings, int index, const SchemePalette& palette) {
  if (index < 0 || index >= ModelSettings::kVoltageCount) return palette.standard;
  return FromSetting(settings.VoltageBandColour(index));
}

Color SourceColour(modelClass& model, int source, const SchemePalette& palette) {
  if (!modelClass::SeekExact(model.Sources(), source)) return palette.standard;
  return FromSetting(SourceRec(model.Sources()->Record()).Colour());
}

Color RoomColour(modelClass& model, int room, const SchemePalette& palette) {
  if (room == 0 || !modelClass::SeekExact(model.Rooms(), room)) return palette.standard;
  return FromSetting(RoomRec(model.Rooms()->Record()).Color());
}

Color DeviationColour(modelClass& model, int node, int index, const SchemePalette& palette) {
  const ModelSettings& settings = model.Settings();
  const ElementRec* feeder = CurrentFeederRecord(model, node);
  if (feeder == nullptr || !(feeder->uWork < kNotComputed)) return palette.standard;
  if (index < 0 || index >= ModelSettings::kVoltageCount) return palette.standard;
  double nominal = settings.NominalVoltage(index);
  if (CarriesOnePhase(*feeder)) nominal *= 0.57735;
  if (!(nominal > 0)) return palette.standard;
  const int band = NearestIndex(kDeviationBands, feeder->uWork / nominal);
  return FromSetting(settings.DeviationBandColour(band - 1));
}

Color BandColourOfLoad(const ModelSettings& settings, const ElementRec& element) {
  const int band = NearestIndex(kLoadBands, element.loadFactor);
  return FromSetting(settings.LoadBandColour(band - 1));
}

}  // namespace

Color NodeColour(modelClass& model, int node, const SchemePalette& palette) {
  if (!modelClass::SeekExact(model.Nodes(), node)) return palette.offline;
  const NodeRec record(model.Nodes()->Record());
  const int index = record.Unom();
  const int room = record.CodRoom();
  const int source = model.FeedingSource(model.Nodes()->RecordNumber());
  if (source == 0) return palette.offline;
  switch (model.Settings().ColouringMode()) {
    case kColourByVoltage:
      return VoltageColour(model.Settings(), index, palette);
    case kColourBySource:
      return SourceColour(model, source, palette);
    case kColourByRoom:
      return RoomColour(model, room, palette);
    case kColourByDeviation:
      return DeviationColour(model, node, index, palette);
    default:
      return palette.standard;
  }
}

BranchEndColours BranchColours(modelClass& model, std::int32_t key, const SchemePalette& palette) {
  if (!modelClass::SeekExact(model.Branches(), key)) return {palette.standard, palette.standard};
  const BranchRec branch(model.Branches()->Record());
  const std::int32_t keyEnd = branch.KeyEnd();
  const bool switchedOn = BitTest(branch.Status(), model.Regime());
  if (!switchedOn || BranchRecord(model, key) == nullptr) {
    return {palette.offline, palette.offline};
  }
  const int mode = model.Settings().ColouringMode();
  if (mode == kColourByLoad || mode == kColourByConditions) {
    const ElementRec* element = CurrentBranchRecord(model, key);
    Color colour = palette.standard;
    if (element != nullptr && mode == kColourByLoad) {
      colour = BandColourOfLoad(model.Settings(), *element);
    } else if (element != nullptr && element->violations != 0) {
      colour = palette.highlight;
    }
    return {colour, colour};
  }
  const Color start = NodeColour(model, NodeOfKey(key), palette);
  return {start, keyEnd != 0 ? NodeColour(model, NodeOfKey(keyEnd), palette) : start};
}

}  // namespace kordavelt
