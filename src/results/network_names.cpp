#include "results/network_names.h"

#include "model/designations.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "refbook/kind_names.h"

namespace kordavelt {

bool IsTerminalEndKind(int kind) {
  return (kind >= 41 && kind <= 43) || kind == 45 || kind == 46 || kind == 50 ||
         (kind >= 52 && kind <= 55);
}

ReceiverNames ReceiverOfBranch(modelClass& model, std::int32_t branchKey) {
  tbClass* objects = model.OpenObjectTable(kKindReceiver);
  if (!modelClass::SeekExact(objects, branchKey)) return {};
  const std::int32_t key = ReceiverObjectRec(objects->Record()).ReceiverKey();
  if (key <= 0 || !modelClass::SeekExact(model.Receivers(), key)) return {};
  ReceiverNames names{true, ReceiverRec(model.Receivers()->Record()).Marking(), {}};
  if (modelClass::SeekExact(model.Groups(), GroupOfKey(key))) {
    names.group = GroupRec(model.Groups()->Record()).Name();
  }
  return names;
}

ConnectionEnd EndOfConnection(modelClass& model, const ElementRec& element) {
  ConnectionEnd end;
  if (!IsTerminalEndKind(element.endKind)) {
    end.name = NodeDesignation(model, element.endNode);
    return end;
  }
  end.terminal = true;
  tbClass* branches = model.Branches();
  const bool receiverBranch = modelClass::SeekExact(branches, element.endKey) &&
                              BranchRec(branches->Record()).Kind() == kKindReceiver;
  if (!receiverBranch) {
    end.name = BranchDesignation(model, element.endKey);
    end.detail = KindName(element.endKind);
    return end;
  }
  const ReceiverNames receiver = ReceiverOfBranch(model, element.endKey);
  end.receiverMissing = !receiver.found;
  end.name = receiver.found ? receiver.name : "Нет";
  end.detail = receiver.group;
  return end;
}

std::string RoomOfNode(modelClass& model, int node) {
  if (!modelClass::SeekExact(model.Nodes(), node)) return {};
  const int room = NodeRec(model.Nodes()->Record()).CodRoom();
  if (room == 0 || !modelClass::SeekExact(model.Rooms(), room)) return {};
  return RoomRec(model.Rooms()->Record()).Name();
}

}  // namespace kordavelt
