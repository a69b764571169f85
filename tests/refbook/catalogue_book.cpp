#include "refbook/catalogue_book.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "storage/file_layer.h"
#include "support/scripted_ui_host.h"

namespace kordavelt::testing {

std::map<int, std::vector<CatalogueType>>* Catalogue::types_ = nullptr;

void Catalogue::SetUpTestSuite() {
  std::ifstream in(KORDAVELT_CATALOGUE, std::ios::binary);
  ASSERT_TRUE(in) << KORDAVELT_CATALOGUE;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  MemoryFileSystem files;
  files.Put("/Kordavelt.SPR", std::move(bytes));
  ScriptedUiHost ui;
  sprClass book(ui, files);
  ASSERT_TRUE(book.OpenBook("/Kordavelt.SPR"));
  types_ = new std::map<int, std::vector<CatalogueType>>;
  for (const int table : BookTables()) {
    tbClass* open = book.OpenBookTable(table);
    ASSERT_NE(open, nullptr) << table;
    open->GoTo(0);
    while (open->Next()) {
      const Bytes record = open->Record();
      (*types_)[table].push_back({open->Key(), {record.begin(), record.end()}});
    }
  }
  book.CloseBook();
}

void Catalogue::TearDownTestSuite() {
  delete types_;
  types_ = nullptr;
}

std::vector<CatalogueType>& Catalogue::Types(int table) { return (*types_)[table]; }

bool Catalogue::Has(int table, std::int32_t code) {
  const std::vector<CatalogueType>& types = Types(table);
  return std::any_of(types.begin(), types.end(),
                     [&](const CatalogueType& t) { return t.code == code; });
}

}  // namespace kordavelt::testing
