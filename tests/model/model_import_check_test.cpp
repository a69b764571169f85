// The check of a model exchange file before its import: a hostile or
// foreign file used to be read as zeros, cut fractions and silently
// overwritten records. Every fault must now be named by its line, section,
// column and text, and a file of the program's own forms must pass.

#include "model/model_import_check.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "exchange/get_class.h"
#include "model/model_builder.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;
using Problems = std::vector<std::string>;

class ModelImportCheckTest : public ::testing::Test {
 protected:
  // Checks program text (UTF-8) written as a Windows-1251 file of `variant`
  // against the settings of an empty model.
  ModelImportReport Check(std::string_view text, ImportVariant variant = ImportVariant::Csv) {
    const std::string bytes = Utf8ToCp1251(text);
    m.files.Put("/in/model.txt", {bytes.begin(), bytes.end()});
    GetClass get(m.ui, m.files);
    EXPECT_TRUE(get.OpenPath("/in/model.txt", variant));
    return CheckModelFile(get, m->Settings());
  }

  Problems ProblemsOf(std::string_view text, ImportVariant variant = ImportVariant::Csv) {
    const ModelImportReport report = Check(text, variant);
    EXPECT_EQ(report.problemCount, static_cast<int>(report.problems.size()));
    return report.problems;
  }

  ModelBuilder m;
};

// A busbar row "У1" (node 1, 380 V) on line 2, with `value` in column `position`.
std::string NodeRow(int position, std::string_view value) {
  std::vector<std::string> cells = {"У1", "1", "0", "0", "0", "0", "380", "0.85", "0"};
  cells[static_cast<std::size_t>(position)] = value;
  std::string row = "#Node,Key\r\n";
  for (std::size_t i = 0; i < cells.size(); ++i) row += (i > 0 ? "," : "") + cells[i];
  return row + "\r\n";
}

constexpr int kKo = 7;  // the node's float factor

TEST_F(ModelImportCheckTest, NumericCellsMustBeNumbersThatFitTheirField) {
  // "1.5" used to overwrite node 1.
  EXPECT_EQ(ProblemsOf(NodeRow(1, "1.5")), Problems{"строка 2, Node, Key: «1.5» — не целое число"});
  EXPECT_EQ(ProblemsOf(NodeRow(1, "65536")),
            Problems{"строка 2, Node, Key: «65536» — больше 65535"});
  EXPECT_EQ(ProblemsOf(NodeRow(1, "-1")), Problems{}) << "found by its designation";
  EXPECT_EQ(ProblemsOf(NodeRow(3, "40000")),
            Problems{"строка 2, Node, x: «40000» — вне диапазона -32768…32767"});
  EXPECT_EQ(ProblemsOf(NodeRow(kKo, "3.5e38")),
            Problems{"строка 2, Node, Ko: «3.5e38» — вне диапазона ±3.4E+38"});
  EXPECT_EQ(ProblemsOf(NodeRow(kKo, "0x10")), Problems{"строка 2, Node, Ko: «0x10» — не число"});
  EXPECT_EQ(ProblemsOf(NodeRow(kKo, "1.2346E+05")), Problems{}) << "FormatNumber's exponent form";
  EXPECT_EQ(ProblemsOf("#Cable,KeyBeg\r\nКЛ1,1.1,2.1,0,255,95,256,0,0,120,1,Откр,0\r\n"),
            Problems{"строка 2, Cable, Type: «256» — вне диапазона 0…255"})
      << "Nk, a byte, stands under the header name Type, as in the file";
}

TEST_F(ModelImportCheckTest, KeysOfNodeAndSlotOrGroupAndNumberHaveBothPartsInRange) {
  EXPECT_EQ(ProblemsOf("#Breaker,KeyBeg\r\n"
                       "QF1,1.300,2.1,0,255,2101,0.9\r\n"
                       "QF2,70000.1,2.2,0,255,2101,0.9\r\n"
                       "QF3,1.2.3,0.0,0,255,2101,0.9\r\n"),
            (Problems{
                "строка 2, Breaker, KeyBeg: «1.300» — присоединение: вне диапазона 0…255",
                "строка 3, Breaker, KeyBeg: «70000.1» — узел: вне диапазона 0…65535",
                "строка 4, Breaker, KeyBeg: «1.2.3» — присоединение: не целое число",
            }));
  EXPECT_EQ(ProblemsOf("М1,М1,1.1024,0,0,0,0,0,ABC,Y,Насос\r\n"),
            Problems{"строка 1, Consumer, Key: «1.1024» — номер: вне диапазона 0…1023"});
}

