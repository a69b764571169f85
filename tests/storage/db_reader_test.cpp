#include "storage/db_reader.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/db_image_builder.h"

namespace kordavelt {
namespace {

using testing::DbImage;
using testing::DbImageBuilder;
using testing::Keys;
using testing::PatternData;
using testing::PatternRecords;
using testing::TestRecord;

std::vector<std::string> Texts(const std::vector<DbProblem>& problems) {
  std::vector<std::string> texts;
  for (const DbProblem& problem : problems) texts.push_back(problem.text);
  return texts;
}

std::vector<std::string> CheckFile(const DbImage& image,
                                   std::optional<db::FileKind> kind = std::nullopt) {
  MemoryFile file = image.File();
  DbReader reader(file, kind);
  return Texts(reader.Check());
}

DbTableContents ReadTable(const DbImage& image, int table) {
  MemoryFile file = image.File();
  DbReader reader(file, std::nullopt);
  return reader.ReadTable(table);
}

std::vector<std::int32_t> KeysOf(const DbTableContents& contents) {
  std::vector<std::int32_t> keys;
  for (const DbRecord& record : contents.records) keys.push_back(record.key);
  return keys;
}

// Raw block 1 on page 1; table 101 (data length 34, 53 records a page) with a
// root on page 2 over data pages 3, 4, 5; table 102 (data length 4, 4 records
// a page) two-level: root on page 6, second-level pages 7, 8, 9 of two, two and
// one entries, data pages 10 ... 14 holding the keys -10 ... 9.
DbImage SampleModel() {
  return DbImageBuilder::Model()
      .RawBlock(1, PatternData(1, 1469))
      .Table(101, 34, PatternRecords(Keys(1, 120), 34))
      .Table(102, 4, PatternRecords(Keys(-10, 9), 4),
             {.recordsPerPage = 4, .twoLevel = true, .entriesPerSecondLevel = 2})
      .Build();
}

// A file that fails every read touching one page.
class FailingPageFile : public RandomAccessFile {
 public:
  FailingPageFile(const DbImage& image, int page) : file_(image.File()), page_(page) {}
  std::int64_t Size() override { return file_.Size(); }
  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override {
    const std::uint64_t begin = db::PageOffset(page_);
    if (offset < begin + db::kPageSize && offset + buffer.size() > begin) return -EIO;
    return file_.ReadAt(offset, buffer);
  }
  std::int64_t WriteAt(std::uint64_t, ConstBytes) override { return -EIO; }
  int Flush() override { return 0; }

 private:
  MemoryFile file_;
  int page_;
};

// --- The header -----------------------------------------------------------------------

// Catches a reader that needs more than the one header page of a new file.
TEST(DbReaderHeader, AFreshFileIsOnePageWithTheSignatureAndNoTables) {
  const DbImage image = DbImageBuilder::Model().Build();
  ASSERT_EQ(image.Data().size(), 2048u);
  EXPECT_EQ(image.Data()[0], 9);
  EXPECT_EQ(std::string(image.Data().begin() + 1, image.Data().begin() + 10), "Brovaskel");
  EXPECT_EQ(image.PageCount(), 0);

  MemoryFile file = image.File();
  DbReader reader(file, db::FileKind::Model);
  EXPECT_TRUE(reader.Accepted());
  EXPECT_EQ(reader.Kind(), db::FileKind::Model);
  EXPECT_TRUE(reader.Tables().empty());
  EXPECT_TRUE(reader.Check().empty());
}

// Catches a reader that opens a reference book as a model, or refuses a file
// of either kind when no kind was asked for.
TEST(DbReaderHeader, TheSignatureMustBeTheExpectedOne) {
  const DbImage book = DbImageBuilder::ReferenceBook().Build();
  EXPECT_EQ(CheckFile(book, db::FileKind::Model),
            std::vector<std::string>{
                "Ошибка формата файла базы данных: подпись «KdvSpr» вместо «Brovaskel»"});
  EXPECT_TRUE(CheckFile(book, db::FileKind::ReferenceBook).empty());
  EXPECT_TRUE(CheckFile(book).empty());

  MemoryFile file = book.File();
  DbReader reader(file, db::FileKind::Model);
  EXPECT_FALSE(reader.Accepted());
  EXPECT_TRUE(reader.Tables().empty());
  EXPECT_EQ(reader.ReadTable(101).problems.size(), 1u);
}

// Catches a signature checked by its characters only, or a file that is no
// database at all being walked.
TEST(DbReaderHeader, AnyOtherSignatureIsAFormatError) {
  DbImage image = SampleModel();
  image.WithSignature("Brovaske");
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка формата файла базы данных: подпись «Brovaske» вместо "
                                     "«Brovaskel» или «KdvSpr»"});
  EXPECT_EQ(CheckFile(DbImage({})).size(), 1u) << "an empty file";

