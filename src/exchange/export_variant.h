#pragma once

// The kinds of text file that tables are written to, in the order of the
// save dialog's filter, and the user's CSV settings.

#include <string>
#include <string_view>

namespace kordavelt {

enum class ExportVariant : int {
  Csv = 1,              // comma (separator) separated, Windows-1251
  CsvDos = 2,           // written like Csv
  Txt = 3,              // tab separated with section names and headers, Windows-1251
  XmlElements1251 = 4,  // one element per field
  XmlElementsUtf8 = 5,
  XmlAttributes1251 = 6,  // one attribute per field
  XmlAttributesUtf8 = 7,
};

// The save dialog's filter; entry n is variant n.
inline constexpr std::string_view kExportFilter =
    "Текст, разделители-запятые   (*.CSV)|*.CSV|"
    "Текст(MS DOS), разделители-запятые(*.CSV)|*.CSV|"
    "Текст, разделители - табуляция(*.TXT)|*.TXT|"
    "Документ XML(Win1251)  (*.XML)|*.XML|"
    "Документ XML(UTF-8)(*.XML)|*.XML|"
    "Документ XML(Win1251) с атрибутами(*.XML)|*.XML|"
    "Документ XML(UTF-8)с атрибутами(*.XML)|*.XML";

// The user's settings of CSV text: the separator and whether texts are quoted.
struct CsvOptions {
  char separator = ',';
  bool quotes = false;
};

// The variant of filter entry `index` (1-based); out of range gives Csv.
ExportVariant ExportVariantFromIndex(int index);

// The variant a file name's extension asks for, in any case: ".TXT" text
// with TABs (3), ".XML" XML with attributes in Windows-1251 (6), anything
// else CSV (1); what the command line writes when no variant is given.
ExportVariant ExportVariantOfPath(std::string_view path);

bool IsXml(ExportVariant variant);
bool IsUtf8(ExportVariant variant);
bool IsAttributeXml(ExportVariant variant);

// The extension a variant forces on the chosen file (".CSV", ".TXT",
// ".XML"); empty for the MS DOS CSV, which keeps the name as chosen.
std::string_view ForcedExtension(ExportVariant variant);

// `path` with its extension (if any) replaced by `extension` (with the dot).
std::string ChangeExtension(std::string_view path, std::string_view extension);

}  // namespace kordavelt
