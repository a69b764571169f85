#include "results/device_cells.h"

#include <cmath>
#include <cstdint>

#include "base/number_format.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "results/snapshot_table.h"

namespace kordavelt {
namespace {

// The six cells from the type to Iотс.
constexpr int kSettingCells = 6;

// Im and tm, or "-" "-" without an instantaneous setting.
std::string InstantCells(double imA, double tmS) {
  return imA > 0 ? WholeCell(imA) + NumberCell(tmS) : Dashes(2);
}

// Iотс is given in amperes when above Ir, otherwise as a multiple of Ir.
std::string CutOffCell(double iots, double irA) {
  if (!(iots > 0)) return Dashes(1);
  return WholeCell(iots > irA ? iots : iots * irA);
}

std::string OwnSettingsCells(modelClass& model, std::int32_t key) {
  tbClass* objects = model.OpenObjectTable(kKindProtectiveDevice);
  if (!modelClass::SeekExact(objects, key)) return Cell("?") + Blanks(kSettingCells - 1);
  const ProtectiveDeviceRec device(objects->Record());
  // The device has no separate release: its column shows "-".
  return Cell(device.Name()) + Dashes(1) + WholeCell(device.Ir()) +
         InstantCells(device.Im(), device.Tm()) + CutOffCell(device.Iots(), device.Ir());
}

std::string FuseCells(modelClass& model, std::int32_t key) {
  const std::string missing = Cell("?") + Dashes(1) + Blanks(kSettingCells - 2);
  tbClass* objects = model.OpenObjectTable(kKindFuse);
  sprClass* book = model.Book();
  if (book == nullptr || !modelClass::SeekExact(objects, key)) return missing;
  const FuseRec fuse(objects->Record());
  const float link = fuse.Ipv();
  if (!book->FindType(book::kFuseTable, fuse.Type())) return missing;
  const book::FuseRec type(book->CurrentRecord(book::kFuseTable));
  return Cell(type.Type()) + Dashes(1) + WholeCell(link != 0 ? link : type.Inom()) + Blanks(3);
}

// A release setting in amperes from its unit "A#*In#*Ir".
double SettingAmperes(double value, int unit, double inA, double irA) {
  if (unit == 1) return value * inA;
  if (unit == 2) return value * irA;
  return value;
}

std::string BreakerCells(modelClass& model, std::int32_t key) {
  const std::string missing = Cell("?") + Blanks(kSettingCells - 1);
  tbClass* objects = model.OpenObjectTable(kKindBreaker);
  sprClass* book = model.Book();
  if (book == nullptr || !modelClass::SeekExact(objects, key)) return missing;
  const BreakerRec breaker(objects->Record());
  const std::int32_t typeCode = breaker.Type();
  const std::int32_t ownRelease = breaker.TripUnitType();
  const double objectIn = breaker.Inom();
  const double ir = breaker.Ir();
  const double im = breaker.Im();
  const double tm = breaker.Tm();
  const double iots = breaker.Iots();
  if (!book->FindType(book::kBreakerTable, typeCode)) return missing;
  const book::BreakerRec type(book->CurrentRecord(book::kBreakerTable));
  const std::string cells = Cell(type.Type());
  const double inA = objectIn != 0 ? objectIn : type.Inom();
  // The release the object names, else the one the breaker type comes with.
  const std::int32_t releaseCode = ownRelease != 0 ? ownRelease : type.TripUnit();
  if (!book->FindType(book::kTripUnitTable, releaseCode)) {
    return cells + Blanks(kSettingCells - 1);
  }
  const book::TripUnitRec release(book->CurrentRecord(book::kTripUnitTable));
  double multiple = 1;
  if (ir != 0) multiple = release.IrUnit() == 1 ? ir : (inA > 0 ? ir / inA : 1);
  const double irA = inA * multiple;
  std::string rated = FormatNumber(std::round(inA));
  if (multiple != 1) rated += "x" + FormatNumber(multiple);
  return cells + Cell(release.Type()) + Cell(rated) +
         InstantCells(SettingAmperes(im, release.ImUnit(), inA, irA), tm) + CutOffCell(iots, irA);
}

}  // namespace

std::string DeviceCells(modelClass& model, const ElementRec* device) {
  if (device == nullptr) return Dashes(kDeviceCellCount);
  const std::int32_t key = BranchKeyOf(*device);
  std::string cells;
  switch (device->kind) {
    case kKindProtectiveDevice:
      cells = OwnSettingsCells(model, key);
      break;
    case kKindFuse:
      cells = FuseCells(model, key);
      break;
    default:
      cells = BreakerCells(model, key);
      break;
  }
  return cells + NumberCell(device->ikMax) + NumberCell(device->iPeak);
}

}  // namespace kordavelt
