#pragma once

// The texts by which the result tables name the parts of the network: nodes
// and branches by their designation, terminal objects by their receiver and
// group, nodes by their room.

#include <cstdint>
#include <string>
#include <vector>

#include "model/designations.h"

namespace kordavelt {

class CalcClass;
class modelClass;
struct ElementRec;

// Kinds at which a connection ends in a terminal object (the calculation's
// re-marked kinds included).
bool IsTerminalEndKind(int kind);

// The receiver tied to a receiver branch.
struct ReceiverNames {
  bool found = false;
  std::string name;   // the receiver's designation
  std::string group;  // its group's name
};
ReceiverNames ReceiverOfBranch(modelClass& model, std::int32_t branchKey);

// Where a result row's connection ends, from its element's end fields.
struct ConnectionEnd {
  bool terminal = false;         // a terminal object, not a node
  bool receiverMissing = false;  // a receiver branch whose receiver is gone
  std::string name;              // receiver, terminal object or end node
  std::string detail;            // the receiver's group, or the terminal's kind name
};
ConnectionEnd EndOfConnection(modelClass& model, const ElementRec& element);

// The name of the room a node stands in; empty when none.
std::string RoomOfNode(modelClass& model, int node);

}  // namespace kordavelt
