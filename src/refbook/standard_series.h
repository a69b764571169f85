#pragma once

// The standard series of voltages, currents, powers and cross-sections, and
// the nearest-index lookup that turns a value into its place in a series
// (the automatic codes are built from these places).

#include <span>
#include <string_view>

namespace kordavelt {

// The series as '#'-lists, ascending.
std::string_view VoltageSeries();  // V
std::string_view CurrentSeries();  // A
std::string_view PowerSeries();    // kVA, kvar (10000 and 100000 stand twice)
std::string_view SectionSeries();  // mm²

// 1-based index of the series value nearest to x: the first value not below
// x (the last when x exceeds all), or the value before it when x is strictly
// closer to that one, so a tie goes to the larger value. Below the first
// value, and for NaN, 1. 0 for an empty series.
int SeriesNearestIndex(std::span<const double> series, double x);

int VoltageIndex(double volts);
int CurrentIndex(double amperes);
int PowerIndex(double kva);
int SectionIndex(double squareMillimetres);

}  // namespace kordavelt
