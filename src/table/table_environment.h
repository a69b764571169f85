#pragma once

// What all table windows of the program share: the table font and the cell
// margins it gives, the row colours, the services of the platform (dialogs,
// clipboard, files), the export options and the place of the last modal
// table. One object lives for the whole run; the main window changes it
// when the user edits the format settings.

#include <functional>
#include <optional>

#include "draw/canvas.h"
#include "exchange/export_variant.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {

// The colours a grid is painted in; the program takes them from the
// desktop's palette.
struct GridColours {
  Color window{255, 255, 255};
  Color windowText{0, 0, 0};
  Color highlight{0, 120, 215};
  Color highlightText{255, 255, 255};
  Color fixedFace{240, 240, 240};
  Color gridLine{192, 192, 192};
  // The line drawn under the last row.
  Color lastRowLine{128, 128, 128};
};

struct TableEnvironment {
  TableEnvironment(UiHost& uiHost, FileSystem& fileSystem) : ui(uiHost), files(fileSystem) {}

  UiHost& ui;
  FileSystem& files;

  // The table font ("Arial" 10 at start) as the screen draws it.
  Font font;
  int fontPointSize = 10;
  // Screen resolution: the horizontal cell margin is 2 × round(dpi / 50.8).
  int dpi = 96;
  int HorizontalMargin() const;
  static constexpr int kVerticalMargin = 1;

  // The standard row colour (display setting "ColorDefault").
  Color rowColour = kBlack;
  GridColours colours;

  // Options of "Копировать в файл".
  CsvOptions csv;

  // True while the main window starts up or opens or closes a model: copy,
  // find and sizing requests are ignored then.
  bool starting = false;

  // An edit, deletion, paste or undo reached the owner of some table window:
  // what the other windows show may have changed (unbound: nothing follows).
  std::function<void()> onTableChanged;

  // Where the last modal table stood (left, top), shared by all of them.
  std::optional<Point> lastModalPosition;

  // The canvas texts are measured on (the platform's, in the table font);
  // null measures nothing: texts count 0 wide.
  Canvas* measure = nullptr;
  // The width and height of a text in the table font (bold for titles).
  Size TextExtent(std::string_view text, bool bold = false) const;

  // The text height of "A" in the table font; every row is that plus two
  // vertical margins. Remeasure() after the font changed.
  int textHeight = 16;
  int RowHeight() const { return textHeight + 2 * kVerticalMargin; }
  void Remeasure();
};

}  // namespace kordavelt
