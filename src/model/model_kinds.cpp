#include "model/model_kinds.h"

#include <string>

namespace kordavelt {
namespace {

constexpr std::array<ObjectKind, kKindCount> kKinds = {{
    {0, kKindNode, "Узел(сборные шины)", 2, 34},
    {1, kKindPowerSource, "Источник питания", 151, 132},
    {2, kKindAbstractBranch, "Ветвь абстрактная", 103, 36},
    {3, kKindCableLine, "Кабельная линия", 111, 20},
    {4, kKindWiring, "Участок проводки", 112, 23},
    {5, kKindOverheadLine, "Воздушная линия", 113, 22},
    {6, kKindTrunkingK, "Шинопровод К", 114, 10},
    {7, kKindTrunkingN, "Шинопровод Н", 115, 32},
    {8, kKindFuse, "Предохранитель", 122, 12},
    {9, kKindBreaker, "Автомат", 121, 34},
    {10, kKindProtectiveDevice, "Защитный аппарат", 120, 157},
    {11, kKindCurrentRelay, "Токовое реле", 123, 4},
    {12, kKindSwitch, "Рубильник", 124, 4},
    {13, kKindStarter, "Пускатель и контактор", 125, 12},
    {14, kKindTransformer, "Трансформатор", 131, 29},
    {15, kKindStabiliser, "Стабилизатор", 132, 4},
    {16, kKindReactor, "Реактор", 133, 4},
    {17, kKindCurrentTransformer, "Трансформатор тока", 134, 4},
    {18, kKindCapacitorBank, "Батарея конденсаторов", 143, 6},
    {19, kKindGenerator, "Генератор", 150, 46},
    {20, kKindReceiver, "Электроприемник", 152, 4},
    {21, kKindSockets, "Электророзетки", 145, 20},
    {22, kKindLighting, "Освещение", 0, 0},
    {23, kKindEquivalentMotor, "Эквивалентный АД/СД", 153, 40},
}};

}  // namespace

const std::array<ObjectKind, kKindCount>& ObjectKinds() { return kKinds; }

const ObjectKind* KindOfCode(int code) {
  for (const ObjectKind& kind : kKinds) {
    if (kind.code == code) return &kind;
  }
  return nullptr;
}

std::string_view KindCaptionList() {
  static const std::string list = [] {
    std::string captions;
    for (const ObjectKind& kind : kKinds) {
      if (!captions.empty()) captions += '#';
      captions += kind.caption;
    }
    return captions;
  }();
  return list;
}

int ObjectTableOfKind(int code) {
  const ObjectKind* kind = KindOfCode(code);
  return kind == nullptr || kind->code == kKindNode ? 0 : kind->table;
}

}  // namespace kordavelt
