#include "refbook/book_categories.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/dial_list.h"
#include "ui/table_owner.h"

namespace kordavelt {
namespace {

// Per category: table, category, caption, header lines, exchange names,
// selection columns, display and edit letters. The code column ("Код" /
// "изделия") is typed in hexadecimal in some tables and in decimal in others,
// as the catalogue has always been kept; all show it in decimal.
constexpr std::array<BookTableLayout, kCategoryCount> kLayouts = {{
    {2, 1, "Состав присоединения узла",
     " №  #        Тип        # 0 # 1 # 2 # 3 # 4 # 5 # 6 # 7 # 8 # 9 # A # B # C # D # E # F ", "",
     "", 6, "CLLLLLLLLLLLLLLLLLL", "NTXXXXXXXXXXXXXXXXX"},
    {11, 2, "Кабели",
     " №  #Uном#      Тип      #Число# Fфаз # Fнул #Iд(з)#Iд(в)# Rф  # Xф  # Ro  # Xо  #  Bc   #  "
     "Ic  #  Код   ",
     "    #  В #     кабеля    # жил #кв.мм #кв.мм #  А  #  А  #мОм/м#мОм/м#мОм/м#мОм/м#мкСм/км# "
     "A/км # изделия ",
     "NN#Unom#Type#CondCount#CrossCectF#CrossCectN#IpermissEarch#IpermissAir#R1#X1#R0#X0#Bc#Ic#"
     "Code",
     6, "CCLCCCCCCCCCCCC", "NNXNNNNNNNNNNNH"},
    {12, 3, "Провода изолированные",
     " №  #     Марка     #Материал#Число#Сечение#Диаметр# Rо  # Tдоп# Iдоп#   Код   ",
     "    #    провода    #  жилы  # жил # кв.мм #  мм   #мОм/м#град.#  А  # изделия ",
     "NN#Type#CondMat#CondCount#CrossCectF#Diameter#R1#Tpermiss#IpermissAir#Code", 5, "CLCCCCCCCC",
     "NTLNNNNNNN"},
    {13, 4, "Провода голые", " №  #     Марка     #Материал#Сечение#Диаметр# Rо  # Iдоп#   Код   ",
     "    #    провода    # провода# кв.мм #   мм  #мОм/м#  А  # изделия ",
     "NN#Type#CondMat#CrossCectF#Diameter#R1#Ipermiss#Code", 4, "CLCCCCCCCC", "NTLNNNNNHNN"},
    {14, 5, "Шинопроводы комплектные",
     " №  #      Тип      #Uном# Iном # Fном# Rф  # Xф  # Ro  # Xо  #   Код   ",
     "    #               #  В #  A   #кв.мм#мОм/м#мОм/м#мОм/м#мОм/м# изделия ",
     "NN#Type#Unom#Inom#CrossCectF#R1#X1#R0#X0#Ipermiss#Code", 4, "CCCCCCCCCC", "NTNNNNNNNH"},
    {22, 6, "Плавкие предохранители",
     " №  #     Тип      #Uном# Iном #Iоткл#Уставки плавких вставок#ВТХ#   Код   ",
     "    #предохранителя#  В #   А  #  кА #           А           #   # изделия ",
     "NN#Type#Unom#Inom#Iswitch#SettingI#VTH#Code", 6, "CLCCCLDCCCCCC", "NTNNNTXNHNNNNN"},
    {21, 7, "Автоматические выключатели",
     " №  #Серия#      Тип      #Uном# Iном #Iоткл#П#Расцепитель# Rав # Xав #   Код   ",
     "    #     #  выключателя  #  В #   А  #  кА #n#           # мОм # мОм # изделия ",
     "NN#Seria#Type#Unom#Inom#Iswitch#TripType#R1#X1#Code", 8, "CLLCCCLCCCCCC", "NXTNNNNXNNNH"},
    {23, 8, "Реле тока, тепловые и электромагнитные", "  №  #   Тип   #Uном#Inom#R#X#   Код  ", "",
     "NN#Name#Table", 0, "CLCCCCCC", "NTNNNNNN"},
    {24, 9, "Рубильники и разъединители",
     " №  #       Тип       #Uном# Iном#Iдин#Iтерм# Rр #   Код   ",
     "    #    рубильника   #  В #  А  # кА # кА  # мОм# изделия ",
     "NN#Type#Unom#Inom#Idin#Iterm#R1#Code", 4, "CLCCCCCCC", "NTNNNNNHN"},
    {25, 10, "Магнитные пускатели и контакторы",
     " №  # Тип пускового # Uн # Iн  #Pподкл# Rк #   Код   ",
     "    #   аппарата    #  В #  А  #  кВт #мОм # изделия ", "NN#Type#Unom#Inom#Pload#Rk#Code", 5,
     "CLCCCCCCCCCCC", "NTNNNNHNNNNNN"},
    {31, 11, "Силовые трансформаторы",
     " №  #       Тип      # Sном # Uв # Uн # Pх # Pк # Uк # Iх # dK #Np#  Ro  #  Xo  #Группа#   "
     "Код   ",
     "    # трансформатора #  кВА # кВ # кВ # кВт# кВт# %  #  % #  % #  # мOм  # мОм  # соед.# "
     "изделия ",
     "NN#Type#Snom#Uv#Un#Ph#Pk#Ih#Inom#X1#R0#X0#DK#Np#R0#X0#Group#Code", 5, "CLCCCCCCCCCCCCCC",
     "NTNNNNNNNNNNNLN"},
    {32, 12, "Стабилизаторы напряжения", " №  #      Тип      #Uном# Sном #Uстаб# dP #   Код   ",
     "    # стабилизатора #  В # кВА  #  В  # кВт# изделия ", "NN#Type#Unom#Snom#Ustab#DP#Code", 5,
     "CLCCCCC", "NTNNNNH"},
    {33, 13, "Реакторы токоограничивающие",
     " №  #      Тип      #Uном# Iном # Xном # dP  #Iдин#Iтерм#tтерм#   Код   ",
     "    #    реактора   #  В #   А  #  мОм # кВт # кА # кА  #  c  # изделия ",
     "NN#Type#Unom#Inom#Xnom#DP#Idin#Iterm#Tterm#Code", 5, "CLCCCCCCC", "NTNNNNNNNH"},
    {34, 14, "Трансформаторы тока",
     " №  #       Тип      #Uном#Iном#Iном2#Iтерм#Класс#  R  #  X  #   Код   ",
     "    # трансформатора #  В #  А  #  А # кА  #точн.# мОм # мОм # изделия ",
     "NN#Type#Unom#Inom#Inom2#Iterm#Class#R1#X1#Code", 5, "CLCCCCCCCC", "NTNNNNNNNH"},
    {41, 15, "Синхронные машины",
     " №  #     Тип     #Uном#Pном#CosФн#  n   #КПД#Iп/Iн#Мп/Мн#Мм/Мн# Rd # Xd # Xd'# Xd\""
     "# T_a #  Jрот #   Код   ",
     "    #  двигателя  #  В # кВт#     #об/мин# % #     #     #     #о.е.#о.е.#о.е. #о.е.#  c  "
     "#кг*кв.м# изделия ",
     "NN#Type#Unom#Pnom#CosF#Speed#Efficiency#Istart#Mstart#Mmax#Rd#Xd#Xd1#Xd2#Ta#Jrotor#Code", 0,
     "CLCCCCCCCCCCCCCCCC", "NTNNNNNNNNNNNNNNHN"},
    {42, 16, "Асинхронные двигатели",
     " №  #     Тип     #Uном#Pном#CosФн#  n   #sном#КПД#Iп/Iн#Мп/Мн#Мм/Мн#  Rс  #  Rр  #  X\"  "
     "#  Tа  #  Tp  #  Jрот #   Код   ",
     "    #  двигателя  #  В # кВт#     #об/мин#  % # % #     #     #     # о.е  # о.е  # о.е  #   "
     "с  #   с  #кг*кв.м# изделия ",
     "NN#Type#Unom#Pnom#CosF#Speed#Snom#Efficiency#Istart#Mstart#Mmax#Rs#Rr#Xd2#Ta#Tr#Jrotor#Code",
     6, "CLCCCCCCCCCCCCCCCCCC", "NTNNNNNNNNNNNNNNNHNN"},
    {50, 17, "Генераторы",
     " №  #     Тип    #Uном#Pном#CosФн#  n   #КПД# Rd # Xd # Xd'# Xd\""
     "# T_a #  Jрот #   Код   ",
     "    # генератора #  В # кВт#     #об/мин# % #о.е.#о.е.#о.е. #о.е.#  c  #кг*кв.м# изделия ",
     "NN#Type#Unom#Pnom#CosF#Speed#Efficiency#Rd#Xd#Xd1#Xd2#Ta#Jrotor#Code", 0,
     "CLCCCCCCCCCCCCCCCC", "NTNNNNNNNNNNNNNNHN"},
    {43, 18, "Батареи конденсаторов", " №  #      Тип      # Uном # Qном # Сном # dP  #   Код   ",
     "    #    батареи    #  В   # квар # мкФ  # кВт # изделия ", "NN#Type#Unom#Qnom#Cnom#DP#Code",
     4, "CLCCCCCCCCC", "NTNNNNHNNNN"},
    {91, 19, "Расцепители автоматических выключателей",
     " № #Серия#      Тип      #   Iном   #Уставки Ir защиты#*#Уст.tr защиты# Уставка Im #*#Imax# "
     "Уставка tm # Уст.Imo #*#ВТХ#Ошиб-#Защита#   Код   ",
     "   #выкл.#  расцепителя  #    А     #  от перегрузки  # #от перегрузки#защиты от КЗ# "
     "#Bt=c#защиты от КЗ# отсечки # #   #ка, %#от1фКЗ# изделия ",
     "NN#Seria#Type#Inom#SettingIr#SettingTr#SettingIm#SettingTm#SettingIc#VTH#Error#Code", 7,
     "CLLCRLCRLCCRLDCCCC", "XXTTTLTTLNTTLXNXNH"},
    {92, 20, "Механизмы",
     " №  #     Тип     #Вид#     Тип     # Pном #   n  #  Mо # Jмех  # Pо  # nотк "
     "#Характеристика#   Код   ",
     "    #  механизма  #ЭД #  двигателя  #  кВт #об/мин# н*м #кг*кв.м# кВт #об/мин# момента "
     "сопр.#  изделия ",
     "NN#MechType#Class#MotorType#Nnom#Speed#M0#Jmech#Un#N0#SpeedOtkl#Speed_M_Chart#Code", 0,
     "CLCLCCCCCCCC", "NTLXNNNNNNLH"},
    {93, 21, "Марки кабелей",
     " №  #      Тип      #Материал#Материал#Материал#Броня# Тдоп # Ттерм # Твозг #   Код   ",
     "    #     кабеля    #  жилы  #изоляции#оболочки#     # град.# град. # град. # изделия ",
     "NN#Type#CondMat#Sheath#Armor#Tpermiss#Tterm#Tignit#Code", 0, "CLCCCCCCCC", "NTLLLLNNNH"},
}};

constexpr std::string_view kCategoryCaptions =
    "Присоединения#Кабели#Провода изолированные#Провода голые#Шинопроводы#Предохранители#"
    "Автоматические выключатели#Реле токовые#Рубильники#Пускатели и контакторы#Трансформаторы#"
    "Стабилизаторы#Реакторы#Трансформаторы тока#Синхронные моторы#Асинхронные моторы#Генераторы#"
    "Батареи конденсаторов#Расцепители автоматов#Механизмы#Марки кабелей";

constexpr std::string_view kSectionNames =
    "SNode#SPriz#SProv#SShin#SPred#SAvt#SAvtS#SRub#SPusk#STrans#SStab#SReakt#STT#SSM#SAM#SGen#"
    "SBK#VTH#SMech#SMarka_kab";

// The list above names 20 sections for 21 categories and leaves the cable
// brands without one, so their export could never be read back (and cables
// imported into another book would lose their brands). This name is ours.
constexpr std::string_view kCableBrandSection = "SMarka";

// Power source, abstract branch, lines, trunking, protection and switching,
// transformers and the rest, receivers last.
constexpr std::array<int, 22> kSlotKinds = {51, 3,  11, 12, 13, 14, 15, 22, 21, 20, 23,
                                            24, 25, 31, 32, 33, 34, 43, 50, 52, 45, 46};

}  // namespace

std::span<const BookTableLayout> BookTableLayouts() { return kLayouts; }

const BookTableLayout* BookLayoutOfTable(int table) {
  for (const BookTableLayout& layout : kLayouts) {
    if (layout.table == table) return &layout;
  }
  return nullptr;
}

const BookTableLayout* BookLayoutOfCategory(int category) {
  if (category < 1 || category > kCategoryCount) return nullptr;
  return &kLayouts[category - 1];
}

std::string_view BookCategoryCaptions() { return kCategoryCaptions; }

std::string_view BookSectionNames() { return kSectionNames; }

std::string_view BookSectionOfCategory(int category) {
  if (category < 1 || category > kCategoryCount) return {};
  if (category == kCategoryCount) return kCableBrandSection;
  std::string_view rest = kSectionNames;
  for (int i = 1; i < category; ++i) {
    const std::size_t hash = rest.find('#');
    if (hash == std::string_view::npos) return {};
    rest.remove_prefix(hash + 1);
  }
  return rest.substr(0, rest.find('#'));
}

int BookCategoryOfSection(std::string_view name) {
  if (name.empty()) return 0;
  for (int category = 1; category <= kCategoryCount; ++category) {
    if (BookSectionOfCategory(category) == name) return category;
  }
  return 0;
}

std::string BookFieldNames(const BookTableLayout& layout) {
  const int columns = std::min(ListCount(layout.head1), kMaxTableColumns);
  std::vector<std::string> names;
  for (int c = 0; c < columns; ++c) {
    std::string name = ListItem(layout.exchangeNames, c);
    // A column the list leaves unnamed, or names as an earlier one, would
    // lose its values in XML; it takes the table window's name fc+1.
    if (name.empty() || std::find(names.begin(), names.end(), name) != names.end()) {
      name = "f" + std::to_string(c + 1);
    }
    names.push_back(std::move(name));
  }
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : "#") + name;
  return list;
}

std::span<const int> TemplateSlotKinds() { return kSlotKinds; }

}  // namespace kordavelt
