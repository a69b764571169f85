// The model exchange file: a plant exported, imported into an empty model
// and exported again must give the same file in every variant (a value
// written at one position and read from another, or a record the import
// creates differently, shows as a difference); rows resolve by key or
// designation, and a merge keeps what the file does not mention.

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "exchange/get_class.h"
#include "exchange/put_class.h"
#include "model/model_builder.h"
#include "model/model_export.h"
#include "model/model_import.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "model/scheme_records.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;

// Writes the model to `path` in its own file system; the file's text (UTF-8).
std::string Export(ModelBuilder& m, const std::string& path,
                   ExportVariant variant = ExportVariant::Csv) {
  PutClass put(m.ui, m.files);
  EXPECT_TRUE(put.OpenPath(path, variant, false));
  EXPECT_TRUE(WriteModel(m.model, put));
  EXPECT_TRUE(put.Close());
  const std::vector<std::uint8_t>* bytes = m.files.Find(path);
  if (bytes == nullptr) return {};
  const std::string raw(bytes->begin(), bytes->end());
  return IsUtf8(variant) ? raw : Cp1251ToUtf8(raw);
}

// Imports program text (UTF-8) written as a Windows-1251 file of that variant.
ModelImportCounts Import(ModelBuilder& m, std::string_view text,
                         ImportVariant variant = ImportVariant::Csv) {
  const std::string bytes = Utf8ToCp1251(text);
  m.files.Put("/in/model.txt", {bytes.begin(), bytes.end()});
  GetClass get(m.ui, m.files);
  EXPECT_TRUE(get.OpenPath("/in/model.txt", variant));
  return ReadModel(m.model, get);
}

// Copies a file written by one model's file system into another's and imports it.
void ImportFile(ModelBuilder& from, const std::string& path, ModelBuilder& into,
                ImportVariant variant) {
  into.files.Put(path, *from.files.Find(path));
  GetClass get(into.ui, into.files);
  ASSERT_TRUE(get.OpenPath(path, variant));
  ReadModel(into.model, get);
  EXPECT_FALSE(get.Failed());
}

template <typename Rec>
Rec Object(ModelBuilder& m, int kind, std::int32_t key) {
  tbClass* table = m->OpenObjectTable(kind);
  EXPECT_TRUE(modelClass::SeekExact(table, key)) << "kind " << kind << " key " << key;
  return Rec(table->Record());
}

void Mark(ModelBuilder& m, std::int32_t code, std::string_view text) {
  EXPECT_TRUE(m->Designations().AddMarking(text, code, *m->Markings()));
}

void AddRoom(ModelBuilder& m, int key, std::string_view descript, std::string_view name) {
  tbClass* rooms = m->Rooms();
  rooms->Insert(key);
  RoomRec room(rooms->Record());
  room.SetDescript(descript);
  room.SetName(name);
  room.SetXmin(0);
  room.SetYmin(2.5f);
  room.SetDX(12.75f);
  room.SetDY(6);
  room.SetDZ(3.2f);
  room.SetAngle(90);
  room.SetTv(20);
  room.SetQtv(0.125f);
  room.SetColor(0x00FF00);
  room.SetFireClass(2);
  rooms->MarkModifiedAndFlush();
  m->Designations().Add(descript, key);
}

// A substation with every object kind the file carries, two regimes in use,
// markings, names, rooms, two receiver groups and a drawn scheme on two pages.
struct Plant {
  int bus = 0, board = 0, panel = 0, far = 0;
  std::int32_t cable = 0, stabiliser = 0, generator = 0, capacitor = 0;
};

