#include "model/topology_invariants.h"

#include <utility>

#include "base/invariant.h"
#include "model/model_class.h"
#include "model/model_records.h"

namespace kordavelt {
namespace {

// Keeps a table's views out of a check: its position hook is silenced while
// the check seeks, and the table is put back on the record it stood on.
class PositionKept {
 public:
  explicit PositionKept(tbClass* table) : table_(table) {
    if (table_ == nullptr) return;
    key_ = table_->Key();
    hook_ = std::move(table_->OnPosition);
    table_->OnPosition = nullptr;
  }
  ~PositionKept() {
    if (table_ == nullptr) return;
    if (key_ != 0) table_->Seek(key_);
    table_->OnPosition = std::move(hook_);
  }
  PositionKept(const PositionKept&) = delete;
  PositionKept& operator=(const PositionKept&) = delete;

 private:
  tbClass* table_;
  std::int32_t key_ = 0;
  tbClass::PositionHook hook_;
};

}  // namespace

void ExpectFarEndTied(modelClass& model, std::int32_t branchKey) {
#ifdef KORDAVELT_CHECK_INVARIANTS
  const PositionKept branches(model.Branches());
  const PositionKept farEnds(model.FarEnds());
  KORDAVELT_INVARIANT(modelClass::SeekExact(model.Branches(), branchKey),
                      "a branch given a far end exists");
  const std::int32_t end = BranchRec(model.Branches()->Record()).KeyEnd();
  KORDAVELT_INVARIANT(end != 0, "a branch given a far end names it");
  KORDAVELT_INVARIANT(modelClass::SeekExact(model.FarEnds(), end) &&
                          FarEndRec(model.FarEnds()->Record()).BranchKey() == branchKey,
                      "the far-end record of a branch holds the branch");
#else
  static_cast<void>(model);
  static_cast<void>(branchKey);
#endif
}

void ExpectSlotFree(modelClass& model, std::int32_t slotKey) {
#ifdef KORDAVELT_CHECK_INVARIANTS
  const PositionKept branches(model.Branches());
  const PositionKept farEnds(model.FarEnds());
  KORDAVELT_INVARIANT(!modelClass::SeekExact(model.Branches(), slotKey) &&
                          !modelClass::SeekExact(model.FarEnds(), slotKey),
                      "a free slot is used by no branch and no far end");
#else
  static_cast<void>(model);
  static_cast<void>(slotKey);
#endif
}

}  // namespace kordavelt
