#pragma once

// "Импорт" and "Экспорт" of the reference-book window: whole categories of
// the book read from and written to the exchange files.
//
// A file holds sections named after categories ("SNode", "SPriz", …); each
// row of a known section is added to its category as a new type, by the same
// routine as a paste. Export writes the category shown, or — for the command
// line — every category, one section each, into one file.

#include <string>
#include <string_view>

#include "exchange/export_variant.h"
#include "exchange/get_class.h"
#include "storage/file_layer.h"

namespace kordavelt {

class BookOwner;
class UiHost;

// Reads every section of the open file: a section whose name is a
// category's shows that category, and its rows are added to it; rows of
// other sections and before the first section are skipped. Returns the
// number of types added. The owner shows the last category imported.
int ImportBookSections(BookOwner& owner, GetClass& file);

// "Импорт": asks for the file (titled with the window's caption) and imports
// it. The number of types added; 0 when nothing was chosen.
int ImportBook(BookOwner& owner, UiHost& ui, FileSystem& fileSystem, char separator);

// "Экспорт": the category shown, to a file the user chooses. False when no
// category is shown or nothing was written.
bool ExportBookCategory(BookOwner& owner, UiHost& ui, FileSystem& fileSystem,
                        const CsvOptions& options);

// Every category that has types, one section each, written to `path`
// without asking. False (the message shown) when the file was not written.
bool ExportWholeBook(BookOwner& owner, UiHost& ui, FileSystem& fileSystem, const std::string& path,
                     ExportVariant variant, const CsvOptions& options);

// The import format a file name's extension implies: ".TXT" text with TABs,
// ".XML" XML, anything else CSV.
ImportVariant ImportVariantOfPath(std::string_view path);

}  // namespace kordavelt
