#include "objects/object_symbols.h"

#include "base/number_format.h"
#include "model/designations.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "objects/object_label.h"
#include "objects/symbol_pictures.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

// Receiver group kinds: indices into " - #АД#СД#АД2#ЭД#...".
constexpr int kGroupAsyncMotor = 1;
constexpr int kGroupSyncMotor = 2;
constexpr int kGroupAsyncMotor2 = 3;
constexpr int kGroupLighting = 4;
// Capacitor connections of "ABC0#ABC#A0#B0#C0#AB#BC#CA" whose power the
// capacitor table shows per phase.
constexpr bool PowerPerPhase(int phaseIndex) {
  return phaseIndex == 0 || (phaseIndex >= 2 && phaseIndex <= 4);
}

// One object being drawn: its record, the book, and what is built.
struct Drawing {
  modelClass& model;
  sprClass* book;
  Bytes object;
  ObjectDrawing& result;
  ObjectLabel& label;

  // Positions book table `table` on type `code`; code 0 is no type.
  bool Find(int table, std::int32_t code) {
    return book != nullptr && code != 0 && book->FindType(table, code);
  }
  // D(t): the designation of the type table `table` stands on.
  std::string Designation(int table) { return book->TypeDesignation(table); }
  // The type's name (its Type field).
  std::string Name(int table) { return BookRecordName(table, book->CurrentRecord(table)); }
  Bytes Type(int table) { return book->CurrentRecord(table); }
};

std::string F(double x) { return FormatNumber(x); }

// "2*" before a type of two or more parallel conductors.
std::string Parallel(int count) { return count > 1 ? F(count) + "*" : std::string(); }

void CableLine(Drawing& d) {
  const CableLineRec line(d.object);
  const int nk = line.Nk(), nk2 = line.Nk2();
  const std::int32_t type2 = line.Type2();
  const double length = line.L();
  d.result.cable = true;
  if (!d.Find(book::kCableTable, line.Type())) return;
  int conductors = book::CableRec(d.Type(book::kCableTable)).CondCount();
  d.label.AddType(Parallel(nk) + d.Designation(book::kCableTable));
  if (nk2 != 0 && d.Find(book::kCableTable, type2)) {
    conductors = book::CableRec(d.Type(book::kCableTable)).CondCount();
    d.label.AddType(Parallel(nk2) + d.Designation(book::kCableTable));
  }
  d.result.symbol = ConductorMark(conductors);
  d.label.AddParameter("L=" + F(length));
}

void Wiring(Drawing& d) {
  const WiringRec wiring(d.object);
  const int count = wiring.Ncond();
  const std::int32_t typeN = wiring.TypeN();
  const double length = wiring.L();
  if (!d.Find(book::kInsulatedWireTable, wiring.Type())) return;
  const std::string phase = d.Designation(book::kInsulatedWireTable);
  std::string neutral;
  if (typeN >= 1 && d.Find(book::kInsulatedWireTable, typeN)) {
    neutral = "+" + d.Designation(book::kInsulatedWireTable);
  }
  d.label.AddType(Parallel(count) + phase + neutral);
  d.result.symbol = ConductorMark(count);
  d.label.AddParameter("L=" + F(length));
}

void OverheadLine(Drawing& d) {
  const OverheadLineRec line(d.object);
  const std::int32_t typeN = line.TypeN();
  const double length = line.L();
  if (!d.Find(book::kBareWireTable, line.Type())) return;
  d.label.AddType(d.Name(book::kBareWireTable));
  if (typeN > 0 && d.Find(book::kBareWireTable, typeN))
    d.label.AddType(d.Name(book::kBareWireTable));
  d.result.symbol = ConductorMark(4);
  d.label.AddParameter("L=" + F(length));
}

void Trunking(Drawing& d) {
  const TrunkingRec trunking(d.object);
  const double length = trunking.L();
  if (!d.Find(book::kTrunkingTable, trunking.Type())) return;
  d.label.AddType(d.Designation(book::kTrunkingTable));
  d.result.symbol = ConductorMark(4);
  d.label.AddParameter("L=" + F(length));
}

