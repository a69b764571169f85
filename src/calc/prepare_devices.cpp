#include "calc/prepare_devices.h"

#include <cmath>

#include "base/constants.h"
#include "calc/prepare_context.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

// The type record of a device whose object holds only a type code at offset 0.
Bytes DeviceType(PrepareContext& ctx, int kind, int table, const ElementRec& e) {
  const Bytes object = ctx.Object(kind, BranchKeyOf(e));
  if (object.empty()) return {};
  return ctx.CachedBookType(table, TypeOnlyRec(object).Type());
}

}  // namespace

void PrepareSwitch(PrepareContext& ctx, ElementRec& e) {
  auto bytes = DeviceType(ctx, kKindSwitch, book::kSwitchTable, e);
  if (bytes.empty()) return;
  const book::SwitchRec type(bytes);
  e.iPermissible = type.Inom();
  e.z1 = e.z0 = {type.R1(), 0.0f};
}

void PrepareStarter(PrepareContext& ctx, ElementRec& e) {
  auto bytes = DeviceType(ctx, kKindStarter, book::kStarterTable, e);
  if (bytes.empty()) return;
  const book::StarterRec type(bytes);
  e.iPermissible = type.Inom();
  e.z1 = e.z0 = {type.Rk(), 0.0f};
}

void PrepareCurrentTransformer(PrepareContext& ctx, ElementRec& e) {
  auto bytes = DeviceType(ctx, kKindCurrentTransformer, book::kCurrentTransformerTable, e);
  if (bytes.empty()) return;
  const book::CurrentTransformerRec type(bytes);
  e.iPermissible = type.Inom();
  e.z1 = e.z0 = {type.R1(), type.X1()};
}

void PrepareReactor(PrepareContext& ctx, ElementRec& e) {
  auto bytes = DeviceType(ctx, kKindReactor, book::kReactorTable, e);
  if (bytes.empty()) return;
  const book::ReactorRec type(bytes);
  const long double in = type.Inom();
  e.iPermissible = type.Inom();
  // Losses P (kW) at the rated current give the resistance, mΩ.
  const long double r = in > 0 ? type.DP() * 1e6L / (in * in) : 0;
  e.z1 = e.z0 = {static_cast<float>(r), type.Xnom()};
}

void PrepareStabiliser(PrepareContext& ctx, ElementRec& e) {
  auto bytes = DeviceType(ctx, kKindStabiliser, book::kStabiliserTable, e);
  if (bytes.empty()) return;
  const book::StabiliserRec type(bytes);
  // S in kVA over a line voltage in V: × 1000 for amperes.
  if (type.Unom() > 0) {
    e.iPermissible = static_cast<float>(type.Snom() / kSqrt3 / type.Unom() * 1000);
  }
}

std::int8_t VectorGroupShift(int group) {
  switch (group) {
    case kGroupDY0:
    case kGroupYY0:
    case kGroupYZ:
    case kGroupDZ:
      return 1;
    case kGroupDY:
      return -1;
    default:
      return 0;
  }
}

void PrepareTransformer(PrepareContext& ctx, ElementRec& e) {
  e.classCode = kClassSupply;
  const Bytes object = ctx.Object(kKindTransformer, BranchKeyOf(e));
  if (object.empty()) return;
  const TransformerRec transformer(object);
  const Bytes bytes = ctx.CachedBookType(book::kTransformerTable, transformer.Type());
  if (bytes.empty()) return;
  const book::TransformerRec type(bytes);

  const bool ownDirection = e.signedKey > 0;
  const long double high = transformer.Uv();  // kV
  const long double low = transformer.Un();
  const long double tap = 1 + transformer.Nreg() * static_cast<long double>(type.DK()) / 100;
  if (high > 0 && low > 0 && tap > 0) {
    const long double ratio = low / high * tap;
    e.kt = static_cast<float>(ownDirection ? ratio : 1 / ratio);
  }
  // Everything below is referred to the winding the tree leaves by.
  const long double u = ownDirection ? low : high;
  e.unom = static_cast<float>(u * 1000);
  e.phaseShift = static_cast<std::int8_t>(VectorGroupShift(type.Group()) * (ownDirection ? 1 : -1));

  const long double snom = type.Snom();
  if (snom <= 0 || u <= 0) return;
  e.iPermissible = static_cast<float>(snom / kSqrt3 / u);
  const long double r1 = u * u * transformer.Pk() * 1e6L / (snom * snom);
  const long double zk = u * u * transformer.Uk() * 1e4L / snom;
  const long double x1 = zk > r1 ? std::sqrt(zk * zk - r1 * r1) : zk;
  const long double tapFactor = 1 - transformer.Nreg() * static_cast<long double>(type.DK()) / 100;
  e.z1 = Complex{static_cast<float>(r1), static_cast<float>(x1)} * tapFactor;
  e.z0 = {type.R0(), type.X0()};
}

}  // namespace kordavelt
