#pragma once

// The networks of NetworkFixture with asynchronous motors of a catalogue
// type, for the tests of motor starting, checks and load envelopes:
//
//   class MyTest : public NetworkSketch {};
//   const int n1 = s.m.Node(), n2 = s.m.Node();
//   const auto source = Source(n1, 400, 0);     // 0.4 kV busbars
//   Cable(n1, n2, 300);                          // 4 × 95 mm² copper, 300 m
//   Load(n2, Motor(55, 0.88, 600, 6));            // 55 kW motor starting with 600 A
//   ASSERT_TRUE(s.calc.CalcSource(source.number));

#include <complex>
#include <cstdint>

#include "calc/network_fixture.h"

namespace kordavelt::testing {

using C = std::complex<double>;

inline C ToC(const Complex& z) { return {z.re, z.im}; }

class NetworkSketch : public NetworkFixture {
 protected:
  // Catalogue codes of NetworkFixture's cable and brand, and of the motor type.
  static constexpr std::int32_t kBrand = 1001;
  static constexpr std::int32_t kCable95 = 2001;
  static constexpr std::int32_t kMotorType = 3001;

  // Per-unit locked-rotor data of the sketch's asynchronous motors.
  static constexpr double kRs = 0.02;
  static constexpr double kRr = 0.03;
  static constexpr double kXd2 = 0.16;

  // Groups of loads on 400 V.
  int Group(double kw, double cosPhi) { return NetworkFixture::Group(kw, cosPhi, 400); }

  // A group of asynchronous motors of P kW at cos φ on 400 V that start with
  // `istart` A at cos φп 0.4 for `tstart` s; `selfStart` marks them as
  // self-starting. Efficiency 92 %.
  int Motor(double kw, double cosPhi, float istart, float tstart, bool selfStart = false) {
    if (!s.m->Book()->FindType(book::kAsyncMotorTable, kMotorType)) {
      Type<book::AsyncMotorRec>(book::kAsyncMotorTable, kMotorType, [](book::AsyncMotorRec& t) {
        t.SetType("АИР");
        t.SetEfficiency(92);
        t.SetRs(static_cast<float>(kRs));
        t.SetRr(static_cast<float>(kRr));
        t.SetXd2(static_cast<float>(kXd2));
      });
    }
    const int group = Group(kw, cosPhi);
    EXPECT_TRUE(modelClass::SeekExact(s.m->Groups(), group));
    GroupRec g(s.m->Groups()->Record());
    g.SetClass(1);
    g.SetKeyType(kMotorType);
    g.SetIstart(istart);
    g.SetCosFstart(0.4f);
    g.SetTstart(tstart);
    g.SetSelfStart(selfStart ? 1 : 0);
    s.m->Groups()->MarkModifiedAndFlush();
    return group;
  }

  // The locked-rotor impedance of a sketch motor of P kW at cos φ on 400 V, mΩ.
  static C MotorImpedance(double kw, double cosPhi) {
    const double base = 400.0 * 400.0 / (kw / cosPhi);
    return C{0.96 * kRs + kRr, kXd2} * base;
  }

  // A 630 kVA 10/0.4 kV D/Y0 transformer.
  std::int32_t Transformer(int from, int to) {
    return Transformer630(from, to, kGroupDY0, 9.7f, 85);
  }

  // The TreeList position of branch `key`; 0 when it is not in the tree.
  int PositionOf(std::int32_t key) {
    for (int i = 1; i <= s.calc.Count(); ++i) {
      if (BranchKeyOf(s.calc.Element(i)) == key) return i;
    }
    return 0;
  }
};

}  // namespace kordavelt::testing