Plant BuildPlant(ModelBuilder& m) {
  Plant p;
  p.bus = m.Node();
  p.board = m.Node();
  p.panel = m.Node();
  p.far = m.Node();
  AddRoom(m, 1, "П1", "Насосная");
  AddRoom(m, 2, "П2", "Щитовая");

  tbClass* names = m->Names();
  names->Insert(1);
  NameRec(names->Record()).SetText("Главный распределительный щит");
  names->MarkModifiedAndFlush();
  EXPECT_TRUE(modelClass::SeekExact(m->Nodes(), p.board));
  {
    NodeRec node(m->Nodes()->Record());
    node.SetKeyName(1);
    node.SetCodRoom(2);
    node.SetX(12);
    node.SetY(-4);
    node.SetKo(0.85f);
    node.SetUnom(4);
    m->Nodes()->MarkModifiedAndFlush();
  }
  Mark(m, NodeMarkingCode(p.bus), "ТП-1");
  Mark(m, NodeMarkingCode(p.board), "ГРЩ");

  const auto source = m.Source(p.bus, "Т1");
  {
    tbClass* sources = m->Sources();
    modelClass::SeekExact(sources, source.number);
    SourceRec rec(sources->Record());
    rec.SetColour(255);
    rec.SetDesignP(120.5f);
    rec.SetDesignQ(40);
    sources->MarkModifiedAndFlush();
    SourceObjectRec object = Object<SourceObjectRec>(m, kKindPowerSource, source.branch);
    object.SetUr(400);
    object.SetIk3(12.5f);
    object.SetIk1(8);
    object.SetTa(0.02f);
    m->OpenObjectTable(kKindPowerSource)->MarkModifiedAndFlush();
  }

  p.cable = m.Cable(p.bus, p.board, 1950095, 120.5f);
  Mark(m, p.cable, "КЛ-1");
  m.SetStatus(p.cable, 0b101);
  {
    CableLineRec c = Object<CableLineRec>(m, kKindCableLine, p.cable);
    c.SetType2(1950070);
    c.SetNk2(2);
    c.SetKpr(0.9f);
    c.SetCodepr(1);
    c.SetKdk(15);
    m->OpenObjectTable(kKindCableLine)->MarkModifiedAndFlush();
  }
  const auto edit = [&m](int kind, std::int32_t key, auto change) {
    change(m->OpenObjectTable(kind)->Record(), key);
    m->OpenObjectTable(kind)->MarkModifiedAndFlush();
  };
  const std::int32_t abstract = m.Branch(kKindAbstractBranch, p.board, p.panel);
  Object<AbstractBranchRec>(m, kKindAbstractBranch, abstract);
  edit(kKindAbstractBranch, abstract, [](Bytes r, auto) {
    AbstractBranchRec o(r);
    o.SetType("Z");
    o.SetR1(1.5f);
    o.SetX1(2.25f);
    o.SetR0(3);
    o.SetX0(4);
  });
  const std::int32_t wiring = m.Branch(kKindWiring, p.board, p.far);
  Object<WiringRec>(m, kKindWiring, wiring);
  edit(kKindWiring, wiring, [](Bytes r, auto) {
    WiringRec o(r);
    o.SetType(77);
    o.SetTypeN(78);
    o.SetNcond(2);
    o.SetL(35);
    o.SetKpr(1);
    o.SetCabining(2);
    o.SetKdp(3);
  });
  const std::int32_t line = m.Branch(kKindOverheadLine, p.panel, p.far);
  Object<OverheadLineRec>(m, kKindOverheadLine, line);
  edit(kKindOverheadLine, line, [](Bytes r, auto) {
    OverheadLineRec o(r);
    o.SetType(5);
    o.SetTypeN(6);
    o.SetL(250);
    o.SetDsg(0.6f);
    o.SetRzaz(10);
    o.SetNzaz(3);
  });
  const std::int32_t trunkK = m.Branch(kKindTrunkingK, p.panel, p.far);
  Object<TrunkingRec>(m, kKindTrunkingK, trunkK);
  edit(kKindTrunkingK, trunkK, [](Bytes r, auto) {
    TrunkingRec o(r);
    o.SetType(9);
    o.SetL(24);
    o.SetN(8);
  });
  const std::int32_t trunkN = m.Branch(kKindTrunkingN, p.panel, p.far);
  Object<BusbarTrunkingRec>(m, kKindTrunkingN, trunkN);
  edit(kKindTrunkingN, trunkN, [](Bytes r, auto) { BusbarTrunkingRec(r).SetL(18); });
  const std::int32_t fuse = m.Branch(kKindFuse, p.board, p.panel);
  Object<FuseRec>(m, kKindFuse, fuse);
  edit(kKindFuse, fuse, [](Bytes r, auto) {
    FuseRec o(r);
    o.SetType(4);
    o.SetInom(100);
    o.SetIpv(80);
  });
  const std::int32_t breaker = m.Breaker(p.board, p.panel, 2101);
  Object<BreakerRec>(m, kKindBreaker, breaker);
  edit(kKindBreaker, breaker, [](Bytes r, auto) { BreakerRec(r).SetIr(0.8f); });
  for (const int kind :
       {kKindSwitch, kKindStarter, kKindStabiliser, kKindReactor, kKindCurrentTransformer}) {
    const std::int32_t key = m.Branch(kind, p.panel, p.far);
    Object<TypeOnlyRec>(m, kind, key);
    edit(kind, key, [kind](Bytes r, auto) { TypeOnlyRec(r).SetType(kind * 100); });
    if (kind == kKindStabiliser) p.stabiliser = key;
  }
  const std::int32_t transformer = m.Branch(kKindTransformer, p.bus, p.far);
  Object<TransformerRec>(m, kKindTransformer, transformer);
  edit(kKindTransformer, transformer, [](Bytes r, auto) {
    TransformerRec o(r);
    o.SetType(3101);
    o.SetUv(10);
    o.SetUn(0.4f);
    o.SetPk(7.6f);
    o.SetUk(5.5f);
    o.SetPh(1.05f);
    o.SetIh(1.2f);
    o.SetNreg(-2);
  });
  p.capacitor = m.Branch(kKindCapacitorBank, p.board);
  Object<CapacitorBankRec>(m, kKindCapacitorBank, p.capacitor);
  edit(kKindCapacitorBank, p.capacitor, [](Bytes r, auto) {
    CapacitorBankRec o(r);
    o.SetType(4301);
    o.SetNbk(3);
    o.SetPhaseIndex(5);
  });
  const std::int32_t sockets = m.Branch(kKindSockets, p.panel);
  Object<SocketsRec>(m, kKindSockets, sockets);
  edit(kKindSockets, sockets, [](Bytes r, auto) {
    SocketsRec o(r);
    o.SetN3(2);
    o.SetNa(4);
    o.SetNb(5);
    o.SetNc(6);
  });
  p.generator = m.Branch(kKindGenerator, p.far);

  const int pumps = m.Group("Насос");
  const int lights = m.Group("Освещение цеха");
  {
    tbClass* groups = m->Groups();
    modelClass::SeekExact(groups, pumps);
    GroupRec g(groups->Record());
    g.SetClass(1);
    g.SetRegim(1);
    g.SetP(55);
    g.SetQ(30.5f);
    g.SetUnom(380);
    g.SetNphase(3);
    g.SetIstart(650);
    g.SetCosFstart(0.4f);
    g.SetTstart(5);
    g.SetKv(0.7f);
    g.SetKz(0.8f);
    g.SetTc(1440);
    g.SetType("4A250");
    g.SetKeyType(42001);
    groups->MarkModifiedAndFlush();
    modelClass::SeekExact(groups, lights);
    GroupRec l(groups->Record());
    l.SetClass(5);
    l.SetNphase(1);
    l.SetUnom(230);
    l.SetP(12);
    l.SetKz(1);
    groups->MarkModifiedAndFlush();
  }
  const auto m1 = m.Receiver(p.panel, pumps, "Н1");
  m.Receiver(p.far, pumps, "Н2");
  m.Receiver(p.far, lights, "ЭО1");
  {
    tbClass* receivers = m->Receivers();
    modelClass::SeekExact(receivers, m1.number);
    ReceiverRec r(receivers->Record());
    r.SetX(5);
    r.SetY(3);
    r.SetRoom(1);
    r.SetPhaseIndex(1);
    receivers->MarkModifiedAndFlush();
  }
  // A receiver not yet connected to the network.
  {
    tbClass* receivers = m->Receivers();
    receivers->Insert(ReceiverKey(lights, 7));
    ReceiverRec r(receivers->Record());
    r.SetMarking("ЭО7");
    r.SetPhaseIndex(2);
    receivers->MarkModifiedAndFlush();
    m->Designations().Add("ЭО7", ReceiverKey(lights, 7));
  }

  // The scheme: the bus on two pages, drawings of a cable, the stabiliser
  // and the generator (whose kind the file names nowhere).
  tbClass* nodesXY = m->OpenSchemeTable(kXYNodeTable);
  for (const int page : {1, 2}) {
    nodesXY->Insert(p.bus);
    XYNodeRec xy(nodesXY->Record());
    xy.SetX(static_cast<std::int16_t>(10 * page));
    xy.SetY(4);
    xy.SetL(6);
    xy.SetVertical(page == 2 ? 1 : 0);
    xy.SetTextDir(2);
    xy.SetPage(static_cast<std::uint8_t>(page));
    nodesXY->MarkModifiedAndFlush();
  }
  tbClass* drawings = m->OpenSchemeTable(kXYBranchTable);
  for (const auto& [key, kind] :
       {std::pair{p.cable, kKindCableLine}, std::pair{p.stabiliser, kKindStabiliser},
        std::pair{p.generator, kKindGenerator}}) {
    drawings->Insert(key);
    XYBranchRec xy(drawings->Record());
    xy.SetObjType(static_cast<std::uint8_t>(kind));
    xy.SetObjMirror(-1);
    xy.SetObjPos(3);
    xy.SetTextDX(-2);
    xy.SetNxy(2);
    for (int i = 0; i < 4; ++i) xy.SetXy(i, static_cast<std::int16_t>(i * 7 - 3));
    xy.SetPage(1);
    drawings->MarkModifiedAndFlush();
  }
  tbClass* pages = m->OpenSchemeTable(kXYPageTable);
  pages->Insert(1);
  XYPageRec page(pages->Record());
  page.SetName("Схема ТП");
  page.SetSt(12);
  page.SetScale(2);
  pages->MarkModifiedAndFlush();
  m->Refresh(RefreshSender::None, 2);
  return p;
}

