#include "table/table_painter.h"

#include <algorithm>

#include "draw/picture_string.h"
#include "table/table_window.h"

namespace kordavelt {
namespace {

void PaintHeader(Canvas& canvas, const TableEnvironment& env, const Rect& box,
                 const CellContent& content, Color ink) {
  canvas.font = env.font;
  canvas.font.color = ink;
  const int middle = (box.left + box.right) / 2;
  canvas.Text(Point{middle, box.top}, content.text, 0, HAlign::Center);
  if (!content.text2.empty()) {
    canvas.Text(Point{middle, box.top + env.textHeight}, content.text2, 0, HAlign::Center);
  }
}

void PaintGridLines(TableWindow& window, Canvas& canvas, Size client) {
  const GridLayout& layout = window.Layout();
  const int lastRow = layout.LastShownRow(client);
  const int lastCol = layout.LastShownCol(client);
  const int bottom = std::min(
      lastRow >= 0 ? layout.CellRect(GridCell{lastRow, 0}).bottom + GridLayout::kLineWidth : 0,
      client.height);
  const int right = std::min(layout.TotalWidth(), client.width);
  canvas.pen = Pen{window.Environment().colours.gridLine, GridLayout::kLineWidth, PenStyle::Solid};

  for (int c = 0; c <= lastCol; ++c) {
    if (c >= layout.FixedCols() && c < layout.LeftCol()) continue;
    const Rect box = layout.CellRect(GridCell{0, c});
    canvas.Line(Point{box.right, 0}, Point{box.right, bottom});
  }
  const bool horizontal = window.HorzLines() || window.FormView();
  for (int r = 0; r <= lastRow; ++r) {
    if (r >= layout.FixedRows() && r < layout.TopRow()) continue;
    if (r >= layout.FixedRows() && !horizontal) continue;
    if (layout.RowHeightOf(r) == 0) continue;
    const int y = layout.CellRect(GridCell{r, 0}).bottom;
    canvas.Line(Point{0, y}, Point{right, y});
  }
  // The grey line closes the table under its last row.
  if (lastRow == layout.RowCount() - 1 && lastRow >= layout.FixedRows()) {
    const int y = layout.CellRect(GridCell{lastRow, 0}).bottom;
    canvas.pen.color = window.Environment().colours.lastRowLine;
    canvas.Line(Point{0, y}, Point{client.width, y});
  }
}

}  // namespace

void PaintCellText(Canvas& canvas, const TableEnvironment& env, const Rect& box,
                   std::string_view text, char letter, Color colour, Color pictureColour) {
  if (text.empty()) return;
  canvas.font = env.font;
  canvas.font.color = colour;
  const int margin = env.HorizontalMargin();
  const int lineHeight = env.RowHeight();
  canvas.SetClip(box);
  if (Picture::IsPicture(text)) {
    const Picture picture = Picture::Parse(text);
    const int width = PictureCellWidth(canvas, picture, lineHeight);
    int x = box.left;
    if (letter == 'C' || letter == 'D') x = box.left + (box.Width() - width) / 2;
    if (letter == 'R') x = box.right - width;
    const int offset =
        letter == 'C' || letter == 'D' ? PictureCentringOffset(picture, lineHeight) : 0;
    const int textX = DrawPicture(canvas, picture, Point{x, box.top + offset}, lineHeight,
                                  static_cast<int>(env.font.height), pictureColour);
    if (!picture.TrailingText().empty()) {
      canvas.font.color = colour;
      canvas.Text(Point{textX, box.top + TableEnvironment::kVerticalMargin},
                  picture.TrailingText());
    }
  } else {
    const int width = canvas.TextExtent(text).width;
    int x = box.left;
    if (letter == 'C') x = box.left + (box.Width() - width) / 2;
    if (letter == 'L') x = box.left + margin;
    if (letter == 'R') x = box.right - width - margin;
    x = std::max(x, box.left);
    canvas.Text(Point{x, box.top + TableEnvironment::kVerticalMargin}, text);
  }
  canvas.ClearClip();
}

void PaintTable(TableWindow& window, Canvas& canvas, Size client) {
  window.Sync();
  const TableEnvironment& env = window.Environment();
  const GridLayout& layout = window.Layout();
  canvas.FillRect(Rect{0, 0, client.width, client.height}, env.colours.window);

  const int lastRow = layout.LastShownRow(client);
  const int lastCol = layout.LastShownCol(client);
  for (int r = 0; r <= lastRow; ++r) {
    if (r >= layout.FixedRows() && r < layout.TopRow()) continue;
    if (layout.RowHeightOf(r) == 0) continue;
    for (int c = 0; c <= lastCol; ++c) {
      if (c >= layout.FixedCols() && c < layout.LeftCol()) continue;
      const Rect box = layout.CellRect(GridCell{r, c});
      if (box.Width() <= 0 || box.Height() <= 0) continue;
      const CellContent content = window.Content(GridCell{r, c});
      Color background = content.tinted ? content.background : env.colours.window;
      Color ink = content.colour;
      Color pictureInk = content.pictureColour;
      if (content.highlighted) {
        background = env.colours.highlight;
        ink = env.colours.highlightText;
        if (!content.ownPictureColour) pictureInk = ink;
      } else if (content.kind != CellContent::Kind::Data) {
        background = env.colours.fixedFace;
      }
      canvas.FillRect(box, background);
      if (content.kind == CellContent::Kind::Header) {
        canvas.SetClip(box);
        PaintHeader(canvas, env, box, content, ink);
        canvas.ClearClip();
      } else {
        PaintCellText(canvas, env, box, content.text, content.letter, ink, pictureInk);
      }
    }
  }
  PaintGridLines(window, canvas, client);
  // Rows read while painting may have let the owner change its row count.
  window.Sync();
}

}  // namespace kordavelt
