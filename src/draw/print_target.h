#pragma once

// Pages to print on. Table and scheme printing lay their pages out from the
// sheet's size, its printable area and the device's resolution, then draw
// page after page on the canvas the target gives them:
//
//   if (const PrintResult begun = target.BeginDocument(title); !begun) ...
//   for each page: Canvas& page = target.NewPage(); draw on it
//   const PrintResult done = target.EndDocument();  // the only verdict
//
// A page's canvas starts in dots with its origin at the top-left corner of
// the printable area (Scale(DotsPerMm()) draws in millimetres), with the
// identity transform, no clip and the default pen, brush and font; it is
// valid until the next NewPage or EndDocument. Whatever fails on the way (a
// printer that does not start, a page that cannot be added, a file that
// cannot be written) is kept, later pages draw on a canvas that discards
// them, and EndDocument reports it: a document that was not printed or
// written whole never ends in success.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "draw/canvas.h"

namespace kordavelt {

// A sheet of paper and where the device can print on it.
struct PageSetup {
  SizeF paperMm{210, 297};
  // The printable area, in millimetres from the sheet's top-left corner.
  RectF printableMm{0, 0, 210, 297};
  double dotsPerMm = 300 / 25.4;

  double Dots(double mm) const { return mm * dotsPerMm; }
  SizeF PaperDots() const { return SizeF{Dots(paperMm.width), Dots(paperMm.height)}; }
  // The printable area in dots from the sheet's corner.
  RectF PrintableDots() const;
  friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// The outcome of printing: success, or what went wrong in words for the user.
struct PrintResult {
  bool ok = true;
  std::string error;

  static PrintResult Success() { return PrintResult{}; }
  static PrintResult Failure(std::string text) { return PrintResult{false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;

  // What is printed on, for the settings' title: a printer or a file.
  virtual std::string Name() const = 0;
  virtual PageSetup Page() const = 0;
  double DotsPerMm() const { return Page().dotsPerMm; }

  // Starts a document named `title` (the print job's name). A document
  // already begun is refused.
  virtual PrintResult BeginDocument(std::string_view title) = 0;
  // Starts the next page, the first one after BeginDocument.
  virtual Canvas& NewPage() = 0;
  // Ends the document; the verdict on everything since BeginDocument.
  virtual PrintResult EndDocument() = 0;
  // Pages started in the current or the last document.
  virtual int PageCount() const = 0;
};

// A canvas that draws nothing, for pages that could not be started; it
// measures texts as the SVG canvas does.
std::unique_ptr<Canvas> MakeDiscardingCanvas(double dotsPerMm);

}  // namespace kordavelt