struct VariantCase {
  ExportVariant put;
  ImportVariant get;
  const char* path;
};

TEST(ModelExchangeTest, ExportImportExportGivesTheSameFileInEveryVariant) {
  for (const VariantCase& c :
       {VariantCase{ExportVariant::Csv, ImportVariant::Csv, "/x/m.CSV"},
        VariantCase{ExportVariant::Txt, ImportVariant::Txt, "/x/m.TXT"},
        VariantCase{ExportVariant::XmlElements1251, ImportVariant::Xml, "/x/m.XML"},
        VariantCase{ExportVariant::XmlAttributesUtf8, ImportVariant::Xml, "/x/a.XML"}}) {
    SCOPED_TRACE(c.path);
    ModelBuilder original;
    BuildPlant(original);
    const std::string first = Export(original, c.path, c.put);

    ModelBuilder copy("/models/copy.LVN");
    ImportFile(original, c.path, copy, c.get);
    const std::string second = Export(copy, c.path, c.put);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(copy.ui.Messages().empty()) << copy.ui.Messages().front();
  }
}

TEST(ModelExchangeTest, TheCheckPassesTheOwnExportOfAPlantInEveryVariant) {
  // A check stricter than the export writes would refuse the engineer's own files.
  struct Case {
    ExportVariant put;
    CsvOptions options;
    ImportVariant get;
  };
  for (const Case& c : {Case{ExportVariant::Csv, {}, ImportVariant::Csv},
                        Case{ExportVariant::Csv, {';', true}, ImportVariant::Csv},
                        Case{ExportVariant::CsvDos, {}, ImportVariant::Csv},
                        Case{ExportVariant::Txt, {}, ImportVariant::Txt},
                        Case{ExportVariant::XmlElements1251, {}, ImportVariant::Xml},
                        Case{ExportVariant::XmlElementsUtf8, {}, ImportVariant::Xml},
                        Case{ExportVariant::XmlAttributes1251, {}, ImportVariant::Xml},
                        Case{ExportVariant::XmlAttributesUtf8, {}, ImportVariant::Xml}}) {
    SCOPED_TRACE(static_cast<int>(c.put));
    ModelBuilder original;
    BuildPlant(original);
    PutClass put(original.ui, original.files, c.options);
    ASSERT_TRUE(put.OpenPath("/x/m.txt", c.put, false));
    ASSERT_TRUE(WriteModel(original.model, put));
    ASSERT_TRUE(put.Close());

    ModelBuilder copy("/models/copy.LVN");
    copy.files.Put("/x/m.txt", *original.files.Find("/x/m.txt"));
    GetClass get(copy.ui, copy.files, c.options.separator);
    ASSERT_TRUE(get.OpenPath("/x/m.txt", c.get));
    const ModelImportCounts counts = ReadModel(copy.model, get);
    EXPECT_FALSE(counts.refused);
    EXPECT_EQ(counts.problems, std::vector<std::string>{});
    EXPECT_GT(counts.applied, 30);
    EXPECT_EQ(counts.skipped, 0);
  }
}

