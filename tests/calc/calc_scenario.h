#pragma once

// A network model with its calculation, for the calculation's tests:
//
//   CalcScenario s;
//   const int n1 = s.m.Node(), n2 = s.m.Node();
//   const auto t1 = s.FedSource(n1, "Т1");
//   s.m.Cable(n1, n2);
//   ASSERT_TRUE(s.calc.TraceTree(t1.number));

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_class.h"
#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"

namespace kordavelt::testing {

struct CalcScenario {
  ModelBuilder m;
  CalcClass calc{m.model};

  // A source with a busbar short-circuit current, so that it can be calculated.
  ModelBuilder::Tied FedSource(int node, std::string_view name = "Т1", float ik3 = 10.0f) {
    const auto source = m.Source(node, name);
    tbClass* objects = m->OpenObjectTable(kKindPowerSource);
    if (modelClass::SeekExact(objects, source.branch)) {
      SourceObjectRec(objects->Record()).SetIk3(ik3);
      objects->MarkModifiedAndFlush();
    }
    return source;
  }

  // A chain of `length` cables from `from`; the last node.
  int Chain(int from, int length) {
    int node = from;
    for (int i = 0; i < length; ++i) {
      const int next = m.Node();
      m.Cable(node, next);
      node = next;
    }
    return node;
  }

  void Name(int node, std::string_view text) {
    m->Designations().AddMarking(text, NodeMarkingCode(node), *m->Markings());
  }

  void Place(int node, std::int16_t x, std::int16_t y, std::int16_t z = 0) {
    if (!modelClass::SeekExact(m->Nodes(), node)) return;
    NodeRec rec(m->Nodes()->Record());
    rec.SetX(x);
    rec.SetY(y);
    rec.SetZ(z);
    m->Nodes()->MarkModifiedAndFlush();
  }

  std::uint8_t NodeVoltageIndex(int node) {
    if (!modelClass::SeekExact(m->Nodes(), node)) return 255;
    return NodeRec(m->Nodes()->Record()).Unom();
  }

  bool Calculated(int source) {
    return modelClass::SeekExact(m->Sources(), source) &&
           SourceRec(m->Sources()->Record()).Calculated() != 0;
  }

  // The signed keys of the TreeList, in order.
  std::vector<std::int32_t> TreeKeys() const {
    std::vector<std::int32_t> keys;
    for (int i = 1; i <= calc.Count(); ++i) keys.push_back(calc.Element(i).signedKey);
    return keys;
  }

  std::vector<int> TreeLevels() const {
    std::vector<int> levels;
    for (int i = 1; i <= calc.Count(); ++i) levels.push_back(calc.Element(i).level);
    return levels;
  }

  std::string LastMessage() const {
    const auto messages = m.ui.Messages();
    return messages.empty() ? std::string() : messages.back();
  }
};

}  // namespace kordavelt::testing
