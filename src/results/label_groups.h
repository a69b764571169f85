#pragma once

// The 32 parameter groups of the scheme labels: which identifiers and
// calculation results the scheme writes beside nodes and branches. The
// engineer switches them in "Состав параметров"; the model keeps two sets of
// them in its settings, one for the scheme and one for the tables (of which
// only the coordinates are read). Bit g of a set is group g.

#include <cstdint>
#include <string_view>

namespace kordavelt {

class ModelSettings;

enum LabelGroup : int {
  kGroupNodeNumbers = 0,
  kGroupMarkings = 1,
  kGroupNames = 2,
  kGroupTypes = 3,
  kGroupParameters = 4,
  kGroupCoordinates = 5,
  kGroupWorkingCurrents = 6,
  kGroupWorkingVoltages = 7,
  kGroupWorkingDeviations = 8,
  kGroupStartingCurrents = 9,
  kGroupStartingVoltages = 10,
  kGroupStartingDeviations = 11,
  kGroupMinimumFaults = 12,
  kGroupMinimumFaultTimes = 13,
  kGroupMaximumFaults = 14,
  kGroupPeakCurrents = 15,
  kGroupSelfStart = 16,
  kGroupProtectionTimes = 17,
  kGroupConductorTemperatures = 18,
  kGroupViolations = 19,
  kGroupJouleIntegrals = 20,
  kGroupOneSecondCurrents = 21,
  kGroupLoadFactors = 22,
  kGroupPowerFlows = 23,
  kGroupPowerLosses = 24,
  kGroupPhaseCurrents = 25,
  kGroupPhaseVoltages = 26,
  kGroupLineVoltages = 27,
  kGroupSequenceVoltages = 28,
  kGroupImpedances = 29,
  kGroupMotorEmf = 30,
  kGroupFaultMakeUp = 31,
};

inline constexpr int kLabelGroupCount = 32;
// A new model's scheme set: markings, types, working currents, working
// voltages and starting currents.
inline constexpr std::uint32_t kDefaultSchemeGroups = 714;

// The caption of group 0 … 31 as the dialog lists it; empty outside.
std::string_view LabelGroupCaption(int group);

// One set of groups.
class LabelGroups {
 public:
  constexpr LabelGroups() = default;
  constexpr explicit LabelGroups(std::uint32_t bits) : bits_(bits) {}

  constexpr bool Has(int group) const {
    return group >= 0 && group < kLabelGroupCount && ((bits_ >> group) & 1u) != 0;
  }
  constexpr LabelGroups With(int group) const { return LabelGroups(bits_ | Bit(group)); }
  constexpr LabelGroups Without(int group) const { return LabelGroups(bits_ & ~Bit(group)); }
  constexpr LabelGroups Toggled(int group) const { return LabelGroups(bits_ ^ Bit(group)); }
  constexpr std::uint32_t Bits() const { return bits_; }

 private:
  static constexpr std::uint32_t Bit(int group) {
    return group >= 0 && group < kLabelGroupCount ? std::uint32_t{1} << group : 0;
  }
  std::uint32_t bits_ = 0;
};

// The sets of a model's settings (offsets 296 and 300).
LabelGroups SchemeGroups(const ModelSettings& settings);
LabelGroups TableGroups(const ModelSettings& settings);

}  // namespace kordavelt