  FailingPageFile unreadable(SampleModel(), 0);
  DbReader reader(unreadable, std::nullopt);
  EXPECT_FALSE(reader.Accepted());
  EXPECT_EQ(
      Texts(reader.Check()),
      std::vector<std::string>{"Ошибка формата файла базы данных: заголовок не читается, код 5"});
}

// Catches a page count out of range taken at its word, which would let every
// page number pass, and a reader that gives up where the engine repairs.
TEST(DbReaderHeader, APageCountOutOfRangeIsRebuiltFromTheFileSize) {
  for (const std::int32_t stored : {70000, -1}) {
    DbImage image = SampleModel();
    image.WithPageCount(stored);
    MemoryFile file = image.File();
    DbReader reader(file, std::nullopt);
    EXPECT_EQ(reader.PageCount(), 14);
    EXPECT_EQ(Texts(reader.Check()),
              std::vector<std::string>{"Проблемы файла БД!: число страниц в заголовке " +
                                       std::to_string(stored) +
                                       " вне 0…65535, по размеру файла принято 14"});
    EXPECT_EQ(reader.ReadTable(102).records.size(), 20u);
  }
}

// --- The table list -----------------------------------------------------------------

// Catches a descriptor field read from the wrong offset and levels taken from
// the wrong byte.
TEST(DbReaderTables, ListsEveryDescriptorInUse) {
  MemoryFile file = SampleModel().File();
  DbReader reader(file, db::FileKind::Model);
  const std::vector<DbTableInfo> tables = reader.Tables();
  ASSERT_EQ(tables.size(), 3u);

  EXPECT_EQ(tables[0].number, 1);
  EXPECT_TRUE(tables[0].rawBlock);
  EXPECT_EQ(tables[0].slotLength, 1);
  EXPECT_EQ(tables[0].rootPage, 1);
  EXPECT_EQ(tables[0].levels, 0);

  EXPECT_EQ(tables[1].number, 101);
  EXPECT_EQ(tables[1].slotLength, 38);
  EXPECT_EQ(tables[1].recordCount, 120);
  EXPECT_EQ(tables[1].rootPage, 2);
  EXPECT_EQ(tables[1].levels, 1);

  EXPECT_EQ(tables[2].number, 102);
  EXPECT_EQ(tables[2].slotLength, 8);
  EXPECT_EQ(tables[2].recordCount, 20);
  EXPECT_EQ(tables[2].rootPage, 6);
  EXPECT_EQ(tables[2].levels, 2);
}

// Catches the scratch table's slot length looked for anywhere but the last two
// bytes of the header, and a scratch table read from a root that is not stored.
TEST(DbReaderTables, TheScratchTableHasOnlyItsSlotLengthAndReadsEmpty) {
  const DbImage image = DbImageBuilder::Model().ScratchSlotLength(38).Build();
  EXPECT_EQ(image.Data()[2046], 38);
  EXPECT_EQ(image.Data()[2047], 0);

  MemoryFile file = image.File();
  DbReader reader(file, std::nullopt);
  const std::vector<DbTableInfo> tables = reader.Tables();
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].number, 333);
  EXPECT_EQ(tables[0].slotLength, 38);
  EXPECT_EQ(tables[0].recordCount, 0);
  EXPECT_EQ(tables[0].rootPage, 0);
  const DbTableContents contents = reader.ReadTable(333);
  EXPECT_TRUE(contents.records.empty());
  EXPECT_TRUE(contents.problems.empty());
  EXPECT_TRUE(reader.Check().empty());
}

// --- Reading tables -----------------------------------------------------------------

