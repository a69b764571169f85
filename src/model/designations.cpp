#include "model/designations.h"

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"

namespace kordavelt {

std::string MarkingText(modelClass& model, std::int32_t code) {
  tbClass* markings = model.Markings();
  if (!modelClass::SeekExact(markings, code)) return {};
  return MarkingRec(markings->Record()).Text();
}

std::string NodeDesignation(modelClass& model, int node) {
  std::string text = MarkingText(model, NodeMarkingCode(node));
  return text.empty() ? MissingMarkingText(NodeMarkingCode(node)) : text;
}

std::string BranchDesignation(modelClass& model, std::int32_t key) {
  std::string text = MarkingText(model, key);
  return text.empty() ? MissingMarkingText(key) : text;
}

}  // namespace kordavelt
