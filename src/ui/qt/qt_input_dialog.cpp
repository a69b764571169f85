#include "ui/qt/qt_input_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

// QLineEdit's own limit, used when the caller sets none.
constexpr int kUnlimitedLength = 32767;
// A very long limit would make the box wider than any screen; beyond this
// many characters the box scrolls instead.
constexpr int kWidestEditChars = 64;

int LongestItemLength(const QStringList& items) {
  qsizetype longest = 1;
  for (const QString& item : items) longest = std::max(longest, item.size());
  return static_cast<int>(longest);
}

}  // namespace

InputDialog::InputDialog(QWidget* parent, std::string_view caption, std::string_view prompt,
                         std::string_view text, int maxLength)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(ToQString(caption));
  const QFontMetrics metrics = fontMetrics();
  const int margin = 2 * metrics.horizontalAdvance(u'A');
  const QRect promptArea =
      AddPromptAndEdit(prompt, text, maxLength > 0 ? maxLength : kUnlimitedLength);

  auto* yes = new QPushButton(QStringLiteral("Да"), this);
  auto* no = new QPushButton(QStringLiteral("Нет"), this);
  connect(yes, &QPushButton::clicked, this, &QDialog::accept);
  connect(no, &QPushButton::clicked, this, &QDialog::reject);
  yes->setDefault(true);
  const QList<QPushButton*> buttons{yes, no};
  const ButtonRowMetrics row = MeasureButtonRow(metrics, buttons);

  const int clientWidth = std::max(promptArea.right() + 1 + margin, row.RowWidth(2) + 2 * margin);
  const int buttonsTop = promptArea.bottom() + 1 + metrics.height();
  PlaceButtonRow(buttons, row, clientWidth, buttonsTop);
  setFixedSize(clientWidth, buttonsTop + row.buttonHeight + metrics.height());
  edit_->setFocus();
}

QRect InputDialog::AddPromptAndEdit(std::string_view prompt, std::string_view text, int limit) {
  const QFontMetrics metrics = fontMetrics();
  const int letterWidth = metrics.horizontalAdvance(u'A');
  const int left = 2 * letterWidth;

  edit_ = new QLineEdit(ToQString(text), this);
  edit_->setObjectName(QStringLiteral("inputEdit"));
  edit_->setMaxLength(limit);
  edit_->selectAll();
  const int editHeight = edit_->sizeHint().height();

  // One label per prompt line; the last line shares its row with the edit box.
  const QStringList lines = ListItems(prompt);
  QRect area(left, metrics.height(), 0, 0);
  int top = area.top();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const bool last = i + 1 == lines.size();
    const int rowHeight =
        last ? std::max(metrics.lineSpacing(), editHeight) : metrics.lineSpacing();
    const int lineWidth = metrics.horizontalAdvance(lines[i]);
    auto* label = new QLabel(lines[i], this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(left, top, lineWidth + letterWidth, rowHeight);
    area = area.united(label->geometry());
    if (last) {
      // Two characters wider than the text when the prompt is longer than it.
      const int editChars =
          std::min(limit < LongestItemLength(lines) ? limit + 2 : limit, kWidestEditChars);
      edit_->setGeometry(left + lineWidth + 4, top + (rowHeight - editHeight) / 2,
                         editChars * letterWidth, editHeight);
      area = area.united(edit_->geometry());
    }
    top += rowHeight;
  }
  return area;
}

QString InputDialog::Text() const { return edit_->text(); }

bool RunInputDialog(QWidget* parent, std::string_view caption, std::string_view prompt,
                    std::string& text, int maxLength) {
  InputDialog dialog(parent, caption, prompt, text, maxLength);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = ToUtf8(dialog.Text());
  return true;
}

}  // namespace kordavelt
