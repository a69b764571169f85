#pragma once

// The settings of one model: nominal voltages, temperatures, calculation
// methods and factors, node numbering bounds, regime names, the stamp, the
// reference-book file, window layouts and colours. They are one block of
// 1469 bytes, raw block 1 of the model file. Values are read and written by
// their meaning; spans without a meaning of ours are carried unchanged.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/le_bytes.h"
#include "storage/record_layout.h"

namespace kordavelt {

class dbfClass;

// Where each value lives in the block.
namespace settings_offset {
inline constexpr int kFactor269 = 269;
inline constexpr int kColouringMode = 275;
inline constexpr int kObjectTableOptions = 279;
inline constexpr int kSchemeDisplayOptions = 287;  // 8 bytes
inline constexpr int kSchemeParameterGroups = 296;
inline constexpr int kTableParameterGroups = 300;
inline constexpr int kVoltageBandColours = 304;    // 6 × int32
inline constexpr int kDeviationBandColours = 328;  // 9 × int32
inline constexpr int kLoadBandColours = 364;       // 9 × int32
inline constexpr int kDeviationDefaultColour = 404;
inline constexpr int kWindowLayout = 416;
inline constexpr int kDefaultWindowLayout = 420;
inline constexpr int kReferenceBookName = 424;  // string[255]
inline constexpr int kStamp = 680;              // string[200]
inline constexpr int kMinNodeNumber = 1137;
inline constexpr int kMaxNodeNumber = 1141;
inline constexpr int kRegimeNames = 1145;      // 8 × string[19]
inline constexpr int kNominalVoltages = 1305;  // 6 × float32
inline constexpr int kMaxEmf = 1329;
inline constexpr int kMinEmf = 1333;
inline constexpr int kAirTemperature = 1337;
inline constexpr int kGroundTemperature = 1341;
inline constexpr int kMaxVoltageDrop = 1345;
inline constexpr int kNormalVoltageDeviation = 1349;
inline constexpr int kStartVoltageDeviation = 1353;
inline constexpr int kCableMarginFactor = 1357;
inline constexpr int kWorkDetuningFactor = 1361;
inline constexpr int kStartDetuningFactor = 1365;
inline constexpr int kFactor1369 = 1369;
inline constexpr int kOrthogonalLengthFactor = 1373;
inline constexpr int kSelectivityFactor = 1377;
inline constexpr int kProtectionToStartTimeRatio = 1381;
inline constexpr int kSensitivityFactor1 = 1385;
inline constexpr int kSensitivityFactor2 = 1389;
inline constexpr int kSensitivityFactor3 = 1393;
inline constexpr int kLoadMethod = 1397;
inline constexpr int kStartCurrentMethod = 1398;
inline constexpr int kSelfStartMethod = 1399;
inline constexpr int kConductorTemperatureMethod = 1401;
inline constexpr int kNeutralResistanceMethod = 1402;
inline constexpr int kArcMethod = 1403;
inline constexpr int kNonAdiabaticHeating = 1404;
inline constexpr int kMultiVariant = 1405;
inline constexpr int kAutoCalc = 1406;
inline constexpr int kMenuItemShown = 1407;
inline constexpr int kVectorDiagrams = 1408;
inline constexpr int kShowTypeCodes = 1409;
inline constexpr int kAutoChoice = 1410;
inline constexpr int kEmfFromUnom = 1411;
inline constexpr int kComplexForm = 1412;
inline constexpr int kArcResistance = 1413;
inline constexpr int kArcLength = 1417;
inline constexpr int kPhaseDistance = 1421;
inline constexpr int kThermalFaultPosition = 1425;
inline constexpr int kIgnitionFaultPositionAbove1kV = 1429;
inline constexpr int kIgnitionFaultPositionBelow1kV = 1433;
inline constexpr int kLayingFactor = 1437;
inline constexpr int kVoltageRestorationTime = 1441;
inline constexpr int kStartCurrentReduction = 1445;
inline constexpr int kRatedCurrentMultiple = 1449;
inline constexpr int kSelfStartDuration = 1453;
inline constexpr int kHeatingIterations = 1457;
inline constexpr int kBtSteps = 1461;
inline constexpr int kMarker = 1465;
}  // namespace settings_offset

// How reading the block went.
enum class SettingsRead {
  Read,         // the model's own settings
  NewDefaults,  // no marker (a new or foreign model): the defaults, to be written
  Unreadable,   // the file could not give the block: the defaults, not to be written over it
};

class ModelSettings {
 public:
  static constexpr int kLength = 1469;  // the block's length in the model file
  static constexpr std::int32_t kMarkerValue = 12345;
  static constexpr int kVoltageCount = 6;
  static constexpr int kBandCount = 9;
  static constexpr int kRegimeCount = 8;
  static constexpr int kRegimeNameLength = 19;
  static constexpr std::string_view kDefaultReferenceBook = "Kordavelt.SPR";

