#pragma once

// Complex values of the calculation: phase currents (A or kA), phase voltages
// (V) and impedances (mΩ). A value is two 32-bit floats, real part first, the
// way the calculation records store it; every operation computes in a wider
// type (long double, or double where a few products of floats stay exact
// enough: |z| and the symmetrical components) and rounds once when it stores
// the result.

#include <cmath>
#include <string>

namespace kordavelt {

struct Complex {
  float re = 0.0f;
  float im = 0.0f;

  friend bool operator==(const Complex&, const Complex&) = default;
};

static_assert(sizeof(Complex) == 2 * sizeof(float), "stored as two float32");

// The rotation operator a (120°) and a² (240°), with the imaginary part as the
// calculation has always held it in single precision. Phase B is a²·A, phase C is a·A.
inline constexpr Complex kOperatorA{-0.5f, 0.8660249710083008f};
inline constexpr Complex kOperatorA2{-0.5f, -0.8660249710083008f};
inline constexpr Complex kComplexZero{0.0f, 0.0f};
inline constexpr Complex kComplexOne{1.0f, 0.0f};

// A divisor whose squared magnitude does not exceed this counts as zero.
inline constexpr long double kSmallestDivisorAbs2 = 1e-20L;

constexpr Complex MakeComplex(float re, float im) { return {re, im}; }

constexpr bool IsZero(const Complex& z) {
  return (z.re < 0 ? -z.re : z.re) + (z.im < 0 ? -z.im : z.im) == 0;
}

constexpr long double Abs2(const Complex& z) {
  const long double re = z.re;
  const long double im = z.im;
  return re * re + im * im;
}

// |z|, computed in double: the squares of floats are exact there and the
// root's error stays far below a float's. Inline, as the sweeps take it
// about twenty times per element.
inline long double Abs(const Complex& z) {
  const double re = z.re;
  const double im = z.im;
  return std::sqrt(re * re + im * im);
}

constexpr Complex Add(const Complex& z, const Complex& w) {
  return {static_cast<float>(static_cast<long double>(z.re) + w.re),
          static_cast<float>(static_cast<long double>(z.im) + w.im)};
}

constexpr Complex Subtract(const Complex& z, const Complex& w) {
  return {static_cast<float>(static_cast<long double>(z.re) - w.re),
          static_cast<float>(static_cast<long double>(z.im) - w.im)};
}

constexpr Complex Multiply(const Complex& z, const Complex& w) {
  const long double a = z.re, b = z.im, c = w.re, d = w.im;
  return {static_cast<float>(a * c - b * d), static_cast<float>(a * d + b * c)};
}

constexpr Complex Scale(const Complex& z, long double x) {
  return {static_cast<float>(x * z.re), static_cast<float>(x * z.im)};
}

// z / w; (0, 0) when |w|² ≤ 1e-20, so that an open or missing element (zero
// impedance or admittance) yields no current instead of an overflow.
constexpr Complex Divide(const Complex& z, const Complex& w) {
  const long double c = w.re, d = w.im;
  const long double divisor = c * c + d * d;
  if (divisor <= kSmallestDivisorAbs2) return kComplexZero;
  const long double a = z.re, b = z.im;
  return {static_cast<float>((a * c + b * d) / divisor),
          static_cast<float>((b * c - a * d) / divisor)};
}

// 1 / z; (0, 0) when |z|² is not positive.
constexpr Complex Reciprocal(const Complex& z) {
  const long double a = z.re, b = z.im;
  const long double divisor = a * a + b * b;
  if (divisor <= 0) return kComplexZero;
  return {static_cast<float>(a / divisor), static_cast<float>(-b / divisor)};
}

constexpr Complex Conjugate(const Complex& z) { return {z.re, -z.im}; }

// Argument in (−π, π] with the calculation's own cut-offs: 0 for |z| < 1e-4,
// ±1.57079635 for an almost purely imaginary value, 3.1415927 for the negative
// real axis.
long double ArgumentRad(const Complex& z);

// ArgumentRad × 180 / 3.1415927.
long double ArgumentDeg(const Complex& z);

// Operators for formulas; they are the named operations above. There is
// deliberately no operator/: Divide's zero result for a vanishing divisor
// should be visible where it is relied on.
constexpr Complex operator+(const Complex& z, const Complex& w) { return Add(z, w); }
constexpr Complex operator-(const Complex& z, const Complex& w) { return Subtract(z, w); }
constexpr Complex operator-(const Complex& z) { return {-z.re, -z.im}; }
constexpr Complex operator*(const Complex& z, const Complex& w) { return Multiply(z, w); }
constexpr Complex operator*(const Complex& z, long double x) { return Scale(z, x); }
constexpr Complex operator*(long double x, const Complex& z) { return Scale(z, x); }
constexpr Complex& operator+=(Complex& z, const Complex& w) { return z = Add(z, w); }
constexpr Complex& operator-=(Complex& z, const Complex& w) { return z = Subtract(z, w); }
constexpr Complex& operator*=(Complex& z, const Complex& w) { return z = Multiply(z, w); }
constexpr Complex& operator*=(Complex& z, long double x) { return z = Scale(z, x); }

// The three phase values of one quantity.
struct PhaseValues {
  Complex a;
  Complex b;
  Complex c;
};

// Symmetrical components, in the order the calculation keeps them: zero (V0),
// negative (V2), positive (V1) sequence.
struct SequenceValues {
  Complex zero;
  Complex negative;
  Complex positive;
};

// V1 = (Va + a·Vb + a²·Vc)/3, V2 = (Va + a²·Vb + a·Vc)/3, V0 = (Va + Vb + Vc)/3.
SequenceValues PhaseToSequence(const PhaseValues& phases);

// Va = V0 + V1 + V2, Vb = V0 + a²·V1 + a·V2, Vc = V0 + a·V1 + a²·V2.
PhaseValues SequenceToPhase(const SequenceValues& sequences);

// "5-j2", "+j3", "0": a part within 1e-6 of zero is left out.
std::string ComplexToText(const Complex& z);

// "5<30°": magnitude and angle in degrees; the angle is left out within 0.01°
// of 0, and a value on the negative real axis is written as a negative
// magnitude without angle ("-5").
std::string ComplexToPolarText(const Complex& z);

}  // namespace kordavelt
