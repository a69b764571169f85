// The edits of the reference-book window: a committed cell stored into its
// record field, then the category's rules — names cut and flags derived,
// lists and characteristics, the choice dialogs of referenced types, and the
// engineering defaults filled in while a type is entered.

#include <cmath>
#include <limits>

#include "refbook/book_categories.h"
#include "refbook/book_dialogs.h"
#include "refbook/book_owner.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/engineering_defaults.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "storage/counted_string.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

using F = BookField;

// A typed number the float32 field can hold.
bool FitsFloat(double value) {
  return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

void WriteSlots(Bytes record, int offset, int count, const std::vector<float>& values) {
  for (int i = 0; i < count; ++i) {
    WriteF32(record, offset + 4 * i, i < static_cast<int>(values.size()) ? values[i] : 0.0f);
  }
}

float First(const std::vector<float>& slots) { return slots.empty() ? 0.0f : slots.front(); }

// The power factor column of the machine tables (41, 42, 50).
constexpr int kCosFColumn = 4;

bool IsMachineTable(int table) {
  return table == book::kSynchronousMachineTable || table == book::kAsyncMotorTable ||
         table == book::kGeneratorTable;
}

void ApplyCableDefaults(sprClass& book, book::CableRec cable) {
  // The defaults need the brand's material and sheath: a cable whose brand
  // is missing keeps its values.
  if (cable.Type() == 0 || !book.FindType(book::kCableBrandTable, cable.Type())) return;
  const book::CableBrandRec brand(book.CurrentRecord(book::kCableBrandTable));
  const CableDefaultValues values =
      CableDefaults(brand.CondMat() != 0, brand.Sheath(), cable.CondCount(), cable.CrossCectF(),
                    cable.CrossCectN());
  cable.SetR1(static_cast<float>(values.r1));
  if (!values.complete) return;
  cable.SetX1(static_cast<float>(values.x1));
  cable.SetR0(static_cast<float>(values.r0));
  cable.SetX0(static_cast<float>(values.x0));
  cable.SetIpermissEarch(static_cast<float>(values.ipermissEarth));
  cable.SetIpermissAir(static_cast<float>(values.ipermissAir));
}

void ApplyMachineDefaults(int table, Bytes record, int column) {
  book::MachineRec machine(record);
  if (table == book::kAsyncMotorTable) {
    book::AsyncMotorRec motor(record);
    if (column == 5 && motor.Speed() > 0) {
      motor.SetSnom(static_cast<float>(RatedSlip(motor.Speed())));
    }
    AsyncMotorValues values;
    values.pnom = motor.Pnom();
    values.cosF = motor.CosF();
    values.efficiency = motor.Efficiency();
    values.istart = motor.Istart();
    values.mstart = motor.Mstart();
    values.snom = motor.Snom();
    values.rs = motor.Rs();
    values.rr = motor.Rr();
    values.x2 = motor.Xd2();
    values.ta = motor.Ta();
    values.tr = motor.Tr();
    FillAsyncMotorDefaults(values);
    motor.SetCosF(static_cast<float>(values.cosF));
    motor.SetRs(static_cast<float>(values.rs));
    motor.SetRr(static_cast<float>(values.rr));
    motor.SetXd2(static_cast<float>(values.x2));
    motor.SetTa(static_cast<float>(values.ta));
    motor.SetTr(static_cast<float>(values.tr));
    return;
  }
  if (machine.Pnom() > 0 && machine.CosF() == 0) machine.SetCosF(1);
  // Unom, Pnom and n: columns 2, 3 and 5 of both tables.
  const bool ratingEdited = column == 2 || column == 3 || column == 5;
  if (table == book::kSynchronousMachineTable) {
    book::SynchronousMachineRec sm(record);
    if (ratingEdited && sm.Xd2() == 0) {
      sm.SetXd2(kDefaultXd2);
      sm.SetXd1(kDefaultXd1);
      sm.SetXd(kDefaultXd);
    }
    if (sm.Ta() == 0 && sm.Rd() > 0) sm.SetTa(static_cast<float>(TimeConstant(sm.Xd2(), sm.Rd())));
  } else {
    book::GeneratorRec gen(record);
    if (ratingEdited && gen.Xd2() == 0) {
      gen.SetXd2(kDefaultXd2);
      gen.SetXd1(kDefaultXd1);
      gen.SetXd(kDefaultXd);
    }
    if (gen.Ta() == 0 && gen.Rd() > 0) {
      gen.SetTa(static_cast<float>(TimeConstant(gen.Xd2(), gen.Rd())));
    }
  }
}

void ApplyTripUnitRules(Bytes record, int column) {
  book::TripUnitRec unit(record);
  const float firstInom = First(unit.Inom());
  switch (column) {
    case 4:
      unit.SetIrUnit(IrUnitFor(First(unit.SettingIr())));
      break;
    case 7:
      unit.SetImUnit(ImUnitFor(First(unit.SettingIm()), firstInom));
      break;
    case 11:
      unit.SetImoUnit(ImoUnitFor(First(unit.SettingIc()), firstInom));
      break;
    default:
      break;
  }
  std::vector<float> ir = unit.SettingIr();
  if (First(ir) == 0) {
    ir[0] = 1;
    unit.SetSettingIr(ir);
    unit.SetIrUnit(kUnitTimesIn);
  }
}

}  // namespace

