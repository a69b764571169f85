#include "designated_network.h"

#include <stdexcept>
#include <vector>

#include "bench_network.h"
#include "calc/prepare_devices.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt::bench {
namespace {

constexpr std::int32_t kBrand = 1001;
constexpr std::int32_t kLoadCable = 2001;    // 16 mm²
constexpr std::int32_t kFeederCable = 2002;  // 240 mm²
constexpr std::int32_t kTransformerType = 501;

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

// Item `i` of `total` things shared out as evenly as whole numbers allow among `parts`.
int Share(int total, int parts, int i) { return total * (i + 1) / parts - total * i / parts; }

}  // namespace

DesignatedNetwork::DesignatedNetwork(PlantSize size) {
  SilentUi ui;
  modelClass model(ui, files_, "/program/Kordavelt");
  model.SetFileName(kModelPath);
  if (!model.CreateFile() || !model.OpenFile() || !model.Usable() || !model.Book()) {
    throw std::runtime_error("cannot open the model");
  }
  model.Settings().SetMaxNodeNumber(65535);
  FillCatalogue(model);
  model.SuppressRefresh();
  const int root = model.AddNode();
  Mark(model, NodeMarkingCode(root), "РУ-10кВ");
  PlaceSource(model, root);
  for (int t = 0; t < size.transformers; ++t) {
    BuildTransformer(model, root, t + 1, Share(size.loads, size.transformers, t),
                     Share(size.subBoards, size.transformers, t));
  }
  model.ResumeRefresh();
  model.SetAskToSave(false);
  model.CloseFile();
}

void DesignatedNetwork::FillCatalogue(modelClass& model) {
  sprClass& book = *model.Book();
  Type<book::CableBrandRec>(book, book::kCableBrandTable, kBrand, [](book::CableBrandRec& b) {
    b.SetType("АВВГ");
    b.SetTpermiss(70);
    b.SetTterm(160);
    b.SetTignit(350);
  });
  struct Size {
    std::int32_t code;
    float section, r1, x1, ground, air;
  };
  for (const Size& size : {Size{kLoadCable, 16, 1.94f, 0.0675f, 70, 60},
                           Size{kFeederCable, 240, 0.125f, 0.0587f, 340, 290}}) {
    Type<book::CableRec>(book, book::kCableTable, size.code, [&size](book::CableRec& c) {
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
}

void DesignatedNetwork::Mark(modelClass& model, std::int32_t code, const std::string& text) {
  if (!model.Designations().AddMarking(text, code, *model.Markings())) {
    throw std::runtime_error("designation refused: " + text);
  }
  ++designations_;
}

void DesignatedNetwork::PlaceSource(modelClass& model, int node) {
  constexpr int kSource = 1;
  tbClass* sources = model.Sources();
  sources->Insert(kSource);
  const std::int32_t branch = ConnectObject(model, kKindPowerSource, node);
  if (branch == 0 || !modelClass::SeekExact(sources, kSource)) {
    throw std::runtime_error("no source");
  }
  SourceRec record(sources->Record());
  record.SetBranchKey(branch);
  record.SetVoltageIndex(3);  // 10 kV
  record.SetMarking("ИП-1");
  sources->MarkModifiedAndFlush();
  if (!model.Designations().Add("ИП-1", kSource)) throw std::runtime_error("source designation");
  ++designations_;
  EditObject<SourceObjectRec>(model, kKindPowerSource, branch, [](SourceObjectRec& o) {
    o.SetSourceNumber(kSource);
    o.SetIk3(12);
    o.SetUr(10000);
  });
}

int DesignatedNetwork::Random(int n) {
  seed_ = seed_ * 1103515245u + 12345u;
  return static_cast<int>((seed_ >> 16) % static_cast<std::uint32_t>(n));
}

int DesignatedNetwork::Connect(modelClass& model, int kind, int node, const std::string& branchText,
                               const std::string& nodeText) {
  const int next = model.AddNode();
  lastBranch_ = next == 0 ? 0 : ConnectObject(model, kind, node, next);
  if (lastBranch_ == 0) throw std::runtime_error("cannot connect");
  Mark(model, lastBranch_, branchText);
  Mark(model, NodeMarkingCode(next), nodeText);
  return next;
}

void DesignatedNetwork::BuildTransformer(modelClass& model, int root, int number, int loads,
                                         int subBoards) {
  const std::string name = std::to_string(number);
  const int board = Connect(model, kKindTransformer, root, "Т" + name, "ГРЩ-" + name);
  EditObject<TransformerRec>(model, kKindTransformer, lastBranch_, [](TransformerRec& t) {
    t.SetType(kTransformerType);
    t.SetPk(7.6f);
    t.SetUk(5.5f);
    t.SetUv(10);
    t.SetUn(0.4f);
  });
  // Sub-boards three to a board above them, the loads shared out among all.
  std::vector<int> boards{board};
  for (int s = 1; s <= subBoards; ++s) {
    const int above = boards[static_cast<std::size_t>((s - 1) / 3)];
    boards.push_back(Cable(model, above, true, "ЩР-" + name + "." + std::to_string(s)));
  }
  for (int i = 0; i < loads; ++i) {
    const int from = boards[static_cast<std::size_t>(i) % boards.size()];
    Load(model, Cable(model, from, false, "У-" + std::to_string(cables_ + 1)));
  }
}

int DesignatedNetwork::Cable(modelClass& model, int node, bool feeder,
                             const std::string& nodeText) {
  ++cables_;
  const int next = Connect(model, kKindCableLine, node, "КЛ-" + std::to_string(cables_), nodeText);
  const float lengthM = static_cast<float>(feeder ? 30 + Random(50) : 15 + Random(45));
  EditObject<CableLineRec>(model, kKindCableLine, lastBranch_, [feeder, lengthM](CableLineRec& l) {
    l.SetType(feeder ? kFeederCable : kLoadCable);
    l.SetL(lengthM);
    l.SetNk(1);
  });
  return next;
}

void DesignatedNetwork::Load(modelClass& model, int node) {
  if (group_ == 0 || groupCount_ == kMaxReceiverInGroup) {
    tbClass* groups = model.Groups();
    group_ = groups->LastKey() + 1;
    groups->Insert(group_);
    GroupRec g(groups->Record());
    g.SetName("Нагрузка");
    g.SetUnom(380);
    g.SetP(4);
    g.SetQ(2);
    g.SetKv(0.7f);
    g.SetKz(0.8f);
    groups->MarkModifiedAndFlush();
    groupCount_ = 0;
  }
  const std::int32_t key = ReceiverKey(group_, ++groupCount_);
  const std::string text = "ЭП-" + std::to_string(++loads_);
  tbClass* receivers = model.Receivers();
  receivers->Insert(key);
  ReceiverRec(receivers->Record()).SetSwitchedOn(1);
  receivers->MarkModifiedAndFlush();
  const std::int32_t branch = ConnectObject(model, kKindReceiver, node);
  if (branch == 0 || !modelClass::SeekExact(receivers, key)) {
    throw std::runtime_error("no receiver");
  }
  ReceiverRec receiver(receivers->Record());
  receiver.SetBranchKey(branch);
  receiver.SetMarking(text);
  receivers->MarkModifiedAndFlush();
  if (!model.Designations().Add(text, key)) throw std::runtime_error("load designation");
  ++designations_;
  EditObject<ReceiverObjectRec>(model, kKindReceiver, branch,
                                [key](ReceiverObjectRec& o) { o.SetReceiverKey(key); });
}

}  // namespace kordavelt::bench
