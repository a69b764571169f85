// Whole categories through the exchange files: a book written out and read
// into an empty one gives the same types, with their codes, lists and
// characteristics, in every variant; sections of other files are skipped
// and told, and
// the window's commands ask for their files.

#include "refbook/book_exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "refbook/book_builder.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_owner.h"
#include "refbook/book_tables.h"
#include "storage/counted_string.h"

namespace kordavelt {
namespace {

using testing::AddAsyncMotor;
using testing::AddBreakerSeries;
using testing::AddCableBrand;
using testing::AddFilledType;
using testing::AddTripUnit;
using testing::BookReferences;
using testing::TestBook;
using testing::TypeBytes;

constexpr std::int32_t kFirstCode = 0x01234567;

std::vector<std::uint8_t> Bytes1251(std::string_view text) {
  const std::string bytes = Utf8ToCp1251(text);
  return {bytes.begin(), bytes.end()};
}

// A book with two types in every category, each with a value in every
// column; the series is the first, as an empty book numbers new series.
struct FullBook {
  FullBook() {
    refs.brand = AddCableBrand(t.book, "АСБл");
    refs.series = AddBreakerSeries(t.book, "ВА88", 1);
    refs.unit = AddTripUnit(t.book, "МТЗ", 1, {160});
    refs.motor = AddAsyncMotor(t.book, "АИР160", 380, 15, 1460);
    for (const BookTableLayout& layout : BookTableLayouts()) {
      for (const std::int32_t code : Codes(layout.table)) {
        EXPECT_FALSE(AddFilledType(t.book, layout.table, code, refs).empty()) << layout.table;
      }
      MakeDistinct(layout.table, Codes(layout.table)[1]);
    }
  }

  // The second type of a category gets another designation, so that import
  // does not take it for a repeat of the first: one more letter in its name,
  // or for a cable (named by its brand) one more conductor.
  void MakeDistinct(int table, std::int32_t code) {
    ASSERT_TRUE(t.book.FindType(table, code));
    const Bytes record = t.book.CurrentRecord(table);
    const BookColumn& first = BookColumns(table)[0];
    if (table == book::kCableTable) {
      WriteU8(record, 52, static_cast<std::uint8_t>(ReadU8(record, 52) + 1));
    } else {
      const BookColumn& name = first.field == BookField::Name ? first : BookColumns(table)[1];
      WriteCountedString(record, name.offset, name.size,
                         ReadCountedString(record, name.offset, name.size) + "б");
    }
    t.book.BookTable(table)->MarkModifiedAndFlush();
  }

  // Templates are numbered in turn; other types keep codes of any size.
  static std::vector<std::int32_t> Codes(int table) {
    if (table == book::kTemplateTable) return {1, 2};
    return {kFirstCode, kFirstCode + 0x100};
  }

  // Every type of every category, as (table, code, bytes).
  struct Type {
    int table;
    std::int32_t code;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Type&) const = default;
  };
  static std::vector<Type> Types(sprClass& book) {
    std::vector<Type> types;
    for (const BookTableLayout& layout : BookTableLayouts()) {
      tbClass* table = book.OpenBookTable(layout.table);
      if (table == nullptr) continue;
      table->GoTo(0);
      while (table->Next()) {
        const Bytes record = table->Record();
        types.push_back({layout.table, table->Key(), {record.begin(), record.end()}});
      }
    }
    return types;
  }