  // A block of zeros: no marker, so reading a new model gives the defaults.
  ModelSettings() = default;

  Bytes Block() { return block_; }
  ConstBytes Block() const { return block_; }

  bool HasMarker() const;
  // Puts every value that has a default in place, the marker among them;
  // other spans keep what they hold. `schemeOptions` (8 bytes) are the scheme
  // window's current display options, when there is a scheme window.
  void ApplyDefaults(ConstBytes schemeOptions = {});

  // Reads raw block 1. A block without the marker gets the defaults; the
  // caller then writes the block and shows the general properties.
  SettingsRead Read(dbfClass& file);
  bool Write(dbfClass& file) const;

  // --- Scheme and tables ---------------------------------------------------------
  // Index into "Нет#По Uном#По источникам#По помещениям#По dU%#По Kз%#По условиям".
  std::int32_t ColouringMode() const { return I32(settings_offset::kColouringMode); }
  void SetColouringMode(std::int32_t v) { SetI32(settings_offset::kColouringMode, v); }
  std::int32_t ObjectTableOptions() const { return I32(settings_offset::kObjectTableOptions); }
  void SetObjectTableOptions(std::int32_t v) { SetI32(settings_offset::kObjectTableOptions, v); }
  ConstBytes SchemeDisplayOptions() const;
  void SetSchemeDisplayOptions(ConstBytes options);
  std::int32_t SchemeParameterGroups() const {
    return I32(settings_offset::kSchemeParameterGroups);
  }
  void SetSchemeParameterGroups(std::int32_t v) {
    SetI32(settings_offset::kSchemeParameterGroups, v);
  }
  std::int32_t TableParameterGroups() const { return I32(settings_offset::kTableParameterGroups); }
  void SetTableParameterGroups(std::int32_t v) {
    SetI32(settings_offset::kTableParameterGroups, v);
  }
  // Colours as colour references (0x00BBGGRR).
  std::int32_t VoltageBandColour(int band) const;  // band 0 … 5
  void SetVoltageBandColour(int band, std::int32_t colour);
  std::int32_t DeviationBandColour(int band) const;  // band 0 … 8
  void SetDeviationBandColour(int band, std::int32_t colour);
  std::int32_t LoadBandColour(int band) const;  // band 0 … 8
  void SetLoadBandColour(int band, std::int32_t colour);
  std::int32_t DeviationDefaultColour() const {
    return I32(settings_offset::kDeviationDefaultColour);
  }
  std::int32_t WindowLayout() const { return I32(settings_offset::kWindowLayout); }
  void SetWindowLayout(std::int32_t v) { SetI32(settings_offset::kWindowLayout, v); }
  std::int32_t DefaultWindowLayout() const { return I32(settings_offset::kDefaultWindowLayout); }
  void SetDefaultWindowLayout(std::int32_t v) { SetI32(settings_offset::kDefaultWindowLayout, v); }

  // --- Model -------------------------------------------------------------------
  std::string ReferenceBookName() const;
  void SetReferenceBookName(std::string_view name);
  // A '#'-list of lines.
  std::string Stamp() const;
  void SetStamp(std::string_view stamp);
  std::int32_t MinNodeNumber() const { return I32(settings_offset::kMinNodeNumber); }
  void SetMinNodeNumber(std::int32_t v) { SetI32(settings_offset::kMinNodeNumber, v); }
  std::int32_t MaxNodeNumber() const { return I32(settings_offset::kMaxNodeNumber); }
  void SetMaxNodeNumber(std::int32_t v) { SetI32(settings_offset::kMaxNodeNumber, v); }
  std::string RegimeName(int regime) const;  // regime 0 … 7
  void SetRegimeName(int regime, std::string_view name);
  // Nominal voltages, V; the voltage index of nodes and sources points here.
  float NominalVoltage(int index) const;  // index 0 … 5
  void SetNominalVoltage(int index, float volts);

  // --- Sources and surroundings --------------------------------------------------
  float MaxEmf() const { return F32(settings_offset::kMaxEmf); }  // per unit
  void SetMaxEmf(float v) { SetF32(settings_offset::kMaxEmf, v); }
  float MinEmf() const { return F32(settings_offset::kMinEmf); }
  void SetMinEmf(float v) { SetF32(settings_offset::kMinEmf, v); }
  float AirTemperature() const { return F32(settings_offset::kAirTemperature); }  // °C
  void SetAirTemperature(float v) { SetF32(settings_offset::kAirTemperature, v); }
  float GroundTemperature() const { return F32(settings_offset::kGroundTemperature); }
  void SetGroundTemperature(float v) { SetF32(settings_offset::kGroundTemperature, v); }

