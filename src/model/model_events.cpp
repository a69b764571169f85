#include "model/model_events.h"

#include <algorithm>
#include <utility>

namespace kordavelt {

ModelSubscription& ModelSubscription::operator=(ModelSubscription&& other) noexcept {
  if (this != &other) {
    Cancel();
    slots_ = std::move(other.slots_);
    slot_ = std::move(other.slot_);
  }
  return *this;
}

// The slot is only marked and dropped from the list: a delivery under way
// holds it (and the function that may be running) until it is done.
void ModelSubscription::Cancel() {
  const std::shared_ptr<model_events_detail::Slot> slot = slot_.lock();
  if (slot != nullptr) slot->active = false;
  if (const std::shared_ptr<model_events_detail::Slots> listeners = slots_.lock()) {
    std::erase(*listeners, slot);
  }
  slots_.reset();
  slot_.reset();
}

bool ModelSubscription::Active() const {
  const std::shared_ptr<model_events_detail::Slot> slot = slot_.lock();
  return slot != nullptr && slot->active && !slots_.expired();
}

ModelSubscription ModelNotifier::Subscribe(ModelListener& listener) {
  return Subscribe([&listener](const ModelEvent& event) { listener.OnModelEvent(event); });
}

ModelSubscription ModelNotifier::Subscribe(std::function<void(const ModelEvent&)> listener) {
  auto slot = std::make_shared<model_events_detail::Slot>();
  slot->deliver = std::move(listener);
  slots_->push_back(slot);
  return ModelSubscription(slots_, slot);
}

// The listeners of the moment the event starts; each is asked again whether
// it still listens just before its turn.
void ModelNotifier::Notify(const ModelEvent& event) {
  const model_events_detail::Slots listeners = *slots_;
  for (const std::shared_ptr<model_events_detail::Slot>& slot : listeners) {
    if (slot->active && slot->deliver) slot->deliver(event);
  }
}

}  // namespace kordavelt
