#include "refbook/standard_series.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/number_format.h"

namespace kordavelt {
namespace {

constexpr std::string_view kVoltageSeries =
    "110#127#220#380#420#660#1000#3000#6000#10000#15000#35000";
constexpr std::string_view kCurrentSeries =
    "1#1.25#1.6#2#2.5#3.2#4#5#6.3#8#10#12.5#16#20#25#32#40#50#63#80#100#125#160#200#250#320#400#"
    "500#630#800#1000#1250#1600#2000#2500#3200#4000#5000#6300#8000#10000#16000#25000#40000#65000#"
    "100000#160000";
constexpr std::string_view kPowerSeries =
    "0.1#0.16#0.25#0.4#0.63#1#1.6#2.5#4#6.3#10#16#25#40#63#100#160#250#400#630#1000#1600#2500#"
    "4000#6300#10000#10000#16000#25000#40000#63000#100000#100000#160000#250000#400000#630000#"
    "1000000";
constexpr std::string_view kSectionSeries =
    "1#1.5#2.5#4#6#10#16#25#35#50#70#95#120#150#185#240#300#330#400#500#600#700";

// The series in double precision, as the decimal texts give them.
std::vector<double> Values(std::string_view list) {
  std::vector<double> values;
  while (!list.empty()) {
    const std::size_t hash = list.find('#');
    double value = 0;
    ParseNumber(list.substr(0, hash), value);
    values.push_back(value);
    if (hash == std::string_view::npos) break;
    list.remove_prefix(hash + 1);
  }
  return values;
}

}  // namespace

std::string_view VoltageSeries() { return kVoltageSeries; }
std::string_view CurrentSeries() { return kCurrentSeries; }
std::string_view PowerSeries() { return kPowerSeries; }
std::string_view SectionSeries() { return kSectionSeries; }

int SeriesNearestIndex(std::span<const double> series, double x) {
  if (series.empty()) return 0;
  // NaN compares false with everything: it lands on the first value.
  const auto found = std::lower_bound(series.begin(), series.end(), x);
  std::size_t position =
      std::min(static_cast<std::size_t>(found - series.begin()), series.size() - 1);
  if (position > 0 && x - series[position - 1] < std::fabs(series[position] - x)) --position;
  return static_cast<int>(position) + 1;
}

// Each series is converted once for the whole run.
int VoltageIndex(double volts) {
  static const std::vector<double> series = Values(kVoltageSeries);
  return SeriesNearestIndex(series, volts);
}

int CurrentIndex(double amperes) {
  static const std::vector<double> series = Values(kCurrentSeries);
  return SeriesNearestIndex(series, amperes);
}

int PowerIndex(double kva) {
  static const std::vector<double> series = Values(kPowerSeries);
  return SeriesNearestIndex(series, kva);
}

int SectionIndex(double squareMillimetres) {
  static const std::vector<double> series = Values(kSectionSeries);
  return SeriesNearestIndex(series, squareMillimetres);
}

}  // namespace kordavelt