// A device with settings of its own: its name and the settings it has.
void ProtectiveDevice(Drawing& d) {
  const ProtectiveDeviceRec device(d.object);
  d.label.AddType(device.Name());
  if (device.Ir() > 0) d.label.AddParameter("Iуст=" + F(device.Ir()));
  if (device.Tr() > 0) d.label.AddParameter("tr=" + F(device.Tr()));
  if (device.Tm() > 0) d.label.AddParameter("Im=" + F(device.Im()) + "#tm=" + F(device.Tm()));
  if (device.Iots() > 0) d.label.AddParameter("Iотс=" + F(device.Iots()));
}

// The settings line "Iуст=Ir·In/Im/Iотс А": Im and Iотс above the rated
// current are amperes already, smaller ones multiples.
std::string BreakerSettings(const BreakerRec& breaker) {
  const double in = breaker.Inom(), ir = breaker.Ir(), im = breaker.Im(), ots = breaker.Iots();
  std::string line = "Iуст=" + F(ir * in);
  if (im > 0) line += "/" + F(im > in ? im : im * in * ir);
  if (ots > 0) line += "/" + F(ots > in ? ots : ots * in);
  return line + "А";
}

void Breaker(Drawing& d) {
  const BreakerRec breaker(d.object);
  const std::string settings = BreakerSettings(breaker);
  const std::int32_t tripUnit = breaker.TripUnitType();
  if (!d.Find(book::kBreakerTable, breaker.Type())) return;
  std::string line = d.Name(book::kBreakerTable);
  // A breaker type without a built-in trip unit names the one the object has.
  const bool ownTripUnit = book::BreakerRec(d.Type(book::kBreakerTable)).TripUnit() != 0;
  if (!ownTripUnit && d.Find(book::kTripUnitTable, tripUnit)) {
    line += "/" + d.Name(book::kTripUnitTable);
  }
  d.label.AddType(line);
  d.label.AddParameter(settings);
}

void Fuse(Drawing& d) {
  const FuseRec fuse(d.object);
  const double link = fuse.Ipv();
  if (!d.Find(book::kFuseTable, fuse.Type())) return;
  d.label.AddType(d.Designation(book::kFuseTable));
  d.label.AddParameter("Iпв=" + F(link) + "А");
}

// Relays, switches, starters, stabilisers, reactors, current transformers:
// the type's name.
void NamedType(Drawing& d, int kind) {
  const std::int32_t type =
      kind == kKindStarter ? StarterRec(d.object).Type() : TypeOnlyRec(d.object).Type();
  if (d.Find(kind, type)) d.label.AddType(d.Name(kind));
}

void Transformer(Drawing& d) {
  const TransformerRec transformer(d.object);
  const int tap = transformer.Nreg();
  if (!d.Find(book::kTransformerTable, transformer.Type())) return;
  const book::TransformerRec type(d.Type(book::kTransformerTable));
  d.label.AddType(d.Name(book::kTransformerTable));
  d.label.AddParameter(F(type.Snom()) + "кВА");
  d.label.AddParameter("Uк=" + F(type.Uk()) + "%");
  if (tap != 0) d.label.AddParameter(FormatSignedNumber(tap) + "*" + F(type.DK()) + "%");
  d.result.symbol = TransformerSymbol(type.Group());
}

// The symbol of a receiver by its group's kind.
void ReceiverSymbol(Drawing& d, int groupKind) {
  if (groupKind == kGroupAsyncMotor || groupKind == kGroupAsyncMotor2) {
    d.result.symbol = KindSymbol(42);
  } else if (groupKind == kGroupSyncMotor) {
    d.result.symbol = KindSymbol(41);
  } else if (groupKind == kGroupLighting) {
    d.result.symbol = KindSymbol(kKindLighting);
  }
}

