// Import of catalogue files as a whole: a file imported twice used to give
// every type twice, and a cell such as "abc", "nan" or "1e309" used to give
// a type with 0 in its place. Each case guards one of those faults, or an
// honest row that a stricter import must still take.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp1251.h"
#include "refbook/book_builder.h"
#include "refbook/book_exchange.h"
#include "refbook/book_owner.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

using testing::AddTrunking;
using testing::TestBook;

struct Importing {
  BookImportReport Import(std::string_view text, BookImportOptions options = {}) {
    const std::string bytes = Utf8ToCp1251(text);
    t.files.Put("/in.csv", {bytes.begin(), bytes.end()});
    GetClass file(t.ui, t.files);
    EXPECT_TRUE(file.OpenPath("/in.csv", ImportVariant::Csv));
    return ImportBookSections(owner, file, options);
  }
  int Count(int table) { return t.book.OpenBookTable(table)->Count(); }

  TestBook t;
  BookOwner owner{t.book, t.ui};
};

constexpr std::string_view kRepeats =
    "#SProv\n"
    "1,АПВ,Алюминий,1,2.5,0,12.1,65,24,0\n"
    "2,АПВ,Алюминий,1,4,0,7.41,65,32,0\n"
    "3,АПВ,Алюминий,1,2.5,0,12.1,65,24,0\n"
    "#SPred\n"
    "1,ШМА4-1250-Медный-А,380,1250,0,0.03,0.016,0.12,0.13,0\n"
    "2,ШМА4-1250-Медный-Б,380,1250,0,0.03,0.016,0.12,0.13,0\n"
    "3,ШМА4,380,1600,0,0.02,0.014,0.1,0.11,0\n"
    "#SAvtS\n"
    "1,ВА57,ВА57-35,380,100,10,2,-,1,2,0\n";

TEST(BookImportTest, TypesTheCategoryHoldsAreSkippedByTheirDesignation) {
  Importing b;
  // Held before: trailing blanks of a stored name do not count.
  AddTrunking(b.t.book, "ШМА4 ", 380, 1600);
  BookImportReport first = b.Import(kRepeats);
  EXPECT_EQ(first.problems, std::vector<std::string>());
  // Wires of one marking differ by their section; names are compared as
  // stored, cut to 16 characters.
  EXPECT_EQ(first.added, 4);
  EXPECT_EQ(first.skippedDuplicates, 3);
  EXPECT_EQ(first.Summary(), "добавлено типов: 4, пропущено повторов: 3");

  const BookImportReport again = b.Import(kRepeats);
  EXPECT_EQ(again.added, 0);
  EXPECT_EQ(again.skippedDuplicates, 7);
  EXPECT_EQ(b.Count(book::kBreakerSeriesTable), 1) << "a series is not a type: found, not added";

  const BookImportReport appended = b.Import(kRepeats, {.appendDuplicates = true});
  EXPECT_EQ(appended.added, 7);
  EXPECT_EQ(appended.skippedDuplicates, 0);
  EXPECT_EQ(b.Count(book::kInsulatedWireTable), 5);
  EXPECT_EQ(b.Count(book::kBreakerSeriesTable), 1);
}

TEST(BookImportTest, EveryKindOfRefusedCellIsToldAndTheFileAddsNothing) {
  Importing b;
  const BookImportReport report = b.Import(
      "#SAvtS\n"
      "1,ВА99,ВА99-1,380,100,10,2,-,1,2,0\n"
      "#SStab\n"
      "1,ТМ-1,25,6,0.4,0.13,0.6,4.5,3.2,2.5,200,1650,1930,Y/Y9,0x1\n"
      "#SMech\n"
      "1,-,Р1,100;0;7,1;2;3;4;5;6,*In,,,*In,,,,*In,ABC,1.5,,0\n"
      "#SNode\n"
      "1,Шаблон,Автомат,Кабел\n"
      "#SPriz\n"
      "1,-1e39,ВВГ,4,16,0,115,80,1.15,0.09,2.12,1.14,0,0,1e3\n");
  EXPECT_EQ(report.problems,
            (std::vector<std::string>{
                "строка 4, SStab, R0 (Np): «200» — вне диапазона -128…127",
                "строка 4, SStab, Np (Группа): «Y/Y9» — не из списка: Y0/Y0, D/Y0, Y/Y0, Y/Z, D/Z, "
                "D/Y",
                "строка 4, SStab, f15 (Код): «0x1» — не число",
                "строка 6, SMech, Inom (Iном): «100;0;7» — в списке «0»: нужно больше 0",
                "строка 6, SMech, SettingIr (Уставки Ir защиты): «1;2;3;4;5;6» — больше 5 значений",
                "строка 6, SMech, f14 (ВТХ): «ABC» — не 224 шестнадцатеричные цифры",
                "строка 6, SMech, f15 (Ошиб-): «1.5» — не целое число",
                "строка 8, SNode, f4 (1): «Кабел» — не вид объекта",
                "строка 10, SPriz, Unom (Uном): «-1e39» — вне диапазона ±3.4E+38",
            }));
  EXPECT_EQ(report.problemCount, 9);
  EXPECT_EQ(report.added, 0);
  for (const int table : BookTables()) EXPECT_EQ(b.Count(table), 0) << table;
}

