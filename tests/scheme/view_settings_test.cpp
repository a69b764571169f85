// The view settings and their 8 bytes in the model's settings block. Guards
// against settings that do not come back after a save and reopen, a model
// that never kept them reading as everything switched off, and a damaged
// byte that breaks the drawing (a factor of 0, a width of 200, a scale that
// is not a number).

#include "scheme/view_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/model_builder.h"
#include "model/model_settings.h"

namespace kordavelt {
namespace {

ViewSettings Unusual() {
  ViewSettings settings;
  settings.fontFactor = 6;
  settings.lineWidth = 5;
  settings.colouredText = false;
  settings.dotGrid = true;
  settings.cableMarks = false;
  settings.crossHair = false;
  settings.externalScale = 2.5f;
  return settings;
}

TEST(ViewSettings, EverySettingComesBackFromItsBytes) {
  const ViewSettings settings = Unusual();
  const auto bytes = EncodeViewSettings(settings);
  EXPECT_EQ(DecodeViewSettings(bytes), settings);
  // Each flag on its own, so that two flags sharing a bit would show.
  bool ViewSettings::*const flags[] = {&ViewSettings::colouredText,  &ViewSettings::dotGrid,
                                       &ViewSettings::switchMarkers, &ViewSettings::roundNodes,
                                       &ViewSettings::wideBusbars,   &ViewSettings::cableMarks,
                                       &ViewSettings::branchArrows,  &ViewSettings::autoSync,
                                       &ViewSettings::autoScroll,    &ViewSettings::crossHair};
  for (const auto flag : flags) {
    ViewSettings one;
    one.*flag = !(one.*flag);
    EXPECT_EQ(DecodeViewSettings(EncodeViewSettings(one)), one);
  }
}

TEST(ViewSettings, BytesThatNeverHeldSettingsReadAsTheDefaults) {
  const std::array<std::uint8_t, 8> zeros{};
  EXPECT_EQ(DecodeViewSettings(zeros), ViewSettings{});
  const std::array<std::uint8_t, 4> shortSpan{6, 5, 0xFF, 0xFF};
  EXPECT_EQ(DecodeViewSettings(shortSpan), ViewSettings{});
}

TEST(ViewSettings, ADamagedFieldFallsBackToItsDefaultAlone) {
  auto bytes = EncodeViewSettings(Unusual());
  bytes[0] = 3;
  bytes[1] = 200;
  WriteF32(bytes, 4, std::numeric_limits<float>::quiet_NaN());
  const ViewSettings read = DecodeViewSettings(bytes);
  EXPECT_EQ(read.fontFactor, 2);
  EXPECT_EQ(read.lineWidth, 0);
  EXPECT_EQ(read.externalScale, 0.0f);
  EXPECT_TRUE(read.dotGrid);
  WriteF32(bytes, 4, -1.0f);
  EXPECT_EQ(DecodeViewSettings(bytes).externalScale, 0.0f);
  WriteF32(bytes, 4, 5000.0f);
  EXPECT_EQ(DecodeViewSettings(bytes).externalScale, 0.0f);
}

TEST(ViewSettings, TheSettingsSurviveASaveAndReopenOfTheModel) {
  testing::ModelBuilder m;
  m->Settings().SetSchemeDisplayOptions(EncodeViewSettings(Unusual()));
  ASSERT_TRUE(m.Reopen());
  EXPECT_EQ(DecodeViewSettings(m->Settings().SchemeDisplayOptions()), Unusual());
}

}  // namespace
}  // namespace kordavelt
