#pragma once

// A subscheme of an open model made ready for painting without a window:
// its geometry read and checked, and a view that shows the whole page at the
// page's own zoom. The command line and the tests export pages this way; the
// window sets its own view over the same geometry.
//
//   RepairLog log;
//   const SchemeExport page = PrepareSchemeExport(model, 1, log);
//   SvgCanvas canvas(page.view.width, page.view.height);
//   RenderSchemePage(page.geometry.nodes, page.geometry.branches, page.view,
//                    ModelSchemeHooks(model, palette, moment), canvas);
//   // log.TakePending(): what the check repaired, shown after painting
//
// Nothing is written into the model: repairs stay in memory (SaveRepairs
// is the window's to call).

#include <ctime>
#include <string>

#include "results/scheme_colours.h"
#include "scheme/geometry_store.h"
#include "scheme/scheme_renderer.h"

namespace kordavelt {

class modelClass;

// The font height the zoom of an exported page counts from (100 %).
inline constexpr int kExportFontHeight = 16;
// Steps of empty space around an exported page's content.
inline constexpr int kExportMargin = 4;
// The longest side of an exported page in device units, as far as a step of
// at least one unit allows: a page whose content spreads over the whole grid
// is drawn smaller rather than enormous.
inline constexpr int kExportMaxSide = 16000;

struct SchemeExport {
  CheckedGeometry geometry;
  SchemeView view;
  bool pageFound = false;  // the page has its record
  std::string pageName;
};

SchemeExport PrepareSchemeExport(modelClass& model, int page, RepairLog& log,
                                 int fontHeight = kExportFontHeight);

// The hooks the model binds to its scheme: labels and colours of the
// results, the objects' symbols, the stamp dated `moment`.
SchemeHooks ModelSchemeHooks(modelClass& model, const SchemePalette& palette,
                             const std::tm& moment);

}  // namespace kordavelt
