#pragma once

// Paints a table window's grid on a Canvas: the header, the frozen and the
// scrolled cells that show on a client area, the grid lines and the grey
// line under the last row. Cells are drawn by their display letters; a cell
// text starting with '@' is a picture string with its trailing text.

#include <string_view>

#include "draw/canvas.h"
#include "table/grid_layout.h"
#include "table/table_environment.h"

namespace kordavelt {

class TableWindow;
struct CellContent;

void PaintTable(TableWindow& window, Canvas& canvas, Size client);

// Draws one cell's text or picture into `box` by its display letter: the
// text in `colour`, the drawing of a picture in `pictureColour`.
void PaintCellText(Canvas& canvas, const TableEnvironment& environment, const Rect& box,
                   std::string_view text, char letter, Color colour, Color pictureColour);

}  // namespace kordavelt
