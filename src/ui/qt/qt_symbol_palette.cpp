#include "ui/qt/qt_symbol_palette.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "draw/qt/qpainter_canvas.h"
#include "ui/qt/qt_dialog_support.h"

namespace kordavelt {
namespace {

constexpr int kPaletteColumns = 5;

// The cells themselves: paints every symbol through the owner's painter and
// reports the clicked one.
class SymbolGrid : public QWidget {
 public:
  SymbolGrid(QWidget* parent, int count, int cellSize, const SymbolPainter& paint,
             std::function<void(int)> choose)
      : QWidget(parent),
        count_(count),
        columns_(SymbolPalette::Columns(count)),
        cellSize_(cellSize),
        paint_(paint),
        choose_(std::move(choose)) {
    setObjectName(QStringLiteral("symbolGrid"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const int rows = (count_ + columns_ - 1) / columns_;
    setFixedSize(columns_ * cellSize_, rows * cellSize_);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    QPainterCanvas canvas(painter);
    canvas.font.name = ToUtf8(font().family());
    canvas.font.height = fontMetrics().height();
    const Color inkColor = FromQColor(palette().color(QPalette::Text));
    canvas.font.color = inkColor;
    canvas.pen.color = inkColor;
    for (int i = 0; i < count_; ++i) {
      const QRect cell = CellRect(i);
      painter.save();
      painter.setClipRect(cell);
      paint_(canvas, i + 1, cell.left(), cell.top(), cellSize_);
      painter.restore();
    }
    if (hover_ >= 0) {
      // A dotted focus frame of our own: styles such as Fusion draw theirs only
      // after keyboard navigation.
      painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(CellRect(hover_).adjusted(1, 1, -2, -2));
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override { SetHover(IndexAt(event->position())); }

  void leaveEvent(QEvent*) override { SetHover(-1); }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const int index = IndexAt(event->position());
    if (index >= 0) choose_(index + 1);
  }

 private:
  QRect CellRect(int index) const {
    return QRect((index % columns_) * cellSize_, (index / columns_) * cellSize_, cellSize_,
                 cellSize_);
  }

  // The symbol index under a point, or -1 past the last symbol.
  int IndexAt(QPointF position) const {
    const int column = static_cast<int>(position.x()) / cellSize_;
    const int row = static_cast<int>(position.y()) / cellSize_;
    if (position.x() < 0 || position.y() < 0 || column >= columns_) return -1;
    const int index = row * columns_ + column;
    return index < count_ ? index : -1;
  }

  void SetHover(int index) {
    if (index == hover_) return;
    hover_ = index;
    update();
  }

  int count_;
  int columns_;
  int cellSize_;
  SymbolPainter paint_;
  std::function<void(int)> choose_;
  int hover_ = -1;
};

}  // namespace

SymbolPalette::SymbolPalette(QWidget* parent, std::string_view caption, int count,
                             const SymbolPainter& paint)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(ToQString(caption));
  auto* grid = new SymbolGrid(this, count, CellSize(), paint, [this](int number) {
    chosen_ = number;
    accept();
  });
  grid->move(0, 0);
  setFixedSize(grid->size());
}

int SymbolPalette::Columns(int count) { return std::clamp(count, 1, kPaletteColumns); }

int SymbolPalette::CellSize() const { return 4 * fontMetrics().height(); }

int RunSymbolPalette(QWidget* parent, std::string_view caption, int count,
                     const SymbolPainter& paint) {
  if (count < 2) return 0;
  SymbolPalette palette(parent, caption, count, paint);
  PlaceAtMouse(palette);
  palette.exec();
  return palette.Chosen();
}

}  // namespace kordavelt