// Catches any field of the smallest table misplaced: descriptor, root entry, record.
TEST(DbReaderRecords, AOneRecordTableHasTheDocumentedLayout) {
  DbImage image = DbImageBuilder::Model().Table(7, 10, PatternRecords({5}, 10)).Build();
  const ConstBytes header = image.Header();
  EXPECT_EQ(db::SlotLength(header, 7), 14);
  EXPECT_EQ(db::DescriptorCount(header, 7), 1);
  const int root = db::RootPage(header, 7);
  const Bytes rootPage = image.Page(root);
  EXPECT_EQ(db::IndexMark(rootPage), 1);
  EXPECT_EQ(db::IndexLevel(rootPage), 0);
  EXPECT_EQ(db::IndexTable(rootPage), 7);
  EXPECT_EQ(db::IndexEntryCount(rootPage), 1);
  EXPECT_EQ(db::EntryUpperKey(rootPage, 1), 2147483647);
  EXPECT_EQ(db::EntryCumulative(rootPage, 1), 1);
  const Bytes data = image.Page(db::EntryPage(rootPage, 1));
  EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.begin() + 5),
            (std::vector<std::uint8_t>{5, 0, 0, 0, 5}));

  const DbTableContents contents = ReadTable(image, 7);
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_EQ(contents.records[0].key, 5);
  EXPECT_EQ(contents.records[0].data, PatternData(5, 10));
  EXPECT_TRUE(contents.problems.empty());
}

// Catches records lost or repeated at page boundaries, and data cut at the
// wrong length.
TEST(DbReaderRecords, AOneLevelTableReadsInKeyOrderAcrossFullPages) {
  const DbTableContents contents = ReadTable(SampleModel(), 101);
  EXPECT_TRUE(contents.problems.empty());
  EXPECT_EQ(KeysOf(contents), Keys(1, 120));
  for (const DbRecord& record : contents.records) {
    ASSERT_EQ(record.data, PatternData(record.key, 34)) << "key " << record.key;
  }
}

// Catches a capacity of 255 where 256 records of slot length 8 fit a page.
TEST(DbReaderRecords, AFullPageOfTheShortestRecordsIsNoOverflow) {
  const DbImage image =
      DbImageBuilder::Model().Table(3, 4, PatternRecords(Keys(1, 256), 4)).Build();
  EXPECT_EQ(image.PageCount(), 2) << "root and one data page";
  EXPECT_EQ(ReadTable(image, 3).records.size(), 256u);
  EXPECT_TRUE(CheckFile(image).empty());
}

// Catches keys compared unsigned, and the largest key taken for the end marker.
TEST(DbReaderRecords, NegativeKeysComeFirstAndTheLargestKeyIsAnOrdinaryKey) {
  const std::vector<std::int32_t> keys = {5, -3, 2147483647, 0, -2147483647 - 1, 2147483647};
  const DbImage image =
      DbImageBuilder::Model().Table(4, 8, PatternRecords(keys, 8), {.recordsPerPage = 2}).Build();
  const DbTableContents contents = ReadTable(image, 4);
  EXPECT_TRUE(contents.problems.empty());
  EXPECT_EQ(KeysOf(contents),
            (std::vector<std::int32_t>{-2147483647 - 1, -3, 0, 5, 2147483647, 2147483647}));
  EXPECT_TRUE(CheckFile(image).empty());
}

// Catches equal keys reordered, or flagged as out of order where they
// straddle two pages.
TEST(DbReaderRecords, EqualKeysKeepTheirOrderAcrossPages) {
  std::vector<TestRecord> records;
  for (std::uint8_t i = 0; i < 5; ++i) records.push_back({7, {i, i}});
  const DbImage image = DbImageBuilder::Model().Table(9, 2, records, {.recordsPerPage = 2}).Build();
  const DbTableContents contents = ReadTable(image, 9);
  EXPECT_TRUE(contents.problems.empty());
  ASSERT_EQ(contents.records.size(), 5u);
  for (std::uint8_t i = 0; i < 5; ++i) EXPECT_EQ(contents.records[i].data[0], i);
}

