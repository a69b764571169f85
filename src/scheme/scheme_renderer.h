#pragma once

// Painting one subscheme onto a Canvas: the full redraw of the scheme
// window, an exported picture, a printed sheet. The geometry has been read
// and checked before (geometry_store.h), so painting never repairs, writes or
// reports anything; the texts, colours and symbols come from hooks asked
// anew for every element, as the window asks the model.
//
// Order of painting: the background, every listed node (busbar or circle,
// then its text), every listed branch (line in two colours, markers at its
// ends, the symbol, the text, the arrow), the stamp, the dot grid. The
// canvas's transform is taken as the device: the renderer works in the
// device units of the view transform.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "draw/canvas.h"
#include "objects/object_symbols.h"
#include "results/scheme_labels.h"
#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"
#include "scheme/view_settings.h"
#include "scheme/view_transform.h"

namespace kordavelt {

// What the model tells about each element before it is painted. A hook
// left empty gives what the window draws without a model: the node's
// number in the standard colour, no symbol, a branch without text in the
// standard colour, switched on, and no stamp.
struct SchemeHooks {
  std::function<NodeLabel(int node)> nodeText;
  std::function<ObjectDrawing(int kind, std::int32_t key)> objectSymbol;
  std::function<BranchLabel(std::int32_t key, std::string_view objectLabel)> branchText;
  std::function<std::string()> stampText;
};

// The window's own colours: its background (the system window colour),
// the text colour when texts are not coloured, and the standard element
// colour the hooks fall back on.
struct SchemeColours {
  Color background = kWhite;
  Color text = kBlack;
  Color standard = kBlack;
};

// Everything the painting of one page depends on besides the geometry.
struct SchemeView {
  int page = 1;
  ViewTransform transform;
  int width = 0;  // the drawing area in device units
  int height = 0;
  ViewSettings settings;
  bool editMode = false;
  GridPoint stamp;    // the page's stamp position
  int stampSize = 0;  // 0 none, 1 … 3: 100 … 300 %
  SchemeColours colours;
};

// What was painted, for the status bar and the tests.
struct SchemePaintCount {
  int nodes = 0;
  int branches = 0;
  int symbols = 0;
  int textLines = 0;
};

// Paints page `view.page` of the geometry onto `canvas`: elements of other
// pages are skipped, and only those whose bounds meet the drawing area
// (widened for their texts) are painted.
SchemePaintCount RenderSchemePage(std::span<const NodeGeometry> nodes,
                                  std::span<const BranchGeometry> branches, const SchemeView& view,
                                  const SchemeHooks& hooks, Canvas& canvas);

}  // namespace kordavelt
