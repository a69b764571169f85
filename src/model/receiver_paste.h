#pragma once

// Receivers pasted into the receiver list from text of another layout (one
// line of a '#'-list per receiver):
//   0 code (group.number), 1 designation, 2 name, 3 the group's designation,
//   10 kind code, 11 type text, 12 Uном, 13 phases, 14 P, 15 S, 17 Iпуск,
//   18 cos φп, 19 tп, 20 regime code, 21 Kз, 22 Кв, 23 tц, 25 Kpv.
// The receiver is found by its code or designation, or created in the group
// its group designation names (a new group when none does).

#include <cstdint>
#include <string_view>

namespace kordavelt {

class modelClass;

// Kind codes of the pasted layout.
inline constexpr std::string_view kPastedKindCodes =
    "A#M#S1#S2#MO#MD#MR#M*#MS#W#H#L#CF#IF#BF#BI#TF#TI#BC#MM";
// Regime codes of the pasted layout.
inline constexpr std::string_view kPastedRegimeCodes = "C#I#S#s1#S2";

// The group kind of a pasted kind code index.
int GroupKindOfPastedCode(int codeIndex);

// Takes one pasted line; the receiver's key, 0 when the line was skipped.
std::int32_t ImportReceiverRow(modelClass& model, std::string_view line);

}  // namespace kordavelt
