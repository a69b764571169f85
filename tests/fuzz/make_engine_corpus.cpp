// Writes the seed corpus of the engine's fuzz target: files the engine made
// itself (one-level and two-level tables, raw blocks, several tables, a
// reference book), the same files with one damage each, and a fresh file
// with operation scripts that grow, shrink, copy and pack tables.
//
//   make_engine_corpus tests/fuzz/corpus/engine

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine_fuzz_script.h"
#include "storage/db_format.h"
#include "storage/dbf_class.h"
#include "storage/file_layer.h"
#include "support/db_image_builder.h"
#include "support/scripted_ui_host.h"

namespace {

using namespace kordavelt;
using namespace kordavelt::fuzz;
using Bytes8 = std::vector<std::uint8_t>;
using Page = std::array<std::uint8_t, db::kPageSize>;

// --- Files made by the engine -------------------------------------------------------------

// Runs `fill` on a new file of the given kind and returns the file's bytes.
Bytes8 MakeFile(db::FileKind kind, const std::function<void(dbfClass&)>& fill) {
  testing::ScriptedUiHost ui;
  MemoryFileSystem files;
  const std::string name = "seed." + std::string(db::ExtensionOf(kind));
  dbfClass file(ui, files, std::string(db::ExtensionOf(kind)), std::string(db::SignatureOf(kind)));
  file.SetFileName(name);
  file.CreateFile();
  file.OpenFile();
  fill(file);
  file.SetAskToSave(false);
  file.CloseFile();
  return *files.Find(name);
}

void InsertKeys(tbClass& table, const std::vector<std::int32_t>& keys) {
  for (const std::int32_t key : keys) {
    table.Insert(key);
    Bytes record = table.Record();
    for (std::size_t i = 0; i < record.size(); ++i) {
      record[i] = static_cast<std::uint8_t>(key + static_cast<int>(i));
    }
    table.MarkModifiedAndFlush();
  }
}

std::vector<std::int32_t> Range(std::int32_t first, std::int32_t count, std::int32_t step) {
  std::vector<std::int32_t> keys;
  for (std::int32_t i = 0; i < count; ++i) keys.push_back(first + i * step);
  return keys;
}

std::vector<std::int32_t> Scattered(int count, std::uint32_t seed) {
  std::vector<std::int32_t> keys;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    keys.push_back(static_cast<std::int32_t>(seed >> 8) % 5000 - 1000);
  }
  return keys;
}

// Deletes every record but each `keep`-th, from the end, so whole pages go.
void Thin(tbClass& table, int keep) {
  for (int n = table.Count(); n >= 1; --n) {
    if (n % keep == 0) continue;
    table.GoTo(n);
    table.Delete();
  }
}

// --- Compaction: only the pages in use, renumbered in order -----------------------------------

// Engine files keep every page they ever allocated; the fuzzer reads at most
// 64 KiB. This rewrites a file with only its reachable pages, renumbered in
// table order, and clears the reusable slots, whose old numbers would name
// pages in use after the renumbering.
class Compactor {
 public:
  explicit Compactor(const Bytes8& bytes) : in_(bytes) {}

  Bytes8 Run() {
    Page header = Read(0);
    out_.push_back(header);
    for (int t = 1; t < db::kScratchTable; ++t) {
      const int slot = db::SlotLength(header, t);
      const int root = db::RootPage(header, t);
      if (root == 0) continue;
      if (slot == db::kSlotUnused) {
        db::SetRootPage(header, t, static_cast<std::uint16_t>(KeptRoot(root)));
        continue;
      }
      db::SetRootPage(
          header, t,
          static_cast<std::uint16_t>(slot == db::kSlotRawBlock ? Copy(Read(root)) : Index(root)));
    }
    db::SetPageCount(header, static_cast<std::int32_t>(out_.size() - 1));
    out_[0] = header;
    Bytes8 bytes;
    for (const Page& page : out_) bytes.insert(bytes.end(), page.begin(), page.end());
    return bytes;
  }

 private:
  Page Read(int page) const {
    Page buffer{};
    const std::size_t at = db::PageOffset(static_cast<std::uint32_t>(page));
    for (std::size_t i = 0; i < buffer.size() && at + i < in_.size(); ++i) buffer[i] = in_[at + i];
    return buffer;
  }

  int Copy(const Page& page) {
    out_.push_back(page);
    return static_cast<int>(out_.size() - 1);
  }

