#pragma once

// TAboutBox: "О программе" — the program's picture, name, version and what
// it is for. Shown as the splash at start and modally from the "&?" menu.

#include <QDialog>

namespace kordavelt {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kVersion = "V 2.02";
  static constexpr const char* kComment =
      "Анализ и проектирование низковольтной распределительной сети";

  explicit TAboutBox(QWidget* parent = nullptr);

  // False when the picture could not be decoded (the box shows without it).
  bool HasPicture() const { return hasPicture_; }

 private:
  bool hasPicture_ = false;
};

}  // namespace kordavelt
