#pragma once

// Table numbers of the model file and the data length of their records
// (the bytes after the 4-byte key).

namespace kordavelt {

// The model settings: one raw block.
inline constexpr int kSettingsBlock = 1;
inline constexpr int kSettingsLength = 1469;

inline constexpr int kNodeTable = 2;  // key: node number
inline constexpr int kNodeLength = 34;
inline constexpr int kBranchTable = 3;  // key: branch key (start node × 256 + slot)
inline constexpr int kBranchLength = 8;
inline constexpr int kFarEndTable = 4;  // key: far-end key (end node × 256 + slot)
inline constexpr int kFarEndLength = 4;
inline constexpr int kSourceTable = 5;  // key: source number
inline constexpr int kSourceLength = 38;
inline constexpr int kReceiverTable = 6;  // key: group × 1024 + n
inline constexpr int kReceiverLength = 35;
inline constexpr int kGroupTable = 7;  // key: group number
inline constexpr int kGroupLength = 164;
inline constexpr int kRoomTable = 8;  // key: room number
inline constexpr int kRoomLength = 112;
inline constexpr int kMarkingTable = 9;  // key: node × 256 for a node, else the branch key
inline constexpr int kMarkingLength = 20;
inline constexpr int kNameTable = 10;  // key: name number
inline constexpr int kNameLength = 128;

// The objects of kind k live in table 100 + k, keyed by the branch key.
inline constexpr int kObjectTableBase = 100;
constexpr int ObjectTable(int kind) { return kObjectTableBase + kind; }

inline constexpr int kAbstractBranchTable = 103;
inline constexpr int kAbstractBranchLength = 36;
inline constexpr int kCableLineTable = 111;
inline constexpr int kCableLineLength = 20;
inline constexpr int kWiringTable = 112;
inline constexpr int kWiringLength = 23;
inline constexpr int kOverheadLineTable = 113;
inline constexpr int kOverheadLineLength = 22;
inline constexpr int kTrunkingTable = 114;  // busbar trunking of catalogue type (К)
inline constexpr int kTrunkingLength = 10;
inline constexpr int kBusbarTrunkingTable = 115;  // busbar trunking by construction (Н)
inline constexpr int kBusbarTrunkingLength = 32;
inline constexpr int kProtectiveDeviceTable = 120;
inline constexpr int kProtectiveDeviceLength = 157;
inline constexpr int kBreakerTable = 121;
inline constexpr int kBreakerLength = 34;
inline constexpr int kFuseTable = 122;
inline constexpr int kFuseLength = 12;
inline constexpr int kCurrentRelayTable = 123;
inline constexpr int kSwitchTable = 124;
inline constexpr int kStarterTable = 125;
inline constexpr int kStarterLength = 12;
inline constexpr int kTransformerTable = 131;
inline constexpr int kTransformerLength = 29;
inline constexpr int kStabiliserTable = 132;
inline constexpr int kReactorTable = 133;
inline constexpr int kCurrentTransformerTable = 134;
// Current relays, switches, stabilisers, reactors and current transformers
// store nothing but their type code.
inline constexpr int kTypeOnlyLength = 4;
inline constexpr int kCapacitorBankTable = 143;
inline constexpr int kCapacitorBankLength = 6;
inline constexpr int kSocketsTable = 145;
inline constexpr int kSocketsLength = 20;
inline constexpr int kGeneratorTable = 150;
inline constexpr int kGeneratorLength = 46;
inline constexpr int kSourceObjectTable = 151;
inline constexpr int kSourceObjectLength = 132;
inline constexpr int kReceiverObjectTable = 152;
inline constexpr int kReceiverObjectLength = 4;
inline constexpr int kEquivalentMotorTable = 153;
inline constexpr int kEquivalentMotorLength = 40;

// Scheme geometry.
inline constexpr int kXYNodeTable = 201;  // key: node number; one record per subscheme
inline constexpr int kXYNodeLength = 10;
inline constexpr int kXYBranchTable = 202;  // key: branch key
inline constexpr int kXYBranchLength = 40;
inline constexpr int kXYPageTable = 203;  // key: subscheme number 1 … 255
inline constexpr int kXYPageLength = 56;

}  // namespace kordavelt
