#include "cli/element_json.h"

#include "calc/element_checks.h"
#include "cli/json_object.h"
#include "model/model_kinds.h"

namespace kordavelt {
namespace {

// Lines (cables, wiring, overhead lines, trunking K) keep their maximum
// currents at the start, the thermal point and the end.
bool IsLine(int kind) { return kind >= kKindCableLine && kind <= kKindTrunkingK; }

}  // namespace

std::string ElementJson(const ElementRec& e, const ElementPlace& place) {
  JsonObject o;
  o.Add("source", place.source)
      .Add("calculated", place.calculated)
      .Add("index", place.index)
      .Add("key", e.signedKey)
      .Add("kind", e.kind)
      .Add("level", e.level)
      .Add("start_node", place.startNode)
      .Add("end_node", place.endNode)
      .Add("Unom", e.unom)
      .Add("Uref", ReferenceVoltage(e))
      .Add("Ur", e.uWork)
      .Add("Up", e.uStart)
      .Add("Ir", e.checkCurrent)
      .Add("Ia", e.ia)
      .Add("Ib", e.ib)
      .Add("Ic", e.ic)
      .Add("Z1", e.z1)
      .Add("Z0", e.z0)
      .Add("Kt", e.kt)
      .Add("Idop", e.iPermissible)
      .Add("Kz", e.loadFactor)
      .Add("Ik1min", e.ikMin[0])
      .Add("Ik2min", e.ikMin[1])
      .Add("Ik3min", e.ikMin[2])
      .Add("Ik_max", e.ikMax);
  if (IsLine(e.kind)) {
    o.Add("Ik_max_start", e.ikMaxAlong[0])
        .Add("Ik_max_mid", e.ikMaxAlong[1])
        .Add("Ik_max_end", e.ikMaxAlong[2]);
  }
  o.Add("iud", e.iPeak)
      .Add("Iotkl", e.iBreak)
      .Add("tkm1", e.tkMin[0])
      .Add("tkm2", e.tkMin[1])
      .Add("tkm3", e.tkMin[2])
      .Add("t_main_start", e.tProtect[0])
      .Add("t_backup_end", e.tProtect[3])
      .Add("T_work", e.tempWork)
      .Add("T_main_start", e.tempProtect[0])
      .Add("Bt_main_start", e.joule[0])
      .Add("violations", ViolationText(e.violations));
  return o.Text();
}

}  // namespace kordavelt
