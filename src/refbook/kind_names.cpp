#include "refbook/kind_names.h"

namespace kordavelt {

std::string KindName(int kind) {
  switch (kind) {
    case 2:
      return "Узел";
    case 3:
      return "Ветвь";
    case 11:
      return "Кабель";
    case 12:
      return "Проводка";
    case 13:
      return "Воздушная линия";
    case 14:
      return "Шинопровод к.";
    case 15:
      return "Шинопровод";
    case 20:
      return "Защитный аппарат";
    case 21:
      return "Автомат";
    case 22:
      return "Предохранитель";
    case 23:
      return "Реле";
    case 24:
      return "Рубильник";
    case 25:
      return "Пусковой аппарат";
    case 31:
      return "Трансформатор";
    case 32:
      return "Стабилизатор";
    case 33:
      return "Реактор";
    case 34:
      return "Трансформатор тока";
    case 41:
    case 42:
      return "Электромотор";
    case 43:
      return "Батарея конденсаторов";
    case 45:
      return "Электророзетки";
    case 46:
      return "Освещение";
    case 50:
      return "Генератор";
    case 51:
      return "Источник питания";
    case 52:
      return "Электроприемник";
    case 53:
      return "Эквивалентная нагрузка";
    case 54:
      return "Эквивалентный АД";
    case 55:
      return "Эквивалентный СД";
    case 91:
      return "Расцепитель";
    default:
      return "Прочее";
  }
}

std::string KindSymbol(int kind) {
  switch (kind) {
    case 2:
      return "@r00B5c4174e#50";
    case 11:
      return "@l101Gp02221402p0E2E1C0Ee#000G";
    case 14:
    case 15:
      return "@l000Gl202Ge#101G";
    case 20:
      return "@p3031p13041524p013637p0060670700e#3037";
    case 21:
      return "@p3031p13041524p013637e#3037";
    case 22:
      return "@p2027p0040470700e#2027";
    case 23:
      return "@a004302p2324444626e#2026";
    case 24:
      return "@p3031p2141p013637e#3037";
    case 25:
      return "@p3032a204224p013637e#3037";
    case 31:
      return "@c0088c048Ce#404C";
    case 32:
      return "@c008803e#4048";
    case 33:
      return "@a008803p044448e#4048";
    case 34:
      return "@c0145c5195cA1E5p2026p7076pC0C6e#7076";
    case 41:
    case 42:
      return "@c028Ap4042c1379e#40";
    case 43:
      return "@p50A90950p3575p3777e#50";
    case 45:
      return "@c0088c1335c5375e#40";
    case 46:
      return "@c028Ap4042p1379p7319e#40";
    case 50:
      return "@c028Ap4042p152737556577e#40";
    case 51:
      return "@p0008888000p0088p0880p0448844004e#40";
    case 52:
      return "@p0008888000e#40";
    case 53:
    case 54:
    case 55:
      return "@r028Ac028Ap4042c1379e#40";
    case 91:
      return "@l030Gl0EGEa20KD23e#40";
    default:
      return "@l000Ge#000G";
  }
}

std::string SymbolWithoutPoints(std::string_view symbol) {
  return std::string(symbol.substr(0, symbol.find('#')));
}

}  // namespace kordavelt
