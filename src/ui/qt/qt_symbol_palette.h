#pragma once

// The symbol palette: a tool window with a grid of symbol cells, five to a
// row. The cell under the mouse shows a focus rectangle; a click chooses.

#include <QDialog>
#include <string_view>

#include "ui/ui_host.h"

namespace kordavelt {

class SymbolPalette : public QDialog {
 public:
  SymbolPalette(QWidget* parent, std::string_view caption, int count, const SymbolPainter& paint);

  // The chosen symbol number (1-based), or 0 while none is chosen.
  int Chosen() const { return chosen_; }

  static int Columns(int count);
  // Four text heights of the window's font.
  int CellSize() const;

 private:
  int chosen_ = 0;
};

// The chosen symbol number, or 0 when the palette is closed without a choice
// or there are fewer than two symbols (then nothing is shown).
int RunSymbolPalette(QWidget* parent, std::string_view caption, int count,
                     const SymbolPainter& paint);

}  // namespace kordavelt
