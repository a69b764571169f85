#pragma once

// Element parameters of the protective elements: fuses, circuit breakers
// and protective devices with settings of their own (kinds 22, 21, 20).
// Each sets impedances and Iдоп on a cleared element and returns the
// device's time-current characteristic in kA, none when the device has no
// protective function (or its object or type is missing).

#include <optional>

#include "calc/vth_class.h"
#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

std::optional<vth_class> PrepareFuse(PrepareContext& ctx, ElementRec& e);
std::optional<vth_class> PrepareBreaker(PrepareContext& ctx, ElementRec& e);
std::optional<vth_class> PrepareProtectiveDevice(PrepareContext& ctx, ElementRec& e);

}  // namespace kordavelt
