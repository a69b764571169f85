#include "calc/prepare_protection.h"

#include "calc/prepare_context.h"
#include "calc/protection_characteristic.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"

namespace kordavelt {

std::optional<vth_class> PrepareFuse(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindFuse, BranchKeyOf(e));
  if (object.empty()) return std::nullopt;
  const kordavelt::FuseRec fuse(object);
  const Bytes bytes = ctx.CachedBookType(book::kFuseTable, fuse.Type());
  if (bytes.empty()) return std::nullopt;
  const book::FuseRec type(bytes);
  e.iPermissible = type.Inom();
  e.z1 = e.z0 = {static_cast<float>(sprClass::ContactResistance(type.Inom())), 0.0f};
  // A type without a characteristic gives the element no protective function.
  const Bytes block = type.Vth();
  if (VthIsEmpty(block)) return std::nullopt;
  const float link = fuse.Ipv() != 0 ? fuse.Ipv() : type.Inom();
  const PrepareContext::CharacteristicKey key{book::kFuseTable, fuse.Type(), {FloatBits(link)}};
  if (const auto* kept = ctx.KeptCharacteristic(key)) return *kept;
  return ctx.KeepCharacteristic(key, FuseCharacteristic(block, link));
}

std::optional<vth_class> PrepareBreaker(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindBreaker, BranchKeyOf(e));
  if (object.empty()) return std::nullopt;
  const kordavelt::BreakerRec breaker(object);
  const Bytes bytes = ctx.CachedBookType(book::kBreakerTable, breaker.Type());
  if (bytes.empty()) return std::nullopt;
  const book::BreakerRec type(bytes);
  e.iPermissible = type.Inom();
  e.z1 = e.z0 = {type.R1(), type.X1()};

  // The release the object names, else the one the breaker type comes with.
  const std::int32_t releaseCode =
      breaker.TripUnitType() != 0 ? breaker.TripUnitType() : type.TripUnit();
  const float inA = breaker.Inom() != 0 ? breaker.Inom() : type.Inom();
  // Everything below follows from the release type and these values.
  const PrepareContext::CharacteristicKey key{
      book::kTripUnitTable,
      releaseCode,
      {FloatBits(inA), FloatBits(breaker.Ir()), FloatBits(breaker.Tr()), FloatBits(breaker.Im()),
       FloatBits(breaker.Tm())}};
  if (const auto* kept = ctx.KeptCharacteristic(key)) return *kept;

  const Bytes releaseBytes = ctx.CachedBookType(book::kTripUnitTable, releaseCode);
  const book::TripUnitRec release(releaseBytes);

  const long double in = inA;
  long double ir = in;
  if (breaker.Ir() != 0) ir = release.IrUnit() == 1 ? breaker.Ir() * in : breaker.Ir();

  ReleaseSettings settings;
  settings.irA = ir;
  settings.trS = breaker.Tr();
  // The release's curves are drawn for its first time setting.
  const std::vector<float> times = release.SettingTr();
  settings.referenceTimeS = times.empty() ? 0 : times.front();
  if (breaker.Im() > 0 && breaker.Tm() > 0) {
    settings.imKA = ReleaseThresholdKA(breaker.Im(), release.ImUnit(), in, ir);
    settings.tmS = breaker.Tm();
  }
  return ctx.KeepCharacteristic(key, BreakerCharacteristic(release.Vth(), settings));
}

std::optional<vth_class> PrepareProtectiveDevice(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindProtectiveDevice, BranchKeyOf(e));
  if (object.empty()) return std::nullopt;
  const ProtectiveDeviceRec device(object);
  e.iPermissible = device.Ir();
  DeviceSettings settings;
  settings.irA = device.Ir();
  settings.trMultiple = device.Tr();
  settings.im = device.Im();
  settings.tmS = device.Tm();
  settings.cutOff = device.Iots();
  settings.imax = device.Imax();
  return DeviceCharacteristic(device.Vth(), settings);
}

}  // namespace kordavelt
