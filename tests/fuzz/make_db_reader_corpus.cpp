// Writes the seed corpus of the database reader's fuzz target: small sound
// files of each shape the format allows, and the same files with one damage
// each, so the fuzzer starts from every branch of the reader.
//
//   make_db_reader_corpus tests/fuzz/corpus/db_reader

#include <cstdio>
#include <fstream>
#include <string>

#include "support/db_image_builder.h"

namespace {

using kordavelt::testing::DbImage;
using kordavelt::testing::DbImageBuilder;
using kordavelt::testing::Keys;
using kordavelt::testing::PatternData;
using kordavelt::testing::PatternRecords;

void Save(const std::string& folder, const std::string& name, const DbImage& image) {
  std::ofstream file(folder + "/" + name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(image.Data().data()),
             static_cast<std::streamsize>(image.Data().size()));
}

// Table 3 one-level: root 1, data 2 and 3.
DbImage OneLevel() {
  return DbImageBuilder::Model()
      .Table(3, 4, PatternRecords({-7, 0, 2147483647}, 4), {.recordsPerPage = 2})
      .Build();
}

// Table 5 two-level with stale counts: root 1, second level 2 and 3, data 4, 5, 6.
DbImage TwoLevel() {
  return DbImageBuilder::Model()
      .Table(5, 2, PatternRecords(Keys(1, 3), 2),
             {.recordsPerPage = 1, .twoLevel = true, .entriesPerSecondLevel = 2, .staleBy = 40})
      .Build();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_db_reader_corpus FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];

  Save(folder, "seed-fresh-model", DbImageBuilder::Model().Build());
  Save(folder, "seed-raw-block-and-scratch",
       DbImageBuilder::Model().RawBlock(1, PatternData(1, 40)).ScratchSlotLength(38).Build());
  Save(folder, "seed-reference-book",
       DbImageBuilder::ReferenceBook().Table(11, 8, PatternRecords({100, 200}, 8)).Build());
  Save(folder, "seed-one-level", OneLevel());
  Save(folder, "seed-two-level-stale", TwoLevel());

  Save(folder, "seed-damaged-signature", OneLevel().WithSignature("Brovaske"));
  Save(folder, "seed-damaged-page-count", OneLevel().WithPageCount(70000));
  Save(folder, "seed-damaged-mark", OneLevel().WithMark(1, 0));
  Save(folder, "seed-damaged-entry-past-count", OneLevel().WithEntryPage(1, 2, 9));
  Save(folder, "seed-damaged-page-twice", TwoLevel().WithEntryPage(3, 1, 4));
  Save(folder, "seed-damaged-counts", TwoLevel().WithEntryCumulative(1, 1, 3));
  Save(folder, "seed-damaged-keys", OneLevel().WithRecordKey(2, 8, 1, -100));
  Save(folder, "seed-damaged-slot-length", OneLevel().WithSlotLength(3, 3));
  Save(folder, "seed-damaged-level", TwoLevel().WithLevel(2, 0));
  return 0;
}
