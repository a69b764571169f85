// "Импорт" of the reference book (declared in book_exchange.h): the file is
// read and checked whole, then its rows are added, repeats skipped.

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "refbook/book_categories.h"
#include "refbook/book_exchange.h"
#include "refbook/book_import_row.h"
#include "refbook/book_owner.h"
#include "refbook/book_row_check.h"
#include "refbook/book_type_key.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// The refusal message of the window lists this many problems.
constexpr int kShownProblems = 20;

// The rows are kept until the whole file is checked: a catalogue holds a few
// megabytes of them, and a file far beyond that is no catalogue to keep in
// memory.
constexpr std::size_t kMaxKeptBytes = 64 * 1024 * 1024;

// A row of a known section, kept until the whole file has been checked.
struct ImportedRow {
  int line = 0;
  std::string items;
};

struct ImportedSection {
  std::string name;
  int table = 0;
  std::vector<ImportedRow> rows;
};

// Rows outside the book's sections: those before the first section, or a
// section of another kind of file.
struct SkippedSection {
  std::string name;  // empty before the first section
  int line = 0;
  int rows = 0;
  bool open = false;
};

std::string Where(int line, const std::string& section) {
  return "строка " + std::to_string(line) + ", " + section;
}

void NoteSkipped(SkippedSection& skipped, BookImportReport& report) {
  if (!skipped.open) return;
  skipped.open = false;
  if (!skipped.name.empty()) {
    report.notes.push_back("строка " + std::to_string(skipped.line) + ": раздел «" + skipped.name +
                           "» не из справочника, пропущено строк: " + std::to_string(skipped.rows));
  } else if (skipped.rows > 0) {
    report.notes.push_back("до первого раздела пропущено строк: " + std::to_string(skipped.rows));
  }
}

// Reads every record of the file: rows of the book's sections are checked
// and kept, other rows counted for the notes.
std::vector<ImportedSection> ReadSections(GetClass& file, BookImportReport& report) {
  std::vector<ImportedSection> sections;
  SkippedSection skipped{{}, 0, 0, true};
  std::size_t kept = 0;
  while (file.ReadRecord()) {
    if (file.IsTableStart()) {
      NoteSkipped(skipped, report);
      const BookTableLayout* layout = BookLayoutOfCategory(BookCategoryOfSection(file.Record()));
      if (layout == nullptr) {
        skipped = {file.Record(), file.RecordLine(), 0, true};
        continue;
      }
      sections.push_back({file.Record(), layout->table, {}});
      file.SetFieldNames(BookFieldNames(*layout));
      continue;
    }
    if (skipped.open) {
      ++skipped.rows;
      continue;
    }
    ImportedSection& section = sections.back();
    for (const BookCellProblem& cell : CheckBookRow(section.table, file.Record())) {
      report.AddProblem(Where(file.RecordLine(), section.name) + ", " +
                        BookColumnLabel(section.table, cell.column) + ": «" + cell.text + "» — " +
                        cell.reason);
    }
    kept += file.Record().size();
    if (kept > kMaxKeptBytes) {
      report.AddProblem(Where(file.RecordLine(), section.name) +
                        ": файл слишком велик для справочника");
      break;
    }
    section.rows.push_back({file.RecordLine(), file.Record()});
  }
  NoteSkipped(skipped, report);
  report.readFailed = file.Failed();
  if (sections.empty() && !report.readFailed) report.AddProblem("в файле нет разделов справочника");
  return sections;
}

// Adds the rows of the checked sections, each category's repeats skipped
// unless they are asked for.
void AddSections(BookOwner& owner, const std::vector<ImportedSection>& sections,
                 const BookImportOptions& options, BookImportReport& report) {
  for (const ImportedSection& section : sections) {
    if (!owner.ShowTable(section.table)) {
      report.AddProblem("раздел " + section.name + ": таблица справочника не открыта");
      continue;
    }
    std::set<std::string> held = BookTypeKeys(owner.Book(), section.table);
    for (const ImportedRow& row : section.rows) {
      std::string key =
          BookTypeKey(section.table, BookRowRecord(owner.Book(), section.table, row.items));
      if (!options.appendDuplicates && held.contains(key)) {
        ++report.skippedDuplicates;
        continue;
      }
      if (owner.ImportRow(row.items) == 0) {
        report.AddProblem(Where(row.line, section.name) + ": тип не добавлен");
        continue;
      }
      ++report.added;
      held.insert(std::move(key));
    }
  }
}

// The window's account of an import: refused files in an error message,
// skipped repeats and other sections in a note.
void ShowImportReport(UiHost& ui, const BookImportReport& report) {
  if (report.readFailed) return;  // the reader has shown why
  if (report.problemCount > 0) {
    std::string text = report.added == 0 ? std::string("Типы не добавлены") : report.Summary();
    text += ", ошибок: " + std::to_string(report.problemCount);
    const int shown = std::min<int>(kShownProblems, static_cast<int>(report.problems.size()));
    for (int i = 0; i < shown; ++i) text += "#" + report.problems[i];
    if (report.problemCount > shown) text += "#…";
    ui.ShowError(BookOwner::kCaption, text);
    return;
  }
  if (report.skippedDuplicates == 0 && report.notes.empty()) return;
  std::string text = report.Summary();
  for (const std::string& note : report.notes) text += "#" + note;
  ui.ShowInfo(BookOwner::kCaption, text);
}

}  // namespace

std::string BookImportReport::Summary() const {
  return "добавлено типов: " + std::to_string(added) +
         ", пропущено повторов: " + std::to_string(skippedDuplicates);
}

void BookImportReport::AddProblem(std::string text) {
  ++problemCount;
  if (static_cast<int>(problems.size()) < kMaxProblems) problems.push_back(std::move(text));
}

BookImportReport ImportBookSections(BookOwner& owner, GetClass& file,
                                    const BookImportOptions& options) {
  BookImportReport report;
  const std::vector<ImportedSection> sections = ReadSections(file, report);
  file.Close();
  if (report.Succeeded()) AddSections(owner, sections, options, report);
  return report;
}

int ImportBook(BookOwner& owner, UiHost& ui, FileSystem& fileSystem, char separator) {
  GetClass file(ui, fileSystem, separator);
  if (!file.Open(BookOwner::kCaption, "")) return 0;
  // The window offers no switch for repeats: importing a supplier's file
  // again must not double the catalogue, so repeats are skipped and told.
  const BookImportReport report = ImportBookSections(owner, file);
  owner.Form().refresh = Refresh::All;
  ShowImportReport(ui, report);
  return report.added;
}

}  // namespace kordavelt
