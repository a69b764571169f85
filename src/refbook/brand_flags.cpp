#include "refbook/brand_flags.h"

#include <string>

#include "base/cp1251.h"

namespace kordavelt {
namespace {

// Character i (1-based) of a code-page-1251 name; 0 past its end.
std::uint8_t CharAt(const std::string& name, std::size_t i) {
  return i >= 1 && i <= name.size() ? static_cast<std::uint8_t>(name[i - 1]) : 0;
}

std::uint8_t Letter(char32_t letter) { return CodePointToCp1251(letter); }

// 1-based position of byte c in the code-page-1251 letters; 0 when absent.
int PositionIn(std::uint8_t c, std::u32string_view letters) {
  if (c == 0) return 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (Letter(letters[i]) == c) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace

std::uint8_t CableBrandFlags(std::string_view utf8Name) {
  const std::string name = Utf8ToCp1251(utf8Name);
  const std::uint8_t c1 = CharAt(name, 1);
  const std::uint8_t c2 = CharAt(name, 2);
  const std::uint8_t c3 = CharAt(name, 3);
  const std::uint8_t a = Letter(U'А');
  const std::uint8_t v = Letter(U'В');
  const std::uint8_t p = Letter(U'П');
  const std::uint8_t s = Letter(U'С');
  const std::uint8_t ts = Letter(U'Ц');

  int material = 0;
  if (c1 == a || (c1 == ts && c2 == a)) material = 1;
  // Each later sheath rule overrides an earlier one.
  int sheath = 0;
  if ((c2 == a && c1 != ts) || c3 == a) sheath = 1;
  if (c1 == s || c2 == s || c3 == s) sheath = 2;
  if ((c1 == a && c2 == v) || c3 == v) sheath = 4;
  if ((c1 == a && c2 == p) || c3 == p) sheath = 5;
  const int armour = name.find(static_cast<char>(Letter(U'Б'))) != std::string::npos ? 1 : 0;
  return static_cast<std::uint8_t>(material << 7 | sheath << 4 | armour << 3);
}

std::uint8_t InsulatedWireFlags(std::string_view utf8Name) {
  const std::string name = Utf8ToCp1251(utf8Name);
  return CharAt(name, 1) == Letter(U'А') ? 0x80 : 0;
}

std::uint8_t BareWireFlags(std::string_view utf8Name) {
  const std::string name = Utf8ToCp1251(utf8Name);
  int material = PositionIn(CharAt(name, 1), U"АБПС");
  if (material > 3) material = 3;
  const std::uint8_t c2 = CharAt(name, 2);
  const int construction = c2 == Letter(U'п') ? 5 : PositionIn(c2, U"СЖКНП");
  return static_cast<std::uint8_t>(material << 6 | construction << 2);
}

int BareWireConstruction(std::uint8_t flags) { return (flags >> 2) & 7; }

int BareWireMaterial(std::uint8_t flags) { return (flags >> 6) & 3; }

}  // namespace kordavelt