bool BookOwner::EditField(Bytes record, int columnNumber, TableForm& form) {
  const BookColumn* column = BookColumnAt(table_, columnNumber);
  if (column == nullptr) return false;
  switch (column->field) {
    case F::Number:
      if (!FitsFloat(form.editReal)) return false;
      if (IsMachineTable(table_) && columnNumber == kCosFColumn && !ValidCosF(form.editReal)) {
        return false;
      }
      WriteF32(record, column->offset, static_cast<float>(form.editReal));
      break;
    case F::Byte:
      if (form.editInt < 0 || form.editInt > 255) return false;
      WriteU8(record, column->offset, static_cast<std::uint8_t>(form.editInt));
      break;
    case F::SignedByte:
      if (form.editInt < -128 || form.editInt > 127) return false;
      WriteU8(record, column->offset,
              static_cast<std::uint8_t>(static_cast<std::int8_t>(form.editInt)));
      break;
    case F::Name:
      WriteCountedString(record, column->offset, column->size, form.editText);
      DeriveBookFlags(table_, record);
      break;
    case F::Choice: {
      int index = form.editInt;
      const int mask = (1 << column->size) - 1;
      if (index < 0 || index > mask) return false;
      // The Ir setting is in amperes or multiples of In only.
      if (table_ == book::kTripUnitTable && columnNumber == 5) index = std::min(index, 1);
      const int bits = ReadU8(record, column->offset) & ~(mask << column->shift);
      WriteU8(record, column->offset, static_cast<std::uint8_t>(bits | (index << column->shift)));
      break;
    }
    case F::Values:
      WriteSlots(record, column->offset, column->size,
                 ParseBookValueList(form.editText, column->size));
      break;
    case F::Check:
      WriteU8(record, column->offset, ReadU8(record, column->offset) != 0 ? 0 : 1);
      break;
    case F::Code:
      return false;
    default:
      if (!EditSpecial(record, *column, form)) return false;
      break;
  }
  ApplyRules(record, columnNumber);
  return true;
}

