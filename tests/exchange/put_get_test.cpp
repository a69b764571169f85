// What PutClass writes, GetClass must read back unchanged: the model export
// and import depend on it. Each variant is checked by its exact bytes once,
// then by round trips with the characters that have broken such files before.

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "exchange/get_class.h"
#include "exchange/put_class.h"
#include "exchange_test_support.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::FileText;
using testing::PutText;
using testing::ScriptedUiHost;

struct Table {
  std::string name;
  std::string fields;
  std::vector<std::string> rows;
};

void WriteTables(PutClass& put, const std::vector<Table>& tables) {
  for (const Table& table : tables) {
    put.BeginTable(table.name, table.fields);
    for (const std::string& row : table.rows) EXPECT_TRUE(put.WriteRow(row));
  }
}

// "[name]" for a table start, else the trimmed fields joined by '|'.
std::vector<std::string> ReadTables(GetClass& get, const std::vector<Table>& tables) {
  std::vector<std::string> read;
  int fields = 0;
  while (get.ReadRecord()) {
    if (get.IsTableStart()) {
      read.push_back("[" + get.Record() + "]");
      for (const Table& table : tables) {
        if (table.name != get.Record()) continue;
        get.SetFieldNames(table.fields);
        fields = ListCount(table.fields);
      }
      continue;
    }
    std::string values;
    for (int i = 0; i < fields; ++i) values += (i > 0 ? "|" : "") + get.GetStr(i);
    read.push_back(values);
  }
  return read;
}

std::vector<std::string> Expected(const std::vector<Table>& tables) {
  std::vector<std::string> expected;
  for (const Table& table : tables) {
    expected.push_back("[" + table.name + "]");
    for (const std::string& row : table.rows) {
      std::string values;
      for (int i = 0; i < ListCount(table.fields); ++i) {
        values += (i > 0 ? "|" : "") + std::string(ListItem(row, i));
      }
      expected.push_back(values);
    }
  }
  return expected;
}

TEST(PutClass, CsvAndTxtTableHeaders) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  {
    PutClass put(ui, files, {';', false});
    ASSERT_TRUE(put.OpenPath("m.csv", ExportVariant::Csv, false));
    put.BeginTable("Узлы", "Key#Name#U");
    put.WriteRow("1# ТП-1 #0.4");
    EXPECT_TRUE(put.Close());
  }
  EXPECT_EQ(FileText(files, "m.csv"), Utf8ToCp1251("\r\n#Узлы;Name;U\r\n1;ТП-1;0.4\r\n"))
      << "as many fields named as the rows hold";
  {
    PutClass put(ui, files);
    ASSERT_TRUE(put.OpenPath("m.txt", ExportVariant::Txt, false));
    put.BeginTable("Узлы", "Key#Name#U");
    put.WriteRow("1#ТП-1#0.4");
    put.WriteRow("7");
  }
  EXPECT_EQ(FileText(files, "m.txt"),
            Utf8ToCp1251("Узлы\r\nKey\tName\tU\r\n1\tТП-1\t0.4\r\n7\t\r\n"))
      << "a one-value row keeps a TAB, or it would read back as a table's name";
}

TEST(PutClass, XmlRowsUnderModel) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  PutClass put(ui, files);
  ASSERT_TRUE(put.OpenPath("m.xml", ExportVariant::XmlAttributesUtf8, false));
  put.BeginTable("Node", "Key#Name");
  put.Row() = "1#ТП 'Север'";
  EXPECT_TRUE(put.WriteRow());
  EXPECT_TRUE(put.Close());
  EXPECT_EQ(FileText(files, "m.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Model>\r\n"
            "<Node Key=\"1\" Name=\"ТП &apos;Север&apos;\"/>\r\n</Model>\r\n");
}

