#pragma once

// "Импорт" and "Экспорт" of the reference-book window: whole categories of
// the book read from and written to the exchange files.
//
// A file holds sections named after categories ("SNode", "SPriz", …); each
// row of a known section is added to its category as a new type, by the same
// routine as a paste. Export writes the category shown, or — for the command
// line — every category, one section each, into one file.
//
// Import reads the whole file and checks every row before it adds one: a
// file with a refused cell adds nothing. A type whose designation the
// category holds already (book_type_key.h) is skipped unless repeats are
// asked for, so a file imported twice adds its types once.

#include <string>
#include <string_view>
#include <vector>

#include "exchange/export_variant.h"
#include "exchange/get_class.h"
#include "storage/file_layer.h"

namespace kordavelt {

class BookOwner;
class UiHost;

struct BookImportOptions {
  // Types whose designation the category holds already are added all the same.
  bool appendDuplicates = false;
};

struct BookImportReport {
  // The problems listed; problemCount counts them all.
  static constexpr int kMaxProblems = 100;

  int added = 0;
  int skippedDuplicates = 0;
  // What keeps the file out of the book, one text each, as the engineer
  // finds it: "строка 12, SPriz, R1 (Rф): «abc» — не число".
  std::vector<std::string> problems;
  int problemCount = 0;
  // Rows skipped because they stand outside the book's sections; told, not refused.
  std::vector<std::string> notes;
  // The file could not be read to its end (the reader showed why).
  bool readFailed = false;

  bool Succeeded() const { return problemCount == 0 && !readFailed; }
  // "добавлено типов: N, пропущено повторов: M".
  std::string Summary() const;
  void AddProblem(std::string text);
};

// Reads the open file and, when every row of its known sections is good,
// adds them: a section whose name is a category's shows that category and
// its rows become types. The owner shows the last category imported.
BookImportReport ImportBookSections(BookOwner& owner, GetClass& file,
                                    const BookImportOptions& options = {});

// "Импорт": asks for the file (titled with the window's caption) and imports
// it. The window has no switch for repeats: types the category holds
// already are skipped, and a note says how many; refused cells are listed
// in a message. The number of types added; 0 when nothing was chosen.
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
