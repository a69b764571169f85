#include "cli/cli_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_run.h"
#include "model/model_builder.h"
#include "model/model_layouts.h"
#include "model/model_records.h"
#include "model/model_settings.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "support/db_image_builder.h"

namespace kordavelt {
namespace {

using testing::CliRun;
using testing::RunTool;

using testing::DbImage;
using testing::DbImageBuilder;
using testing::Keys;
using testing::PatternData;
using testing::PatternRecords;

// A settings block that begins 01 02 AB and carries the marker the program
// writes into every model's settings.
std::vector<std::uint8_t> SettingsBlock() {
  std::vector<std::uint8_t> block(kSettingsLength);
  block[0] = 0x01;
  block[1] = 0x02;
  block[2] = 0xAB;
  WriteI32(block, settings_offset::kMarker, ModelSettings::kMarkerValue);
  return block;
}

// Settings block 1 (page 1), table 101 with three records (root 2, data 3),
// table 102 two-level (root 4, second level 5, data 6 and 7).
DbImage SmallModel() {
  return DbImageBuilder::Model()
      .RawBlock(1, SettingsBlock())
      .Table(101, 3, PatternRecords({-1, 5, 300}, 3))
      .Table(102, 4, PatternRecords(Keys(1, 6), 4), {.recordsPerPage = 3, .twoLevel = true})
      .Build();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { files_.Put("net.LVN", SmallModel().Data()); }
  MemoryFileSystem files_;
};

// Catches a table list with columns swapped or misaligned, or the kind of
// file misnamed.
TEST_F(CliTest, DumpListsTheTablesOfTheFile) {
  const CliRun run = RunTool(files_, {"dump", "net.LVN"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "net.LVN: модель сети, последняя страница 7\n"
            "Таблица  Слот  Записей  Корень  Уровней\n"
            "      1     1        0       1     блок\n"
            "    101     7        3       2        1\n"
            "    102     8        6       4        2\n");
}

// Catches records dumped out of key order, or data cut or padded.
TEST_F(CliTest, DumpOfATableListsKeysAndHexData) {
  const CliRun run = RunTool(files_, {"dump", "net.LVN", "--table", "101"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "Таблица № 101: длина записи 3, записей 3\n"
            "         -1  FF0001\n"
            "          5  050607\n"
            "        300  2C2D2E\n");

  EXPECT_EQ(RunTool(files_, {"dump", "--table", "102", "net.LVN"}).out,
            "Таблица № 102: длина записи 4, записей 6\n"
            "          1  01020304\n"
            "          2  02030405\n"
            "          3  03040506\n"
            "          4  04050607\n"
            "          5  05060708\n"
            "          6  06070809\n");
}

// Catches a raw block dumped as records, or only as far as it was written.
TEST_F(CliTest, DumpOfARawBlockListsTheWholePageByOffset) {
  const CliRun run = RunTool(files_, {"dump", "net.LVN", "--table", "1", "--hex"});
  EXPECT_EQ(run.code, kExitOk);
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Блок данных № 1, страница 1");
  std::getline(lines, line);
  EXPECT_EQ(line, "   0  0102AB" + std::string(58, '0'));
  int count = 1;
  std::string last;
  while (std::getline(lines, line)) {
    ++count;
    last = line;
  }
  EXPECT_EQ(count, 64);
  EXPECT_EQ(last, " 7E0  " + std::string(64, '0'));
}

// A model with the marking of node 5, receiver 3 of group 2, a cable 5.1 and
// a node table whose records have another length than a node's.
DbImage DecodableModel() {
  std::vector<std::uint8_t> marking(kMarkingLength);
  MarkingRec(marking).SetText("ЩР-1 \"А\"");
  std::vector<std::uint8_t> receiver(kReceiverLength);
  ReceiverRec consumer(receiver);
  consumer.SetBranchKey(1282);
  consumer.SetMarking("Насос");
  consumer.SetX(-3);
  consumer.SetRoom(4);
  std::vector<std::uint8_t> cable(kCableLineLength);
  CableLineRec line(cable);
  line.SetType(1100207);
  line.SetL(125.5f);
  line.SetKpr(1.0f);
  line.SetNk(2);
  line.SetCodepr(1);
  return DbImageBuilder::Model()
      .Table(kNodeTable, 30, PatternRecords({5}, 30))
      .Table(kReceiverTable, kReceiverLength, {{2051, receiver}})
      .Table(kMarkingTable, kMarkingLength, {{1280, marking}})
      .Table(kCableLineTable, kCableLineLength, {{1281, cable}})
      .Build();
}

// Catches fields decoded at the wrong place or in the wrong form, strings not
// quoted, and pair keys not shown as node.slot or group.number.
TEST_F(CliTest, DumpOfAModelTableDecodesItsRecordsByTheirLayout) {
  files_.Put("model.LVN", DecodableModel().Data());
  CliRun run = RunTool(files_, {"dump", "model.LVN", "--table", "111"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "Таблица № 111 (Кабельная линия): длина записи 20, записей 1\n"
            "       1281        5.1  Type=1100207 Type2=0 L=125.5 Kpr=1 Nk=2 Nk2=0 Codepr=1 "
            "Kdk=0\n");

  run = RunTool(files_, {"dump", "model.LVN", "--table", "9"});
  EXPECT_EQ(run.out,
            "Таблица № 9 (Обозначения): длина записи 20, записей 1\n"
            "       1280        5.0  Descript=\"ЩР-1 \\\"А\\\"\"\n");

  run = RunTool(files_, {"dump", "model.LVN", "--table", "6"});
  EXPECT_EQ(run.out,
            "Таблица № 6 (Электроприемники): длина записи 35, записей 1\n"
            "       2051        2.3  KeyBranch=1282 Descript=\"Насос\" x=-3 y=0 z=0 PowerSupply=0 "
            "phase=0 is_rab=0 room=4\n");
}

// Catches --hex ignored, and records of a length the layout does not have
// decoded anyway (their fields would be read from the wrong bytes).
TEST_F(CliTest, DumpStaysHexadecimalWithHexOrARecordLengthOtherThanTheLayouts) {
  files_.Put("model.LVN", DecodableModel().Data());
  CliRun run = RunTool(files_, {"dump", "--hex", "model.LVN", "--table", "111"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "Таблица № 111: длина записи 20, записей 1\n"
            "       1281  AFC91000000000000000FB420000803F02000100\n");

  run = RunTool(files_, {"dump", "model.LVN", "--table", "2"});
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Таблица № 2: длина записи 30, записей 1");
}

// Catches the settings block dumped without its layout, or with lines that
// do not follow the layout's fields.
TEST_F(CliTest, DumpOfTheSettingsBlockListsItsFieldsByOffset) {
  const RecordLayout* settings = ModelTableLayout(kSettingsBlock);
  ASSERT_NE(settings, nullptr);
  const CliRun run = RunTool(files_, {"dump", "net.LVN", "--table", "1"});
  EXPECT_EQ(run.code, kExitOk);
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Блок данных № 1 (" + std::string(settings->name) + "), страница 1");
  for (const FieldDef& field : settings->fields) {
    ASSERT_TRUE(std::getline(lines, line));
    const std::string offset = std::to_string(field.offset);
    EXPECT_EQ(line.substr(0, 7 + field.name.size() + 1),
              std::string(5 - offset.size(), ' ') + offset + "  " + std::string(field.name) + "=");
  }
  EXPECT_FALSE(std::getline(lines, line));
}

// Catches a damaged table dumped as if sound: what could be read is shown,
// the damage goes to the error stream and the exit code says so.
TEST_F(CliTest, DumpOfADamagedTableShowsWhatItReadAndTheDamage) {
  DbImage image = SmallModel();
  image.WithRecordKey(3, 7, 2, -5);
  files_.Put("bad.LVN", image.Data());
  const CliRun run = RunTool(files_, {"dump", "bad.LVN", "--table", "101"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_NE(run.out.find("         -5  2C2D2E"), std::string::npos);
  EXPECT_EQ(run.err,
            "bad.LVN: Ошибка структуры таблицы № 101: страница 3: ключ -5 записи № 3 меньше "
            "ключа предыдущей записи (5)\n");
}

// Catches a check that exits 0 on damage or 1 on a sound file.
TEST_F(CliTest, CheckReportsEveryProblemAndExitsOneOnlyWhenThereAreAny) {
  CliRun run = RunTool(files_, {"check", "net.LVN"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out, "net.LVN: ошибок не найдено\n");

  DbImage image = SmallModel();
  image.WithMark(2, 0).WithEntryPage(5, 2, 99);
  files_.Put("bad.LVN", image.Data());
  run = RunTool(files_, {"check", "bad.LVN"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(run.out,
            "Ошибка структуры таблицы № 101: метка корневой страницы 2 равна 0, а не 1\n"
            "Ошибка структуры таблицы № 102: элемент 2 индексной страницы 5 указывает на "
            "страницу 99, а последняя страница файла — 7\n"
            "bad.LVN: найдено ошибок: 2\n");
}

// The first data page of table `table`, which has a one-level index.
int FirstDataPage(DbImage& image, int table) { return image.EntryPageOf(image.RootPage(table), 1); }

// Catches the regression the page-zeroing attack found: a zeroed first data
// page of nodes holds keys 0, 0, 0, which ascend, so the engine's index check
// passed it; the model's check must name it.
TEST_F(CliTest, CheckOfAModelReportsAZeroedPageOfNodes) {
  testing::ModelBuilder m;
  m.Cable(m.Node(), m.Node());
  files_.Put("plant.LVN", m.FileBytes());
  EXPECT_EQ(RunTool(files_, {"check", "plant.LVN"}).out, "plant.LVN: ошибок не найдено\n");

  DbImage image(m.FileBytes());
  const int nodes = FirstDataPage(image, kNodeTable);
  std::fill_n(image.Page(nodes).begin(), db::kPageSize, 0);
  files_.Put("plant.LVN", image.Data());
  const CliRun run = RunTool(files_, {"check", "plant.LVN"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(run.out,
            "Ошибка данных таблицы № 2 (Узлы): запись № 1, ключ 0: номер узла должен быть от 1 "
            "до 8388606\n"
            "Ошибка данных таблицы № 2 (Узлы): запись № 2, ключ 0: номер узла должен быть от 1 "
            "до 8388606\n"
            "Ошибка данных таблицы № 2 (Узлы): запись № 2, ключ 0: ключ повторяется\n"
            "plant.LVN: найдено ошибок: 3\n");
}

// Catches a reference book whose zeroed page passes: no type has code 0.
TEST_F(CliTest, CheckOfABookReportsATypeOfCodeZero) {
  const std::vector<std::uint8_t> zeros(53);
  files_.Put("book.SPR", DbImageBuilder::ReferenceBook()
                             .Table(11, 53, {{0, zeros}, {0, zeros}, {7, zeros}})
                             .Build()
                             .Data());
  const CliRun run = RunTool(files_, {"check", "book.SPR"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(run.out,
            "Ошибка данных таблицы № 11: запись № 1, код 0: код должен быть от 1\n"
            "Ошибка данных таблицы № 11: запись № 2, код 0: код должен быть от 1\n"
            "Ошибка данных таблицы № 11: запись № 2, код 0: код повторяется\n"
            "book.SPR: найдено ошибок: 3\n");
}

// Catches a reference book accepted under a model's name, or a file with
// another extension refused.
TEST_F(CliTest, TheExtensionDecidesWhichSignatureIsExpected) {
  const std::vector<std::uint8_t> book = DbImageBuilder::ReferenceBook().Build().Data();
  for (const char* name : {"book.SPR", "book.~spr", "book.dat"}) {
    files_.Put(name, book);
    EXPECT_EQ(RunTool(files_, {"check", name}).code, kExitOk) << name;
  }
  files_.Put("book.LVN", book);
  const CliRun run = RunTool(files_, {"check", "book.LVN"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(run.out,
            "Ошибка формата файла базы данных: подпись «KdvSpr» вместо «Brovaskel»\n"
            "book.LVN: найдено ошибок: 1\n");
  const CliRun dump = RunTool(files_, {"dump", "book.LVN"});
  EXPECT_EQ(dump.code, kExitProblems);
  EXPECT_EQ(dump.out, "");
  EXPECT_EQ(dump.err,
            "book.LVN: Ошибка формата файла базы данных: подпись «KdvSpr» вместо «Brovaskel»\n");
}

// Catches bad arguments run anyway, or reported with the exit code of a damaged file.
TEST_F(CliTest, BadArgumentsAndMissingFilesExitTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"frob", "net.LVN"},
      {"dump"},
      {"dump", "net.LVN", "other.LVN"},
      {"dump", "net.LVN", "--table"},
      {"dump", "net.LVN", "--table", "0"},
      {"dump", "net.LVN", "--table", "334"},
      {"dump", "net.LVN", "--table", "1x"},
      {"dump", "net.LVN", "--tables", "1"},
      {"dump", "--hex"},
      {"check"},
      {"check", "net.LVN", "other.LVN"},
      {"check", "--table"},
  };
  for (const auto& args : bad) {
    const CliRun run = RunTool(files_, args);
    EXPECT_EQ(run.code, kExitUsage) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("Использование:"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }

  CliRun run = RunTool(files_, {"check", "missing.LVN"});
  EXPECT_EQ(run.code, kExitUsage);
  EXPECT_EQ(run.err, "missing.LVN: Файл не найден\n");

  run = RunTool(files_, {"dump", "net.LVN", "--table", "5"});
  EXPECT_EQ(run.code, kExitUsage);
  EXPECT_EQ(run.err, "net.LVN: Таблица № 5 не используется\n");

  run = RunTool(files_, {"--help"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_NE(run.out.find("kordavelt-cli check ФАЙЛ"), std::string::npos);
}

// A file system where every file exists and none opens, as with a file locked by another program.
class LockedFiles : public MemoryFileSystem {
 public:
  bool Exists(const std::string&) override { return true; }
  std::unique_ptr<RandomAccessFile> Open(const std::string&, OpenMode) override { return nullptr; }
};

// Catches a file that cannot be opened taken for an empty or damaged one.
TEST(CliFiles, AFileThatDoesNotOpenExitsTwo) {
  LockedFiles files;
  const CliRun run = RunTool(files, {"dump", "net.LVN"});
  EXPECT_EQ(run.code, kExitUsage);
  EXPECT_EQ(run.err, "net.LVN: Файл не открывается\n");
}

// Catches the tool reading through anything but the disk when run as a program.
TEST(CliOnDisk, ChecksAFileOnDisk) {
  std::string folder = (std::filesystem::temp_directory_path() / "kordavelt-cli-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/net.LVN";
  {
    const std::vector<std::uint8_t> bytes = SmallModel().Data();
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunCli({"check", path}, out, err), kExitOk);
  EXPECT_EQ(out.str(), path + ": ошибок не найдено\n");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kordavelt
