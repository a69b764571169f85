#pragma once

// Flags derived from the marking of a cable brand or a wire: conductor
// material, sheath, armour and (bare wires) construction. Characters are
// taken in code page 1251 and compared exactly as stored.

#include <cstdint>
#include <string_view>

namespace kordavelt {

// Cable brand flags byte: bit 7 aluminium conductor, bits 0-2 insulation
// (never derived: 0), bit 3 armour, bits 4-6 sheath.
std::uint8_t CableBrandFlags(std::string_view utf8Name);
// Insulated wire: bit 7 aluminium.
std::uint8_t InsulatedWireFlags(std::string_view utf8Name);
// Bare wire: material in bits 6-7, construction code in bits 2-4.
std::uint8_t BareWireFlags(std::string_view utf8Name);
// The construction code (bits 2-4) of bare-wire flags.
int BareWireConstruction(std::uint8_t flags);
// The material (bits 6-7) of bare-wire flags: index into "Медь#Алюминий#Бронза#Сталь".
int BareWireMaterial(std::uint8_t flags);

}  // namespace kordavelt
