#include "exchange/put_class.h"

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "exchange/exchange_text.h"
#include "exchange/export_file_choice.h"
#include "storage/file_errors.h"

namespace kordavelt {

PutClass::PutClass(UiHost& ui, FileSystem& fileSystem, CsvOptions options)
    : ui_(ui), fileSystem_(fileSystem), options_(options) {}

PutClass::~PutClass() {
  if (IsOpen()) Close();
}

bool PutClass::Open(std::string_view title, std::string_view fileName) {
  if (IsOpen()) Close();
  const std::optional<ExportTarget> target = ChooseExportFile(
      ui_, fileSystem_, title, ChangeExtension(fileName, ".CSV"), kPutAppendRefusal);
  if (!target) return false;
  return OpenFile(title, target->path, target->variant, target->append);
}

bool PutClass::OpenPath(const std::string& path, ExportVariant variant, bool append) {
  return OpenFile(path, path, variant, append);
}

bool PutClass::OpenFile(std::string_view title, const std::string& path, ExportVariant variant,
                        bool append) {
  if (IsOpen()) Close();
  title_ = std::string(title);
  path_ = path;
  variant_ = variant;
  errorShown_ = false;
  tableName_.clear();
  fieldNames_.clear();
  if (append && IsXml(variant)) {
    ui_.ShowError(title_, AppendRefusedText(kPutAppendRefusal, path));
    return false;
  }
  if (!out_.Open(fileSystem_, path, append)) {
    ui_.ShowError(title_, "Не удалось открыть файл#" + path + "#" + FileErrorText(out_.Error()));
    return false;
  }
  if (IsXml(variant_)) {
    Write(XmlDeclaration(IsUtf8(variant_)));
    Write("<Model>");
  }
  return CheckWrite();
}

void PutClass::Write(std::string_view text) {
  out_.WriteLine(EncodeForFile(text, IsUtf8(variant_)));
}

bool PutClass::CheckWrite() {
  if (!out_.Failed()) return true;
  if (!errorShown_) {
    errorShown_ = true;
    ui_.ShowError(title_, "Ошибка записи в файл#" + path_ + "#" + FileErrorText(out_.Error()));
  }
  return false;
}

void PutClass::BeginTable(std::string_view name, std::string_view fieldNames) {
  tableName_ = std::string(name);
  fieldNames_ = std::string(fieldNames);
  if (!IsOpen()) return;
  const int fields = ListCount(fieldNames_);
  switch (variant_) {
    case ExportVariant::Csv:
    case ExportVariant::CsvDos: {
      // As the table export: the name takes the first field's place, so the
      // header has as many fields as the rows.
      const char separator = CsvSeparator(options_);
      std::string header = "#" + tableName_;
      for (int i = 1; i < fields; ++i) header += separator + ListItem(fieldNames_, i);
      Write("");
      Write(header);
      break;
    }
    case ExportVariant::Txt: {
      std::string header;
      for (int i = 0; i < fields; ++i) header += (i > 0 ? "\t" : "") + ListItem(fieldNames_, i);
      Write(tableName_);
      Write(header);
      break;
    }
    default:
      break;  // XML rows carry their table's name
  }
  CheckWrite();
}

bool PutClass::WriteRow(std::string_view row) {
  row_ = std::string(row);
  return WriteRow();
}

bool PutClass::WriteRow() {
  if (!IsOpen()) return false;
  const int fields = ListCount(fieldNames_);
  const int values = ListCount(row_);
  switch (variant_) {
    case ExportVariant::Csv:
    case ExportVariant::CsvDos: {
      const char separator = CsvSeparator(options_);
      std::string text;
      for (int i = 0; i < values; ++i) {
        if (i > 0) text += separator;
        text += CsvItem(ListItem(row_, i), options_);
      }
      Write(text);
      break;
    }
    case ExportVariant::Txt: {
      std::string text;
      for (int i = 0; i < values; ++i) {
        if (i > 0) text += '\t';
        text += TrimBlanks(ListItem(row_, i));
      }
      // A line without TAB would read back as a table's name.
      if (values == 1) text += '\t';
      Write(text);
      break;
    }
    case ExportVariant::XmlElements1251:
    case ExportVariant::XmlElementsUtf8: {
      const std::string element = XmlName(tableName_);
      Write("<" + element + ">");
      for (int i = 0; i < fields; ++i)
        Write(XmlElement(ListItem(fieldNames_, i), ListItem(row_, i)));
      Write("</" + element + ">");
      break;
    }
    default: {
      Write("<" + XmlName(tableName_) + XmlAttributes(fieldNames_, row_, fields) + "/>");
      break;
    }
  }
  return CheckWrite();
}

bool PutClass::Close() {
  if (!IsOpen()) return false;
  if (IsXml(variant_)) Write("</Model>");
  const bool written = out_.Close();
  if (!written && !errorShown_) {
    errorShown_ = true;
    ui_.ShowError(title_, "Ошибка записи в файл#" + path_ + "#" + FileErrorText(out_.Error()));
  }
  return written;
}

}  // namespace kordavelt