// Catches a two-level walk that restarts the counts at each second-level page.
TEST(DbReaderRecords, ATwoLevelTableReadsThroughItsSecondLevelPages) {
  const DbTableContents contents = ReadTable(SampleModel(), 102);
  EXPECT_TRUE(contents.problems.empty());
  EXPECT_EQ(KeysOf(contents), Keys(-10, 9));
  EXPECT_TRUE(CheckFile(SampleModel()).empty());

  // More than 255 data pages turn the table two-level by themselves.
  const DbImage big = DbImageBuilder::Model()
                          .Table(5, 4, PatternRecords(Keys(1, 600), 4), {.recordsPerPage = 2})
                          .Build();
  EXPECT_EQ(db::IndexLevel(DbImage(big).Page(big.RootPage(5))), 1);
  EXPECT_EQ(KeysOf(ReadTable(big, 5)), Keys(1, 600));
  EXPECT_TRUE(CheckFile(big).empty());
}

// Catches stale second-level counts taken at face value (records skipped or
// repeated), and stale counts reported as damage.
TEST(DbReaderRecords, StaleSecondLevelCountsAreCorrectedFromTheRoot) {
  for (const int staleBy : {40, -7}) {
    const DbImage image = DbImageBuilder::Model()
                              .Table(6, 4, PatternRecords(Keys(1, 60), 4),
                                     {.recordsPerPage = 5,
                                      .twoLevel = true,
                                      .entriesPerSecondLevel = 3,
                                      .staleBy = staleBy})
                              .Build();
    DbImage copy = image;
    const int second = copy.EntryPageOf(image.RootPage(6), 2);
    EXPECT_EQ(db::EntryCumulative(copy.Page(second), 3), 30 - staleBy);

    const DbTableContents contents = ReadTable(image, 6);
    EXPECT_TRUE(contents.problems.empty()) << staleBy;
    EXPECT_EQ(KeysOf(contents), Keys(1, 60));
    EXPECT_TRUE(CheckFile(image).empty());
  }
}

// Catches the reusable page slot mistaken for an entry, and never-written
// pages within the page count mistaken for damage.
TEST(DbReaderRecords, TheReusableSlotAndUnwrittenPagesAreNoDamage) {
  DbImage image = DbImageBuilder::Model()
                      .Table(8, 34, PatternRecords(Keys(1, 10), 34))
                      .Table(9, 34, {})
                      .Build();
  image.WithEntryPage(image.RootPage(8), 2, 60000);
  image.TruncatedTo(image.Data().size() - 2048);  // table 9's empty data page was never written
  EXPECT_EQ(KeysOf(ReadTable(image, 8)), Keys(1, 10));
  EXPECT_TRUE(ReadTable(image, 9).records.empty());
  EXPECT_TRUE(CheckFile(image).empty());
}

// Catches a raw block read with its length instead of the whole page, or a
// short last page taken for damage.
TEST(DbReaderRawBlocks, ARawBlockReadsAsItsWholePage) {
  const DbImage image = SampleModel();
  MemoryFile file = image.File();
  DbReader reader(file, std::nullopt);
  const DbRawBlock block = reader.ReadRawBlock(1);
  EXPECT_TRUE(block.problems.empty());
  ASSERT_EQ(block.bytes.size(), 2048u);
  EXPECT_EQ(std::vector<std::uint8_t>(block.bytes.begin(), block.bytes.begin() + 1469),
            PatternData(1, 1469));
  EXPECT_EQ(block.bytes[1469], 0);

  const DbImage alone = DbImageBuilder::Model().RawBlock(1, {1, 2, 3}).Build();
  EXPECT_EQ(alone.Data().size(), 2048u + 3u);
  EXPECT_TRUE(CheckFile(alone).empty());

  DbImage unwritten = alone;
  unwritten.WithRootPage(1, 0);
  MemoryFile unwrittenFile = unwritten.File();
  DbReader unwrittenReader(unwrittenFile, std::nullopt);
  EXPECT_EQ(unwrittenReader.ReadRawBlock(1).bytes, std::vector<std::uint8_t>(2048, 0));
}

// --- Damage ---------------------------------------------------------------------------

