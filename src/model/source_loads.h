#pragma once

// The design load of every power source: Pр and Qр summed over the receivers
// each source feeds, by the load method of the model's settings.
//
//   "Кз", "Кз и Ко", "Iзадан" — the group's P and Q times Кв × Кз (1 when that is 0);
//   "ТЭП" — times a demand factor by size, regime and kind of the group;
//   "ТПЭП" — the effective number of receivers and the utilisation factor give
//            Kр from the design-coefficient table.

#include <cstdint>

namespace kordavelt {

class dbfClass;
class GroupRec;
class ModelSettings;
class tbClass;

// Load methods, the index stored in the settings.
enum class LoadMethod : int {
  Kz = 0,
  KzKo = 1,
  DemandFactor = 2,  // "ТЭП"
  DesignFactor = 3,  // "ТПЭП"
  GivenCurrent = 4,  // "Iзадан"
};

// Kр of the design-coefficient table for the effective number of receivers
// `ne` and the utilisation factor `ki` (0 … 1), interpolated linearly.
double DesignCoefficient(double ne, double ki);

// Кв × Кз of a group, or 1 when the product is 0: the load factor of the
// methods "Кз", "Кз и Ко", "Iзадан" and the utilisation Kи of "ТПЭП".
double UsageFactor(const GroupRec& group);
// The demand factor of "ТЭП": by size and regime, fixed for "ЭД", and the
// episodic regime above all.
double DemandFactor(const GroupRec& group);

// Sets Pр and Qр of every source of the model (tables 5, 6 and 7 open) by
// `loadMethod` and writes them. False, with nothing changed, when a table is
// not open.
bool ComputeSourceLoads(dbfClass& model, int loadMethod);
bool ComputeSourceLoads(dbfClass& model, const ModelSettings& settings);

}  // namespace kordavelt
