#pragma once

// The choice lists of the data tables: sources, receivers, groups and rooms.

#include <string_view>

namespace kordavelt {

// Phase connection of a receiver (index stored in the receiver record).
inline constexpr std::string_view kPhaseList = "ABC0#ABC#A0#B0#C0#AB#BC#CA";
// Kind of a receiver group; 1 "АД" and 2 "СД" are motors with a type from
// the reference book.
inline constexpr std::string_view kGroupKindList = " - #АД#СД#АД2#ЭД#Освещение#Нагреватель#Сварка";
// Operating regime of a group: continuous, periodic, episodic.
inline constexpr std::string_view kRegimeList = "Длит.#Период.#Эпизод.";
// Hazard classes of a room.
inline constexpr std::string_view kFireClassList = "-#П-I#П-II#П-IIа#П-III";
inline constexpr std::string_view kExplosionClassList = "-#В-I#В-Ia#В-Iб#В-Iг#В-II#В-IIа";

// Group kinds and regimes the program acts on.
inline constexpr int kGroupKindNone = 0;
inline constexpr int kGroupKindAsync = 1;  // "АД"
inline constexpr int kGroupKindSync = 2;   // "СД"
inline constexpr int kGroupKindEd = 4;     // "ЭД"
inline constexpr int kGroupKindLighting = 5;
inline constexpr int kGroupKindHeater = 6;
inline constexpr int kGroupKindWelding = 7;
inline constexpr int kRegimeContinuous = 0;
inline constexpr int kRegimeEpisodic = 2;

// A colour swatch drawn in the row's colour.
inline constexpr std::string_view kColourSwatch = "@s2r22GDxxr02DDe";

}  // namespace kordavelt
