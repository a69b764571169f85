#pragma once

// Names and symbols of object kinds as the reference book shows them.

#include <string>
#include <string_view>

namespace kordavelt {

// "Узел", "Кабель", ...; "Прочее" for any code without a name of its own.
std::string KindName(int kind);

// The picture string of a kind, connection points after the '#'.
std::string KindSymbol(int kind);

// A symbol cut at its first '#' (the connection points dropped).
std::string SymbolWithoutPoints(std::string_view symbol);

}  // namespace kordavelt
