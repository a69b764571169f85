// The symbol and label of each object on the scheme: the kind symbols, the
// conductor marks and transformer groups that follow a found type, the type
// and parameter lines that groups 3 and 4 gate, and the kinds that name
// themselves (sources, receivers) whatever the branch's marking.

#include "objects/object_symbols.h"

#include <gtest/gtest.h>

#include "calc/network_fixture.h"
#include "model/object_connect.h"
#include "objects/symbol_pictures.h"
#include "refbook/kind_names.h"
#include "results/label_groups.h"

namespace kordavelt::testing {
namespace {

class ObjectSymbols : public NetworkFixture {
 protected:
  ObjectSymbols() {
    n1 = s.m.Node();
    n2 = s.m.Node();
    Groups({kGroupMarkings, kGroupTypes, kGroupParameters});
  }

  void Groups(std::initializer_list<int> groups) {
    LabelGroups set;
    for (int g : groups) set = set.With(g);
    s.m->Settings().SetSchemeParameterGroups(static_cast<std::int32_t>(set.Bits()));
  }
  std::int32_t Object(int kind) { return s.m.Branch(kind, n1, KindHasFarEnd(kind) ? n2 : 0); }
  ObjectDrawing Draw(int kind, std::int32_t key) { return ObjectSymbol(s.m.model, kind, key); }
  void Mark(std::int32_t key, std::string_view text) {
    s.m->Designations().AddMarking(text, key, *s.m->Markings());
  }

  // A cable of brand АВВГ, `conductors` × `section` mm².
  void CableType(std::int32_t code, int conductors, float section) {
    Type<book::CableBrandRec>(book::kCableBrandTable, 1001,
                              [](book::CableBrandRec& b) { b.SetType("АВВГ"); });
    Type<book::CableRec>(book::kCableTable, code, [&](book::CableRec& c) {
      c.SetType(1001);
      c.SetCondCount(static_cast<std::uint8_t>(conductors));
      c.SetCrossCectF(section);
    });
  }
  // ТМ 630 kVA, uк 5.5 %, tap step 2.5 %, of connection `group`.
  void TransformerType(std::int32_t code, int group) {
    Type<book::TransformerRec>(book::kTransformerTable, code, [&](book::TransformerRec& t) {
      t.SetType("ТМ");
      t.SetSnom(630);
      t.SetUk(5.5f);
      t.SetDK(2.5f);
      t.SetGroup(static_cast<std::uint8_t>(group));
    });
  }