// Catches page numbers past the page count followed, at every level.
TEST(DbReaderDamage, PagesPastThePageCountAreReported) {
  DbImage image = SampleModel();
  image.WithRootPage(101, 900);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: описатель указывает на "
                                     "страницу 900, а последняя страница файла — 14"});
  EXPECT_EQ(ReadTable(image, 101).problems.size(), 1u);

  image = SampleModel();
  image.WithEntryPage(2, 2, 15);
  EXPECT_EQ(CheckFile(image), std::vector<std::string>{
                                  "Ошибка структуры таблицы № 101: элемент 2 индексной страницы 2 "
                                  "указывает на страницу 15, а последняя страница файла — 14"});
  EXPECT_EQ(ReadTable(image, 101).records.size(), 120u - 53u);

  image = SampleModel();
  image.WithEntryPage(6, 3, 60000);
  EXPECT_EQ(CheckFile(image), std::vector<std::string>{
                                  "Ошибка структуры таблицы № 102: элемент 3 индексной страницы 6 "
                                  "указывает на страницу 60000, а последняя страница файла — 14"});

  image = SampleModel();
  image.WithRootPage(1, 15);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы №1: описатель указывает на страницу "
                                     "15, а последняя страница файла — 14"});

  image = SampleModel();
  image.WithSlotLength(101, 0).WithRootPage(101, 15);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: описатель удалённой "
                                     "таблицы указывает на страницу 15, а последняя страница "
                                     "файла — 14"});
}

// Catches a root with a bad mark walked as if it were an index (the engine
// would start such a table anew), and a table without a root.
TEST(DbReaderDamage, ARootWhoseMarkIsNotOneIsReported) {
  DbImage image = SampleModel();
  image.WithMark(2, 0);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: метка корневой страницы 2 "
                                     "равна 0, а не 1"});
  EXPECT_TRUE(ReadTable(image, 101).records.empty());

  image = SampleModel();
  image.WithRootPage(101, 0);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: нет корневой страницы"});
}

// Catches level bytes trusted: a data page walked as an index, or an index
// page of another level walked as a second-level page.
TEST(DbReaderDamage, WrongLevelBytesAreReported) {
  DbImage image = SampleModel();
  image.WithLevel(2, 2);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: уровень "
                                     "корневой страницы 2 равен 2, а не 0 или 1"});

  image = SampleModel();
  image.WithLevel(8, 0);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 102: уровень страницы "
                                     "вторичного индекса 8 равен 0, а не 2"});

  image = SampleModel();
  image.WithMark(9, 0);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 102: метка страницы "
                                     "вторичного индекса 9 равна 0, а не 1"});
  EXPECT_EQ(KeysOf(ReadTable(image, 102)), Keys(-10, 5)) << "what lies under the other entries";
}

// Catches an entry count used unchecked: 0 entries, or more than a page holds.
TEST(DbReaderDamage, EntryCountsOutsideOneTo255AreReported) {
  for (const int count : {0, 256, 65535}) {
    DbImage image = SampleModel();
    image.WithEntryCount(2, static_cast<std::uint16_t>(count));
    EXPECT_EQ(CheckFile(image),
              std::vector<std::string>{"Ошибка структуры таблицы № 101: число элементов корневой "
                                       "страницы 2 равно " +
                                       std::to_string(count) + ", допустимо от 1 до 255"});
  }
  DbImage image = SampleModel();
  image.WithEntryCount(7, 0);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 102: число элементов страницы "
                                     "вторичного индекса 7 равно 0, допустимо от 1 до 255"});
}

// Catches cumulative counts used unchecked: a negative difference, or more
// records under one entry than its page holds (a read past the page).
TEST(DbReaderDamage, CountsThatDecreaseOrOverflowAPageAreReported) {
  DbImage image = SampleModel();
  image.WithEntryCumulative(2, 2, 40);
  EXPECT_EQ(CheckFile(image),
            (std::vector<std::string>{
                "Ошибка структуры таблицы № 101: элемент 2 индексной страницы 2: накопленное "
                "число записей 40 меньше предыдущего (53)",
                "Ошибка структуры таблицы № 101: элемент 3 индексной страницы 2: 67 записей, а "
                "на страницу помещается 53"}));

  image = SampleModel();
  image.WithEntryCumulative(2, 1, 54);
  EXPECT_EQ(CheckFile(image).front(),
            "Ошибка структуры таблицы № 101: элемент 1 индексной страницы 2: 54 записей, а на "
            "страницу помещается 53");

  image = SampleModel();
  image.WithEntryCumulative(6, 2, 7);  // root of 102 after 8
  EXPECT_EQ(CheckFile(image).front(),
            "Ошибка структуры таблицы № 102: элемент 2 индексной страницы 6: накопленное число "
            "записей 7 меньше предыдущего (8)");
}

