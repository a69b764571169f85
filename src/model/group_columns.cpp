#include "model/group_columns.h"

#include <array>
#include <cmath>
#include <string_view>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "model/data_texts.h"
#include "refbook/book_categories.h"
#include "refbook/book_dialogs.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "ui/table_owner.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr double kSqrt3 = 1.732051;

// Edit letters of a group row: an "АД" with a type takes its electric data
// from the type, an "СД" with a type all but cos φ; without a type all of
// them are typed in.
constexpr std::string_view kLettersAsyncType = "NTLXZZZZZZZNXLNNNZZ";
constexpr std::string_view kLettersSyncType = "NTLXZZZNZZZNXLNNNZZ";
constexpr std::string_view kLettersNoType = "NTLXNNNNZNNNXLNNNZZ";

bool IsMotorKind(int kind) { return kind == kGroupKindAsync || kind == kGroupKindSync; }

bool HasMotorType(const GroupRec& group) {
  return IsMotorKind(group.Class()) && group.KeyType() > 0;
}

// The names of the columns 4 … 10 a motor type fills in, for the messages.
constexpr std::array<std::string_view, 7> kTypeColumnNames = {"Uном", "Число фаз", "Pном", "CosФ",
                                                              "Iном", "Iпуск",     "CosФп"};
constexpr int kFirstTypeColumn = 4;
constexpr int kColumnNominalCurrent = 8;
constexpr int kColumnReceiverCount = 17;  // Nэп; Nраб follows

// The sign of Q, a load without Q counting as inductive.
double SignOf(double q) { return q < 0 ? -1.0 : 1.0; }

// |P| / |P + jQ| with the sign of Q; 0 for no load.
double SignedPowerFactor(double p, double q) {
  const double s = std::hypot(p, q);
  return s > 0 ? SignOf(q) * std::fabs(p) / s : 0.0;
}

}  // namespace

int MotorTypeTable(int groupKind) {
  if (groupKind == kGroupKindAsync) return book::kAsyncMotorTable;
  if (groupKind == kGroupKindSync) return book::kSynchronousMachineTable;
  return 0;
}

double GroupNominalCurrent(const GroupRec& group) {
  const double unom = group.Unom();
  if (unom <= 0) return 0;
  double current =
      std::hypot(static_cast<double>(group.P()), static_cast<double>(group.Q())) / unom * 1000;
  if (group.Nphase() == 3) current /= kSqrt3;
  return current;
}

double GroupCosPhi(const GroupRec& group) {
  const double p = group.P();
  return p > 0 ? SignedPowerFactor(p, group.Q()) : 0.0;
}

bool GroupColumns::FindMotorType(const GroupRec& group) {
  if (book_ == nullptr || !HasMotorType(group)) return false;
  return book_->FindType(MotorTypeTable(group.Class()), group.KeyType());
}

std::string GroupColumns::Cells(const GroupRec& group) {
  std::string cells = "#" + ListItem(kGroupKindList, group.Class());
  const double p = group.P();
  const double q = group.Q();
  double pnom = p;
  double inom = GroupNominalCurrent(group);
  double cosPhi = GroupCosPhi(group);
  if (HasMotorType(group)) {
    if (!FindMotorType(group)) return cells + "#";
    const int table = MotorTypeTable(group.Class());
    const book::MachineRec motor(book_->CurrentRecord(table));
    cells += "#" + motor.Type();
    pnom = motor.Pnom();
    inom = motor.Unom() > 0 ? std::hypot(p, q) / kSqrt3 / motor.Unom() * 1000 : 0.0;
    cosPhi = group.Class() == kGroupKindAsync ? motor.CosF() : SignedPowerFactor(p, q);
  } else {
    cells += "#";
  }
  cells += AppendNumber(group.Unom());
  cells += AppendNumber(group.Nphase());
  cells += AppendNumber(pnom);
  cells += AppendNumber(cosPhi);
  cells += AppendNumber(inom);
  cells += AppendNumber(group.Istart());
  cells += AppendNumber(group.CosFstart());
  cells += AppendNumber(group.Tstart());
  cells += "#" + ListItem(kCheckMarks, group.SelfStart() != 0 ? 0 : 1);
  cells += "#" + ListItem(kRegimeList, group.Regim());
  cells += AppendNumber(group.Kz());
  cells += AppendNumber(group.Kv());
  cells += AppendNumber(group.Tc());
  cells += AppendNumber(group.ReceiverCount());
  cells += AppendNumber(group.WorkingCount());
  return cells;
}

std::string GroupColumns::EditLetters(const GroupRec& group) {
  if (!HasMotorType(group)) return std::string(kLettersNoType);
  return std::string(group.Class() == kGroupKindAsync ? kLettersAsyncType : kLettersSyncType);
}

