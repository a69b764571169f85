#include "results/line_catalogue.h"

#include <algorithm>
#include <cstdint>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_exchange_format.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

std::string CoresText(double cores, double section) {
  return FormatNumber(cores) + "x" + FormatNumber(section);
}

// A four-core cable with a reduced neutral is written as its three phase
// cores plus the neutral ones: "3x95+1x50".
std::string CableConductors(const book::CableRec& cable) {
  const int cores = cable.CondCount();
  if (cores >= 4 && cable.CrossCectN() > 0) {
    return CoresText(3, cable.CrossCectF()) + "+" + CoresText(cores - 3, cable.CrossCectN());
  }
  return CoresText(cores, cable.CrossCectF());
}

void ReadCable(modelClass& model, sprClass& book, std::int32_t key, LineCatalogue& out) {
  tbClass* objects = model.OpenObjectTable(kKindCableLine);
  if (!modelClass::SeekExact(objects, key)) return;
  const CableLineRec line(objects->Record());
  out.lengthM = line.L();
  out.parallel = std::max<int>(line.Nk(), 1);
  out.laying = ListItem(kLayingList, line.Codepr());
  if (!book.FindType(book::kCableTable, line.Type())) return;
  const book::CableRec cable(book.CurrentRecord(book::kCableTable));
  const bool inAir = line.Codepr() == 0;  // "Откр"; trench and block are in ground
  out.permissibleA = (inAir ? cable.IpermissAir() : cable.IpermissEarch()) * out.parallel;
  out.unomV = cable.Unom();
  out.conductors = CableConductors(cable);
  const std::int32_t brand = cable.Type();
  out.designation = book.TypeDesignation(book::kCableTable);
  if (!book.FindType(book::kCableBrandTable, brand)) return;
  out.typeName = book::CableBrandRec(book.CurrentRecord(book::kCableBrandTable)).Type();
  out.found = true;
}

void ReadWiring(modelClass& model, sprClass& book, std::int32_t key, LineCatalogue& out) {
  tbClass* objects = model.OpenObjectTable(kKindWiring);
  if (!modelClass::SeekExact(objects, key)) return;
  const WiringRec line(objects->Record());
  out.lengthM = line.L();
  out.parallel = std::max<int>(line.Ncond(), 1);
  if (!book.FindType(book::kInsulatedWireTable, line.Type())) return;
  const book::InsulatedWireRec wire(book.CurrentRecord(book::kInsulatedWireTable));
  out.permissibleA = wire.IpermissAir() * out.parallel;
  out.typeName = wire.Type();
  out.conductors = CoresText(std::max<int>(wire.CondCount(), 1), wire.CrossCectF());
  out.designation = book.TypeDesignation(book::kInsulatedWireTable);
  out.found = true;
}

void ReadOverheadLine(modelClass& model, sprClass& book, std::int32_t key, LineCatalogue& out) {
  tbClass* objects = model.OpenObjectTable(kKindOverheadLine);
  if (!modelClass::SeekExact(objects, key)) return;
  const OverheadLineRec line(objects->Record());
  out.lengthM = line.L();
  out.parallel = std::max<int>(line.WiresPerPhase(), 1);
  if (!book.FindType(book::kBareWireTable, line.Type())) return;
  const book::BareWireRec wire(book.CurrentRecord(book::kBareWireTable));
  out.permissibleA = wire.Ipermiss() * out.parallel;
  out.typeName = wire.Type();
  out.conductors = CoresText(out.parallel, wire.CrossCectF());
  out.designation = book.TypeDesignation(book::kBareWireTable);
  out.found = true;
}

void ReadTrunking(modelClass& model, sprClass& book, std::int32_t key, LineCatalogue& out) {
  tbClass* objects = model.OpenObjectTable(kKindTrunkingK);
  if (!modelClass::SeekExact(objects, key)) return;
  const TrunkingRec line(objects->Record());
  out.lengthM = line.L();
  if (!book.FindType(book::kTrunkingTable, line.Type())) return;
  const book::TrunkingRec type(book.CurrentRecord(book::kTrunkingTable));
  out.permissibleA = type.Inom();
  out.unomV = type.Unom();
  out.typeName = type.Type();
  out.designation = book.TypeDesignation(book::kTrunkingTable);
  out.found = true;
}

}  // namespace

LineCatalogue ReadLineCatalogue(modelClass& model, const ElementRec& line) {
  LineCatalogue out;
  sprClass* book = model.Book();
  if (book == nullptr) return out;
  const std::int32_t key = BranchKeyOf(line);
  switch (line.kind) {
    case kKindCableLine:
      ReadCable(model, *book, key, out);
      break;
    case kKindWiring:
      ReadWiring(model, *book, key, out);
      break;
    case kKindOverheadLine:
      ReadOverheadLine(model, *book, key, out);
      break;
    case kKindTrunkingK:
      ReadTrunking(model, *book, key, out);
      break;
    default:
      break;
  }
  return out;
}

}  // namespace kordavelt
