#include "table/table_export.h"

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "draw/picture_string.h"
#include "exchange/exchange_text.h"
#include "exchange/export_file_choice.h"
#include "exchange/text_file.h"
#include "storage/file_errors.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

std::string ExportCaption(const TableForm& form) { return "Экспорт. " + form.caption; }

// Sets the form's Exporting flag for the time of the export.
class ExportingScope {
 public:
  explicit ExportingScope(TableForm& form) : form_(form) { form_.exporting = true; }
  ~ExportingScope() { form_.exporting = false; }
  ExportingScope(const ExportingScope&) = delete;
  ExportingScope& operator=(const ExportingScope&) = delete;

 private:
  TableForm& form_;
};

class TableWriter {
 public:
  TableWriter(TableDriver& driver, TableForm& form, TextFileWriter& out, bool utf8)
      : driver_(driver), form_(form), out_(out), utf8_(utf8) {}

  void Csv(const CsvOptions& options) {
    const char separator = CsvSeparator(options);
    const int columns = driver_.ColCount();
    // The name takes the first column's place: the header names as many
    // fields as every row has values.
    std::string header = "#" + form_.name;
    for (int i = 1; i < columns; ++i) header += separator + ListItem(form_.fieldNames, i);
    Write(header);
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      const std::string line = Row(row);
      std::string text;
      for (int c = 0; c < columns; ++c) {
        if (c > 0) text += separator;
        text += CsvItem(ListItem(line, c), options);
      }
      Write(text);
    }
  }

  // As the reader takes a TXT table: its name alone on a line, then one line
  // it skips, which here labels the columns for people ("Iдоп, А"), then the
  // rows.
  void Txt() {
    const int columns = driver_.ColCount();
    Write(form_.name);
    std::string labels;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) labels += '\t';
      labels += HeaderLabel(ListItem(form_.head1, c), ListItem(form_.head2, c));
    }
    Write(labels);
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      std::string text = TabbedItems(Row(row), columns);
      // A line without TAB would read back as a table's name.
      if (columns == 1) text += '\t';
      Write(text);
    }
  }

  void Blank() { Write(""); }

  void XmlBegin() {
    Write(XmlDeclaration(utf8_));
    Write("<DataRoot>");
  }

  void XmlRows(bool attributes) {
    const std::string element = XmlName(form_.name);
    const int columns = driver_.ColCount();
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      const std::string line = Row(row);
      if (attributes) {
        // Every item of the line, shown or not, as far as there are field names.
        const int items = std::min(ListCount(line), ListCount(form_.fieldNames));
        Write("<" + element + XmlAttributes(form_.fieldNames, line, items) + "/>");
      } else {
        Write("<" + element + ">");
        for (int c = 0; c < columns; ++c) {
          Write(XmlElement(ListItem(form_.fieldNames, c), ListItem(line, c)));
        }
        Write("</" + element + ">");
      }
    }
  }

  void XmlEnd() { Write("</DataRoot>"); }

 private:
  // Row `row` as the file holds it: a check box as the value it stands for,
  // which an import reads back.
  std::string Row(int row) { return WithCheckBoxValues(driver_.Line(row)); }

  // The trimmed items, a picture written as "рис.".
  static std::string TabbedItems(std::string_view list, int columns) {
    std::string text;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      const std::string item(TrimBlanks(ListItem(list, c)));
      text += item.find('@') != std::string::npos ? "рис." : item;
    }
    return text;
  }

  void Write(std::string_view text) { out_.WriteLine(EncodeForFile(text, utf8_)); }

  TableDriver& driver_;
  TableForm& form_;
  TextFileWriter& out_;
  bool utf8_;
};

}  // namespace

bool ExportTable(TableOwner& owner, TableForm& form, UiHost& ui, FileSystem& fileSystem,
                 const CsvOptions& options) {
  const std::string title = ExportCaption(form);
  const std::optional<ExportTarget> target =
      ChooseExportFile(ui, fileSystem, title, form.name, kExportAppendRefusal);
  if (!target) return false;
  return ExportTableToFile(owner, form, target->path, target->variant, options, fileSystem,
                           target->append, ui);
}

bool ExportTableToFile(TableOwner& owner, TableForm& form, const std::string& path,
                       ExportVariant variant, const CsvOptions& options, FileSystem& fileSystem,
                       bool append, UiHost& ui) {
  TableExportFile file(ui, fileSystem, options);
  if (!file.Open(ExportCaption(form), path, variant, append)) return false;
  file.Write(owner, form);
  return file.Close();
}

TableExportFile::TableExportFile(UiHost& ui, FileSystem& fileSystem, CsvOptions options)
    : ui_(ui), fileSystem_(fileSystem), options_(options) {}

TableExportFile::~TableExportFile() {
  if (out_.IsOpen()) Close();
}

bool TableExportFile::Open(std::string_view title, const std::string& path, ExportVariant variant,
                           bool append) {
  title_ = std::string(title);
  path_ = path;
  variant_ = variant;
  if (append && IsXml(variant)) {
    ui_.ShowError(title_, AppendRefusedText(kExportAppendRefusal, path));
    return false;
  }
  if (!out_.Open(fileSystem_, path, append)) {
    ui_.ShowError(title_, "Не удалось открыть файл#" + path + "#" + FileErrorText(out_.Error()));
    return false;
  }
  tables_ = 0;
  return true;
}

void TableExportFile::Write(TableOwner& owner, TableForm& form) {
  if (!out_.IsOpen()) return;
  const ExportingScope exporting(form);
  TableDriver driver(owner, form, ui_);
  TableWriter writer(driver, form, out_, IsUtf8(variant_));
  switch (variant_) {
    case ExportVariant::Csv:
    case ExportVariant::CsvDos:
      writer.Csv(options_);
      break;
    case ExportVariant::Txt:
      // An empty line between the tables of one file, for people.
      if (tables_ > 0) writer.Blank();
      writer.Txt();
      break;
    default:
      // All tables of one file share its root element.
      if (tables_ == 0) writer.XmlBegin();
      writer.XmlRows(IsAttributeXml(variant_));
      break;
  }
  ++tables_;
}

bool TableExportFile::Close() {
  if (!out_.IsOpen()) return false;
  if (IsXml(variant_)) {
    // A file without tables is still a well-formed document.
    if (tables_ == 0) {
      out_.WriteLine(EncodeForFile(XmlDeclaration(IsUtf8(variant_)), IsUtf8(variant_)));
      out_.WriteLine("<DataRoot>");
    }
    out_.WriteLine("</DataRoot>");
  }
  if (!out_.Close()) {
    ui_.ShowError(title_, "Ошибка записи в файл#" + path_ + "#" + FileErrorText(out_.Error()));
    return false;
  }
  return true;
}

}  // namespace kordavelt
