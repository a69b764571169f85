#include "model/model_settings.h"

#include <algorithm>
#include <vector>

#include "model/model_tables.h"
#include "storage/counted_string.h"
#include "storage/dbf_class.h"

namespace kordavelt {
namespace {

namespace off = settings_offset;

constexpr int kSchemeOptionsLength = 8;
constexpr int kReferenceBookLength = 255;
constexpr int kStampLength = 200;
constexpr int kRegimeNameStride = ModelSettings::kRegimeNameLength + 1;

constexpr std::array<std::int32_t, 6> kVoltageBandColours = {255,      16711680, 65280,
                                                             16776960, 65535,    0};
constexpr std::array<float, 6> kNominalVoltages = {380, 660, 6000, 10000, 230, 0};

struct FloatDefault {
  int offset;
  float value;
};

constexpr FloatDefault kFloatDefaults[] = {
    {off::kFactor269, 1.0f},
    {off::kMaxEmf, 1.05f},
    {off::kMinEmf, 1.0f},
    {off::kAirTemperature, 20.0f},
    {off::kGroundTemperature, 15.0f},
    {off::kMaxVoltageDrop, 5.0f},
    {off::kNormalVoltageDeviation, -5.0f},
    {off::kStartVoltageDeviation, -20.0f},
    {off::kCableMarginFactor, 1.15f},
    {off::kWorkDetuningFactor, 0.85f},
    {off::kStartDetuningFactor, 1.3f},
    {off::kFactor1369, 1.8f},
    {off::kOrthogonalLengthFactor, 1.25f},
    {off::kSelectivityFactor, 1.15f},
    {off::kProtectionToStartTimeRatio, 1.5f},
    {off::kSensitivityFactor1, 1.2f},
    {off::kSensitivityFactor2, 1.2f},
    {off::kSensitivityFactor3, 1.2f},
    {off::kArcResistance, 0.0f},
    {off::kArcLength, 0.0f},
    {off::kPhaseDistance, 0.0f},
    {off::kThermalFaultPosition, 1.0f},
    {off::kIgnitionFaultPositionAbove1kV, 50.0f},
    {off::kIgnitionFaultPositionBelow1kV, 20.0f},
    {off::kLayingFactor, 1.0f},
    {off::kVoltageRestorationTime, 1.2f},
    {off::kStartCurrentReduction, 0.67f},
    {off::kRatedCurrentMultiple, 4.0f},
    {off::kSelfStartDuration, 2.0f},
};

struct IntDefault {
  int offset;
  std::int32_t value;
};

constexpr IntDefault kIntDefaults[] = {
    {off::kColouringMode, 0},
    {off::kObjectTableOptions, 0},
    {off::kSchemeParameterGroups, 714},
    {off::kTableParameterGroups, 0},
    {off::kWindowLayout, 5},
    {off::kDefaultWindowLayout, 5},
    {off::kMinNodeNumber, 1},
    {off::kMaxNodeNumber, 65535},
    {off::kHeatingIterations, 1},
    {off::kBtSteps, 10},
    {off::kMarker, ModelSettings::kMarkerValue},
};

// The method and switch bytes 1397 … 1412 default to 0; 1400 has no meaning
// of ours and is carried unchanged.
constexpr int kZeroBytes[] = {
    off::kLoadMethod,
    off::kStartCurrentMethod,
    off::kSelfStartMethod,
    off::kConductorTemperatureMethod,
    off::kNeutralResistanceMethod,
    off::kArcMethod,
    off::kNonAdiabaticHeating,
    off::kMultiVariant,
    off::kAutoCalc,
    off::kMenuItemShown,
    off::kVectorDiagrams,
    off::kShowTypeCodes,
    off::kAutoChoice,
    off::kEmfFromUnom,
    off::kComplexForm,
};

bool InRange(int index, int count) { return index >= 0 && index < count; }

}  // namespace

bool ModelSettings::HasMarker() const { return I32(off::kMarker) == kMarkerValue; }

void ModelSettings::ApplyDefaults(ConstBytes schemeOptions) {
  for (const FloatDefault& d : kFloatDefaults) SetF32(d.offset, d.value);
  for (const IntDefault& d : kIntDefaults) SetI32(d.offset, d.value);
  for (int offset : kZeroBytes) SetU8(offset, 0);
  if (schemeOptions.size() >= kSchemeOptionsLength) SetSchemeDisplayOptions(schemeOptions);
  for (int band = 0; band < kVoltageCount; ++band) {
    SetVoltageBandColour(band, kVoltageBandColours[static_cast<std::size_t>(band)]);
    SetNominalVoltage(band, kNominalVoltages[static_cast<std::size_t>(band)]);
  }
  // Deviation band 5 takes the colour kept at 404; the load bands start as
  // a copy of the deviation bands.
  const std::array<std::int32_t, kBandCount> deviation = {
      65280, 16776960, 16711680, 8421376, DeviationDefaultColour(), 128, 16711935, 255, 3092479};
  for (int band = 0; band < kBandCount; ++band) {
    SetDeviationBandColour(band, deviation[static_cast<std::size_t>(band)]);
    SetLoadBandColour(band, deviation[static_cast<std::size_t>(band)]);
  }
  SetReferenceBookName(kDefaultReferenceBook);
  SetStamp("");
  for (int regime = 0; regime < kRegimeCount; ++regime) SetRegimeName(regime, "");
}

SettingsRead ModelSettings::Read(dbfClass& file) {
  if (!file.ReadBlock(kSettingsBlock, block_)) {
    // The file said it cannot give the block; what it holds is unknown and
    // must not be overwritten with defaults.
    block_.fill(0);
    ApplyDefaults();
    return SettingsRead::Unreadable;
  }
  if (HasMarker()) return SettingsRead::Read;
  ApplyDefaults();
  return SettingsRead::NewDefaults;
}

bool ModelSettings::Write(dbfClass& file) const { return file.WriteBlock(kSettingsBlock, block_); }

ConstBytes ModelSettings::SchemeDisplayOptions() const {
  return ConstBytes(block_).subspan(off::kSchemeDisplayOptions, kSchemeOptionsLength);
}

void ModelSettings::SetSchemeDisplayOptions(ConstBytes options) {
  const std::size_t count = std::min<std::size_t>(options.size(), kSchemeOptionsLength);
  std::copy_n(options.begin(), count, block_.begin() + off::kSchemeDisplayOptions);
}

std::int32_t ModelSettings::VoltageBandColour(int band) const {
  return InRange(band, kVoltageCount) ? I32(off::kVoltageBandColours + 4 * band) : 0;
}
void ModelSettings::SetVoltageBandColour(int band, std::int32_t colour) {
  if (InRange(band, kVoltageCount)) SetI32(off::kVoltageBandColours + 4 * band, colour);
}
std::int32_t ModelSettings::DeviationBandColour(int band) const {
  return InRange(band, kBandCount) ? I32(off::kDeviationBandColours + 4 * band) : 0;
}
void ModelSettings::SetDeviationBandColour(int band, std::int32_t colour) {
  if (InRange(band, kBandCount)) SetI32(off::kDeviationBandColours + 4 * band, colour);
}
std::int32_t ModelSettings::LoadBandColour(int band) const {
  return InRange(band, kBandCount) ? I32(off::kLoadBandColours + 4 * band) : 0;
}
void ModelSettings::SetLoadBandColour(int band, std::int32_t colour) {
  if (InRange(band, kBandCount)) SetI32(off::kLoadBandColours + 4 * band, colour);
}

std::string ModelSettings::ReferenceBookName() const {
  return ReadCountedString(block_, off::kReferenceBookName, kReferenceBookLength);
}
void ModelSettings::SetReferenceBookName(std::string_view name) {
  WriteCountedString(block_, off::kReferenceBookName, kReferenceBookLength, name);
}

std::string ModelSettings::Stamp() const {
  return ReadCountedString(block_, off::kStamp, kStampLength);
}
void ModelSettings::SetStamp(std::string_view stamp) {
  WriteCountedString(block_, off::kStamp, kStampLength, stamp);
}

std::string ModelSettings::RegimeName(int regime) const {
  if (!InRange(regime, kRegimeCount)) return {};
  return ReadCountedString(block_, off::kRegimeNames + kRegimeNameStride * regime,
                           kRegimeNameLength);
}
void ModelSettings::SetRegimeName(int regime, std::string_view name) {
  if (!InRange(regime, kRegimeCount)) return;
  WriteCountedString(block_, off::kRegimeNames + kRegimeNameStride * regime, kRegimeNameLength,
                     name);
}

float ModelSettings::NominalVoltage(int index) const {
  return InRange(index, kVoltageCount) ? F32(off::kNominalVoltages + 4 * index) : 0.0f;
}
void ModelSettings::SetNominalVoltage(int index, float volts) {
  if (InRange(index, kVoltageCount)) SetF32(off::kNominalVoltages + 4 * index, volts);
}

float ModelSettings::SensitivityFactor(int phases) const {
  return phases >= 1 && phases <= 3 ? F32(off::kSensitivityFactor1 + 4 * (phases - 1)) : 0.0f;
}
void ModelSettings::SetSensitivityFactor(int phases, float v) {
  if (phases >= 1 && phases <= 3) SetF32(off::kSensitivityFactor1 + 4 * (phases - 1), v);
}

// --- The block as a layout -----------------------------------------------------------

const RecordLayout& ModelSettingsLayout() {
  static const std::vector<std::string> arrayNames = [] {
    std::vector<std::string> names;
    for (int i = 1; i <= 6; ++i) names.push_back("VoltageBandColour" + std::to_string(i));
    for (int i = 1; i <= 9; ++i) names.push_back("DeviationBandColour" + std::to_string(i));
    for (int i = 1; i <= 9; ++i) names.push_back("LoadBandColour" + std::to_string(i));
    for (int i = 0; i < 8; ++i) names.push_back("RegimeName" + std::to_string(i));
    for (int i = 0; i < 6; ++i) names.push_back("NominalVoltage" + std::to_string(i));
    return names;
  }();
  static const std::vector<FieldDef> fields = [] {
    std::vector<FieldDef> f = {
        {"unused", 0, FieldType::Raw, off::kFactor269},
        {"Factor269", off::kFactor269, FieldType::F32},
        {"unused", 273, FieldType::Raw, 2},
        {"ColouringMode", off::kColouringMode, FieldType::I32},
        {"ObjectTableOptions", off::kObjectTableOptions, FieldType::I32},
        {"unused", 283, FieldType::Raw, 4},
        {"SchemeDisplayOptions", off::kSchemeDisplayOptions, FieldType::Raw, kSchemeOptionsLength},
        {"unused", 295, FieldType::Raw, 1},
        {"SchemeParameterGroups", off::kSchemeParameterGroups, FieldType::I32},
        {"TableParameterGroups", off::kTableParameterGroups, FieldType::I32},
    };
    std::size_t name = 0;
    for (int i = 0; i < 6; ++i) {
      f.push_back({arrayNames[name++], off::kVoltageBandColours + 4 * i, FieldType::I32});
    }
    for (int i = 0; i < 9; ++i) {
      f.push_back({arrayNames[name++], off::kDeviationBandColours + 4 * i, FieldType::I32});
    }
    for (int i = 0; i < 9; ++i) {
      f.push_back({arrayNames[name++], off::kLoadBandColours + 4 * i, FieldType::I32});
    }
    f.push_back({"unused", 400, FieldType::Raw, 4});
    f.push_back({"DeviationDefaultColour", off::kDeviationDefaultColour, FieldType::I32});
    f.push_back({"unused", 408, FieldType::Raw, 8});
    f.push_back({"WindowLayout", off::kWindowLayout, FieldType::I32});
    f.push_back({"DefaultWindowLayout", off::kDefaultWindowLayout, FieldType::I32});
    f.push_back(
        {"ReferenceBook", off::kReferenceBookName, FieldType::String, kReferenceBookLength});
    f.push_back({"Stamp", off::kStamp, FieldType::String, kStampLength});
    f.push_back({"unused", 881, FieldType::Raw, off::kMinNodeNumber - 881});
    f.push_back({"MinNodeNumber", off::kMinNodeNumber, FieldType::I32});
    f.push_back({"MaxNodeNumber", off::kMaxNodeNumber, FieldType::I32});
    for (int i = 0; i < 8; ++i) {
      f.push_back({arrayNames[name++], off::kRegimeNames + kRegimeNameStride * i, FieldType::String,
                   ModelSettings::kRegimeNameLength});
    }
    for (int i = 0; i < 6; ++i) {
      f.push_back({arrayNames[name++], off::kNominalVoltages + 4 * i, FieldType::F32});
    }
    const std::vector<FieldDef> tail = {
        {"MaxEmf", off::kMaxEmf, FieldType::F32},
        {"MinEmf", off::kMinEmf, FieldType::F32},
        {"AirTemperature", off::kAirTemperature, FieldType::F32},
        {"GroundTemperature", off::kGroundTemperature, FieldType::F32},
        {"MaxVoltageDrop", off::kMaxVoltageDrop, FieldType::F32},
        {"NormalVoltageDeviation", off::kNormalVoltageDeviation, FieldType::F32},
        {"StartVoltageDeviation", off::kStartVoltageDeviation, FieldType::F32},
        {"CableMarginFactor", off::kCableMarginFactor, FieldType::F32},
        {"WorkDetuningFactor", off::kWorkDetuningFactor, FieldType::F32},
        {"StartDetuningFactor", off::kStartDetuningFactor, FieldType::F32},
        {"Factor1369", off::kFactor1369, FieldType::F32},
        {"OrthogonalLengthFactor", off::kOrthogonalLengthFactor, FieldType::F32},
        {"SelectivityFactor", off::kSelectivityFactor, FieldType::F32},
        {"ProtectionToStartTimeRatio", off::kProtectionToStartTimeRatio, FieldType::F32},
        {"SensitivityFactor1", off::kSensitivityFactor1, FieldType::F32},
        {"SensitivityFactor2", off::kSensitivityFactor2, FieldType::F32},
        {"SensitivityFactor3", off::kSensitivityFactor3, FieldType::F32},
        {"LoadMethod", off::kLoadMethod, FieldType::U8},
        {"StartCurrentMethod", off::kStartCurrentMethod, FieldType::U8},
        {"SelfStartMethod", off::kSelfStartMethod, FieldType::U8},
        {"unused", 1400, FieldType::Raw, 1},
        {"ConductorTemperatureMethod", off::kConductorTemperatureMethod, FieldType::U8},
        {"NeutralResistanceMethod", off::kNeutralResistanceMethod, FieldType::U8},
        {"ArcMethod", off::kArcMethod, FieldType::U8},
        {"NonAdiabaticHeating", off::kNonAdiabaticHeating, FieldType::U8},
        {"MultiVariant", off::kMultiVariant, FieldType::U8},
        {"AutoCalc", off::kAutoCalc, FieldType::U8},
        {"MenuItemShown", off::kMenuItemShown, FieldType::U8},
        {"VectorDiagrams", off::kVectorDiagrams, FieldType::U8},
        {"ShowTypeCodes", off::kShowTypeCodes, FieldType::U8},
        {"AutoChoice", off::kAutoChoice, FieldType::U8},
        {"EmfFromUnom", off::kEmfFromUnom, FieldType::U8},
        {"ComplexForm", off::kComplexForm, FieldType::U8},
        {"ArcResistance", off::kArcResistance, FieldType::F32},
        {"ArcLength", off::kArcLength, FieldType::F32},
        {"PhaseDistance", off::kPhaseDistance, FieldType::F32},
        {"ThermalFaultPosition", off::kThermalFaultPosition, FieldType::F32},
        {"IgnitionFaultPositionAbove1kV", off::kIgnitionFaultPositionAbove1kV, FieldType::F32},
        {"IgnitionFaultPositionBelow1kV", off::kIgnitionFaultPositionBelow1kV, FieldType::F32},
        {"LayingFactor", off::kLayingFactor, FieldType::F32},
        {"VoltageRestorationTime", off::kVoltageRestorationTime, FieldType::F32},
        {"StartCurrentReduction", off::kStartCurrentReduction, FieldType::F32},
        {"RatedCurrentMultiple", off::kRatedCurrentMultiple, FieldType::F32},
        {"SelfStartDuration", off::kSelfStartDuration, FieldType::F32},
        {"HeatingIterations", off::kHeatingIterations, FieldType::I32},
        {"BtSteps", off::kBtSteps, FieldType::I32},
        {"Marker", off::kMarker, FieldType::I32},
    };
    f.insert(f.end(), tail.begin(), tail.end());
    return f;
  }();
  static const RecordLayout layout{kSettingsBlock, "Настройки модели", ModelSettings::kLength,
                                   fields};
  return layout;
}

}  // namespace kordavelt
static_assert(kordavelt::ModelSettings::kLength == kordavelt::kSettingsLength);
