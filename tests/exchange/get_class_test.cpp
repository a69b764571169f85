// GetClass reads files made elsewhere too: its line rules, the XML row and
// table rules, and its answers to damaged and hostile files.

#include "exchange/get_class.h"
#include "exchange/xml_row_reader.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "exchange_test_support.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::PutText;
using testing::ScriptedUiHost;

class GetClassTest : public ::testing::Test {
 protected:
  // Every record: "[name]" for a table start, else the record.
  std::vector<std::string> ReadAll(const std::string& text, ImportVariant variant,
                                   const std::string& fieldNames = "", char separator = ',') {
    PutText(files, "in", text);
    GetClass get(ui, files, separator);
    std::vector<std::string> records;
    if (!get.OpenPath("in", variant)) return {"<not opened>"};
    get.SetFieldNames(fieldNames);
    while (get.ReadRecord()) {
      records.push_back(get.IsTableStart() ? "[" + get.Record() + "]" : get.Record());
    }
    return records;
  }

  using Records = std::vector<std::string>;
  MemoryFileSystem files;
  ScriptedUiHost ui;
};

TEST_F(GetClassTest, CsvQuotedFieldKeepsTheSeparator) {
  EXPECT_EQ(ReadAll(Utf8ToCp1251("#Узлы ,Name,\r\n\r\n1,\"ТП-1, Север\",0.4\r\n2,'a;b';c\n"),
                    ImportVariant::Csv),
            (Records{"[Узлы]", "1# ТП-1, Север #0.4", "2# a;b ;c"}));
  EXPECT_EQ(ReadAll("#T;x\r\n1;2,5\tz\r\n", ImportVariant::Csv, "", ';'),
            (Records{"[T]", "1#2,5#z"}));
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(GetClassTest, TextWithAUtf8ByteOrderMarkIsReadAsUtf8) {
  // Characters the program cannot store become "?", as do damaged sequences.
  EXPECT_EQ(ReadAll("\xEF\xBB\xBF#Марки,Name\r\n1,АВБбШв «Б» 25°,\xE2\x82\xAC,\xD0\r\n",
                    ImportVariant::Csv),
            (Records{"[Марки]", "1#АВБбШв «Б» 25°#€#?"}));
  EXPECT_EQ(ReadAll("\xEF\xBB\xBFКабели\r\nN\tM\r\n1\tВВГ\r\n", ImportVariant::Txt),
            (Records{"[Кабели]", "1#ВВГ"}));
  EXPECT_EQ(ReadAll(Utf8ToCp1251("#T,a\r\n1,ВВГ\r\n"), ImportVariant::Csv),
            (Records{"[T]", "1#ВВГ"}))
      << "without the mark the file is Windows-1251";
}

TEST_F(GetClassTest, TxtLineWithoutTabStartsATableAndSkipsItsFieldNames) {
  EXPECT_EQ(ReadAll(Utf8ToCp1251(
                        " Узлы \r\nKey\tName\t\r\n1\t\"ТП\", 'a'\r\nКабели\r\nMark\r\nАВВГ\t\r\n"),
                    ImportVariant::Txt),
            (Records{"[Узлы]", "1#\"ТП\", 'a'", "[Кабели]", "АВВГ#"}));
}

TEST_F(GetClassTest, CsvLastLineWithoutLineEndAndLoneCarriageReturns) {
  EXPECT_EQ(ReadAll("#T,\r1,2\r3,4", ImportVariant::Csv), (Records{"[T]", "1#2", "3#4"}));
}

TEST_F(GetClassTest, XmlRowNameChangesStartTables) {
  EXPECT_EQ(ReadAll("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DataRoot>\n"
                    "  <A a=\"1\"/>\n  <A a=\"2\"/>\n  <B a=\"3\"/>\n  <A a=\"4\"/>\n</DataRoot>",
                    ImportVariant::Xml, "a"),
            (Records{"[A]", "1", "2", "[B]", "3", "[A]", "4"}));
}

TEST_F(GetClassTest, XmlFieldsGoToTheirPlacesUnknownOnesAreSkipped) {
  EXPECT_EQ(ReadAll("<Model><R c=\"3\" zz=\"9\"><a> 1 </a><deep><x>no</x></deep></R>"
                    "<R><a>only a</a></R><R q=\"\"/></Model>",
                    ImportVariant::Xml, "a#b#c"),
            (Records{"[R]", " 1 ##3", "only a", ""}));
}

TEST_F(GetClassTest, Xml1251ValuesComeBackAsProgramText) {
  const std::string file = Utf8ToCp1251(
      "<?xml version=\"1.0\" encoding=\"windows-1251\"?><Model>"
      "<T n=\"Ёлка &amp; «ТП» №5 20 °C\"><m>&lt;a&gt; &quot;b&quot; &apos;c&apos;</m></T></Model>");
  PutText(files, "in", file);
  GetClass get(ui, files);
  ASSERT_TRUE(get.OpenPath("in", ImportVariant::Xml));
  EXPECT_FALSE(get.Utf8());
  get.SetFieldNames("n#m");
  ASSERT_TRUE(get.ReadRecord());
  ASSERT_TRUE(get.ReadRecord());
  EXPECT_EQ(get.GetStr(0), "Ёлка & «ТП» №5 20 °C");
  EXPECT_EQ(get.GetStr(1), "<a> \"b\" 'c'");
  EXPECT_FALSE(get.ReadRecord());
}

TEST_F(GetClassTest, XmlWithoutRootIsNotOpened) {
  for (const char* text : {"", "<?xml version=\"1.0\"?>", "just text",
                           "<?xml version=\"1.0\" "
                           "encoding=\"KOI8-R\"?><a/>"}) {
    EXPECT_EQ(ReadAll(text, ImportVariant::Xml), (Records{"<not opened>"})) << text;
  }
  ASSERT_EQ(ui.Messages().size(), 4u);
  EXPECT_TRUE(ui.Messages()[0].starts_with("in: Ошибка чтения файла in#")) << ui.Messages()[0];
}

TEST_F(GetClassTest, XmlDocumentTypesAreRefused) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
      "<m><r v=\"&c;\"/></m>";
  EXPECT_EQ(ReadAll(laughs, ImportVariant::Xml, "v"), (Records{"<not opened>"}));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].find("Объявление типа документа"), std::string::npos);
}

