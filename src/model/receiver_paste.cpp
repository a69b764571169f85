#include "model/receiver_paste.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/paste_values.h"
#include "model/data_texts.h"
#include "model/group_columns.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/receiver_ops.h"
#include "refbook/book_records.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

// Counts a receiver inserted by the import in its group.
void CountNewReceiver(modelClass& model, int group) {
  tbClass* groups = model.Groups();
  if (!modelClass::SeekExact(groups, group)) return;
  GroupRec record(groups->Record());
  record.SetReceiverCount(static_cast<std::uint16_t>(record.ReceiverCount() + 1));
  groups->MarkModifiedAndFlush();
}

bool EnsureGroup(modelClass& model, int group) {
  tbClass* groups = model.Groups();
  if (modelClass::SeekExact(groups, group)) return true;
  groups->Insert(group);
  if (groups->Status() != kStatusOk) return false;
  groups->MarkModifiedAndFlush();
  return true;
}

// Inserts receiver `key`; false when the table refuses it.
bool InsertReceiver(modelClass& model, std::int32_t key) {
  tbClass* receivers = model.Receivers();
  receivers->Insert(key);
  if (receivers->Status() != kStatusOk) return false;
  receivers->MarkModifiedAndFlush();
  CountNewReceiver(model, GroupOfKey(key));
  return true;
}

// Finds or creates the receiver of the row, as the model import does.
std::int32_t ResolveReceiver(modelClass& model, std::int32_t key, const std::string& designation,
                             std::string groupDesignation, bool& created) {
  tbClass* receivers = model.Receivers();
  MarkaClass& index = model.Designations();
  created = false;
  const bool validKey = key > 0 && NumberInGroup(key) != 0;
  if (validKey) {
    if (!EnsureGroup(model, GroupOfKey(key))) return 0;
    if (!modelClass::SeekExact(receivers, key)) {
      if (!InsertReceiver(model, key)) return 0;
      created = true;
    }
    return key;
  }
  if (key <= 0 && !designation.empty()) {
    const std::int32_t found = index.KeyOf(designation);
    if (found > 0 && modelClass::SeekExact(receivers, found)) return found;
  }
  if (designation.empty()) return 0;
  if (groupDesignation.empty()) groupDesignation = designation;
  int group = 0;
  tbClass* groups = model.Groups();
  const std::int32_t named = index.KeyOf(groupDesignation);
  if (named != 0) {
    group = GroupOfKey(named);
    if (!modelClass::SeekExact(groups, group)) return 0;
  } else {
    // A damaged table may end with any key: past the last group whose
    // receivers' keys fit, no group is made.
    const std::int32_t last = std::max(groups->LastKey(), 0);
    if (last >= kMaxGroupNumber) return 0;
    group = last + 1;
    if (!EnsureGroup(model, group)) return 0;
  }
  const int number = FreeReceiverNumber(*receivers, group);
  if (number == 0) return 0;
  const std::int32_t createdKey = ReceiverKey(group, number);
  if (!InsertReceiver(model, createdKey)) return 0;
  created = true;
  return createdKey;
}

// The motor type of the book named `type`, or without a name the first one
// with this voltage and power; 0 when there is none.
std::int32_t FindMotorType(sprClass* book, int table, const std::string& type, float unom,
                           float pnom) {
  if (book == nullptr || table == 0) return 0;
  tbClass* types = book->OpenBookTable(table);
  if (types == nullptr) return 0;
  types->GoTo(0);
  while (types->Next()) {
    const book::MachineRec motor(types->Record());
    const bool match =
        type.empty() ? motor.Unom() == unom && motor.Pnom() == pnom : motor.Type() == type;
    if (match) return types->Key();
  }
  return 0;
}

// Phase connection of a new receiver by the group's phases and kind.
std::uint8_t PhaseOf(int phases, int kind) {
  if (phases == 1) return 2;  // A0
  if (phases == 2) return 5;  // AB
  const bool motor = kind >= kGroupKindAsync && kind <= kGroupKindEd;
  return motor ? 1 : 0;  // ABC, ABC0
}

}  // namespace

int GroupKindOfPastedCode(int codeIndex) {
  if (codeIndex >= 4 && codeIndex <= 7) return kGroupKindAsync;
  switch (codeIndex) {
    case 8:
      return kGroupKindSync;
    case 9:
      return kGroupKindWelding;
    case 10:
      return kGroupKindHeater;
    case 11:
      return kGroupKindLighting;
    default:
      return kGroupKindNone;
  }
}

std::int32_t ImportReceiverRow(modelClass& model, std::string_view line) {
  if (model.Receivers() == nullptr || model.Groups() == nullptr) return 0;
  const std::string designation = GetStr(line, 1);
  bool created = false;
  const std::int32_t key =
      ResolveReceiver(model, GetCode(line, 0, 10), designation, GetStr(line, 3), created);
  if (key == 0) return 0;

  tbClass* groups = model.Groups();
  if (!modelClass::SeekExact(groups, GroupOfKey(key))) return 0;
  GroupRec group(groups->Record());
  group.SetName(GetStr(line, 2));
  const std::string type = GetStr(line, 11);
  group.SetType(type);
  const int codeIndex = GetIndex(line, 10, kPastedKindCodes);
  const int kind = GroupKindOfPastedCode(codeIndex);
  group.SetClass(static_cast<std::uint8_t>(kind));
  group.SetUnom(static_cast<float>(GetReal(line, 12)));
  const int phases = GetInt(line, 13);
  group.SetNphase(static_cast<std::uint8_t>(phases <= 0 || phases > 3 ? 3 : phases));
  const double p = GetReal(line, 14);
  const double s = GetReal(line, 15);
  group.SetP(static_cast<float>(p));
  group.SetQ(s > 0 ? static_cast<float>(std::sqrt(std::max(s * s - p * p, 0.0))) : 0.0f);
  group.SetIstart(static_cast<float>(GetReal(line, 17)));
  group.SetCosFstart(static_cast<float>(GetReal(line, 18)));
  group.SetTstart(static_cast<float>(GetReal(line, 19)));
  const int regime = GetIndex(line, 20, kPastedRegimeCodes);
  group.SetRegim(static_cast<std::uint8_t>(regime == kNoIndex ? 0 : regime));
  group.SetKz(static_cast<float>(GetReal(line, 21)));
  group.SetKv(static_cast<float>(GetReal(line, 22)));
  group.SetTc(static_cast<float>(GetReal(line, 23)));
  group.SetKpv(static_cast<float>(GetReal(line, 25)));
  groups->MarkModifiedAndFlush();

  // The motor type: the book's positioning leaves the model's tables alone.
  const std::int32_t motor =
      FindMotorType(model.Book(), MotorTypeTable(kind), type, group.Unom(), group.P());
  if (modelClass::SeekExact(groups, GroupOfKey(key))) {
    GroupRec(groups->Record()).SetKeyType(motor);
    groups->MarkModifiedAndFlush();
  }

  tbClass* receivers = model.Receivers();
  if (!modelClass::SeekExact(receivers, key)) return 0;
  if (created) {
    ReceiverRec(receivers->Record()).SetPhaseIndex(PhaseOf(phases, kind));
    receivers->MarkModifiedAndFlush();
  }
  if (!designation.empty()) SetReceiverDesignation(model, designation);
  return key;
}

}  // namespace kordavelt
