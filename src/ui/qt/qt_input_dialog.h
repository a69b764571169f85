#pragma once

// The text input window: prompt lines with an edit box on the last one and
// the buttons "Да" (accept) and "Нет" (cancel, also Esc).

#include <QDialog>
#include <QRect>
#include <string>
#include <string_view>

class QLineEdit;

namespace kordavelt {

class InputDialog : public QDialog {
 public:
  InputDialog(QWidget* parent, std::string_view caption, std::string_view prompt,
              std::string_view text, int maxLength);

  QString Text() const;

 private:
  // The prompt labels and the edit box; answers the area they take.
  QRect AddPromptAndEdit(std::string_view prompt, std::string_view text, int limit);

  QLineEdit* edit_ = nullptr;
};

// True with `text` replaced by the entry on accept; false with it unchanged.
bool RunInputDialog(QWidget* parent, std::string_view caption, std::string_view prompt,
                    std::string& text, int maxLength);

}  // namespace kordavelt