bool GroupColumns::ChooseMotorType(GroupRec group) {
  const int kind = group.Class();
  const int table = MotorTypeTable(kind);
  if (book_ == nullptr || table == 0) return false;
  int& lastRow = lastTypeRow_[kind == kGroupKindAsync ? 0 : 1];
  if (!ChooseBookType(*book_, ui_, table, lastRow)) return false;
  tbClass* types = book_->BookTable(table);
  if (types == nullptr) return false;
  group.SetKeyType(types->Key());

  // The group takes the motor's electric data; Kз stays as it was.
  const book::MachineRec motor(book_->CurrentRecord(table));
  double istartFactor = 0;
  double xd2 = 0;
  double r = 0;
  if (kind == kGroupKindAsync) {
    const book::AsyncMotorRec async(book_->CurrentRecord(table));
    istartFactor = async.Istart();
    xd2 = async.Xd2();
    r = static_cast<double>(async.Rs()) + async.Rr();
  } else {
    const book::SynchronousMachineRec sync(book_->CurrentRecord(table));
    istartFactor = sync.Istart();
    xd2 = sync.Xd2();
    r = sync.Rd();
  }
  group.SetUnom(motor.Unom());
  if (motor.Efficiency() > 0) {
    group.SetP(static_cast<float>(static_cast<double>(motor.Pnom()) / motor.Efficiency() * 100));
  }
  const double p = group.P();
  if (motor.CosF() > 0) {
    const double cosF = motor.CosF();
    group.SetQ(static_cast<float>(std::sqrt(1 / (cosF * cosF) - 1) * std::fabs(p)));
  }
  const double unom = group.Unom();
  if (unom > 0) {
    group.SetIstart(static_cast<float>(std::hypot(p, static_cast<double>(group.Q())) / kSqrt3 /
                                       unom * istartFactor * 1000));
  }
  group.SetCosFstart(r > 0 ? static_cast<float>(1 / std::sqrt((xd2 / r) * (xd2 / r) + 1)) : 0.0f);
  group.SetNphase(3);
  if (kind == kGroupKindSync) group.SetSelfStart(0);
  return true;
}

std::string GroupColumns::ReadOnlyReason(const GroupRec& group, int column) {
  if (column >= kColumnReceiverCount) {
    return "Nэп и Nраб программа считает сама:#электроприемники группы и питаемые из них";
  }
  const int named = column - kFirstTypeColumn;
  if (HasMotorType(group) && named >= 0 && named < static_cast<int>(kTypeColumnNames.size())) {
    if (!FindMotorType(group)) {
      return "Тип двигателя группы не найден в справочнике.#Выберите другой тип или снимите его "
             "(\"-\").";
    }
    const book::MachineRec motor(book_->CurrentRecord(MotorTypeTable(group.Class())));
    return std::string(kTypeColumnNames[static_cast<std::size_t>(named)]) +
           " берется из типа двигателя " + motor.Type() +
           " в справочнике.#Выберите другой тип или снимите его (\"-\").";
  }
  if (column == kColumnNominalCurrent) return "Iном рассчитывается по Pном, CosФ и Uном группы";
  return {};
}

bool GroupColumns::Edit(GroupRec group, int column, const TableForm& form) {
  const double v = form.editReal;
  const auto asFloat = [](double x) { return static_cast<float>(x); };
  // An emptied number cell is no value: refused without a word.
  const auto refuse = [&](std::string_view why) {
    if (!form.editText.empty()) ui_.ShowError(form.caption, why);
    return false;
  };
  bool changed = true;
  switch (column) {
    case kGroupColumnName:
      group.SetName(form.editText);
      break;
    case kGroupColumnKind:
      group.SetClass(static_cast<std::uint8_t>(form.editInt));
      if (!IsMotorKind(form.editInt)) {
        group.SetKeyType(0);
        group.SetKeyMech(0);
      }
      break;
    case kGroupColumnType:
      if (!IsMotorKind(group.Class())) {
        ui_.ShowInfo(form.caption, "Тип двигателя выбирается для групп вида АД и СД");
        return false;
      }
      if (form.editText == "-") {
        group.SetKeyType(0);
      } else {
        changed = ChooseMotorType(group);
      }
      break;
    case 4:
      group.SetUnom(asFloat(v));
      break;
    case 5:
      if (form.editInt < 0 || form.editInt > 3) return refuse("Число фаз - от 0 до 3");
      group.SetNphase(static_cast<std::uint8_t>(form.editInt));
      break;
    case 6: {
      // The angle of P + jQ stays.
      const double oldP = group.P();
      if (oldP != 0) group.SetQ(asFloat(group.Q() * v / oldP));
      group.SetP(asFloat(v));
      break;
    }
    case 7:
      if (v == 0 || std::fabs(v) > 1) return refuse("CosФ - от -1 до 1, кроме 0");
      group.SetQ(asFloat(SignOf(v) * std::fabs(group.P()) * std::sqrt(1 / (v * v) - 1)));
      break;
    case 9:
      group.SetIstart(asFloat(v));
      break;
    case 10:
      if (v > 1) return refuse("CosФп не может быть больше 1");
      group.SetCosFstart(asFloat(v));
      break;
    case 11:
      group.SetTstart(asFloat(v));
      break;
    case 12:
      group.SetSelfStart(group.SelfStart() != 0 ? 0 : 1);
      break;
    case 13:
      group.SetRegim(static_cast<std::uint8_t>(form.editInt));
      break;
    case 14:
      group.SetKz(asFloat(v));
      break;
    case 15:
      group.SetKv(asFloat(v));
      break;
    case 16:
      group.SetTc(asFloat(v));
      break;
    default:
      return false;
  }
  if (group.Unom() > 0 && group.Nphase() == 0) group.SetNphase(3);
  return changed;
}

}  // namespace kordavelt
