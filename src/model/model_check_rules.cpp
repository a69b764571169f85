#include "model/model_check_rules.h"

#include <algorithm>
#include <iterator>

#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_settings.h"
#include "model/model_tables.h"

namespace kordavelt {
namespace {

// Subschemes are numbered as the page byte of the scheme records can hold them.
constexpr int kMaxPage = 255;

bool IsNode(std::int64_t node) { return node >= 1 && node <= kLargestKeyedNode; }

// Any branch key: a node and a slot 0 … 255 (slot 0: a source's own branch,
// or a node's marking).
bool IsBranchKey(std::int64_t key) { return key >= 0 && IsNode(key / kSlotsPerNode); }

// A branch end in slots 1 … 255: far ends, and branches of every kind but a source's.
bool IsSlotKey(std::int64_t key) { return IsBranchKey(key) && key % kSlotsPerNode != 0; }

bool IsSourceNumber(std::int64_t key) { return key >= 1 && key <= kMaxSourceNumber; }

// A group from 1 and a number 1 … 1023 within it.
bool IsReceiverKey(std::int64_t key) {
  return key >= kReceiversPerGroup && key % kReceiversPerGroup != 0;
}

bool IsPositive(std::int64_t key) { return key >= 1; }

// A group whose receivers' keys fit 32 bits.
bool IsGroup(std::int64_t key) { return key >= 1 && key <= kMaxGroupNumber; }

bool IsPage(std::int64_t key) { return key >= 1 && key <= kMaxPage; }

static_assert(kLargestKeyedNode == 8388606, "the texts below name the largest node");

constexpr KeyRule kNodeKey{IsNode, "номер узла должен быть от 1 до 8388606"};
constexpr KeyRule kBranchKey{
    IsBranchKey, "ключ ветви должен быть узел × 256 + присоединение, узел от 1 до 8388606"};
constexpr KeyRule kSlotKey{
    IsSlotKey, "ключ должен быть узел × 256 + присоединение 1…255, узел от 1 до 8388606"};
constexpr KeyRule kSourceKey{IsSourceNumber, "номер ИП должен быть от 1 до 255"};
constexpr KeyRule kReceiverKey{IsReceiverKey,
                               "ключ ЭП должен быть группа × 1024 + номер 1…1023, группа от 1"};
constexpr KeyRule kPositiveKey{IsPositive, "ключ должен быть больше 0"};
static_assert(kMaxGroupNumber == 2097151, "the text below names the largest group");
constexpr KeyRule kGroupKey{IsGroup, "номер группы должен быть от 1 до 2097151"};
constexpr KeyRule kPageKey{IsPage, "номер подсхемы должен быть от 1 до 255"};

constexpr TableRule kTableRules[] = {
    {kNodeTable, &kNodeKey, {}},
    {kBranchTable, &kBranchKey, {}},
    {kFarEndTable, &kSlotKey, {}},
    {kSourceTable, &kSourceKey, {}},
    {kReceiverTable, &kReceiverKey, {}},
    {kGroupTable, &kGroupKey, {}},
    {kRoomTable, &kPositiveKey, {}},
    {kMarkingTable, &kBranchKey, {}},
    {kNameTable, &kPositiveKey, {}},
    // A source takes slot 0 of its node.
    {kSourceObjectTable, &kBranchKey, {}},
    {kXYNodeTable, &kNodeKey, "Page"},
    {kXYBranchTable, &kBranchKey, {}},
    {kXYPageTable, &kPageKey, {}},
};

std::string Num(std::int64_t value) { return std::to_string(value); }

std::optional<std::string> VoltageIndexFault(std::int64_t value, std::int32_t) {
  if (value < ModelSettings::kVoltageCount) return std::nullopt;
  return "индекс напряжения " + Num(value) + " вне списка напряжений 0…5";
}

std::optional<std::string> BranchKindFault(std::int64_t value, std::int32_t key) {
  const ObjectKind* kind = KindOfCode(static_cast<int>(value));
  if (kind == nullptr || kind->code == kKindNode) return "нет вида объекта с кодом " + Num(value);
  if (SlotOfKey(key) == 0 && kind->code != kKindPowerSource) {
    return "на присоединении 0 бывает только источник питания, а не вид " + Num(value);
  }
  return std::nullopt;
}

std::optional<std::string> FarEndFault(std::int64_t value, std::int32_t) {
  if (value == 0 || IsSlotKey(value)) return std::nullopt;
  return Num(value) + " — не ключ конца ветви";
}

std::optional<std::string> BranchFault(std::int64_t value, std::int32_t) {
  if (IsBranchKey(value)) return std::nullopt;
  return Num(value) + " — не ключ ветви";
}

std::optional<std::string> BranchOrNoneFault(std::int64_t value, std::int32_t key) {
  return value == 0 ? std::nullopt : BranchFault(value, key);
}

std::optional<std::string> SourceOrNoneFault(std::int64_t value, std::int32_t) {
  if (value == 0 || IsSourceNumber(value)) return std::nullopt;
  return Num(value) + " — не номер ИП";
}

std::optional<std::string> ReceiverOrNoneFault(std::int64_t value, std::int32_t) {
  if (value == 0 || IsReceiverKey(value)) return std::nullopt;
  return Num(value) + " — не ключ ЭП";
}

constexpr FieldRule kFieldRules[] = {
    {kNodeTable, "Unom", VoltageIndexFault},
    {kBranchTable, "KeyEnd", FarEndFault},
    {kBranchTable, "Kind", BranchKindFault},
    {kFarEndTable, "KeyBeg", BranchFault},
    {kSourceTable, "Unom", VoltageIndexFault},
    {kSourceTable, "KeyBranch", BranchOrNoneFault},
    {kReceiverTable, "KeyBranch", BranchOrNoneFault},
    // A copied source or receiver object belongs to none until it is tied.
    {kSourceObjectTable, "SourceNumber", SourceOrNoneFault},
    {kReceiverObjectTable, "ReceiverKey", ReceiverOrNoneFault},
};

bool IsObjectTable(int table) {
  return std::ranges::any_of(ObjectKinds(), [table](const ObjectKind& kind) {
    return kind.code != kKindNode && kind.table == table;
  });
}

}  // namespace

std::optional<TableRule> TableRuleOf(int table) {
  const auto* found = std::ranges::find(kTableRules, table, &TableRule::table);
  if (found != std::end(kTableRules)) return *found;
  if (IsObjectTable(table)) return TableRule{table, &kSlotKey, {}};
  return std::nullopt;
}

std::span<const FieldRule> FieldRules() { return kFieldRules; }

}  // namespace kordavelt
