// The pieces of the calculation's command-line output: JSON values that read
// back exactly and escape what JSON requires, the aligned text table, and the
// scratch file system that keeps a calculation's writes off the files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "cli/json_object.h"
#include "cli/scratch_file_system.h"
#include "cli/text_table.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

// Catches numbers cut to six digits (a float that reads back as another),
// NaN or infinities written as JSON cannot read them, and texts not escaped.
TEST(JsonObject, NumbersReadBackExactlyAndTextsAreEscaped) {
  for (const float value : {0.1f, 398.47113f, -1.0e-7f, 99999.0f, 16777217.0f, 3.4e38f}) {
    EXPECT_EQ(std::strtof(JsonNumber(value).c_str(), nullptr), value) << JsonNumber(value);
  }
  EXPECT_EQ(JsonNumber(std::numeric_limits<float>::quiet_NaN()), "null");
  EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(JsonString("a\"b\\c\nd\te\x01"), R"("a\"b\\c\nd\te\u0001")");
  EXPECT_EQ(JsonString("#Iдоп!Кч1ф!"), "\"#Iдоп!Кч1ф!\"");

  JsonObject o;
  o.Add("key", -257).Add("Z1", Complex{1.5f, -0.25f}).Add("ok", true).Add("v", "");
  o.Add("t", std::numeric_limits<float>::infinity());
  EXPECT_EQ(o.Text(), R"({"key":-257,"Z1":[1.5,-0.25],"ok":true,"v":"","t":null})");
}

class FakeTable : public TableOwner {
 public:
  explicit FakeTable(TableForm& form) {
    form.head1 = "№#Обозначение#Iр#Схема";
    form.head2 = "#-#А#";
    form.rowCount = 2;
  }
  void OnLine(TableForm& form) override {
    form.line = form.lineNo == 1 ? " 1#Кабель К-1#125.5#@A1" : "2# Т1 #7#";
  }
};

// Catches columns padded by bytes rather than characters (Cyrillic cells
// would push the next column), numbers not aligned, headers that do not
// stand over their numbers (the source columns of "Loads" once wandered
// off to the left of theirs), and pictures printed as their symbol language.
TEST(TextTable, ColumnsArePaddedToTheirWidestCellInCharacters) {
  TableForm form;
  FakeTable table(form);
  testing::ScriptedUiHost ui;
  EXPECT_EQ(RenderTextTable(table, form, ui),
            "№  Обозначение     Iр  Схема\n"
            "   -                А\n"
            "1  Кабель К-1   125.5  рис.\n"
            "2  Т1               7\n");
}

// A column of numbers with "-" where a row has no value stays aligned on the
// right, its headers and dashes with it; check boxes read as their values.
TEST(TextTable, NumberColumnsKeepTheirHeadersAndDashesOnTheRight) {
  class Loads : public TableOwner {
   public:
    explicit Loads(TableForm& form) {
      form.head1 = "№#Наименование#КПД#1#Само-";
      form.head2 = "#-#%#ИП1#запуск";
      form.rowCount = 3;
    }
    void OnLine(TableForm& form) override {
      const char* rows[] = {"3#Компрессор#92.5#1#@s0r22DDp6B35447BC2e", "9#Сварка#-##@s0r22DDe",
                            "#Sр(кВА)##121.41#"};
      form.line = rows[form.lineNo - 1];
    }
  };
  TableForm form;
  Loads table(form);
  testing::ScriptedUiHost ui;
  EXPECT_EQ(RenderTextTable(table, form, ui),
            "№  Наименование   КПД       1  Само-\n"
            "   -                %     ИП1  запуск\n"
            "3  Компрессор    92.5       1  Да\n"
            "9  Сварка           -          Нет\n"
            "   Sр(кВА)             121.41\n");
}

// Catches a write, a new file, a rename or a removal that reaches the files
// underneath, or a command that does not see its own changes afterwards.
TEST(ScratchFileSystem, ChangesStayInMemoryAndAreSeenThere) {
  MemoryFileSystem disk;
  disk.Put("/m/a.LVN", {1, 2, 3});
  disk.Put("/m/b.SPR", {9});
  ScratchFileSystem scratch(disk);

  auto file = scratch.Open("/m/a.LVN", OpenMode::ReadWrite);
  ASSERT_NE(file, nullptr);
  const std::uint8_t seven = 7;
  EXPECT_EQ(file->WriteAt(3, ConstBytes(&seven, 1)), 1);
  EXPECT_EQ(scratch.FileSize("/m/a.LVN"), 4);
  EXPECT_TRUE(scratch.Copy("/m/a.LVN", "/m/a.~LVN"));
  EXPECT_TRUE(scratch.Rename("/m/b.SPR", "/m/c.SPR"));
  EXPECT_NE(scratch.Open("/m/new.LVN", OpenMode::Create), nullptr);
  EXPECT_TRUE(scratch.Remove("/m/a.LVN"));

  EXPECT_FALSE(scratch.Exists("/m/a.LVN"));
  EXPECT_EQ(scratch.Open("/m/a.LVN", OpenMode::ReadOnly), nullptr);
  EXPECT_FALSE(scratch.Exists("/m/b.SPR"));
  EXPECT_EQ(scratch.FileSize("/m/a.~LVN"), 4);
  EXPECT_EQ(scratch.FileSize("/m/c.SPR"), 1);
  EXPECT_TRUE(scratch.Exists("/m/new.LVN"));

  EXPECT_EQ(*disk.Find("/m/a.LVN"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_NE(disk.Find("/m/b.SPR"), nullptr);
  EXPECT_EQ(disk.Find("/m/a.~LVN"), nullptr);
  EXPECT_EQ(disk.Find("/m/c.SPR"), nullptr);
  EXPECT_EQ(disk.Find("/m/new.LVN"), nullptr);
}

}  // namespace
}  // namespace kordavelt
