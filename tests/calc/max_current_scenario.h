#pragma once

// The networks of NetworkSketch for the maximum-current tests: CalcSource
// stops after the motor feeding and the protection times, the source
// EMF is 1.0 per unit, and cables come in any cross-section. Values the
// tests expect are worked out with std::complex from the element records'
// own impedances and EMFs.
//
//   class MyTest : public MaxCurrentScenario {};
//   const auto source = Source(n1, 10000, 3, 10);  // 10 kV, 10 kA
//   Transformer(n1, n2);                            // 630 kVA
//   AsyncMotor(n2, 90);                             // 90 kW at the 0.4 kV busbars

#include <cmath>
#include <cstdint>

#include "calc/motor_feeding.h"
#include "calc/network_sketch.h"
#include "calc/protection_times.h"
#include "calc/vth_class.h"

namespace kordavelt::testing {

// A characteristic that operates after `seconds` at any current, or, when
// `instantKA` is given, after `instantS` from that current up.
inline vth_class DefiniteTime(double seconds, double instantKA = 0, double instantS = 0) {
  vth_class c;
  const double currentsKA[kCurvePoints] = {1e-6, 1e-5, 1e-4, 1e-3, 1e4, 1e5, 1e6};
  for (VthCurve* curve : {&c.lower, &c.upper}) {
    for (int k = 0; k < kCurvePoints; ++k) {
      curve->lnCurrent[k] = static_cast<float>(std::log(currentsKA[k]));
      curve->lnTime[k] = static_cast<float>(std::log(seconds));
    }
  }
  if (instantKA > 0) {
    c.lnIm = static_cast<float>(std::log(instantKA));
    c.lnTm = static_cast<float>(std::log(instantS));
  }
  return c;
}

class MaxCurrentScenario : public NetworkSketch {
 protected:
  MaxCurrentScenario() {
    s.calc.StopAfter(CalcStage::ProtectionTimes);
    ModelSettings& settings = s.m->Settings();
    settings.SetNominalVoltage(3, 10000);
    settings.SetMaxEmf(1.0f);
  }

  // A four-core copper cable of `sectionMm2` (r1 = 18.4/S mΩ/m), `lengthM`
  // long, laid in ground.
  std::int32_t CopperCable(int from, int to, float lengthM, float sectionMm2) {
    if (!s.m->Book()->FindType(book::kCableBrandTable, kBrand)) {
      Type<book::CableBrandRec>(book::kCableBrandTable, kBrand, [](book::CableBrandRec& b) {
        b.SetType("ВВГ");
        b.SetTpermiss(65);
      });
    }
    const std::int32_t code = 4000 + static_cast<std::int32_t>(sectionMm2);
    if (!s.m->Book()->FindType(book::kCableTable, code)) {
      Type<book::CableRec>(book::kCableTable, code, [sectionMm2](book::CableRec& c) {
        c.SetType(kBrand);
        c.SetUnom(1000);
        c.SetCondCount(4);
        c.SetCrossCectF(sectionMm2);
        c.SetIpermissEarch(2.7f * sectionMm2);
        c.SetIpermissAir(2.3f * sectionMm2);
        c.SetR1(18.4f / sectionMm2);
        c.SetX1(0.0602f);
        c.SetR0(4 * 18.4f / sectionMm2);
        c.SetX0(0.36f);
      });
    }
    const std::int32_t key = s.m.Cable(from, to);
    Edit<CableLineRec>(kKindCableLine, key, [lengthM, code](CableLineRec& l) {
      l.SetType(code);
      l.SetL(lengthM);
      l.SetNk(1);
    });
    return key;
  }

  // An asynchronous motor of `kw` at cos φ 0.89 on 400 V, starting with
  // 6.5 times its rated current.
  std::int32_t AsyncMotor(int node, double kw) {
    const double rated = kw / 0.89 / (std::sqrt(3.0) * 0.4);
    return Load(node, Motor(kw, 0.89, static_cast<float>(6.5 * rated), 5));
  }
};

}  // namespace kordavelt::testing
