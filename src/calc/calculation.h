#pragma once

// The whole network calculation of an open model: binds every step of
// CalcSource (load flow, motor starting and self-start, minimum and maximum
// short-circuit currents with motor feeding, protection times and heating,
// load envelopes, the checks) and the automatic equipment choice.
//
//   CalcClass calc(model);
//   BindCalculation(calc);
//   calc.CalcNetwork();

namespace kordavelt {

class CalcClass;

void BindCalculation(CalcClass& calc);

}  // namespace kordavelt