// Catches keys out of order passed through: within a page, between pages, and
// in the upper keys of an index page.
TEST(DbReaderDamage, KeysOutOfOrderAreReported) {
  DbImage image = SampleModel();
  image.WithRecordKey(3, 38, 10, 100);  // record 11 of the first page
  EXPECT_EQ(CheckFile(image),
            (std::vector<std::string>{
                "Ошибка структуры таблицы № 101: страница 3: ключ 100 записи № 11 больше "
                "верхнего ключа 53",
                "Ошибка структуры таблицы № 101: страница 3: ключ 12 записи № 12 меньше ключа "
                "предыдущей записи (100)"}));

  image = SampleModel();
  image.WithEntryKey(2, 2, 50);
  const std::vector<std::string> problems = CheckFile(image);
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems.front(),
            "Ошибка структуры таблицы № 101: элемент 2 индексной страницы 2: верхний ключ 50 "
            "меньше ключа предыдущего элемента (53)");
}

// Catches the end marker of an index missing: keys above the last upper key
// could then not be found.
TEST(DbReaderDamage, ALastUpperKeyOtherThan2147483647IsReported) {
  DbImage image = SampleModel();
  image.WithEntryKey(2, 3, 1000);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: последний верхний ключ "
                                     "корневой страницы 1000 вместо 2147483647"});

  image = SampleModel();
  image.WithEntryKey(9, 1, 1000);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 102: последний верхний ключ "
                                     "страницы вторичного индекса 9 1000 вместо 2147483647"});
}

// Catches pages shared by two index entries, within a table and between
// tables, which the engine would overwrite one with the other.
TEST(DbReaderDamage, APageReferencedTwiceIsReported) {
  DbImage image = SampleModel();
  image.WithEntryPage(2, 2, 3);
  EXPECT_EQ(CheckFile(image).front(),
            "Ошибка структуры таблицы № 101: элемент 2 индексной страницы 2 указывает на "
            "страницу 3, которая уже используется");

  image = SampleModel();
  image.WithEntryPage(9, 1, 5);  // table 102's last data page is table 101's
  EXPECT_EQ(CheckFile(image).front(),
            "Ошибка структуры таблицы № 102: элемент 1 индексной страницы 9 указывает на "
            "страницу 5, которая уже используется");
  EXPECT_TRUE(ReadTable(image, 102).problems.size() > 0u) << "keys of table 101 under 102";

  image = SampleModel();
  image.WithRootPage(1, 2);  // raw block 1 on table 101's root
  EXPECT_EQ(CheckFile(image).front(),
            "Ошибка структуры таблицы № 101: описатель указывает на страницу 2, которая уже "
            "используется");
}

// Catches slot lengths that are neither a table nor a raw block used as a
// record length: a zero or negative capacity, or records wider than a page.
TEST(DbReaderDamage, ImpossibleSlotLengthsAreReported) {
  for (const int slotLength : {2, 3, 4, -1, 2049}) {
    DbImage image = SampleModel();
    image.WithSlotLength(101, static_cast<std::int16_t>(slotLength));
    EXPECT_EQ(CheckFile(image),
              std::vector<std::string>{"Ошибка структуры таблицы № 101: недопустимая длина слота " +
                                       std::to_string(slotLength)});
    EXPECT_EQ(ReadTable(image, 101).problems.size(), 1u);
  }
}

// Catches index pages of another table, or a stale descriptor count, taken
// without a word.
TEST(DbReaderDamage, ForeignIndexPagesAndAWrongDescriptorCountAreReported) {
  DbImage image = SampleModel();
  image.WithIndexTable(2, 12).WithIndexTable(8, 101);
  EXPECT_EQ(CheckFile(image),
            (std::vector<std::string>{
                "Ошибка структуры таблицы № 101: номер таблицы корневой страницы 2 равен 12",
                "Ошибка структуры таблицы № 102: номер таблицы страницы вторичного индекса 8 "
                "равен 101"}));

  image = SampleModel();
  image.WithDescriptorCount(101, 119);
  EXPECT_EQ(CheckFile(image),
            std::vector<std::string>{"Ошибка структуры таблицы № 101: в описателе 119 записей, а "
                                     "по индексу 120"});
}

