#pragma once

// The single-line scheme from the command line:
//   kordavelt-cli scheme MODEL.LVN [--page N] [--colouring N] [--book BOOK]
//                 [--regime N] --svg OUT.svg
// calculates the network as `calc` does (so the labels carry values), then
// paints subscheme N (1 by default) whole at its own zoom into an SVG file.
// --colouring picks the colouring mode for this picture, 0 … 6 as in
// "Нет#По Uном#По источникам#По помещениям#По dU%#По Kз%#По условиям"
// (the model's own mode by default). What the check of the geometry had to
// repair is reported on the error stream, once per branch; the model is
// never written. Exit codes: 0 when the picture was written, 1 when it
// could not be, 2 for bad arguments or a model that does not open.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunScheme(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
