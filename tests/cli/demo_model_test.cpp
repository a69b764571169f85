// The demo model as the program delivers it: Demo.LVN, built from the
// exchange file examples/demo.csv with the delivered reference book, opened
// and calculated as the menu does it in both of its regimes. The demo has to
// show what the program finds: the workshop calculates from either
// transformer, the compressor's cable is too thin, the far lighting feeder's
// breaker does not sense its single-phase fault, the long feeder to the pump
// station loses much of its voltage, and the motors start and self-start.
// A fault here means the demo no longer shows what it promises, or the
// exchange file and the model built from it have drifted apart.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/complex.h"
#include "calc/calc_class.h"
#include "calc/element_checks.h"
#include "cli/cli_run.h"
#include "exchange/get_class.h"
#include "exchange/put_class.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_export.h"
#include "model/model_import.h"
#include "model/model_records.h"
#include "results/result_tables.h"
#include "storage/file_layer.h"
#include "support/scripted_ui_host.h"

namespace kordavelt::testing {
namespace {

// The kind the calculation gives the element of an asynchronous motor.
constexpr int kAsyncMotorLoad = 42;

std::vector<std::uint8_t> ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The folder of the program with its book, as the program finds them.
class DemoFolder {
 public:
  static constexpr const char* kBook = "/demo/Kordavelt.SPR";
  static constexpr const char* kProgram = "/demo/kordavelt";

  DemoFolder() { files.Put(kBook, ReadBytes(KORDAVELT_CATALOGUE)); }

  MemoryFileSystem files;
  ScriptedUiHost ui;
};

class DemoModel : public ::testing::Test {
 protected:
  static constexpr const char* kModel = "/demo/Demo.LVN";

  DemoModel() {
    folder_.files.Put(kModel, ReadBytes(KORDAVELT_DEMO));
    model_.SetFileName(kModel);
    statusEvents_ = model_.Subscribe([this](const ModelEvent& event) {
      if (event.kind == ModelEventKind::Status) statusLine_ = event.text;
    });
    EXPECT_TRUE(model_.OpenFile());
    EXPECT_TRUE(model_.Usable());
    EXPECT_NE(model_.Book(), nullptr);
  }
  ~DemoModel() override {
    model_.SetAskToSave(false);
    model_.CloseFile();
  }

  // Calculates every source in regime `regime` (0-based).
  void Calculate(int regime) {
    model_.SetRegime(regime);
    calc_.CalcNetwork();
  }

  bool Calculated(int source) {
    return modelClass::SeekExact(model_.Sources(), source) &&
           SourceRec(model_.Sources()->Record()).Calculated() != 0;
  }

  // The element record of the branch with this designation.
  const ElementRec& Of(std::string_view designation) {
    const std::int32_t key = model_.Designations().KeyOf(designation);
    EXPECT_GT(key, 0) << designation;
    EXPECT_TRUE(modelClass::SeekExact(model_.Branches(), key)) << designation;
    return *model_.Element(model_.Branches()->RecordNumber());
  }

  // The element of the receiver branch of receiver `designation`.
  const ElementRec& OfReceiver(std::string_view designation) {
    const std::int32_t key = model_.Designations().KeyOf(designation);
    EXPECT_TRUE(modelClass::SeekExact(model_.Receivers(), key)) << designation;
    const std::int32_t branch = ReceiverRec(model_.Receivers()->Record()).BranchKey();
    EXPECT_TRUE(modelClass::SeekExact(model_.Branches(), branch)) << designation;
    return *model_.Element(model_.Branches()->RecordNumber());
  }

  std::string Violations(std::string_view designation) {
    return ViolationText(Of(designation).violations);
  }

