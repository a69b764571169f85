#pragma once

// Whole networks for the calculation's tests, built from catalogue types the
// way an engineer sketches them: a source on a voltage level, a 630 kVA
// transformer, copper 4 × 95 mm² cables of a given length, groups of loads.
// CalcSource runs every stage of the calculation unless a test stops it
// earlier (CalcClass::StopAfter).
//
//   class MyTest : public NetworkFixture {};
//   const int n1 = s.m.Node(), n2 = s.m.Node();
//   const auto source = Source(n1, 400, 0);
//   const std::int32_t cable = Cable(n1, n2, 100);
//   ASSERT_TRUE(s.calc.CalcSource(source.number));
//   Of(cable).ia ...

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "calc/calc_scenario.h"
#include "calc/load_flow.h"
#include "calc/prepare_devices.h"
#include "calc/prepare_terminals.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"

namespace kordavelt::testing {

class NetworkFixture : public ::testing::Test {
 protected:
  NetworkFixture() {
    ModelSettings& settings = s.m->Settings();
    settings.SetNominalVoltage(0, 400);
    // Conductors at 20 °C: catalogue resistances apply unchanged.
    settings.SetGroundTemperature(20);
    settings.SetAirTemperature(20);
  }

  template <class View>
  void Type(int table, std::int32_t code, const std::function<void(View&)>& fill) {
    tbClass* t = s.m->Book()->OpenBookTable(table);
    t->Insert(code);
    View view(t->Record());
    fill(view);
    t->MarkModifiedAndFlush();
  }

  template <class View>
  void Edit(int kind, std::int32_t key, const std::function<void(View&)>& fill) {
    tbClass* objects = s.m->OpenObjectTable(kind);
    ASSERT_TRUE(modelClass::SeekExact(objects, key));
    View view(objects->Record());
    fill(view);
    objects->MarkModifiedAndFlush();
  }

  // A source at `node` with busbar voltage `ur` on voltage level `index`
  // and a three-phase busbar current of `ik3` kA.
  ModelBuilder::Tied Source(int node, float ur, int index, float ik3 = 10) {
    const auto source = s.FedSource(node, "Т1", ik3);
    Edit<SourceObjectRec>(kKindPowerSource, source.branch,
                          [ur](SourceObjectRec& o) { o.SetUr(ur); });
    EXPECT_TRUE(modelClass::SeekExact(s.m->Sources(), source.number));
    SourceRec(s.m->Sources()->Record()).SetVoltageIndex(static_cast<std::uint8_t>(index));
    s.m->Sources()->MarkModifiedAndFlush();
    return source;
  }

  // Copper 4 × 95 mm² cable, 0.193 + j0.0602 mΩ/m, zero sequence 0.772 + j0.36.
  std::int32_t Cable(int from, int to, float lengthM) {
    Type<book::CableBrandRec>(book::kCableBrandTable, 1001, [](book::CableBrandRec& b) {
      b.SetType("ВВГ");
      b.SetTpermiss(65);
    });
    Type<book::CableRec>(book::kCableTable, 2001, [](book::CableRec& c) {
      c.SetType(1001);
      c.SetUnom(1000);
      c.SetCondCount(4);
      c.SetCrossCectF(95);
      c.SetIpermissEarch(255);
      c.SetIpermissAir(220);
      c.SetR1(0.193f);
      c.SetX1(0.0602f);
      c.SetR0(0.772f);
      c.SetX0(0.36f);
    });
    const std::int32_t key = s.m.Cable(from, to);
    Edit<CableLineRec>(kKindCableLine, key, [lengthM](CableLineRec& l) {
      l.SetType(2001);
      l.SetL(lengthM);
      l.SetNk(1);
    });
    return key;
  }

  // A 630 kVA 10/0.4 kV transformer, Pк 7.6 kW, uк 5.5 %, of connection
  // `group` with the catalogue zero-sequence impedance r0 + jx0 (mΩ); each
  // group gets a type of its own.
  std::int32_t Transformer630(int from, int to, int group, float r0, float x0) {
    const std::int32_t type = 500 + group;
    Type<book::TransformerRec>(book::kTransformerTable, type, [&](book::TransformerRec& t) {
      t.SetType("ТМ-630");
      t.SetSnom(630);
      t.SetDK(2.5f);
      t.SetR0(r0);
      t.SetX0(x0);
      t.SetGroup(static_cast<std::uint8_t>(group));
    });
    const std::int32_t key = s.m.Branch(kKindTransformer, from, to);
    Edit<TransformerRec>(kKindTransformer, key, [type](TransformerRec& t) {
      t.SetType(type);
      t.SetPk(7.6f);
      t.SetUk(5.5f);
      t.SetUv(10);
      t.SetUn(0.4f);
    });
    return key;
  }

  // A group of ordinary loads: P kW at cos φ on U, operating regime and Кв.
  int Group(double kw, double cosPhi, float volts, int regime = 0, float kv = 1) {
    const int group = s.m.Group();
    EXPECT_TRUE(modelClass::SeekExact(s.m->Groups(), group));
    GroupRec g(s.m->Groups()->Record());
    g.SetP(static_cast<float>(kw));
    g.SetQ(static_cast<float>(kw * std::tan(std::acos(cosPhi))));
    g.SetUnom(volts);
    g.SetKz(1);
    g.SetKv(kv);
    g.SetRegim(static_cast<std::uint8_t>(regime));
    s.m->Groups()->MarkModifiedAndFlush();
    return group;
  }

  std::int32_t Load(int node, int group, int connection = kConnectionABC0) {
    const auto receiver = s.m.Receiver(node, group);
    EXPECT_TRUE(modelClass::SeekExact(s.m->Receivers(), receiver.number));
    ReceiverRec(s.m->Receivers()->Record()).SetPhaseIndex(static_cast<std::uint8_t>(connection));
    s.m->Receivers()->MarkModifiedAndFlush();
    return receiver.branch;
  }

  ElementRec& Of(std::int32_t key) {
    EXPECT_TRUE(modelClass::SeekExact(s.m->Branches(), key));
    return *s.m->Element(s.m->Branches()->RecordNumber());
  }

  CalcScenario s;
};

}  // namespace kordavelt::testing
