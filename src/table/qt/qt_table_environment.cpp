#include "table/qt/qt_table_environment.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "base/qt/qt_text.h"

namespace kordavelt {

QtTableEnvironment::QtTableEnvironment(UiHost& ui, FileSystem& files) : env_(ui, files) {
  painter_ = std::make_unique<QPainter>(&image_);
  measure_ = std::make_unique<QPainterCanvas>(*painter_);
  env_.measure = measure_.get();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    env_.dpi = static_cast<int>(screen->logicalDotsPerInchX());
  }
  SetFont(FontChoice{});
  TakePalette();
}

QtTableEnvironment::~QtTableEnvironment() {
  env_.measure = nullptr;
  measure_.reset();
  painter_->end();
}

void QtTableEnvironment::SetFont(const FontChoice& font) {
  choice_ = font;
  qfont_ = QFont(ToQString(font.name), font.pointSize > 0 ? font.pointSize : 10);
  qfont_.setItalic((font.style & 1) != 0);
  qfont_.setBold((font.style & 2) != 0);
  const QFontMetrics metrics(qfont_);
  env_.font.name = font.name;
  env_.font.height = metrics.height();
  env_.font.italic = qfont_.italic();
  env_.font.bold = qfont_.bold();
  env_.fontPointSize = font.pointSize;
  env_.Remeasure();
}

void QtTableEnvironment::TakePalette() {
  const QPalette palette = QApplication::palette();
  GridColours& colours = env_.colours;
  colours.window = FromQColor(palette.color(QPalette::Base));
  colours.windowText = FromQColor(palette.color(QPalette::Text));
  colours.highlight = FromQColor(palette.color(QPalette::Highlight));
  colours.highlightText = FromQColor(palette.color(QPalette::HighlightedText));
  colours.fixedFace = FromQColor(palette.color(QPalette::Button));
  colours.gridLine = FromQColor(palette.color(QPalette::Mid));
}

}  // namespace kordavelt
