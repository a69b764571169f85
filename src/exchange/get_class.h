#pragma once

// GetClass reads the exchange files that PutClass and the table export write
// (and the same formats from elsewhere), record by record:
//
//   GetClass get(ui, files, options.separator);
//   if (get.Open("Импорт модели", modelName)) {
//     while (get.ReadRecord()) {
//       if (get.IsTableStart()) { table = get.Record(); get.SetFieldNames(...); continue; }
//       key = get.GetInt(0); name = get.GetStr(1); ...
//     }
//   }
//
// CSV and TXT: one line per record; a line starting with "#" (CSV) or a line
// without TAB (TXT, its next line of field names skipped) starts a table.
// XML: every element under the root is a row; a change of element name
// starts a table, and the row's fields are put in the order of FieldNames.
// CSV and TXT files are Windows-1251 unless they start with a UTF-8 byte
// order mark. Records are program text (UTF-8); reading ends at the end of the file, or
// with a message on a damaged one.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/text_file.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {

class XmlRowReader;

enum class ImportVariant : int {
  Csv = 1,
  Txt = 3,
  Xml = 4,
};

// The open dialog's filter: CSV, TXT, XML.
inline constexpr std::string_view kImportFilter =
    "Текст, разделители - запятые (*.CSV)|*.CSV|"
    "Текст, разделители - запятые (*.TXT)|*.TXT|"
    "Документ XML (*.XML)|*.XML";

class GetClass {
 public:
  // The longest line of a CSV or TXT file that is read.
  static constexpr std::size_t kMaxLineBytes = 1024 * 1024;

  GetClass(UiHost& ui, FileSystem& fileSystem, char separator = ',');
  ~GetClass();
  GetClass(const GetClass&) = delete;
  GetClass& operator=(const GetClass&) = delete;

  // Asks for the file (open dialog `title`, starting at `defaultName`); the
  // chosen filter entry gives the format. True when the file was opened.
  bool Open(std::string_view title, std::string_view defaultName);
  // Opens `path` without asking.
  bool OpenPath(const std::string& path, ImportVariant variant);
  // Opens the last file again at its start, as it was opened first: an
  // import that checks a whole file before it changes anything reads it
  // twice. False when it cannot be opened (the message was shown).
  bool Reopen();
  bool IsOpen() const { return open_; }
  // True when the last file opened could not be opened or read to its end
  // (the message was shown).
  bool Failed() const { return failed_; }
  void Close();

  ImportVariant Variant() const { return variant_; }
  // True when the last XML file opened declared a UTF encoding.
  bool Utf8() const { return utf8_; }
  // The root element of the last XML file opened; empty for CSV and TXT.
  const std::string& RootName() const { return rootName_; }

  // The '#'-list of the fields expected in the current table (XML).
  void SetFieldNames(std::string_view fieldNames) { fieldNames_ = std::string(fieldNames); }
  const std::string& FieldNames() const { return fieldNames_; }

  // Reads the next record; false at the end of the file or after an error.
  bool ReadRecord();
  // The values ('#'-list), or the table's name when IsTableStart.
  const std::string& Record() const { return record_; }
  bool IsTableStart() const { return tableStart_; }
  // The line of the file where the current record stands (XML: the start
  // tag of its row element), from 1; the engineer finds a faulty row by it.
  int RecordLine() const { return recordLine_; }

  // Item i of the record, by the rules of the paste accessors.
  std::int32_t GetInt(int i) const;
  double GetReal(int i) const;
  bool GetBool(int i) const;
  std::string GetStr(int i) const;
  std::int32_t GetCode(int i, int shift) const;
  int GetIndex(int i, std::string_view choices) const;

 private:
  bool OpenFile(std::string_view title, const std::string& path, ImportVariant variant);
  bool ReadTextRecord();
  bool ReadXmlRecord();
  void Fail(std::string_view reason);
  // A CSV or TXT line's bytes as program text.
  std::string ProgramText(std::string_view fileText) const;

  static constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

  UiHost& ui_;
  FileSystem& fileSystem_;
  char separator_;
  ImportVariant variant_ = ImportVariant::Csv;
  std::string title_;
  std::string path_;
  bool open_ = false;
  bool failed_ = false;
  bool utf8_ = false;
  bool textUtf8_ = false;  // the CSV or TXT file starts with a UTF-8 byte order mark
  std::string rootName_;
  TextFileReader text_;
  std::unique_ptr<XmlRowReader> xml_;
  std::string fieldNames_;
  std::string record_;
  bool tableStart_ = false;
  int recordLine_ = 0;
  bool skipNextLine_ = false;
  std::string previousRow_;
  bool anyRow_ = false;
};

}  // namespace kordavelt
