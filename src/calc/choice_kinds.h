#pragma once

// The automatic equipment choice for each object kind: what the kind
// requires of a type, which types form its series, and what else changes in
// the object record with the type. Each function returns true when it gave
// the element's object another type (the object table saved); a missing
// object record or present type leaves everything as it is.

#include <cstdint>
#include <functional>

#include "base/le_bytes.h"
#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

// Cable line (11): thermal-withstand section and the catalogue current for
// its laying, within its brand and number of cores.
bool ChooseCableType(PrepareContext& ctx, const ElementRec& e);
// Insulated wire section (12): the same rules within its name and cores.
bool ChooseWireType(PrepareContext& ctx, const ElementRec& e);
// Overhead line (13): within the name of its wire up to "-".
bool ChooseOverheadWireType(PrepareContext& ctx, const ElementRec& e);

// Circuit breaker (21): rated current and breaking capacity within its series.
bool ChooseBreakerType(PrepareContext& ctx, const ElementRec& e);
// Fuse (22): rated current; the fuse link follows the type.
bool ChooseFuseType(PrepareContext& ctx, const ElementRec& e);
// Power transformer (31): rated current on the side the tree leaves by.
bool ChooseTransformerType(PrepareContext& ctx, const ElementRec& e);
// Busbar trunking (14), relay (23), switch (24), starter (25), stabiliser
// (32), reactor (33), current transformer (34): rated current. False for
// any other kind.
bool ChooseRatedDeviceType(PrepareContext& ctx, const ElementRec& e);

// Gives the object of `kind` on branch `key` the type `code` and lets
// `alsoChange` adjust the rest of its record; saves the object table.
bool StoreChosenType(PrepareContext& ctx, int kind, std::int32_t key, std::int32_t code,
                     const std::function<void(Bytes object)>& alsoChange = {});

}  // namespace kordavelt
