#include "model/model_exchange_format.h"

#include <array>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "base/paste_values.h"
#include "model/model_kinds.h"
#include "model/model_settings.h"

namespace kordavelt {
namespace {

// Object kind of each kind-table position (0: a section without objects).
constexpr std::array<int, kSectionCount> kSectionKinds = {
    0,
    kKindReceiver,
    kKindPowerSource,
    kKindNode,
    kKindAbstractBranch,
    kKindCableLine,
    kKindWiring,
    kKindOverheadLine,
    kKindTrunkingK,
    kKindTrunkingN,
    kKindFuse,
    kKindBreaker,
    kKindCurrentRelay,
    kKindSwitch,
    kKindStarter,
    kKindTransformer,
    kKindStabiliser,
    kKindReactor,
    kKindCurrentTransformer,
    kKindCapacitorBank,
    kKindSockets,
    0,
    0,
    0,
    0,
};

constexpr std::string_view kCommonHeader = "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type";

}  // namespace

int KindOfSection(int section) {
  if (section < 0 || section >= kSectionCount) return 0;
  return kSectionKinds[static_cast<std::size_t>(section)];
}

std::string SectionNameOfKind(int kind) {
  if (kind == 0) return {};
  for (int section = 0; section < kSectionCount; ++section) {
    if (kSectionKinds[static_cast<std::size_t>(section)] == kind)
      return ListItem(kImportSectionNames, section);
  }
  return {};
}

int SectionOfName(std::string_view name) {
  for (int section = 0; section < kSectionCount; ++section) {
    if (ListItem(kImportSectionNames, section) == name) return section;
  }
  if (name == kBuswaySName) return kSectionBuswayS;
  if (name == kCTransfName) return kSectionCTransf;
  return kSectionUnknown;
}

int ObjectKindOfSection(int section) {
  switch (section) {
    case kSectionBuswayS:
      return kKindTrunkingN;
    case kSectionCTransf:
      return kKindCurrentTransformer;
    // The section rows follow the export, not the kind table's pairing.
    case kSectionStabilizer:
      return kKindStabiliser;
    case kSectionReaktor:
      return kKindReactor;
    case kSectionRele:
    case kSectionCurrentTransf:
      return 0;
    case kSectionBranch:
    case kSectionCable:
    case kSectionWiring:
    case kSectionPowerLine:
    case kSectionBusway:
    case kSectionBusways:
    case kSectionFuse:
    case kSectionBreaker:
    case kSectionSwitch:
    case kSectionStarter:
    case kSectionTransf:
    case kSectionCapacitor:
    case kSectionSocket:
      return KindOfSection(section);
    default:
      return 0;
  }
}

std::string_view SectionHeader(int section) {
  switch (section) {
    case kSectionRoom:
      return "Descript#Key#Name#Xmin#Ymin#Zmin#dX#dY#dZ#Angle#Tv#Qtv#Color";
    case kSectionConsumer:
      return "Descript#Group#Key#PowerSupply#room#x#y#z#phase#is_rab#name#type#key_type#"
             "key_mech#Unom#Nphase#Regim#Class#P#Q#Istart#CosFstart#Tstart#Kv#Kz#Kpv#tc#"
             "KeyBranch#Status";
    case kSectionPowerSupply:
      return "Descript#Key#Unom#Pr#Qr#Sr#Color#KeyBranch#status#Ur#Ik3#Ik1#Ta#I0#Tl0#Th0#I1#"
             "Tl1#Th1#I2#Tl2#Th2#I3#Tl3#Th3#I4#Tl4#Th4#I5#Tl5#Th5#I6#Tl6#Th6#I7#Tl7#Th7#I8#"
             "Tl8#Th8#I9#Tl9#Th9#I10#Tl10#Th10";
    case kSectionNode:
      return "Descript#Key#codRoom#x#y#z#Unom#Ko#KeyName";
    case kSectionBranch:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#r1#x1#r0#x0";
    case kSectionCable:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Nk#Type2#Nk2#L#Kpr#Codepr#Kdk";
    case kSectionWiring:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Type_N#Ncond#L#Kpr#Cabining#Kdp";
    case kSectionPowerLine:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Type_N#L#Dsg#Rzaz#Nzaz";
    case kSectionBusway:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#L#N";
    case kSectionBusways:
    case kSectionBuswayS:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#L";
    case kSectionFuse:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Inom#Ipv";
    case kSectionBreaker:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Inom#Ir#Tr#Im#Tm#Iots";
    case kSectionTransf:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#Uv#Un#Pk#Uk#Ph#Ih#Nreg";
    case kSectionCapacitor:
      // The phase connection follows the number of banks, named by its own column.
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#nbk#Connection";
    case kSectionSocket:
      return "Descript#KeyBeg#KeyEnd#Phase#Status#Flag#Type#N_3#N_a#N_b#N_c";
    case kSectionRele:
    case kSectionSwitch:
    case kSectionStarter:
    case kSectionCurrentTransf:
    case kSectionStabilizer:
    case kSectionReaktor:
    case kSectionCTransf:
      return kCommonHeader;
    case kSectionXYNode:
      return "Descript#Key#Vertical#X#Y#L#TextDir#TextPos#Page";
    case kSectionXYBranch:
      return "Descript#Key#ObjType#Vertical#ObjMirror#ObjPos#TextPos#TextDX#TextDY#TextDir#"
             "Page#Nxy#XY1#XY2#XY3#XY4#XY5#XY6#XY7#XY8#XY9#XYA#XYB#XYC#XYD#XYE#XYF";
    case kSectionXYPage:
      return "PageN#Name#X0#Y0#St#Scale";
    case kSectionName:
      return "Key#Name";
    default:
      return {};
  }
}

std::string VoltageList(const ModelSettings& settings) {
  std::string list;
  for (int i = 0; i < 5; ++i) {
    if (i > 0) list += '#';
    list += FormatNumber(settings.NominalVoltage(i));
  }
  return list;
}

int VoltageIndexOf(const ModelSettings& settings, std::string_view text) {
  const std::string trimmed(TrimBlanks(text));
  const std::string list = VoltageList(settings);
  for (int i = 0; i < 5; ++i) {
    if (ListItem(list, i) == trimmed) return i;
  }
  // The sixth voltage is not in V, but a node of that level exports it.
  if (!trimmed.empty() && FormatNumber(settings.NominalVoltage(5)) == trimmed) return 5;
  return kNoIndex;
}

std::string FormN(double x) { return "#" + FormatNumber(x); }

std::string FormI(std::int64_t x) { return "#" + std::to_string(x); }

std::string BareText(std::string_view text) {
  std::string value(text);
  for (char& c : value) {
    if (c == '#') c = ' ';
  }
  return value;
}

std::string FormT(std::string_view text) { return "#" + BareText(text); }

std::string FormK(std::int32_t key) {
  return "#" + FormatNumber(key / 256) + "." + FormatNumber(key % 256);
}

std::string FormK10(std::int32_t key) {
  return "#" + FormatNumber(key / 1024) + "." + FormatNumber(key % 1024);
}

std::string FormL(std::string_view list, int index) { return "#" + ListItem(list, index); }

std::string FormYN(bool value) { return value ? "#Y" : "#N"; }

}  // namespace kordavelt
