// The calculation driver: the full calculation, the calculation with the
// automatic choice, automatic recalculation after an edit, and the pipeline
// of one source.

#include "calc/calc_class.h"

#include "calc/equipment_choice.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "model/source_numbers.h"
#include "ui/ui_host.h"

namespace kordavelt {

namespace {

constexpr float kMinEmfSetting = 0.5f;
constexpr float kMaxEmfSetting = 2.0f;

bool EmfInRange(float value) { return value >= kMinEmfSetting && value <= kMaxEmfSetting; }

}  // namespace

CalcClass::CalcClass(modelClass& model)
    : model_(model), tree_(kTreeCapacity + 1), visited_(modelClass::kMaxRecords + 1, 0) {}

void CalcClass::ShowProtocol() { model_.ShowStatus(protocol_); }

int CalcClass::ViolationCount() {
  int count = 0;
  for (const int source : SourceNumbers(model_)) {
    if (source >= 1 && source <= kMaxSourceNumber &&
        modelClass::SeekExact(model_.Sources(), source) &&
        SourceRec(model_.Sources()->Record()).Calculated() != 0) {
      count += violationsBySource_[source];
    }
  }
  return count;
}

void CalcClass::ShowViolationCount() {
  const int count = ViolationCount();
  if (count == 0) return;
  protocol_ += "Нарушений: " + std::to_string(count);
  ShowProtocol();
}

void CalcClass::ResetElementResults(ElementRec& element) {
  element.violations = 0;
  element.phaseSet = 0;
  element.checkCurrent = 0;
  element.checkCompanion = 0;
  element.ikMax = 0;
  element.iPeak = 0;
  element.iBreak = 0;
  element.joule = {};
  // Times, temperatures and the maximum currents along a line keep their
  // largest value over a multi-variant run; without clearing them here a
  // faster setting would never show a shorter time in the next run.
  element.ikd = 0;
  element.ikMaxAlong = {};
  element.tkMin = {};
  element.tProtect = {};
  element.tempProtect = {};
  element.uWork = kNotComputed;
  element.uStart = kNotComputed;
  element.ikMin = {kNotComputed, kNotComputed, kNotComputed};
}

void CalcClass::ResetAllElements() {
  for (int record = 1; record <= modelClass::kMaxRecords; ++record) {
    if (model_.HasElement(record)) ResetElementResults(*model_.Element(record));
  }
}

void CalcClass::RefreshViews(RefreshSender sender) { model_.Refresh(sender, 1); }

// --- The full calculation ----------------------------------------------------------------

bool CalcClass::EmfSettingsValid() {
  const ModelSettings& settings = model_.Settings();
  if (EmfInRange(settings.MaxEmf()) && EmfInRange(settings.MinEmf())) return true;
  protocol_ = "Не заданы ЭДС ИП";
  model_.Ui().ShowError(kCaptionNetwork, protocol_);
  ShowProtocol();
  return false;
}

void CalcClass::CalcNetwork(RefreshSender sender) { RunNetwork(false, sender); }

void CalcClass::CalcNetworkWithChoice(RefreshSender sender) {
  if (!model_.Settings().AutoChoice()) return;
  RunNetwork(true, sender);
}

bool CalcClass::CalcAllSources(bool withChoice, bool stopAtFailure) {
  // The keys first: CalcSource moves the source table.
  for (const int number : SourceNumbers(model_)) {
    const bool done = CalcSource(number);
    if (done && withChoice) ChooseEquipmentOfTree(*this);
    if (!done && stopAtFailure) return false;
  }
  return true;
}

void CalcClass::RunNetwork(bool withChoice, RefreshSender sender) {
  if (!model_.Usable() || model_.Book() == nullptr) return;
  invalid_ = true;
  if (!EmfSettingsValid()) return;
  protocol_ = "Расчет ";
  // Every source of the run traces the connections read here; nothing in a
  // calculation changes them but the nodes' voltage levels, which the trace
  // writes through.
  topology_.Build(model_);
  topologyHeld_ = true;
  struct Release {
    bool& held;
    ~Release() { held = false; }
  } release{topologyHeld_};

  if (!model_.Settings().MultiVariant()) {
    model_.AssignFeedingSources();
    CalcAllSources(withChoice, false);
  } else {
    // Regimes are calculated over one another: each step keeps the worse
    // of its value and the one a previous regime left.
    ResetAllElements();
    bool anyNamed = false;
    for (int regime = modelClass::kRegimeCount - 1; regime >= 0; --regime) {
      if (model_.RegimeName(regime).empty()) continue;
      anyNamed = true;
      protocol_ += "Режим " + std::to_string(regime + 1) + ":";
      model_.SetRegime(regime);
      model_.AssignFeedingSources();
      CalcAllSources(withChoice, withChoice);
    }
    if (!anyNamed) {
      protocol_ += "Нет поименованных режимов";
      ShowProtocol();
    }
  }
  ShowViolationCount();
  RefreshViews(sender);
}

void CalcClass::AutoCalc(int table, std::int32_t rowKey, RefreshSender sender) {
  if (!model_.Usable()) return;
  if (model_.Settings().AutoCalc() && !invalid_) {
    protocol_ = "Авторасчет: ";
    const int node = table == 2 ? rowKey : NodeOfKey(rowKey);
    CalcSource(model_.FeedingSourceOfNode(node));
    ShowViolationCount();
    invalid_ = false;
  } else {
    invalid_ = true;
  }
  RefreshViews(sender);
}

// --- One source ----------------------------------------------------------------------------

bool CalcClass::CalcSource(int source) {
  const bool done = CalcSourceSteps(source);
  ShowProtocol();
  return done;
}

bool CalcClass::CalcSourceSteps(int source) {
  if (source >= 1 && source <= kMaxSourceNumber) violationsBySource_[source] = 0;
  // 1. The tree.
  if (!TraceTree(source)) return false;

  // 2. Its results no longer hold.
  tbClass* sources = model_.Sources();
  if (modelClass::SeekExact(sources, source)) {
    SourceRec(sources->Record()).SetCalculated(0);
    sources->MarkModifiedAndFlush();
  }

  // 3. Nothing hangs on the source.
  if (count_ < 2) {
    protocol_ += "нет присоединений к ИП № " + std::to_string(source) + "; ";
    return false;
  }

  // 4. The busbar short-circuit current is needed by every later step.
  float ik3 = 0;
  if (tbClass* objects = model_.OpenObjectTable(kKindPowerSource);
      modelClass::SeekExact(objects, sourceBranch_)) {
    ik3 = SourceObjectRec(objects->Record()).Ik3();
  }
  if (!(ik3 != 0)) {
    model_.Ui().ShowError(kCaptionNotDoneBang, "Не заданы значения тока КЗ на шинах#ИП № " +
                                                   std::to_string(source) + "(" + sourceName_ +
                                                   ")");
    if (model_.OnSelectSchemeBranch) model_.OnSelectSchemeBranch(sourceBranch_);
    if (OnLocateSource) OnLocateSource(sourceBranch_);
    return false;
  }

  // 5.
  invalid_ = false;
  protocol_ += "ИП" + std::to_string(source) + "; ";

  // 6. Multi-variant runs keep what earlier regimes left.
  if (!model_.Settings().MultiVariant()) {
    for (int i = 1; i <= count_; ++i) ResetElementResults(Element(i));
  }

  // 7 … 17.
  if (!RunStages(*this, lastStage_, storage_)) return false;
  for (int i = 1; i <= count_; ++i) {
    if (Element(i).violations != 0) ++violationsBySource_[source];
  }

  // 18.
  AssignEndNodes();

  // 19.
  if (modelClass::SeekExact(sources, source)) {
    SourceRec(sources->Record()).SetCalculated(1);
    sources->MarkModifiedAndFlush();
  }
  return true;
}

}  // namespace kordavelt