TEST(ModelExchangeTest, ImportedModelKeepsTheTablesConsistent) {
  ModelBuilder original;
  const Plant p = BuildPlant(original);
  Export(original, "/x/m.CSV");
  ModelBuilder copy("/models/copy.LVN");
  ImportFile(original, "/x/m.CSV", copy, ImportVariant::Csv);

  // Every branch's far end holds it; every group counts its receivers.
  tbClass* branches = copy->Branches();
  // The generator's branch has no section of its own; everything else came back.
  EXPECT_EQ(branches->Count(), original->Branches()->Count() - 1);
  EXPECT_EQ(copy->FarEnds()->Count(), original->FarEnds()->Count());
  for (int n = 1; n <= branches->Count(); ++n) {
    branches->GoTo(n);
    const std::int32_t key = branches->Key();
    const std::int32_t keyEnd = BranchRec(branches->Record()).KeyEnd();
    if (keyEnd == 0) continue;
    ASSERT_TRUE(modelClass::SeekExact(copy->FarEnds(), keyEnd)) << key;
    EXPECT_EQ(FarEndRec(copy->FarEnds()->Record()).BranchKey(), key);
  }
  tbClass* groups = copy->Groups();
  groups->GoTo(1);
  EXPECT_EQ(GroupRec(groups->Record()).ReceiverCount(), 2);
  groups->GoTo(2);
  EXPECT_EQ(GroupRec(groups->Record()).ReceiverCount(), 2);

  // The capacitor keeps its phase connection, the stabiliser drawing its kind.
  EXPECT_EQ(Object<CapacitorBankRec>(copy, kKindCapacitorBank, p.capacitor).PhaseIndex(), 5);
  tbClass* drawings = copy->OpenSchemeTable(kXYBranchTable);
  ASSERT_TRUE(modelClass::SeekExact(drawings, p.stabiliser));
  EXPECT_EQ(XYBranchRec(drawings->Record()).ObjType(), kKindStabiliser);
  // Two positions of one node, one per page.
  EXPECT_EQ(copy->OpenSchemeTable(kXYNodeTable)->Count(), 2);
  // Markings and designations came back into the index.
  EXPECT_EQ(copy->Designations().KeyOf("КЛ-1"), p.cable);
  EXPECT_EQ(copy->Designations().KeyOf("грщ"), NodeMarkingCode(p.board));
  EXPECT_EQ(copy->Designations().KeyOf("П2"), 2);
}

