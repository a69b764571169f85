#pragma once

// PutClass writes several named tables into one exchange file: CSV, tab
// separated text or XML (see ExportVariant). The model export uses it:
//
//   PutClass put(ui, files, options);
//   if (put.Open("Экспорт модели", modelName)) {
//     put.BeginTable("Nodes", "Key#Name#U");
//     put.Row() = "1#ТП-1#0.4";
//     put.WriteRow();
//     put.Close();
//   }
//
// The CSV and TXT forms start each table with a line naming it (and its
// fields); the XML forms put every row under the root element <Model> as an
// element named after its table, its fields as child elements or attributes.

#include <string>
#include <string_view>

#include "exchange/export_variant.h"
#include "exchange/text_file.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {

class PutClass {
 public:
  PutClass(UiHost& ui, FileSystem& fileSystem, CsvOptions options = {});
  ~PutClass();
  PutClass(const PutClass&) = delete;
  PutClass& operator=(const PutClass&) = delete;

  // Asks for the file (save dialog `title`, the name proposed with ".CSV"),
  // and about an existing one; true when a file was opened.
  bool Open(std::string_view title, std::string_view fileName);
  // Opens `path` without asking. An XML variant is never appended to.
  bool OpenPath(const std::string& path, ExportVariant variant, bool append);
  bool IsOpen() const { return out_.IsOpen(); }
  ExportVariant Variant() const { return variant_; }

  // Starts table `name` with the fields of the '#'-list `fieldNames`.
  void BeginTable(std::string_view name, std::string_view fieldNames);

  // The row to write: a '#'-list of values, one per field.
  std::string& Row() { return row_; }
  // Writes Row(); false once any write failed (the error is shown once).
  bool WriteRow();
  bool WriteRow(std::string_view row);

  // Ends the file; false when any write failed.
  bool Close();

 private:
  bool OpenFile(std::string_view title, const std::string& path, ExportVariant variant,
                bool append);
  void Write(std::string_view text);
  bool CheckWrite();

  UiHost& ui_;
  FileSystem& fileSystem_;
  CsvOptions options_;
  ExportVariant variant_ = ExportVariant::Csv;
  std::string path_;
  std::string title_;
  std::string tableName_;
  std::string fieldNames_;
  std::string row_;
  TextFileWriter out_;
  bool errorShown_ = false;
};

// The append refusal of PutClass, before the file name.
inline constexpr std::string_view kPutAppendRefusal = "Не могу добавлять в ";

}  // namespace kordavelt
