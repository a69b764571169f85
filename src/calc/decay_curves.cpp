#include "calc/decay_curves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace kordavelt {
namespace {

// Curve values are stored as bytes; γ = byte × 0.004 (250 = 1.0).
constexpr double kByteStep = 0.004;

// Asynchronous motors: rows by remoteness index 1 … 5, columns for
// t = 0, 0.025, … 0.2 s.
constexpr int kAsyncRows = 5;
constexpr int kAsyncColumns = 9;
constexpr double kAsyncColumnsPerSecond = 40;
constexpr std::array<std::array<std::uint8_t, kAsyncColumns>, kAsyncRows> kAsyncCurves{{
    {250, 175, 140, 112, 93, 75, 60, 48, 38},
    {250, 155, 113, 80, 60, 48, 35, 27, 20},
    {250, 138, 112, 67, 48, 33, 22, 15, 13},
    {250, 123, 78, 53, 35, 22, 15, 10, 8},
    {250, 110, 70, 45, 26, 15, 8, 6, 3},
}};

// Synchronous motors and generators: rows by remoteness index 1 … 7,
// columns for t = 0, 0.1, … 1.0 s.
constexpr int kSyncRows = 7;
constexpr int kSyncColumns = 11;
constexpr double kSyncColumnsPerSecond = 10;
constexpr std::array<std::array<std::uint8_t, kSyncColumns>, kSyncRows> kSyncCurves{{
    {250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250},
    {250, 233, 231, 236, 240, 244, 246, 247, 248, 249, 250},
    {250, 221, 216, 215, 215, 215, 216, 216, 217, 218, 218},
    {250, 205, 195, 191, 187, 185, 184, 183, 183, 183, 184},
    {250, 193, 178, 171, 165, 161, 158, 157, 155, 154, 154},
    {250, 182, 167, 158, 151, 145, 142, 139, 138, 137, 137},
    {250, 171, 155, 145, 136, 129, 125, 121, 119, 117, 116},
}};

// A fractional position in a table dimension, clamped to 0 … count − 1:
// the lower index and the share of the next one.
struct Position {
  int index = 0;
  double share = 0;
};

Position Clamped(double position, int count) {
  const double last = count - 1;
  if (!(position > 0)) return {0, 0};
  if (position >= last) return {count - 1, 0};
  // Positive here: truncation is the floor.
  const int lower = static_cast<int>(position);
  return {lower, position - lower};
}

// The table read at a fractional row and column, bilinear between cells.
template <std::size_t Rows, std::size_t Columns>
double Read(const std::array<std::array<std::uint8_t, Columns>, Rows>& table, double row,
            double column) {
  const Position r = Clamped(row, static_cast<int>(Rows));
  const Position c = Clamped(column, static_cast<int>(Columns));
  const int r2 = std::min<int>(r.index + 1, Rows - 1);
  const int c2 = std::min<int>(c.index + 1, Columns - 1);
  auto along = [&](int rowIndex) {
    const double a = table[rowIndex][c.index];
    const double b = table[rowIndex][c2];
    return a + (b - a) * c.share;
  };
  const double upper = along(r.index);
  const double lower = along(r2);
  return (upper + (lower - upper) * r.share) * kByteStep;
}

}  // namespace

double DecayFactor(MachineKind kind, double remotenessIndex, double timeS) {
  if (!(remotenessIndex >= kLeastRemotenessIndex)) return 0;
  // Row r of the table is remoteness index r.
  const double row = remotenessIndex - 1;
  if (kind == MachineKind::Asynchronous) {
    return Read(kAsyncCurves, row, timeS * kAsyncColumnsPerSecond);
  }
  return Read(kSyncCurves, row, timeS * kSyncColumnsPerSecond);
}

}  // namespace kordavelt
