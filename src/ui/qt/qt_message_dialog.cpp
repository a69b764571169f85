#include "ui/qt/qt_message_dialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <optional>

#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

constexpr int kIconSize = 32;
// Lines are measured over at most this many characters.
constexpr int kMeasuredLineLength = 80;

std::optional<QStyle::StandardPixmap> IconPixmap(IconKind icon) {
  switch (icon) {
    case IconKind::Warning:
      return QStyle::SP_MessageBoxWarning;
    case IconKind::Stop:
      return QStyle::SP_MessageBoxCritical;
    case IconKind::Information:
      return QStyle::SP_MessageBoxInformation;
    case IconKind::Question:
      return QStyle::SP_MessageBoxQuestion;
    case IconKind::None:
      break;
  }
  return std::nullopt;
}

}  // namespace

MessageDialog::MessageDialog(QWidget* parent, std::string_view caption, std::string_view text,
                             std::string_view buttons, IconKind icon, int defaultButton)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(ToQString(caption));
  const QFontMetrics metrics = fontMetrics();
  const int letterWidth = metrics.horizontalAdvance(u'A');
  const int letterHeight = metrics.height();
  const int cyrillicWidth = metrics.horizontalAdvance(QStringLiteral("А"));

  // The raised panel under everything, created first so it stays behind.
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);

  const QSize textSize = AddIconAndText(text, icon);
  AddButtons(buttons, defaultButton);
  const ButtonRowMetrics row = MeasureButtonRow(metrics, buttons_);
  // Wide enough for the text, the buttons and the caption in the title bar.
  const int clientWidth =
      std::max({6 * letterWidth + textSize.width() + kIconSize,
                row.RowWidth(static_cast<int>(buttons_.size())) + 2 * letterWidth,
                CaptionWidth(*this, windowTitle())});

  const int separatorTop = 2 * letterHeight + textSize.height();
  auto* separator = new QFrame(this);
  separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  separator->setGeometry(cyrillicWidth / 2, separatorTop, clientWidth - cyrillicWidth, 2);

  const int buttonsTop = separatorTop + 2 + letterHeight;
  PlaceButtonRow(buttons_, row, clientWidth, buttonsTop);
  const int clientHeight = buttonsTop + row.buttonHeight + letterHeight;
  panel->setGeometry(0, 0, clientWidth, clientHeight);
  setFixedSize(clientWidth, clientHeight);
}

QSize MessageDialog::AddIconAndText(std::string_view text, IconKind icon) {
  const QFontMetrics metrics = fontMetrics();
  const int letterWidth = metrics.horizontalAdvance(u'A');
  const int letterHeight = metrics.height();

  if (const std::optional<QStyle::StandardPixmap> pixmap = IconPixmap(icon)) {
    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("messageIcon"));
    iconLabel->setPixmap(style()->standardIcon(*pixmap, nullptr, this).pixmap(kIconSize));
    iconLabel->setGeometry(2 * letterWidth, letterHeight, kIconSize, kIconSize);
  }

  // The text keeps the icon's place even without an icon.
  const QStringList lines = ListItems(text);
  int width = 0;
  for (const QString& line : lines) {
    width = std::max(width, metrics.horizontalAdvance(line.left(kMeasuredLineLength)));
  }
  const int height = std::max(kIconSize, static_cast<int>(lines.size()) * metrics.lineSpacing());
  auto* textLabel = new QLabel(lines.join(u'\n'), this);
  textLabel->setObjectName(QStringLiteral("messageText"));
  textLabel->setTextFormat(Qt::PlainText);
  textLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  textLabel->setGeometry(4 * letterWidth + kIconSize, letterHeight, width + letterWidth, height);
  return QSize(width, height);
}

void MessageDialog::AddButtons(std::string_view buttons, int defaultButton) {
  for (const QString& caption : ListItems(buttons)) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(true);
    const int answer = kFirstButton + static_cast<int>(buttons_.size());
    connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
    buttons_.append(button);
  }
  // Enter presses the focused button; the default one has the focus at the
  // start (the first one, unless a question guards a loss of data).
  if (!buttons_.isEmpty()) {
    const int index = std::clamp(defaultButton, 1, static_cast<int>(buttons_.size())) - 1;
    buttons_[index]->setDefault(true);
    buttons_[index]->setFocus();
  }
}

void MessageDialog::reject() { done(kAnswerCancel); }

int RunMessageDialog(QWidget* parent, std::string_view caption, std::string_view text,
                     std::string_view buttons, IconKind icon, int defaultButton) {
  MessageDialog dialog(parent, caption, text, buttons, icon, defaultButton);
  PlaceAtMouse(dialog);
  return dialog.exec();
}

}  // namespace kordavelt
