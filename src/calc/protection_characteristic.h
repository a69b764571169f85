#pragma once

// Characteristics of the protective elements as the calculation prepares
// them: the stored curves (ln multiples of the reference current) shifted to
// ln kA by the reference current Ir and completed with the settings of the
// device. Settings are in A, s and kA as each field says; a threshold given
// "in A or as a multiple" is in amperes when not below Ir, otherwise a
// multiple of Ir.

#include <optional>

#include "base/le_bytes.h"
#include "calc/vth_class.h"

namespace kordavelt {

// A power source: never operates (every current point 0, every time
// ln 10000 s, no instantaneous part).
inline vth_class SourceCharacteristic() { return vth_class{}; }

// A fuse: the fuse type's VTH block and the link current Ir (A). ln Ir is
// stored and shifts the currents; no instantaneous part. None when Ir is not
// positive.
std::optional<vth_class> FuseCharacteristic(ConstBytes typeBlock, long double linkCurrentA);

// Settings of a circuit breaker's release, converted to units.
struct ReleaseSettings {
  long double irA = 0;             // setting Ir
  long double trS = 0;             // setting tr
  long double referenceTimeS = 0;  // the release type's reference time of its curves
  long double imKA = 0;            // instantaneous threshold (ReleaseThresholdKA); 0 none
  long double tmS = 0;             // its time; 0 none
};

// The release's Im setting in kA by the release type's Im mode: 0 amperes,
// 1 a multiple of In, 2 a multiple of Ir; 0 for another mode.
long double ReleaseThresholdKA(long double im, int mode, long double inA, long double irA);

// A circuit breaker: the release type's VTH block shifted by ln Ir, the times
// of points 1-5 stretched by tr / reference time when tr is the longer, the
// instantaneous threshold when Im and tm are set. A release without an
// overload curve collapses to the point (ln Im, ln tm). None when Ir is not
// positive and no collapse applies.
std::optional<vth_class> BreakerCharacteristic(ConstBytes releaseBlock,
                                               const ReleaseSettings& settings);

// Settings of a protective-device object.
struct DeviceSettings {
  long double irA = 0;         // Ir, A
  long double trMultiple = 0;  // time multiple of the overload curve; 0 none
  long double im = 0;          // instantaneous threshold, A or a multiple of Ir
  long double tmS = 0;         // its time
  long double cutOff = 0;      // Iотс, A or a multiple of Ir
  long double imax = 0;        // upper end of the short-time zone, A or a multiple of Ir
};

// A protective device with its own curves (the object's VTH block, in
// multiples of Ir). None when Ir, Im and Tm are all zero.
std::optional<vth_class> DeviceCharacteristic(ConstBytes ownBlock, const DeviceSettings& settings);

}  // namespace kordavelt