  // --- Permissible values and factors of the checks --------------------------------
  float MaxVoltageDrop() const { return F32(settings_offset::kMaxVoltageDrop); }  // %
  void SetMaxVoltageDrop(float v) { SetF32(settings_offset::kMaxVoltageDrop, v); }
  float NormalVoltageDeviation() const { return F32(settings_offset::kNormalVoltageDeviation); }
  void SetNormalVoltageDeviation(float v) { SetF32(settings_offset::kNormalVoltageDeviation, v); }
  float StartVoltageDeviation() const { return F32(settings_offset::kStartVoltageDeviation); }
  void SetStartVoltageDeviation(float v) { SetF32(settings_offset::kStartVoltageDeviation, v); }
  float CableMarginFactor() const { return F32(settings_offset::kCableMarginFactor); }
  void SetCableMarginFactor(float v) { SetF32(settings_offset::kCableMarginFactor, v); }
  float WorkDetuningFactor() const { return F32(settings_offset::kWorkDetuningFactor); }
  void SetWorkDetuningFactor(float v) { SetF32(settings_offset::kWorkDetuningFactor, v); }
  float StartDetuningFactor() const { return F32(settings_offset::kStartDetuningFactor); }
  void SetStartDetuningFactor(float v) { SetF32(settings_offset::kStartDetuningFactor, v); }
  float OrthogonalLengthFactor() const { return F32(settings_offset::kOrthogonalLengthFactor); }
  void SetOrthogonalLengthFactor(float v) { SetF32(settings_offset::kOrthogonalLengthFactor, v); }
  float SelectivityFactor() const { return F32(settings_offset::kSelectivityFactor); }
  void SetSelectivityFactor(float v) { SetF32(settings_offset::kSelectivityFactor, v); }
  float ProtectionToStartTimeRatio() const {
    return F32(settings_offset::kProtectionToStartTimeRatio);
  }
  void SetProtectionToStartTimeRatio(float v) {
    SetF32(settings_offset::kProtectionToStartTimeRatio, v);
  }
  // Sensitivity factors for Iк1min, Iк2min, Iк3min: phases 1 … 3.
  float SensitivityFactor(int phases) const;
  void SetSensitivityFactor(int phases, float v);
  // Two factors no dialog edits.
  float Factor269() const { return F32(settings_offset::kFactor269); }
  float Factor1369() const { return F32(settings_offset::kFactor1369); }

  // --- Methods (indices into the lists of the properties dialogs) ------------------
  int LoadMethod() const { return U8(settings_offset::kLoadMethod); }
  void SetLoadMethod(int v) { SetU8(settings_offset::kLoadMethod, v); }
  int StartCurrentMethod() const { return U8(settings_offset::kStartCurrentMethod); }
  void SetStartCurrentMethod(int v) { SetU8(settings_offset::kStartCurrentMethod, v); }
  int SelfStartMethod() const { return U8(settings_offset::kSelfStartMethod); }
  void SetSelfStartMethod(int v) { SetU8(settings_offset::kSelfStartMethod, v); }
  int ConductorTemperatureMethod() const {
    return U8(settings_offset::kConductorTemperatureMethod);
  }
  void SetConductorTemperatureMethod(int v) {
    SetU8(settings_offset::kConductorTemperatureMethod, v);
  }
  int NeutralResistanceMethod() const { return U8(settings_offset::kNeutralResistanceMethod); }
  void SetNeutralResistanceMethod(int v) { SetU8(settings_offset::kNeutralResistanceMethod, v); }
  int ArcMethod() const { return U8(settings_offset::kArcMethod); }
  void SetArcMethod(int v) { SetU8(settings_offset::kArcMethod, v); }
  int ComplexForm() const { return U8(settings_offset::kComplexForm); }
  void SetComplexForm(int v) { SetU8(settings_offset::kComplexForm, v); }

