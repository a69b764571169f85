#pragma once

// "Копировать в файл" of a table: the rows as the owner shows them, written
// as CSV, tab separated text or XML (see ExportVariant), so that GetClass
// reads them back as one section named after the table: the CSV header
// "#name" and one field name for every further column, as many fields as
// each row; the TXT name alone on its line, the column labels on the line
// the reader skips, then the rows. A check box is written as its value
// ("Да", "Нет"), any other picture as its picture string ("рис." in TXT).

#include <string>
#include <string_view>

#include "exchange/export_variant.h"
#include "exchange/text_file.h"
#include "storage/file_layer.h"
#include "ui/table_owner.h"
#include "ui/ui_host.h"

namespace kordavelt {

// Asks for the file ("Экспорт. " + caption, the seven variants) and writes
// the table. True when a file was written.
bool ExportTable(TableOwner& owner, TableForm& form, UiHost& ui, FileSystem& fileSystem,
                 const CsvOptions& options);

// Writes the table to `path` without asking (the command line). An XML
// variant is never appended to. Failures are shown through `ui`; true when
// the file was written.
bool ExportTableToFile(TableOwner& owner, TableForm& form, const std::string& path,
                       ExportVariant variant, const CsvOptions& options, FileSystem& fileSystem,
                       bool append, UiHost& ui);

// Several tables written one after another into one file, as the command
// line exports a whole reference book: CSV and TXT put each table as its own
// export would; XML puts the rows of all tables under one root element, each
// table's rows named after it, so that GetClass reads them back as sections.
class TableExportFile {
 public:
  TableExportFile(UiHost& ui, FileSystem& fileSystem, CsvOptions options);
  ~TableExportFile();
  TableExportFile(const TableExportFile&) = delete;
  TableExportFile& operator=(const TableExportFile&) = delete;

  // Opens `path`; messages are captioned `title`. An XML variant is never
  // appended to. False (the message shown) when the file cannot be opened.
  bool Open(std::string_view title, const std::string& path, ExportVariant variant, bool append);
  // Writes the rows of the table `owner` shows, with the form's Exporting set.
  void Write(TableOwner& owner, TableForm& form);
  // Ends the file; false (the message shown) when any write failed.
  bool Close();

 private:
  UiHost& ui_;
  FileSystem& fileSystem_;
  CsvOptions options_;
  ExportVariant variant_ = ExportVariant::Csv;
  std::string title_;
  std::string path_;
  TextFileWriter out_;
  int tables_ = 0;
};

// The append refusal of the table export, before the file name.
inline constexpr std::string_view kExportAppendRefusal = "Невозможно добавление в ";

}  // namespace kordavelt