void Receiver(Drawing& d) {
  const std::int32_t key = ReceiverObjectRec(d.object).ReceiverKey();
  modelClass& model = d.model;
  if (key == 0 || !modelClass::SeekExact(model.Receivers(), key)) return;
  if (d.label.Groups().Has(kGroupMarkings)) {
    d.label.AppendItem(ReceiverRec(model.Receivers()->Record()).Marking());
  }
  if (!modelClass::SeekExact(model.Groups(), GroupOfKey(key))) return;
  const GroupRec group(model.Groups()->Record());
  if (d.label.Groups().Has(kGroupNames)) d.label.AppendItem(group.Name());
  ReceiverSymbol(d, group.Class());
  const int motorTable = group.Class() == kGroupAsyncMotor  ? book::kAsyncMotorTable
                         : group.Class() == kGroupSyncMotor ? book::kSynchronousMachineTable
                                                            : 0;
  if (motorTable != 0 && d.Find(motorTable, group.KeyType())) {
    d.label.AddType(d.Name(motorTable));
    d.label.AddParameter(F(group.P()) + "кВт");
  }
}

void CapacitorBank(Drawing& d) {
  const CapacitorBankRec bank(d.object);
  const int count = bank.Nbk();
  const int phases = bank.PhaseIndex();
  if (!d.Find(book::kCapacitorBankTable, bank.Type())) return;
  double power = book::CapacitorBankRec(d.Type(book::kCapacitorBankTable)).Qnom() * count;
  if (PowerPerPhase(phases)) power /= 3;
  d.label.AddType(d.Name(book::kCapacitorBankTable));
  d.label.AddParameter(F(power) + "квар");
}

// A source is named by its own record whatever the groups.
void PowerSource(Drawing& d) {
  const std::int32_t number = SourceObjectRec(d.object).SourceNumber();
  tbClass* sources = d.model.Sources();
  d.label.Set(modelClass::SeekExact(sources, number) ? SourceRec(sources->Record()).Marking()
                                                     : std::string());
}

void KindDetails(Drawing& d, int kind) {
  switch (kind) {
    case kKindCableLine:
      return CableLine(d);
    case kKindWiring:
      return Wiring(d);
    case kKindOverheadLine:
      return OverheadLine(d);
    case kKindTrunkingK:
      return Trunking(d);
    case kKindProtectiveDevice:
      return ProtectiveDevice(d);
    case kKindBreaker:
      return Breaker(d);
    case kKindFuse:
      return Fuse(d);
    case kKindCurrentRelay:
    case kKindSwitch:
    case kKindStarter:
    case kKindStabiliser:
    case kKindReactor:
    case kKindCurrentTransformer:
      return NamedType(d, kind);
    case kKindTransformer:
      return Transformer(d);
    case 41:
    case 42:
    case kKindReceiver:
      return Receiver(d);
    case kKindCapacitorBank:
      return CapacitorBank(d);
    case kKindPowerSource:
      return PowerSource(d);
    default:
      return;  // abstract branches, trunking Н, sockets, generators, equivalent motors
  }
}

// Lines are drawn straight through; their mark comes with a known type.
bool StartsWithoutSymbol(int kind) {
  return kind == kKindAbstractBranch || (kind >= kKindCableLine && kind <= kKindTrunkingN);
}

}  // namespace

ObjectDrawing ObjectSymbol(modelClass& model, int kind, std::int32_t key) {
  const int table = kind == 41 || kind == 42 ? kKindReceiver : kind;
  tbClass* objects = model.OpenObjectTable(table);
  if (!modelClass::SeekExact(objects, key)) return {};

  ObjectDrawing result;
  if (!StartsWithoutSymbol(kind)) result.symbol = KindSymbol(kind);
  ObjectLabel label(SchemeGroups(model.Settings()));
  if (label.Groups().Has(kGroupMarkings) && kind != kKindPowerSource && kind != kKindReceiver) {
    label.Set(MarkingText(model, key));
  }
  Drawing drawing{model, model.Book(), objects->Record(), result, label};
  KindDetails(drawing, kind);
  result.label = label.Text();
  return result;
}

}  // namespace kordavelt
