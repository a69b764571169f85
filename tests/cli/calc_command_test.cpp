// The calculation from the command line, on a feeder sketched with catalogue
// types: 0.4 kV busbars, a copper 4 × 95 mm² cable of 100 m, a 20 kW heater.
// The model is written to the memory file system and closed; the tool opens
// it as a user would. What would go wrong: a calculation that saves the model
// (or the settings of --set) behind the user's back, a status line that is
// not the program's, a listing that does not read back as the record holds,
// numbers calculated from an empty or damaged reference book.

#include "cli/calc_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calc/network_fixture.h"
#include "cli/cli_run.h"
#include "support/db_image_builder.h"

namespace kordavelt::testing {
namespace {

class CalcCommandTest : public NetworkFixture {
 protected:
  static constexpr const char* kBook = "/program/Kordavelt.SPR";

  CalcCommandTest() {
    const int n1 = s.m.Node(), n2 = s.m.Node();
    s.Name(n1, "ШР-1");
    busbar = n1;
    source = Source(n1, 400, 0);
    cable = Cable(n1, n2, 100);
    Load(n2, Group(20, 1, 400));
    // The same calculation in-process, to hold the listing against.
    s.calc.CalcNetwork();
    cableUr = Of(cable).uWork;
    cableIk1 = Of(cable).ikMin[0];
    s.m->SetAskToSave(false);
    s.m->CloseFile();
  }

  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin() + 1, ModelBuilder::kModelPath);
    args.insert(args.end(), {"--book", kBook});
    return RunTool(s.m.files, args);
  }

  std::vector<std::uint8_t> Bytes(const std::string& path) {
    const std::vector<std::uint8_t>* bytes = s.m.files.Find(path);
    return bytes == nullptr ? std::vector<std::uint8_t>() : *bytes;
  }

