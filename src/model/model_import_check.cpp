#include "model/model_import_check.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/paste_values.h"
#include "exchange/exchange_cell.h"
#include "exchange/get_class.h"
#include "model/model_exchange_columns.h"
#include "model/model_exchange_format.h"
#include "model/model_keys.h"

namespace kordavelt {
namespace {

constexpr std::string_view kModelRoot = "Model";
constexpr std::size_t kQuotedCharacters = 40;

constexpr CodeForm kBranchForm{8, kMaxNodeNumber, kMaxSlot, "узел", "присоединение"};
constexpr CodeForm kReceiverForm{10, kMaxGroupNumber, kMaxReceiverInGroup, "группа", "номер"};

// A text as a message quotes it; a long cell is cut.
std::string Quoted(std::string_view text) {
  const std::string_view cut = Utf8Prefix(text, kQuotedCharacters);
  return "«" + std::string(cut) + (cut.size() < text.size() ? "…" : "") + "»";
}

// A '#'-list as a message names it: "Откр, Трнш, Блок".
std::string ListText(std::string_view list) {
  std::string text;
  for (const char c : list) {
    if (c == '#') {
      text += ", ";
    } else {
      text += c;
    }
  }
  return text;
}

// The first `count` cells of a record: a hostile row of a million items is
// not split whole.
std::vector<std::string_view> SplitCells(std::string_view record, std::size_t count) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  while (cells.size() < count) {
    const std::size_t end = record.find('#', start);
    cells.push_back(record.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return cells;
}

// The words GetBool reads as yes ("Y", "Да", "T", "Истина") and those that
// mean no; "1" or "yes" would silently read as no.
bool IsYesOrNo(std::string_view text) {
  for (const std::string_view word : {"Y", "D", "T", "Д", "И", "N", "F", "Н", "Л"}) {
    if (text.starts_with(word)) return true;
  }
  return false;
}

bool IsDrawingKind(std::string_view text) {
  const int position = GetIndex(text, 0, kImportSectionNames);
  if (position != kNoIndex) return KindOfSection(position) != 0;
  std::int64_t code = 0;
  return CheckIntegerCell(text, 1, 255, code).empty();
}

// What a cell gave: the reason it is refused, or its value.
struct Cell {
  std::string problem;
  std::int64_t value = 0;
  bool namesRecord = false;  // a key > 0: the row's record is found by it
};

class FileCheck {
 public:
  FileCheck(GetClass& get, const ModelSettings& settings)
      : get_(get), settings_(settings), voltages_(ListText(VoltageList(settings))) {}

  ModelImportReport Run() {
    if (get_.Variant() == ImportVariant::Xml && get_.RootName() != kModelRoot) {
      report_.Add("корневой элемент XML " + Quoted(get_.RootName()) +
                  " вместо «Model»: это не файл модели");
      return std::move(report_);
    }
    // A file of bare receiver rows imports as receivers.
    Enter(kSectionConsumer, ListItem(kImportSectionNames, kSectionConsumer));
    while (get_.ReadRecord()) {
      if (get_.IsTableStart()) {
        StartSection(get_.Record());
      } else if (section_ != kSectionUnknown) {
        CheckRow();
      }
    }
    if (get_.Failed()) report_.Add("файл прочитан не до конца");
    return std::move(report_);
  }

 private:
  void Enter(int section, const std::string& name) {
    section_ = section;
    sectionName_ = name;
    get_.SetFieldNames(SectionHeader(section_));
  }

  void StartSection(const std::string& name) {
    Enter(SectionOfName(name), name);
    if (section_ == kSectionUnknown) {
      report_.Add("строка " + std::to_string(get_.RecordLine()) + ": неизвестный раздел " +
                  Quoted(name));
    }
  }

  void CheckRow() {
    const SectionColumns& declared = ColumnsOfSection(section_);
    const std::vector<std::string_view> cells = SplitCells(get_.Record(), declared.columns.size());
    Cell key;
    Cell page;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      Cell cell = Read(declared.columns[i], TrimBlanks(cells[i]));
      const int position = static_cast<int>(i);
      if (!cell.problem.empty()) {
        Report(position, cells[i], cell.problem);
      } else if (position == declared.keyColumn) {
        key = std::move(cell);
      } else if (position == declared.pageColumn) {
        page = std::move(cell);
        page.namesRecord = true;
      }
    }
    if (!key.namesRecord || (declared.pageColumn >= 0 && !page.namesRecord)) return;
    // Pages are numbered 0 … 255.
    const std::int64_t identity =
        declared.pageColumn < 0 ? key.value : (key.value << 8) | page.value;
    NoteKey(identity, cells[static_cast<std::size_t>(declared.keyColumn)], declared.keyColumn);
  }

  // Rows resolved by designation (key ≤ 0) are not compared; the same key
  // twice in one section would silently overwrite the first row.
  void NoteKey(std::int64_t identity, std::string_view text, int column) {
    const std::int64_t where = (static_cast<std::int64_t>(section_) << 40) | identity;
    const auto [first, added] = firstLines_.try_emplace(where, get_.RecordLine());
    if (added) return;
    Report(column, text,
           "ключ повторяется (впервые в строке " + std::to_string(first->second) + ")");
  }

  // A cell that may carry the row's key gives its value too.
  Cell Read(const ExchangeColumn& column, std::string_view text) const {
    Cell cell;
    if (text.empty() && column.mayBeEmpty) return cell;
    switch (column.kind) {
      case CellKind::Integer:
        cell.problem = CheckIntegerCell(text, column.min, column.max, cell.value);
        break;
      case CellKind::BranchKey:
        cell.problem = CheckCodeCell(text, kBranchForm, cell.value);
        break;
      case CellKind::ReceiverKey:
        cell.problem = CheckCodeCell(text, kReceiverForm, cell.value);
        // The import finds a receiver by its key only with a group and a number.
        if (GroupOfKey(static_cast<std::int32_t>(cell.value)) < 1 ||
            NumberInGroup(static_cast<std::int32_t>(cell.value)) < 1) {
          cell.value = 0;
        }
        break;
      default:
        cell.problem = ValueProblem(column, text);
        break;
    }
    cell.namesRecord = cell.problem.empty() && cell.value > 0;
    return cell;
  }

  std::string ValueProblem(const ExchangeColumn& column, std::string_view text) const {
    double number = 0;
    switch (column.kind) {
      case CellKind::Float:
        return CheckFloatCell(text);
      case CellKind::Number:
        return CheckNumberCell(text, number);
      case CellKind::Voltage:
        if (text.empty() || VoltageIndexOf(settings_, text) != kNoIndex) return {};
        return "нет в списке напряжений: " + voltages_;
      case CellKind::ListItem:
        if (text.empty() || GetIndex(text, 0, column.list) != kNoIndex) return {};
        return "нет в списке: " + ListText(column.list);
      case CellKind::YesNo:
        return text.empty() || IsYesOrNo(text) ? std::string() : "не «Y» и не «N»";
      case CellKind::DrawingKind:
        return text.empty() || IsDrawingKind(text) ? std::string() : "неизвестный вид объекта";
      default:  // texts, and lists the import has a default for
        return {};
    }
  }

  // "строка 12, Node, Key: «1.5» — не целое число"
  void Report(int position, std::string_view text, const std::string& reason) {
    std::string column = ListItem(SectionHeader(section_), position);
    if (column.empty()) column = "столбец " + std::to_string(position + 1);
    report_.Add("строка " + std::to_string(get_.RecordLine()) + ", " + sectionName_ + ", " +
                column + ": " + Quoted(TrimBlanks(text)) + " — " + reason);
  }

  GetClass& get_;
  const ModelSettings& settings_;
  const std::string voltages_;
  int section_ = kSectionConsumer;
  std::string sectionName_;
  // The line of the first row of each section and key.
  std::unordered_map<std::int64_t, int> firstLines_;
  ModelImportReport report_;
};

}  // namespace

void ModelImportReport::Add(std::string text) {
  ++problemCount;
  if (static_cast<int>(problems.size()) < kMaxTexts) problems.push_back(std::move(text));
}

ModelImportReport CheckModelFile(GetClass& get, const ModelSettings& settings) {
  return FileCheck(get, settings).Run();
}

}  // namespace kordavelt