TEST(ModelExchangeTest, RowsCarryKeysAndKindNamesInTheirExchangeForms) {
  ModelBuilder m;
  BuildPlant(m);
  const std::string text = Export(m, "/x/m.CSV");
  // The cable 1.1 … 2.1, the receiver 1.1 of group 1, the stabiliser's drawing.
  EXPECT_NE(text.find("КЛ-1,1.1,2.1,0,5,1950095,1,1950070,2,120.5,0.9,Трнш,15"), std::string::npos)
      << text;
  EXPECT_NE(text.find("Н2,Н1,1.2,"), std::string::npos);
  EXPECT_NE(text.find(",CurrentTransf,"), std::string::npos);
  EXPECT_LT(text.find("#Node,"), text.find("#Cable,"));
  EXPECT_NE(text.find("#BuswayS,"), std::string::npos);
  EXPECT_NE(text.find("#CTransf,"), std::string::npos);
  EXPECT_EQ(text.find("#Rele"), std::string::npos);
}

TEST(ModelExchangeTest, AModelWithoutObjectsWritesOnlyTheAlwaysPresentSections) {
  ModelBuilder m;
  m.Node();
  const std::string text = Export(m, "/x/m.CSV");
  for (const char* section : {"#Room,", "#Consumer,", "#PowerSupply,", "#Node,", "#XYNode,",
                              "#XYBranch,", "#XYPage,", "#Name,"}) {
    EXPECT_NE(text.find(section), std::string::npos) << section;
  }
  EXPECT_EQ(text.find("#Cable"), std::string::npos);
  EXPECT_EQ(text.find("#Branch,"), std::string::npos);
}