  DemoFolder folder_;
  modelClass model_{folder_.ui, folder_.files, DemoFolder::kProgram};
  CalcClass calc_{model_};
  std::string statusLine_;
  ModelSubscription statusEvents_;
};

TEST_F(DemoModel, NamesItsTwoRegimesAfterTheTransformerThatFeeds) {
  EXPECT_EQ(model_.RegimeName(0), "Т1 в работе");
  EXPECT_EQ(model_.RegimeName(1), "Т2 в работе");
}

TEST_F(DemoModel, CalculatesEverySourceInBothRegimes) {
  for (int regime = 0; regime < 2; ++regime) {
    Calculate(regime);
    EXPECT_TRUE(calc_.Protocol().starts_with("Расчет ")) << calc_.Protocol();
    EXPECT_TRUE(Calculated(1)) << regime << ": " << calc_.Protocol();
    EXPECT_TRUE(Calculated(2)) << regime << ": " << calc_.Protocol();
    EXPECT_TRUE(statusLine_.starts_with("Узлов-")) << statusLine_;
    EXPECT_NE(statusLine_.find(model_.RegimeName(regime)), std::string::npos) << statusLine_;
    // The whole workshop hangs on the transformer of the regime: the
    // compressor runs in both.
    EXPECT_GT(Abs(OfReceiver("М3").ia), 50) << regime;
  }
  EXPECT_TRUE(folder_.ui.Messages().empty()) << folder_.ui.Messages().front();
}

TEST_F(DemoModel, ShowsTheUndersizedCableAndTheInsensitiveBreaker) {
  Calculate(0);
  // A 45 kW compressor (about 80 A) on 4 × 10 mm² laid in the open (50 A).
  const ElementRec& compressorCable = Of("К-М3");
  EXPECT_GT(compressorCable.checkCurrent, compressorCable.iPermissible);
  EXPECT_NE(Violations("К-М3").find("Iдоп!"), std::string::npos) << Violations("К-М3");
  // A C16 breaker at the far pump station behind 140 m of 4 × 2.5 mm².
  EXPECT_NE(Violations("QF4.3").find("Кч1ф!"), std::string::npos) << Violations("QF4.3");
  // Neither finding spreads to the transformer's breaker or the feeders
  // of the boards, whose currents and faults are well inside their ratings.
  for (const char* device : {"QF1", "QF3", "QF4", "QF5", "КЛ-1", "КЛ-2", "КЛ-3"}) {
    EXPECT_EQ(Violations(device).find("Iдоп!"), std::string::npos) << device;
    EXPECT_EQ(Violations(device).find("Кч1ф!"), std::string::npos) << device;
  }
}

TEST_F(DemoModel, LosesMuchOfItsVoltageOnTheLongFeeder) {
  Calculate(0);
  // 420 m of aluminium 4 × 35 mm² to the pump station: the largest drop of
  // the network, over 5 % of the phase voltage on the cable alone.
  const double phaseVolts = 380 / std::sqrt(3.0);
  const ElementRec& feeder = Of("КЛ-4");
  EXPECT_GT(feeder.dUMax, 0.05 * phaseVolts);
  for (const char* other : {"КЛ-1", "КЛ-2", "КЛ-3"}) {
    EXPECT_LT(Of(other).dUMax, feeder.dUMax) << other;
  }
  EXPECT_LT(OfReceiver("М6").uWork, OfReceiver("М1").uWork);
}

TEST_F(DemoModel, MotorsStartAndSelfStart) {
  Calculate(0);
  for (const char* motor : {"М1", "М2", "М3", "М4", "М5", "М6", "М7"}) {
    const ElementRec& e = OfReceiver(motor);
    EXPECT_EQ(e.kind, kAsyncMotorLoad) << motor;
    EXPECT_GT(Abs(e.iStart), 5 * Abs(e.ia)) << motor;
    EXPECT_GT(e.tStart, 0) << motor;
  }
  // The pumps self-start; the compressor and the machine tools do not.
  EXPECT_GT(Abs(OfReceiver("М1").iSelfStart), 0);
  EXPECT_EQ(Abs(OfReceiver("М3").iSelfStart), 0);
  EXPECT_GT(Abs(Of("КЛ-1").iSelfStart), Abs(Of("КЛ-1").ia));
}

// The kept exchange file is what the model exports: importing it into an
// empty model and exporting that again gives the same rows.
// The result tables of the demo: the connections with their breakers and
// cables in "Rez", the cables in the journal, the source loads and the tree
// of a source, all without a message.
TEST_F(DemoModel, ResultTablesShowItsConnections) {
  Calculate(0);
  const auto rows = [this](std::string_view id, int argument = 0) {
    std::unique_ptr<ResultTable> table = MakeResultTable(calc_, id, argument);
    TableForm form;
    EXPECT_TRUE(table != nullptr && table->Open(form)) << id;
    std::vector<std::string> lines;
    for (int row = 1; row <= form.rowCount; ++row) {
      form.lineNo = row;
      table->OnLine(form);
      lines.push_back(form.line);
    }
    return lines;
  };
  const auto contains = [](const std::vector<std::string>& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(),
                       [text](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  const std::vector<std::string> rez = rows("Rez");
  EXPECT_GE(rez.size(), 20u);
  EXPECT_TRUE(contains(rez, "QF4.3"));
  EXPECT_TRUE(contains(rez, "ВВГ-4*95"));
  const std::vector<std::string> journal = rows("KJur");
  EXPECT_TRUE(contains(journal, "КЛ-4"));
  EXPECT_FALSE(rows("Loads").empty());
  EXPECT_TRUE(contains(rows("Tree", 1), "QF1"));
  EXPECT_TRUE(folder_.ui.Messages().empty());
}

TEST(DemoExchangeFile, ImportsAndExportsBackUnchanged) {
  DemoFolder folder;
  folder.files.Put("/demo/demo.csv", ReadBytes(KORDAVELT_DEMO_FILE));
  modelClass model(folder.ui, folder.files, DemoFolder::kProgram);
  model.SetFileName("/demo/Imported.LVN");
  ASSERT_TRUE(model.CreateFile());
  ASSERT_TRUE(model.OpenFile());
  GetClass get(folder.ui, folder.files, ',');
  ASSERT_TRUE(get.OpenPath("/demo/demo.csv", ImportVariant::Csv));
  const ModelImportCounts counts = ReadModel(model, get);
  EXPECT_FALSE(get.Failed());
  EXPECT_GT(counts.applied, 100);
  EXPECT_EQ(counts.skipped, 0);

  PutClass put(folder.ui, folder.files);
  ASSERT_TRUE(put.OpenPath("/demo/again.csv", ExportVariant::Csv, false));
  EXPECT_TRUE(WriteModel(model, put));
  EXPECT_TRUE(put.Close());
  model.SetAskToSave(false);
  model.CloseFile();

  GetClass kept(folder.ui, folder.files, ',');
  GetClass again(folder.ui, folder.files, ',');
  ASSERT_TRUE(kept.OpenPath("/demo/demo.csv", ImportVariant::Csv));
  ASSERT_TRUE(again.OpenPath("/demo/again.csv", ImportVariant::Csv));
  int records = 0;
  while (kept.ReadRecord()) {
    ASSERT_TRUE(again.ReadRecord()) << "after " << records;
    EXPECT_EQ(kept.Record(), again.Record()) << "record " << records;
    ++records;
  }
  EXPECT_FALSE(again.ReadRecord());
  EXPECT_GT(records, 100);
}

}  // namespace
}  // namespace kordavelt::testing

namespace kordavelt::testing {
namespace {

// `kordavelt-cli calc Demo.LVN`: the status line, then the elements that
// violate a condition, the deliberate findings among them.
TEST(DemoCommand, CalcPrintsTheStatusLineAndTheViolations) {
  DemoFolder folder;
  folder.files.Put("/demo/Demo.LVN", ReadBytes(KORDAVELT_DEMO));
  const CliRun run = RunTool(folder.files, {"calc", "/demo/Demo.LVN"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Узлов-", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("Нарушения"), std::string::npos);
  EXPECT_NE(run.out.find("К-М3"), std::string::npos);
  EXPECT_NE(run.out.find("Iдоп!"), std::string::npos);
  EXPECT_NE(run.out.find("QF4.3"), std::string::npos);
  EXPECT_NE(run.out.find("Кч1ф!"), std::string::npos);
  // The status line counts the elements the table lists (the table has one
  // header line), as the program's status line does.
  const std::size_t lines = std::count(run.out.begin(), run.out.end(), '\n');
  const std::string status = run.out.substr(0, run.out.find('\n'));
  EXPECT_NE(status.find("Нарушений: " + std::to_string(lines - 2)), std::string::npos) << status;
}

// `kordavelt-cli check` finds nothing in the delivered model and book, nor in
// the model after a calculation with the automatic choice saved its types: a
// rule of the check that they break would call the delivered files damaged.
TEST(DemoCommand, CheckFindsNothingInTheDeliveredFilesNorAfterTheChoice) {
  DemoFolder folder;
  folder.files.Put("/demo/Demo.LVN", ReadBytes(KORDAVELT_DEMO));
  EXPECT_EQ(RunTool(folder.files, {"check", DemoFolder::kBook}).out,
            "/demo/Kordavelt.SPR: ошибок не найдено\n");
  EXPECT_EQ(RunTool(folder.files, {"check", "/demo/Demo.LVN"}).out,
            "/demo/Demo.LVN: ошибок не найдено\n");
  ASSERT_EQ(RunTool(folder.files, {"calc", "/demo/Demo.LVN", "--choice"}).code, 0);
  EXPECT_EQ(RunTool(folder.files, {"check", "/demo/Demo.LVN"}).out,
            "/demo/Demo.LVN: ошибок не найдено\n");
}

}  // namespace
}  // namespace kordavelt::testing
