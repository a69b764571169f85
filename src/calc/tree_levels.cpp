// Walks over a traced tree that give every element its nominal voltage and
// the bounds of the connection it belongs to.

#include <cmath>
#include <vector>

#include "calc/calc_class.h"
#include "model/designations.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "ui/ui_host.h"

namespace kordavelt {

namespace {

constexpr int kVoltageCount = 6;
// A transformer winding may differ this much from the network voltage.
constexpr long double kWindingTolerance = 0.3L;

bool IsTerminalKind(int kind) {
  // 46: receivers of groups of kind "ЭД" re-marked for the design loads.
  return (kind >= 41 && kind <= 43) || kind == 45 || kind == 46 || kind == 50 ||
         (kind >= 52 && kind <= 55);
}

// The index of the nominal voltage nearest to `volts`; the first of equals.
int NearestVoltage(const ModelSettings& settings, long double volts) {
  int best = 0;
  long double bestDistance = std::fabs(settings.NominalVoltage(0) - volts);
  for (int i = 1; i < kVoltageCount; ++i) {
    const long double distance = std::fabs(settings.NominalVoltage(i) - volts);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

bool CalcClass::NamedNode(int node) {
  return node > 0 && modelClass::SeekExact(model_.Markings(), NodeMarkingCode(node));
}

std::string CalcClass::BranchDesignation(std::int32_t key) {
  return kordavelt::BranchDesignation(model_, key);
}

bool CalcClass::AssignVoltageLevels() {
  if (count_ < 1) return false;
  const ModelSettings& settings = model_.Settings();
  const int sourceIndex = sourceVoltageIndex_ < kVoltageCount ? sourceVoltageIndex_ : 0;
  Element(1).unom = settings.NominalVoltage(sourceIndex);

  std::array<int, kMaxLevel + 2> index{};
  index[0] = index[1] = sourceIndex;
  tbClass* transformers = nullptr;
  bool nodesChanged = false;
  bool done = true;

  for (int i = 2; i <= count_; ++i) {
    ElementRec& element = Element(i);
    const ElementRec& before = Element(i - 1);
    const int level = std::min<int>(element.level, kMaxLevel);
    // A section that begins here starts from the voltage of its parent.
    if (level > 1 && (level > before.level || before.endOfSection != 0)) {
      index[level] = index[level - 1];
    }
    element.unom = settings.NominalVoltage(index[level]);

    if (element.kind == kKindTransformer) {
      if (transformers == nullptr) transformers = model_.OpenObjectTable(kKindTransformer);
      float high = 0;
      float low = 0;
      const std::int32_t key = BranchKeyOf(element);
      if (modelClass::SeekExact(transformers, key)) {
        const TransformerRec transformer(transformers->Record());
        high = transformer.Uv();
        low = transformer.Un();
      }
      // Passed against its direction the low-voltage winding faces the source.
      const bool forward = element.signedKey > 0;
      const long double facing = (forward ? high : low) * 1000.0L;
      const long double beyond = (forward ? low : high) * 1000.0L;
      const long double network = settings.NominalVoltage(index[level]);
      if (!(network > 0) || !(std::fabs(facing - network) / network <= kWindingTolerance)) {
        model_.Ui().ShowError(kCaptionCalc, std::string("Напряжение ") + (forward ? "ВН" : "НН") +
                                                " трансформатора " + BranchDesignation(key) +
                                                "!#не соответствует напряжению сети" + "#от ИП " +
                                                sourceName_ + "!#Расчет остановлен");
        done = false;
        break;
      }
      index[level] = NearestVoltage(settings, beyond);
      // The transformer's own results (its end voltage, currents and Iдоп)
      // are on the side the tree leaves by, as its preparation refers them.
      element.unom = settings.NominalVoltage(index[level]);
    }

    if (StoreNodeVoltage(i, index[level])) nodesChanged = true;
  }
  if (nodesChanged) model_.Nodes()->Flush();
  return done;
}

bool CalcClass::StoreNodeVoltage(int position, int index) {
  // The trace read each far node's index, and a pass keeps it: only a node
  // whose index changes is sought.
  TreeEntry& entry = tree_[position];
  if (entry.toNode == 0 || entry.toNodeVoltage == index) return false;
  tbClass* nodes = model_.Nodes();
  if (!modelClass::SeekExact(nodes, entry.toNode)) return false;
  NodeRec node(nodes->Record());
  entry.toNodeVoltage = static_cast<std::int16_t>(index);
  if (node.Unom() == index) return false;
  node.SetUnom(static_cast<std::uint8_t>(index));
  nodes->MarkModified();
  // The next source of the run traces with the level written.
  topology_.SetNodeVoltage(entry.toNode, static_cast<std::uint8_t>(index));
  return true;
}

void CalcClass::AssignEndNodes() {
  if (count_ < 1) return;
  std::array<int, kMaxLevel + 2> start{};
  // Whether each element's far node is named, looked up once for both walks.
  std::vector<bool> namedEnd(count_ + 1);

  // Forwards: each level's current start node.
  start[1] = tree_[1].fromNode;
  for (int i = 1; i <= count_; ++i) {
    ElementRec& element = Element(i);
    const int level = std::clamp<int>(element.level, 1, kMaxLevel);
    if (i > 1) {
      const ElementRec& before = Element(i - 1);
      if (level > before.level || before.endOfSection != 0) start[level] = tree_[i].fromNode;
    }
    element.startNode = start[level];
    namedEnd[i] = NamedNode(tree_[i].toNode);
    if (namedEnd[i]) start[level] = tree_[i].toNode;
  }

  // Backwards: each element takes the end of the connection below it. A
  // connection ends at a named node, at a terminal object, at a node where
  // the tree branches, or where a section ends.
  struct End {
    int node = 0;
    int kind = 0;
    std::int32_t key = 0;
  };
  std::array<End, kMaxLevel + 2> below{};
  for (int i = count_; i >= 1; --i) {
    ElementRec& element = Element(i);
    const int level = std::clamp<int>(element.level, 1, kMaxLevel);
    const std::int32_t key = BranchKeyOf(element);
    const bool chainGoesOn =
        i < count_ && element.endOfSection == 0 && Element(i + 1).level == element.level;
    const int farNode = tree_[i].toNode != 0 ? tree_[i].toNode : tree_[i].fromNode;
    if (IsTerminalKind(element.kind)) {
      below[level] = {tree_[i].fromNode, element.kind, key};
    } else if (!chainGoesOn || namedEnd[i]) {
      below[level] = {farNode, kKindNode, key};
    }
    element.endNode = below[level].node;
    element.endKind = below[level].kind;
    element.endKey = below[level].key;
  }
}

}  // namespace kordavelt
