#pragma once

// What changed in the network model, told to every view that shows it. The
// session (and through it the main window), the scheme, the object tables,
// the chart, the result windows and the command line's status line each
// subscribe to the one modelClass and hear the same events in the same
// order; the model knows nothing of who listens.
//
//   class SchemeView : public ModelListener {
//     void OnModelEvent(const ModelEvent& event) override {
//       if (event.kind == ModelEventKind::BranchSwitched) RedrawBranch(event.branch);
//     }
//   };
//   ModelSubscription subscription = model.Subscribe(view);  // ends with it
//
// Delivery is synchronous and follows the order of subscription. While an
// event is delivered a listener may unsubscribe itself or any other: one
// unsubscribed hears nothing more, not even the rest of the event under way.
// One subscribed meanwhile hears the events after it. An event raised by a
// listener (a recalculation in reply to a switch) is delivered to everyone at
// once, before the event that caused it goes on to the listeners after.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kordavelt {

// Who asks for a refresh: that view is not redrawn again.
enum class RefreshSender { None, Scheme, Objects };

enum class ModelEventKind {
  Caption,  // text: the main window's caption
  Status,   // text: the status line
  // A model opened with its tables (its settings, book and feeding sources
  // ready): views bind to it; the session makes the windows, lays them out
  // and runs the first calculation.
  Opened,
  Closing,  // the tables are about to close: views let go of them
  Closed,   // the model file is closed
  NodeAdded,
  NodeChanged,  // posted by the editor that changed a node record
  NodeDeleted,
  BranchAdded,  // objectKind: the kind of its object (0: none)
  // A branch end went to `node`: `branch` is the key now, `previousBranch`
  // the key before (they differ when the start moved). The scheme selects it.
  BranchMoved,
  BranchDeleted,   // its object record stays for an undo
  BranchSwitched,  // on: the branch's state in the current regime
  ObjectChanged,   // branch, objectKind: posted by the editor that changed it
  DeletionsUndone,
  UndoAvailable,  // on: the deletion journal holds records to bring back
  // Views redraw what they show: depth > 1 reloads from the tables (the
  // feeding sources are assigned anew); the sender is not redrawn.
  Refresh,
  RegimeChanged,    // a regime was chosen as the current one
  SettingsChanged,  // the settings block was edited
  Calculated,       // a calculation finished and the tables show its results
};

struct ModelEvent {
  ModelEventKind kind = ModelEventKind::Refresh;
  int node = 0;
  std::int32_t branch = 0;
  std::int32_t previousBranch = 0;
  int objectKind = 0;
  bool on = false;
  RefreshSender sender = RefreshSender::None;
  int depth = 0;
  std::string text{};
};

class ModelListener {
 public:
  virtual void OnModelEvent(const ModelEvent& event) = 0;

 protected:
  ~ModelListener() = default;
};

namespace model_events_detail {
struct Slot {
  std::function<void(const ModelEvent&)> deliver;
  bool active = true;
};
using Slots = std::vector<std::shared_ptr<Slot>>;
}  // namespace model_events_detail

// One listener's place in the delivery; leaving scope (or Cancel) takes the
// listener out. Safe to outlive the model it came from.
class ModelSubscription {
 public:
  ModelSubscription() = default;
  ~ModelSubscription() { Cancel(); }
  ModelSubscription(ModelSubscription&& other) noexcept = default;
  ModelSubscription& operator=(ModelSubscription&& other) noexcept;
  ModelSubscription(const ModelSubscription&) = delete;
  ModelSubscription& operator=(const ModelSubscription&) = delete;

  void Cancel();
  bool Active() const;

 private:
  friend class ModelNotifier;
  ModelSubscription(std::weak_ptr<model_events_detail::Slots> listeners,
                    std::weak_ptr<model_events_detail::Slot> slot)
      : slots_(std::move(listeners)), slot_(std::move(slot)) {}

  std::weak_ptr<model_events_detail::Slots> slots_;
  std::weak_ptr<model_events_detail::Slot> slot_;
};

// The listeners of one model and the delivery of its events.
class ModelNotifier {
 public:
  ModelNotifier() : slots_(std::make_shared<model_events_detail::Slots>()) {}
  ModelNotifier(const ModelNotifier&) = delete;
  ModelNotifier& operator=(const ModelNotifier&) = delete;

  // The listener must stay alive until the subscription ends.
  [[nodiscard]] ModelSubscription Subscribe(ModelListener& listener);
  [[nodiscard]] ModelSubscription Subscribe(std::function<void(const ModelEvent&)> listener);
  void Notify(const ModelEvent& event);
  std::size_t ListenerCount() const { return slots_->size(); }

 private:
  std::shared_ptr<model_events_detail::Slots> slots_;
};

}  // namespace kordavelt