TEST_F(ModelImportCheckTest, ListCellsRefuseStrangersUnlessTheImportHasItsOwnDefault) {
  EXPECT_EQ(ProblemsOf(NodeRow(6, "400")),
            Problems{"строка 2, Node, Unom: «400» — нет в списке напряжений: 380, 660, 6000, "
                     "10000, 230"});
  EXPECT_EQ(ProblemsOf(NodeRow(6, "")), Problems{}) << "an empty voltage keeps the node's";
  EXPECT_EQ(ProblemsOf("#Cable,KeyBeg\r\nКЛ1,1.1,2.1,0,255,95,1,0,0,120,1,Подвес,0\r\n"),
            Problems{"строка 2, Cable, Kpr: «Подвес» — нет в списке: Откр, Трнш, Блок"})
      << "the laying stands under the header name Kpr, as in the file";
  // The phase follows the number of phases, the regime and kind take their first item.
  EXPECT_EQ(ProblemsOf("М1,М1,1.1,0,0,0,0,0,ABCN,Y,Насос,,0,0,380,3,Q,Мотор\r\n"), Problems{});
  EXPECT_EQ(ProblemsOf("М1,М1,1.1,0,0,0,0,0,ABC,1,Насос\r\n"),
            Problems{"строка 1, Consumer, is_rab: «1» — не «Y» и не «N»"})
      << "GetBool would read 1 as no";
  EXPECT_EQ(ProblemsOf("#XYBranch,Key\r\n"
                       ",1.1,Cable,N,0,0,0,0,0,0,1,0,1,2\r\n"
                       ",1.2,50,Да,0,0,0,0,0,0,1,0,1,2\r\n"
                       ",1.3,Room,N,0,0,0,0,0,0,1,0,1,2\r\n"),
            Problems{"строка 4, XYBranch, ObjType: «Room» — неизвестный вид объекта"});
}

TEST_F(ModelImportCheckTest, RowsMayEndEarlyButOnlyTheirOptionalTailMayBeEmpty) {
  // A source and a receiver without a branch, as the XML forms write them.
  EXPECT_EQ(
      ProblemsOf("#PowerSupply,Key\r\n"
                 "Т9,0,380,0,0,0,0\r\n"
                 "Т1,1,380,120.5,40,127.0,255,,,,,,,,,\r\n"
                 "#Consumer,Key\r\n"
                 "М1,М1,1.1,0,0,0,0,0,ABC,Y,Насос,,0,0,380,3,C,АД,55,30,0,0,0,0.7,0.8,0,0,,\r\n"
                 "#XYBranch,Key\r\n"
                 ",1.1,Cable,N,0,0,0,0,0,0,1,0,1,2,,,,\r\n"),
      Problems{});
  EXPECT_EQ(ProblemsOf("М1,М1,1.1,0,0,0,0,0,ABC,Y,Насос,,0,0,,3\r\n"),
            Problems{"строка 1, Consumer, Unom: «» — пустое значение"});
}