  // A cleared table keeps its root and the root's first data page for the
  // day it is made again.
  int KeptRoot(int page) {
    Page root = Read(page);
    const int number = Copy(root);
    if (db::IndexMark(root) == db::kIndexMark) {
      const int first = Copy(Read(db::EntryPage(root, 1)));
      for (int i = 2; i <= db::kMaxEntries; ++i) db::SetEntry(root, i, 0, 0, 0);
      db::SetEntryPage(root, 1, static_cast<std::uint16_t>(first));
    }
    out_[static_cast<std::size_t>(number)] = root;
    return number;
  }

  // Copies an index page and everything under it; returns its new number.
  int Index(int page) {
    Page index = Read(page);
    const int number = Copy(index);
    const int count = db::IndexEntryCount(index);
    const bool leaf = db::IndexLevel(index) != db::kLevelTwoLevelRoot;
    for (int i = 1; i <= count; ++i) {
      const int child = db::EntryPage(index, i);
      db::SetEntryPage(index, i,
                       static_cast<std::uint16_t>(leaf ? Copy(Read(child)) : Index(child)));
    }
    for (int i = count + 1; i <= db::kMaxEntries; ++i) db::SetEntry(index, i, 0, 0, 0);
    out_[static_cast<std::size_t>(number)] = index;
    return number;
  }

  const Bytes8& in_;
  std::vector<Page> out_;
};

// --- Damage ---------------------------------------------------------------------------------

Bytes8 Damaged(Bytes8 bytes, const std::function<void(Bytes)>& damage) {
  damage(bytes);
  return bytes;
}

Bytes PageOf(Bytes file, int page) {
  return file.subspan(db::PageOffset(static_cast<std::uint32_t>(page)), db::kPageSize);
}
Bytes Root(Bytes file, int t) { return PageOf(file, db::RootPage(file, t)); }
// The page under entry i of table t's root.
Bytes Data(Bytes file, int t, int i) { return PageOf(file, db::EntryPage(Root(file, t), i)); }

// --- Scripts --------------------------------------------------------------------------------

class ScriptWriter {
 public:
  ScriptWriter& Op(EngineOp op) { return Put(op); }
  ScriptWriter& Put(int byte) {
    bytes_.push_back(static_cast<std::uint8_t>(byte));
    return *this;
  }
  ScriptWriter& U16(int value) { return Put(value & 0xFF).Put((value >> 8) & 0xFF); }
  // A table number given outright.
  ScriptWriter& Table(int t) { return Put(0xC0).U16(t); }
  ScriptWriter& SmallKey(int key) { return Put(0).Put(key & 0xFF); }
  ScriptWriter& Key(std::int32_t key) {
    Put(1);
    return U16(key & 0xFFFF).U16((key >> 16) & 0xFFFF);
  }
  ScriptWriter& HeldKey(int pick) { return Put(3 + 4).U16(pick); }  // exactly a key the table holds

  ScriptWriter& Open(int t, int lengthChoice) { return Op(kOpOpen).Table(t).Put(lengthChoice); }
  ScriptWriter& Run(int count, int mode, std::int32_t start, int fill) {
    return Op(kOpInsertRun).Put(RunLengthByte(count)).Put(mode).Key(start).Put(fill);
  }
  ScriptWriter& DeleteRun(int count, int seed) {
    return Op(kOpDeleteRun).Put(RunLengthByte(count)).U16(seed);
  }

  const Bytes8& Bytes() const { return bytes_; }

 private:
  Bytes8 bytes_;
};

Bytes8 WithScript(Bytes8 file, const ScriptWriter& script) {
  file.resize((file.size() + db::kPageSize - 1) / db::kPageSize * db::kPageSize, 0);
  file.insert(file.end(), script.Bytes().begin(), script.Bytes().end());
  return file;
}

