// Exchange files that come back: every variant `export-book` and
// `export-model` write, of the delivered catalogue and the demo model, reads
// back into an empty book or model and exports again to the same bytes; and
// every table of the program exports a header that names as many fields as
// each of its rows holds. Faults guarded: a TXT export whose caption and
// header lines the import took for a section name and a row, a header with
// one field more than the rows ("#GEP,f2,…,f20" over 19 values), check boxes
// written as their drawing, and an extension that did not choose the variant.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/dial_list.h"
#include "calc/calc_class.h"
#include "cli/cli_run.h"
#include "exchange/get_class.h"
#include "model/group_owner.h"
#include "model/model_class.h"
#include "model/receiver_owner.h"
#include "model/room_owner.h"
#include "model/source_owner.h"
#include "refbook/book_owner.h"
#include "refbook/book_tables.h"
#include "results/result_tables.h"
#include "shell/format_settings.h"
#include "support/scripted_ui_host.h"
#include "table/table_driver.h"
#include "table/table_export.h"

namespace kordavelt::testing {
namespace {

constexpr const char* kBook = "/demo/Kordavelt.SPR";
constexpr const char* kModel = "/demo/Demo.LVN";

std::vector<std::uint8_t> ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The extension the variant's files are read back by.
std::string ExtensionOf(int variant) {
  if (variant == 3) return ".txt";
  return variant >= 4 ? ".xml" : ".csv";
}

class ExchangeRoundTrip : public ::testing::Test {
 protected:
  ExchangeRoundTrip() {
    files_.Put(kBook, ReadBytes(KORDAVELT_CATALOGUE));
    files_.Put(kModel, ReadBytes(KORDAVELT_DEMO));
  }

  // Runs the tool and expects it to succeed.
  void Run(const std::vector<std::string>& args) {
    const CliRun run = RunTool(files_, args);
    EXPECT_EQ(run.code, kExitOk) << args[0] << " " << args[2] << ": " << run.err;
  }

  std::vector<std::uint8_t> Bytes(const std::string& path) {
    const std::vector<std::uint8_t>* bytes = files_.Find(path);
    return bytes == nullptr ? std::vector<std::uint8_t>{} : *bytes;
  }

  MemoryFileSystem files_;
};

TEST_F(ExchangeRoundTrip, TheCatalogueInEveryVariantImportsBackAndExportsTheSame) {
  for (int variant = 1; variant <= 7; ++variant) {
    const std::string v = std::to_string(variant);
    const std::string first = "/book" + v + ExtensionOf(variant);
    const std::string again = "/again" + v + ExtensionOf(variant);
    Run({"export-book", kBook, first, "--variant", v});
    Run({"import-book", "/copy" + v + ".SPR", first});
    Run({"export-book", "/copy" + v + ".SPR", again, "--variant", v});
    ASSERT_FALSE(Bytes(first).empty()) << variant;
    EXPECT_TRUE(Bytes(first) == Bytes(again)) << "variant " << variant;
  }
}

TEST_F(ExchangeRoundTrip, TheDemoModelInEveryVariantImportsBackAndExportsTheSame) {
  for (int variant = 1; variant <= 7; ++variant) {
    const std::string v = std::to_string(variant);
    const std::string first = "/model" + v + ExtensionOf(variant);
    const std::string again = "/again" + v + ExtensionOf(variant);
    const std::string copy = "/demo/copy" + v + ".LVN";
    Run({"export-model", kModel, first, "--variant", v});
    Run({"import-model", copy, first, "--book", kBook});
    Run({"export-model", copy, again, "--variant", v});
    ASSERT_FALSE(Bytes(first).empty()) << variant;
    EXPECT_TRUE(Bytes(first) == Bytes(again)) << "variant " << variant;
  }
}

// `export-book BOOK OUT.txt` used to write CSV into the .txt file.
TEST_F(ExchangeRoundTrip, WithoutAVariantTheExtensionChoosesIt) {
  for (const char* command : {"export-book", "export-model"}) {
    const char* source = std::string_view(command) == "export-book" ? kBook : kModel;
    Run({command, source, "/out.TXT"});
    Run({command, source, "/out.xml"});
    Run({command, source, "/out.dat"});
    Run({command, source, "/out.csv", "--variant", "1"});
    const std::string txt = TextOf(files_, "/out.TXT");
    EXPECT_EQ(txt.find('#'), std::string::npos) << command << ": " << txt.substr(0, 80);
    EXPECT_NE(txt.find('\t'), std::string::npos) << command;
    const std::string xml = TextOf(files_, "/out.xml");
    EXPECT_TRUE(xml.starts_with("<?xml")) << command;
    EXPECT_NE(xml.find("encoding=\"Windows-1251\""), std::string::npos) << command;
    EXPECT_NE(xml.find("\"/>"), std::string::npos) << command << ": attributes, variant 6";
    EXPECT_TRUE(Bytes("/out.dat") == Bytes("/out.csv")) << command << ": any other is CSV";
  }
}

// --- Every table of the program --------------------------------------------------------

// The demo model opened and calculated, with every table the program shows.
class EveryTable : public ::testing::Test {
 protected:
  EveryTable() {
    files_.Put(kBook, ReadBytes(KORDAVELT_CATALOGUE));
    files_.Put(kModel, ReadBytes(KORDAVELT_DEMO));
    model_.SetFileName(kModel);
    EXPECT_TRUE(model_.OpenFile());
    calc_.CalcNetwork();
  }
  ~EveryTable() override {
    model_.SetAskToSave(false);
    model_.CloseFile();
  }

