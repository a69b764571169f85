// The command line on real files: read-only models and folders are read, a
// folder or a locked file gets a message that says so, and two processes
// writing one model never corrupt it (two imports at once corrupted the
// model every time before writers took turns).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "base/cp1251.h"
#include "cli/cli_main.h"
#include "support/scratch_folder.h"

extern char** environ;

namespace kordavelt {
namespace {

using testing::ScratchFolder;

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

CliResult Cli(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCli(args, out, err);
  return {code, out.str(), err.str()};
}

void WriteText(const std::string& path, std::string_view utf8) {
  const std::string bytes = Utf8ToCp1251(utf8);
  testing::WriteBytes(path, {bytes.begin(), bytes.end()});
}

// A model of two boards and a cable made by an import, in `folder`.
std::string MakeModel(const ScratchFolder& folder) {
  const std::string model = folder / "plant.LVN";
  WriteText(folder / "plant.csv",
            "#Node,Key\r\nТП,1,0,0,0,0,380,0,0\r\nЩР,2,0,0,0,0,380,0,0\r\n"
            "\r\n#Cable,KeyBeg\r\nКЛ1,1.1,2.1,0,255,0,1,0,0,120,1,Откр,0\r\n");
  const CliResult made = Cli({"import-model", model, folder / "plant.csv"});
  EXPECT_EQ(made.code, kExitOk) << made.err;
  return model;
}

TEST(FileSafetyOnDisk, AReadOnlyModelInAReadOnlyFolderIsReadAndLeftAlone) {
  ScratchFolder folder;
  ScratchFolder out;
  const std::string model = MakeModel(folder);
  const std::vector<std::string> names = folder.Names();
  ::chmod(model.c_str(), 0444);
  ::chmod(folder.Path().c_str(), 0555);

  const CliResult exported = Cli({"export-model", model, out / "plant.csv"});
  EXPECT_EQ(exported.code, kExitOk) << exported.err;
  EXPECT_EQ(Cli({"check", model}).code, kExitOk);
  Cli({"calc", model});
  const CliResult packed = Cli({"pack", model, out / "packed.LVN"});
  EXPECT_EQ(packed.code, kExitOk) << packed.err;

  ::chmod(folder.Path().c_str(), 0755);
  EXPECT_EQ(folder.Names(), names) << "no backup, book or lock appeared";
  if (::geteuid() != 0) {  // root may write anywhere
    ::chmod(folder.Path().c_str(), 0555);
    const CliResult import = Cli({"import-model", model, folder / "plant.csv"});
    EXPECT_EQ(import.code, kExitUsage);
    EXPECT_EQ(import.err, model + ": Файл не изменяется: Нет доступа к файлу или его папке\n");
    ::chmod(folder.Path().c_str(), 0755);
  }
}

TEST(FileSafetyOnDisk, AFolderOrAMissingFileIsNamedForWhatItIs) {
  ScratchFolder folder;
  const CliResult asModel = Cli({"export-model", folder / "", folder / "out.csv"});
  EXPECT_EQ(asModel.code, kExitUsage);
  EXPECT_NE(asModel.err.find("Это папка, а не файл"), std::string::npos) << asModel.err;
  const CliResult check = Cli({"check", folder.Path().string()});
  EXPECT_NE(check.err.find("Это папка, а не файл"), std::string::npos) << check.err;
  const CliResult import = Cli({"import-model", folder.Path().string(), folder / "none.csv"});
  EXPECT_EQ(import.code, kExitUsage);
  EXPECT_NE(Cli({"calc", folder / "none.LVN"}).err.find("Файл не найден"), std::string::npos);
}

// --- Two processes ------------------------------------------------------------------

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = KORDAVELT_CLI;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

int Wait(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Rows of `count` new nodes numbered from `first`, named "У<number>".
std::string NodeRows(int first, int count) {
  std::string rows = "#Node,Key\r\n";
  for (int n = first; n < first + count; ++n) {
    rows += "У" + std::to_string(n) + "," + std::to_string(n) + ",0,0,0,0,380,0,0\r\n";
  }
  return rows;
}

bool HasNode(const std::string& exported, int node) {
  const std::string number = std::to_string(node);
  return exported.find("У" + number + "\t" + number + "\t") != std::string::npos;
}

// Two imports and a reader started at once, again and again: every import
// that says it succeeded is in the model (none lost to the other's write),
// a refused one says so, the reader reads a whole model, and the model is
// sound after every round.
TEST(FileSafetyOnDisk, TwoProcessesImportingIntoOneModelTakeTurnsOrOneIsRefused) {
  ScratchFolder folder;
  const std::string model = MakeModel(folder);
  constexpr int kNodes = 3000;  // long enough for the imports to overlap
  int refused = 0;
  for (int round = 0; round < 4; ++round) {
    const int first = 100 + 2 * round * kNodes;
    const int second = first + kNodes;
    WriteText(folder / "first.csv", NodeRows(first, kNodes));
    WriteText(folder / "second.csv", NodeRows(second, kNodes));
    const pid_t a = Spawn({"import-model", model, folder / "first.csv"});
    const pid_t b = Spawn({"import-model", model, folder / "second.csv"});
    const pid_t reader = Spawn({"export-model", model, folder / "reading.csv"});
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_GT(reader, 0);
    const int codeA = Wait(a);
    const int codeB = Wait(b);
    EXPECT_EQ(Wait(reader), kExitOk) << "a reader reads the old model or the new one";
    EXPECT_TRUE(codeA == kExitOk || codeA == kExitUsage) << codeA;
    EXPECT_TRUE(codeB == kExitOk || codeB == kExitUsage) << codeB;
    refused += (codeA != kExitOk) + (codeB != kExitOk);

    const CliResult check = Cli({"check", model});
    ASSERT_EQ(check.code, kExitOk) << "round " << round << ":\n" << check.out;
    ASSERT_EQ(Cli({"export-model", model, folder / "now.TXT", "--variant", "3"}).code, kExitOk);
    const std::vector<std::uint8_t> bytes = testing::ReadBytes(folder / "now.TXT");
    const std::string now = Cp1251ToUtf8(std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(HasNode(now, first + kNodes - 1), codeA == kExitOk) << "round " << round;
    EXPECT_EQ(HasNode(now, second + kNodes - 1), codeB == kExitOk) << "round " << round;
  }
  std::cout << "imports refused while another one wrote: " << refused << " of 8\n";
}

}  // namespace
}  // namespace kordavelt
