// Thousands of random topology edits, undos and repairs: after every step an
// independent walker over the raw tables checks that nodes, branches, far
// ends, objects and sources still agree. It guards against the faults a
// single scenario misses: a far end left behind by a move, two branch ends
// in one slot, a branch on a deleted node, an object lost or doubled. Now and
// then the model check of `kordavelt-cli check` reads the file as well: a
// rule of it that the program's own edits break would call sound work damaged.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include "model/model_builder.h"
#include "model/model_check.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "model/object_records.h"

namespace kordavelt::testing {
namespace {

struct Raw {
  std::multimap<std::int32_t, std::vector<std::uint8_t>> records;
};

Raw ReadAll(tbClass* table) {
  Raw raw;
  if (table == nullptr) return raw;
  for (int n = 1; n <= table->Count(); ++n) {
    table->GoTo(n);
    if (table->Status() != kStatusOk) break;
    const ConstBytes data = std::as_const(*table).Record();
    raw.records.emplace(table->Key(), std::vector<std::uint8_t>(data.begin(), data.end()));
  }
  return raw;
}

std::int32_t I32At(const std::vector<std::uint8_t>& d, int offset) {
  return static_cast<std::int32_t>(d[offset] | d[offset + 1] << 8 | d[offset + 2] << 16 |
                                   static_cast<std::uint32_t>(d[offset + 3]) << 24);
}

// The invariants of the model's tables, read from the bytes alone:
// branch record = KeyEnd int32 @0, kind @4, flags @5, status uint16 @6;
// far end = branch key int32 @0; source: branch key int32 @30;
// source object: source number int32 @128.
std::string Violations(modelClass& model) {
  std::ostringstream out;
  const Raw nodes = ReadAll(model.Nodes());
  const Raw branches = ReadAll(model.Branches());
  const Raw farEnds = ReadAll(model.FarEnds());
  const Raw sources = ReadAll(model.Sources());
  std::map<int, Raw> objectTables;
  std::set<std::int32_t> nodeSet;
  for (const auto& [key, data] : nodes.records) {
    if (!nodeSet.insert(key).second) out << "node " << key << " twice; ";
  }
  std::set<std::int32_t> slots;
  for (const auto& [key, data] : branches.records) {
    if (!slots.insert(key).second) out << "branch key " << key << " twice; ";
    if (!nodeSet.count(key / 256)) out << "branch " << key << " starts at a missing node; ";
    const std::int32_t end = I32At(data, 0);
    const int kind = data[4];
    if (end != 0) {
      if (end / 256 == key / 256) out << "branch " << key << " closed on itself; ";
      if (!nodeSet.count(end / 256)) out << "branch " << key << " ends at a missing node; ";
      const auto range = farEnds.records.equal_range(end);
      if (std::distance(range.first, range.second) != 1 || I32At(range.first->second, 0) != key) {
        out << "branch " << key << " has no far end " << end << "; ";
      }
    }
    const int table = kind == 2 ? 0 : ObjectTableOfKind(kind);
    if (table > 0) {
      auto objects = objectTables.find(kind);
      if (objects == objectTables.end()) {
        objects = objectTables.emplace(kind, ReadAll(model.OpenObjectTable(kind))).first;
      }
      if (objects->second.records.count(key) != 1) out << "branch " << key << " object count; ";
    }
  }
  for (const auto& [key, data] : farEnds.records) {
    if (!slots.insert(key).second) out << "slot " << key << " used twice; ";
    const auto branch = branches.records.find(I32At(data, 0));
    if (branch == branches.records.end() || I32At(branch->second, 0) != key) {
      out << "far end " << key << " belongs to no branch; ";
    }
  }
  for (const auto& [number, data] : sources.records) {
    const std::int32_t key = I32At(data, 30);
    if (key == 0) continue;
    const auto branch = branches.records.find(key);
    if (branch == branches.records.end()) {
      out << "source " << number << " on a missing branch; ";
      continue;
    }
    if (branch->second[4] != kKindPowerSource || I32At(branch->second, 0) != 0) {
      out << "source " << number << " on a branch that is no source's; ";
    }
    const Raw& objects = objectTables.count(kKindPowerSource)
                             ? objectTables[kKindPowerSource]
                             : objectTables[kKindPowerSource] =
                                   ReadAll(model.OpenObjectTable(kKindPowerSource));
    const auto object = objects.records.find(key);
    if (object == objects.records.end() || I32At(object->second, 128) != number) {
      out << "source " << number << " not named by its object; ";
    }
  }
  return out.str();
}

TEST(TopologyRandomTest, RandomEditsKeepTheTablesInAgreement) {
  ModelBuilder m;
  std::mt19937 random(20240611);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto keysOf = [](tbClass* table) {
    std::vector<std::int32_t> keys;
    for (int n = 1; n <= table->Count(); ++n) {
      table->GoTo(n);
      if (table->Status() == kStatusOk) keys.push_back(table->Key());
    }
    return keys;
  };
  const auto anyNode = [&] {
    const std::vector<std::int32_t> nodes = keysOf(m->Nodes());
    // Now and then a number that is no node.
    if (nodes.empty() || pick(20) == 0) return 90 + pick(5);
    return static_cast<int>(nodes[pick(static_cast<int>(nodes.size()))]);
  };
  const auto anyBranch = [&] {
    const std::vector<std::int32_t> keys = keysOf(m->Branches());
    if (keys.empty()) return std::int32_t{0};
    return keys[pick(static_cast<int>(keys.size()))];
  };
  const int kinds[] = {kKindCableLine,     kKindBreaker,     kKindFuse,
                       kKindCapacitorBank, kKindTransformer, kKindSwitch};

  constexpr int kSteps = 3000;
  for (int step = 0; step < kSteps; ++step) {
    const int op = pick(20);
    std::string what;
    if (op < 4 && m->Nodes()->Count() < 30) {
      what = "add node";
      m.Node();
    } else if (op < 8) {
      const int kind = kinds[pick(6)];
      what = "connect";
      m.Branch(kind, anyNode(), KindHasFarEnd(kind) ? anyNode() : 0);
    } else if (op == 8) {
      what = "source";
      m.Source(anyNode());
    } else if (op == 9) {
      what = "switch start";
      m->SwitchBranchStart(anyBranch(), anyNode());
    } else if (op == 10) {
      what = "switch end";
      m->SwitchBranchEnd(anyBranch(), anyNode());
    } else if (op == 11) {
      what = "toggle";
      m->SetRegime(pick(8));
      m->ToggleBranch(anyBranch());
    } else if (op == 12 || op == 13) {
      what = "delete branch";
      const std::int32_t key = anyBranch();
      m->DeleteBranch(key, pick(2) == 0 ? key / 256 : 0);
    } else if (op == 14) {
      what = "delete node";
      m->DeleteNode(anyNode());
    } else if (op == 15 || op == 16) {
      what = "undo";
      m->UndoDeletion();
    } else if (op == 17) {
      what = "copy";
      const int start = anyNode();
      const int end = anyNode();
      m->CopyBranch(anyBranch(), start, end);
    } else if (op == 18) {
      what = "copy node";
      m->CopyNode(anyNode());
    } else {
      what = "restore";
      // Nothing of this model is on a scheme: the question comes with any element.
      if (m->Nodes()->Count() + m->Branches()->Count() > 0) m.ui.PressButton("Нет");
      m->Restore();
    }
    const std::string violations = Violations(m.model);
    ASSERT_EQ(violations, "") << "after step " << step << " (" << what << ")";
    ASSERT_EQ(m.ui.PendingAnswers(), 0u) << "after step " << step << " (" << what << ")";
    if (step % 100 == 99) {
      MemoryFile file(m.FileBytes(), true);
      const std::vector<DbProblem> problems = CheckModelFile(file);
      ASSERT_TRUE(problems.empty()) << "after step " << step << ": " << problems.front().text;
    }
  }
}

}  // namespace
}  // namespace kordavelt::testing
