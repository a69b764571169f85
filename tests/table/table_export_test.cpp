// The table export writes what a user sends to other programs: the exact
// layout of each variant, its encoding, and the dialogs around it. Faults
// guarded: a header naming more fields than the rows hold, a TXT file the
// import cannot read back, and check boxes written as their drawing.

#include "table/table_export.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "draw/picture_string.h"
#include "exchange/exchange_test_support.h"
#include "exchange/get_class.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::FileText;
using testing::FixedRowsOwner;
using testing::PutText;
using testing::ScriptedUiHost;

class TableExportTest : public ::testing::Test {
 protected:
  TableExportTest() {
    form.caption = "Кабели";
    form.name = "Cables";
    form.head1 = "№#Марка#Длина";
    form.head2 = "#кв.мм#м";
    owner.rows = {" 1 # ААБл 3х95 # 12.5 #скрыто", "2#@s0r22DDe ок#40"};
    form.rowCount = 2;
  }

  std::string Export(ExportVariant variant, CsvOptions options = {}) {
    EXPECT_TRUE(ExportTableToFile(owner, form, "t", variant, options, files, false, ui));
    return FileText(files, "t");
  }

  FixedRowsOwner owner;
  TableForm form;
  MemoryFileSystem files;
  ScriptedUiHost ui;
};

TEST_F(TableExportTest, CsvHeaderNamesAFieldForEveryValueOfARow) {
  EXPECT_EQ(Export(ExportVariant::Csv), Utf8ToCp1251("#Cables,f2,f3\r\n"
                                                     "1,ААБл 3х95,12.5\r\n"
                                                     "2,@s0r22DDe ок,40\r\n"));
  EXPECT_EQ(Export(ExportVariant::CsvDos), FileText(files, "t"));
}

TEST_F(TableExportTest, CsvQuoteOptionQuotesTextsOnly) {
  owner.rows = {"12.5#Кабель \"АВВГ\" 4\"х16\"#"};
  form.rowCount = 1;
  EXPECT_EQ(Export(ExportVariant::Csv, {';', true}),
            Utf8ToCp1251("#Cables;f2;f3\r\n12.5;\"Кабель 'АВВГ' 4\"х16\"\";\"\"\r\n"))
      << "only the first two double quotes become apostrophes";
}

// The CSV separator setting shown in a table (",") was written bare and
// read back as two values.
TEST_F(TableExportTest, CsvTextHoldingTheSeparatorIsQuotedEvenWithoutTheOption) {
  owner.rows = {"1#Разделитель для CSV#,", "2#3,5 мм#x"};
  form.rowCount = 2;
  EXPECT_EQ(Export(ExportVariant::Csv),
            Utf8ToCp1251("#Cables,f2,f3\r\n1,Разделитель для CSV,\",\"\r\n2,\"3,5 мм\",x\r\n"));
  EXPECT_EQ(Export(ExportVariant::Csv, {';', false}),
            Utf8ToCp1251("#Cables;f2;f3\r\n1;Разделитель для CSV;,\r\n2;3,5 мм;x\r\n"));
}

TEST_F(TableExportTest, TxtHasTheNameColumnLabelsAndPictureMarks) {
  form.title = "Журнал#кабелей";
  EXPECT_EQ(Export(ExportVariant::Txt), Utf8ToCp1251("Cables\r\n"
                                                     "№\tМарка, кв.мм\tДлина, м\r\n"
                                                     "1\tААБл 3х95\t12.5\r\n"
                                                     "2\tрис.\t40\r\n"));
}

// The caption and two header lines of the TXT export read back as a section
// named after the caption with a header line among its rows.
TEST_F(TableExportTest, TxtReadsBackAsOneSectionOfTheRows) {
  PutText(files, "t.txt", Export(ExportVariant::Txt));
  GetClass get(ui, files);
  ASSERT_TRUE(get.OpenPath("t.txt", ImportVariant::Txt));
  std::vector<std::string> records;
  while (get.ReadRecord()) records.push_back((get.IsTableStart() ? "section " : "") + get.Record());
  EXPECT_EQ(records, (std::vector<std::string>{"section Cables", "1#ААБл 3х95#12.5", "2#рис.#40"}));

  // A table of one column still has a TAB on every row.
  form.head1 = "№";
  EXPECT_EQ(Export(ExportVariant::Txt), "Cables\r\n\xB9\r\n1\t\r\n2\t\r\n");
}

