#include "results/calculated_records.h"

#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"

namespace kordavelt {

bool SourceCalculated(modelClass& model, int source) {
  return source > 0 && modelClass::SeekExact(model.Sources(), source) &&
         SourceRec(model.Sources()->Record()).Calculated() != 0;
}

const ElementRec* BranchRecord(modelClass& model, std::int32_t key) {
  if (!modelClass::SeekExact(model.Branches(), key)) return nullptr;
  const int record = model.Branches()->RecordNumber();
  if (!model.HasElement(record)) return nullptr;
  const ElementRec* element = model.Element(record);
  // A record the calculation never reached (or one left from before the
  // branch moved) does not name the branch.
  return BranchKeyOf(*element) == key ? element : nullptr;
}

const ElementRec* CurrentBranchRecord(modelClass& model, std::int32_t key) {
  const ElementRec* element = BranchRecord(model, key);
  if (element == nullptr) return nullptr;
  return SourceCalculated(model, model.FeedingSourceOfNode(NodeOfKey(key))) ? element : nullptr;
}

const ElementRec* CurrentFeederRecord(modelClass& model, int node) {
  if (!modelClass::SeekExact(model.Nodes(), node)) return nullptr;
  const int nodeRecord = model.Nodes()->RecordNumber();
  const int source = model.FeedingSource(nodeRecord);
  const int feeder = model.NodeFeeder(nodeRecord);
  if (source == 0 || feeder == 0 || !model.HasElement(feeder)) return nullptr;
  return SourceCalculated(model, source) ? model.Element(feeder) : nullptr;
}

}  // namespace kordavelt
