// modelClass: which source feeds which node and receiver in the current
// regime, and the refresh of the views after topology changes.

#include <algorithm>
#include <vector>

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"

namespace kordavelt {
namespace {

// One branch end met at a node during the walk.
struct Met {
  std::int32_t branch;  // the branch key
  bool fromStart;       // met by its start (else by its far end)
};

}  // namespace

void modelClass::AssignFeedingSources() {
  std::fill(feedingSources_.begin(), feedingSources_.end(), 0);
  if (!usable_) return;
  tbClass* sources = Sources();
  if (sources->Count() == 0) return;
  FarEndsQuiet quiet(*this);

  // Written only where the value changes, so that a look at the network
  // does not make an unchanged model ask to be saved.
  tbClass* groups = Groups();
  for (int n = 1; n <= groups->Count(); ++n) {
    groups->GoTo(n);
    if (groups->Status() != kStatusOk) break;
    GroupRec group(groups->Record());
    if (group.WorkingCount() == 0) continue;
    group.SetWorkingCount(0);
    groups->MarkModifiedAndFlush();
  }
  tbClass* receivers = Receivers();
  for (int n = 1; n <= receivers->Count(); ++n) {
    receivers->GoTo(n);
    if (receivers->Status() != kStatusOk) break;
    ReceiverRec receiver(receivers->Record());
    if (receiver.SourceNumber() == 0) continue;
    receiver.SetSourceNumber(0);
    receivers->MarkModifiedAndFlush();
  }

  tbClass* nodes = Nodes();
  tbClass* branches = Branches();
  tbClass* farEnds = FarEnds();
  tbClass* receiverObjects = OpenObjectTable(kKindReceiver);
  const std::uint16_t bit = static_cast<std::uint16_t>(1u << regime_);
  const auto nodeRecord = [&](int node) {
    return SeekExact(nodes, node) ? static_cast<int>(nodes->RecordNumber()) : 0;
  };

  const std::int32_t lastSource = std::min<std::int32_t>(sources->LastKey(), kMaxSourceNumber);
  for (int j = 1; j <= lastSource; ++j) {
    if (!SeekExact(sources, j)) continue;
    const std::int32_t own = SourceRec(sources->Record()).BranchKey();
    if (own == 0) continue;
    if (!SeekExact(branches, own)) {
      // The source's branch is gone: the source is no longer placed.
      SeekExact(sources, j);
      SourceRec(sources->Record()).SetBranchKey(0);
      sources->MarkModifiedAndFlush();
      continue;
    }
    if ((BranchRec(branches->Record()).Status() & bit) == 0) continue;
    const int start = NodeOfKey(own);
    const int startRecord = nodeRecord(start);
    if (startRecord == 0) continue;
    // A node keeps the lowest-numbered source that reached it first.
    if (feedingSources_[startRecord] == 0)
      feedingSources_[startRecord] = static_cast<std::uint8_t>(j);

    // Each cursor is a node and the branch by which the walk entered it.
    std::vector<std::pair<int, std::int32_t>> stack{{start, own}};
    std::vector<Met> met;
    while (!stack.empty()) {
      const auto [node, entered] = stack.back();
      stack.pop_back();
      met.clear();
      branches->Seek(BranchKey(node, 1));
      while (branches->Status() == kStatusOk || branches->Status() == kStatusGreater) {
        if (branches->Record().empty() || NodeOfKey(branches->Key()) != node) break;
        met.push_back({branches->Key(), true});
        if (!branches->Next()) break;
      }
      farEnds->Seek(BranchKey(node, 0));
      while (farEnds->Status() == kStatusOk || farEnds->Status() == kStatusGreater) {
        if (farEnds->Record().empty() || NodeOfKey(farEnds->Key()) != node) break;
        met.push_back({FarEndRec(farEnds->Record()).BranchKey(), false});
        if (!farEnds->Next()) break;
      }

      for (const Met& end : met) {
        if (!SeekExact(branches, end.branch)) continue;
        const BranchRec branch(branches->Record());
        const int kind = branch.Kind();
        if (end.branch == entered && kind != kKindReceiver) continue;
        if ((branch.Status() & bit) == 0) continue;
        const std::int32_t keyEnd = branch.KeyEnd();
        if (kind == kKindReceiver && SeekExact(receiverObjects, end.branch)) {
          const std::int32_t key = ReceiverObjectRec(receiverObjects->Record()).ReceiverKey();
          if (key > 0 && SeekExact(receivers, key)) {
            ReceiverRec(receivers->Record()).SetSourceNumber(static_cast<std::uint8_t>(j));
            receivers->MarkModifiedAndFlush();
            if (SeekExact(groups, GroupOfKey(key))) {
              GroupRec group(groups->Record());
              group.SetWorkingCount(static_cast<std::uint16_t>(group.WorkingCount() + 1));
              groups->MarkModifiedAndFlush();
            }
          }
        }
        // Branches without a far node lead nowhere.
        if (keyEnd == 0) continue;
        const int other = end.fromStart ? NodeOfKey(keyEnd) : NodeOfKey(end.branch);
        const int record = nodeRecord(other);
        if (record == 0 || feedingSources_[record] != 0) continue;
        feedingSources_[record] = static_cast<std::uint8_t>(j);
        if (stack.size() < static_cast<std::size_t>(kMaxRecords) + 1) {
          stack.emplace_back(other, end.branch);
        }
      }
    }
  }
}

// Each view decides from the sender and the depth what it redraws: the
// scheme and the object window skip a refresh they asked for themselves,
// the chart repaints when it is visible.
void modelClass::Refresh(RefreshSender sender, int depth) {
  if (refreshSuppression_ > 0) return;
  if (depth > 1) AssignFeedingSources();
  Notify({.kind = ModelEventKind::Refresh, .sender = sender, .depth = depth});
}

}  // namespace kordavelt
