#pragma once

// The table environment of the Qt program: the table font as Qt draws it,
// a canvas that measures texts in it, and the desktop's colours.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "draw/qt/qpainter_canvas.h"
#include "table/table_environment.h"

namespace kordavelt {

class QtTableEnvironment {
 public:
  QtTableEnvironment(UiHost& ui, FileSystem& files);
  ~QtTableEnvironment();
  QtTableEnvironment(const QtTableEnvironment&) = delete;
  QtTableEnvironment& operator=(const QtTableEnvironment&) = delete;

  TableEnvironment& Env() { return env_; }
  // The table font: family, size in points, style (1 italic + 2 bold).
  void SetFont(const FontChoice& font);
  const FontChoice& Font() const { return choice_; }
  QFont TableFont() const { return qfont_; }
  // The colours of the current palette.
  void TakePalette();

 private:
  TableEnvironment env_;
  FontChoice choice_;
  QFont qfont_;
  QImage image_{1, 1, QImage::Format_RGB32};
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QPainterCanvas> measure_;
};

}  // namespace kordavelt
