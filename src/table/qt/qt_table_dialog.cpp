#include "table/qt/qt_table_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "table/dial_list.h"
#include "table/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

// A cell as text: a picture string shows only the text after its drawing.
QString CellText(const std::string& item) {
  if (!item.empty() && item.front() == '@') {
    const std::size_t end = item.find('e');
    return end == std::string::npos ? QString() : ToQString(item.substr(end + 1));
  }
  return ToQString(item);
}

QString HeaderText(const TableForm& form, int column) {
  const QString first = ToQString(ListItem(form.head1, column)).trimmed();
  const QString second = ToQString(ListItem(form.head2, column)).trimmed();
  if (first.startsWith(u'_')) return QString();
  return second.isEmpty() ? first : first + u'\n' + second;
}

class TableGrid : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  // Enter chooses the current row, as in every choice table of the program.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      emit cellDoubleClicked(currentRow(), currentColumn());
      return;
    }
    QTableWidget::keyPressEvent(event);
  }
};

}  // namespace

bool RunTableDialog(QWidget* parent, TableOwner& owner, TableForm& form, std::string_view menu) {
  QDialog dialog(parent, Qt::Tool);
  dialog.setWindowTitle(ToQString(form.caption));
  auto* layout = new QVBoxLayout(&dialog);
  if (!form.title.empty()) {
    auto* title = new QLabel(ListItems(form.title).join(u'\n'), &dialog);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
  }

  const int columns = std::min(ListCount(form.head1), kMaxTableColumns);
  auto* grid = new TableGrid(form.rowCount, columns, &dialog);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->verticalHeader()->hide();
  for (int c = 0; c < columns; ++c) {
    grid->setHorizontalHeaderItem(c, new QTableWidgetItem(HeaderText(form, c)));
  }
  for (int row = 1; row <= form.rowCount; ++row) {
    form.lineNo = row;
    form.context = LineContext::Show;
    owner.OnLine(form);
    for (int c = 0; c < columns; ++c) {
      auto* item = new QTableWidgetItem(CellText(ListItem(form.line, c)));
      const char letter =
          c < static_cast<int>(form.displayCodes.size()) ? form.displayCodes[c] : ' ';
      item->setTextAlignment(letter == 'L'   ? Qt::AlignLeft | Qt::AlignVCenter
                             : letter == 'R' ? Qt::AlignRight | Qt::AlignVCenter
                                             : Qt::AlignCenter);
      grid->setItem(row - 1, c, item);
    }
  }
  grid->resizeColumnsToContents();
  if (form.curRow >= 1 && form.curRow <= form.rowCount) {
    grid->setCurrentCell(form.curRow - 1, std::clamp(form.curCol, 0, columns - 1));
  }
  layout->addWidget(grid);

  auto* buttons = new QDialogButtonBox(&dialog);
  const QString ok = ToQString(ListItem(menu, 2));
  const QString cancel = ToQString(ListItem(menu, 3));
  if (!ok.isEmpty()) buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  if (!cancel.isEmpty()) buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(grid, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
  layout->addWidget(buttons);

  PlaceAtMouse(dialog);
  const bool chosen = dialog.exec() == QDialog::Accepted && grid->currentRow() >= 0;
  if (grid->currentRow() >= 0) {
    form.curRow = grid->currentRow() + 1;
    form.curCol = grid->currentColumn();
  }
  return chosen;
}

}  // namespace kordavelt