bool BookOwner::EditSpecial(Bytes record, const BookColumn& column, TableForm& form) {
  const bool clear = form.editText == "-";
  switch (column.field) {
    case F::Vth:
      return EditCharacteristic(record, column.offset, form);
    case F::Slot:
      ApplyTemplateSlot(record, column.size, form.editText);
      return true;
    case F::Brand: {
      if (clear) {
        WriteI32(record, column.offset, 0);
        return true;
      }
      const std::optional<std::int32_t> brand =
          ChooseCableBrand(book_, ui_, ReadI32(record, column.offset));
      if (!brand) return false;
      WriteI32(record, column.offset, *brand);
      return true;
    }
    case F::Series: {
      const std::optional<std::uint16_t> series =
          ChooseBreakerSeries(book_, ui_, ReadU16(record, column.offset));
      if (!series) return false;
      WriteU16(record, column.offset, *series);
      return true;
    }
    case F::TripUnit: {
      if (clear) {
        WriteI32(record, column.offset, 0);
        return true;
      }
      const std::optional<std::int32_t> unit =
          ChooseTripUnit(book_, ui_, ReadI32(record, column.offset));
      if (!unit) return false;
      WriteI32(record, column.offset, *unit);
      return true;
    }
    case F::MotorKind: {
      // The choices are "АД#СД": kinds 1 and 2.
      const int kind = form.editInt + 1;
      if (kind < 1 || kind > 2) return false;
      if (ReadU8(record, column.offset) != kind) {
        WriteU8(record, column.offset, static_cast<std::uint8_t>(kind));
        WriteI32(record, column.offset + 1, 0);
      }
      return true;
    }
    case F::MotorType: {
      if (clear) {
        WriteI32(record, column.offset, 0);
        return true;
      }
      const int kind = ReadU8(record, column.offset - 1);
      const int motorTable = kind == 1   ? book::kAsyncMotorTable
                             : kind == 2 ? book::kSynchronousMachineTable
                                         : 0;
      if (motorTable == 0) return false;
      const std::optional<std::int32_t> motor =
          ChooseMotorType(book_, ui_, motorTable, ReadI32(record, column.offset));
      if (!motor) return false;
      WriteI32(record, column.offset, *motor);
      return true;
    }
    case F::Qnom: {
      book::CapacitorBankRec bank(record);
      if (!(bank.Unom() > 0)) return false;
      const double cnom = CapacitorCapacitance(form.editReal, bank.Unom());
      if (!FitsFloat(cnom)) return false;
      bank.SetCnom(static_cast<float>(cnom));
      return true;
    }
    default:
      return false;
  }
}

void BookOwner::ApplyTemplateSlot(Bytes record, int slot, const std::string& text) {
  book::CompositionTemplateRec composition(record);
  const int slots = book::CompositionTemplateRec::kSlots;
  if (text == "-") {
    for (int i = slot; i + 1 < slots; ++i) composition.SetSlot(i, composition.Slot(i + 1));
    composition.SetSlot(slots - 1, 0);
    return;
  }
  const std::optional<int> kind = ChooseSlotKind(ui_);
  if (!kind) return;
  // Slots stay packed from slot 0: the kind moves left over empty slots.
  int target = slot;
  while (target > 0 && composition.Slot(target - 1) == 0) --target;
  composition.SetSlot(slot, 0);
  composition.SetSlot(target, static_cast<std::uint8_t>(*kind));
}

bool BookOwner::EditCharacteristic(Bytes record, int offset, TableForm& form) {
  if (static_cast<std::size_t>(offset) + kVthBytes > record.size()) return false;
  const Bytes block = record.subspan(offset, kVthBytes);
  const std::string& text = form.editText;
  if (text.empty()) {
    if (!editCharacteristic) return false;
    std::vector<std::uint8_t> copy(block.begin(), block.end());
    std::string title;
    double timeAxis = 0;
    if (table_ == book::kTripUnitTable) {
      const book::TripUnitRec unit(record);
      const std::vector<float> tm = unit.SettingTm();
      title = "Расцепитель " + unit.Type();
      timeAxis = TripUnitTimeAxis(tm.data(), static_cast<int>(tm.size()));
    } else {
      title = "Предохранитель " + book::FuseRec(record).Type();
    }
    if (!editCharacteristic(title, timeAxis, Bytes(copy))) return false;
    std::copy(copy.begin(), copy.end(), block.begin());
    return true;
  }
  if (text == "0" || text == "-") {
    if (ui_.AskYesNoSafe(kCaption, "Удалить ВТХ ?") != kAnswerYes) return false;
    std::fill(block.begin(), block.end(), std::uint8_t{0});
    return true;
  }
  // Fewer than 224 digits, or anything but digits among them, is no characteristic.
  return VthFromHex(text, block);
}

