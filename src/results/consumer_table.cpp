#include "results/consumer_table.h"

#include "base/number_format.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "results/network_names.h"

namespace kordavelt {
namespace {

std::string PointCells(double x, double y, double z) {
  return NumberCell(x) + NumberCell(y) + NumberCell(z);
}

}  // namespace

bool ConsumerTable::Build(TableForm& form) {
  form.caption = kCaption;
  form.name = "Potr";
  form.head1 = " № #         Наименования        #Обозначения#  X  #  Y  #  Z  #";
  form.head2 = "   #                             #           #  м  #  м  #  м  #";
  form.displayCodes = "CLC" + std::string(kMaxTableColumns - 4, 'C');
  AddReceivers();
  AddNodes();
  return true;
}

void ConsumerTable::AddReceivers() {
  modelClass& model = Model();
  tbClass* receivers = model.Receivers();
  if (receivers == nullptr) return;
  receivers->GoTo(0);
  while (receivers->Next() && !Full()) {
    const std::int32_t key = receivers->Key();
    const ReceiverRec receiver(receivers->Record());
    const std::string marking = receiver.Marking();
    const double x = receiver.X();
    const double y = receiver.Y();
    const double z = receiver.Z();
    std::string group;
    if (modelClass::SeekExact(model.Groups(), GroupOfKey(key))) {
      group = GroupRec(model.Groups()->Record()).Name();
    }
    AddRow(FormatNumber(RowCount() + 1) + Cell(group) + Cell(marking) + PointCells(x, y, z));
  }
}

void ConsumerTable::AddNodes() {
  modelClass& model = Model();
  tbClass* nodes = model.Nodes();
  if (nodes == nullptr) return;
  nodes->GoTo(0);
  while (nodes->Next() && !Full()) {
    const int node = nodes->Key();
    const std::string marking = MarkingText(model, NodeMarkingCode(node));
    if (marking.empty()) continue;
    const NodeRec record(nodes->Record());
    const double x = record.X();
    const double y = record.Y();
    const double z = record.Z();
    // Looking up the room positions the node table on this same node.
    const std::string room = RoomOfNode(model, node);
    AddRow(FormatNumber(RowCount() + 1) + Cell(room) + Cell(marking) + PointCells(x, y, z));
  }
}

}  // namespace kordavelt
