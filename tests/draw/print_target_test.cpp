// Table and scheme printing compute margins and scales from the page setup;
// a printable area measured from the wrong corner or in the wrong unit
// would shift every printed sheet.

#include "draw/print_target.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(PageSetup, PrintableAreaInDotsIsMeasuredFromTheSheetsCorner) {
  const PageSetup a4{SizeF{210, 297}, RectF{4.5, 5, 205.5, 292}, 600 / 25.4};
  EXPECT_NEAR(a4.PaperDots().width, 4960.63, 0.01);
  const RectF printable = a4.PrintableDots();
  EXPECT_NEAR(printable.left, 106.299, 0.001);
  EXPECT_NEAR(printable.Width(), 201 * 600 / 25.4, 1e-9);
  EXPECT_NEAR(printable.Height(), 287 * 600 / 25.4, 1e-9);
}

TEST(DiscardingCanvas, MeasuresTextsAndDrawsNowhere) {
  const auto canvas = MakeDiscardingCanvas(12);
  canvas->font.height = 10;
  canvas->Line(PointF{0, 0}, PointF{1, 1});
  canvas->Text(PointF{0, 0}, "АБВ");
  EXPECT_EQ(canvas->TextExtent("АБВ"), (Size{18, 10}));
  EXPECT_DOUBLE_EQ(canvas->DotsPerMm(), 12);
}

}  // namespace
}  // namespace kordavelt
