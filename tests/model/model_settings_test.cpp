// The settings drive every calculation: a default in the wrong place gives
// a new model wrong voltages or factors, and a span written over loses what
// a later version of the program keeps there.

#include "model/model_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "storage/dbf_class.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

// The defaults as the program documents them, offset by offset.
struct FloatAt {
  int offset;
  float value;
};
struct IntAt {
  int offset;
  std::int32_t value;
};

constexpr FloatAt kFloats[] = {
    {269, 1.0f},   {1305, 380},   {1309, 660},   {1313, 6000},  {1317, 10000}, {1321, 230},
    {1325, 0},     {1329, 1.05f}, {1333, 1.0f},  {1337, 20},    {1341, 15},    {1345, 5},
    {1349, -5},    {1353, -20},   {1357, 1.15f}, {1361, 0.85f}, {1365, 1.3f},  {1369, 1.8f},
    {1373, 1.25f}, {1377, 1.15f}, {1381, 1.5f},  {1385, 1.2f},  {1389, 1.2f},  {1393, 1.2f},
    {1413, 0},     {1417, 0},     {1421, 0},     {1425, 1.0f},  {1429, 50},    {1433, 20},
    {1437, 1.0f},  {1441, 1.2f},  {1445, 0.67f}, {1449, 4.0f},  {1453, 2.0f},
};

constexpr IntAt kInts[] = {
    {275, 0},        {279, 0},        {296, 714},      {300, 0},       {304, 255},
    {308, 16711680}, {312, 65280},    {316, 16776960}, {320, 65535},   {324, 0},
    {328, 65280},    {332, 16776960}, {336, 16711680}, {340, 8421376}, {348, 128},
    {352, 16711935}, {356, 255},      {360, 3092479},  {416, 5},       {420, 5},
    {1137, 1},       {1141, 65535},   {1457, 1},       {1461, 10},     {1465, 12345},
};

std::set<int> ListedBytes() {
  std::set<int> bytes;
  const auto mark = [&](int offset, int width) {
    for (int i = 0; i < width; ++i) bytes.insert(offset + i);
  };
  for (const FloatAt& f : kFloats) mark(f.offset, 4);
  for (const IntAt& i : kInts) mark(i.offset, 4);
  mark(328, 72);  // deviation and load bands
  mark(424, 1);   // reference book: length byte and text
  mark(425, 13);
  mark(680, 1);                                        // stamp: length byte
  for (int r = 0; r < 8; ++r) mark(1145 + 20 * r, 1);  // regime names: length bytes
  for (int b = 1397; b <= 1412; ++b) {
    if (b != 1400) mark(b, 1);
  }
  return bytes;
}

TEST(ModelSettingsDefaults, ANewModelGetsEveryDocumentedDefault) {
  ModelSettings settings;
  settings.ApplyDefaults();
  const ConstBytes block = settings.Block();
  for (const FloatAt& f : kFloats) EXPECT_EQ(ReadF32(block, f.offset), f.value) << f.offset;
  for (const IntAt& i : kInts) EXPECT_EQ(ReadI32(block, i.offset), i.value) << i.offset;
  for (int b = 1397; b <= 1412; ++b) {
    if (b != 1400) {
      EXPECT_EQ(block[b], 0) << b;
    }
  }
  EXPECT_EQ(settings.ReferenceBookName(), "Kordavelt.SPR");
  EXPECT_EQ(block[424], 13);
  EXPECT_EQ(settings.Stamp(), "");
  for (int r = 0; r < 8; ++r) EXPECT_EQ(settings.RegimeName(r), "");
  EXPECT_TRUE(settings.HasMarker());
}

TEST(ModelSettingsDefaults, BandsTakeTheColourKeptAt404AndLoadBandsCopyThem) {
  ModelSettings settings;
  WriteI32(settings.Block(), 404, 0x123456);
  settings.ApplyDefaults();
  EXPECT_EQ(settings.DeviationBandColour(4), 0x123456);
  for (int band = 0; band < 9; ++band) {
    EXPECT_EQ(settings.LoadBandColour(band), settings.DeviationBandColour(band)) << band;
  }
}

TEST(ModelSettingsDefaults, SpansWithoutADefaultAreCarriedUnchanged) {
  ModelSettings settings;
  std::memset(settings.Block().data(), 0xA5, ModelSettings::kLength);
  settings.ApplyDefaults();
  const std::set<int> listed = ListedBytes();
  for (int b = 0; b < ModelSettings::kLength; ++b) {
    if (listed.count(b) == 0) {
      ASSERT_EQ(settings.Block()[b], 0xA5) << "byte " << b;
    }
  }
}

TEST(ModelSettingsDefaults, TheSchemeGivesItsDisplayOptions) {
  ModelSettings settings;
  const std::array<std::uint8_t, 8> options = {1, 2, 3, 4, 5, 6, 7, 8};
  settings.ApplyDefaults(options);
  EXPECT_TRUE(std::equal(options.begin(), options.end(), settings.SchemeDisplayOptions().begin()));
}

class ModelSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file.SetFileName("net.LVN");
    ASSERT_TRUE(file.CreateFile());
    ASSERT_TRUE(file.OpenFile());
  }
  void TearDown() override {
    file.SetAskToSave(false);
    file.CloseFile();
  }

  testing::ScriptedUiHost ui;
  MemoryFileSystem files;
  dbfClass file{ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)};
};

TEST_F(ModelSettingsFile, ANewModelReadsAsDefaults) {
  ModelSettings settings;
  EXPECT_EQ(settings.Read(file), SettingsRead::NewDefaults);
  EXPECT_TRUE(settings.HasMarker());
  EXPECT_EQ(settings.NominalVoltage(0), 380);
}

TEST_F(ModelSettingsFile, ValuesRoundTripThroughRawBlockOne) {
  ModelSettings settings;
  settings.Read(file);
  settings.SetNominalVoltage(5, 400);
  settings.SetRegimeName(2, "Ремонтный режим подстанции №1");  // 29 characters: cut to 19
  settings.SetStamp("ООО Проект#Лист 1");
  settings.SetLoadMethod(3);
  settings.SetAutoCalc(true);
  settings.SetSensitivityFactor(2, 1.5f);
  ASSERT_TRUE(settings.Write(file));

  ModelSettings again;
  EXPECT_EQ(again.Read(file), SettingsRead::Read);
  EXPECT_EQ(again.NominalVoltage(5), 400);
  EXPECT_EQ(again.RegimeName(2), "Ремонтный режим под");
  EXPECT_EQ(again.Stamp(), "ООО Проект#Лист 1");
  EXPECT_EQ(again.LoadMethod(), 3);
  EXPECT_TRUE(again.AutoCalc());
  EXPECT_EQ(again.SensitivityFactor(2), 1.5f);
  EXPECT_EQ(again.SensitivityFactor(1), 1.2f);
}

TEST(ModelSettingsLayout, CoversTheBlockByteForByte) {
  const RecordLayout& layout = ModelSettingsLayout();
  EXPECT_EQ(layout.table, 1);
  int next = 0;
  for (const FieldDef& field : layout.fields) {
    EXPECT_EQ(field.offset, next) << field.name;
    next = field.offset + FieldWidth(field);
  }
  EXPECT_EQ(next, ModelSettings::kLength);
}

}  // namespace
}  // namespace kordavelt
