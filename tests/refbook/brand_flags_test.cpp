#include "refbook/brand_flags.h"

#include <gtest/gtest.h>

#include <string>

namespace kordavelt {
namespace {

// Flags byte of a cable brand from its parts.
std::uint8_t Brand(int aluminium, int sheath, int armour) {
  return static_cast<std::uint8_t>(aluminium << 7 | sheath << 4 | armour << 3);
}

TEST(BrandFlagsTest, CableBrands) {
  EXPECT_EQ(CableBrandFlags("ААБл"), Brand(1, 1, 1));
  EXPECT_EQ(CableBrandFlags("АВВГ"), Brand(1, 4, 0));
  EXPECT_EQ(CableBrandFlags("ВВГ"), 0);
  EXPECT_EQ(CableBrandFlags("ЦАСБ"), Brand(1, 2, 1));  // Ц+А: aluminium, no aluminium sheath
  EXPECT_EQ(CableBrandFlags("СБ"), Brand(0, 2, 1));
  EXPECT_EQ(CableBrandFlags("АПвБ"), Brand(1, 5, 1));
  EXPECT_EQ(CableBrandFlags("ВБбШв"), Brand(0, 0, 1));
  EXPECT_EQ(CableBrandFlags("ААШв"), Brand(1, 1, 0));
  // Later rules override the sheath of earlier ones: lead, then PVC.
  EXPECT_EQ(CableBrandFlags("АСВ"), Brand(1, 4, 0));
  EXPECT_EQ(CableBrandFlags(""), 0);
  // Latin look-alikes and small letters are other characters.
  EXPECT_EQ(CableBrandFlags("AAB"), 0);
  EXPECT_EQ(CableBrandFlags("аабл"), 0);
}

TEST(BrandFlagsTest, Wires) {
  EXPECT_EQ(InsulatedWireFlags("АПВ"), 0x80);
  EXPECT_EQ(InsulatedWireFlags("ПВ"), 0);
  EXPECT_EQ(InsulatedWireFlags(""), 0);

  EXPECT_EQ(BareWireFlags("АС"), 1 << 6 | 1 << 2);
  EXPECT_EQ(BareWireFlags("Ап"), 1 << 6 | 5 << 2);
  EXPECT_EQ(BareWireFlags("ПЖ"), 3 << 6 | 2 << 2);
  EXPECT_EQ(BareWireFlags("С"), 3 << 6);  // position 4 capped at 3
  EXPECT_EQ(BareWireFlags("М"), 0);
  EXPECT_EQ(BareWireFlags("АП"), 1 << 6 | 5 << 2);
  EXPECT_EQ(BareWireConstruction(BareWireFlags("АН")), 4);
  EXPECT_EQ(BareWireMaterial(BareWireFlags("БК")), 2);
}

TEST(BrandFlagsTest, OddNamesAreHarmless) {
  const std::string garbage("\xff\xfe\x80\x00zz", 6);
  EXPECT_EQ(CableBrandFlags(garbage) & 0x07, 0);
  EXPECT_EQ(BareWireFlags(std::string(100000, 'x')), 0);
}

}  // namespace
}  // namespace kordavelt
