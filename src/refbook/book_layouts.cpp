#include "refbook/book_layouts.h"

#include <algorithm>
#include <iterator>

// The field tables of the reference-book records. Fields take their exchange
// names; value lists are listed slot by slot (SettingI1 ... SettingI10), and
// reserved spans as "unused", so that the fields cover each record exactly.

namespace kordavelt {
namespace {

using enum FieldType;

constexpr FieldDef kFields2[] = {
    {"Name", 0, String, 32}, {"Slot0", 33, U8}, {"Slot1", 34, U8}, {"Slot2", 35, U8},
    {"Slot3", 36, U8},       {"Slot4", 37, U8}, {"Slot5", 38, U8}, {"Slot6", 39, U8},
    {"Slot7", 40, U8},       {"Slot8", 41, U8}, {"Slot9", 42, U8}, {"SlotA", 43, U8},
    {"SlotB", 44, U8},       {"SlotC", 45, U8}, {"SlotD", 46, U8}, {"SlotE", 47, U8},
    {"SlotF", 48, U8},
};

constexpr FieldDef kFields11[] = {
    {"Type", 0, I32},         {"Unom", 4, F32},        {"IpermissEarch", 8, F32},
    {"IpermissAir", 12, F32}, {"CrossCectF", 16, F32}, {"CrossCectN", 20, F32},
    {"Bc", 24, F32},          {"Ic", 28, F32},         {"R1", 32, F32},
    {"X1", 36, F32},          {"R0", 40, F32},         {"X0", 44, F32},
    {"unused", 48, Raw, 4},   {"CondCount", 52, U8},
};

constexpr FieldDef kFields12[] = {
    {"Type", 0, String, 16}, {"IpermissAir", 17, F32}, {"Tpermiss", 21, F32},
    {"unused", 25, Raw, 8},  {"CrossCectF", 33, F32},  {"Diameter", 37, F32},
    {"unused", 41, Raw, 4},  {"R1", 45, F32},          {"CondCount", 49, U8},
    {"Flags", 50, U8},       {"unused", 51, Raw, 4},
};

constexpr FieldDef kFields13[] = {
    {"Type", 0, String, 16}, {"Ipermiss", 17, F32}, {"CrossCectF", 21, F32}, {"Diameter", 25, F32},
    {"R1", 29, F32},         {"Flags", 33, U8},     {"unused", 34, Raw, 4},
};

constexpr FieldDef kFields14[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Inom", 21, F32},
    {"CrossCectF", 25, F32}, {"R1", 29, F32},   {"X1", 33, F32},
    {"R0", 37, F32},         {"X0", 41, F32},   {"unused", 45, Raw, 4},
};

constexpr FieldDef kFields22[] = {
    {"Type", 0, String, 16}, {"SettingI1", 17, F32},  {"SettingI2", 21, F32},
    {"SettingI3", 25, F32},  {"SettingI4", 29, F32},  {"SettingI5", 33, F32},
    {"SettingI6", 37, F32},  {"SettingI7", 41, F32},  {"SettingI8", 45, F32},
    {"SettingI9", 49, F32},  {"SettingI10", 53, F32}, {"Unom", 57, F32},
    {"Inom", 61, F32},       {"Iswitch", 65, F32},    {"unused", 69, Raw, 2},
    {"VTH", 71, Raw, 112},
};

constexpr FieldDef kFields21[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32},  {"Inom", 21, F32},     {"Iswitch", 25, F32},
    {"R1", 29, F32},         {"X1", 33, F32},    {"TripUnit", 37, I32}, {"TripType", 41, U8},
    {"unused", 42, Raw, 3},  {"Seria", 45, U16},
};

constexpr FieldDef kFields23[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Inom", 21, F32},
    {"R", 25, F32},          {"X", 29, F32},    {"unused", 33, Raw, 2},
};

constexpr FieldDef kFields24[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Inom", 21, F32},      {"Idin", 25, F32},
    {"Iterm", 29, F32},      {"R1", 33, F32},   {"unused", 37, Raw, 2},
};

constexpr FieldDef kFields25[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Inom", 21, F32},
    {"Pload", 25, F32},      {"Rk", 29, F32},   {"unused", 33, Raw, 2},
};

constexpr FieldDef kFields31[] = {
    {"Type", 0, String, 16}, {"Snom", 17, F32},      {"Uv", 21, F32}, {"Un", 25, F32},
    {"Pk", 29, F32},         {"Uk", 33, F32},        {"Ph", 37, F32}, {"Ih", 41, F32},
    {"DK", 45, F32},         {"R0", 49, F32},        {"X0", 53, F32}, {"Np", 57, I8},
    {"Group", 58, U8},       {"unused", 59, Raw, 2},
};

constexpr FieldDef kFields32[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Snom", 21, F32},
    {"Ustab", 25, F32},      {"DP", 29, F32},   {"unused", 33, Raw, 2},
};

constexpr FieldDef kFields33[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32},  {"Inom", 21, F32},
    {"Idin", 25, F32},       {"Iterm", 29, F32}, {"Tterm", 33, F32},
    {"Xnom", 37, F32},       {"DP", 41, F32},    {"unused", 45, Raw, 2},
};

constexpr FieldDef kFields34[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32},      {"unused", 21, Raw, 4}, {"Inom", 25, F32},
    {"Inom2", 29, F32},      {"Iterm", 33, F32},     {"Class", 37, U8},      {"R1", 38, F32},
    {"X1", 42, F32},         {"unused", 46, Raw, 2},
};

