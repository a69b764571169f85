#include "scheme/model_scheme.h"

#include <algorithm>

#include "model/model_class.h"
#include "model/model_tables.h"
#include "results/stamp_text.h"
#include "scheme/drawing_lists.h"
#include "scheme/scheme_pages.h"

namespace kordavelt {
namespace {

// Steps the stamp is given beyond its corner: three lines of a model's name
// and a date at 100 %.
constexpr GridPoint kStampReach{24, 5};

// The content of `page` with the margin around it; a page without content
// shows the margin around the grid's origin.
GridRect FramedContent(const CheckedGeometry& geometry, const PageRecord& page) {
  const GridRect nowhere{1, 1, 0, 0};
  GridRect content =
      BuildDrawingLists(geometry.nodes, geometry.branches, page.number, nowhere).extents;
  // The stamp's corner, and room for a few lines of it.
  if (page.stampSize > 0) {
    content.Include(page.stamp);
    content.Include(GridPoint{page.stamp.x + kStampReach.x, page.stamp.y + kStampReach.y});
  }
  if (content.Empty()) content = {0, 0, 0, 0};
  return {content.left - kExportMargin, content.top - kExportMargin, content.right + kExportMargin,
          content.bottom + kExportMargin};
}

}  // namespace

SchemeExport PrepareSchemeExport(modelClass& model, int page, RepairLog& log, int fontHeight) {
  SchemeExport result;
  result.geometry =
      ReadGeometry(model.OpenSchemeTable(kXYNodeTable), model.OpenSchemeTable(kXYBranchTable), log);
  const PageRecord record = ReadPage(model.OpenSchemeTable(kXYPageTable), page, fontHeight);
  result.pageFound = record.found;
  result.pageName = record.name;

  const GridRect frame = FramedContent(result.geometry, record);
  const long long columns = static_cast<long long>(frame.right) - frame.left + 1;
  const long long rows = static_cast<long long>(frame.bottom) - frame.top + 1;
  const long long longest = std::max(columns, rows);
  const int step = BoundStep(std::min<long long>(record.view.step, kExportMaxSide / longest));

  SchemeView& view = result.view;
  view.page = page;
  view.transform = ViewTransform({frame.left, frame.top}, step, step);
  view.width = static_cast<int>(columns * step);
  view.height = static_cast<int>(rows * step);
  view.settings = DecodeViewSettings(model.Settings().SchemeDisplayOptions());
  view.stamp = record.stamp;
  view.stampSize = record.stampSize;
  return result;
}

SchemeHooks ModelSchemeHooks(modelClass& model, const SchemePalette& palette,
                             const std::tm& moment) {
  SchemeHooks hooks;
  hooks.nodeText = [&model, palette](int node) { return NodeText(model, node, palette); };
  hooks.objectSymbol = [&model](int kind, std::int32_t key) {
    return ObjectSymbol(model, kind, key);
  };
  hooks.branchText = [&model, palette](std::int32_t key, std::string_view objectLabel) {
    return BranchText(model, key, objectLabel, palette);
  };
  hooks.stampText = [&model, moment] { return StampText(model, moment); };
  return hooks;
}

}  // namespace kordavelt
