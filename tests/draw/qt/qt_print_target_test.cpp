// Printing on Linux without a printer ends in a PDF file. A document whose
// pages are not all in the file, a page drawn in screen pixels on a
// printer's fine dots, or a file that could not be written reported as
// printed would lose a printout without a word.

#include "draw/qt/qt_print_target.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <filesystem>

#include "base/qt/qt_text.h"
#include "support/scratch_folder.h"

namespace kordavelt {
namespace {

using testing::ScratchFolder;

QByteArray ReadFile(const std::string& path) {
  QFile file(ToQString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// The page objects of a PDF (not the page tree, "/Type /Pages").
int PdfPages(const QByteArray& pdf) {
  static const QRegularExpression page(R"(/Type\s*/Page\b)");
  int count = 0;
  for (auto match = page.globalMatch(QString::fromLatin1(pdf)); match.hasNext(); match.next()) {
    ++count;
  }
  return count;
}

TEST(QtPrintTarget, APdfPrinterWritesEveryPage) {
  ScratchFolder folder;
  const std::string path = folder / "Таблица.pdf";
  const auto printer = QtPrintTarget::PdfPrinter(ToQString(path));
  QtPrintTarget target(*printer);
  EXPECT_EQ(target.Name(), path);

  ASSERT_TRUE(target.BeginDocument("Печать. Таблица"));
  for (int page = 1; page <= 2; ++page) {
    Canvas& canvas = target.NewPage();
    canvas.Scale(canvas.DotsPerMm());  // millimetres
    canvas.font.height = 5;
    canvas.Text(PointF{10, 10}, "Лист " + std::to_string(page));
    canvas.brush.style = BrushStyle::Clear;
    canvas.Rectangle(RectF{5, 5, 100, 50});
  }
  const PrintResult done = target.EndDocument();
  ASSERT_TRUE(done) << done.error;
  EXPECT_EQ(target.PageCount(), 2);

  const QByteArray pdf = ReadFile(path);
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(PdfPages(pdf), 2);
}

TEST(QtPrintTarget, PagesMeasureInPrinterDotsFromThePrintableCorner) {
  ScratchFolder folder;
  const auto printer = QtPrintTarget::PdfPrinter(ToQString(folder / "a.pdf"));
  QtPrintTarget target(*printer);
  const PageSetup page = target.Page();
  EXPECT_NEAR(page.dotsPerMm, printer->resolution() / 25.4, 1e-9);
  EXPECT_GT(page.dotsPerMm, 10) << "a printer's resolution, not the screen's";
  EXPECT_GT(page.paperMm.width, 200);
  EXPECT_GE(page.printableMm.left, 0);
  EXPECT_LE(page.printableMm.right, page.paperMm.width);

  ASSERT_TRUE(target.BeginDocument("Схема"));
  EXPECT_NEAR(target.NewPage().DotsPerMm(), page.dotsPerMm, 0.01);
  EXPECT_TRUE(target.EndDocument());
}

TEST(QtPrintTarget, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  ScratchFolder folder;
  const std::string path = folder / "absent/a.pdf";
  const auto printer = QtPrintTarget::PdfPrinter(ToQString(path));
  QtPrintTarget target(*printer);
  const PrintResult begun = target.BeginDocument("Таблица");
  EXPECT_FALSE(begun);
  EXPECT_NE(begun.error.find("a.pdf"), std::string::npos) << begun.error;
  target.NewPage().Line(PointF{0, 0}, PointF{10, 10});  // drawn nowhere
  EXPECT_FALSE(target.EndDocument());
  EXPECT_EQ(target.PageCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(QtPrintTarget, WithoutPrintersTheSystemPrinterWritesPdf) {
  ScratchFolder folder;
  const auto printer = QtPrintTarget::SystemPrinter(ToQString(folder / "b.pdf"));
  ASSERT_NE(printer, nullptr);
  if (printer->outputFormat() != QPrinter::PdfFormat) GTEST_SKIP() << "a printer is installed";
  EXPECT_EQ(printer->outputFileName(), ToQString(folder / "b.pdf"));
}

}  // namespace
}  // namespace kordavelt
