#pragma once

// The model exchange file: one text file of several tables (sections) that
// ExportModel writes through PutClass and ImportModel reads through
// GetClass. This header fixes the section names, their field-name lists, the
// value forms of a row and the kind table that links sections to object
// kinds, so that both directions agree.
//
// A row is a '#'-list: its first value bare, every further one appended
// with a leading "#" (the forms below). Object sections carry the common
// branch columns 0 … 4 (designation, KeyBeg, KeyEnd, flags, Status); their
// header names one column more than the rows hold ("Flag" labels position 5).

#include <cstdint>
#include <string>
#include <string_view>

namespace kordavelt {

class ModelSettings;

// Section numbers: positions in the kind table (and in kImportSectionNames).
enum ModelSection : int {
  kSectionRoom = 0,
  kSectionConsumer = 1,
  kSectionPowerSupply = 2,
  kSectionNode = 3,
  kSectionBranch = 4,
  kSectionCable = 5,
  kSectionWiring = 6,
  kSectionPowerLine = 7,
  kSectionBusway = 8,
  kSectionBusways = 9,
  kSectionFuse = 10,
  kSectionBreaker = 11,
  kSectionRele = 12,
  kSectionSwitch = 13,
  kSectionStarter = 14,
  kSectionTransf = 15,
  kSectionCurrentTransf = 16,
  kSectionStabilizer = 17,
  kSectionReaktor = 18,
  kSectionCapacitor = 19,
  kSectionSocket = 20,
  kSectionXYNode = 21,
  kSectionXYBranch = 22,
  kSectionXYPage = 23,
  kSectionName = 24,
  kSectionCount = 25,
  // Sections the export writes under names of their own: kind 15 and kind 34.
  kSectionBuswayS = 25,
  kSectionCTransf = 26,
  kSectionUnknown = -1,
};

// The 25 section names the import knows, in kind-table order (case-sensitive).
inline constexpr std::string_view kImportSectionNames =
    "Room#Consumer#PowerSupply#Node#Branch#Cable#Wiring#PowerLine#Busway#Busways#Fuse#"
    "Breaker#Rele#Switch#Starter#Transf#CurrentTransf#Stabilizer#Reaktor#Capacitor#Socket#"
    "XYNode#XYBranch#XYPage#Name";

// Export-only names: busbar trunking of kind 15 and current transformers.
inline constexpr std::string_view kBuswaySName = "BuswayS";
inline constexpr std::string_view kCTransfName = "CTransf";

// The object kind of a kind-table position; 0 for the positions without one
// (Room, XYNode, XYBranch, XYPage, Name) and outside the table.
int KindOfSection(int section);
// The kind-table name of an object kind ("CurrentTransf" for 32, "Stabilizer"
// for 33, "Reaktor" for 34); empty for a kind the table does not list.
std::string SectionNameOfKind(int kind);

// The section a name read from a file starts: a kind-table position, the
// export-only kSectionBuswayS / kSectionCTransf, or kSectionUnknown.
int SectionOfName(std::string_view name);
// The object kind a section's rows are applied to (Stabilizer 32, Reaktor 33,
// BuswayS and Busways 15, CTransf 34); 0 for the other sections and for Rele
// and CurrentTransf, whose rows change nothing.
int ObjectKindOfSection(int section);
// The field-name list of a section as the export writes it.
std::string_view SectionHeader(int section);

// Value lists of the rows.
inline constexpr std::string_view kLayingList = "Откр#Трнш#Блок";
inline constexpr std::string_view kWiringLayingList =
    "Без труб и шлангов#В токопроводящей трубе#В диэлектрическом шланге";
inline constexpr std::string_view kPhaseConnectionList = "ABC0#ABC#A0#B0#C0#AB#BC#CA";
inline constexpr std::string_view kExchangeRegimeList = "C#I#S#s1#S2";
inline constexpr std::string_view kExchangeKindList =
    " - #АД#СД#АД2#ЭД#Освещение#Нагреватель#Сварка";

// V: FormatNumber of the first five nominal voltages joined by "#".
std::string VoltageList(const ModelSettings& settings);
// The voltage index of a text: its position in V, else the sixth voltage
// when the text shows it; kNoIndex (255) when neither.
int VoltageIndexOf(const ModelSettings& settings, std::string_view text);

// Value forms, each with its leading "#".
std::string FormN(double x);
std::string FormI(std::int64_t x);
// A text: '#' inside would split the row, so it becomes a blank.
std::string FormT(std::string_view text);
// A node-and-slot key "12.3" ("0.0" for 0), and a receiver key "5.7".
std::string FormK(std::int32_t key);
std::string FormK10(std::int32_t key);
std::string FormL(std::string_view list, int index);
std::string FormYN(bool value);

// A text as the bare first value of a row (with '#' made a blank).
std::string BareText(std::string_view text);

}  // namespace kordavelt
