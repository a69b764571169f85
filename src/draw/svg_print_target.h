#pragma once

// Printing into SVG files, one a page: what tests print on, and a way to
// see a printout without a printer. Every page is an SvgCanvas of the whole
// sheet in millimetres, drawn in dots from the printable area's corner.
//
// The files are written at EndDocument, all or none: every page under a
// temporary name first, renamed into place only when all were written, so a
// failed write leaves the files of an earlier printout as they were and the
// error names the file.

#include <memory>
#include <string>
#include <vector>

#include "draw/print_target.h"
#include "draw/svg_canvas.h"

namespace kordavelt {

class SvgPrintTarget : public PrintTarget {
 public:
  // Pages go to BASE-1.svg, BASE-2.svg, … (a ".svg" ending of `base` is
  // dropped first); when `base` is an existing folder, to page-1.svg, … in it.
  SvgPrintTarget(std::string base, PageSetup page);

  std::string Name() const override { return base_; }
  PageSetup Page() const override { return page_; }
  PrintResult BeginDocument(std::string_view title) override;
  Canvas& NewPage() override;
  PrintResult EndDocument() override;
  int PageCount() const override { return static_cast<int>(pages_.size()); }

  // The file page `number` (from 1) is written to.
  std::string PageFile(int number) const;
  // The pages of the current or last document, as their files hold them.
  std::vector<std::string> Documents() const;

 private:
  PrintResult WriteAll() const;

  std::string base_;
  PageSetup page_;
  bool open_ = false;
  std::string error_;
  std::vector<std::unique_ptr<SvgCanvas>> pages_;
  std::unique_ptr<Canvas> discard_;
};

}  // namespace kordavelt
