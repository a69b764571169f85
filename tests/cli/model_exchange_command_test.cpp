// A model moved through an exchange file from the command line: import
// creates the model when it is missing, export writes it back row for row,
// and the arguments a script gets wrong end with the usage exit code.

#include "cli/model_exchange_command.h"

#include <gtest/gtest.h>

#include "cli/cli_run.h"

namespace kordavelt {
namespace {

using testing::CliRun;
using testing::PutText;
using testing::RunTool;
using testing::TextOf;

// A transformer substation: a source on the bus, a cable to a board, a motor.
constexpr std::string_view kSubstation =
    "#Consumer,Group,Key\r\n"
    "М1,М1,1.1,0,0,0,0,0,ABC,Y,Насос,,0,0,380,3,C,АД,55,30,0,0,0,0.7,0.8,0,0,2.1,255\r\n"
    "\r\n#PowerSupply,Key\r\n"
    "Т1,1,380,0,0,0,255,1.0,255,400,12.5,8,0.02\r\n"
    "\r\n#Node,Key\r\n"
    "ТП,1,0,0,0,0,380,0,0\r\n"
    "ЩР,2,0,0,0,0,380,0,0\r\n"
    "\r\n#Cable,KeyBeg\r\n"
    "КЛ1,1.1,2.2,0,255,95,1,0,0,120,1,Откр,0\r\n";

TEST(ModelExchangeCommandTest, ImportCreatesTheModelThatExportWritesBack) {
  MemoryFileSystem files;
  PutText(files, "/in/plant.csv", kSubstation);
  const CliRun imported = RunTool(files, {"import-model", "/m/plant.LVN", "/in/plant.csv"});
  ASSERT_EQ(imported.code, kExitOk) << imported.err;
  EXPECT_EQ(imported.out, "/m/plant.LVN: строк принято 5, пропущено 0\n");
  EXPECT_EQ(RunTool(files, {"check", "/m/plant.LVN"}).code, kExitOk);

  const CliRun exported =
      RunTool(files, {"export-model", "/m/plant.LVN", "/out/plant.TXT", "--variant", "3"});
  ASSERT_EQ(exported.code, kExitOk) << exported.err;
  const std::string text = TextOf(files, "/out/plant.TXT");
  EXPECT_NE(text.find("КЛ1\t1.1\t2.2\t0\t255\t95\t1\t0\t0\t120\t1\tОткр\t0"), std::string::npos)
      << text;

  // Into a second model and out again: the same file.
  ASSERT_EQ(RunTool(files, {"import-model", "/m/copy.LVN", "/out/plant.TXT"}).code, kExitOk);
  ASSERT_EQ(RunTool(files, {"export-model", "/m/copy.LVN", "/out/copy.TXT", "--variant", "3"}).code,
            kExitOk);
  EXPECT_EQ(TextOf(files, "/out/copy.TXT"), text);
}

TEST(ModelExchangeCommandTest, ANewModelUsesTheBookNamedOnTheCommandLine) {
  MemoryFileSystem files;
  PutText(files, "/in/plant.csv", kSubstation);
  PutText(files, "/in/book.csv",
          "#SPred,NN,Type,Unom,Inom\r\n1,ШМА4-1250,380,1250,0,0.03,0.016,0.12,0.13,0\r\n");
  ASSERT_EQ(RunTool(files, {"import-book", "/books/Plant.SPR", "/in/book.csv"}).code, kExitOk);

  const CliRun run = RunTool(
      files, {"import-model", "/m/plant.LVN", "/in/plant.csv", "--book", "/books/Plant.SPR"});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(
      RunTool(files, {"export-model", "/m/plant.LVN", "/out/p.csv", "--book", "/books/Plant.SPR"})
          .code,
      kExitOk);
  // No empty book of the default name appeared anywhere.
  EXPECT_FALSE(files.Exists("/m/Kordavelt.SPR"));
  EXPECT_FALSE(files.Exists("/books/Kordavelt.SPR"));
}

TEST(ModelExchangeCommandTest, WrongArgumentsEndWithTheUsageCode) {
  MemoryFileSystem files;
  PutText(files, "/in/plant.csv", kSubstation);
  EXPECT_EQ(RunTool(files, {"import-model", "/m/plant.LVN"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"import-model", "/m/plant.LVN", "/in/none.csv"}).code, kExitUsage);
  EXPECT_FALSE(files.Exists("/m/plant.LVN")) << "no model made for a missing file";
  EXPECT_EQ(
      RunTool(files, {"import-model", "/m/plant.LVN", "/in/plant.csv", "--book", "/b.SPR"}).code,
      kExitUsage);
  EXPECT_EQ(RunTool(files, {"export-model", "/m/none.LVN", "/out.csv"}).code, kExitUsage);
  ASSERT_EQ(RunTool(files, {"import-model", "/m/plant.LVN", "/in/plant.csv"}).code, kExitOk);
  EXPECT_EQ(RunTool(files, {"export-model", "/m/plant.LVN", "/out.csv", "--variant", "8"}).code,
            kExitUsage);
  EXPECT_EQ(RunTool(files, {"export-model", "/m/plant.LVN", "/out.csv", "--hex"}).code, kExitUsage);
}

}  // namespace
}  // namespace kordavelt