TEST_F(ModelImportCheckTest, AKeyRepeatedInItsSectionIsReportedWithItsFirstLine) {
  EXPECT_EQ(ProblemsOf("#Node,Key\r\n"
                       "У1,1,0,0,0,0,380,0,0\r\n"
                       "У2,2,0,0,0,0,380,0,0\r\n"
                       "У3,1,0,0,0,0,380,0,0\r\n"
                       "#XYNode,Key\r\n"
                       "У1,1,N,0,0,4,0,0,1\r\n"
                       "У1,1,N,9,0,4,0,0,2\r\n"
                       "У1,1,Y,0,0,4,0,0,1\r\n"
                       "#Node,Key\r\n"
                       "У9,2,0,0,0,0,380,0,0\r\n"),
            (Problems{
                "строка 4, Node, Key: «1» — ключ повторяется (впервые в строке 2)",
                "строка 8, XYNode, Key: «1» — ключ повторяется (впервые в строке 6)",
                "строка 10, Node, Key: «2» — ключ повторяется (впервые в строке 3)",
            }))
      << "a node is drawn once per page";
  // Rows found by designation, and one key in two sections, are no repeats.
  EXPECT_EQ(ProblemsOf("#PowerSupply,Key\r\n"
                       "Т1,-1,380,0,0,0,0\r\n"
                       "Т2,-1,380,0,0,0,0\r\n"
                       "#Consumer,Key\r\n"
                       "М1,,0.0,0,0,0,0,0,ABC,Y\r\n"
                       "М2,,0.0,0,0,0,0,0,ABC,Y\r\n"
                       "#Cable,KeyBeg\r\n"
                       "КЛ1,1.1,2.1,0,255,95,1,0,0,120,1,Откр,0\r\n"
                       "#XYBranch,Key\r\n"
                       ",1.1,Cable,N,0,0,0,0,0,0,1,0,1,2\r\n"),
            Problems{});
}

TEST_F(ModelImportCheckTest, AnUnknownSectionRefusesTheFile) {
  EXPECT_EQ(ProblemsOf("#Node,Key\r\n"
                       "У1,1,0,0,0,0,380,0,0\r\n"
                       "#Lamps,Key\r\n"
                       "Л1,abc\r\n"
                       "#BuswayS,KeyBeg\r\n"
                       "ШМ1,1.1,2.1,0,255,18\r\n"
                       "#CTransf,KeyBeg\r\n"
                       "ТА1,1.2,2.2,0,255,3401\r\n"
                       "#Rele,KeyBeg\r\n"
                       "K1,1.3,0.0,0,1,5\r\n"),
            Problems{"строка 3: неизвестный раздел «Lamps»"})
      << "its rows belong to no section and are not checked; the export's own names are known";
  // Rows before any section are receivers.
  EXPECT_EQ(ProblemsOf("М1,М1,abc,0,0,0,0,0,ABC,Y\r\n"),
            Problems{"строка 1, Consumer, Key: «abc» — не число"});
}

TEST_F(ModelImportCheckTest, AnXmlFileIsAModelOnlyUnderTheRootModel) {
  EXPECT_EQ(ProblemsOf("<?xml version=\"1.0\"?>\n<DataRoot>\n<Node Key=\"1\"/>\n</DataRoot>",
                       ImportVariant::Xml),
            Problems{"корневой элемент XML «DataRoot» вместо «Model»: это не файл модели"});
  EXPECT_EQ(ProblemsOf("<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n<Model>\n"
                       "<Node Descript=\"У1\" Key=\"1\"/>\n"
                       "<Node>\n  <Descript>У2</Descript>\n  <Key>2.5</Key>\n</Node>\n</Model>",
                       ImportVariant::Xml),
            Problems{"строка 4, Node, Key: «2.5» — не целое число"})
      << "the line of the row's start tag";
}

TEST_F(ModelImportCheckTest, AHostileFileIsCountedWholeButOnlyItsFirstTextsAreKept) {
  std::string text = "#Node,Key\r\n";
  for (int i = 0; i < 1000; ++i) text += "У,nan,0,0,0,0,380,0,0\r\n";
  const ModelImportReport report = Check(text);
  EXPECT_EQ(report.problemCount, 1000);
  ASSERT_EQ(report.problems.size(), static_cast<std::size_t>(ModelImportReport::kMaxTexts));
  EXPECT_EQ(report.problems.back(), "строка 101, Node, Key: «nan» — не число");

  const std::string longCell(5000, 'x');
  EXPECT_EQ(ProblemsOf(NodeRow(kKo, longCell)),
            Problems{"строка 2, Node, Ko: «" + std::string(40, 'x') + "…» — не число"});
}

}  // namespace
}  // namespace kordavelt