TEST_F(GetClassTest, DamagedXmlGivesTheRowsBeforeTheDamageThenAMessage) {
  EXPECT_EQ(ReadAll("<m><r v=\"1\"/><r v=\"2\"/><r v=\"3\"></m>", ImportVariant::Xml, "v"),
            (Records{"[r]", "1", "2"}));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].find("(строка 1)"), std::string::npos) << ui.Messages()[0];
}

TEST_F(GetClassTest, OversizedInputIsRefusedWithAMessage) {
  const std::string longValue(XmlRowReader::kMaxValueBytes + 1, 'x');
  EXPECT_EQ(ReadAll("<m><r><v>" + longValue + "</v></r></m>", ImportVariant::Xml, "v"),
            (Records{}));
  EXPECT_EQ(ReadAll("<m><r v=\"" + longValue + "\"/></m>", ImportVariant::Xml, "v"), (Records{}));
  std::string deep = "<m><r>";
  for (int i = 0; i < 300; ++i) deep += "<d>";
  EXPECT_EQ(ReadAll(deep, ImportVariant::Xml, "v"), (Records{}));
  const std::string endless(XmlRowReader::kMaxPendingBytes + 100000, 'x');
  EXPECT_EQ(ReadAll("<m><r v=\"1\"/><!--" + endless, ImportVariant::Xml, "v"),
            (Records{"[r]", "1"}))
      << "an unfinished comment is not held whole";
  const std::string longLine(GetClass::kMaxLineBytes + 10, 'x');
  EXPECT_EQ(ReadAll("#T,\r\n1,2\r\n" + longLine + "\r\n3,4\r\n", ImportVariant::Csv),
            (Records{"[T]", "1#2"}));
  EXPECT_EQ(ui.Messages().size(), 5u);
}

