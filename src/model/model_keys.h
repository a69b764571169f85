#pragma once

// Keys by which the tables of a model refer to each other.
//
// A branch starts at a node and takes one of its 255 slots: branch key =
// node × 256 + slot (slot 0 only for a power source's own branch). A far end
// is keyed the same way at the end node. A receiver is keyed within its
// group: group × 1024 + number. Markings use the branch key, or node × 256
// for a node.

#include <cstdint>
#include <string>

namespace kordavelt {

inline constexpr int kSlotsPerNode = 256;
inline constexpr int kMaxSlot = 255;
inline constexpr int kMaxNodeNumber = 65535;
// Node numbers above this make branch keys overflow 32 bits. The program
// numbers new nodes up to it when the engineer raises the settings' bound past
// kMaxNodeNumber.
inline constexpr int kLargestKeyedNode = 0x7FFFFFFF / kSlotsPerNode - 1;
inline constexpr int kReceiversPerGroup = 1024;
inline constexpr int kMaxReceiverInGroup = 1023;
// Group numbers above this make receiver keys overflow 32 bits.
inline constexpr int kMaxGroupNumber = 0x7FFFFFFF / kReceiversPerGroup;
inline constexpr int kMaxSourceNumber = 255;

constexpr std::int32_t BranchKey(int node, int slot) { return node * kSlotsPerNode + slot; }
constexpr std::int32_t FarEndKey(int endNode, int slot) { return BranchKey(endNode, slot); }
constexpr int NodeOfKey(std::int32_t key) { return key / kSlotsPerNode; }
constexpr int SlotOfKey(std::int32_t key) { return key % kSlotsPerNode; }

constexpr std::int32_t ReceiverKey(int group, int number) {
  return group * kReceiversPerGroup + number;
}
constexpr int GroupOfKey(std::int32_t key) { return key / kReceiversPerGroup; }
constexpr int NumberInGroup(std::int32_t key) { return key % kReceiversPerGroup; }

// The marking code of a node; a branch and its object use the branch key.
constexpr std::int32_t NodeMarkingCode(int node) { return BranchKey(node, 0); }

// What the program shows for a node or branch without a marking: the node
// number for a node code (slot 0), node, point and slot for a branch ("12.3").
std::string MissingMarkingText(std::int32_t code);

}  // namespace kordavelt
