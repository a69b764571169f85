// The book's exchange from the command line: a catalogue built from a file,
// written out again, imported twice without doubling, refused when a number
// is not one, and the exit codes a script relies on.

#include "cli/book_command.h"

#include <gtest/gtest.h>

#include "cli/cli_run.h"

namespace kordavelt {
namespace {

using testing::CliRun;
using testing::PutText;
using testing::RunTool;
using testing::TextOf;

constexpr std::string_view kTrunkingFile =
    "#SPred,NN,Type,Unom,Inom\r\n"
    "1,ШМА4-1250,380,1250,0,0.03,0.016,0.12,0.13,0\r\n"
    "2,ШМА4-1600,380,1600,0,0.02,0.014,0.1,0.11,0\r\n";

TEST(BookCommandTest, ImportBuildsABookThatExportWritesBack) {
  MemoryFileSystem files;
  PutText(files, "/in.csv", kTrunkingFile);
  const CliRun imported = RunTool(files, {"import-book", "/new.SPR", "/in.csv"});
  EXPECT_EQ(imported.code, kExitOk) << imported.err;
  EXPECT_EQ(imported.out, "/new.SPR: добавлено типов: 2, пропущено повторов: 0\n");
  EXPECT_EQ(RunTool(files, {"check", "/new.SPR"}).code, kExitOk);

  const CliRun exported = RunTool(files, {"export-book", "/new.SPR", "/out.csv"});
  EXPECT_EQ(exported.code, kExitOk) << exported.err;
  const std::string text = TextOf(files, "/out.csv");
  EXPECT_EQ(text.find("#SPred"), 0u) << text;
  EXPECT_NE(text.find("ШМА4-1600"), std::string::npos);

  // The written file read into a second book gives the same table.
  EXPECT_EQ(RunTool(files, {"import-book", "/copy.SPR", "/out.csv"}).code, kExitOk);
  EXPECT_EQ(RunTool(files, {"export-book", "/copy.SPR", "/copy.csv"}).code, kExitOk);
  EXPECT_EQ(TextOf(files, "/copy.csv"), text);
}

TEST(BookCommandTest, SeveralFilesAreImportedInTheirOrder) {
  MemoryFileSystem files;
  PutText(files, "/brands.csv", "#SMarka,NN,Type\r\n1,ВВГ,Медь,ПВХ,ПВХ,Нет,70,160,350,0\r\n");
  PutText(files, "/cables.csv",
          "#SPriz,NN\r\n1,380,ВВГ,4,16,0,115,80,1.15,0.09,2.12,1.14,0,0,0\r\n");
  const CliRun run = RunTool(files, {"import-book", "/b.SPR", "/brands.csv", "/cables.csv"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out, "/b.SPR: добавлено типов: 2, пропущено повторов: 0\n");
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/out.csv"}).code, kExitOk);
  EXPECT_NE(TextOf(files, "/out.csv").find("\r\n1,380,ВВГ,4,"), std::string::npos)
      << "the cable found the brand of the file before: " << TextOf(files, "/out.csv");
}

TEST(BookCommandTest, VariantsAndSeparatorsAreChosenByOptions) {
  MemoryFileSystem files;
  PutText(files, "/in.csv", "#SPred;NN;Type\r\n1;ШМА4;380;1250;0;0.03;0.016;0.12;0.13;0\r\n");
  ASSERT_EQ(RunTool(files, {"import-book", "/b.SPR", "/in.csv", "--separator", ";"}).code, kExitOk);
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/b.xml", "--variant", "5"}).code, kExitOk);
  const std::string xml = TextOf(files, "/b.xml");
  EXPECT_NE(xml.find("encoding=\"UTF-8\""), std::string::npos) << xml;

  ASSERT_EQ(RunTool(files, {"import-book", "/x.SPR", "/b.xml"}).code, kExitOk);
  ASSERT_EQ(RunTool(files, {"export-book", "/x.SPR", "/x.csv"}).code, kExitOk);
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/b.csv"}).code, kExitOk);
  EXPECT_EQ(TextOf(files, "/x.csv"), TextOf(files, "/b.csv"));
}

TEST(BookCommandTest, TheSameFileTwiceAddsItsTypesOnceUnlessRepeatsAreAsked) {
  MemoryFileSystem files;
  PutText(files, "/in.csv", kTrunkingFile);
  ASSERT_EQ(RunTool(files, {"import-book", "/b.SPR", "/in.csv"}).code, kExitOk);
  const CliRun again = RunTool(files, {"import-book", "/b.SPR", "/in.csv"});
  EXPECT_EQ(again.code, kExitOk) << again.err;
  EXPECT_EQ(again.out, "/b.SPR: добавлено типов: 0, пропущено повторов: 2\n");

  const CliRun appended =
      RunTool(files, {"import-book", "/b.SPR", "/in.csv", "--append-duplicates"});
  EXPECT_EQ(appended.code, kExitOk) << appended.err;
  EXPECT_EQ(appended.out, "/b.SPR: добавлено типов: 2, пропущено повторов: 0\n");
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/out.csv"}).code, kExitOk);
  const std::string text = TextOf(files, "/out.csv");
  EXPECT_NE(text.find("\r\n4,ШМА4-1600,"), std::string::npos) << text;
}

TEST(BookCommandTest, NumbersThatAreNoneFailTheImportWithTheirLinesAndChangeNothing) {
  MemoryFileSystem files;
  PutText(files, "/in.csv", kTrunkingFile);
  ASSERT_EQ(RunTool(files, {"import-book", "/b.SPR", "/in.csv"}).code, kExitOk);
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/before.csv"}).code, kExitOk);

  std::string hostile = "#SPred,Type,Unom,Inom,CrossCectF,R1,X1,R0,X0,Ipermiss,Code\r\n";
  const std::vector<std::string> numbers = {"0.05", "abc", "0x10", "nan", "inf", "1e309", ""};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    hostile += std::to_string(i + 1) + ",ШМА5-" + std::to_string(i) + ",380,1000,0," + numbers[i] +
               ",0.01,0.1,0.1,0\r\n";
  }
  PutText(files, "/hostile.csv", hostile);
  const CliRun run = RunTool(files, {"import-book", "/b.SPR", "/hostile.csv"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_NE(run.err.find("/hostile.csv: строка 3, SPred, R1 (Rф): «abc» — не число\n"
                         "/hostile.csv: строка 4, SPred, R1 (Rф): «0x10» — не число\n"
                         "/hostile.csv: строка 5, SPred, R1 (Rф): «nan» — не число\n"
                         "/hostile.csv: строка 6, SPred, R1 (Rф): «inf» — не число\n"
                         "/hostile.csv: строка 7, SPred, R1 (Rф): «1e309» — вне диапазона чисел\n"
                         "/hostile.csv: строка 8, SPred, R1 (Rф): «» — пустое значение\n"),
            std::string::npos)
      << run.err;
  ASSERT_EQ(RunTool(files, {"export-book", "/b.SPR", "/after.csv"}).code, kExitOk);
  EXPECT_EQ(TextOf(files, "/after.csv"), TextOf(files, "/before.csv")) << "not even the good row";
}

TEST(BookCommandTest, DamagedFilesAndBadArgumentsGiveTheirExitCodes) {
  MemoryFileSystem files;
  PutText(files, "/bad.xml", "<?xml version=\"1.0\"?><DataRoot><SPred><Type>Ш");
  const CliRun damaged = RunTool(files, {"import-book", "/b.SPR", "/bad.xml"});
  EXPECT_EQ(damaged.code, kExitProblems);
  EXPECT_NE(damaged.err.find("Ошибка чтения файла /bad.xml"), std::string::npos) << damaged.err;

  EXPECT_EQ(RunTool(files, {"import-book", "/b.SPR", "/absent.csv"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"export-book", "/absent.SPR", "/o.csv"}).code, kExitUsage);
  EXPECT_EQ(files.Find("/absent.SPR"), nullptr) << "export never creates a book";
  EXPECT_EQ(RunTool(files, {"export-book", "/b.SPR", "/o.csv", "--variant", "8"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"export-book", "/b.SPR"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"import-book", "/b.SPR", "/bad.xml", "--quotes"}).code, kExitUsage);
}

}  // namespace
}  // namespace kordavelt
