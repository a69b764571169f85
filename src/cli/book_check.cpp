#include "cli/book_check.h"

#include <set>
#include <string>

#include "model/record_check.h"
#include "refbook/book_layouts.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

std::string Num(long long value) { return std::to_string(value); }

// Codes the program gives a type: from 1 up; the breaker series also have
// series 0, "none".
std::int32_t LowestCode(int table) { return table == book::kBreakerSeriesTable ? 0 : 1; }

// The types of one table against their layout.
class BookTableCheck {
 public:
  BookTableCheck(const DbTableInfo& info, const RecordLayout& layout, std::vector<DbProblem>& out)
      : layout_(layout),
        prefix_("Ошибка данных таблицы № " + Num(info.number) + ": "),
        lowest_(LowestCode(info.number)),
        problems_(info.number, prefix_ + "прочие ошибки таблицы не показаны", out) {}

  void Run(const std::vector<DbRecord>& records) {
    for (std::size_t i = 0; i < records.size() && !problems_.Full(); ++i) {
      CheckType(static_cast<int>(i) + 1, records[i]);
    }
  }

 private:
  void Add(int number, std::int32_t code, const std::string& text) {
    problems_.Add(prefix_ + "запись № " + Num(number) + ", код " + Num(code) + ": " + text);
  }

  void CheckType(int number, const DbRecord& record) {
    if (record.key < lowest_) Add(number, record.key, "код должен быть от " + Num(lowest_));
    if (!codes_.insert(record.key).second) Add(number, record.key, "код повторяется");
    for (const std::string& fault : FieldFaults(layout_, record.data)) {
      Add(number, record.key, fault);
    }
  }

  const RecordLayout& layout_;
  const std::string prefix_;
  const std::int32_t lowest_;
  TableProblems problems_;
  std::set<std::int32_t> codes_;
};

void CheckBookTable(DbReader& reader, const DbTableInfo& info, const RecordLayout& layout,
                    std::vector<DbProblem>& out) {
  if (info.slotLength != layout.dataLength + db::kKeySize) {
    out.push_back({info.number, "Ошибка данных таблицы № " + Num(info.number) + ": длина записи " +
                                    Num(info.slotLength - db::kKeySize) + " вместо " +
                                    Num(layout.dataLength)});
    return;
  }
  BookTableCheck(info, layout, out).Run(reader.ReadTable(info.number).records);
}

}  // namespace

std::vector<DbProblem> CheckBookTables(DbReader& reader) {
  std::vector<DbProblem> problems;
  if (!reader.Accepted()) return problems;
  for (const DbTableInfo& info : reader.Tables()) {
    const RecordLayout* layout = BookRecordLayout(info.number);
    if (!info.rawBlock && layout != nullptr) CheckBookTable(reader, info, *layout, problems);
  }
  return problems;
}

std::vector<DbProblem> CheckBookFile(RandomAccessFile& file) {
  DbReader reader(file, db::FileKind::ReferenceBook);
  std::vector<DbProblem> problems = reader.Check();
  const std::vector<DbProblem> book = CheckBookTables(reader);
  problems.insert(problems.end(), book.begin(), book.end());
  return problems;
}

int CountBookTypes(DbReader& reader) {
  int types = 0;
  for (const DbTableInfo& info : reader.Tables()) {
    if (!info.rawBlock && TableCategory(info.number) != 0) types += info.recordCount;
  }
  return types;
}

}  // namespace kordavelt
