#include "table/table_window.h"

#include <algorithm>

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "draw/picture_string.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

// A 'D' cell is checked unless it is empty or made only of zeros.
bool Checked(std::string_view item) {
  item = TrimBlanks(item);
  return item.find_first_not_of('0') != std::string_view::npos;
}

}  // namespace

TableWindow::TableWindow(TableOwner& owner, TableForm& form, TableEnvironment& environment)
    : owner_(owner), form_(form), env_(environment) {
  form_.lineNo = -1;
  form_.refresh = Refresh::CurrentRow;
  head1_ = form_.head1;
  head2_ = form_.head2;
  title_ = form_.title;
  rows_ = std::max(form_.rowCount, 0);
  appendable_ = form_.appendable;
  RelayoutTable();
  // The owner may have chosen the cell to start on.
  current_.row = ClampRow(form_.curRow);
  if (ColCount() > 0) {
    current_.col = std::clamp(form_.curCol, layout_.FixedCols(), ColCount() - 1);
  }
  Publish();
}

// --- Configuration -----------------------------------------------------------------

void TableWindow::Publish() {
  form_.curRow = CurRow();
  form_.curCol = CurCol();
  publishedRow_ = form_.curRow;
  publishedCol_ = form_.curCol;
}

void TableWindow::Sync() {
  bool changed = false;
  // An owner that moved the current cell (a table shown again on its
  // remembered row, say) is followed.
  const bool ownerMoved =
      !inCommit_ && (form_.curRow != publishedRow_ || form_.curCol != publishedCol_);
  const int ownerRow = form_.curRow;
  const int ownerCol = form_.curCol;
  if (form_.head1 != head1_) {
    head1_ = form_.head1;
    ApplyHead1();
    changed = true;
  }
  if (form_.head2 != head2_) {
    head2_ = form_.head2;
    ApplyHead2();
    changed = true;
  }
  if (form_.title != title_) {
    title_ = form_.title;
    changed = true;
  }
  if (std::max(form_.rowCount, 0) != rows_ || form_.appendable != appendable_) {
    rows_ = std::max(form_.rowCount, 0);
    appendable_ = form_.appendable;
    ApplyRows();
    changed = true;
  }
  if (ownerMoved) {
    if (formView_) {
      record_ = std::clamp(ownerRow, 1, std::max(rows_, 1));
      current_.row = std::clamp(ownerCol, layout_.FixedRows(), std::max(ColCount() - 1, 0));
    } else {
      current_ = GridCell{ClampRow(ownerRow),
                          std::clamp(ownerCol, layout_.FixedCols(), std::max(ColCount() - 1, 0))};
    }
    cachedRow_ = -1;
    changed = true;
  }
  Publish();
  if (changed) {
    Notify(OnLayoutChanged);
    Notify(OnCommandsChanged);
  }
}

void TableWindow::SetHead1(std::string head1) {
  form_.head1 = std::move(head1);
  head1_ = form_.head1;
  ApplyHead1();
  Notify(OnLayoutChanged);
  Notify(OnCommandsChanged);
}

void TableWindow::SetHead2(std::string head2) {
  form_.head2 = std::move(head2);
  head2_ = form_.head2;
  ApplyHead2();
  Notify(OnLayoutChanged);
}

void TableWindow::SetTitle(std::string title) {
  form_.title = std::move(title);
  title_ = form_.title;
  Notify(OnLayoutChanged);
}

void TableWindow::SetRowCount(int rows) {
  form_.rowCount = std::max(rows, 0);
  rows_ = form_.rowCount;
  ApplyRows();
  Notify(OnLayoutChanged);
}

void TableWindow::SetAppendable(bool appendable) {
  form_.appendable = appendable;
  appendable_ = appendable;
  ApplyRows();
  Notify(OnLayoutChanged);
  Notify(OnCommandsChanged);
}

void TableWindow::SetHorzLines(bool on) {
  horzLines_ = on;
  Notify(OnRepaint);
}

void TableWindow::ApplyFont() {
  env_.Remeasure();
  if (formView_) {
    LeaveFormView();
    EnterFormView();
  } else {
    HeaderWidths();
    RelayoutTable();
  }
  Redraw();
  Notify(OnLayoutChanged);
}

void TableWindow::ApplyHead1() {
  ClearSelection();
  if (!CanFormView() && formView_) LeaveFormView();
  if (formView_) {
    RelayoutForm();
    Redraw();
    return;
  }
  HeaderWidths();
  RelayoutTable();
}

void TableWindow::ApplyHead2() {
  ClearSelection();
  if (formView_) {
    RelayoutForm();
    return;
  }
  HeaderWidths();
  RelayoutTable();
}

