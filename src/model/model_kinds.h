#pragma once

// The object kinds of the network model: what a branch can carry. Each kind
// has a code stored in the branch record, a caption, and (most kinds) an
// object table 100 + code holding one record per branch. The list order is
// the order of every kind list the program shows.

#include <array>
#include <string_view>

namespace kordavelt {

// Codes stored in branch records. The calculation re-marks some loads with
// codes of its own (41, 42, 54, 55); those are not kinds of the model.
enum KindCode : int {
  kKindNode = 2,
  kKindAbstractBranch = 3,
  kKindCableLine = 11,
  kKindWiring = 12,
  kKindOverheadLine = 13,
  kKindTrunkingK = 14,
  kKindTrunkingN = 15,
  kKindProtectiveDevice = 20,
  kKindBreaker = 21,
  kKindFuse = 22,
  kKindCurrentRelay = 23,
  kKindSwitch = 24,
  kKindStarter = 25,
  kKindTransformer = 31,
  kKindStabiliser = 32,
  kKindReactor = 33,
  kKindCurrentTransformer = 34,
  kKindCapacitorBank = 43,
  kKindSockets = 45,
  kKindLighting = 46,
  kKindGenerator = 50,
  kKindPowerSource = 51,
  kKindReceiver = 52,
  kKindEquivalentMotor = 53,
};

struct ObjectKind {
  int position;              // place in the kind list
  int code;                  // stored in the branch record
  std::string_view caption;  // as the kind list shows it
  int table;                 // object table (2 for the node itself), 0 for none
  int dataLength;            // record data length of that table, 0 for none
};

inline constexpr int kKindCount = 24;

// Every kind, in list order.
const std::array<ObjectKind, kKindCount>& ObjectKinds();

// The kind of a code, or nullptr for a code no kind has.
const ObjectKind* KindOfCode(int code);

// The kind list as a '#'-list of captions, in list order.
std::string_view KindCaptionList();

// The object table of a kind code, 0 when the kind keeps no objects.
int ObjectTableOfKind(int code);

}  // namespace kordavelt
