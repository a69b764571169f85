#include "model/receiver_ops.h"

#include <charconv>

#include "base/cp1251.h"
#include "model/data_texts.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"

namespace kordavelt {
namespace {

bool ParseCount(std::string_view text, int& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Adds `delta` to the group's Nэп and, for a fed receiver, to its Nраб; never below 0.
void CountInGroup(modelClass& model, int group, int delta, bool fed) {
  tbClass* groups = model.Groups();
  if (!modelClass::SeekExact(groups, group)) return;
  GroupRec record(groups->Record());
  const auto add = [delta](std::uint16_t count) {
    const int value = count + delta;
    return static_cast<std::uint16_t>(value < 0 ? 0 : value);
  };
  record.SetReceiverCount(add(record.ReceiverCount()));
  if (fed) record.SetWorkingCount(add(record.WorkingCount()));
  groups->MarkModifiedAndFlush();
}

// The receiver object on `branch`, positioned; nullptr when there is none.
tbClass* ReceiverObject(modelClass& model, std::int32_t branch) {
  if (branch == 0) return nullptr;
  tbClass* objects = model.OpenObjectTable(kKindReceiver);
  return modelClass::SeekExact(objects, branch) ? objects : nullptr;
}

// Phase connection of a new receiver by the group's number of phases.
std::uint8_t PhaseOfPhases(int phases) {
  switch (phases) {
    case 1:
      return 2;  // A0
    case 2:
      return 5;  // AB
    default:
      return 0;  // ABC0
  }
}

}  // namespace

bool ParseReceiverCode(std::string_view text, int& group, int& number) {
  const std::size_t point = text.find('.');
  number = 0;
  if (point == std::string_view::npos) return ParseCount(text, group);
  return ParseCount(text.substr(0, point), group) && ParseCount(text.substr(point + 1), number);
}

bool GroupHasReceivers(tbClass& receivers, int group) {
  if (group < 1 || group > kMaxGroupNumber) return false;
  // Seek stands on the first key not below the group's first receiver key.
  receivers.Seek(ReceiverKey(group, 1));
  const int status = receivers.Status();
  return (status == kStatusOk || status == kStatusGreater) && !receivers.Record().empty() &&
         receivers.Key() >= ReceiverKey(group, 1) && GroupOfKey(receivers.Key()) == group;
}

int FreeReceiverNumber(tbClass& receivers, int group) {
  if (group < 1 || group > kMaxGroupNumber) return 0;
  int number = 1;
  receivers.Seek(ReceiverKey(group, 1));
  while (receivers.Status() == kStatusOk && receivers.Key() == ReceiverKey(group, number) &&
         number <= kMaxReceiverInGroup) {
    ++number;
    if (!receivers.Next()) break;
  }
  return number <= kMaxReceiverInGroup ? number : 0;
}

std::int32_t AddReceiver(modelClass& model, int group) {
  tbClass* receivers = model.Receivers();
  tbClass* groups = model.Groups();
  if (receivers == nullptr || !modelClass::SeekExact(groups, group)) return 0;
  const int phases = GroupRec(groups->Record()).Nphase();
  const int number = FreeReceiverNumber(*receivers, group);
  if (number == 0) return 0;
  const std::int32_t key = ReceiverKey(group, number);
  receivers->Insert(key);
  if (receivers->Status() != kStatusOk) return 0;
  ReceiverRec receiver(receivers->Record());
  receiver.SetSourceNumber(0);
  receiver.SetPhaseIndex(PhaseOfPhases(phases));
  receivers->MarkModifiedAndFlush();
  CountInGroup(model, group, +1, false);
  return key;
}

bool MoveReceiver(modelClass& model, std::int32_t from, std::int32_t to) {
  tbClass* receivers = model.Receivers();
  if (from == to || modelClass::SeekExact(receivers, to) ||
      !modelClass::SeekExact(receivers, from)) {
    return false;
  }
  receivers->ChangeKey(to);
  if (receivers->Status() != kStatusOk || !modelClass::SeekExact(receivers, to)) return false;
  const ReceiverRec receiver(receivers->Record());
  const std::string designation = receiver.Marking();
  const std::int32_t branch = receiver.BranchKey();
  const bool fed = receiver.SourceNumber() != 0;

  MarkaClass& index = model.Designations();
  if (!designation.empty() && index.KeyOf(designation) == from) {
    index.Remove(designation);
    index.Add(designation, to);
  }
  if (tbClass* object = ReceiverObject(model, branch)) {
    ReceiverObjectRec(object->Record()).SetReceiverKey(to);
    object->MarkModifiedAndFlush();
  }
  if (GroupOfKey(from) != GroupOfKey(to)) {
    CountInGroup(model, GroupOfKey(from), -1, fed);
    CountInGroup(model, GroupOfKey(to), +1, fed);
  }
  return true;
}

bool DeleteReceiver(modelClass& model, std::int32_t key) {
  tbClass* receivers = model.Receivers();
  if (!modelClass::SeekExact(receivers, key)) return false;
  const ReceiverRec receiver(receivers->Record());
  const std::string designation = receiver.Marking();
  const std::int32_t branch = receiver.BranchKey();
  const bool fed = receiver.SourceNumber() != 0;

  MarkaClass& index = model.Designations();
  if (!designation.empty() && index.KeyOf(designation) == key) index.Remove(designation);

  // The feeding map is rebuilt once, at the end, so that the counters
  // dropped here are not dropped a second time by a refresh in between.
  model.SuppressRefresh();
  if (branch != 0) {
    model.DeleteBranch(branch, 0);
    if (tbClass* object = ReceiverObject(model, branch)) object->Delete();
  }
  if (modelClass::SeekExact(receivers, key)) receivers->Delete();
  CountInGroup(model, GroupOfKey(key), -1, fed && branch != 0);
  model.ResumeRefresh();
  if (branch != 0) model.Refresh(RefreshSender::None, 2);
  return true;
}

bool ReplaceDesignation(MarkaClass& index, std::string_view old, std::string_view text,
                        std::int32_t key) {
  if (!text.empty() && index.Find(text).found && index.KeyOf(text) != key) return false;
  if (!old.empty() && index.KeyOf(old) == key) index.Remove(old);
  index.Add(text, key);
  return true;
}

bool SetReceiverDesignation(modelClass& model, std::string_view text) {
  tbClass* receivers = model.Receivers();
  if (receivers == nullptr || receivers->Record().empty()) return false;
  ReceiverRec receiver(receivers->Record());
  // The index compares the stored (cut) text.
  const std::string stored(Utf8Prefix(text, ReceiverRec::kMarkingCapacity));
  if (!ReplaceDesignation(model.Designations(), receiver.Marking(), stored, receivers->Key())) {
    return false;
  }
  receiver.SetMarking(stored);
  receivers->MarkModifiedAndFlush();
  return true;
}

}  // namespace kordavelt