void TableWindow::ApplyRows() {
  if (formView_) {
    if (rows_ == 0) {
      LeaveFormView();
    } else {
      record_ = std::clamp(record_, 1, rows_);
    }
  }
  if (!formView_) {
    RelayoutTable();
    current_.row = ClampRow(current_.row);
  }
  Redraw();
}

int TableWindow::HeaderHeight() const {
  if (form_.head1.empty() || form_.head1.front() == '_') return 0;
  return form_.head2.empty() ? env_.textHeight : 2 * env_.textHeight;
}

// Every column as wide as its header items and two margins.
void TableWindow::HeaderWidths() {
  const int columns = ColCount();
  layout_.SetColumns(columns);
  const int margins = 2 * env_.HorizontalMargin();
  for (int c = 0; c < columns; ++c) {
    int width = env_.TextExtent(ListItem(form_.head1, c)).width + margins;
    if (!form_.head2.empty()) {
      width = std::max(width, env_.TextExtent(ListItem(form_.head2, c)).width + margins);
    }
    layout_.SetColWidth(c, width);
  }
}

void TableWindow::RelayoutTable() {
  const int columns = ColCount();
  if (layout_.ColCount() != columns) HeaderWidths();
  layout_.SetRows(1 + LastGridRow());
  layout_.SetFixedRows({HeaderHeight()});
  layout_.SetRowHeight(env_.RowHeight());
  layout_.SetFixedCols(std::min(frozenCols_, std::max(columns - 1, 0)));
  if (columns > 0) {
    current_.col = std::clamp(current_.col, layout_.FixedCols(), columns - 1);
  }
  current_.row = ClampRow(current_.row);
}

int TableWindow::RowCount() const { return rows_; }

int TableWindow::ColCount() const { return std::min(ListCount(form_.head1), kMaxTableColumns); }

int TableWindow::LastGridRow() const { return rows_ + (appendable_ ? 1 : 0); }

int TableWindow::ClampRow(int row) const { return std::max(std::min(row, LastGridRow()), 1); }

int TableWindow::CurRow() const { return formView_ ? record_ : current_.row; }

void TableWindow::SetCurRow(int row) {
  if (row == 0) row = 1;
  if (formView_) {
    record_ = std::clamp(row, 1, std::max(rows_, 1));
    Redraw();
  } else {
    current_.row = ClampRow(row);
    Notify(OnRepaint);
  }
  Publish();
}

int TableWindow::CurCol() const { return formView_ ? current_.row : current_.col; }

void TableWindow::SetCurCol(int col) {
  if (formView_) {
    current_.row = std::clamp(col, layout_.FixedRows(), std::max(ColCount() - 1, 0));
  } else {
    current_.col = std::clamp(col, layout_.FixedCols(), std::max(ColCount() - 1, 0));
  }
  Publish();
  Notify(OnRepaint);
}

void TableWindow::SetFrozenCols(int count) {
  frozenCols_ = std::max(count, 0);
  if (!formView_) RelayoutTable();
  Notify(OnRepaint);
}

std::vector<std::string> TableWindow::TitleLines() const {
  std::vector<std::string> lines;
  if (form_.title.empty()) return lines;
  for (int i = 0; i < ListCount(form_.title); ++i) {
    lines.emplace_back(TrimBlanks(ListItem(form_.title, i)));
  }
  return lines;
}

int TableWindow::TitleWidth() const {
  int width = 0;
  for (const std::string& line : TitleLines()) {
    width = std::max(width, env_.TextExtent(line, true).width);
  }
  return width;
}

// --- Rows and cells --------------------------------------------------------------------

const std::string& TableWindow::Line(int row) {
  if (row != cachedRow_) {
    form_.lineNo = row;
    form_.context = LineContext::Show;
    form_.line.clear();
    form_.lineColorSet = false;
    form_.pictureColorSet = false;
    form_.lineBackgroundSet = false;
    owner_.OnLine(form_);
    cachedRow_ = row;
    cachedLine_ = form_.line;
    cachedColour_ = form_.lineColorSet ? form_.lineColor : env_.rowColour;
    cachedPictureColour_ = form_.pictureColorSet ? form_.pictureColor : cachedColour_;
    cachedOwnPictureColour_ = form_.pictureColorSet;
    cachedTinted_ = form_.lineBackgroundSet;
    cachedBackground_ = form_.lineBackground;
  }
  return cachedLine_;
}

void TableWindow::Redraw() {
  cachedRow_ = -1;
  Notify(OnRepaint);
}