TEST(BookImportTest, EmptyCellsStandWhereTheCatalogueLeavesThemBlank) {
  Importing b;
  // A wire without material takes it from its marking, a type without code
  // gets its automatic one; a trip unit without time settings, units,
  // characteristic or Imax is a plain overload release.
  const BookImportReport report = b.Import(
      "#SProv\n"
      "1,АПВ,,1,2.5,0,12.1,65,24,\n"
      "#SMech\n"
      "1,-,Р1,100,1,,,,,,,,,,0,,\n");
  EXPECT_EQ(report.problems, std::vector<std::string>());
  EXPECT_EQ(report.added, 2);
  tbClass* wires = b.t.book.OpenBookTable(book::kInsulatedWireTable);
  wires->GoTo(1);
  EXPECT_GT(wires->Key(), 0);
  EXPECT_EQ(book::InsulatedWireRec(wires->Record()).CondMat(), 1) << "aluminium, from «А»";
}

TEST(BookImportTest, ProblemsAreListedUpToTheLimitAndCountedAll) {
  Importing b;
  std::string file = "#SPred\n";
  for (int i = 1; i <= 150; ++i) file += std::to_string(i) + ",Ш,380,x,0,0,0,0,0,0\n";
  const BookImportReport report = b.Import(file);
  EXPECT_EQ(report.problemCount, 150);
  ASSERT_EQ(report.problems.size(), std::size_t{BookImportReport::kMaxProblems});
  EXPECT_EQ(report.problems.back(), "строка 101, SPred, Inom (Iном): «x» — не число");
}

TEST(BookImportTest, TheWindowSkipsRepeatsWithANoteAndListsRefusedCells) {
  Importing b;
  const std::string trunking = Utf8ToCp1251("#SPred\n1,ШМА4,380,1250,0,0.03,0.016,0.12,0.13,0\n");
  b.t.files.Put("/t.csv", {trunking.begin(), trunking.end()});
  b.t.ui.ChooseFile("/t.csv");
  EXPECT_EQ(ImportBook(b.owner, b.t.ui, b.t.files, ','), 1);
  EXPECT_EQ(b.t.ui.Messages(), std::vector<std::string>()) << "nothing to tell";
  b.t.ui.ChooseFile("/t.csv");
  EXPECT_EQ(ImportBook(b.owner, b.t.ui, b.t.files, ','), 0);
  EXPECT_EQ(b.t.ui.Messages(),
            std::vector<std::string>{"Справочник: добавлено типов: 0, пропущено повторов: 1"});

  const std::string bad = Utf8ToCp1251("#SPred\n1,ШМА5,380,1250,0,nan,0.016,0.12,0.13,0\n");
  b.t.files.Put("/bad.csv", {bad.begin(), bad.end()});
  b.t.ui.ChooseFile("/bad.csv");
  EXPECT_EQ(ImportBook(b.owner, b.t.ui, b.t.files, ','), 0);
  EXPECT_EQ(b.t.ui.Messages().back(),
            "Справочник: Типы не добавлены, ошибок: 1#строка 2, SPred, R1 (Rф): «nan» — не число");
  EXPECT_EQ(b.Count(book::kTrunkingTable), 1);
}

}  // namespace
}  // namespace kordavelt
