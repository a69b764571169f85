#include "calc/prepare_source.h"

#include <cmath>

#include "base/constants.h"
#include "calc/prepare_context.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr const char* kCaptionNetwork = "Расчет сети";
constexpr const char* kSourceParametersWrong = "Ошибка в параметрах ИП";

// Loop impedance taken for a source without single-phase current: 30000·E.
constexpr long double kOpenLoopFactor = 30000;

}  // namespace

bool PrepareSource(PrepareContext& ctx, ElementRec& e) {
  ClearElementParameters(e);
  e.classCode = kClassSupply;
  const Bytes object = ctx.Object(kKindPowerSource, BranchKeyOf(e));
  if (object.empty()) return true;
  SourceObjectRec source(object);
  const long double ik3 = source.Ik3();
  if (!(ik3 > 0)) return true;
  const long double ik1 = source.Ik1();

  const long double emf = ctx.Settings().MaxEmf() * static_cast<long double>(e.unom) / kSqrt3;
  const long double z1 = emf / ik3;
  long double ta = source.Ta();
  long double r1 = 0;
  long double x1 = 0;
  if (ta > 0) {
    r1 = z1 / std::sqrt(kOmega * ta * kOmega * ta + 1);
    x1 = r1 * kOmega * ta;
  } else {
    x1 = 0.995L * z1;
    r1 = 0.1L * x1;
    ta = x1 / r1 / kOmega;
    source.SetTa(static_cast<float>(ta));
    ctx.SaveObject(kKindPowerSource);
  }
  const long double loop = ik1 > 0 ? 3 * emf / ik1 : kOpenLoopFactor * emf;
  const long double rLoop = loop / std::sqrt(kOmega * ta * kOmega * ta + 1);
  const long double xLoop = rLoop * kOmega * ta;
  e.z1 = {static_cast<float>(r1), static_cast<float>(x1)};
  e.z0 = {static_cast<float>(rLoop - 2 * r1), static_cast<float>(xLoop - 2 * x1)};
  if (e.z0.re < 0 || e.z0.im < 0) {
    ctx.Model().Ui().ShowError(kCaptionNetwork, kSourceParametersWrong);
    return false;
  }
  return true;
}

}  // namespace kordavelt
