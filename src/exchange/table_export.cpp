#include "exchange/table_export.h"

#include "exchange/exchange_text.h"
#include "exchange/export_file_choice.h"
#include "exchange/text_file.h"
#include "storage/file_errors.h"
#include "table/dial_list.h"
#include "table/paste_values.h"
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
    std::string header = "#" + form_.name;
    for (int i = 1; i <= columns; ++i) header += separator + ListItem(form_.fieldNames, i);
    Write(header);
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      const std::string line = driver_.Line(row);
      std::string text;
      for (int c = 0; c < columns; ++c) {
        if (c > 0) text += separator;
        text += CsvItem(ListItem(line, c), options);
      }
      Write(text);
    }
  }

  void Txt() {
    const int columns = driver_.ColCount();
    if (!form_.title.empty()) {
      std::string title;
      for (int i = 0; i < ListCount(form_.title); ++i) {
        if (i > 0) title += '\r';
        title += TrimBlanks(ListItem(form_.title, i));
      }
      Write(title);
      Write("");
    } else {
      Write(form_.caption);
    }
    Write(TabbedItems(form_.head1, columns, false));
    Write(TabbedItems(form_.head2, columns, false));
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      Write(TabbedItems(driver_.Line(row), columns, true));
    }
  }

  void XmlBegin() {
    Write(XmlDeclaration(utf8_));
    Write("<DataRoot>");
  }

  void XmlRows(bool attributes) {
    const std::string element = XmlName(form_.name);
    const int columns = driver_.ColCount();
    for (int row = 1; row <= driver_.RowCount() && !out_.Failed(); ++row) {
      const std::string line = driver_.Line(row);
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
  static std::string TabbedItems(std::string_view list, int columns, bool pictures) {
    std::string text;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      const std::string item(TrimBlanks(ListItem(list, c)));
      text += pictures && item.find('@') != std::string::npos ? "рис." : item;
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