GridCell TableWindow::CurrentCell() const { return current_; }

std::string TableWindow::HeaderItem1(int col) const {
  const std::string item = ListItem(form_.head1, col);
  return !item.empty() && item.front() == '_' ? std::string() : item;
}

std::string TableWindow::HeaderItem2(int col) const { return ListItem(form_.head2, col); }

std::string TableWindow::ColumnLabel(int col) const {
  return HeaderLabel(ListItem(form_.head1, col), ListItem(form_.head2, col));
}

// The cell text as drawn: a 'D' cell becomes its check box.
std::string TableWindow::Shown(std::string_view item, char letter) const {
  if (letter == 'D') return std::string(Checked(item) ? kCheckedBox : kUncheckedBox);
  return std::string(item);
}

void TableWindow::RowColours(CellContent& content) const {
  content.colour = cachedColour_;
  content.pictureColour = cachedPictureColour_;
  content.ownPictureColour = cachedOwnPictureColour_;
  content.tinted = cachedTinted_;
  content.background = cachedBackground_;
}

CellContent TableWindow::Content(GridCell cell) {
  CellContent content;
  if (formView_) {
    const int column = cell.row;
    const char letter =
        column < static_cast<int>(form_.displayCodes.size()) ? form_.displayCodes[column] : 0;
    if (cell.col == 0) {
      content.kind = CellContent::Kind::Fixed;
      content.text = ColumnLabel(column);
      content.letter = 'L';
      content.colour = env_.colours.windowText;
      return content;
    }
    content.kind =
        cell.row < layout_.FixedRows() ? CellContent::Kind::Fixed : CellContent::Kind::Data;
    content.text = Shown(ListItem(Line(record_), column), letter);
    content.letter = letter == 'D' ? 'D' : 'C';
    RowColours(content);
    content.highlighted = cell == current_;
    return content;
  }
  if (cell.row == 0) {
    content.kind = CellContent::Kind::Header;
    content.text = HeaderItem1(cell.col);
    content.text2 = HeaderItem2(cell.col);
    content.letter = 'C';
    content.colour = env_.colours.windowText;
    return content;
  }
  content.letter =
      cell.col < static_cast<int>(form_.displayCodes.size()) ? form_.displayCodes[cell.col] : 0;
  content.kind =
      cell.col < layout_.FixedCols() ? CellContent::Kind::Fixed : CellContent::Kind::Data;
  content.text = Shown(ListItem(Line(cell.row), cell.col), content.letter);
  RowColours(content);
  content.highlighted = cell == current_ || RowSelected(cell.row);
  return content;
}

// --- Sizing ----------------------------------------------------------------------------

int TableWindow::CellWidth(std::string_view item, char letter) const {
  const int margin = env_.HorizontalMargin();
  if (!Picture::IsPicture(item)) return env_.TextExtent(item).width + 2 * margin;
  const Picture picture = Picture::Parse(item);
  int width = env_.RowHeight() * picture.MaxX() / 16;
  if (!picture.TrailingText().empty()) width += env_.TextExtent(picture.TrailingText()).width;
  return width + (letter == 'C' ? 0 : margin);
}

std::optional<Size> TableWindow::FitToContent(int cols, int rows, bool measureData,
                                              Size available) {
  if (env_.starting || formView_) return std::nullopt;
  const int columns = ColCount();
  HeaderWidths();
  if (measureData) {
    for (int row = 1; row <= rows_; ++row) {
      const std::string line = Line(row);
      for (int c = 0; c < columns; ++c) {
        const char letter =
            c < static_cast<int>(form_.displayCodes.size()) ? form_.displayCodes[c] : 0;
        if (letter == 'D') continue;
        const int width = CellWidth(ListItem(line, c), letter);
        if (width > layout_.ColWidth(c)) layout_.SetColWidth(c, width);
      }
    }
  }
  RelayoutTable();

  int width = 0;
  if (cols > 0 && cols <= columns) {
    width = layout_.WidthOfColumns(cols);
  } else {
    for (int c = 1; c <= columns; ++c) {
      const int next = layout_.WidthOfColumns(c);
      if (next > available.width && c > 1) break;
      width = next;
    }
  }
  width = std::min(std::max(width, TitleWidth() + 20), available.width);

  const int shownRows = rows > 0 ? std::min(rows, LastGridRow()) : LastGridRow();
  int height = layout_.FixedHeight() + shownRows * (layout_.RowHeight() + GridLayout::kLineWidth);
  height = std::min(height, available.height);
  Notify(OnLayoutChanged);
  return Size{width, height};
}

}  // namespace kordavelt
