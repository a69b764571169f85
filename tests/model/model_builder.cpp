#include "model/model_builder.h"

#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "model/object_records.h"

namespace kordavelt::testing {

ModelBuilder::ModelBuilder(const std::string& path) {
  model.SetFileName(path);
  model.CreateFile();
  model.OpenFile();
}

ModelBuilder::~ModelBuilder() {
  if (model.IsOpen()) {
    model.SetAskToSave(false);
    model.CloseFile();
  }
}

int ModelBuilder::Node() { return model.AddNode(); }

int ModelBuilder::Nodes(int count) {
  int last = 0;
  for (int i = 0; i < count; ++i) last = Node();
  return last;
}

std::int32_t ModelBuilder::Branch(int kind, int start, int end) {
  return ConnectObject(model, kind, start, end);
}

std::int32_t ModelBuilder::Cable(int start, int end, std::int32_t type, float lengthM) {
  const std::int32_t key = Branch(kKindCableLine, start, end);
  tbClass* cables = model.OpenObjectTable(kKindCableLine);
  if (key != 0 && modelClass::SeekExact(cables, key)) {
    CableLineRec cable(cables->Record());
    cable.SetType(type);
    cable.SetL(lengthM);
    cable.SetNk(1);
    cables->MarkModifiedAndFlush();
  }
  return key;
}

std::int32_t ModelBuilder::Breaker(int start, int end, std::int32_t type) {
  const std::int32_t key = Branch(kKindBreaker, start, end);
  tbClass* breakers = model.OpenObjectTable(kKindBreaker);
  if (key != 0 && modelClass::SeekExact(breakers, key)) {
    BreakerRec(breakers->Record()).SetType(type);
    breakers->MarkModifiedAndFlush();
  }
  return key;
}

ModelBuilder::Tied ModelBuilder::Source(int node, std::string_view marking) {
  tbClass* sources = model.Sources();
  const int number = sources->LastKey() + 1;
  sources->Insert(number);
  SourceRec(sources->Record()).SetMarking(marking);
  sources->MarkModifiedAndFlush();
  if (!marking.empty()) model.Designations().Add(marking, number);

  const std::int32_t branch = Branch(kKindPowerSource, node);
  if (branch != 0) {
    if (modelClass::SeekExact(sources, number)) {
      SourceRec(sources->Record()).SetBranchKey(branch);
      sources->MarkModifiedAndFlush();
    }
    tbClass* objects = model.OpenObjectTable(kKindPowerSource);
    if (modelClass::SeekExact(objects, branch)) {
      SourceObjectRec(objects->Record()).SetSourceNumber(number);
      objects->MarkModifiedAndFlush();
    }
  }
  model.Refresh(RefreshSender::None, 2);
  return {number, branch};
}

int ModelBuilder::Group(std::string_view name) {
  tbClass* groups = model.Groups();
  const int number = groups->LastKey() + 1;
  groups->Insert(number);
  GroupRec(groups->Record()).SetName(name);
  groups->MarkModifiedAndFlush();
  return number;
}

ModelBuilder::Tied ModelBuilder::Receiver(int node, int group, std::string_view marking) {
  tbClass* receivers = model.Receivers();
  int n = 1;
  while (n <= kMaxReceiverInGroup && modelClass::SeekExact(receivers, ReceiverKey(group, n))) ++n;
  const std::int32_t key = ReceiverKey(group, n);
  receivers->Insert(key);
  ReceiverRec(receivers->Record()).SetMarking(marking);
  ReceiverRec(receivers->Record()).SetSwitchedOn(1);
  receivers->MarkModifiedAndFlush();
  if (!marking.empty()) model.Designations().Add(marking, key);
  if (modelClass::SeekExact(model.Groups(), group)) {
    GroupRec record(model.Groups()->Record());
    record.SetReceiverCount(static_cast<std::uint16_t>(record.ReceiverCount() + 1));
    model.Groups()->MarkModifiedAndFlush();
  }

  const std::int32_t branch = Branch(kKindReceiver, node);
  if (branch != 0) {
    if (modelClass::SeekExact(receivers, key)) {
      ReceiverRec(receivers->Record()).SetBranchKey(branch);
      receivers->MarkModifiedAndFlush();
    }
    tbClass* objects = model.OpenObjectTable(kKindReceiver);
    if (modelClass::SeekExact(objects, branch)) {
      ReceiverObjectRec(objects->Record()).SetReceiverKey(key);
      objects->MarkModifiedAndFlush();
    }
  }
  model.Refresh(RefreshSender::None, 2);
  return {key, branch};
}

int ModelBuilder::StatusOf(std::int32_t branch) {
  if (!modelClass::SeekExact(model.Branches(), branch)) return -1;
  return BranchRec(model.Branches()->Record()).Status();
}

void ModelBuilder::SetStatus(std::int32_t branch, std::uint16_t status) {
  if (!modelClass::SeekExact(model.Branches(), branch)) return;
  BranchRec(model.Branches()->Record()).SetStatus(status);
  model.Branches()->MarkModifiedAndFlush();
}

bool ModelBuilder::Reopen() {
  model.SetAskToSave(false);
  if (!model.CloseFile()) return false;
  return model.OpenFile();
}

std::vector<std::uint8_t> ModelBuilder::FileBytes() {
  model.FlushAll();
  const std::vector<std::uint8_t>* bytes = files.Find(model.FileName());
  return bytes == nullptr ? std::vector<std::uint8_t>() : *bytes;
}

}  // namespace kordavelt::testing
