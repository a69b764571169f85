#pragma once

// Symbols the scheme draws for objects beyond the plain kind symbols
// (refbook/kind_names.h): the conductor mark of lines and the transformer
// symbols of the connection groups. Picture strings with their connection
// points after the '#'.

#include <string>

namespace kordavelt {

// The mark of a line: a short line with one slanted stroke per conductor,
// one to four (0 and 1 give one, more than 4 give four).
std::string ConductorMark(int conductors);

// The symbol of a transformer of connection group 0 … 5 of
// "Y0/Y0#D/Y0#Y/Y0#Y/Z#D/Z#D/Y": two circles with the winding signs; "D/Y"
// and any other group (a type not found among them) is the plain
// two-circle symbol of the kind.
std::string TransformerSymbol(int group);

}  // namespace kordavelt
