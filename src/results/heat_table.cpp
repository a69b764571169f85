#include "results/heat_table.h"

#include "base/number_format.h"
#include "model/model_class.h"
#include "model/model_records.h"
#include "model/room_owner.h"

namespace kordavelt {

bool HeatTable::Build(TableForm& form) {
  form.caption = kCaption;
  form.name = "Teplo";
  form.head1 = " № #      Наименования      # t #   V   #    Q   ";
  form.head2 = "   #                        #°C # куб.м #Гкал/час";
  form.displayCodes = "CL" + std::string(kMaxTableColumns - 3, 'C');
  tbClass* rooms = Model().Rooms();
  if (rooms != nullptr) {
    rooms->GoTo(0);
    while (rooms->Next() && !Full()) {
      const RoomRec room(rooms->Record());
      const double volume = static_cast<double>(room.DX()) * room.DY() * room.DZ();
      std::string line = FormatNumber(rooms->Key()) + Cell(room.Name()) + NumberCell(room.Tv()) +
                         NumberCell(volume) + NumberCell(room.Qtv());
      if (const std::optional<Color> tint = RoomTint(room)) {
        AddRow(std::move(line), *tint);
      } else {
        AddRow(std::move(line));
      }
    }
  }
  if (RowCount() == 0) {
    ShowMessage(kCaption, "Нет списка помещений");
    return false;
  }
  return true;
}

}  // namespace kordavelt