TEST(ModelExchangeTest, AReceiverRowWithoutKeyJoinsTheGroupItsGroupDesignationNames) {
  ModelBuilder m;
  const int node = m.Node();
  m.Group("Вентилятор");
  m.Group("Вентилятор");
  m.Group("Вентилятор");
  const int fans = m.Group("Вентилятор");
  m.Receiver(node, fans, "М-1");
  const auto named = m.Receiver(node, fans, "M0");
  ASSERT_EQ(named.number, ReceiverKey(4, 2));

  const ModelImportCounts counts = Import(m, "M1,M0,0.0,0,0,0,0,0,ABC,Y,Вентилятор\r\n");
  EXPECT_EQ(counts.applied, 1);
  EXPECT_EQ(m->Designations().KeyOf("M1"), ReceiverKey(4, 3));
  tbClass* groups = m->Groups();
  ASSERT_TRUE(modelClass::SeekExact(groups, 4));
  EXPECT_EQ(GroupRec(groups->Record()).ReceiverCount(), 3);
  // Without any group designation a new group is made after the last one.
  Import(m, "M9,,0.0,0,0,0,0,0,,Y,Печь,,0,0,380,1\r\n");
  const std::int32_t key = m->Designations().KeyOf("M9");
  EXPECT_EQ(key, ReceiverKey(5, 1));
  tbClass* receivers = m->Receivers();
  ASSERT_TRUE(modelClass::SeekExact(receivers, key));
  EXPECT_EQ(ReceiverRec(receivers->Record()).PhaseIndex(), 2) << "one phase gives A0";
}

TEST(ModelExchangeTest, SourceRowsWithoutKeyChangeNothingOrCreateTheNextSource) {
  ModelBuilder m;
  const int node = m.Node();
  m.Source(node, "Т1");
  const ModelImportCounts counts = Import(m,
                                          "#PowerSupply,Key\r\n"
                                          "Т9,0,380,0,0,0,0\r\n"
                                          "Т2,-1,660,0,0,0,255\r\n"
                                          "Т1,-1,6000,0,0,0,7\r\n");
  EXPECT_EQ(counts.applied, 2);
  EXPECT_EQ(counts.skipped, 1);
  EXPECT_EQ(m->Sources()->Count(), 2);
  ASSERT_TRUE(modelClass::SeekExact(m->Sources(), 2));
  EXPECT_EQ(SourceRec(m->Sources()->Record()).Marking(), "Т2");
  EXPECT_EQ(SourceRec(m->Sources()->Record()).VoltageIndex(), 1);
  // "Т1" found by its designation: its colour and voltage changed in place.
  ASSERT_TRUE(modelClass::SeekExact(m->Sources(), 1));
  EXPECT_EQ(SourceRec(m->Sources()->Record()).Colour(), 7);
  EXPECT_EQ(SourceRec(m->Sources()->Record()).VoltageIndex(), 2);
}

TEST(ModelExchangeTest, ImportIntoAFilledModelOverwritesOnlyTheImportedFields) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b, 95, 50);
  const std::int32_t generator = m.Branch(kKindGenerator, b);
  ASSERT_TRUE(modelClass::SeekExact(m->Nodes(), b));
  NodeRec(m->Nodes()->Record()).SetNodeType(7);
  m->Nodes()->MarkModifiedAndFlush();

  Import(m,
         "#Node,Key\r\n"
         "ШР-2,2,0,1,2,3,660,0.5,0\r\n"
         "#Cable,KeyBeg\r\n"
         "КЛ-7,1.1,2.1,0,3,95,1,0,0,75.5,1,Откр,0\r\n"
         "#XYBranch,Key\r\n"
         ",2.2,,N,1,3,0,0,0,0,1,0,4,5\r\n");
  ASSERT_TRUE(modelClass::SeekExact(m->Nodes(), b));
  const NodeRec node(m->Nodes()->Record());
  EXPECT_EQ(node.NodeType(), 7) << "a field the file does not carry stays";
  EXPECT_EQ(node.Unom(), 1);
  EXPECT_EQ(node.Z(), 3);
  EXPECT_EQ(Object<CableLineRec>(m, kKindCableLine, cable).L(), 75.5f);
  EXPECT_EQ(m.StatusOf(cable), 3);
  EXPECT_EQ(m->Designations().KeyOf("КЛ-7"), cable);
  EXPECT_EQ(m->Branches()->Count(), 2);
  EXPECT_EQ(m->FarEnds()->Count(), 1);
  // A drawing without a kind name takes the kind of its generator branch.
  ASSERT_EQ(generator, BranchKey(b, 2));
  tbClass* drawings = m->OpenSchemeTable(kXYBranchTable);
  ASSERT_TRUE(modelClass::SeekExact(drawings, generator));
  EXPECT_EQ(XYBranchRec(drawings->Record()).ObjType(), kKindGenerator);
  EXPECT_EQ(XYBranchRec(drawings->Record()).Xy(1), 5);
}

