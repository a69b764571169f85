#include "refbook/book_dialogs.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr std::string_view kCaption = "Справочник";
constexpr std::string_view kChoiceMenu = "##Выбор#Отмена";
constexpr std::string_view kKindHeader = "Знак#     Наименование     ";

// Every commit chooses its row: the owners below have no edit of their own.
class ListOwner : public TableOwner {
 public:
  using LineFunction = std::function<std::string(int row)>;
  explicit ListOwner(LineFunction line) : line_(std::move(line)) {}
  void OnLine(TableForm& form) override { form.line = line_(form.lineNo); }

 private:
  LineFunction line_;
};

std::string SymbolCell(int table) { return SymbolWithoutPoints(KindSymbol(table)); }

TableForm DialogForm(std::string_view caption, std::string_view title, std::string_view head1,
                     std::string_view head2, std::string_view display, std::string_view edit,
                     int rows, int current) {
  TableForm form;
  form.caption = std::string(caption);
  form.title = std::string(title);
  form.head1 = std::string(head1);
  form.head2 = std::string(head2);
  form.displayCodes = std::string(display);
  form.editCodes = std::string(edit);
  form.rowCount = rows;
  form.curRow = std::clamp(current, 1, std::max(rows, 1));
  form.curCol = 1;
  return form;
}

// Runs a choice among the rows of `form`; the chosen row, or nothing.
std::optional<int> RunChoice(UiHost& ui, TableOwner& owner, TableForm& form) {
  if (form.rowCount <= 0) return std::nullopt;
  if (!ui.ShowTableDialog(owner, form, kChoiceMenu)) return std::nullopt;
  if (form.curRow < 1 || form.curRow > form.rowCount) return std::nullopt;
  return form.curRow;
}

// A dialog over the records of one book table.
std::optional<std::int32_t> ChooseRecord(sprClass& book, UiHost& ui, int table,
                                         std::int32_t current, std::string_view caption,
                                         std::string_view head1, std::string_view head2,
                                         std::string_view display, std::string_view edit,
                                         const std::function<std::string(Bytes)>& cells) {
  BookRowMap rows;
  rows.Rebuild(book.OpenBookTable(table));
  ListOwner owner([&](int row) {
    std::string line = std::to_string(row);
    if (book.FindType(table, rows.Code(row))) line += cells(book.CurrentRecord(table));
    return line;
  });
  TableForm form = DialogForm(caption, "", head1, head2, display, edit, rows.Rows(),
                              std::max(rows.RowOf(current), 1));
  const std::optional<int> row = RunChoice(ui, owner, form);
  if (!row) return std::nullopt;
  return rows.Code(*row);
}

std::string ListCell(const std::vector<float>& slots) {
  return "#" + BookValueListText(slots, false);
}

// The series dialog: rows may be appended, named once and deleted.
class SeriesOwner : public TableOwner {
 public:
  explicit SeriesOwner(sprClass& book) : book_(book) { Reread(); }

  const BookRowMap& Rows() const { return rows_; }
  std::optional<int> ChosenRow() const { return chosen_; }

  void Reread() {
    rows_.Rebuild(book_.OpenBookTable(book::kBreakerSeriesTable));
    stale_ = false;
  }

  void OnLine(TableForm& form) override {
    Sync(form);
    const int row = form.lineNo;
    if (row > rows_.Rows()) {
      form.line = std::string(kAppendRowMark) + "#";
      form.editCodes = "XT";
      return;
    }
    std::string name;
    const bool found = book_.FindType(book::kBreakerSeriesTable, rows_.Code(row));
    if (found) name = book::BreakerSeriesRec(book_.CurrentRecord(book::kBreakerSeriesTable)).Name();
    form.line = std::to_string(row) + "#" + name;
    form.editCodes = row == 1 || !found || !name.empty() ? "XX" : "XT";
  }

  bool HasEdit() const override { return true; }

