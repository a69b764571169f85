#include "model/room_at.h"

#include "model/model_records.h"
#include "model/model_tables.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"

namespace kordavelt {

std::int32_t RoomAt(tbClass& rooms, double x, double y, double z) {
  rooms.GoTo(0);
  while (rooms.Next()) {
    const RoomRec room(rooms.Record());
    const auto inside = [](double v, float origin, float size) {
      return origin <= v && v <= static_cast<double>(origin) + size;
    };
    if (inside(x, room.Xmin(), room.DX()) && inside(y, room.Ymin(), room.DY()) &&
        inside(z, room.Zmin(), room.DZ())) {
      return rooms.Key();
    }
  }
  return 0;
}

std::int32_t RoomAt(dbfClass& model, double x, double y, double z) {
  tbClass* rooms = model.Table(kRoomTable);
  return rooms != nullptr ? RoomAt(*rooms, x, y, z) : 0;
}

}  // namespace kordavelt
