#include "model/model_exchange_columns.h"

#include <iterator>
#include <limits>

#include "model/model_exchange_format.h"
#include "model/model_keys.h"
#include "model/scheme_records.h"

namespace kordavelt {
namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

constexpr ExchangeColumn Int(std::int64_t min, std::int64_t max) {
  return {CellKind::Integer, min, max, {}, false};
}
constexpr ExchangeColumn Of(CellKind kind) { return {kind, 0, 0, {}, false}; }
constexpr ExchangeColumn List(CellKind kind, std::string_view list) {
  return {kind, 0, 0, list, false};
}
constexpr ExchangeColumn MayBeEmpty(ExchangeColumn column) {
  column.mayBeEmpty = true;
  return column;
}

constexpr ExchangeColumn kText = Of(CellKind::Text);
constexpr ExchangeColumn kFloat = Of(CellKind::Float);
constexpr ExchangeColumn kU8 = Int(0, 255);
constexpr ExchangeColumn kI8 = Int(-128, 127);
constexpr ExchangeColumn kU16 = Int(0, 65535);
constexpr ExchangeColumn kI16 = Int(-32768, 32767);
constexpr ExchangeColumn kI32 = Int(kInt32Min, kInt32Max);
constexpr ExchangeColumn kBranch = Of(CellKind::BranchKey);
constexpr ExchangeColumn kVoltage = Of(CellKind::Voltage);
constexpr ExchangeColumn kYesNo = Of(CellKind::YesNo);
// Keys of a row: 0 or negative finds the record by its designation.
constexpr ExchangeColumn kNodeNumber = Int(kInt32Min, kMaxNodeNumber);
constexpr ExchangeColumn kSourceNumber = Int(kInt32Min, kMaxSourceNumber);
constexpr ExchangeColumn kPageNumber = Int(kInt32Min, 255);

constexpr ExchangeColumn kLaying = List(CellKind::ListItem, kLayingList);
constexpr ExchangeColumn kWiringLaying = List(CellKind::ListItem, kWiringLayingList);
constexpr ExchangeColumn kBankPhase = List(CellKind::ListItem, kPhaseConnectionList);
// A receiver's phase that is not in the list follows its number of phases;
// a regime or a group kind that is not, takes the first item.
constexpr ExchangeColumn kReceiverPhase = List(CellKind::ListOrDefault, kPhaseConnectionList);
constexpr ExchangeColumn kRegime = List(CellKind::ListOrDefault, kExchangeRegimeList);
constexpr ExchangeColumn kGroupKind = List(CellKind::ListOrDefault, kExchangeKindList);
constexpr ExchangeColumn kReceiver = Of(CellKind::ReceiverKey);
// A source or receiver not connected to the network ends its row before its branch.
constexpr ExchangeColumn kOwnBranch = MayBeEmpty(kBranch);
constexpr ExchangeColumn kOwnStatus = MayBeEmpty(kU16);
constexpr ExchangeColumn kOwnFloat = MayBeEmpty(kFloat);

constexpr ExchangeColumn kRoom[] = {kText,  kI32,   kText,  kFloat, kFloat, kFloat, kFloat,
                                    kFloat, kFloat, kFloat, kFloat, kFloat, kI32};

constexpr ExchangeColumn kConsumer[] = {
    kText,  kText,  kReceiver, kU8,    kU16,   kI16,   kI16,    kI16,       kReceiverPhase, kYesNo,
    kText,  kText,  kI32,      kI32,   kFloat, kU8,    kRegime, kGroupKind, kFloat,         kFloat,
    kFloat, kFloat, kFloat,    kFloat, kFloat, kFloat, kFloat,  kOwnBranch, kOwnStatus};

// Sr, the apparent power, is not stored (the calculation computes it).
constexpr ExchangeColumn kApparentPower = Of(CellKind::Number);
constexpr ExchangeColumn kPowerSupply[] = {
    kText,      kSourceNumber, kVoltage,  kFloat,    kFloat,    kApparentPower, kI32,
    kOwnBranch, kOwnStatus,    kOwnFloat, kOwnFloat, kOwnFloat, kOwnFloat};

constexpr ExchangeColumn kNode[] = {kText, kNodeNumber, kU16,   kI16, kI16,
                                    kI16,  kVoltage,    kFloat, kU16};

// Object sections: designation, KeyBeg, KeyEnd, flags byte and Status, then
// the object's values from position 5.
constexpr ExchangeColumn kAbstractBranch[] = {kText, kBranch, kBranch, kU8,    kU16,
                                              kText, kFloat,  kFloat,  kFloat, kFloat};
constexpr ExchangeColumn kCable[] = {kText, kBranch, kBranch, kU8,    kU16,    kI32, kU8,
                                     kI32,  kU8,     kFloat,  kFloat, kLaying, kU8};
constexpr ExchangeColumn kWiring[] = {kText, kBranch, kBranch, kU8,    kU16,          kI32,
                                      kI32,  kU8,     kFloat,  kFloat, kWiringLaying, kU8};
constexpr ExchangeColumn kPowerLine[] = {kText, kBranch, kBranch, kU8,    kU16, kI32,
                                         kI32,  kFloat,  kFloat,  kFloat, kU8};
constexpr ExchangeColumn kBusway[] = {kText, kBranch, kBranch, kU8, kU16, kI32, kFloat, kU16};
constexpr ExchangeColumn kBuswayS[] = {kText, kBranch, kBranch, kU8, kU16, kFloat};
constexpr ExchangeColumn kFuse[] = {kText, kBranch, kBranch, kU8, kU16, kI32, kFloat, kFloat};
constexpr ExchangeColumn kBreaker[] = {kText, kBranch, kBranch, kU8, kU16, kI32, kFloat};
constexpr ExchangeColumn kTypeOnly[] = {kText, kBranch, kBranch, kU8, kU16, kI32};
constexpr ExchangeColumn kTransf[] = {kText,  kBranch, kBranch, kU8,    kU16,   kI32, kFloat,
                                      kFloat, kFloat,  kFloat,  kFloat, kFloat, kI8};
constexpr ExchangeColumn kCapacitor[] = {kText, kBranch, kBranch, kU8, kU16, kI32, kU8, kBankPhase};
constexpr ExchangeColumn kSocket[] = {kText, kBranch, kBranch, kU8, kU16, kI32, kI32, kI32, kI32};

constexpr ExchangeColumn kXYNode[] = {kText, kNodeNumber, kYesNo, kI16, kI16, kU8, kU8, kU8, kU8};

// The path holds Nxy + 2 points; the XML forms leave the other cells empty.
constexpr ExchangeColumn kPoint = MayBeEmpty(kI16);
constexpr ExchangeColumn kDrawingKind = Of(CellKind::DrawingKind);
constexpr ExchangeColumn kSegments = Int(0, XYBranchRec::kMaxSegments);
constexpr ExchangeColumn kXYBranch[] = {
    kText,  kBranch, kDrawingKind, kYesNo, kI8,    kI16,   kI16,   kI8,    kI8,
    kU8,    kU8,     kSegments,    kPoint, kPoint, kPoint, kPoint, kPoint, kPoint,
    kPoint, kPoint,  kPoint,       kPoint, kPoint, kPoint, kPoint, kPoint, kPoint};

constexpr ExchangeColumn kXYPage[] = {kPageNumber, kText, kI16, kI16, kI16, kI16};
constexpr ExchangeColumn kName[] = {kI32, kText};

// Indexed by section number: the kind table's 25, then BuswayS and CTransf.
constexpr SectionColumns kSections[] = {
    {kRoom, 1},            // Room
    {kConsumer, 2},        // Consumer
    {kPowerSupply, 1},     // PowerSupply
    {kNode, 1},            // Node
    {kAbstractBranch, 1},  // Branch
    {kCable, 1},           // Cable
    {kWiring, 1},          // Wiring
    {kPowerLine, 1},       // PowerLine
    {kBusway, 1},          // Busway
    {kBuswayS, 1},         // Busways
    {kFuse, 1},            // Fuse
    {kBreaker, 1},         // Breaker
    {kTypeOnly, 1},        // Rele
    {kTypeOnly, 1},        // Switch
    {kTypeOnly, 1},        // Starter
    {kTransf, 1},          // Transf
    {kTypeOnly, 1},        // CurrentTransf
    {kTypeOnly, 1},        // Stabilizer
    {kTypeOnly, 1},        // Reaktor
    {kCapacitor, 1},       // Capacitor
    {kSocket, 1},          // Socket
    {kXYNode, 1, 8},       // XYNode
    {kXYBranch, 1},        // XYBranch
    {kXYPage, 0},          // XYPage
    {kName, 0},            // Name
    {kBuswayS, 1},         // BuswayS
    {kTypeOnly, 1},        // CTransf
};
static_assert(std::size(kSections) == kSectionCTransf + 1);

constexpr SectionColumns kNone{};

}  // namespace

const SectionColumns& ColumnsOfSection(int section) {
  if (section < 0 || section > kSectionCTransf) return kNone;
  return kSections[section];
}

}  // namespace kordavelt