void BookOwner::ApplyRules(Bytes record, int column) {
  switch (table_) {
    case book::kCableTable: {
      book::CableRec cable(record);
      const bool sizing = column >= 1 && column <= 5;
      if ((sizing && cable.CrossCectF() > 0 && cable.Unom() > 0) ||
          (column == 8 && cable.R1() == 0 && cable.CrossCectF() > 0)) {
        ApplyCableDefaults(book_, cable);
      }
      if (column == 12 && cable.Ic() == 0) {
        cable.SetIc(static_cast<float>(CableChargingCurrent(cable.Unom(), cable.Bc())));
      }
      break;
    }
    case book::kInsulatedWireTable: {
      book::InsulatedWireRec wire(record);
      if ((column >= 1 && column <= 4 && wire.CrossCectF() > 0) ||
          (column == 6 && wire.R1() == 0 && wire.CrossCectF() > 0)) {
        const WireDefaultValues values =
            InsulatedWireDefaults(wire.CondMat() != 0, wire.CrossCectF());
        wire.SetR1(static_cast<float>(values.r1));
        wire.SetIpermissAir(static_cast<float>(values.ipermiss));
      }
      if (wire.Tpermiss() == 0) wire.SetTpermiss(kInsulatedWireTpermiss);
      break;
    }
    case book::kBareWireTable: {
      book::BareWireRec wire(record);
      if ((column >= 1 && column <= 3 && wire.CrossCectF() > 0) ||
          (column == 5 && wire.R1() == 0 && wire.CrossCectF() > 0)) {
        const WireDefaultValues values =
            BareWireDefaults(wire.Flags(), wire.Type(), wire.CrossCectF());
        wire.SetR1(static_cast<float>(values.r1));
        wire.SetIpermiss(static_cast<float>(values.ipermiss));
      }
      break;
    }
    case book::kTrunkingTable: {
      book::TrunkingRec trunking(record);
      if (trunking.R1() != 0 || !(trunking.Inom() > 0)) break;
      if (const std::optional<ImpedanceDefaults> values = TrunkingDefaults(trunking.Inom())) {
        trunking.SetR1(static_cast<float>(values->r1));
        trunking.SetX1(static_cast<float>(values->x1));
        trunking.SetR0(static_cast<float>(values->r0));
        trunking.SetX0(static_cast<float>(values->x0));
      }
      break;
    }
    case book::kBreakerTable: {
      book::BreakerRec breaker(record);
      if (breaker.R1() == 0 && breaker.Inom() > 0) {
        const ImpedanceDefaults values = BreakerDefaults(breaker.Inom());
        breaker.SetR1(static_cast<float>(values.r1));
        breaker.SetX1(static_cast<float>(values.x1));
      }
      break;
    }
    case book::kRelayTable: {
      book::RelayRec relay(record);
      if (relay.R() == 0 && relay.Inom() > 0) {
        relay.SetR(static_cast<float>(sprClass::ContactResistance(relay.Inom())));
      }
      break;
    }
    case book::kSwitchTable: {
      book::SwitchRec switcher(record);
      if (switcher.R1() == 0 && switcher.Inom() > 0) {
        switcher.SetR1(static_cast<float>(sprClass::ContactResistance(switcher.Inom())));
      }
      break;
    }
    case book::kStarterTable: {
      book::StarterRec starter(record);
      if (starter.Rk() == 0 && starter.Inom() > 0) {
        starter.SetRk(static_cast<float>(sprClass::ContactResistance(starter.Inom())));
      }
      break;
    }
    case book::kTransformerTable: {
      book::TransformerRec transformer(record);
      // Un, Pk and Uk: columns 4, 6 and 7.
      if ((column == 4 || column == 6 || column == 7) && transformer.Snom() > 0) {
        const ImpedanceDefaults values = TransformerDefaults(transformer.Un(), transformer.Pk(),
                                                             transformer.Uk(), transformer.Snom());
        if (FitsFloat(values.r1) && FitsFloat(values.x1)) {
          transformer.SetR0(static_cast<float>(values.r1));
          transformer.SetX0(static_cast<float>(values.x1));
        }
      }
      break;
    }
    case book::kCurrentTransformerTable: {
      book::CurrentTransformerRec ct(record);
      if (ct.Inom() * ct.Inom2() > 0 && ct.R1() == 0) {
        const ImpedanceDefaults values =
            CurrentTransformerDefaults(ct.Inom(), ct.Inom2(), ct.Class());
        if (FitsFloat(values.r1) && FitsFloat(values.x1)) {
          ct.SetR1(static_cast<float>(values.r1));
          ct.SetX1(static_cast<float>(values.x1));
        }
      }
      break;
    }
    case book::kSynchronousMachineTable:
    case book::kAsyncMotorTable:
    case book::kGeneratorTable:
      ApplyMachineDefaults(table_, record, column);
      break;
    case book::kTripUnitTable:
      ApplyTripUnitRules(record, column);
      break;
    default:
      break;
  }
}

}  // namespace kordavelt
