#include "results/source_loads_table.h"

#include <cmath>
#include <string>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "model/data_texts.h"
#include "model/group_columns.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/source_loads.h"
#include "model/source_numbers.h"
#include "refbook/book_records.h"
#include "refbook/spr_class.h"
#include "results/network_names.h"

namespace kordavelt {
namespace {

// The efficiency of a group's motor type, %; "-" without one.
std::string EfficiencyCell(sprClass* book, const GroupRec& group) {
  const int table = MotorTypeTable(group.Class());
  if (book == nullptr || table == 0 || group.KeyType() <= 0 ||
      !book->FindType(table, group.KeyType())) {
    return Dashes(1);
  }
  return NumberCell(book::MachineRec(book->CurrentRecord(table)).Efficiency());
}

std::string CountCell(int count) { return count > 0 ? NumberCell(count) : Cell(""); }

}  // namespace

bool SourceLoadsTable::Build(TableForm& form) {
  modelClass& model = Model();
  sources_ = SourceNumbers(model);
  if (static_cast<int>(sources_.size()) > kMaxSources) {
    ShowMessage(kCaption, "Число источников более 32 !");
    return false;
  }
  ComputeSourceLoads(model, model.Settings());
  switch (static_cast<LoadMethod>(model.Settings().LoadMethod())) {
    case LoadMethod::DemandFactor:
      variant_ = Variant::DemandFactor;
      break;
    case LoadMethod::DesignFactor:
      variant_ = Variant::DesignFactor;
      break;
    default:
      variant_ = Variant::LoadFactor;
      break;
  }
  SetLayout(form);
  ReadGroups();
  for (const GroupRow& row : groups_) AddGroupRow(row);
  AddSummaryRows();
  return true;
}

void SourceLoadsTable::SetLayout(TableForm& form) {
  form.caption = kCaption;
  form.name = "Loads";
  switch (variant_) {
    case Variant::LoadFactor:
      form.title = "Расчет нагрузок источников питания#по коэффициентам загрузки";
      form.head1 = " № #Наименование#Рном#CosФ#КПД# Pp # Qр # Kз # N ";
      form.head2 = "   #            # кВт#    # % #кВт #квар#    #   ";
      break;
    case Variant::DemandFactor:
      form.title = "Расчет нагрузок источников питания#методом ТЭП";
      form.head1 = " № #Наименование#Рном#CosФ#КПД# Pp # Qр #Режим#Kр# N ";
      form.head2 = "   #            # кВт#    # % #кВт #квар#     #  #   ";
      break;
    case Variant::DesignFactor:
      form.title = "Расчет нагрузок методом#коэффициента расчетной мощности";
      form.head1 = " № #Наименование# Рном #CosФ#КПД# Pp # Qр #Kи# N ";
      form.head2 = "   #            #(уст.)#    # % #кВт #квар#  #   ";
      break;
  }
  tbClass* sources = Model().Sources();
  for (const int source : sources_) {
    form.head1 += "#" + FormatNumber(source);
    form.head2 += "#";
    if (modelClass::SeekExact(sources, source))
      form.head2 += SourceRec(sources->Record()).Marking();
  }
  form.displayCodes = "CL" + std::string(kMaxTableColumns - 3, 'C');
}

void SourceLoadsTable::ReadGroups() {
  modelClass& model = Model();
  groups_.clear();
  sums_.assign(sources_.size(), SourceSums{});
  tbClass* groups = model.Groups();
  tbClass* receivers = model.Receivers();
  if (groups == nullptr || receivers == nullptr) return;
  groups->GoTo(0);
  while (groups->Next()) {
    groups_.push_back(
        {groups->Key(), GroupRec(groups->Record()).P(), std::vector<int>(sources_.size(), 0), 0});
  }
  // The column of each source number.
  std::vector<int> column(kMaxSourceNumber + 1, -1);
  for (std::size_t c = 0; c < sources_.size(); ++c) {
    if (sources_[c] >= 1 && sources_[c] <= kMaxSourceNumber)
      column[sources_[c]] = static_cast<int>(c);
  }
  receivers->GoTo(0);
  while (receivers->Next()) {
    const int source = ReceiverRec(receivers->Record()).SourceNumber();
    const int c = column[source];
    if (c < 0) continue;
    const std::int32_t group = GroupOfKey(receivers->Key());
    for (GroupRow& row : groups_) {
      if (row.key != group) continue;
      ++row.fedBy[c];
      ++row.fed;
      if (modelClass::SeekExact(groups, group)) {
        const GroupRec record(groups->Record());
        const double p = record.P();
        sums_[c].p += p;
        sums_[c].p2 += p * p;
        sums_[c].kp += UsageFactor(record) * p;
      }
      break;
    }
  }
  // Decreasing active power, by the diminishing-gap exchange sort of the
  // program's lists.
  const std::size_t n = groups_.size();
  for (std::size_t gap = n / 2; gap > 0; gap /= 2) {
    for (std::size_t i = gap; i < n; ++i) {
      for (std::size_t j = i; j >= gap && groups_[j - gap].p < groups_[j].p; j -= gap) {
        std::swap(groups_[j - gap], groups_[j]);
      }
    }
  }
}

void SourceLoadsTable::AddGroupRow(const GroupRow& row) {
  tbClass* groups = Model().Groups();
  if (!modelClass::SeekExact(groups, row.key)) return;
  const GroupRec group(groups->Record());
  const double k = variant_ == Variant::DemandFactor ? DemandFactor(group) : UsageFactor(group);
  std::string line = FormatNumber(row.key) + Cell(group.Name()) + NumberCell(group.P()) +
                     NumberCell(GroupCosPhi(group));
  line += EfficiencyCell(Model().Book(), group);
  line += NumberCell(k * group.P() * row.fed) + NumberCell(k * group.Q() * row.fed);
  switch (variant_) {
    case Variant::LoadFactor:
      line += NumberCell(group.Kz());
      break;
    case Variant::DemandFactor:
      line += Cell(ListItem(kRegimeList, group.Regim())) + NumberCell(k);
      break;
    case Variant::DesignFactor:
      line += NumberCell(k);
      break;
  }
  line += NumberCell(row.fed);
  for (const int count : row.fedBy) line += CountCell(count);
  AddRow(std::move(line));
}

void SourceLoadsTable::AddSummaryRows() {
  const std::string gap = Blanks(variant_ == Variant::DemandFactor ? 8 : 7);
  if (variant_ == Variant::DesignFactor) {
    std::string ne = "#Nэф" + gap;
    std::string ki = "#Kи" + gap;
    std::string kr = "#Kр" + gap;
    for (const SourceSums& sum : sums_) {
      if (!(sum.p > 0)) {
        ne += Cell("");
        ki += Cell("");
        kr += Cell("");
        continue;
      }
      const double n = sum.p * sum.p / sum.p2;
      const double u = sum.kp / sum.p;
      ne += NumberCell(n);
      ki += NumberCell(u);
      kr += NumberCell(DesignCoefficient(n, u));
    }
    AddRow(std::move(ne));
    AddRow(std::move(ki));
    AddRow(std::move(kr));
  }
  std::string s = "#Sр(кВА)" + gap;
  std::string p = "#Pр(кВт)" + gap;
  std::string q = "#Qр(квар)" + gap;
  tbClass* sources = Model().Sources();
  for (const int source : sources_) {
    double pr = 0;
    double qr = 0;
    if (modelClass::SeekExact(sources, source)) {
      const SourceRec record(sources->Record());
      pr = record.DesignP();
      qr = record.DesignQ();
    }
    s += NumberCell(std::hypot(pr, qr));
    p += NumberCell(pr);
    q += NumberCell(qr);
  }
  AddRow(std::move(s));
  AddRow(std::move(p));
  AddRow(std::move(q));
}

}  // namespace kordavelt
