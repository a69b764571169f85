// Printing into SVG files is how table and scheme printouts are checked and
// kept for review. Pages in the wrong unit or the wrong place on the sheet,
// files that overwrite an earlier printout when a later page fails, or a
// failed write reported as success would all go unseen without a printer.

#include "draw/svg_print_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace kordavelt {
namespace {

using testing::ScratchFolder;

// A sheet of 100 × 50 mm, printable 5 mm in from the left and 4 mm from the
// top, at 4 dots a millimetre.
const PageSetup kSheet{SizeF{100, 50}, RectF{5, 4, 95, 46}, 4};

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void PrintTwoPages(PrintTarget& target) {
  ASSERT_TRUE(target.BeginDocument("Таблица"));
  Canvas& first = target.NewPage();
  first.Line(Point{0, 0}, Point{360, 0});
  first.font.height = 20;
  first.Text(Point{0, 10}, "Лист 1");
  Canvas& second = target.NewPage();
  EXPECT_DOUBLE_EQ(second.DotsPerMm(), 4);
  second.Scale(second.DotsPerMm());  // millimetres
  second.brush.style = BrushStyle::Clear;
  second.Rectangle(RectF{0, 0, 90, 42});
}

TEST(SvgPrintTarget, TwoPagesGoToNumberedFilesOfTheWholeSheet) {
  ScratchFolder folder;
  SvgPrintTarget target(folder / "out", kSheet);
  PrintTwoPages(target);
  const PrintResult done = target.EndDocument();
  ASSERT_TRUE(done) << done.error;
  EXPECT_EQ(target.PageCount(), 2);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"out-1.svg", "out-2.svg"}));

  const std::string header =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100mm\" height=\"50mm\" viewBox=\"0 0 "
      "400 200\">\n<g transform=\"translate(20 16)\">\n";
  EXPECT_EQ(Read(folder / "out-1.svg"),
            header +
                "<line x1=\"0\" y1=\"0\" x2=\"360\" y2=\"0\" stroke=\"#000000\" "
                "stroke-width=\"1\"/>\n"
                "<text x=\"0\" y=\"10\" font-family=\"Arial\" font-size=\"20\" fill=\"#000000\" "
                "text-anchor=\"start\" dominant-baseline=\"text-before-edge\">Лист 1</text>\n"
                "</g>\n</svg>\n");
  EXPECT_EQ(Read(folder / "out-2.svg"),
            header +
                "<rect x=\"0\" y=\"0\" width=\"360\" height=\"168\" fill=\"none\" "
                "stroke=\"#000000\" stroke-width=\"1\"/>\n</g>\n</svg>\n");
  EXPECT_EQ(target.Documents().at(1), Read(folder / "out-2.svg"));
}

TEST(SvgPrintTarget, AFolderGetsPageFilesAndAnSvgEndingIsNotRepeated) {
  ScratchFolder folder;
  EXPECT_EQ(SvgPrintTarget(folder.Path().string(), kSheet).PageFile(3),
            (folder.Path() / "page-3.svg").string());
  EXPECT_EQ(SvgPrintTarget(folder / "plan.svg", kSheet).PageFile(1), folder / "plan-1.svg");
  EXPECT_EQ(SvgPrintTarget("plan", kSheet).Name(), "plan");
}

// Catches a printout half replaced: when page 2 cannot be written, page 1 of
// the earlier printout stays as it was and no temporary file is left.
TEST(SvgPrintTarget, AFailedWriteNamesTheFileAndLeavesTheEarlierPrintout) {
  ScratchFolder folder;
  std::ofstream(folder / "out-1.svg") << "earlier";
  std::filesystem::create_directory(folder / "out-2.svg.tmp");  // cannot be written as a file
  SvgPrintTarget target(folder / "out", kSheet);
  PrintTwoPages(target);
  const PrintResult done = target.EndDocument();
  EXPECT_FALSE(done);
  EXPECT_NE(done.error.find("out-2.svg"), std::string::npos) << done.error;
  EXPECT_EQ(Read(folder / "out-1.svg"), "earlier");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"out-1.svg", "out-2.svg.tmp"}));
}

TEST(SvgPrintTarget, AMissingFolderFailsTheDocument) {
  ScratchFolder folder;
  SvgPrintTarget target(folder / "absent/out", kSheet);
  PrintTwoPages(target);
  EXPECT_FALSE(target.EndDocument());
  EXPECT_TRUE(folder.Names().empty());
}

TEST(SvgPrintTarget, PagesOutsideADocumentAreRefusedAtItsEnd) {
  ScratchFolder folder;
  SvgPrintTarget target(folder / "out", kSheet);
  target.NewPage().Line(Point{0, 0}, Point{1, 1});
  const PrintResult stray = target.EndDocument();
  EXPECT_FALSE(stray);
  EXPECT_FALSE(stray.error.empty());

  ASSERT_TRUE(target.BeginDocument("А"));
  EXPECT_FALSE(target.BeginDocument("Б")) << "one document at a time";
  EXPECT_TRUE(target.EndDocument()) << "an empty document writes nothing and succeeds";
  EXPECT_EQ(target.PageCount(), 0);
  EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
}  // namespace kordavelt
