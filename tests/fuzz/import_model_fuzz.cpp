// Feeds arbitrary bytes to `kordavelt-cli import-model` as an exchange file
// to be merged into an existing model, over a file system that may fail or
// die, and holds the command to the all-or-nothing rule:
//  - it never crashes and exits 0, 1 or 2;
//  - a run that exits 0 leaves a model that passes the whole check, and
//    succeeded although a write failed only when that was housekeeping (a
//    folder sync after the rename, removing the writer mark);
//  - a run that exits otherwise leaves the model byte for byte as it was
//    (its backup the old backup or the old model, both good states);
//  - a run killed at any moment leaves the old model or one that passes the
//    check, never a mark of an interrupted write;
//  - nothing but a killed run leaves a temporary file.
//
// Byte 0 picks the format (bits 0-1: CSV, TXT, XML) and the CSV separator
// (bit 2: ';'); bytes 1 and 2 the fault: the top two bits of byte 1 its kind
// (0 none, 1 the n-th file call fails, 2 the process dies after its n-th
// change of files), the other 14 bits n. The rest is the file.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "cli/write_session.h"
#include "engine_fuzz_host.h"
#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/object_connect.h"
#include "storage/writer_mark.h"
#include "support/faulty_file_system.h"

namespace {

using namespace kordavelt;

const std::string kModel = "/m/plant.LVN";
const std::string kBackup = "/m/plant.~LVN";

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// A small plant made through the model's own operations: two sources, boards
// joined by cables and breakers, receivers; its backup from the open.
const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& Plant() {
  static const auto files = [] {
    MemoryFileSystem memory;
    fuzz::QuietUi ui;
    {
      modelClass model(ui, memory, "/m/kordavelt-cli");
      model.SetFileName(kModel);
      Require(model.CreateFile() && model.OpenFile() && model.Usable());
      int previous = model.AddNode();
      for (int board = 0; board < 6; ++board) {
        const int next = model.AddNode();
        ConnectObject(model, board % 2 == 0 ? kKindCableLine : kKindBreaker, previous, next);
        ConnectObject(model, kKindSockets, next, 0);
        previous = next;
      }
      ConnectObject(model, kKindPowerSource, 1, 0);
      model.SetAskToSave(false);
      Require(model.CloseFile());
    }
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> snapshot;
    for (const std::string& path : memory.Paths()) snapshot.emplace_back(path, *memory.Find(path));
    return snapshot;
  }();
  return files;
}

const std::vector<std::uint8_t>* Find(const MemoryFileSystem& memory, const std::string& path) {
  return memory.Find(path);
}

const std::vector<std::uint8_t>& Before(const std::string& path) {
  static const std::vector<std::uint8_t> kNone;
  for (const auto& [name, bytes] : Plant()) {
    if (name == path) return bytes;
  }
  return kNone;
}

bool Sound(const std::vector<std::uint8_t>& model) { return ProblemsOfImage(model).empty(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t selector = data[0];
  const int faultKind = data[1] >> 6;
  const long faultAt = ((data[1] & 0x3F) << 8) | data[2];
  const char* extension = (selector & 3) == 0 ? "csv" : (selector & 3) == 1 ? "txt" : "xml";
  const std::string input = std::string("/in/rows.") + extension;

  MemoryFileSystem memory;
  for (const auto& [path, bytes] : Plant()) memory.Put(path, bytes);
  memory.Put(input, std::vector<std::uint8_t>(data + 3, data + size));

  testing::FaultyFileSystem files(memory);
  if (faultKind == 1) files.FailCall(faultAt + 1);
  if (faultKind == 2) files.DropChangesAfter(faultAt);
  std::vector<std::string> args = {"import-model", kModel, input};
  if ((selector & 4) != 0) args.insert(args.end(), {"--separator", ";"});
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCli(args, out, err, files);
  Require(code == kExitOk || code == kExitProblems || code == kExitUsage);

  const std::vector<std::uint8_t>* model = Find(memory, kModel);
  Require(model != nullptr);
  const bool unchanged = *model == Before(kModel);
  const bool killed = faultKind == 2 && files.Changes() > faultAt;
  if (killed) {
    Require(unchanged || Sound(*model));
    Require(ProbeWriter(memory, kModel).state != WriterState::Interrupted);
    return 0;
  }
  if (code == kExitOk) {
    Require(Sound(*model));
    Require(!(faultKind == 1 && files.FailureHappened() && files.FailedCallWrites()));
  } else {
    Require(unchanged);
    const std::vector<std::uint8_t>* backup = Find(memory, kBackup);
    Require(backup != nullptr && (*backup == Before(kBackup) || *backup == Before(kModel)));
  }
  for (const std::string& path : memory.Paths()) Require(!path.ends_with(".tmp"));
  Require(ProbeWriter(memory, kModel).state == WriterState::None);
  return 0;
}