// Check boxes were exported as their drawing ("@s0r22DDe"), which no
// import reads as a value.
TEST_F(TableExportTest, CheckBoxesAreWrittenAsTheValuesTheyStandFor) {
  owner.rows = {"1#" + std::string(kCheckedBox) + "#" + std::string(kUncheckedBox)};
  form.rowCount = 1;
  form.fieldNames = "N#On#Off";
  EXPECT_EQ(Export(ExportVariant::Csv), Utf8ToCp1251("#Cables,On,Off\r\n1,Да,Нет\r\n"));
  EXPECT_TRUE(Export(ExportVariant::Txt).ends_with(Utf8ToCp1251("\r\n1\tДа\tНет\r\n")));
  EXPECT_NE(
      Export(ExportVariant::XmlAttributesUtf8).find("<Cables N=\"1\" On=\"Да\" Off=\"Нет\"/>"),
      std::string::npos);
}

TEST_F(TableExportTest, XmlElementsPerColumn) {
  form.fieldNames = "N#Mark#Len";
  EXPECT_EQ(Export(ExportVariant::XmlElementsUtf8),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DataRoot>\r\n"
            "<Cables>\r\n<N>1</N>\r\n<Mark>ААБл 3х95</Mark>\r\n<Len>12.5</Len>\r\n</Cables>\r\n"
            "<Cables>\r\n<N>2</N>\r\n<Mark>@s0r22DDe ок</Mark>\r\n<Len>40</Len>\r\n</Cables>\r\n"
            "</DataRoot>\r\n");
}

TEST_F(TableExportTest, XmlAttributesTakeEveryItemOfTheLine) {
  owner.rows = {"1#R & \"S\"#<3>#скрыто"};
  form.rowCount = 1;
  EXPECT_EQ(Export(ExportVariant::XmlAttributes1251),
            Utf8ToCp1251("<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\r\n<DataRoot>\r\n"
                         "<Cables f1=\"1\" f2='R &amp; &quot;S&quot;' f3=\"&lt;3&gt;\" "
                         "f4=\"скрыто\"/>\r\n</DataRoot>\r\n"));
}

TEST_F(TableExportTest, XmlAttributeNamedTwiceIsWrittenOnce) {
  // A field list naming two columns alike must still give well-formed XML.
  form.fieldNames = "NN#Type#Type";
  owner.rows = {"1#ВА88#ВА57"};
  form.rowCount = 1;
  EXPECT_EQ(Export(ExportVariant::XmlAttributes1251),
            Utf8ToCp1251("<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\r\n<DataRoot>\r\n"
                         "<Cables NN=\"1\" Type=\"ВА88\"/>\r\n</DataRoot>\r\n"));
}

TEST_F(TableExportTest, SeveralTablesShareOneXmlRoot) {
  TableForm second = form;
  second.name = "Wires";
  TableExportFile file(ui, files, {});
  ASSERT_TRUE(file.Open("Экспорт", "many", ExportVariant::XmlElements1251, false));
  file.Write(owner, form);
  file.Write(owner, second);
  ASSERT_TRUE(file.Close());
  const std::string text = FileText(files, "many");
  EXPECT_EQ(text.find("<DataRoot>"), text.rfind("<DataRoot>"));
  EXPECT_LT(text.find("<Cables>"), text.find("<Wires>"));
  EXPECT_EQ(text.rfind("</DataRoot>\r\n"), text.size() - 13);
}

TEST_F(TableExportTest, Utf8VariantsKeepEveryCharacter) {
  owner.rows = {"1#20 °C №5 «ТП» Ёё"};
  form.rowCount = 1;
  const std::string utf8 = Export(ExportVariant::XmlElementsUtf8);
  EXPECT_NE(utf8.find("<f2>20 °C №5 «ТП» Ёё</f2>"), std::string::npos) << utf8;
  const std::string cp1251 = Export(ExportVariant::XmlElements1251);
  EXPECT_NE(cp1251.find(Utf8ToCp1251("<f2>20 °C №5 «ТП» Ёё</f2>")), std::string::npos);
  EXPECT_EQ(cp1251.find('?', 50), std::string::npos) << "nothing replaced by '?'";
}

