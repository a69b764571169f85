// Feeds arbitrary bytes to the import reader as a file. The first byte picks
// the format (bits 0-1: CSV, TXT, XML) and the CSV separator (bit 2: ';'),
// the rest is the file. Every record is read and taken apart with all
// accessors, and written out again, as an import and a re-export would.
// Besides never crashing, the reader must stay within its bounds: no record
// longer than its limits allow, no more records than the file has bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_fuzz_host.h"
#include "exchange/get_class.h"
#include "exchange/put_class.h"
#include "exchange/xml_row_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Keeps the accessors' results alive.
volatile std::int64_t accessorSink = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kordavelt;
  if (size == 0) return 0;
  const std::uint8_t selector = data[0];
  const ImportVariant variant = (selector & 3) == 0   ? ImportVariant::Csv
                                : (selector & 3) == 1 ? ImportVariant::Txt
                                                      : ImportVariant::Xml;
  const char separator = (selector & 4) != 0 ? ';' : ',';

  MemoryFileSystem files;
  files.Put("in", std::vector<std::uint8_t>(data + 1, data + size));
  fuzz::QuietUi ui;
  GetClass get(ui, files, separator);
  if (!get.OpenPath("in", variant)) return 0;

  PutClass put(ui, files, {separator, (selector & 8) != 0});
  const ExportVariant outVariant = variant == ImportVariant::Csv ? ExportVariant::Csv
                                   : variant == ImportVariant::Txt
                                       ? ExportVariant::Txt
                                       : ExportVariant::XmlAttributesUtf8;
  Require(put.OpenPath("out", outVariant, false));

  const std::size_t maxRecord = variant == ImportVariant::Xml
                                    ? XmlRowReader::kMaxRowBytes + XmlRowReader::kMaxRowFields
                                    : 3 * GetClass::kMaxLineBytes;
  std::size_t records = 0;
  std::int64_t sink = 0;
  while (get.ReadRecord()) {
    ++records;
    Require(records <= size);
    Require(get.Record().size() <= maxRecord);
    if (get.IsTableStart()) {
      get.SetFieldNames("a#b#c#f1#f2#Key#Name");
      put.BeginTable(get.Record(), "a#b#c#f1#f2#Key#Name");
      continue;
    }
    for (int i = 0; i < 8; ++i) {
      sink += get.GetInt(i);
      sink += static_cast<std::int64_t>(get.GetReal(i) != 0);
      sink += get.GetBool(i);
      sink += static_cast<std::int64_t>(get.GetStr(i).size());
      sink += get.GetCode(i, 8);
      sink += get.GetIndex(i, "Да#Нет#");
    }
    put.WriteRow(get.Record());
  }
  put.Close();
  Require(!get.IsOpen());
  accessorSink = sink;
  return 0;
}