TEST_F(GetClassTest, MissingFileGivesAMessage) {
  GetClass get(ui, files);
  EXPECT_FALSE(get.OpenPath("absent.csv", ImportVariant::Csv));
  EXPECT_FALSE(get.ReadRecord());
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(GetClassTest, OpenDialogFilterChoosesTheFormat) {
  PutText(files, "/d/a.xml", "<m><r v=\"5\"/></m>");
  ui.ChooseFile("/d/a.xml", 3);
  GetClass get(ui, files);
  ASSERT_TRUE(get.Open("Импорт", "/d/model"));
  EXPECT_EQ(get.Variant(), ImportVariant::Xml);
  ASSERT_EQ(ui.Calls().size(), 1u);
  EXPECT_EQ(ui.Calls()[0].kind, "open");
  EXPECT_EQ(ui.Calls()[0].caption, "Импорт");
  EXPECT_EQ(ui.Calls()[0].text, kImportFilter);
  get.SetFieldNames("v");
  ASSERT_TRUE(get.ReadRecord());
  ASSERT_TRUE(get.ReadRecord());
  EXPECT_EQ(get.GetInt(0), 5);
  EXPECT_EQ(get.GetStr(3), "");

  ui.CancelInput();
  EXPECT_FALSE(get.Open("Импорт", "/d/model"));
}

TEST_F(GetClassTest, EveryRecordTellsTheLineWhereItStands) {
  // The line is how an engineer finds a faulty row of an import: blank
  // lines and the TXT field-name line count, an XML row starts at its tag.
  const auto lines = [this](const std::string& text, ImportVariant variant) {
    PutText(files, "in", text);
    GetClass get(ui, files);
    std::vector<int> found;
    if (!get.OpenPath("in", variant)) return found;
    get.SetFieldNames("v");
    while (get.ReadRecord()) found.push_back(get.RecordLine());
    return found;
  };
  EXPECT_EQ(lines("#T,a\r\n1\r\n\r\n\r\n2\r\n#U\r\n3", ImportVariant::Csv),
            (std::vector<int>{1, 2, 5, 6, 7}));
  EXPECT_EQ(lines("T\r\nv\tw\r\n1\t2\r\n\r\n3\t4\r\n", ImportVariant::Txt),
            (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(lines("<?xml version=\"1.0\"?>\n<Model>\n<R v=\"1\"/>\n<R>\n  <v>2</v>\n</R>\n</Model>",
                  ImportVariant::Xml),
            (std::vector<int>{3, 3, 4}))
      << "the table start and the first row are the same element";
}

TEST_F(GetClassTest, XmlTellsItsRootAndAReopenedFileStartsAgain) {
  PutText(files, "in.xml", "<DataRoot><R v=\"1\"/><R v=\"2\"/></DataRoot>");
  GetClass get(ui, files);
  ASSERT_TRUE(get.OpenPath("in.xml", ImportVariant::Xml));
  EXPECT_EQ(get.RootName(), "DataRoot");
  get.SetFieldNames("v");
  while (get.ReadRecord()) {
  }
  ASSERT_TRUE(get.Reopen());
  EXPECT_EQ(get.Variant(), ImportVariant::Xml);
  ASSERT_TRUE(get.ReadRecord());
  EXPECT_TRUE(get.IsTableStart());
  ASSERT_TRUE(get.ReadRecord());
  EXPECT_EQ(get.GetInt(0), 1);

  PutText(files, "in.csv", "#T,a\r\n1\r\n");
  ASSERT_TRUE(get.OpenPath("in.csv", ImportVariant::Csv));
  EXPECT_EQ(get.RootName(), "");
  files.Remove("in.csv");
  EXPECT_FALSE(get.Reopen());
  EXPECT_TRUE(get.Failed());
  EXPECT_EQ(ui.Messages().size(), 1u);
  EXPECT_FALSE(GetClass(ui, files).Reopen()) << "nothing was opened before";
}

}  // namespace
}  // namespace kordavelt