TEST_F(TableExportTest, ExportingIsSetOnlyWhileWriting) {
  Export(ExportVariant::Csv);
  EXPECT_EQ(owner.exportingSeen, (std::vector<bool>{true, true}));
  EXPECT_FALSE(form.exporting);
}

TEST_F(TableExportTest, DialogChoosesVariantAndForcesItsExtension) {
  ui.ChooseFile("/data/cables.csv", 3);
  ASSERT_TRUE(ExportTable(owner, form, ui, files, {}));
  ASSERT_EQ(ui.Calls().size(), 1u);
  EXPECT_EQ(ui.Calls()[0].kind, "save");
  EXPECT_EQ(ui.Calls()[0].caption, "Экспорт. Кабели");
  EXPECT_EQ(ui.Calls()[0].text, kExportFilter);
  EXPECT_TRUE(FileText(files, "/data/cables.TXT").starts_with("Cables\r\n"));

  ui.ChooseFile("/data/dos.txt", 2);
  ASSERT_TRUE(ExportTable(owner, form, ui, files, {}));
  EXPECT_NE(files.Find("/data/dos.txt"), nullptr) << "the MS DOS variant keeps the name";
}

TEST_F(TableExportTest, ExistingFileIsReplacedAppendedOrKept) {
  PutText(files, "/d/t.CSV", "old\r\n");
  ui.ChooseFile("/d/t.CSV", 1);
  ui.PressButton("Добавить");
  ASSERT_TRUE(ExportTable(owner, form, ui, files, {}));
  EXPECT_EQ(ui.Messages()[0], "Экспорт. Кабели: Существующий файл");
  EXPECT_EQ(ui.Calls()[1].buttons, "Обновить#Добавить#Отменить");
  EXPECT_TRUE(FileText(files, "/d/t.CSV").starts_with("old\r\n#Cables,"));

  ui.ChooseFile("/d/t.CSV", 1);
  ui.PressButton("Обновить");
  ASSERT_TRUE(ExportTable(owner, form, ui, files, {}));
  EXPECT_TRUE(FileText(files, "/d/t.CSV").starts_with("#Cables,"));

  PutText(files, "/d/t.CSV", "old\r\n");
  ui.ChooseFile("/d/t.CSV", 1);
  ui.PressButton("Отменить");
  EXPECT_FALSE(ExportTable(owner, form, ui, files, {}));
  EXPECT_EQ(FileText(files, "/d/t.CSV"), "old\r\n");
}

TEST_F(TableExportTest, XmlIsNeverAppendedTo) {
  PutText(files, "/d/t.XML", "<DataRoot/>");
  ui.ChooseFile("/d/t.xml", 4);
  ui.PressButton("Добавить");
  EXPECT_FALSE(ExportTable(owner, form, ui, files, {}));
  EXPECT_EQ(ui.Messages().back(),
            "Экспорт. Кабели: Невозможно добавление в /d/t.XML#действие не выполняется");
  EXPECT_EQ(FileText(files, "/d/t.XML"), "<DataRoot/>");

  EXPECT_FALSE(ExportTableToFile(owner, form, "/d/t.XML", ExportVariant::XmlElementsUtf8, {}, files,
                                 true, ui));
  EXPECT_EQ(FileText(files, "/d/t.XML"), "<DataRoot/>");
}

TEST_F(TableExportTest, CancelledDialogWritesNothing) {
  ui.CancelInput();
  EXPECT_FALSE(ExportTable(owner, form, ui, files, {}));
  EXPECT_EQ(ui.Messages().size(), 0u);
}

TEST_F(TableExportTest, WriteFailureIsReportedNotSuccess) {
  testing::FaultyFileSystem faulty(files);
  faulty.FailNext(testing::FileCall::WriteAt);
  EXPECT_FALSE(ExportTableToFile(owner, form, "t", ExportVariant::Csv, {}, faulty, false, ui));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0], "Экспорт. Кабели: Ошибка записи в файл#t#Ошибка ввода-вывода");

  faulty.FailNext(testing::FileCall::Open);
  EXPECT_FALSE(ExportTableToFile(owner, form, "t", ExportVariant::Csv, {}, faulty, false, ui));
  EXPECT_EQ(ui.Messages().size(), 2u);
}

}  // namespace
}  // namespace kordavelt
