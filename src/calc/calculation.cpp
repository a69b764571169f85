#include "calc/calculation.h"

#include "calc/calc_class.h"
#include "calc/element_checks.h"
#include "calc/feeding_network.h"
#include "calc/load_envelopes.h"
#include "calc/load_flow.h"
#include "calc/minimum_currents.h"
#include "calc/motor_feeding.h"
#include "calc/motor_starting.h"
#include "calc/protection_times.h"
#include "calc/self_start.h"
#include "model/model_settings.h"

namespace kordavelt {
namespace {

// Indices of the method lists of the settings.
constexpr int kStartCurrentFromNetwork = 1;  // "Iп=Ec/Zп"
constexpr int kSelfStartReducedStart = 2;    // "K*Iпуск"
constexpr int kSelfStartTimedStart = 3;      // "K(t)*Iпуск"

}  // namespace

bool RunStages(CalcClass& calc, CalcStage last, StageStorage& storage) {
  const auto runs = [last](CalcStage stage) { return stage <= last; };
  const ModelSettings& settings = calc.Model().Settings();

  if (!calc.AssignVoltageLevels()) return false;
  if (runs(CalcStage::ElementsAndLoads) && !BackwardSweep(calc)) return false;
  if (!calc.AssignVoltageLevels()) return false;

  if (runs(CalcStage::StartCurrents) && settings.StartCurrentMethod() == kStartCurrentFromNetwork &&
      !StartCurrentsFromNetwork(calc)) {
    return false;
  }
  // The characteristics stand from here on.
  storage.readings.Clear();
  if (runs(CalcStage::MinimumCurrents) && !MinimumCurrents(calc, storage)) return false;
  const int selfStart = settings.SelfStartMethod();
  if (runs(CalcStage::SelfStart) &&
      (selfStart == kSelfStartReducedStart || selfStart == kSelfStartTimedStart) &&
      !SelfStartImpedances(calc)) {
    return false;
  }
  if (runs(CalcStage::ForwardSweep) && !ForwardSweep(calc)) return false;
  if (!runs(CalcStage::MotorFeeding)) return true;

  // The equivalents of the machines' feeding depend on the forward sweep's
  // results only: both stages of maximum currents share them, and the
  // currents at the elements' fault points.
  storage.feeding.Build(calc);
  if (!MotorFeeding(calc, storage)) return false;
  if (runs(CalcStage::ProtectionTimes) && !ProtectionTimes(calc, storage)) return false;
  if (runs(CalcStage::LoadEnvelopes) && !LoadEnvelopes(calc)) return false;
  if (runs(CalcStage::Checks) && !settings.MultiVariant() && !CheckElements(calc, storage)) {
    return false;
  }
  return true;
}

}  // namespace kordavelt
