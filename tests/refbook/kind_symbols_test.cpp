// The kind symbols are picture strings the reference book gives every object
// kind; the scheme and the book's tables draw them. A symbol that reaches
// outside its cell, loses its connection points or changes its look unseen
// would show on every scheme.
//
// The reference drawings in tests/refbook/pictures/ were reviewed by eye;
// KORDAVELT_UPDATE_PICTURES=1 rewrites them from the current renderer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/picture_checks.h"
#include "draw/picture_string.h"
#include "refbook/kind_names.h"

namespace kordavelt {
namespace {

using testing::ExpectDrawnAsReviewed;
using testing::ExpectDrawnInside;
using testing::ReferencePicture;

// Every kind code the object tables and the calculation use.
constexpr int kDrawnKinds[] = {2,  3,  11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25, 31, 32,
                               33, 34, 41, 42, 43, 45, 46, 50, 51, 52, 53, 54, 55, 91};

TEST(KindSymbolPictures, EveryCodeCutAtEveryLengthDrawsOnlyWhereItsDigitsReach) {
  for (int kind = 0; kind < 100; ++kind) {
    const std::string symbol = KindSymbol(kind);
    for (std::size_t cut = 0; cut <= symbol.size(); ++cut) {
      ExpectDrawnInside(std::string_view(symbol).substr(0, cut), Point{0, 0}, 32);
    }
  }
}

// Kind symbols (mostly half a cell tall, some reaching past it) are drawn at
// row height 64 on 96 pixels, so that every step of the 16-step grid shows.
TEST(KindSymbolPictures, EveryKindSymbolDrawsAsReviewed) {
  std::vector<ReferencePicture> pictures;
  for (int kind : kDrawnKinds) {
    pictures.push_back(
        {"kind_" + std::to_string(kind), SymbolWithoutPoints(KindSymbol(kind)), kBlack, 64, 96});
  }
  ExpectDrawnAsReviewed(KORDAVELT_PICTURES_DIR, pictures);
}

TEST(KindSymbolPictures, KindSymbolsCarryOnlyConnectionPointsAfterTheirPicture) {
  for (int kind : kDrawnKinds) {
    const std::string symbol = KindSymbol(kind);
    const Picture parsed = Picture::Parse(symbol);
    EXPECT_TRUE(parsed.TrailingText().empty()) << symbol;
    EXPECT_FALSE(parsed.ConnectionPoints().empty()) << symbol;
    EXPECT_FALSE(parsed.Commands().empty()) << symbol;
  }
}

}  // namespace
}  // namespace kordavelt
