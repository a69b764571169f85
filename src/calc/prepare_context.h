#pragma once

// What the preparation of element parameters reads: the model (object
// records, receivers, groups, branch states), its reference book and its
// settings. Lookups hand out copies of type records, so that positioning
// another table of the book never changes a record being read.
//
// A context kept over a whole calculation reads each catalogue type once:
// a tree of thousands of elements uses a few dozen types, and every seek in
// the book may cost a page read.

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/complex.h"
#include "calc/vth_class.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_settings.h"

namespace kordavelt {

class sprClass;
class tbClass;

// Class codes by which the design-load rules treat an element.
inline constexpr std::int32_t kClassOrdinary = 10;
inline constexpr std::int32_t kClassHighVoltageLine = 30;
inline constexpr std::int32_t kClassSupply = 150;

// Items of the setting "Температура жил для расчета R,°С".
inline constexpr int kTemperatureAmbient = 0;
inline constexpr int kTemperatureByWorkingCurrent = 1;
inline constexpr int kTemperaturePermissible = 2;

class PrepareContext {
 public:
  explicit PrepareContext(modelClass& model);

  modelClass& Model() { return model_; }
  const ModelSettings& Settings() const { return model_.Settings(); }
  sprClass* Book() { return model_.Book(); }

  // The object record of `kind` for branch `key`, in place (writes go to the
  // table's current record); empty when the kind keeps no objects or the
  // record is missing. ObjectTable gives the table for marking it modified.
  Bytes Object(int kind, std::int32_t key);
  tbClass* ObjectTable(int kind);
  // Writes the object record the last Object call of `kind` found.
  void SaveObject(int kind);

  // A copy of the reference-book record `code` of `table`; empty when the
  // book is not open or has no such type. The book table is left on the type.
  std::vector<std::uint8_t> BookType(int table, std::int32_t code);

  // The same record read once per context: the bytes stay valid while the
  // context lives and do not follow later changes of the book, except those
  // made through them (write the book as well). The book table is positioned
  // only when the type is first read.
  Bytes CachedBookType(int table, std::int32_t code);

  // What a protective characteristic is made of: the book type whose curves
  // it takes and the bit patterns of the stored values (float fields of the
  // object and type records) its settings come from.
  struct CharacteristicKey {
    int table = 0;
    std::int32_t code = 0;
    std::array<std::uint32_t, 5> values{};
    auto operator<=>(const CharacteristicKey&) const = default;
  };
  // The characteristic kept for `key` in this context, nullptr when none is:
  // devices of one type and setting share a single computation.
  const std::optional<vth_class>* KeptCharacteristic(const CharacteristicKey& key) const;
  const std::optional<vth_class>& KeepCharacteristic(const CharacteristicKey& key,
                                                     std::optional<vth_class> characteristic);

 private:
  // Kinds are below this; their object tables are looked up once.
  static constexpr int kKindSlots = 64;

  modelClass& model_;
  std::array<tbClass*, kKindSlots> objectTables_{};
  std::array<bool, kKindSlots> objectTableKnown_{};
  // Type records by table × 2³² + code; an empty record for a missing type.
  std::unordered_map<std::uint64_t, std::vector<std::uint8_t>> bookTypes_;
  std::map<CharacteristicKey, std::optional<vth_class>> characteristics_;
};

// modelClass::SeekExact for a table whose keys are unique, without a search
// when the table stands on the key already: the preparation reads one
// element's records (a receiver's object, receiver and group) from several
// places in turn.
bool StandOn(tbClass* table, std::int32_t key);

// The bit pattern of a stored float, for CharacteristicKey.
std::uint32_t FloatBits(float value);

// Effective current through an element: √((|Ia|² + |Ib|² + |Ic|²)/3), A.
long double RmsCurrent(const ElementRec& e);

// The common start of every non-terminal element: no impedance, no
// permissible current, Kт = 1, class 10, no phase shift, no next element and
// no thermal values. The characteristic is the caller's (it owns it).
void ClearElementParameters(ElementRec& e);

// Rounds half away from zero, as conductor temperatures are taken.
long double RoundToInteger(long double x);

// z ∥ w = z·w / (z + w); zero when the sum vanishes.
Complex Parallel(const Complex& z, const Complex& w);

// (cos θ, sin θ) for θ in degrees.
Complex UnitAt(long double degrees);

}  // namespace kordavelt
