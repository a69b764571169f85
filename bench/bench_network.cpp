#include "bench_network.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "calc/prepare_devices.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "storage/tb_class.h"

namespace kordavelt::bench {
namespace {

// Copper four-core cables: section, R1 and X1 per metre (mΩ), permissible
// current in ground and in air (A).
struct CableSize {
  float section, r1, x1, ground, air;
};
constexpr CableSize kCables[] = {
    {16, 1.15f, 0.0675f, 90, 75},     {35, 0.524f, 0.0637f, 140, 115},
    {70, 0.268f, 0.0612f, 210, 175},  {95, 0.193f, 0.0602f, 255, 220},
    {150, 0.124f, 0.0596f, 330, 280}, {240, 0.0754f, 0.0587f, 440, 375},
};
constexpr int kCableCount = sizeof(kCables) / sizeof(kCables[0]);

constexpr std::int32_t kBrand = 1001;
constexpr std::int32_t kFirstCable = 2001;
constexpr std::int32_t kTransformerType = 501;
constexpr std::int32_t kFuseType = 701;
constexpr std::int32_t kTripUnit = 801;
constexpr std::int32_t kOutletBreaker = 802;
constexpr std::int32_t kMainBreaker = 803;
constexpr std::int32_t kMotorType = 901;

// Multiples of the rated current and times (s) of a curve's seven points.
void SetCurve(Bytes vth, int first, const float (&multiples)[7], const float (&times)[7]) {
  for (int k = 0; k < 7; ++k) {
    SetVthPoint(vth, first + k, {std::log(multiples[k]), std::log(times[k])});
  }
}

template <class View, class Fill>
void Type(sprClass& book, int table, std::int32_t code, Fill fill) {
  tbClass* t = book.OpenBookTable(table);
  if (t == nullptr) throw std::runtime_error("no book table");
  t->Insert(code);
  View view(t->Record());
  fill(view);
  t->MarkModifiedAndFlush();
}

template <class View, class Fill>
void EditObject(modelClass& model, int kind, std::int32_t key, Fill fill) {
  tbClass* objects = model.OpenObjectTable(kind);
  if (!modelClass::SeekExact(objects, key)) throw std::runtime_error("no object");
  View view(objects->Record());
  fill(view);
  objects->MarkModifiedAndFlush();
}

}  // namespace

BenchNetwork::BenchNetwork(Shape shape, int elements, int sources) {
  model_.SetFileName(kModelPath);
  if (!model_.CreateFile() || !model_.OpenFile() || !model_.Usable() || !model_.Book()) {
    throw std::runtime_error("cannot open the model");
  }
  model_.Settings().SetMaxNodeNumber(65535);
  FillCatalogue();
  model_.SuppressRefresh();
  for (int source = sources; source >= 1; --source) {
    root_ = model_.AddNode();
    PlaceSource(root_, source);
    count_ = 1;
    if (shape == Shape::Chain) {
      BuildChain(elements);
    } else {
      BuildRealistic(elements);
    }
  }
  model_.ResumeRefresh();
  model_.AssignFeedingSources();
  calc_ = std::make_unique<CalcClass>(model_);
}

BenchNetwork::~BenchNetwork() { Close(); }

void BenchNetwork::Close() {
  if (calc_ == nullptr) return;
  calc_.reset();
  model_.SetAskToSave(false);
  model_.CloseFile();
}

void BenchNetwork::FillCatalogue() {
  sprClass& book = *model_.Book();
  Type<book::CableBrandRec>(book, book::kCableBrandTable, kBrand, [](book::CableBrandRec& b) {
    b.SetType("ВВГ");
    b.SetTpermiss(70);
    b.SetTterm(160);
    b.SetTignit(350);
  });
  for (int i = 0; i < kCableCount; ++i) {
    const CableSize& size = kCables[i];
    Type<book::CableRec>(book, book::kCableTable, kFirstCable + i, [&size](book::CableRec& c) {
      c.SetType(kBrand);
      c.SetUnom(1000);
      c.SetCondCount(4);
      c.SetCrossCectF(size.section);
      c.SetIpermissEarch(size.ground);
      c.SetIpermissAir(size.air);
      c.SetR1(size.r1);
      c.SetX1(size.x1);
      c.SetR0(4 * size.r1);
      c.SetX0(6 * size.x1);
    });
  }
  Type<book::TransformerRec>(book, book::kTransformerTable, kTransformerType,
                             [](book::TransformerRec& t) {
                               t.SetType("ТМ-630");
                               t.SetSnom(630);
                               t.SetDK(2.5f);
                               t.SetR0(9.7f);
                               t.SetX0(85);
                               t.SetGroup(kGroupDY0);
                             });
  Type<book::TripUnitRec>(book, book::kTripUnitTable, kTripUnit, [](book::TripUnitRec& u) {
    u.SetIrUnit(1);
    u.SetImUnit(2);
    SetCurve(u.Vth(), 1, {1.05f, 1.5f, 2, 3, 5, 7, 9.9f}, {3600, 300, 60, 20, 5, 2, 1});
    SetCurve(u.Vth(), 8, {1.3f, 1.6f, 2.2f, 3.3f, 5.5f, 7.7f, 9.9f},
             {7200, 900, 180, 60, 15, 6, 3});
  });
  for (const auto& [code, rated] : {std::pair{kOutletBreaker, 250.0f}, {kMainBreaker, 1000.0f}}) {
    Type<book::BreakerRec>(book, book::kBreakerTable, code, [rated](book::BreakerRec& b) {
      b.SetInom(rated);
      b.SetUnom(400);
      b.SetIswitch(rated > 500 ? 50 : 25);
      b.SetTripUnit(kTripUnit);
      b.SetSeria(1);
    });
  }
  Type<book::FuseRec>(book, book::kFuseTable, kFuseType, [](book::FuseRec& f) {
    f.SetInom(100);
    f.SetUnom(400);
    f.SetIswitch(100);
    SetCurve(f.Vth(), 1, {1.6f, 2, 3, 5, 8, 12, 20}, {3600, 200, 20, 2, 0.2f, 0.03f, 0.005f});
    SetCurve(f.Vth(), 8, {2, 2.5f, 3.8f, 6.3f, 10, 15, 25}, {7200, 400, 40, 4, 0.4f, 0.06f, 0.01f});
  });
  Type<book::AsyncMotorRec>(book, book::kAsyncMotorTable, kMotorType, [](book::AsyncMotorRec& m) {
    m.SetPnom(15);
    m.SetUnom(380);
    m.SetCosF(0.88f);
    m.SetEfficiency(90);
    m.SetIstart(7);
    m.SetRs(0.03f);
    m.SetRr(0.03f);
    m.SetXd2(0.15f);
  });
}

void BenchNetwork::PlaceSource(int node, int number) {
  tbClass* sources = model_.Sources();
  source_ = number;
  sources->Insert(source_);
  const std::int32_t branch = ConnectObject(model_, kKindPowerSource, node);
  sourceBranch_ = branch;
  if (!modelClass::SeekExact(sources, source_)) throw std::runtime_error("no source");
  SourceRec record(sources->Record());
  record.SetBranchKey(branch);
  record.SetVoltageIndex(3);  // 10 kV
  sources->MarkModifiedAndFlush();
  EditObject<SourceObjectRec>(model_, kKindPowerSource, branch, [this](SourceObjectRec& o) {
    o.SetSourceNumber(source_);
    o.SetIk3(12);
    o.SetUr(10000);
  });
}

int BenchNetwork::Random(int n) {
  seed_ = seed_ * 1103515245u + 12345u;
  return static_cast<int>((seed_ >> 16) % static_cast<std::uint32_t>(n));
}

int BenchNetwork::Connect(int kind, int node) {
  const int next = model_.AddNode();
  lastBranch_ = next == 0 ? 0 : ConnectObject(model_, kind, node, next);
  if (lastBranch_ == 0) throw std::runtime_error("cannot connect");
  ++count_;
  return next;
}

int BenchNetwork::Transformer(int node) {
  const int low = Connect(kKindTransformer, node);
  EditObject<TransformerRec>(model_, kKindTransformer, lastBranch_, [](TransformerRec& t) {
    t.SetType(kTransformerType);
    t.SetPk(7.6f);
    t.SetUk(5.5f);
    t.SetUv(10);
    t.SetUn(0.4f);
  });
  return low;
}

void BenchNetwork::BuildRealistic(int elements) {
  struct Board {
    int node, depth;
  };
  std::vector<Board> boards;
  for (int t = 0; t < 2 && count_ + 3 <= elements; ++t) {
    boards.push_back({Breaker(Transformer(root_), kMainBreaker), 0});
  }
  for (std::size_t next = 0; next < boards.size(); ++next) {
    const Board board = boards[next];
    const int outlets = 3 + Random(8);
    for (int i = 0; i < outlets && count_ + 3 <= elements; ++i) {
      const bool fuse = Random(3) == 0;
      const int protectedNode = fuse ? Fuse(board.node) : Breaker(board.node, kOutletBreaker);
      const bool subBoard = board.depth < 9 && Random(5) < 2;
      const int section = subBoard ? std::max(2, 5 - board.depth) : Random(2);
      const int far = Cable(protectedNode, section, 20.0f + static_cast<float>(Random(100)));
      if (subBoard) {
        boards.push_back({far, board.depth + 1});
      } else {
        Load(far, Random(4) == 0);
      }
    }
  }
}

void BenchNetwork::BuildChain(int elements) {
  int node = root_;
  // A 0.4 kV source feeds the chain directly.
  if (modelClass::SeekExact(model_.Sources(), source_)) {
    SourceRec(model_.Sources()->Record()).SetVoltageIndex(0);
    model_.Sources()->MarkModifiedAndFlush();
  }
  EditObject<SourceObjectRec>(model_, kKindPowerSource, sourceBranch_, [](SourceObjectRec& o) {
    o.SetIk3(20);
    o.SetUr(400);
  });
  while (count_ + 2 <= elements) {
    node = (count_ % 10 == 1) ? Breaker(node, kOutletBreaker) : Cable(node, 3, 5);
  }
  Load(node, false);
}

int BenchNetwork::Breaker(int node, int type) {
  const int next = Connect(kKindBreaker, node);
  const float rated = type == kMainBreaker ? 1000.0f : 250.0f;
  EditObject<BreakerRec>(model_, kKindBreaker, lastBranch_, [type, rated](BreakerRec& b) {
    b.SetType(type);
    b.SetInom(rated);
    b.SetIr(1);
    b.SetIm(10);
    b.SetTm(0.02f);
  });
  return next;
}

int BenchNetwork::Fuse(int node) {
  const int next = Connect(kKindFuse, node);
  EditObject<FuseRec>(model_, kKindFuse, lastBranch_, [](FuseRec& f) {
    f.SetType(kFuseType);
    f.SetIpv(63);
  });
  return next;
}

int BenchNetwork::Cable(int node, int section, float lengthM) {
  const int next = Connect(kKindCableLine, node);
  EditObject<CableLineRec>(model_, kKindCableLine, lastBranch_,
                           [section, lengthM](CableLineRec& l) {
                             l.SetType(kFirstCable + section);
                             l.SetL(lengthM);
                             l.SetNk(1);
                           });
  return next;
}

int BenchNetwork::NewGroup(bool motor) {
  tbClass* groups = model_.Groups();
  const int number = groups->LastKey() + 1;
  groups->Insert(number);
  GroupRec g(groups->Record());
  g.SetUnom(380);
  g.SetKz(0.8f);
  if (motor) {
    g.SetName("Насос");
    g.SetP(15);
    g.SetQ(8.1f);
    g.SetClass(1);
    g.SetKeyType(kMotorType);
    g.SetSelfStart(1);
    g.SetIstart(200);
    g.SetCosFstart(0.4f);
    g.SetTstart(4);
  } else {
    g.SetName("Нагрузка");
    g.SetP(10);
    g.SetQ(5);
    g.SetKv(0.7f);
  }
  groups->MarkModifiedAndFlush();
  return number;
}

void BenchNetwork::Load(int node, bool motor) {
  int& group = motor ? motorGroup_ : loadGroup_;
  int& n = motor ? motorCount_ : loadCount_;
  if (group == 0 || n == kMaxReceiverInGroup) {
    group = NewGroup(motor);
    n = 0;
  }
  const std::int32_t key = ReceiverKey(group, ++n);
  tbClass* receivers = model_.Receivers();
  receivers->Insert(key);
  ReceiverRec(receivers->Record()).SetSwitchedOn(1);
  receivers->MarkModifiedAndFlush();
  const std::int32_t branch = ConnectObject(model_, kKindReceiver, node);
  if (branch == 0 || !modelClass::SeekExact(receivers, key)) {
    throw std::runtime_error("no receiver");
  }
  ++count_;
  ReceiverRec(receivers->Record()).SetBranchKey(branch);
  receivers->MarkModifiedAndFlush();
  EditObject<ReceiverObjectRec>(model_, kKindReceiver, branch,
                                [key](ReceiverObjectRec& o) { o.SetReceiverKey(key); });
}

}  // namespace kordavelt::bench
