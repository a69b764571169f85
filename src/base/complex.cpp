#include "base/complex.h"

#include <cmath>

#include "base/constants.h"
#include "base/number_format.h"

namespace kordavelt {

namespace {

// Below this magnitude a value has no meaningful direction.
constexpr long double kArgumentTiny = 1e-4L;
constexpr long double kHalfPi = 1.57079635L;

// A part whose magnitude does not exceed this is not written.
constexpr float kDisplayThreshold = 1e-6f;
// Angles this close to 0° or ±180° are written without angle.
constexpr long double kAngleToleranceDeg = 0.01L;

// Intermediate values of the symmetrical-component formulas, kept in double
// so that each result is rounded to float only once (products and sums of a
// few floats stay far within double's precision).
struct Extended {
  double re;
  double im;
};

Extended Widen(const Complex& z) { return {z.re, z.im}; }

Extended operator+(const Extended& z, const Extended& w) { return {z.re + w.re, z.im + w.im}; }

Extended operator*(const Complex& z, const Extended& w) {
  const double a = z.re, b = z.im;
  return {a * w.re - b * w.im, a * w.im + b * w.re};
}

Complex Third(const Extended& z) {
  return {static_cast<float>(z.re / 3), static_cast<float>(z.im / 3)};
}

Complex Narrow(const Extended& z) { return {static_cast<float>(z.re), static_cast<float>(z.im)}; }

}  // namespace

long double ArgumentRad(const Complex& z) {
  const long double magnitude = Abs(z);
  if (magnitude < kArgumentTiny) return 0;
  const long double re = z.re;
  const long double im = z.im;
  long double angle = 0;
  if (std::fabs(re) / magnitude > kArgumentTiny) {
    angle = std::fabs(std::atan(im / re));
  } else {
    angle = std::fabs(im) / magnitude <= kArgumentTiny ? 0 : kHalfPi;
  }
  if (re < 0) angle = kPi - angle;
  return im >= 0 ? angle : -angle;
}

long double ArgumentDeg(const Complex& z) { return ArgumentRad(z) * 180 / kPi; }

SequenceValues PhaseToSequence(const PhaseValues& phases) {
  const Extended a = Widen(phases.a);
  const Extended b = Widen(phases.b);
  const Extended c = Widen(phases.c);
  return {
      .zero = Third(a + b + c),
      .negative = Third(a + kOperatorA2 * b + kOperatorA * c),
      .positive = Third(a + kOperatorA * b + kOperatorA2 * c),
  };
}

PhaseValues SequenceToPhase(const SequenceValues& sequences) {
  const Extended v0 = Widen(sequences.zero);
  const Extended v2 = Widen(sequences.negative);
  const Extended v1 = Widen(sequences.positive);
  return {
      .a = Narrow(v0 + v1 + v2),
      .b = Narrow(v0 + kOperatorA2 * v1 + kOperatorA * v2),
      .c = Narrow(v0 + kOperatorA * v1 + kOperatorA2 * v2),
  };
}

std::string ComplexToText(const Complex& z) {
  std::string text;
  if (std::fabs(z.re) > kDisplayThreshold) text = FormatNumber(z.re);
  if (z.im < -kDisplayThreshold) {
    text += "-j" + FormatNumber(-z.im);
  } else if (z.im > kDisplayThreshold) {
    text += "+j" + FormatNumber(z.im);
  }
  return text.empty() ? "0" : text;
}

std::string ComplexToPolarText(const Complex& z) {
  long double magnitude = Abs(z);
  long double angle = ArgumentDeg(z);
  // The argument lies in (−180°, 180°], so only the negative real axis needs folding.
  if (std::fabs(std::fabs(angle) - 180) <= kAngleToleranceDeg) {
    magnitude = -magnitude;
    angle = 0;
  }
  std::string text = FormatNumber(static_cast<double>(magnitude));
  if (std::fabs(angle) > kAngleToleranceDeg) {
    text += "<" + FormatNumber(static_cast<double>(angle)) + "°";
  }
  return text;
}

}  // namespace kordavelt
