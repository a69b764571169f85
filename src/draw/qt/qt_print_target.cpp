#include "draw/qt/qt_print_target.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "base/qt/qt_text.h"

namespace kordavelt {
namespace {

bool WritesPdf(const QPrinter& printer) { return printer.outputFormat() == QPrinter::PdfFormat; }

}  // namespace

QtPrintTarget::QtPrintTarget(QPrinter& printer) : printer_(printer) {}

QtPrintTarget::~QtPrintTarget() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

std::unique_ptr<QPrinter> QtPrintTarget::PdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  return printer;
}

std::unique_ptr<QPrinter> QtPrintTarget::SystemPrinter(const QString& pdfPath) {
  if (QPrinterInfo::availablePrinters().isEmpty()) return PdfPrinter(pdfPath);
  return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

std::string QtPrintTarget::Name() const {
  return ToUtf8(WritesPdf(printer_) ? printer_.outputFileName() : printer_.printerName());
}

PageSetup QtPrintTarget::Page() const {
  const QRectF paper = printer_.paperRect(QPrinter::Millimeter);
  const QRectF printable = printer_.pageRect(QPrinter::Millimeter);
  PageSetup page;
  page.paperMm = SizeF{paper.width(), paper.height()};
  page.printableMm =
      RectF{printable.left(), printable.top(), printable.right(), printable.bottom()};
  page.dotsPerMm = printer_.resolution() / 25.4;
  return page;
}

void QtPrintTarget::Fail(std::string text) {
  if (error_.empty()) error_ = std::move(text);
}

PrintResult QtPrintTarget::BeginDocument(std::string_view title) {
  if (painter_) return PrintResult::Failure("Документ печати уже начат");
  error_.clear();
  pages_ = 0;
  printer_.setDocName(ToQString(title));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&printer_)) {
    painter_.reset();
    Fail(WritesPdf(printer_) ? "Не удалось записать файл " + Name()
                             : "Не удалось начать печать на принтере " + Name());
    return PrintResult::Failure(error_);
  }
  return PrintResult::Success();
}

Canvas& QtPrintTarget::NewPage() {
  if (!painter_) Fail("Страница начата вне документа печати");
  if (!error_.empty()) {
    if (!discard_) discard_ = MakeDiscardingCanvas(printer_.resolution() / 25.4);
    return *discard_;
  }
  canvas_.reset();
  if (pages_ > 0 && !printer_.newPage()) {
    Fail("Не удалось начать страницу " + std::to_string(pages_ + 1) + " на " + Name());
    return NewPage();
  }
  ++pages_;
  painter_->setClipping(false);
  canvas_ = std::make_unique<QPainterCanvas>(*painter_);
  return *canvas_;
}

PrintResult QtPrintTarget::EndDocument() {
  if (!painter_) {
    return PrintResult::Failure(error_.empty() ? "Документ печати не был начат" : error_);
  }
  canvas_.reset();
  const bool ended = painter_->end();
  painter_.reset();
  if (WritesPdf(printer_)) {
    const QString path = printer_.outputFileName();
    if (!ended || QFileInfo(path).size() <= 0) Fail("Не удалось записать файл " + Name());
    // A document that failed leaves no partial file behind.
    if (!error_.empty()) QFile::remove(path);
  } else if (!ended) {
    Fail("Не удалось закончить печать на принтере " + Name());
  }
  return error_.empty() ? PrintResult::Success() : PrintResult::Failure(error_);
}

}  // namespace kordavelt
