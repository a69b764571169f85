#pragma once

// Printing through a QPrinter: the system's printer, or a PDF file when no
// printer is installed (the usual case on Linux desktops without CUPS
// queues). A page's canvas paints with a QPainter on the printer, in its
// dots from the printable area's corner.

#include <QPainter>
#include <QString>
#include <memory>

#include "draw/print_target.h"
#include "draw/qt/qpainter_canvas.h"

class QPrinter;

namespace kordavelt {

class QtPrintTarget : public PrintTarget {
 public:
  // Prints on `printer`, which must outlive the target.
  explicit QtPrintTarget(QPrinter& printer);
  // Ends a document left open.
  ~QtPrintTarget() override;
  QtPrintTarget(const QtPrintTarget&) = delete;
  QtPrintTarget& operator=(const QtPrintTarget&) = delete;

  // A printer that writes the PDF file `path`, at printer resolution.
  static std::unique_ptr<QPrinter> PdfPrinter(const QString& path);
  // The system's default printer, or, when none is installed, a PDF
  // printer writing `pdfPath`.
  static std::unique_ptr<QPrinter> SystemPrinter(const QString& pdfPath);

  std::string Name() const override;
  PageSetup Page() const override;
  PrintResult BeginDocument(std::string_view title) override;
  Canvas& NewPage() override;
  PrintResult EndDocument() override;
  int PageCount() const override { return pages_; }

 private:
  void Fail(std::string text);

  QPrinter& printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QPainterCanvas> canvas_;
  std::unique_ptr<Canvas> discard_;
  int pages_ = 0;
  std::string error_;
};

}  // namespace kordavelt