  // Exports the table as CSV and expects its header to name one field for
  // every column and every row to hold as many values, as the import reads
  // them; then the TXT labels one column each.
  void ExpectFieldsAgree(TableOwner& owner, TableForm& form) {
    const std::string what = form.name + " (" + form.caption + ")";
    const int columns = TableDriver(owner, form, ui_).ColCount();
    ASSERT_TRUE(
        ExportTableToFile(owner, form, "/t.csv", ExportVariant::Csv, {}, files_, false, ui_))
        << what;
    const std::string text = TextOf(files_, "/t.csv");
    const std::string header = text.substr(0, text.find('\r'));
    EXPECT_EQ(std::count(header.begin(), header.end(), ',') + 1, columns) << what << ": " << header;
    GetClass get(ui_, files_);
    ASSERT_TRUE(get.OpenPath("/t.csv", ImportVariant::Csv));
    int row = 0;
    while (get.ReadRecord()) {
      if (get.IsTableStart()) {
        EXPECT_EQ(get.Record(), form.name);
        continue;
      }
      ++row;
      EXPECT_EQ(ListCount(get.Record()), columns)
          << what << ", row " << row << ": " << get.Record();
    }
    EXPECT_EQ(row, form.rowCount) << what;

    ASSERT_TRUE(
        ExportTableToFile(owner, form, "/t.txt", ExportVariant::Txt, {}, files_, false, ui_));
    const std::string txt = TextOf(files_, "/t.txt");
    const std::size_t labels = txt.find("\r\n") + 2;
    const std::string line = txt.substr(labels, txt.find("\r\n", labels) - labels);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t') + 1, columns) << what << ": " << line;
  }

  ScriptedUiHost ui_;
  MemoryFileSystem files_;
  modelClass model_{ui_, files_, "/demo/kordavelt"};
  CalcClass calc_{model_};
};

TEST_F(EveryTable, EveryCategoryOfTheBookExportsAFieldForEveryValue) {
  ASSERT_NE(model_.Book(), nullptr);
  BookOwner book(*model_.Book(), ui_);
  for (int category = 1; category <= kCategoryCount; ++category) {
    ASSERT_TRUE(book.ShowCategory(category)) << category;
    ExpectFieldsAgree(book, book.Form());
  }
  book.CloseTable();
}

TEST_F(EveryTable, EveryDataTableExportsAFieldForEveryValue) {
  GroupOwner groups(model_, ui_);
  ASSERT_GT(groups.Form().rowCount, 0);
  ExpectFieldsAgree(groups, groups.Form());
  ReceiverOwner receivers(model_, ui_, groups);
  ExpectFieldsAgree(receivers, receivers.Form());
  SourceOwner sources(model_, ui_);
  ExpectFieldsAgree(sources, sources.Form());
  RoomOwner rooms(model_, ui_);
  ExpectFieldsAgree(rooms, rooms.Form());
  DisplaySettings display;
  FormatSettingsOwner format(display, ui_);
  ExpectFieldsAgree(format, format.Form());
}

TEST_F(EveryTable, EveryResultTableExportsAFieldForEveryValue) {
  for (const char* id : {"Rez", "KJur", "Loads", "Potr", "Teplo", "Tree"}) {
    std::unique_ptr<ResultTable> table = MakeResultTable(calc_, id, 1);
    TableForm form;
    ASSERT_TRUE(table->Open(form)) << id;
    ExpectFieldsAgree(*table, form);
  }
}

// The groups' self-start column is a check box: it travels as "Да" or "Нет"
// in an export and in a copy, never as its drawing.
TEST_F(EveryTable, TheSelfStartCheckBoxTravelsAsItsValue) {
  GroupOwner groups(model_, ui_);
  ASSERT_TRUE(ExportTableToFile(groups, groups.Form(), "/g.csv", ExportVariant::Csv, {}, files_,
                                false, ui_));
  const std::string text = TextOf(files_, "/g.csv");
  EXPECT_EQ(text.find('@'), std::string::npos) << text;
  EXPECT_NE(text.find(",Да,"), std::string::npos) << "the demo's pumps take part in self-start";
  EXPECT_NE(text.find(",Нет,"), std::string::npos);

  TableDriver driver(groups, groups.Form(), ui_);
  const std::string copied = driver.CopyRows(1, driver.RowCount());
  EXPECT_EQ(copied.find('@'), std::string::npos) << copied;
  groups.Form().curCol = 12;
  const std::string cell = driver.CopyCell();
  EXPECT_TRUE(cell == "Да" || cell == "Нет") << cell;
}

}  // namespace
}  // namespace kordavelt::testing