  void OnEdit(TableForm& form) override {
    Sync(form);
    const int row = form.curRow;
    const bool append = row > rows_.Rows();
    // A name is typed only into the append row or an unnamed row other than
    // row 1; any other action chooses the row.
    const bool typable = form.curCol == 1 && (append || (row > 1 && UnnamedRow(row)));
    if (!typable) {
      if (!append) {
        chosen_ = row;
        form.refresh = Refresh::CloseWindow;
      }
      return;
    }
    if (form.editText.empty()) return;
    tbClass* table = book_.OpenBookTable(book::kBreakerSeriesTable);
    if (table == nullptr) return;
    if (append) {
      // Series codes are 16-bit: breakers and trip units store them so.
      const std::int64_t code = std::int64_t{table->LastKey()} + 1;
      if (code < 1 || code > std::numeric_limits<std::uint16_t>::max()) return;
      table->Insert(code);
      if (table->Status() != kStatusOk) return;
      rows_.Add(code);
      form.rowCount = rows_.Rows();
      form.refresh = Refresh::All;
    } else if (!book_.FindType(book::kBreakerSeriesTable, rows_.Code(row))) {
      return;
    }
    book::BreakerSeriesRec(book_.CurrentRecord(book::kBreakerSeriesTable)).SetName(form.editText);
    table->MarkModifiedAndFlush();
  }

  void OnDelete(TableForm& form) override {
    const std::int32_t code = rows_.Code(form.curRow);
    if (form.curRow > rows_.Rows() || code == 0) return;
    if (!book_.FindType(book::kBreakerSeriesTable, code)) return;
    book_.BookTable(book::kBreakerSeriesTable)->Delete();
    stale_ = true;
  }

 private:
  bool UnnamedRow(int row) {
    return book_.FindType(book::kBreakerSeriesTable, rows_.Code(row)) &&
           book::BreakerSeriesRec(book_.CurrentRecord(book::kBreakerSeriesTable)).Name().empty();
  }

  void Sync(TableForm& form) {
    if (!stale_) return;
    Reread();
    form.rowCount = rows_.Rows();
  }

  sprClass& book_;
  BookRowMap rows_;
  bool stale_ = false;
  std::optional<int> chosen_;
};

}  // namespace

std::optional<int> ChooseBookCategory(UiHost& ui, int current) {
  ListOwner owner([](int row) {
    const BookTableLayout* layout = BookLayoutOfCategory(row);
    if (layout == nullptr) return std::string("#");
    return SymbolCell(layout->table) + "#" + ListItem(BookCategoryCaptions(), row - 1);
  });
  TableForm form = DialogForm(kCaption, "Вид оборудования", kKindHeader, "", "CL", "XX",
                              kCategoryCount, current);
  return RunChoice(ui, owner, form);
}

std::optional<int> ChooseSlotKind(UiHost& ui) {
  const std::span<const int> kinds = TemplateSlotKinds();
  ListOwner owner([&](int row) {
    if (row < 1 || row > static_cast<int>(kinds.size())) return std::string("#");
    const int kind = kinds[row - 1];
    return SymbolCell(kind) + "#" + KindName(kind);
  });
  TableForm form =
      DialogForm("Вид объекта", "", kKindHeader, "", "CL", "XX", static_cast<int>(kinds.size()), 1);
  const std::optional<int> row = RunChoice(ui, owner, form);
  if (!row) return std::nullopt;
  return kinds[*row - 1];
}

std::optional<std::int32_t> ChooseCableBrand(sprClass& book, UiHost& ui, std::int32_t current) {
  return ChooseRecord(
      book, ui, book::kCableBrandTable, current, "Марки кабелей", " № #  Тип   #Материал#Материал",
      "   # кабеля #  жилы  #оболочки", "CLCC", "XXXX", [](Bytes bytes) {
        const book::CableBrandRec brand(bytes);
        return "#" + brand.Type() + "#" + ListItem(kConductorMaterials, brand.CondMat()) + "#" +
               ListItem(kSheathMaterials, brand.Sheath());
      });
}

