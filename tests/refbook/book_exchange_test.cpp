// Whole categories through the exchange files: a book written out and read
// into an empty one gives the same types, with their codes, lists and
// characteristics; sections of other files are skipped, and the window's
// commands ask for their files.

#include "refbook/book_exchange.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "refbook/book_builder.h"
#include "refbook/book_categories.h"
#include "refbook/book_owner.h"
#include "refbook/book_tables.h"
#include "storage/cp1251.h"
#include "table/dial_list.h"

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
    }
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

// XML puts a value where its field name is: a category whose exchange names
// miss or repeat a column cannot come back whole, by the names as they stand.
bool AllColumnsNamed(const BookTableLayout& layout) {
  const int columns = ListCount(layout.head1);
  if (layout.exchangeNames.empty() || ListCount(layout.exchangeNames) < columns) return false;
  std::set<std::string> names;
  for (int c = 0; c < columns; ++c) {
    if (!names.insert(ListItem(layout.exchangeNames, c)).second) return false;
  }
  return true;
}

// Exports `source` whole in `variant` and imports the file into an empty book.
std::vector<FullBook::Type> RoundTrip(FullBook& source, ExportVariant variant,
                                      ImportVariant importVariant, int& added) {
  const std::string path = "/book.exchange";
  EXPECT_TRUE(ExportWholeBook(source.owner, source.t.ui, source.t.files, path, variant, {}));
  TestBook target;
  target.files.Put(path, *source.t.files.Find(path));
  BookOwner owner(target.book, target.ui);
  GetClass file(target.ui, target.files);
  EXPECT_TRUE(file.OpenPath(path, importVariant));
  added = ImportBookSections(owner, file);
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(target.ui.Messages(), std::vector<std::string>());
  return FullBook::Types(target.book);
}

TEST(BookExchangeTest, EveryCategoryComesBackThroughCsv) {
  FullBook source;
  const std::vector<FullBook::Type> expected = FullBook::Types(source.t.book);
  int added = 0;
  const std::vector<FullBook::Type> types =
      RoundTrip(source, ExportVariant::Csv, ImportVariant::Csv, added);
  EXPECT_EQ(added, static_cast<int>(expected.size()));
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

TEST(BookExchangeTest, XmlKeepsTheCategoriesWhoseColumnsAreAllNamed) {
  for (const ExportVariant variant :
       {ExportVariant::XmlElements1251, ExportVariant::XmlElementsUtf8,
        ExportVariant::XmlAttributes1251}) {
    SCOPED_TRACE(static_cast<int>(variant));
    FullBook source;
    int added = 0;
    const std::vector<FullBook::Type> types = RoundTrip(source, variant, ImportVariant::Xml, added);
    // One file, one root: every section is read, each in its category.
    EXPECT_EQ(added, static_cast<int>(FullBook::Types(source.t.book).size()));
    int compared = 0;
    for (const FullBook::Type& type : types) {
      if (!AllColumnsNamed(*BookLayoutOfTable(type.table))) continue;
      EXPECT_EQ(type.bytes, TypeBytes(source.t.book, type.table, type.code)) << type.table;
      ++compared;
    }
    EXPECT_GE(compared, 20);
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

TEST(BookExchangeTest, RowsOutsideKnownSectionsAreSkipped) {
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
  EXPECT_EQ(ImportBookSections(owner, file), 1);
  EXPECT_EQ(owner.Table(), book::kTrunkingTable);
  EXPECT_EQ(owner.Form().rowCount, 1);
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
