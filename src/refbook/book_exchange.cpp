#include "refbook/book_exchange.h"

#include <array>
#include <cctype>

#include "refbook/book_categories.h"
#include "refbook/book_owner.h"
#include "refbook/book_tables.h"
#include "storage/file_path.h"
#include "table/table_export.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// Import finds cable brands and trip units by name, so they go first; the
// motors of mechanisms come before them anyway.
constexpr std::array<int, kCategoryCount> kExportOrder = {21, 19, 1,  2,  3,  4,  5,  6,  7,  8, 9,
                                                          10, 11, 12, 13, 14, 15, 16, 17, 18, 20};

std::string UpperExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < FileNameStart(path)) return {};
  std::string extension(path.substr(dot));
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

bool ExportBookCategory(BookOwner& owner, UiHost& ui, FileSystem& fileSystem,
                        const CsvOptions& options) {
  if (owner.Table() == 0) return false;
  return ExportTable(owner, owner.Form(), ui, fileSystem, options);
}

bool ExportWholeBook(BookOwner& owner, UiHost& ui, FileSystem& fileSystem, const std::string& path,
                     ExportVariant variant, const CsvOptions& options) {
  TableExportFile file(ui, fileSystem, options);
  if (!file.Open(std::string("Экспорт. ") + std::string(BookOwner::kCaption), path, variant,
                 false)) {
    return false;
  }
  for (const int category : kExportOrder) {
    if (!owner.ShowCategory(category) || owner.Form().rowCount == 0) continue;
    file.Write(owner, owner.Form());
  }
  return file.Close();
}

ImportVariant ImportVariantOfPath(std::string_view path) {
  const std::string extension = UpperExtension(path);
  if (extension == ".TXT") return ImportVariant::Txt;
  if (extension == ".XML") return ImportVariant::Xml;
  return ImportVariant::Csv;
}

}  // namespace kordavelt