std::optional<std::uint16_t> ChooseBreakerSeries(sprClass& book, UiHost& ui,
                                                 std::uint16_t current) {
  tbClass* table = book.OpenBookTable(book::kBreakerSeriesTable);
  if (table == nullptr) return std::nullopt;
  // Row 1 is series 0, "none": it is made when the table lacks it.
  if (!book.FindType(book::kBreakerSeriesTable, 0)) {
    table->Insert(0);
    if (table->Status() == kStatusOk) table->MarkModifiedAndFlush();
  }
  SeriesOwner owner(book);
  TableForm form = DialogForm(kCaption, "", "  №  #Серия автоматических выключателей", "", "CL",
                              "XT", owner.Rows().Rows(), std::max(owner.Rows().RowOf(current), 1));
  form.appendable = true;
  const bool ok = ui.ShowTableDialog(owner, form, kChoiceMenu);
  std::optional<int> row = owner.ChosenRow();
  if (!row && ok) row = form.curRow;
  if (!row) return std::nullopt;
  const std::int32_t code = owner.Rows().Code(*row);
  if (*row < 1 || *row > owner.Rows().Rows() || code < 0 ||
      code > std::numeric_limits<std::uint16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(code);
}

std::optional<std::int32_t> ChooseTripUnit(sprClass& book, UiHost& ui, std::int32_t current) {
  return ChooseRecord(
      book, ui, book::kTripUnitTable, current, "Расцепители автоматов",
      " № #      Тип      #Вид#   Iном   #Уставки Ir защиты",
      "   #  расцепителя  #   #    А     #  от перегрузки  ", "CLCCC", "XXXXX", [](Bytes bytes) {
        const book::TripUnitRec unit(bytes);
        return "#" + unit.Type() + "#" + ListCell(unit.Inom()) + ListCell(unit.SettingIr());
      });
}

std::optional<std::int32_t> ChooseMotorType(sprClass& book, UiHost& ui, int table,
                                            std::int32_t current) {
  if (table != book::kAsyncMotorTable && table != book::kSynchronousMachineTable)
    return std::nullopt;
  return ChooseRecord(
      book, ui, table, current, "Типы двигателей", " №  #     Тип     #Uном#Pном#CosФн#  n   ",
      "    #  двигателя  #  В # кВт#     #об/мин", "CLCCCC", "XXXXXX", [](Bytes bytes) {
        const book::MachineRec motor(bytes);
        return "#" + motor.Type() + AppendNumber(motor.Unom()) + AppendNumber(motor.Pnom()) +
               AppendNumber(motor.CosF()) + AppendNumber(motor.Speed());
      });
}

bool ChooseBookType(sprClass& book, UiHost& ui, int table, int& lastRow) {
  const BookTableLayout* layout = BookLayoutOfTable(table);
  if (layout == nullptr) return false;
  const auto leading = [&](std::string_view head) {
    if (layout->selColumns <= 0) return std::string(head);
    std::string cut;
    for (int i = 0; i < layout->selColumns; ++i) {
      if (i > 0) cut += '#';
      cut += ListItem(head, i);
    }
    return cut;
  };
  BookRowMap rows;
  rows.Rebuild(book.OpenBookTable(table));
  ListOwner owner([&](int row) {
    const std::int32_t code = rows.Code(row);
    std::string line = std::to_string(row);
    if (book.FindType(table, code)) {
      line += BookRecordCells(book, table, book.CurrentRecord(table), code, false);
    }
    return line;
  });
  TableForm form = DialogForm("Из справочника", layout->caption, leading(layout->head1),
                              leading(layout->head2), layout->displayCodes,
                              std::string(kMaxTableColumns - 1, 'X'), rows.Rows(), lastRow);
  form.name = std::string(BookSectionOfCategory(layout->category));
  const std::optional<int> row = RunChoice(ui, owner, form);
  if (!row || !book.FindType(table, rows.Code(*row))) return false;
  lastRow = *row;
  return true;
}

}  // namespace kordavelt