  TestBook t;
  BookReferences refs;
  BookOwner owner{t.book, t.ui};
};

// Exports `source` whole in `variant` and imports the file into an empty book.
std::vector<FullBook::Type> RoundTrip(FullBook& source, ExportVariant variant,
                                      ImportVariant importVariant, BookImportReport& report) {
  const std::string path = "/book.exchange";
  EXPECT_TRUE(ExportWholeBook(source.owner, source.t.ui, source.t.files, path, variant, {}));
  TestBook target;
  target.files.Put(path, *source.t.files.Find(path));
  BookOwner owner(target.book, target.ui);
  GetClass file(target.ui, target.files);
  EXPECT_TRUE(file.OpenPath(path, importVariant));
  report = ImportBookSections(owner, file);
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(target.ui.Messages(), std::vector<std::string>());
  return FullBook::Types(target.book);
}

// Relays, transformers and trip units: their exchange names leave columns
// without a name or name two alike, so XML carries those values nowhere or
// into another field.

TEST(BookExchangeTest, EveryCategoryComesBackThroughCsv) {
  FullBook source;
  const std::vector<FullBook::Type> expected = FullBook::Types(source.t.book);
  BookImportReport report;
  const std::vector<FullBook::Type> types =
      RoundTrip(source, ExportVariant::Csv, ImportVariant::Csv, report);
  EXPECT_EQ(report.problems, std::vector<std::string>());
  EXPECT_EQ(report.added, static_cast<int>(expected.size()));
  ASSERT_EQ(types.size(), expected.size());
  for (std::size_t i = 0; i < types.size(); ++i) {
    SCOPED_TRACE(std::to_string(types[i].table) + " " + std::to_string(types[i].code));
    EXPECT_EQ(types[i], expected[i]);
  }
}

TEST(BookExchangeTest, CsvWithAnotherSeparatorAndQuotesComesBack) {
  FullBook source;
  const std::string path = "/book.csv";
  ASSERT_TRUE(ExportWholeBook(source.owner, source.t.ui, source.t.files, path, ExportVariant::Csv,
                              {';', true}));
  TestBook target;
  target.files.Put(path, *source.t.files.Find(path));
  BookOwner owner(target.book, target.ui);
  GetClass file(target.ui, target.files, ';');
  ASSERT_TRUE(file.OpenPath(path, ImportVariant::Csv));
  ImportBookSections(owner, file);
  EXPECT_EQ(FullBook::Types(target.book), FullBook::Types(source.t.book));
}

// Categories whose exchange names were fewer than their columns (relays,
// trip units) or repeated one ("R0" twice among the transformer's) lost
// values in XML or put them into other fields, and their files were
// refused: every category now comes back through every XML variant.
TEST(BookExchangeTest, EveryCategoryComesBackThroughEveryXmlVariant) {
  for (const ExportVariant variant :
       {ExportVariant::XmlElements1251, ExportVariant::XmlElementsUtf8,
        ExportVariant::XmlAttributes1251, ExportVariant::XmlAttributesUtf8}) {
    SCOPED_TRACE(static_cast<int>(variant));
    FullBook source;
    const std::vector<FullBook::Type> expected = FullBook::Types(source.t.book);
    BookImportReport report;
    const std::vector<FullBook::Type> types =
        RoundTrip(source, variant, ImportVariant::Xml, report);
    EXPECT_EQ(report.problems, std::vector<std::string>());
    EXPECT_EQ(types, expected);
  }
}

TEST(BookExchangeTest, WholeBookFileHasOneSectionPerCategoryWithTypes) {
  TestBook t;
  AddCableBrand(t.book, "ВВГ");
  AddBreakerSeries(t.book, "ВА57", 1);
  BookOwner owner(t.book, t.ui);
  ASSERT_TRUE(ExportWholeBook(owner, t.ui, t.files, "/b.csv", ExportVariant::Csv, {}));
  const std::vector<std::uint8_t>& bytes = *t.files.Find("/b.csv");
  const std::string text = Cp1251ToUtf8(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(text.find("#SMarka,"), 0u) << text;
  EXPECT_NE(text.find("ВВГ"), std::string::npos);
  EXPECT_EQ(text.find("#SNode"), std::string::npos) << "empty categories are left out";
}

TEST(BookExchangeTest, RowsOutsideKnownSectionsAreSkippedAndTold) {
  TestBook t;
  t.files.Put("/in.csv", Bytes1251("1#ничей\n"
                                   "#Nodes,Key,Name\n"
                                   "1,ТП-1\n"
                                   "#SPred,NN,Type,Unom,Inom\n"
                                   "1,ШМА4,380,1250,0,0.03,0.016,0.12,0.13,0\n"
                                   "#Other,a\n"
                                   "1,x\n"));
  BookOwner owner(t.book, t.ui);
  GetClass file(t.ui, t.files);
  ASSERT_TRUE(file.OpenPath("/in.csv", ImportVariant::Csv));
  const BookImportReport report = ImportBookSections(owner, file);
  EXPECT_TRUE(report.Succeeded());
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.notes, (std::vector<std::string>{
                              "до первого раздела пропущено строк: 1",
                              "строка 2: раздел «Nodes» не из справочника, пропущено строк: 1",
                              "строка 6: раздел «Other» не из справочника, пропущено строк: 1"}));
  EXPECT_EQ(owner.Table(), book::kTrunkingTable);
  EXPECT_EQ(owner.Form().rowCount, 1);

  // A file without one section of the book is no catalogue: refused.
  t.files.Put("/model.csv", Bytes1251("#Nodes,Key,Name\n1,ТП-1\n"));
  ASSERT_TRUE(file.OpenPath("/model.csv", ImportVariant::Csv));
  EXPECT_EQ(ImportBookSections(owner, file).problems,
            std::vector<std::string>{"в файле нет разделов справочника"});
}

TEST(BookExchangeTest, WindowCommandsAskForTheirFiles) {
  FullBook source;
  ASSERT_TRUE(source.owner.ShowTable(book::kFuseTable));
  source.t.ui.ChooseFile("/fuses");
  ASSERT_TRUE(ExportBookCategory(source.owner, source.t.ui, source.t.files, {}));
  const std::vector<std::uint8_t>* written = source.t.files.Find("/fuses.CSV");
  ASSERT_NE(written, nullptr) << "the CSV extension is forced";

  TestBook target;
  target.files.Put("/fuses.CSV", *written);
  target.ui.ChooseFile("/fuses.CSV");
  BookOwner owner(target.book, target.ui);
  EXPECT_EQ(ImportBook(owner, target.ui, target.files, ','), 2);
  EXPECT_EQ(owner.Table(), book::kFuseTable);
  EXPECT_EQ(TypeBytes(target.book, book::kFuseTable, kFirstCode),
            TypeBytes(source.t.book, book::kFuseTable, kFirstCode));

  BookOwner idle(target.book, target.ui);
  EXPECT_FALSE(ExportBookCategory(idle, target.ui, target.files, {})) << "no category shown";
  target.ui.CancelInput();
  EXPECT_EQ(ImportBook(owner, target.ui, target.files, ','), 0) << "the dialog was cancelled";
}

TEST(BookExchangeTest, ImportFormatFollowsTheExtension) {
  EXPECT_EQ(ImportVariantOfPath("/a/b.xml"), ImportVariant::Xml);
  EXPECT_EQ(ImportVariantOfPath("B.TXT"), ImportVariant::Txt);
  EXPECT_EQ(ImportVariantOfPath("b.csv"), ImportVariant::Csv);
  EXPECT_EQ(ImportVariantOfPath("dir.xml/b"), ImportVariant::Csv);
}

}  // namespace
}  // namespace kordavelt
