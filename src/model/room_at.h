#pragma once

// Which room a point of the building plan lies in.

#include <cstdint>

namespace kordavelt {

class dbfClass;
class tbClass;

// The number of the first room, in key order, whose box (origin and size)
// holds the point (x, y, z), in metres; 0 when none does.
std::int32_t RoomAt(tbClass& rooms, double x, double y, double z);
// The same over the room table of an open model; 0 when the table is not open.
std::int32_t RoomAt(dbfClass& model, double x, double y, double z);

}  // namespace kordavelt
