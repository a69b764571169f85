#pragma once

// The protective device's cells of the table of cables and protective
// devices: type, release, Iр, Im, tm, Iотс, then I″ and iуд at the device.

#include <string>

namespace kordavelt {

class modelClass;
struct ElementRec;

// Cells of the device columns; `device` null gives "-" in all of them.
inline constexpr int kDeviceCellCount = 8;
std::string DeviceCells(modelClass& model, const ElementRec* device);

}  // namespace kordavelt