void Save(const std::string& folder, const std::string& name, const Bytes8& bytes) {
  std::ofstream file(folder + "/" + name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (bytes.size() > 65536)
    std::fprintf(stderr, "%s is longer than the fuzzer reads\n", name.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_engine_corpus FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const db::FileKind model = db::FileKind::Model;

  const Bytes8 fresh = MakeFile(model, [](dbfClass&) {});

  // Table 5 one-level over three pages, table 7 of short records, the
  // settings block and the scratch table's length.
  const Bytes8 oneLevel = Compactor(MakeFile(model, [](dbfClass& file) {
                            InsertKeys(*file.OpenTable(5, 34), Range(10, 130, 10));
                            InsertKeys(*file.OpenTable(7, 4), Scattered(300, 7));
                            file.WriteBlock(1, Bytes8(1469, 0x5A));
                            file.OpenTable(333, 34);
                          })).Run();

  // Two-level tables thinned after the split, so that a few pages remain
  // under each second-level page.
  const Bytes8 twoLevel = Compactor(MakeFile(model, [](dbfClass& file) {
                            tbClass& wide = *file.OpenTable(9, 2044);
                            InsertKeys(wide, Range(0, 300, 3));
                            Thin(wide, 40);
                            tbClass& mid = *file.OpenTable(12, 164);
                            InsertKeys(mid, Range(-5000, 3100, 1));
                            mid.Insert(-10000);  // a split in the first page
                            Thin(mid, 400);
                          })).Run();

  // Several tables of the model's record lengths, equal keys among them, and
  // a cleared table whose root waits to be reused.
  const Bytes8 several = Compactor(MakeFile(model, [](dbfClass& file) {
                           InsertKeys(*file.OpenTable(2, 4), {5, 5, 5, -3, 2147483647});
                           InsertKeys(*file.OpenTable(3, 34), Scattered(90, 3));
                           InsertKeys(*file.OpenTable(4, 164), Range(100, 40, -7));
                           InsertKeys(*file.OpenTable(6, 34), {1, 2});
                           file.WriteBlock(10, Bytes8(40, 0x11));
                           file.ClearTable(6);
                         })).Run();

  const Bytes8 referenceBook = Compactor(MakeFile(db::FileKind::ReferenceBook, [](dbfClass& file) {
                                 InsertKeys(*file.OpenTable(11, 8), Range(100, 70, 100));
                               })).Run();

  Save(folder, "seed-fresh", fresh);
  Save(folder, "seed-one-level", oneLevel);
  Save(folder, "seed-two-level", twoLevel);
  Save(folder, "seed-several-tables", several);
  Save(folder, "seed-reference-book", referenceBook);
  Save(
      folder, "seed-builder-two-level-stale",
      testing::DbImageBuilder::Model()
          .Table(5, 2, testing::PatternRecords(testing::Keys(1, 9), 2),
                 {.recordsPerPage = 1, .twoLevel = true, .entriesPerSecondLevel = 2, .staleBy = 40})
          .Build()
          .Data());

  // One damage each, to table 5 of oneLevel (one-level, three data pages)
  // and table 9 of twoLevel.
  const auto save = [&](const std::string& name, const Bytes8& base,
                        const std::function<void(Bytes)>& damage) {
    Save(folder, "seed-damaged-" + name, Damaged(base, damage));
  };
  save("signature", oneLevel, [](Bytes f) { f[3] = 'X'; });
  save("page-count", oneLevel, [](Bytes f) { db::SetPageCount(f, 70000); });
  save("page-count-low", oneLevel, [](Bytes f) { db::SetPageCount(f, 3); });
  save("root-mark", oneLevel, [](Bytes f) { db::SetIndexMark(Root(f, 5), 0); });
  save("entry-past-count", oneLevel, [](Bytes f) { db::SetEntryPage(Root(f, 5), 2, 900); });
  save("count-step", oneLevel, [](Bytes f) { db::SetEntryCumulative(Root(f, 5), 2, 300); });
  save("count-down", oneLevel, [](Bytes f) { db::SetEntryCumulative(Root(f, 5), 2, 1); });
  save("entry-count", oneLevel, [](Bytes f) { db::SetIndexEntryCount(Root(f, 5), 300); });
  save("key-order", oneLevel, [](Bytes f) { db::SetRecordKey(Data(f, 5, 1), 38, 3, 99999); });
  save("loose-upper-key", oneLevel, [](Bytes f) { db::SetEntryUpperKey(Root(f, 5), 1, 535); });
  save("slot-length", oneLevel, [](Bytes f) { db::SetSlotLength(f, 5, 3); });
  save("slot-length-long", oneLevel, [](Bytes f) { db::SetSlotLength(f, 5, 3000); });
  save("shared-root", oneLevel, [](Bytes f) { db::SetRootPage(f, 7, db::RootPage(f, 5)); });
  save("slot-in-use", oneLevel, [](Bytes f) {
    db::SetEntryPage(Root(f, 5), db::IndexEntryCount(Root(f, 5)) + 1, db::EntryPage(Root(f, 5), 2));
  });
  save("raw-block-past-count", oneLevel, [](Bytes f) { db::SetRootPage(f, 1, 60000); });
  save("level", twoLevel, [](Bytes f) { db::SetIndexLevel(Data(f, 9, 1), 0); });
  // Not damage: a second-level page with stale counts, as the format allows.
  Save(folder, "seed-stale-counts", Damaged(twoLevel, [](Bytes f) {
         Bytes second = Data(f, 9, 1);
         db::CorrectStaleCounts(second, -7);
       }));
  save("second-level-past-count", twoLevel,
       [](Bytes f) { db::SetEntryPage(Root(f, 9), 2, 40000); });
  save("root-level", twoLevel, [](Bytes f) { db::SetIndexLevel(Root(f, 9), 0); });
  Save(folder, "seed-damaged-truncated",
       Bytes8(twoLevel.begin(), twoLevel.begin() + 6 * db::kPageSize));

  // Scripts over the fresh file.
  ScriptWriter grow;  // one record per page: two levels, then back to one
  grow.Open(9, 4).Run(272, 0, 0, 1).Op(kOpScan).Op(kOpSeek).HeldKey(100);
  grow.Run(20, 2, 0, 2).DeleteRun(250, 99).Op(kOpScan).Op(kOpUndo).Op(kOpLastKey);
  Save(folder, "seed-script-two-levels", WithScript(fresh, grow));

  ScriptWriter edit;  // equal keys, re-keying, undo, raw blocks, packing
  edit.Open(5, 2).Run(120, 2, 0, 3).Run(30, 3, 7, 4).Op(kOpSeek).SmallKey(7);
  edit.Op(kOpChangeKey).SmallKey(-5).Op(kOpDelete).Op(kOpNext).Op(kOpDelete).Op(kOpUndo);
  edit.Op(kOpWriteBlock).Table(1).U16(1469).Put(9).Op(kOpReadBlock).Table(1).U16(2048);
  edit.Op(kOpEditRecord).Put(5).Op(kOpCopyTable).Table(6).Op(kOpPack).Op(kOpScan);
  Save(folder, "seed-script-edit-and-pack", WithScript(fresh, edit));

  ScriptWriter change;  // length change, clearing, read-only, failures
  change.Open(4, 3).Run(60, 1, 1000, 5).Op(kOpChangeLength).Put(2).Op(kOpScan);
  change.Op(kOpClearTable).Table(4).Open(4, 1).Run(10, 0, 0, 6);
  change.Op(kOpReadOnly).Op(kOpInsert).SmallKey(3).Put(1).Op(kOpReadOnly);
  change.Op(kOpFailWrites).Put(1).Op(kOpInsert).SmallKey(4).Put(2).Op(kOpReopen).Op(kOpScan);
  Save(folder, "seed-script-length-and-failures", WithScript(fresh, change));

  ScriptWriter more;  // grows the tables of a made file
  more.Open(5, 0).Run(100, 0, 2000, 7).Open(7, 0).Run(100, 2, 0, 8).Op(kOpJournal).Put(0);
  more.DeleteRun(60, 5).Op(kOpUndo).Open(12, 0).Run(50, 1, -9000, 9).Op(kOpScan);
  Save(folder, "seed-script-on-one-level", WithScript(oneLevel, more));
  Save(folder, "seed-script-on-two-level", WithScript(twoLevel, more));

  ScriptWriter split;  // second-level pages split, then emptied one by one
  split.Open(9, 4).Run(400, 0, 0, 10).Run(48, 1, 0, 11).Op(kOpScan);
  split.DeleteRun(440, 3).Op(kOpScan).DeleteRun(32, 5).Op(kOpLastKey).Run(20, 0, 5, 1);
  Save(folder, "seed-script-second-level-split", WithScript(fresh, split));

  ScriptWriter scattered;  // data pages split in the middle of a two-level index
  scattered.Open(9, 4).Run(480, 2, 0, 12).Op(kOpSeek).HeldKey(7).Op(kOpChangeKey).HeldKey(300);
  scattered.DeleteRun(200, 8).Op(kOpCopyTable).Table(20).Op(kOpScan);
  Save(folder, "seed-script-scattered-two-level", WithScript(fresh, scattered));
  return 0;
}
