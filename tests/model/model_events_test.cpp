// The model's change notifications. The faults guarded: a view freed by
// another listener still being called (a use after free under the
// sanitizer), a listener that left still hearing the rest of an event, two
// views hearing the same edit in different orders or not at all, and views
// told a model is open before its tables and feeding sources are ready, or
// when it opened without them.

#include "model/model_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/model_builder.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"

namespace kordavelt::testing {
namespace {

using ::testing::ElementsAre;

std::string Name(ModelEventKind kind) {
  switch (kind) {
    case ModelEventKind::Caption:
      return "Caption";
    case ModelEventKind::Status:
      return "Status";
    case ModelEventKind::Opened:
      return "Opened";
    case ModelEventKind::Closing:
      return "Closing";
    case ModelEventKind::Closed:
      return "Closed";
    case ModelEventKind::NodeAdded:
      return "NodeAdded";
    case ModelEventKind::NodeChanged:
      return "NodeChanged";
    case ModelEventKind::NodeDeleted:
      return "NodeDeleted";
    case ModelEventKind::BranchAdded:
      return "BranchAdded";
    case ModelEventKind::BranchMoved:
      return "BranchMoved";
    case ModelEventKind::BranchDeleted:
      return "BranchDeleted";
    case ModelEventKind::BranchSwitched:
      return "BranchSwitched";
    case ModelEventKind::ObjectChanged:
      return "ObjectChanged";
    case ModelEventKind::DeletionsUndone:
      return "DeletionsUndone";
    case ModelEventKind::UndoAvailable:
      return "UndoAvailable";
    case ModelEventKind::Refresh:
      return "Refresh";
    case ModelEventKind::RegimeChanged:
      return "RegimeChanged";
    case ModelEventKind::SettingsChanged:
      return "SettingsChanged";
    case ModelEventKind::Calculated:
      return "Calculated";
  }
  return "?";
}

// The kind and the fields that are set, as "BranchMoved node=3 branch=257 from=257".
std::string Describe(const ModelEvent& e) {
  std::string text = Name(e.kind);
  const auto field = [&text](const char* name, long long value) {
    if (value != 0) text += std::string(" ") + name + "=" + std::to_string(value);
  };
  field("node", e.node);
  field("branch", e.branch);
  field("from", e.previousBranch);
  field("kind", e.objectKind);
  if (e.kind == ModelEventKind::BranchSwitched || e.kind == ModelEventKind::UndoAvailable) {
    text += e.on ? " on" : " off";
  }
  field("depth", e.depth);
  if (!e.text.empty()) text += " " + e.text;
  return text;
}

ModelEvent Event(int node) { return {.kind = ModelEventKind::NodeAdded, .node = node}; }

// A view as the scheme or an object table would be: it listens for as long
// as it lives.
class View : public ModelListener {
 public:
  View(ModelNotifier& events, std::vector<std::string>& log, std::string name)
      : log_(log), name_(std::move(name)), subscription_(events.Subscribe(*this)) {}
  void OnModelEvent(const ModelEvent& event) override {
    log_.push_back(name_ + ":" + std::to_string(event.node));
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
  ModelSubscription subscription_;
};

// --- Delivery ----------------------------------------------------------------------------------

TEST(ModelNotifierTest, ListenersHearEachEventInTheOrderTheySubscribedUntilTheyLeave) {
  ModelNotifier events;
  std::vector<std::string> log;
  auto first = std::make_unique<View>(events, log, "a");
  View second(events, log, "b");
  ModelSubscription third =
      events.Subscribe([&](const ModelEvent& e) { log.push_back("c:" + std::to_string(e.node)); });
  events.Notify(Event(1));
  first.reset();
  events.Notify(Event(2));
  third.Cancel();
  EXPECT_FALSE(third.Active());
  events.Notify(Event(3));
  EXPECT_THAT(log, ElementsAre("a:1", "b:1", "c:1", "b:2", "c:2", "b:3"));
  EXPECT_EQ(events.ListenerCount(), 1u);
}

TEST(ModelNotifierTest, AViewFreedByAnEarlierListenerIsNotCalledForTheRestOfTheEvent) {
  ModelNotifier events;
  std::vector<std::string> log;
  std::unique_ptr<View> freed;
  std::unique_ptr<View> late;
  // Subscribed before the view, as the session is before the windows it
  // makes: while the first event is under way it frees the view, makes a
  // new one and leaves.
  ModelSubscription owner;
  owner = events.Subscribe([&](const ModelEvent& e) {
    log.push_back("owner:" + std::to_string(e.node));
    freed.reset();
    late = std::make_unique<View>(events, log, "late");
    owner.Cancel();
  });
  freed = std::make_unique<View>(events, log, "freed");
  events.Notify(Event(1));
  events.Notify(Event(2));
  EXPECT_THAT(log, ElementsAre("owner:1", "late:2"));
}

// The listener that causes an event hears it inside its own delivery; every
// other hears the new event before the one that caused it goes on to them.
TEST(ModelNotifierTest, AnEventRaisedDuringDeliveryReachesEveryoneAtOnce) {
  ModelNotifier events;
  std::vector<std::string> log;
  ModelSubscription first = events.Subscribe([&](const ModelEvent& e) {
    log.push_back("1:" + std::to_string(e.node));
    if (e.node == 1) events.Notify(Event(2));
  });
  ModelSubscription second =
      events.Subscribe([&](const ModelEvent& e) { log.push_back("2:" + std::to_string(e.node)); });
  events.Notify(Event(1));
  EXPECT_THAT(log, ElementsAre("1:1", "1:2", "2:2", "2:1"));
}

TEST(ModelNotifierTest, SubscriptionsMoveAndMayOutliveTheirNotifier) {
  std::vector<int> heard;
  ModelSubscription kept;
  {
    ModelNotifier events;
    ModelSubscription a = events.Subscribe([&](const ModelEvent& e) { heard.push_back(e.node); });
    ModelSubscription b =
        events.Subscribe([&](const ModelEvent& e) { heard.push_back(10 * e.node); });
    kept = std::move(a);
    EXPECT_FALSE(a.Active());  // moved from: empty
    // Assigning over a live subscription ends the one it held.
    b = std::move(kept);
    kept = std::move(b);
    events.Notify(Event(1));
    EXPECT_EQ(events.ListenerCount(), 1u);
    EXPECT_TRUE(kept.Active());
  }
  EXPECT_FALSE(kept.Active());
  kept.Cancel();
  EXPECT_THAT(heard, ElementsAre(1));
}

// --- What the model tells ------------------------------------------------------------------

// Two views of one model: both hear an edit, a switch, a delete and its undo,
// in the order they happened, the first view before the second each time.
TEST(ModelEventsTest, TwoViewsHearEditsSwitchesDeletionsAndUndoInOrder) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const int c = m.Node();

