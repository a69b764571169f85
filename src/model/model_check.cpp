#include "model/model_check.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "model/model_check_rules.h"
#include "model/model_layouts.h"
#include "model/model_settings.h"
#include "model/model_tables.h"
#include "model/record_check.h"

namespace kordavelt {
namespace {

std::string Num(long long value) { return std::to_string(value); }

std::string TableError(const RecordLayout& layout) {
  return "Ошибка данных таблицы № " + Num(layout.table) + " (" + std::string(layout.name) + "): ";
}

// The records of one model table against its rules.
class TableCheck {
 public:
  TableCheck(const DbTableInfo& info, const RecordLayout& layout, const TableRule& rule,
             std::vector<DbProblem>& out);

  void Run(const std::vector<DbRecord>& records);

 private:
  struct BoundField {
    const FieldDef* field;
    FieldFault fault;
  };

  void Add(int number, std::int32_t key, const std::string& text) {
    problems_.Add(prefix_ + "запись № " + Num(number) + ", ключ " + Num(key) + ": " + text);
  }
  void CheckKey(int number, const DbRecord& record);
  void CheckUnique(int number, const DbRecord& record);
  void CheckFields(int number, const DbRecord& record);

  const RecordLayout& layout_;
  const TableRule rule_;
  const std::string prefix_;
  const bool lengthFits_;
  const FieldDef* uniqueWith_ = nullptr;
  std::vector<BoundField> bounds_;
  TableProblems problems_;
  std::set<std::pair<std::int32_t, std::int64_t>> seen_;
};

TableCheck::TableCheck(const DbTableInfo& info, const RecordLayout& layout, const TableRule& rule,
                       std::vector<DbProblem>& out)
    : layout_(layout),
      rule_(rule),
      prefix_(TableError(layout)),
      lengthFits_(info.slotLength == layout.dataLength + db::kKeySize),
      problems_(layout.table, prefix_ + "прочие ошибки таблицы не показаны", out) {
  if (!rule.uniqueWith.empty()) uniqueWith_ = FindField(layout, rule.uniqueWith);
  for (const FieldRule& bound : FieldRules()) {
    const FieldDef* field = bound.table == layout.table ? FindField(layout, bound.field) : nullptr;
    if (field != nullptr) bounds_.push_back({field, bound.fault});
  }
  if (!lengthFits_) {
    problems_.Add(prefix_ + "длина записи " + Num(info.slotLength - db::kKeySize) + " вместо " +
                  Num(layout.dataLength));
  }
}

void TableCheck::Run(const std::vector<DbRecord>& records) {
  for (std::size_t i = 0; i < records.size() && !problems_.Full(); ++i) {
    const int number = static_cast<int>(i) + 1;
    CheckKey(number, records[i]);
    CheckUnique(number, records[i]);
    // Fields are read at the model's offsets only in records of the model's length.
    if (lengthFits_) CheckFields(number, records[i]);
  }
}

void TableCheck::CheckKey(int number, const DbRecord& record) {
  if (!rule_.key->fits(record.key)) Add(number, record.key, std::string(rule_.key->text));
}

void TableCheck::CheckUnique(int number, const DbRecord& record) {
  const bool paired = uniqueWith_ != nullptr && lengthFits_;
  const std::int64_t with = paired ? FieldInteger(record.data, *uniqueWith_).value_or(0) : 0;
  if (seen_.emplace(record.key, with).second) return;
  if (uniqueWith_ == nullptr) {
    Add(number, record.key, "ключ повторяется");
  } else {
    Add(number, record.key,
        "повторяется вместе с полем «" + std::string(uniqueWith_->name) + "» = " + Num(with));
  }
}

void TableCheck::CheckFields(int number, const DbRecord& record) {
  for (const std::string& fault : FieldFaults(layout_, record.data)) Add(number, record.key, fault);
  for (const BoundField& bound : bounds_) {
    const std::optional<std::int64_t> value = FieldInteger(record.data, *bound.field);
    const std::optional<std::string> fault = value ? bound.fault(*value, record.key) : std::nullopt;
    if (fault) Add(number, record.key, "поле «" + std::string(bound.field->name) + "»: " + *fault);
  }
}

// The settings block: the program writes it with its marker at every open
// and close, so a block without one is a block lost (a page of zeros reads so).
void CheckSettings(DbReader& reader, std::vector<DbProblem>& out) {
  const RecordLayout& layout = ModelSettingsLayout();
  const std::string prefix =
      "Ошибка данных блока № " + Num(kSettingsBlock) + " (" + std::string(layout.name) + "): ";
  DbRawBlock block = reader.ReadRawBlock(kSettingsBlock);
  if (!block.problems.empty()) return;  // the engine's check names them
  ModelSettings settings;
  std::copy_n(block.bytes.begin(), ModelSettings::kLength, settings.Block().begin());
  if (!settings.HasMarker()) {
    out.push_back({kSettingsBlock, prefix + "нет метки настроек, настройки модели потеряны"});
    return;
  }
  for (const std::string& fault : FieldFaults(layout, settings.Block())) {
    out.push_back({kSettingsBlock, prefix + fault});
  }
}

}  // namespace

std::vector<DbProblem> CheckModelTables(DbReader& reader) {
  std::vector<DbProblem> problems;
  if (!reader.Accepted()) return problems;
  for (const DbTableInfo& info : reader.Tables()) {
    if (info.number == kSettingsBlock) {
      if (info.rawBlock) CheckSettings(reader, problems);
      continue;
    }
    const RecordLayout* layout = ModelTableLayout(info.number);
    const std::optional<TableRule> rule = TableRuleOf(info.number);
    if (info.rawBlock || layout == nullptr || !rule) continue;
    TableCheck(info, *layout, *rule, problems).Run(reader.ReadTable(info.number).records);
  }
  return problems;
}

std::vector<DbProblem> CheckModelFile(RandomAccessFile& file) {
  DbReader reader(file, db::FileKind::Model);
  std::vector<DbProblem> problems = reader.Check();
  const std::vector<DbProblem> model = CheckModelTables(reader);
  problems.insert(problems.end(), model.begin(), model.end());
  return problems;
}

}  // namespace kordavelt
