// A refused import must leave the model exactly as it was. The import used
// to apply every row up to a faulty one, read hostile numbers as 0, let a
// repeated key overwrite the first row and a fraction overwrite node 1, take
// any file for a model, and then tell the engineer it was done.

#include "model/model_import.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "exchange/get_class.h"
#include "model/model_builder.h"
#include "model/model_kinds.h"
#include "model/object_records.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;

class ModelImportTest : public ::testing::Test {
 protected:
  // A substation: busbar ТП (node 1) with its source, a cable of 120 m to board ЩР.
  void SetUp() override {
    const int bus = m.Node();
    const int board = m.Node();
    m.Source(bus, "Т1");
    cable = m.Cable(bus, board, 1950095, 120.0f);
  }

  // Imports program text (UTF-8) written as a Windows-1251 CSV file.
  ModelImportCounts Import(std::string_view text) {
    PutFile(text);
    GetClass get(m.ui, m.files);
    EXPECT_TRUE(get.OpenPath(kFile, ImportVariant::Csv));
    return ReadModel(m.model, get);
  }

  void PutFile(std::string_view text) {
    const std::string bytes = Utf8ToCp1251(text);
    m.files.Put(kFile, {bytes.begin(), bytes.end()});
  }

  std::vector<std::uint8_t> ModelFile() { return *m.files.Find(ModelBuilder::kModelPath); }

  float CableLength() {
    tbClass* cables = m->OpenObjectTable(kKindCableLine);
    EXPECT_TRUE(modelClass::SeekExact(cables, cable));
    return CableLineRec(cables->Record()).L();
  }

  // Expects `text` refused with `problems` and the model file unchanged.
  void ExpectRefused(std::string_view text, const std::vector<std::string>& problems) {
    const std::vector<std::uint8_t> before = ModelFile();
    const ModelImportCounts counts = Import(text);
    EXPECT_TRUE(counts.refused);
    EXPECT_EQ(counts.applied, 0);
    EXPECT_EQ(counts.problems, problems);
    EXPECT_EQ(counts.problemCount, static_cast<int>(problems.size()));
    EXPECT_TRUE(ModelFile() == before) << "the model file changed";
    EXPECT_EQ(CableLength(), 120.0f);
  }

  static constexpr const char* kFile = "/in/model.csv";
  // A good row that would shorten the cable to 75 m, on line 2.
  static constexpr std::string_view kShorterCable =
      "#Cable,KeyBeg\r\nКЛ1,1.1,2.1,0,255,1950095,1,0,0,75,1,Откр,0\r\n";

  ModelBuilder m;
  std::int32_t cable = 0;
};

TEST_F(ModelImportTest, AHostileNumberAfterGoodRowsLeavesTheModelByteForByte) {
  const std::pair<const char*, const char*> hostile[] = {
      {"NaN", "не число"},
      {"1e309", "вне диапазона чисел"},
      {"-1e309", "вне диапазона чисел"},
      {"inf", "не число"},
      {"abc", "не число"},
      {"0x10", "не число"},
      {"", "пустое значение"},
  };
  for (const auto& [ko, reason] : hostile) {
    std::string text(kShorterCable);
    text += "#Node,Key\r\nЩР,2,0,5,5,5,660," + std::string(ko) + ",0\r\n";
    ExpectRefused(text, {"строка 4, Node, Ko: «" + std::string(ko) + "» — " + reason});
  }
  // The same file with a good factor is applied: the comparison would see a change.
  const std::vector<std::uint8_t> before = ModelFile();
  std::string text(kShorterCable);
  text += "#Node,Key\r\nЩР,2,0,5,5,5,660,0.9,0\r\n";
  const ModelImportCounts counts = Import(text);
  EXPECT_FALSE(counts.refused);
  EXPECT_EQ(counts.applied, 2);
  EXPECT_EQ(CableLength(), 75.0f);
  EXPECT_FALSE(ModelFile() == before);
}

TEST_F(ModelImportTest, TheImportItemShowsTheFirstProblemsAndChangesNothing) {
  std::string text(kShorterCable);
  text += "#Node,Key\r\n";
  for (int node = 10; node < 22; ++node)
    text += "," + std::to_string(node) + ",0,5,5,5,660,abc,0\r\n";
  PutFile(text);
  const std::vector<std::uint8_t> before = ModelFile();
  m.ui.ChooseFile(kFile, 1);
  EXPECT_FALSE(ImportModel(m.model, m.ui, ','));
  ASSERT_EQ(m.ui.Messages().size(), 1u);
  const std::string message = m.ui.Messages()[0];
  EXPECT_TRUE(
      message.starts_with("Импорт: Файл не принят, модель не изменена. Ошибок: 12#"
                          "строка 4, Node, Ko: «abc» — не число#"
                          "строка 5, Node, Ko: «abc» — не число#"))
      << message;
  EXPECT_TRUE(message.ends_with("строка 13, Node, Ko: «abc» — не число#…")) << message;
  EXPECT_TRUE(ModelFile() == before);

  PutFile(kShorterCable);
  m.ui.ChooseFile(kFile, 1);
  EXPECT_TRUE(ImportModel(m.model, m.ui, ','));
  EXPECT_EQ(m.ui.Messages().back(), "Импорт: Ввод модели выполнен");
  EXPECT_EQ(CableLength(), 75.0f);
}

// A damaged table may end at the largest key: the next key for a new room,
// source or group was its last + 1, an overflow.
TEST_F(ModelImportTest, ATableEndingAtItsLargestKeyGetsNoKeyPastIt) {
  m->Rooms()->Insert(2147483647);
  m->Groups()->Insert(2097151);
  const ModelImportCounts counts = Import(
      "#Room,Key\r\nЦех,0,Цех,0,0,0,0,0,0,0,0,0,0\r\n"
      "\r\n#Consumer,Group,Key\r\n"
      "Н9,Н9,0.0,0,0,0,0,0,ABC,Y,Насос,,0,0,380,3,C,АД,5,3,0,0,0,0.7,0.8,0,0\r\n");
  EXPECT_FALSE(counts.refused);
  EXPECT_EQ(counts.applied, 0);
  EXPECT_EQ(counts.skipped, 2);
  EXPECT_EQ(m->Rooms()->LastKey(), 2147483647);
  EXPECT_EQ(m->Groups()->LastKey(), 2097151);
}

}  // namespace
}  // namespace kordavelt
