// Repairing and packing a model from the command line: the repair must reach
// the file, and a packed copy must be a sound model with the same records.

#include "cli/model_command.h"

#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::CliRun;
using testing::RunTool;

// A model with nodes 1 and 2, a cable between them and a far end of a
// branch that is gone.
void WriteDamagedModel(MemoryFileSystem& files, const std::string& path) {
  testing::ScriptedUiHost ui;
  modelClass model(ui, files, "/models/Kordavelt");
  model.SetFileName(path);
  ASSERT_TRUE(model.CreateFile());
  ASSERT_TRUE(model.OpenFile());
  const int a = model.AddNode();
  const int b = model.AddNode();
  ASSERT_NE(ConnectObject(model, kKindCableLine, a, b), 0);
  model.FarEnds()->Insert(BranchKey(b, 5));
  FarEndRec(model.FarEnds()->Record()).SetBranchKey(BranchKey(a, 9));
  model.FarEnds()->MarkModifiedAndFlush();
  model.SetAskToSave(false);
  ASSERT_TRUE(model.CloseFile());
}

int CountOf(MemoryFileSystem& files, const std::string& path, int table) {
  testing::ScriptedUiHost ui;
  modelClass model(ui, files, "/models/Kordavelt");
  model.SetFileName(path);
  if (!model.OpenFile() || !model.Usable()) return -1;
  const int count = model.Table(table)->Count();
  model.SetAskToSave(false);
  model.CloseFile();
  return count;
}

TEST(ModelCommandTest, RestoreRepairsTheFileAndKeepsHiddenElementsUnlessAsked) {
  MemoryFileSystem files;
  WriteDamagedModel(files, "/models/plant.LVN");
  const CliRun run = RunTool(files, {"restore", "/models/plant.LVN"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out,
            "/models/plant.LVN: восстановление выполнено; было узлов 2, ветвей 1, стало узлов 2, "
            "ветвей 1\n");
  EXPECT_NE(run.err.find("Удаление невидимых объектов удалит всю сеть: узлов 2, ветвей 1."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(CountOf(files, "/models/plant.LVN", 4), 1) << "the orphan far end is gone";
  EXPECT_NE(files.Find("/models/plant.~LVN"), nullptr) << "the backup of the open";

  const CliRun hidden = RunTool(files, {"restore", "/models/plant.LVN", "--delete-hidden"});
  EXPECT_EQ(hidden.code, kExitOk) << hidden.err;
  EXPECT_EQ(CountOf(files, "/models/plant.LVN", 3), 0);
  EXPECT_EQ(CountOf(files, "/models/plant.LVN", 2), 0);
}

TEST(ModelCommandTest, PackWritesASoundCopyUnderTheProposedOrGivenName) {
  MemoryFileSystem files;
  WriteDamagedModel(files, "/models/plant.LVN");
  const CliRun run = RunTool(files, {"pack", "/models/plant.LVN"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out, "/models/plant.LVN: упакованная копия /models/plant!.LVN\n");
  EXPECT_EQ(RunTool(files, {"check", "/models/plant!.LVN"}).code, kExitOk);
  EXPECT_EQ(CountOf(files, "/models/plant!.LVN", 3), 1);

  EXPECT_EQ(RunTool(files, {"pack", "/models/plant.LVN", "/out/copy.LVN"}).code, kExitOk);
  EXPECT_EQ(CountOf(files, "/out/copy.LVN", 4), 2);
}

TEST(ModelCommandTest, BadArgumentsAndMissingFilesAreUsageErrors) {
  MemoryFileSystem files;
  EXPECT_EQ(RunTool(files, {"restore"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"restore", "/a.LVN", "--fast"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"pack", "/missing.LVN"}).code, kExitUsage);
  EXPECT_EQ(RunTool(files, {"pack"}).code, kExitUsage);
}

}  // namespace
}  // namespace kordavelt