  int n1 = 0, n2 = 0;
};

TEST_F(ObjectSymbols, EveryKindWithoutATypeDrawsItsKindSymbolAndLinesDrawNone) {
  for (const ObjectKind& kind : ObjectKinds()) {
    if (kind.code == kKindNode) continue;
    const int k = kind.code;
    const ObjectDrawing drawing = Draw(k, Object(k));
    const bool none = k == kKindAbstractBranch || (k >= kKindCableLine && k <= kKindTrunkingN) ||
                      k == kKindLighting;  // lighting keeps no object records
    EXPECT_EQ(drawing.symbol, none ? std::string() : KindSymbol(k)) << k;
    EXPECT_EQ(drawing.label, "") << k;
    EXPECT_EQ(drawing.cable, k == kKindCableLine) << k;
  }
}

TEST_F(ObjectSymbols, ParallelCablesShowCountDesignationLengthAndTheirConductors) {
  CableType(2001, 4, 95);
  const std::int32_t key = Object(kKindCableLine);
  Edit<CableLineRec>(kKindCableLine, key, [](CableLineRec& l) {
    l.SetType(2001);
    l.SetNk(2);
    l.SetL(120);
  });
  ObjectDrawing drawing = Draw(kKindCableLine, key);
  EXPECT_EQ(drawing.label, "2*АВВГ-4*95#L=120");
  EXPECT_EQ(drawing.symbol, ConductorMark(4));
  EXPECT_TRUE(drawing.cable);

  // The mark follows the type read last.
  CableType(2002, 3, 50);
  Edit<CableLineRec>(kKindCableLine, key, [](CableLineRec& l) {
    l.SetType2(2002);
    l.SetNk2(1);
  });
  drawing = Draw(kKindCableLine, key);
  EXPECT_EQ(drawing.label, "2*АВВГ-4*95#АВВГ-3*50#L=120");
  EXPECT_EQ(drawing.symbol, ConductorMark(3));
}

TEST_F(ObjectSymbols, CableWhoseTypeIsMissingIsAPlainLineWithOnlyItsMarking) {
  const std::int32_t key = Object(kKindCableLine);
  Edit<CableLineRec>(kKindCableLine, key, [](CableLineRec& l) {
    l.SetType(9999);
    l.SetL(50);
  });
  Mark(key, "W1");
  const ObjectDrawing drawing = Draw(kKindCableLine, key);
  EXPECT_EQ(drawing.symbol, "");
  EXPECT_EQ(drawing.label, "W1");
}

TEST_F(ObjectSymbols, WiresAndOverheadLinesNameTheirPhaseAndNeutralWires) {
  Type<book::InsulatedWireRec>(book::kInsulatedWireTable, 1201, [](book::InsulatedWireRec& w) {
    w.SetType("ПВ");
    w.SetCrossCectF(2.5f);
  });
  Type<book::InsulatedWireRec>(book::kInsulatedWireTable, 1202, [](book::InsulatedWireRec& w) {
    w.SetType("ПВ");
    w.SetCrossCectF(1.5f);
  });
  const std::int32_t wiring = Object(kKindWiring);
  Edit<WiringRec>(kKindWiring, wiring, [](WiringRec& w) {
    w.SetType(1201);
    w.SetTypeN(1202);
    w.SetNcond(3);
    w.SetL(30);
  });
  EXPECT_EQ(Draw(kKindWiring, wiring).label, "3*ПВ-2.5+ПВ-1.5#L=30");
  EXPECT_EQ(Draw(kKindWiring, wiring).symbol, ConductorMark(3));

  Type<book::BareWireRec>(book::kBareWireTable, 1301,
                          [](book::BareWireRec& w) { w.SetType("АС"); });
  Type<book::BareWireRec>(book::kBareWireTable, 1302, [](book::BareWireRec& w) { w.SetType("А"); });
  const std::int32_t line = Object(kKindOverheadLine);
  Edit<OverheadLineRec>(kKindOverheadLine, line, [](OverheadLineRec& l) {
    l.SetType(1301);
    l.SetTypeN(1302);
    l.SetL(200);
  });
  EXPECT_EQ(Draw(kKindOverheadLine, line).label, "АС#А#L=200");
  EXPECT_EQ(Draw(kKindOverheadLine, line).symbol, ConductorMark(4));
}

TEST_F(ObjectSymbols, TransformerShowsItsTapWithSignAndIsDrawnByItsGroup) {
  TransformerType(3101, 1);
  const std::int32_t key = Object(kKindTransformer);
  Edit<TransformerRec>(kKindTransformer, key, [](TransformerRec& t) {
    t.SetType(3101);
    t.SetNreg(-2);
  });
  EXPECT_EQ(Draw(kKindTransformer, key).label, "ТМ#630кВА#Uк=5.5%#-2*2.5%");
  EXPECT_EQ(Draw(kKindTransformer, key).symbol, TransformerSymbol(1));
  Edit<TransformerRec>(kKindTransformer, key, [](TransformerRec& t) { t.SetNreg(2); });
  EXPECT_EQ(Draw(kKindTransformer, key).label, "ТМ#630кВА#Uк=5.5%#+2*2.5%");

  // Parameters are group 4's, the marking group 1's.
  Mark(key, "Т1");
  Groups({kGroupMarkings, kGroupTypes});
  EXPECT_EQ(Draw(kKindTransformer, key).label, "Т1#ТМ");

  TransformerType(3105, 5);
  Edit<TransformerRec>(kKindTransformer, key, [](TransformerRec& t) { t.SetType(3105); });
  EXPECT_EQ(Draw(kKindTransformer, key).symbol, KindSymbol(kKindTransformer));
}

TEST_F(ObjectSymbols, BreakerSettingsAreMultiplesUpToTheRatedCurrentAndAmperesAbove) {
  Type<book::BreakerRec>(book::kBreakerTable, 2101, [](book::BreakerRec& b) { b.SetType("ВА57"); });
  Type<book::TripUnitRec>(book::kTripUnitTable, 9101,
                          [](book::TripUnitRec& t) { t.SetType("МРТ"); });
  const std::int32_t key = Object(kKindBreaker);
  Edit<BreakerRec>(kKindBreaker, key, [](BreakerRec& b) {
    b.SetType(2101);
    b.SetTripUnitType(9101);
    b.SetInom(100);
    b.SetIr(1);
    b.SetIm(10);
  });
  EXPECT_EQ(Draw(kKindBreaker, key).label, "ВА57/МРТ#Iуст=100/1000А");
  Edit<BreakerRec>(kKindBreaker, key, [](BreakerRec& b) {
    b.SetIm(1500);
    b.SetIots(5);
  });
  EXPECT_EQ(Draw(kKindBreaker, key).label, "ВА57/МРТ#Iуст=100/1500/500А");

  // A breaker type with a trip unit of its own is named alone.
  Type<book::BreakerRec>(book::kBreakerTable, 2102, [](book::BreakerRec& b) {
    b.SetType("ВА88");
    b.SetTripUnit(9101);
  });
  Edit<BreakerRec>(kKindBreaker, key, [](BreakerRec& b) { b.SetType(2102); });
  EXPECT_EQ(Draw(kKindBreaker, key).label, "ВА88#Iуст=100/1500/500А");
}

TEST_F(ObjectSymbols, FusesAndProtectiveDevicesShowTheirSettings) {
  Type<book::FuseRec>(book::kFuseTable, 2201, [](book::FuseRec& f) {
    f.SetType("ПН2");
    f.SetInom(100);
  });
  const std::int32_t fuse = Object(kKindFuse);
  Edit<FuseRec>(kKindFuse, fuse, [](FuseRec& f) {
    f.SetType(2201);
    f.SetIpv(80);
  });
  EXPECT_EQ(Draw(kKindFuse, fuse).label, "ПН2-100#Iпв=80А");

  const std::int32_t device = Object(kKindProtectiveDevice);
  Edit<ProtectiveDeviceRec>(kKindProtectiveDevice, device, [](ProtectiveDeviceRec& d) {
    d.SetName("РЗ");
    d.SetIr(100);
    d.SetIm(500);
    d.SetTm(0.2f);
  });
  EXPECT_EQ(Draw(kKindProtectiveDevice, device).label, "РЗ#Iуст=100#Im=500#tm=0.2");
}

TEST_F(ObjectSymbols, CapacitorPowerIsPerPhaseForConnectionsToTheNeutral) {
  Type<book::CapacitorBankRec>(book::kCapacitorBankTable, 4301, [](book::CapacitorBankRec& c) {
    c.SetType("КБ");
    c.SetUnom(500);
    c.SetCnom(1000);
  });
  const std::int32_t key = Object(kKindCapacitorBank);
  Edit<CapacitorBankRec>(kKindCapacitorBank, key, [](CapacitorBankRec& c) {
    c.SetType(4301);
    c.SetNbk(3);
    c.SetPhaseIndex(0);  // ABC0
  });
  EXPECT_EQ(Draw(kKindCapacitorBank, key).label, "КБ#78.54квар");
  Edit<CapacitorBankRec>(kKindCapacitorBank, key, [](CapacitorBankRec& c) { c.SetPhaseIndex(1); });
  EXPECT_EQ(Draw(kKindCapacitorBank, key).label, "КБ#235.62квар");
}

TEST_F(ObjectSymbols, SourceShowsItsMarkingEvenWithEveryGroupOff) {
  const auto source = s.m.Source(n1, "Т1");
  Groups({});
  EXPECT_EQ(Draw(kKindPowerSource, source.branch).label, "Т1");
}

TEST_F(ObjectSymbols, ReceiversAreDrawnByTheirGroupsKindAndLabelledWithLeadingHash) {
  const int lamps = s.m.Group("Светильники");
  ASSERT_TRUE(modelClass::SeekExact(s.m->Groups(), lamps));
  GroupRec(s.m->Groups()->Record()).SetClass(4);  // ЭД
  s.m->Groups()->MarkModifiedAndFlush();
  const auto lamp = s.m.Receiver(n2, lamps, "Л1");
  Groups({kGroupMarkings, kGroupNames});
  EXPECT_EQ(Draw(kKindReceiver, lamp.branch).symbol, KindSymbol(kKindLighting));
  EXPECT_EQ(Draw(kKindReceiver, lamp.branch).label, "#Л1#Светильники");

  Type<book::AsyncMotorRec>(book::kAsyncMotorTable, 4201,
                            [](book::AsyncMotorRec& t) { t.SetType("АИР"); });
  const int pumps = s.m.Group("Насос");
  ASSERT_TRUE(modelClass::SeekExact(s.m->Groups(), pumps));
  GroupRec pump(s.m->Groups()->Record());
  pump.SetClass(1);  // АД
  pump.SetKeyType(4201);
  pump.SetP(55);
  s.m->Groups()->MarkModifiedAndFlush();
  const auto motor = s.m.Receiver(n2, pumps, "М1");
  Groups({kGroupMarkings, kGroupTypes, kGroupParameters});
  // A motor re-marked by the calculation is still found as a receiver.
  EXPECT_EQ(Draw(42, motor.branch).label, "#М1#АИР#55кВт");
  EXPECT_EQ(Draw(42, motor.branch).symbol, KindSymbol(42));
}

}  // namespace
}  // namespace kordavelt::testing
