#include "exchange/export_variant.h"

#include "storage/file_path.h"

namespace kordavelt {

ExportVariant ExportVariantFromIndex(int index) {
  if (index < 1 || index > 7) return ExportVariant::Csv;
  return static_cast<ExportVariant>(index);
}

ExportVariant ExportVariantOfPath(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < FileNameStart(path)) return ExportVariant::Csv;
  std::string extension(path.substr(dot));
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (extension == ".TXT") return ExportVariant::Txt;
  if (extension == ".XML") return ExportVariant::XmlAttributes1251;
  return ExportVariant::Csv;
}

bool IsXml(ExportVariant variant) { return static_cast<int>(variant) >= 4; }

bool IsUtf8(ExportVariant variant) {
  return variant == ExportVariant::XmlElementsUtf8 || variant == ExportVariant::XmlAttributesUtf8;
}

bool IsAttributeXml(ExportVariant variant) {
  return variant == ExportVariant::XmlAttributes1251 || variant == ExportVariant::XmlAttributesUtf8;
}

std::string_view ForcedExtension(ExportVariant variant) {
  switch (variant) {
    case ExportVariant::Csv:
      return ".CSV";
    case ExportVariant::CsvDos:
      return "";
    case ExportVariant::Txt:
      return ".TXT";
    default:
      return ".XML";
  }
}

std::string ChangeExtension(std::string_view path, std::string_view extension) {
  const std::size_t nameStart = FileNameStart(path);
  const std::size_t dot = path.rfind('.');
  // A dot that starts the name (".profile") is not an extension.
  if (dot != std::string_view::npos && dot > nameStart) path = path.substr(0, dot);
  return std::string(path) + std::string(extension);
}

}  // namespace kordavelt