TEST(PutClass, DialogProposesCsvNameAndRefusesXmlAppend) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  PutText(files, "/d/m.XML", "x");
  ui.ChooseFile("/d/m.xml", 6);
  ui.PressButton("Добавить");
  PutClass put(ui, files);
  EXPECT_FALSE(put.Open("Экспорт модели", "/d/m.lvn"));
  EXPECT_EQ(ui.Messages().back(),
            "Экспорт модели: Не могу добавлять в /d/m.XML#действие не выполняется");
  EXPECT_EQ(FileText(files, "/d/m.XML"), "x");

  ui.ChooseFile("/d/m2.xml", 4);
  ASSERT_TRUE(put.Open("Экспорт модели", "/d/m.lvn"));
  EXPECT_EQ(put.Variant(), ExportVariant::XmlElements1251);
  put.Close();
  EXPECT_TRUE(FileText(files, "/d/m2.XML").starts_with("<?xml"));
  ASSERT_EQ(ui.Calls().size(), 4u);
  EXPECT_EQ(ui.Calls()[3].kind, "save");
  EXPECT_EQ(ui.Calls()[3].text, kExportFilter);
}

TEST(PutClass, WriteFailureMakesWriteRowFalseWithOneMessage) {
  MemoryFileSystem memory;
  testing::FaultyFileSystem files(memory);
  ScriptedUiHost ui;
  PutClass put(ui, files);
  ASSERT_TRUE(put.OpenPath("m.csv", ExportVariant::Csv, false));
  put.BeginTable("T", "a#b");
  // Rows are buffered: write enough for the buffer to reach the file.
  files.FailNext(testing::FileCall::WriteAt);
  bool failed = false;
  for (int i = 0; i < 5000 && !failed; ++i) failed = !put.WriteRow("12345678901234567890#x");
  EXPECT_TRUE(failed);
  EXPECT_FALSE(put.WriteRow("1#2"));
  EXPECT_FALSE(put.Close());
  EXPECT_EQ(ui.Messages(),
            (std::vector<std::string>{"m.csv: Ошибка записи в файл#m.csv#Ошибка ввода-вывода"}));
}

const std::vector<Table> kTables = {
    {"Узлы",
     "Key#Name#Temp#Note",
     {"1#ТП-1, «Северная»#20 °C#№5 & <b> > a", "2#РП Ёё#-0.5#", "3#x##последнее"}},
    {"Cables", "Mark#Len", {"АВВГ 4х16#12.5", "#"}},
};

class RoundTrip : public ::testing::TestWithParam<ExportVariant> {};

TEST_P(RoundTrip, TablesComeBackAsWritten) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  PutClass put(ui, files, {',', true});
  ASSERT_TRUE(put.OpenPath("m", GetParam(), false));
  WriteTables(put, kTables);
  ASSERT_TRUE(put.Close());

  const ImportVariant variant = IsXml(GetParam())                  ? ImportVariant::Xml
                                : GetParam() == ExportVariant::Txt ? ImportVariant::Txt
                                                                   : ImportVariant::Csv;
  GetClass get(ui, files, ',');
  ASSERT_TRUE(get.OpenPath("m", variant));
  EXPECT_EQ(ReadTables(get, kTables), Expected(kTables)) << FileText(files, "m");
  EXPECT_FALSE(get.IsOpen()) << "the end of the file closes it";
  EXPECT_EQ(get.Utf8(), IsUtf8(GetParam()));
  EXPECT_TRUE(ui.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Variants, RoundTrip,
                         ::testing::Values(ExportVariant::Csv, ExportVariant::Txt,
                                           ExportVariant::XmlElements1251,
                                           ExportVariant::XmlElementsUtf8,
                                           ExportVariant::XmlAttributes1251,
                                           ExportVariant::XmlAttributesUtf8));

TEST(RoundTripQuotes, TxtAndXmlKeepQuoteCharacters) {
  const std::vector<Table> tables = {{"T", "a#b", {"Кабель \"АВВГ\"#O'Brien's"}}};
  for (ExportVariant variant :
       {ExportVariant::Txt, ExportVariant::XmlElements1251, ExportVariant::XmlAttributesUtf8}) {
    MemoryFileSystem files;
    ScriptedUiHost ui;
    PutClass put(ui, files);
    ASSERT_TRUE(put.OpenPath("m", variant, false));
    WriteTables(put, tables);
    put.Close();
    GetClass get(ui, files);
    ASSERT_TRUE(get.OpenPath("m", IsXml(variant) ? ImportVariant::Xml : ImportVariant::Txt));
    EXPECT_EQ(ReadTables(get, tables), Expected(tables)) << static_cast<int>(variant);
  }
}

}  // namespace
}  // namespace kordavelt