// Catches read errors turned into crashes or silence; each names the page kind
// the engine's own messages name.
TEST(DbReaderDamage, ReadErrorsAreReportedWithTheEnginesMessages) {
  const DbImage image = SampleModel();
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "Ошибка диска Init Код № 5: корневая страница 2 таблицы № 101 не читается"},
      {4, "Ошибка ключа в таблице № 101: страница 4 не читается, код 5"},
      {8, "Ошибка ключа2 в таблице № 102: страница 8 не читается, код 5"},
      {1, "Ошибка чтения блока № 1: страница 1 не читается, код 5"},
  };
  for (const auto& [page, text] : cases) {
    FailingPageFile file(image, page);
    DbReader reader(file, std::nullopt);
    EXPECT_EQ(Texts(reader.Check()), std::vector<std::string>{text});
  }
}

// Catches a problem list that grows with the damage: one page of garbage must
// not yield thousands of lines.
TEST(DbReaderDamage, ProblemsOfOneTableAreCutOffAfterTwenty) {
  DbImage image = SampleModel();
  for (int k = 0; k < 53; ++k) image.WithRecordKey(3, 38, k, 1000 - k);
  const std::vector<std::string> problems = CheckFile(image);
  ASSERT_EQ(problems.size(), 21u);
  EXPECT_EQ(problems.back(), "Ошибка структуры таблицы № 101: прочие ошибки таблицы не показаны");
}

// Catches a walk whose record count is bounded only by the damaged counts. A
// second-level page whose stale-count correction is huge climbs far past the
// table limit in steps that each fit a page (its pages, never written, read
// as zeros); the walk must stop at 32767 records.
TEST(DbReaderDamage, AWalkStopsAtTheTableRecordLimit) {
  DbImage image = DbImageBuilder::Model().Build();
  const int root = 1;
  const int second = 2;
  image.WithSlotLength(2, 8).WithRootPage(2, root).WithDescriptorCount(2, 32767);
  db::InitIndexPage(image.Page(root), db::kLevelTwoLevelRoot, 2);
  db::SetIndexEntryCount(image.Page(root), 1);
  db::SetEntry(image.Page(root), 1, db::kLastUpperKey, 32767, second);

  // Correction 32767 - (-32768) = 65535: entry 1 reads as 32767 (too many for
  // one page), entries 2 ... 254 each add 256 more.
  const Bytes page = image.Page(second);
  db::InitIndexPage(page, db::kLevelSecond, 2);
  db::SetIndexEntryCount(page, 255);
  for (int i = 1; i <= 255; ++i) {
    const int stored = (i == 1 || i == 255) ? -32768 : -32768 + 256 * (i - 1);
    db::SetEntry(page, i, i == 255 ? db::kLastUpperKey : 0, static_cast<std::int16_t>(stored),
                 static_cast<std::uint16_t>(second + i));
  }
  image.WithPageCount(second + 255);

  const DbTableContents contents = ReadTable(image, 2);
  EXPECT_EQ(contents.records.size(), 32767u);
  ASSERT_FALSE(contents.problems.empty());
  EXPECT_EQ(contents.problems.back().text, "Ошибка структуры таблицы № 2: больше 32767 записей");
}

// --- File names -----------------------------------------------------------------------

// Catches a backup or a lower-case extension read with the wrong signature.
TEST(DbReaderFileKind, TheExtensionNamesTheExpectedSignature) {
  EXPECT_EQ(FileKindFromPath("net.LVN"), db::FileKind::Model);
  EXPECT_EQ(FileKindFromPath("/home/a/net.~lvn"), db::FileKind::Model);
  EXPECT_EQ(FileKindFromPath("net!.LVN"), db::FileKind::Model);
  EXPECT_EQ(FileKindFromPath("Kordavelt.SPR"), db::FileKind::ReferenceBook);
  EXPECT_EQ(FileKindFromPath("Kordavelt.~Spr"), db::FileKind::ReferenceBook);
  EXPECT_EQ(FileKindFromPath("net.LVN.bak"), std::nullopt);
  EXPECT_EQ(FileKindFromPath("LVN"), std::nullopt);
  EXPECT_EQ(FileKindFromPath("a.bin"), std::nullopt);
}

}  // namespace
}  // namespace kordavelt