TEST(ModelExchangeTest, BranchRowsBringTheirNodesAndNeverTakeAnotherEndsSlot) {
  ModelBuilder m;
  // Only branches: their nodes are made, the far end takes its slot.
  Import(m,
         "#Breaker,KeyBeg\r\n"
         "QF1,3.1,4.1,0,255,2101,0.9\r\n"
         "#Fuse,KeyBeg\r\n"
         "FU1,4.1,5.1,0,255,7,63,50\r\n");
  EXPECT_TRUE(modelClass::SeekExact(m->Nodes(), 3));
  EXPECT_TRUE(modelClass::SeekExact(m->Nodes(), 4));
  // Branch 4.1 cannot start where the breaker's far end sits: the row is
  // skipped, and its end node is never made.
  EXPECT_FALSE(modelClass::SeekExact(m->Nodes(), 5));
  EXPECT_FALSE(modelClass::SeekExact(m->Branches(), BranchKey(4, 1)));
  // A second breaker asking for the far end 4.1 gets the next free slot of node 4.
  Import(m, "#Breaker,KeyBeg\r\nQF2,6.1,4.1,0,255,2101,0.9\r\n");
  ASSERT_TRUE(modelClass::SeekExact(m->Branches(), BranchKey(6, 1)));
  EXPECT_EQ(BranchRec(m->Branches()->Record()).KeyEnd(), BranchKey(4, 2));
  ASSERT_TRUE(modelClass::SeekExact(m->FarEnds(), BranchKey(4, 2)));
  EXPECT_EQ(FarEndRec(m->FarEnds()->Record()).BranchKey(), BranchKey(6, 1));
}

TEST(ModelExchangeTest, RowsOfAnUnknownSectionNeverReachThePreviousOne) {
  // The file is refused whole: not even the rows before the unknown section apply.
  ModelBuilder m;
  const ModelImportCounts counts = Import(m,
                                          "#Node,Key\r\n"
                                          "У1,1,0,0,0,0,380,0,0\r\n"
                                          "#Lamps,Key\r\n"
                                          "У2,2,0,0,0,0,380,0,0\r\n");
  EXPECT_TRUE(counts.refused);
  EXPECT_EQ(counts.applied, 0);
  EXPECT_EQ(m->Nodes()->Count(), 0);
}

TEST(ModelExchangeTest, ReleRowsAreReadButChangeNothing) {
  ModelBuilder m;
  const ModelImportCounts counts = Import(m, "#Rele,KeyBeg\r\nK1,1.1,0.0,0,1,5\r\n");
  EXPECT_FALSE(counts.refused);
  EXPECT_EQ(counts.skipped, 1);
  EXPECT_EQ(m->Branches()->Count(), 0);
}

TEST(ModelExchangeTest, RoomsKeepFractionsAndADesignationNeverTurnsUpTwice) {
  ModelBuilder m;
  AddRoom(m, 1, "П1", "Насосная");
  Import(m,
         "#Room,Key\r\n"
         "П1,0,Насосная станция,0.5,1.25,0,10.5,4,3,0,22,0,0\r\n"
         "П1,5,Склад,0,0,0,1,1,1,0,20,0,0\r\n");
  tbClass* rooms = m->Rooms();
  ASSERT_TRUE(modelClass::SeekExact(rooms, 1));
  EXPECT_EQ(RoomRec(rooms->Record()).Name(), "Насосная станция");
  EXPECT_EQ(RoomRec(rooms->Record()).Xmin(), 0.5f);
  EXPECT_EQ(RoomRec(rooms->Record()).DX(), 10.5f);
  // Room 5 is made, but "П1" stays with room 1.
  ASSERT_TRUE(modelClass::SeekExact(rooms, 5));
  EXPECT_EQ(RoomRec(rooms->Record()).Descript(), "");
  EXPECT_EQ(m->Designations().KeyOf("П1"), 1);
}

}  // namespace
}  // namespace kordavelt
