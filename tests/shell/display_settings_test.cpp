// The display settings through the per-user store. Each case guards a way
// the program could start with a wrong font, an unreadable number format or
// invisible switched-off elements, or lose the user's settings on exit.

#include "shell/display_settings.h"

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "shell/settings_store.h"

namespace kordavelt {
namespace {

// The number format globals are process-wide: every case leaves them as it found them.
class DisplaySettingsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Digits = savedDigits_;
    MinNull = savedMinNull_;
  }

  // A store as a previous run left it.
  void StoreAll(const DisplaySettings& s) { ASSERT_TRUE(WriteDisplaySettings(store, s)); }

  MemorySettingsStore store;

 private:
  int savedDigits_ = Digits;
  float savedMinNull_ = MinNull;
};

DisplaySettings Customised() {
  DisplaySettings s;
  s.fontName = "Times New Roman";
  s.fontSize = 12;
  s.fontStyle = 3;
  s.digits = 7;
  s.minNull = 0.001f;
  s.colorDefault = 0x112233;
  s.colorOffline = 0x445566;
  s.colorSelect = 0x778899;
  s.toolbarHidden = true;
  return s;
}

TEST_F(DisplaySettingsTest, FirstStartCreatesTheKeyAndKeepsTheStartValues) {
  DisplaySettings s;
  EXPECT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::KeyCreated);
  EXPECT_TRUE(store.HasKey(kSettingsKey));
  EXPECT_EQ(s.fontName, "Arial");
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_EQ(s.fontStyle, 0);
  EXPECT_EQ(s.digits, 5);
  EXPECT_FLOAT_EQ(s.minNull, 0.000001f);
  EXPECT_EQ(s.colorDefault, 0u);
  EXPECT_EQ(s.colorOffline, 0xC0C0C0u);
  EXPECT_EQ(s.colorSelect, 0x0000FFu);
  EXPECT_FALSE(s.toolbarHidden) << "the toolbar is visible";

  // The key now exists but holds nothing: the next start reads nothing either.
  DisplaySettings again;
  EXPECT_EQ(ReadDisplaySettings(store, again), DisplaySettingsRead::Stopped);
  EXPECT_EQ(again.fontName, "Arial");
}

TEST_F(DisplaySettingsTest, WrittenSettingsComeBackOnTheNextStartWithTheirStoredTypes) {
  StoreAll(Customised());
  EXPECT_EQ(store.Find(kSettingsKey, "Toolbar"), MemorySettingsStore::Value(true))
      << "true when hidden";
  ASSERT_TRUE(store.Find(kSettingsKey, "MinNull"));
  EXPECT_TRUE(std::holds_alternative<double>(*store.Find(kSettingsKey, "MinNull")));

  DisplaySettings s;
  ASSERT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::Complete);
  const DisplaySettings expected = Customised();
  EXPECT_EQ(s.fontName, expected.fontName);
  EXPECT_EQ(s.Font(), expected.Font());
  EXPECT_EQ(s.digits, 7);
  EXPECT_FLOAT_EQ(s.minNull, 0.001f);
  EXPECT_EQ(s.colorDefault, expected.colorDefault);
  EXPECT_EQ(s.colorOffline, expected.colorOffline);
  EXPECT_EQ(s.colorSelect, expected.colorSelect);
  EXPECT_TRUE(s.toolbarHidden);
}

TEST_F(DisplaySettingsTest, ZeroAndEmptyStoredValuesReadAsUsableDefaults) {
  DisplaySettings stored = Customised();
  stored.fontName = "";
  stored.fontSize = 0;
  stored.digits = 0;
  StoreAll(stored);
  DisplaySettings s;
  ASSERT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::Complete);
  EXPECT_EQ(s.fontName, "Arial");
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_EQ(s.digits, 3) << "0 digits read back as 3, not as the start value 5";
}

TEST_F(DisplaySettingsTest, OfflineAndSelectColoursEqualToTheStandardColourAreReset) {
  // Switched-off or selected elements drawn in the standard colour could not be told apart.
  DisplaySettings stored = Customised();
  stored.colorOffline = stored.colorDefault;
  stored.colorSelect = stored.colorDefault;
  StoreAll(stored);
  DisplaySettings s;
  ASSERT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::Complete);
  EXPECT_EQ(s.colorDefault, 0x112233u);
  EXPECT_EQ(s.colorOffline, 0xC0C0C0u);
  EXPECT_EQ(s.colorSelect, 0x0000FFu);
}

TEST_F(DisplaySettingsTest, AFailedReadStopsTheReadingAndLeavesTheRestAtStartValues) {
  // The values are read in a fixed order; a failure at "Digits" must keep
  // the font and toolbar read before it and nothing after it.
  StoreAll(Customised());
  store.FailReadsFrom("Digits");
  DisplaySettings s;
  EXPECT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::Stopped);
  EXPECT_EQ(s.fontName, "Times New Roman");
  EXPECT_EQ(s.fontSize, 12);
  EXPECT_TRUE(s.toolbarHidden);
  EXPECT_EQ(s.fontStyle, 3);
  EXPECT_EQ(s.digits, 5);
  EXPECT_FLOAT_EQ(s.minNull, 0.000001f);
  EXPECT_EQ(s.colorDefault, 0u);
  EXPECT_EQ(s.colorSelect, 0x0000FFu);
}

TEST_F(DisplaySettingsTest, AValueOfTheWrongTypeStopsTheReadingLikeAnError) {
  StoreAll(Customised());
  ASSERT_TRUE(store.WriteString(kSettingsKey, "FontSize", "12"));
  DisplaySettings s;
  EXPECT_EQ(ReadDisplaySettings(store, s), DisplaySettingsRead::Stopped);
  EXPECT_EQ(s.fontName, "Times New Roman");
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_FALSE(s.toolbarHidden) << "read after the failed value";
}

TEST_F(DisplaySettingsTest, AStoreThatRefusesWritesIsReportedAndChangesNothing) {
  store.SetReadOnly(true);
  EXPECT_FALSE(WriteDisplaySettings(store, Customised()));
  EXPECT_FALSE(store.HasKey(kSettingsKey));
}

TEST_F(DisplaySettingsTest, TheNumberFormatAndCsvOptionsFollowTheSettings) {
  DisplaySettings s;
  s.digits = 3;
  s.minNull = 0.01f;
  ApplyNumberFormat(s);
  EXPECT_EQ(FormatNumber(3.14159), "3.14");
  EXPECT_EQ(FormatNumber(0.005), "0");

  s.csvSeparator = ';';
  s.csvQuotes = true;
  const CsvOptions options = CsvOptionsOf(s);
  EXPECT_EQ(options.separator, ';');
  EXPECT_TRUE(options.quotes);
}

}  // namespace
}  // namespace kordavelt
