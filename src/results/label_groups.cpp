#include "results/label_groups.h"

#include <array>

#include "model/model_settings.h"

namespace kordavelt {
namespace {

constexpr std::array<std::string_view, kLabelGroupCount> kCaptions = {
    "Номера узлов",
    "Обозначения (маркировки)",
    "Наименования",
    "Типы",
    "Параметры",
    "Координаты размещения",
    "Расчетные токи",
    "Расчетные напряжения",
    "Отклонения расчетных напряжений",
    "Пусковые токи",
    "Напряжения при пусках",
    "Отклонения напряжений при пусках",
    "Минимальные токи КЗ (Iк1/Iк2/Iк3)",
    "Времена отключения минимальных ТКЗ",
    "Максимальные токи КЗ (I\")",
    "Ударные токи КЗ",
    "Токи и напряжения самозапуска",
    "Времена отключения защит",
    "Температуры жил при отключении ТКЗ",
    "Нарушенные условия работы",
    "Интеграл Джоуля при отключении КЗ",
    "Эквивалентные односекундные токи",
    "Коэффициенты загрузки",
    "Потоки мощности",
    "Потери мощности",
    "Токи по фазам",
    "Фазные напряжения",
    "Линейные напряжения",
    "Симметричные составляющие напряжений",
    "Сопротивления ветвей",
    "ЭДС подпитки АД и СД",
    "Состав тока КЗ (Система/АД/СД)",
};

}  // namespace

std::string_view LabelGroupCaption(int group) {
  if (group < 0 || group >= kLabelGroupCount) return {};
  return kCaptions[static_cast<std::size_t>(group)];
}

LabelGroups SchemeGroups(const ModelSettings& settings) {
  return LabelGroups(static_cast<std::uint32_t>(settings.SchemeParameterGroups()));
}

LabelGroups TableGroups(const ModelSettings& settings) {
  return LabelGroups(static_cast<std::uint32_t>(settings.TableParameterGroups()));
}

}  // namespace kordavelt
