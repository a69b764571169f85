#include "exchange/get_class.h"

#include <vector>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/paste_values.h"
#include "exchange/exchange_text.h"
#include "exchange/xml_row_reader.h"

namespace kordavelt {
namespace {

// A CSV data line: quote characters (double or single) switch quoting on
// and off and become blanks; outside quotes the separator, and everywhere a
// TAB, separate items.
std::string CsvRecord(std::string_view line, char separator) {
  std::string record(line);
  bool quoted = false;
  for (char& c : record) {
    if (c == '"' || c == '\'') {
      quoted = !quoted;
      c = ' ';
    } else if (c == '\t' || (c == separator && !quoted)) {
      c = '#';
    }
  }
  return record;
}

bool IsBlankLine(std::string_view line) {
  for (char c : line) {
    if (c == '\t' || static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

GetClass::GetClass(UiHost& ui, FileSystem& fileSystem, char separator)
    : ui_(ui), fileSystem_(fileSystem), separator_(CsvSeparator(CsvOptions{separator, false})) {}

GetClass::~GetClass() = default;

bool GetClass::Open(std::string_view title, std::string_view defaultName) {
  Close();
  int filter = 1;
  FileDialogRequest request{std::string(title), std::string(kImportFilter), "CSV",
                            std::string(defaultName), false};
  request.chosenFilter = &filter;
  const std::optional<std::string> chosen = ui_.AskOpenFileName(request);
  if (!chosen || chosen->empty()) return false;
  const ImportVariant variant = filter == 2   ? ImportVariant::Txt
                                : filter == 3 ? ImportVariant::Xml
                                              : ImportVariant::Csv;
  return OpenFile(title, *chosen, variant);
}

bool GetClass::OpenPath(const std::string& path, ImportVariant variant) {
  return OpenFile(path, path, variant);
}

bool GetClass::Reopen() {
  if (path_.empty()) return false;
  const std::string title = title_;
  const std::string path = path_;
  return OpenFile(title, path, variant_);
}

bool GetClass::OpenFile(std::string_view title, const std::string& path, ImportVariant variant) {
  Close();
  failed_ = false;
  title_ = std::string(title);
  path_ = path;
  variant_ = variant;
  utf8_ = false;
  textUtf8_ = false;
  rootName_.clear();
  if (variant_ == ImportVariant::Xml) {
    xml_ = std::make_unique<XmlRowReader>();
    if (!xml_->Open(fileSystem_, path)) {
      Fail(xml_->ErrorText());
      xml_.reset();
      return false;
    }
    utf8_ = xml_->Utf8();
    rootName_ = xml_->RootName();
  } else if (!text_.Open(fileSystem_, path)) {
    Fail("Не удалось открыть файл");
    return false;
  }
  open_ = true;
  return true;
}

void GetClass::Close() {
  open_ = false;
  text_.Close();
  xml_.reset();
  record_.clear();
  tableStart_ = false;
  recordLine_ = 0;
  skipNextLine_ = false;
  previousRow_.clear();
  anyRow_ = false;
}

void GetClass::Fail(std::string_view reason) {
  ui_.ShowError(title_, "Ошибка чтения файла " + path_ + "#" + std::string(reason));
  failed_ = true;
  Close();
}

bool GetClass::ReadRecord() {
  if (!open_) return false;
  return variant_ == ImportVariant::Xml ? ReadXmlRecord() : ReadTextRecord();
}

bool GetClass::ReadTextRecord() {
  std::string line;
  for (;;) {
    switch (text_.ReadLine(line, kMaxLineBytes)) {
      case TextFileReader::Status::Line:
        break;
      case TextFileReader::Status::End:
        Close();
        return false;
      case TextFileReader::Status::TooLong:
        Fail("Слишком длинная строка " + std::to_string(text_.LineNumber() + 1));
        return false;
      case TextFileReader::Status::Error:
        Fail("Ошибка чтения");
        return false;
    }
    // A CSV or TXT file saved as UTF-8 by another program starts with the
    // byte order mark; without one the file is Windows-1251.
    if (text_.LineNumber() == 1 && line.starts_with(kUtf8Bom)) {
      line.erase(0, kUtf8Bom.size());
      textUtf8_ = true;
    }
    if (skipNextLine_) {  // the field names under a TXT table's name
      skipNextLine_ = false;
      continue;
    }
    // Blank lines separate tables; they hold no record (a TAB makes a row
    // of empty values).
    if (IsBlankLine(line)) continue;
    recordLine_ = text_.LineNumber();

    if (variant_ == ImportVariant::Txt) {
      if (line.find('\t') == std::string::npos) {
        record_ = ProgramText(TrimBlanks(line));
        tableStart_ = true;
        skipNextLine_ = true;
        return true;
      }
      // Texts are written as they are: only TABs separate.
      for (char& c : line) {
        if (c == '\t') c = '#';
      }
      record_ = ProgramText(line);
      tableStart_ = false;
      return true;
    }

    if (line.front() == '#') {
      const std::size_t end = line.find(separator_, 1);
      const std::string_view name =
          std::string_view(line).substr(1, end == std::string::npos ? std::string::npos : end - 1);
      record_ = ProgramText(TrimBlanks(name));
      tableStart_ = true;
      return true;
    }
    record_ = ProgramText(CsvRecord(line, separator_));
    tableStart_ = false;
    return true;
  }
}

std::string GetClass::ProgramText(std::string_view fileText) const {
  // UTF-8 passes through Windows-1251 so that the program's text holds only
  // what its files can store, and a damaged sequence becomes "?".
  return textUtf8_ ? Cp1251ToUtf8(Utf8ToCp1251(fileText)) : Cp1251ToUtf8(fileText);
}

bool GetClass::ReadXmlRecord() {
  const XmlRow* row = nullptr;
  switch (xml_->Peek(&row)) {
    case XmlRowReader::Status::Row:
      break;
    case XmlRowReader::Status::End:
      Close();
      return false;
    case XmlRowReader::Status::Error:
      Fail(xml_->ErrorText());
      return false;
  }
  recordLine_ = row->line;
  if (!anyRow_ || row->name != previousRow_) {
    // A new element name starts a table; the same element is then read
    // again as its first row.
    anyRow_ = true;
    previousRow_ = row->name;
    record_ = row->name;
    tableStart_ = true;
    return true;
  }

  const int fieldCount = ListCount(fieldNames_);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(fieldCount));
  for (int i = 0; i < fieldCount; ++i) names.push_back(ListItem(fieldNames_, i));
  std::vector<std::string> values(names.size());
  std::size_t used = 0;
  for (const auto& [name, value] : row->fields) {
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (names[k] != name) continue;
      values[k] = value;
      used = std::max(used, k + 1);
      break;
    }
  }
  record_.clear();
  for (std::size_t k = 0; k < used; ++k) {
    if (k > 0) record_ += '#';
    record_ += values[k];
  }
  tableStart_ = false;
  xml_->Pop();
  return true;
}

std::int32_t GetClass::GetInt(int i) const { return kordavelt::GetInt(record_, i); }
double GetClass::GetReal(int i) const { return kordavelt::GetReal(record_, i); }
bool GetClass::GetBool(int i) const { return kordavelt::GetBool(record_, i); }
std::string GetClass::GetStr(int i) const { return kordavelt::GetStr(record_, i); }
std::int32_t GetClass::GetCode(int i, int shift) const {
  return kordavelt::GetCode(record_, i, shift);
}
int GetClass::GetIndex(int i, std::string_view choices) const {
  return kordavelt::GetIndex(record_, i, choices);
}

}  // namespace kordavelt