  struct Recorder : ModelListener {
    Recorder(std::vector<std::string>& log, const char* tag) : log(log), tag(tag) {}
    void OnModelEvent(const ModelEvent& event) override {
      if (event.kind == ModelEventKind::UndoAvailable) {
        undo.push_back(event.on);
        return;
      }
      if (event.kind == ModelEventKind::Status) return;
      heard.push_back(Describe(event));
      log.push_back(tag);
    }
    std::vector<std::string>& log;
    const char* tag;
    std::vector<std::string> heard;
    std::vector<bool> undo;
  };
  std::vector<std::string> order;
  Recorder scheme(order, "scheme");
  Recorder objects(order, "objects");
  const ModelSubscription first = m->Subscribe(scheme);
  const ModelSubscription second = m->Subscribe(objects);

  const std::int32_t cable = m.Cable(a, b);
  ASSERT_EQ(cable, BranchKey(a, 1));
  m->ToggleBranch(cable);
  m->SwitchBranchEnd(cable, c);
  m->DeleteBranch(cable);
  m->UndoDeletion();

  const std::string key = std::to_string(cable);
  const std::vector<std::string> expected = {
      "BranchAdded branch=" + key + " kind=11",
      "BranchSwitched branch=" + key + " off",
      "BranchMoved node=" + std::to_string(c) + " branch=" + key + " from=" + key,
      "NodeDeleted node=" + std::to_string(b),  // left without branches
      "Refresh depth=2",
      "Refresh depth=2",
      "BranchDeleted branch=" + key,
      "NodeDeleted node=" + std::to_string(a),
      "NodeDeleted node=" + std::to_string(c),
      "Refresh depth=2",
      "DeletionsUndone",
      "Refresh depth=2",
  };
  EXPECT_EQ(scheme.heard, expected);
  EXPECT_EQ(objects.heard, scheme.heard);
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(order[i], i % 2 == 0 ? "scheme" : "objects") << i;
  }
  ASSERT_FALSE(scheme.undo.empty());
  EXPECT_FALSE(scheme.undo.back()) << "nothing left to undo";
  EXPECT_TRUE(scheme.undo.front()) << "the deletion can be undone";
  EXPECT_EQ(objects.undo, scheme.undo);
}

TEST(ModelEventsTest, ARefreshCarriesItsSenderAndDepthAndIsHeldWhileSuppressed) {
  ModelBuilder m;
  std::vector<std::string> heard;
  const ModelSubscription views = m->Subscribe([&](const ModelEvent& e) {
    if (e.kind == ModelEventKind::Refresh) {
      heard.push_back(Describe(e) + (e.sender == RefreshSender::Scheme ? " from the scheme" : ""));
    }
  });
  m->SuppressRefresh();
  m->Refresh(RefreshSender::None, 2);
  m->ResumeRefresh();
  m->Refresh(RefreshSender::Scheme, 1);
  EXPECT_THAT(heard, ElementsAre("Refresh depth=1 from the scheme"));
}

// Views bind to an open model on Opened: the tables, the feeding sources and
// the corrected layouts must be there, and a model whose book cannot be
// opened has no tables to bind to.
TEST(ModelEventsTest, ViewsHearOpenedOnlyOnceTheTablesAreReady) {
  ModelBuilder m;
  m->Settings().SetWindowLayout(0);
  std::vector<std::string> heard;
  const ModelSubscription views = m->Subscribe([&](const ModelEvent& e) {
    if (e.kind == ModelEventKind::Status || e.kind == ModelEventKind::UndoAvailable) return;
    heard.push_back(Describe(e));
    if (e.kind == ModelEventKind::Opened) {
      EXPECT_TRUE(m->Usable());
      EXPECT_NE(m->Nodes(), nullptr);
      EXPECT_EQ(m->Settings().WindowLayout(), 5);
    }
    if (e.kind == ModelEventKind::Closing) {
      EXPECT_NE(m->Nodes(), nullptr) << "still open";
    }
  });
  ASSERT_TRUE(m.Reopen());
  EXPECT_THAT(heard, ElementsAre("Caption Kordavelt", "Closing", "Closed", "Caption Kordavelt test",
                                 "Opened"));

  heard.clear();
  m.files.Put("/program/Kordavelt.SPR", std::vector<std::uint8_t>(4096, 0x55));
  ASSERT_TRUE(m.Reopen());
  EXPECT_FALSE(m->Usable());
  EXPECT_THAT(heard,
              ElementsAre("Caption Kordavelt", "Closing", "Closed", "Caption Kordavelt test"));
}

}  // namespace
}  // namespace kordavelt::testing
