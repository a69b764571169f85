#include "model/data_class.h"

namespace kordavelt {

DataClass::DataClass(modelClass& model, UiHost& ui)
    : groups_(model, ui), receivers_(model, ui, groups_), sources_(model, ui), rooms_(model, ui) {
  groups_.OnReceiversChanged = [this] { receivers_.Reload(); };
  receivers_.OnSourceLoads = [this] { sources_.Reload(); };
}

void DataClass::ReloadAll() {
  groups_.Reload();
  receivers_.Reload();
  sources_.Reload();
  rooms_.Reload();
}

const std::array<DataMenuItem, 5>& DataClass::MenuItems() {
  static const std::array<DataMenuItem, 5> items{{
      {"&Помещения", "Ctrl+R"},
      {"&Группы ЭП", "Ctrl+G"},
      {"&Электроприемники (ЭП)", "Ctrl+E"},
      {"&Перечень ЭП", "Ctrl+L"},
      {"&Источники питания", "Ctrl+I"},
  }};
  return items;
}

}  // namespace kordavelt