constexpr FieldDef kFields41[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Speed", 21, F32},  {"Efficiency", 25, F32},
    {"Pnom", 29, F32},       {"CosF", 33, F32}, {"Istart", 37, F32}, {"Mstart", 41, F32},
    {"Mmax", 45, F32},       {"Rd", 49, F32},   {"Xd", 53, F32},     {"Xd1", 57, F32},
    {"Xd2", 61, F32},        {"Ta", 65, F32},   {"Jrotor", 69, F32}, {"unused", 73, Raw, 2},
};

constexpr FieldDef kFields42[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Speed", 21, F32},  {"Efficiency", 25, F32},
    {"Pnom", 29, F32},       {"CosF", 33, F32}, {"Istart", 37, F32}, {"Mstart", 41, F32},
    {"Mmax", 45, F32},       {"Snom", 49, F32}, {"Rs", 53, F32},     {"Rr", 57, F32},
    {"Xd2", 61, F32},        {"Ta", 65, F32},   {"Tr", 69, F32},     {"Jrotor", 73, F32},
    {"unused", 77, Raw, 2},
};

constexpr FieldDef kFields50[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32}, {"Speed", 21, F32}, {"Efficiency", 25, F32},
    {"Pnom", 29, F32},       {"CosF", 33, F32}, {"Rd", 37, F32},    {"Xd", 41, F32},
    {"Xd1", 45, F32},        {"Xd2", 49, F32},  {"Ta", 53, F32},    {"Jrotor", 57, F32},
    {"unused", 61, Raw, 2},
};

constexpr FieldDef kFields43[] = {
    {"Type", 0, String, 16}, {"Unom", 17, F32},      {"Cnom", 21, F32},
    {"DP", 25, F32},         {"unused", 29, Raw, 2},
};

constexpr FieldDef kFields91[] = {
    {"Type", 0, String, 16},
    {"Inom1", 17, F32},
    {"Inom2", 21, F32},
    {"Inom3", 25, F32},
    {"Inom4", 29, F32},
    {"Inom5", 33, F32},
    {"Inom6", 37, F32},
    {"Inom7", 41, F32},
    {"Inom8", 45, F32},
    {"Inom9", 49, F32},
    {"Inom10", 53, F32},
    {"SettingIr1", 57, F32},
    {"SettingIr2", 61, F32},
    {"SettingIr3", 65, F32},
    {"SettingIr4", 69, F32},
    {"SettingIr5", 73, F32},
    {"SettingTr1", 77, F32},
    {"SettingTr2", 81, F32},
    {"SettingTr3", 85, F32},
    {"SettingTr4", 89, F32},
    {"SettingTr5", 93, F32},
    {"SettingIm1", 97, F32},
    {"SettingIm2", 101, F32},
    {"SettingIm3", 105, F32},
    {"SettingIm4", 109, F32},
    {"SettingIm5", 113, F32},
    {"SettingTm1", 117, F32},
    {"SettingTm2", 121, F32},
    {"SettingTm3", 125, F32},
    {"SettingTm4", 129, F32},
    {"SettingTm5", 133, F32},
    {"SettingIc1", 137, F32},
    {"SettingIc2", 141, F32},
    {"SettingIc3", 145, F32},
    {"SettingIc4", 149, F32},
    {"SettingIc5", 153, F32},
    {"Imax", 157, F32},
    {"IrUnit", 161, U8},
    {"ImUnit", 162, U8},
    {"ImoUnit", 163, U8},
    {"SinglePhaseProtection", 164, U8},
    {"unused", 165, Raw, 3},
    {"Error", 168, U8},
    {"VTH", 169, Raw, 112},
    {"Seria", 281, U16},
};

constexpr FieldDef kFields92[] = {
    {"MechType", 0, String, 16}, {"Speed_M_Chart", 17, U8}, {"Class", 18, U8},
    {"MotorType", 19, I32},      {"Speed", 23, F32},        {"Nnom", 27, F32},
    {"Jmech", 31, F32},          {"M0", 35, F32},           {"N0", 39, F32},
    {"SpeedOtkl", 43, F32},      {"unused", 47, Raw, 2},
};

constexpr FieldDef kFields93[] = {
    {"Type", 0, String, 16}, {"Tpermiss", 17, F32}, {"Tterm", 21, F32},
    {"Tignit", 25, F32},     {"Flags", 29, U8},
};

constexpr FieldDef kFields94[] = {
    {"Name", 0, String, 8},
};

constexpr RecordLayout kLayouts[] = {
    {2, "composition templates", 49, kFields2},
    {11, "cables", 53, kFields11},
    {12, "insulated wires", 55, kFields12},
    {13, "bare wires", 38, kFields13},
    {14, "busbar trunking", 49, kFields14},
    {22, "fuses", 183, kFields22},
    {21, "circuit breakers", 47, kFields21},
    {23, "current relays", 35, kFields23},
    {24, "switches", 39, kFields24},
    {25, "starters", 35, kFields25},
    {31, "power transformers", 61, kFields31},
    {32, "voltage stabilisers", 35, kFields32},
    {33, "reactors", 47, kFields33},
    {34, "current transformers", 48, kFields34},
    {41, "synchronous machines", 75, kFields41},
    {42, "asynchronous motors", 79, kFields42},
    {50, "generators", 63, kFields50},
    {43, "capacitor banks", 31, kFields43},
    {91, "trip units", 283, kFields91},
    {92, "mechanisms", 49, kFields92},
    {93, "cable brands", 30, kFields93},
    {94, "breaker series", 9, kFields94},
};

}  // namespace

const RecordLayout* BookRecordLayout(int table) {
  const auto* found = std::ranges::find(kLayouts, table, &RecordLayout::table);
  return found == std::end(kLayouts) ? nullptr : found;
}

}  // namespace kordavelt