  // --- Switches ---------------------------------------------------------------------
  bool NonAdiabaticHeating() const { return U8(settings_offset::kNonAdiabaticHeating) == 1; }
  void SetNonAdiabaticHeating(bool v) { SetU8(settings_offset::kNonAdiabaticHeating, v); }
  bool MultiVariant() const { return U8(settings_offset::kMultiVariant) == 1; }
  void SetMultiVariant(bool v) { SetU8(settings_offset::kMultiVariant, v); }
  bool AutoCalc() const { return U8(settings_offset::kAutoCalc) == 1; }
  void SetAutoCalc(bool v) { SetU8(settings_offset::kAutoCalc, v); }
  bool MenuItemShown() const { return U8(settings_offset::kMenuItemShown) == 1; }
  void SetMenuItemShown(bool v) { SetU8(settings_offset::kMenuItemShown, v); }
  bool VectorDiagrams() const { return U8(settings_offset::kVectorDiagrams) == 1; }
  void SetVectorDiagrams(bool v) { SetU8(settings_offset::kVectorDiagrams, v); }
  bool ShowTypeCodes() const { return U8(settings_offset::kShowTypeCodes) == 1; }
  void SetShowTypeCodes(bool v) { SetU8(settings_offset::kShowTypeCodes, v); }
  bool AutoChoice() const { return U8(settings_offset::kAutoChoice) == 1; }
  void SetAutoChoice(bool v) { SetU8(settings_offset::kAutoChoice, v); }
  bool EmfFromUnom() const { return U8(settings_offset::kEmfFromUnom) == 1; }
  void SetEmfFromUnom(bool v) { SetU8(settings_offset::kEmfFromUnom, v); }

  // --- Short circuits, cables, starting ----------------------------------------------
  float ArcResistance() const { return F32(settings_offset::kArcResistance); }  // mΩ
  void SetArcResistance(float v) { SetF32(settings_offset::kArcResistance, v); }
  float ArcLength() const { return F32(settings_offset::kArcLength); }  // mm
  void SetArcLength(float v) { SetF32(settings_offset::kArcLength, v); }
  float PhaseDistance() const { return F32(settings_offset::kPhaseDistance); }  // mm
  void SetPhaseDistance(float v) { SetF32(settings_offset::kPhaseDistance, v); }
  // Fault positions along cable lines, m.
  float ThermalFaultPosition() const { return F32(settings_offset::kThermalFaultPosition); }
  void SetThermalFaultPosition(float v) { SetF32(settings_offset::kThermalFaultPosition, v); }
  float IgnitionFaultPositionAbove1kV() const {
    return F32(settings_offset::kIgnitionFaultPositionAbove1kV);
  }
  void SetIgnitionFaultPositionAbove1kV(float v) {
    SetF32(settings_offset::kIgnitionFaultPositionAbove1kV, v);
  }
  float IgnitionFaultPositionBelow1kV() const {
    return F32(settings_offset::kIgnitionFaultPositionBelow1kV);
  }
  void SetIgnitionFaultPositionBelow1kV(float v) {
    SetF32(settings_offset::kIgnitionFaultPositionBelow1kV, v);
  }
  float LayingFactor() const { return F32(settings_offset::kLayingFactor); }
  void SetLayingFactor(float v) { SetF32(settings_offset::kLayingFactor, v); }
  float VoltageRestorationTime() const { return F32(settings_offset::kVoltageRestorationTime); }
  void SetVoltageRestorationTime(float v) { SetF32(settings_offset::kVoltageRestorationTime, v); }
  // K of "K*Iпуск".
  float StartCurrentReduction() const { return F32(settings_offset::kStartCurrentReduction); }
  void SetStartCurrentReduction(float v) { SetF32(settings_offset::kStartCurrentReduction, v); }
  // K of "К*Iном".
  float RatedCurrentMultiple() const { return F32(settings_offset::kRatedCurrentMultiple); }
  void SetRatedCurrentMultiple(float v) { SetF32(settings_offset::kRatedCurrentMultiple, v); }
  float SelfStartDuration() const { return F32(settings_offset::kSelfStartDuration); }  // s
  void SetSelfStartDuration(float v) { SetF32(settings_offset::kSelfStartDuration, v); }
  std::int32_t HeatingIterations() const { return I32(settings_offset::kHeatingIterations); }
  void SetHeatingIterations(std::int32_t v) { SetI32(settings_offset::kHeatingIterations, v); }
  std::int32_t BtSteps() const { return I32(settings_offset::kBtSteps); }
  void SetBtSteps(std::int32_t v) { SetI32(settings_offset::kBtSteps, v); }

  // A value by its offset, as the command line's --set changes one for a run.
  float F32(int offset) const { return ReadF32(block_, static_cast<std::size_t>(offset)); }
  std::int32_t I32(int offset) const { return ReadI32(block_, static_cast<std::size_t>(offset)); }
  int U8(int offset) const { return ReadU8(block_, static_cast<std::size_t>(offset)); }
  void SetF32(int offset, float v) { WriteF32(block_, static_cast<std::size_t>(offset), v); }
  void SetI32(int offset, std::int32_t v) { WriteI32(block_, static_cast<std::size_t>(offset), v); }
  void SetU8(int offset, int v) {
    WriteU8(block_, static_cast<std::size_t>(offset), static_cast<std::uint8_t>(v));
  }

 private:
  std::array<std::uint8_t, kLength> block_{};
};

// The block as a record layout, for listings.
const RecordLayout& ModelSettingsLayout();

}  // namespace kordavelt
