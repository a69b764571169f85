#include "model/model_layouts.h"

#include <algorithm>
#include <iterator>

#include "model/model_settings.h"
#include "model/model_tables.h"

// The field tables of the model's record layouts. A field takes the name
// under which the model exchange writes it where it has one, else the name of
// its typed-view accessor. Spans without meaning are listed as "unused", so
// that the fields of a layout cover its record exactly, byte by byte.

namespace kordavelt {
namespace {

using enum FieldType;

// --- The model's own tables ----------------------------------------------

constexpr FieldDef kNodeFields[] = {
    {"Ko", 0, F32},       {"unused", 4, Raw, 16}, {"x", 20, I16},         {"y", 22, I16},
    {"z", 24, I16},       {"Unom", 26, U8},       {"unused", 27, Raw, 2}, {"NodeType", 29, U8},
    {"codRoom", 30, U16}, {"KeyName", 32, U16},
};

constexpr FieldDef kBranchFields[] = {
    {"KeyEnd", 0, I32},
    {"Kind", 4, U8},
    {"Phase", 5, U8},
    {"Status", 6, U16},
};

constexpr FieldDef kFarEndFields[] = {
    {"KeyBeg", 0, I32},
};

constexpr FieldDef kSourceFields[] = {
    {"Descript", 0, String, 19},
    {"Unom", 20, U8},
    {"Calculated", 21, U8},
    {"Pr", 22, F32},
    {"Qr", 26, F32},
    {"KeyBranch", 30, I32},
    {"Color", 34, I32},
};

constexpr FieldDef kReceiverFields[] = {
    {"KeyBranch", 0, I32}, {"Descript", 4, String, 19}, {"x", 24, I16},    {"y", 26, I16},
    {"z", 28, I16},        {"PowerSupply", 30, U8},     {"phase", 31, U8}, {"is_rab", 32, U8},
    {"room", 33, U16},
};

constexpr FieldDef kGroupFields[] = {
    {"name", 0, String, 99},
    {"Kv", 100, F32},
    {"Kz", 104, F32},
    {"Kpv", 108, F32},
    {"tc", 112, F32},
    {"Nphase", 116, U8},
    {"Regim", 117, U8},
    {"Class", 118, U8},
    {"SelfStart", 119, U8},
    {"P", 120, F32},
    {"Q", 124, F32},
    {"Unom", 128, F32},
    {"Istart", 132, F32},
    {"CosFstart", 136, F32},
    {"Tstart", 140, F32},
    {"ReceiverCount", 144, U16},
    {"WorkingCount", 146, U16},
    {"key_type", 148, I32},
    {"key_mech", 152, I32},
    {"type", 156, String, 7},
};

constexpr FieldDef kRoomFields[] = {
    {"Descript", 0, String, 19},
    {"Name", 20, String, 49},
    {"Xmin", 70, F32},
    {"Ymin", 74, F32},
    {"Zmin", 78, F32},
    {"dX", 82, F32},
    {"dY", 86, F32},
    {"dZ", 90, F32},
    {"Angle", 94, F32},
    {"Tv", 98, F32},
    {"Qtv", 102, F32},
    {"Color", 106, I32},
    {"FireClass", 110, U8},
    {"ExplosionClass", 111, U8},
};

constexpr FieldDef kMarkingFields[] = {
    {"Descript", 0, String, 19},
};

constexpr FieldDef kNameFields[] = {
    {"Name", 0, String, 127},
};

// --- Object tables -----------------------------------------------------------

constexpr FieldDef kAbstractBranchFields[] = {
    {"Type", 0, String, 19}, {"r1", 20, F32}, {"x1", 24, F32}, {"r0", 28, F32}, {"x0", 32, F32},
};

constexpr FieldDef kCableLineFields[] = {
    {"Type", 0, I32}, {"Type2", 4, I32}, {"L", 8, F32},      {"Kpr", 12, F32},
    {"Nk", 16, U8},   {"Nk2", 17, U8},   {"Codepr", 18, U8}, {"Kdk", 19, U8},
};

constexpr FieldDef kWiringFields[] = {
    {"Type", 0, I32},         {"Type_N", 4, I32}, {"L", 8, F32},        {"Kpr", 12, F32},
    {"WireSpacing", 16, F32}, {"Ncond", 20, U8},  {"Cabining", 21, U8}, {"Kdp", 22, U8},
};

constexpr FieldDef kOverheadLineFields[] = {
    {"Type", 0, I32}, {"Type_N", 4, I32},        {"L", 8, F32}, {"Dsg", 12, F32}, {"Rzaz", 16, F32},
    {"Nzaz", 20, U8}, {"WiresPerPhase", 21, U8},
};

constexpr FieldDef kTrunkingFields[] = {
    {"Type", 0, I32},
    {"L", 4, F32},
    {"N", 8, U16},
};

constexpr FieldDef kBusbarTrunkingFields[] = {
    {"Material", 0, U8}, {"Construction", 1, U8}, {"Sections", 2, U16}, {"L", 4, F32},
    {"D", 8, F32},       {"B", 12, F32},          {"H", 16, F32},       {"BvOrD", 20, F32},
    {"F", 24, F32},      {"G0", 28, F32},
};

constexpr FieldDef kProtectiveDeviceFields[] = {
    {"Name", 0, String, 19}, {"Ir", 20, F32},       {"Tr", 24, F32},
    {"Im", 28, F32},         {"Tm", 32, F32},       {"Iots", 36, F32},
    {"Imax", 40, F32},       {"Vth", 44, Raw, 112}, {"OnePhaseProtection", 156, U8},
};

constexpr FieldDef kBreakerFields[] = {
    {"Type", 0, I32},    {"TripUnitType", 4, I32},
    {"Inom", 8, F32},    {"Ir", 12, F32},
    {"Tr", 16, F32},     {"Im", 20, F32},
    {"Tm", 24, F32},     {"Iots", 28, F32},
    {"BtConst", 32, U8}, {"OnePhaseProtection", 33, U8},
};

constexpr FieldDef kFuseFields[] = {
    {"Type", 0, I32},
    {"Inom", 4, F32},
    {"Ipv", 8, F32},
};

constexpr FieldDef kTypeOnlyFields[] = {
    {"Type", 0, I32},
};

constexpr FieldDef kStarterFields[] = {
    {"Type", 0, I32},
    {"unused", 4, Raw, 8},
};

constexpr FieldDef kTransformerFields[] = {
    {"Type", 0, I32}, {"Pk", 4, F32},  {"Uk", 8, F32},  {"Ph", 12, F32},
    {"Ih", 16, F32},  {"Uv", 20, F32}, {"Un", 24, F32}, {"Nreg", 28, I8},
};

constexpr FieldDef kCapacitorBankFields[] = {
    {"Type", 0, I32},
    {"nbk", 4, U8},
    {"PhaseIndex", 5, U8},
};

constexpr FieldDef kSocketsFields[] = {
    {"unused", 0, Raw, 4}, {"N_3", 4, I32}, {"N_a", 8, I32}, {"N_b", 12, I32}, {"N_c", 16, I32},
};

constexpr FieldDef kGeneratorFields[] = {
    {"unused", 0, Raw, 4}, {"Type", 4, I32}, {"unused", 8, Raw, 20},
    {"X", 28, I16},        {"Y", 30, I16},   {"Z", 32, I16},
    {"Pg", 34, F32},       {"Qg", 38, F32},  {"unused", 42, Raw, 4},
};

constexpr FieldDef kSourceObjectFields[] = {
    {"Ur", 0, F32},  {"Ik3", 4, F32},          {"Ik1", 8, F32},
    {"Ta", 12, F32}, {"unused", 16, Raw, 112}, {"SourceNumber", 128, I32},
};

constexpr FieldDef kReceiverObjectFields[] = {
    {"ReceiverKey", 0, I32},
};

constexpr FieldDef kEquivalentMotorFields[] = {
    {"Pust", 0, F32},    {"Q", 4, F32},           {"Unom", 8, F32},     {"unused", 12, Raw, 4},
    {"Psz", 16, F32},    {"Pnom1", 20, F32},      {"Istart1", 24, F32}, {"CosFstart", 28, F32},
    {"Tstart", 32, F32}, {"MotorCount", 36, U16}, {"Kind", 38, U8},     {"unused", 39, Raw, 1},
};

// --- Scheme geometry ---------------------------------------------------------

constexpr FieldDef kXYNodeFields[] = {
    {"X", 0, I16},      {"Y", 2, I16},       {"L", 4, U8},    {"TextDir", 5, U8},
    {"TextPos", 6, U8}, {"Vertical", 7, U8}, {"Page", 8, U8}, {"unused", 9, Raw, 1},
};

constexpr FieldDef kXYBranchFields[] = {
    {"XY1", 0, I16},      {"XY2", 2, I16},       {"XY3", 4, I16},     {"XY4", 6, I16},
    {"XY5", 8, I16},      {"XY6", 10, I16},      {"XY7", 12, I16},    {"XY8", 14, I16},
    {"XY9", 16, I16},     {"XYA", 18, I16},      {"XYB", 20, I16},    {"XYC", 22, I16},
    {"XYD", 24, I16},     {"XYE", 26, I16},      {"TextDX", 28, I8},  {"TextDY", 29, I8},
    {"ObjType", 30, U8},  {"ObjMirror", 31, I8}, {"ObjPos", 32, I16}, {"TextPos", 34, I16},
    {"Vertical", 36, U8}, {"Nxy", 37, U8},       {"TextDir", 38, U8}, {"Page", 39, U8},
};

constexpr FieldDef kXYPageFields[] = {
    {"Name", 0, String, 39}, {"X0", 40, I16},       {"Y0", 42, I16},
    {"St", 44, I16},         {"Scale", 46, I16},    {"StampX", 48, I16},
    {"StampY", 50, I16},     {"StampSize", 52, U8}, {"unused", 53, Raw, 3},
};

constexpr RecordLayout kLayouts[] = {
    {kNodeTable, "Узлы", kNodeLength, kNodeFields},
    {kBranchTable, "Ветви", kBranchLength, kBranchFields},
    {kFarEndTable, "Концы ветвей", kFarEndLength, kFarEndFields},
    {kSourceTable, "Источники питания", kSourceLength, kSourceFields},
    {kReceiverTable, "Электроприемники", kReceiverLength, kReceiverFields},
    {kGroupTable, "Группы электроприемников", kGroupLength, kGroupFields},
    {kRoomTable, "Здания и помещения", kRoomLength, kRoomFields},
    {kMarkingTable, "Обозначения", kMarkingLength, kMarkingFields},
    {kNameTable, "Наименования", kNameLength, kNameFields},
    {kAbstractBranchTable, "Ветвь абстрактная", kAbstractBranchLength, kAbstractBranchFields},
    {kCableLineTable, "Кабельная линия", kCableLineLength, kCableLineFields},
    {kWiringTable, "Участок проводки", kWiringLength, kWiringFields},
    {kOverheadLineTable, "Воздушная линия", kOverheadLineLength, kOverheadLineFields},
    {kTrunkingTable, "Шинопровод К", kTrunkingLength, kTrunkingFields},
    {kBusbarTrunkingTable, "Шинопровод Н", kBusbarTrunkingLength, kBusbarTrunkingFields},
    {kProtectiveDeviceTable, "Защитный аппарат", kProtectiveDeviceLength, kProtectiveDeviceFields},
    {kBreakerTable, "Автомат", kBreakerLength, kBreakerFields},
    {kFuseTable, "Предохранитель", kFuseLength, kFuseFields},
    {kCurrentRelayTable, "Токовое реле", kTypeOnlyLength, kTypeOnlyFields},
    {kSwitchTable, "Рубильник", kTypeOnlyLength, kTypeOnlyFields},
    {kStarterTable, "Пускатель и контактор", kStarterLength, kStarterFields},
    {kTransformerTable, "Трансформатор", kTransformerLength, kTransformerFields},
    {kStabiliserTable, "Стабилизатор", kTypeOnlyLength, kTypeOnlyFields},
    {kReactorTable, "Реактор", kTypeOnlyLength, kTypeOnlyFields},
    {kCurrentTransformerTable, "Трансформатор тока", kTypeOnlyLength, kTypeOnlyFields},
    {kCapacitorBankTable, "Батарея конденсаторов", kCapacitorBankLength, kCapacitorBankFields},
    {kSocketsTable, "Электророзетки", kSocketsLength, kSocketsFields},
    {kGeneratorTable, "Генератор", kGeneratorLength, kGeneratorFields},
    {kSourceObjectTable, "Источник питания", kSourceObjectLength, kSourceObjectFields},
    {kReceiverObjectTable, "Электроприемник", kReceiverObjectLength, kReceiverObjectFields},
    {kEquivalentMotorTable, "Эквивалентный АД/СД", kEquivalentMotorLength, kEquivalentMotorFields},
    {kXYNodeTable, "Схема: узлы", kXYNodeLength, kXYNodeFields},
    {kXYBranchTable, "Схема: ветви", kXYBranchLength, kXYBranchFields},
    {kXYPageTable, "Схема: подсхемы", kXYPageLength, kXYPageFields},
};

}  // namespace

const RecordLayout* ModelTableLayout(int table) {
  if (table == kSettingsBlock) return &ModelSettingsLayout();
  const auto* found = std::ranges::find(kLayouts, table, &RecordLayout::table);
  return found == std::end(kLayouts) ? nullptr : found;
}

}  // namespace kordavelt