  ModelBuilder::Tied source;
  int busbar = 0;  // "ШР-1"
  std::int32_t cable = 0;
  float cableUr = 0;
  float cableIk1 = 0;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The number after "key": in a JSON line.
double Number(const std::string& line, const std::string& key) {
  const std::size_t at = line.find("\"" + key + "\":");
  if (at == std::string::npos) return -1e30;
  return std::strtod(line.c_str() + at + key.size() + 3, nullptr);
}

TEST_F(CalcCommandTest, CalcPrintsTheStatusLineAndWritesNothing) {
  const auto model = Bytes(ModelBuilder::kModelPath);
  const auto backup = Bytes("/models/test.~LVN");
  const auto book = Bytes(kBook);
  const CliRun run = Run({"calc"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; \n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Bytes(ModelBuilder::kModelPath), model) << "the calculated flags reached the file";
  EXPECT_EQ(Bytes("/models/test.~LVN"), backup) << "the backup of the open reached the disk";
  EXPECT_EQ(Bytes(kBook), book);
}

TEST_F(CalcCommandTest, SetChangesASettingForTheRunOnly) {
  // A maximum source EMF of 0.4 p.u. stops the calculation before any source.
  const CliRun bad = Run({"calc", "--set", "1329=0.4"});
  EXPECT_EQ(bad.code, kExitProblems);
  EXPECT_EQ(bad.out, "Узлов-2  Ветвей-3  Режим-  Не заданы ЭДС ИП\n");
  EXPECT_NE(bad.err.find("Расчет сети: Не заданы ЭДС ИП"), std::string::npos) << bad.err;
  // A regime name is a text field; the run shows it in the status line.
  const CliRun named = Run({"calc", "--set", "1165=Лето", "--regime", "2"});
  EXPECT_EQ(named.code, kExitOk) << named.err;
  EXPECT_EQ(named.out, "Узлов-2  Ветвей-3  Режим-Лето  Расчет ИП1; \n");

  const CliRun again = Run({"calc"});
  EXPECT_EQ(again.code, kExitOk) << again.err;
  EXPECT_EQ(again.out, "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; \n");
}

TEST_F(CalcCommandTest, ChoiceWorksOnTheModelItselfButKeepsNotTheRunsSettings) {
  s.m.files.Remove("/models/test.~LVN");
  EXPECT_EQ(Run({"calc"}).code, kExitOk);
  EXPECT_EQ(s.m.files.Find("/models/test.~LVN"), nullptr) << "a plain calculation took a backup";

  const std::vector<std::uint8_t> before = *s.m.files.Find(ModelBuilder::kModelPath);
  const CliRun run = Run({"calc", "--choice", "--set", "1337=35"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  // The types fit already: the choice changes nothing, and nothing is written.
  EXPECT_EQ(*s.m.files.Find(ModelBuilder::kModelPath), before);
  EXPECT_EQ(s.m.files.Find("/models/test.~LVN"), nullptr) << "a run that changed nothing wrote";
  s.m->SetFileName(ModelBuilder::kModelPath);
  ASSERT_TRUE(s.m->OpenFile());
  EXPECT_FALSE(s.m->Settings().AutoChoice()) << "the switch of the run was saved";
  EXPECT_EQ(s.m->Settings().AirTemperature(), 20) << "the --set value was saved";
}

TEST_F(CalcCommandTest, ElementsListsEveryElementAsItsRecordHoldsIt) {
  const CliRun run = Run({"elements"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.err, "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; \n");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.front(), '{');
    EXPECT_EQ(line.back(), '}');
    for (const char* key : {"source",    "index",        "key",
                            "kind",      "level",        "start_node",
                            "end_node",  "Unom",         "Ur",
                            "Up",        "Ir",           "Ia",
                            "Ib",        "Ic",           "Z1",
                            "Z0",        "Kt",           "Idop",
                            "Kz",        "Ik1min",       "Ik2min",
                            "Ik3min",    "Ik_max",       "iud",
                            "Iotkl",     "tkm1",         "tkm2",
                            "tkm3",      "t_main_start", "t_backup_end",
                            "T_work",    "T_main_start", "Bt_main_start",
                            "violations"}) {
      EXPECT_NE(line.find("\"" + std::string(key) + "\":"), std::string::npos) << key << line;
    }
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
  }
  // The source's own branch, then the cable from node 1 to node 2, then the load.
  EXPECT_EQ(Number(lines[0], "kind"), 51);
  EXPECT_EQ(Number(lines[0], "start_node"), 1);
  const std::string& c = lines[1];
  EXPECT_EQ(Number(c, "key"), cable);
  EXPECT_EQ(Number(c, "kind"), 11);
  EXPECT_EQ(Number(c, "start_node"), 1);
  EXPECT_EQ(Number(c, "end_node"), 2);
  EXPECT_NE(c.find("\"Ik_max_mid\":"), std::string::npos);
  EXPECT_NE(c.find("\"Z1\":["), std::string::npos);
  EXPECT_NE(c.find("\"violations\":\""), std::string::npos);
  EXPECT_EQ(lines[0].find("Ik_max_mid"), std::string::npos) << "a source is no line";
  // Nine digits read back the float the record holds.
  EXPECT_EQ(static_cast<float>(Number(c, "Ur")), cableUr);
  EXPECT_EQ(static_cast<float>(Number(c, "Ik1min")), cableIk1);
  EXPECT_EQ(Number(lines[2], "end_node"), 0) << "a load leads nowhere";
}

TEST_F(CalcCommandTest, TablesComeAsAlignedTextOrAsExchangeFiles) {
  const CliRun rez = Run({"calc", "--table", "Rez"});
  EXPECT_EQ(rez.code, kExitOk) << rez.err;
  const std::vector<std::string> lines = Lines(rez.out);
  ASSERT_EQ(lines.size(), 4u) << rez.out;
  EXPECT_EQ(lines[0], "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; ");
  EXPECT_EQ(lines[1].rfind("№  Шины  Присое-  Потре-  Наименование", 0), 0u) << lines[1];
  EXPECT_NE(lines[3].find("ВВГ-4*95"), std::string::npos) << lines[3];

  // CSV on the output is UTF-8, one line per row with plain line ends.
  const CliRun csv = Run({"calc", "--table", "Tree", "--format", "csv"});
  EXPECT_EQ(csv.code, kExitOk) << csv.err;
  EXPECT_NE(csv.out.find("\n#Tree,f2,f3,"), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("\n2,+,1.1,2.1,,1,Кабель\n"), std::string::npos) << csv.out;

  // Into a file the table is the program's exchange file, Windows-1251.
  const CliRun txt = Run({"calc", "--table", "Rez", "--format", "txt", "--out", "/out/rez.txt"});
  EXPECT_EQ(txt.code, kExitOk) << txt.err;
  EXPECT_EQ(txt.out, "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; \n");
  // Its name and the column labels: what the import takes as a section.
  EXPECT_EQ(TextOf(s.m.files, "/out/rez.txt").rfind("Rez\r\n№\tШины\tПрисоединение\t", 0), 0u)
      << TextOf(s.m.files, "/out/rez.txt");

  // A table with nothing to show says why and fails the run.
  const CliRun none = Run({"calc", "--table", "Tree:2"});
  EXPECT_EQ(none.code, kExitProblems);
  EXPECT_NE(none.err.find("Нет ИП!"), std::string::npos) << none.err;
}

// --- The reference book ---------------------------------------------------------------

// The calculation refused rather than done with zero impedances: an empty
// book lacks the cable type the model names, a damaged one could give any
// values for it. Both are said plainly, name the book, and exit 1.
TEST_F(CalcCommandTest, AnEmptyOrDamagedBookIsRefusedWhenTheModelNamesItsTypes) {
  const std::vector<std::uint8_t> book = Bytes(kBook);
  s.m.files.Put(kBook, DbImageBuilder::ReferenceBook().Build().Data());
  for (const char* command : {"calc", "elements"}) {
    const CliRun empty = Run({command});
    EXPECT_EQ(empty.code, kExitProblems) << command;
    EXPECT_EQ(empty.out, "") << command;
    EXPECT_EQ(empty.err, "/models/test.LVN: Справочник пуст: /program/Kordavelt.SPR\n");
  }

  DbImage cables(book);
  const int page = cables.EntryPageOf(cables.RootPage(book::kCableTable), 1);
  std::fill_n(cables.Page(page).begin(), db::kPageSize, 0);
  s.m.files.Put(kBook, cables.Data());
  const CliRun zeroed = Run({"calc"});
  EXPECT_EQ(zeroed.code, kExitProblems);
  EXPECT_EQ(zeroed.err,
            "/models/test.LVN: Справочник повреждён: /program/Kordavelt.SPR\n"
            "/program/Kordavelt.SPR: Ошибка данных таблицы № 11: запись № 1, код 0: код должен "
            "быть от 1\n");

  DbImage header(book);
  std::fill_n(header.Page(0).begin(), db::kPageSize, 0);
  s.m.files.Put(kBook, header.Data());
  const CliRun unopened = Run({"calc"});
  EXPECT_EQ(unopened.code, kExitProblems);
  EXPECT_NE(unopened.err.find("Справочник повреждён: /program/Kordavelt.SPR"), std::string::npos)
      << unopened.err;
  EXPECT_EQ(Bytes(kBook), header.Data()) << "the calculation wrote to the damaged book";
}

// A network of its own impedances takes nothing from the book: an abstract
// branch in place of the catalogue cable is calculated against an empty book.
TEST_F(CalcCommandTest, ANetworkOfItsOwnImpedancesIsCalculatedAgainstAnEmptyBook) {
  s.m->SetFileName(ModelBuilder::kModelPath);
  ASSERT_TRUE(s.m->OpenFile());
  s.m->DeleteBranch(cable, 2);
  const std::int32_t line = s.m.Branch(kKindAbstractBranch, 1, 2);
  Edit<AbstractBranchRec>(kKindAbstractBranch, line, [](AbstractBranchRec& b) {
    b.SetType("КЛ");
    b.SetR1(19.3f);
    b.SetX1(6.02f);
  });
  s.m->SetAskToSave(false);
  ASSERT_TRUE(s.m->CloseFile());
  s.m.files.Put(kBook, DbImageBuilder::ReferenceBook().Build().Data());

  const CliRun run = Run({"calc"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Узлов-2  Ветвей-3  Режим-  Расчет ИП1; ");
}

// What the calculation saves (the chosen types, the nodes' voltage levels)
// is a sound model to the model check.
TEST_F(CalcCommandTest, AModelTheCalculationSavedPassesTheCheck) {
  ASSERT_EQ(Run({"calc", "--choice"}).code, kExitOk);
  const CliRun check = RunTool(s.m.files, {"check", ModelBuilder::kModelPath});
  EXPECT_EQ(check.code, kExitOk) << check.out;
  EXPECT_EQ(RunTool(s.m.files, {"check", kBook}).code, kExitOk);
}

// "Cells:ШР-1" was refused: a node is named by its designation as well as
// by its number, and both give the same table.
TEST_F(CalcCommandTest, TheCellsOfANodeAreFoundByItsNumberOrItsDesignation) {
  const CliRun byNumber = Run({"calc", "--table", "Cells:" + std::to_string(busbar)});
  const CliRun byName = Run({"calc", "--table", "Cells:шр-1"});
  EXPECT_NE(byName.code, kExitUsage) << byName.err;
  EXPECT_EQ(byName.code, byNumber.code);
  EXPECT_EQ(byName.out, byNumber.out);
  EXPECT_EQ(byName.err, byNumber.err);

  const CliRun unknown = Run({"calc", "--table", "Cells:ШР-9"});
  EXPECT_EQ(unknown.code, kExitUsage);
  EXPECT_EQ(unknown.err, "kordavelt-cli: нет узла с обозначением «ШР-9»\n");
  EXPECT_EQ(unknown.out, "");
}

// An unknown table printed the whole usage: one line names the tables.
TEST_F(CalcCommandTest, AnUnknownTableIsRefusedWithOneLineNamingTheKnownOnes) {
  const CliRun run = Run({"calc", "--table", "Rezz"});
  EXPECT_EQ(run.code, kExitUsage);
  EXPECT_EQ(run.err,
            "kordavelt-cli: неизвестная таблица «Rezz»; таблицы: Rez, KJur, Loads, Potr, Teplo, "
            "Tree[:ИП], Cells:УЗЕЛ\n");
}

TEST_F(CalcCommandTest, BadArgumentsAreUsageErrorsWithAMessage) {
  const std::vector<std::vector<std::string>> bad = {
      {"calc", "--fast"},
      {"calc", "--regime", "9"},
      {"calc", "--regime"},
      {"calc", "--set", "1329"},
      {"calc", "--set", "1=5"},
      {"calc", "--set", "0=5"},
      {"calc", "--set", "424=Other.SPR"},
      {"calc", "--set", "1329=abc"},
      {"calc", "--set", "1397=256"},
      {"calc", "--set", "1145=НазваниеДлиннееДевятнадцати"},
      {"calc", "--table", "Nope"},
      {"calc", "--table", "Cells"},
      {"calc", "--table", "Rez", "--format", "pdf"},
      {"calc", "--format", "csv"},
      {"calc", "--table", "Rez", "--format", "text", "--variant", "4"},
      {"elements", "--table", "Rez"},
      {"calc", "/models/other.LVN"},
  };
  for (const auto& args : bad) {
    const CliRun run = Run(args);
    EXPECT_EQ(run.code, kExitUsage) << args[1] << " " << args.back();
    EXPECT_NE(run.err.find("kordavelt-cli: "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const CliRun missing = RunTool(s.m.files, {"calc", "/models/missing.LVN"});
  EXPECT_EQ(missing.code, kExitUsage);
  EXPECT_EQ(missing.err, "/models/missing.LVN: Файл не найден\n");
  EXPECT_EQ(s.m.files.Find("/models/missing.LVN"), nullptr);
}

}  // namespace
}  // namespace kordavelt::testing
