#include "calc/calculation.h"

#include "calc/element_checks.h"
#include "calc/equipment_choice.h"
#include "calc/load_envelopes.h"
#include "calc/load_flow.h"
#include "calc/minimum_currents.h"
#include "calc/motor_feeding.h"
#include "calc/motor_starting.h"
#include "calc/protection_times.h"

namespace kordavelt {

void BindCalculation(CalcClass& calc) {
  BindLoadFlow(calc);
  BindMotorStarting(calc);
  BindMinimumCurrents(calc);
  BindMotorFeeding(calc);
  BindProtectionTimes(calc);
  BindLoadEnvelopes(calc);
  BindChecks(calc);
  BindAutomaticChoice(calc);
}

}  // namespace kordavelt
