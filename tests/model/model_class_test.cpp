// The model's lifecycle and topology edits: each case guards a way the
// tables could come to disagree (a lost far end, a branch on a missing node,
// a source that no longer finds its branch) or a message going missing.

#include "model/model_class.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "model/scheme_records.h"
#include "refbook/spr_class.h"

namespace kordavelt::testing {
namespace {

using ::testing::ElementsAre;

bool Has(tbClass* table, std::int32_t key) { return modelClass::SeekExact(table, key); }

std::int32_t FarEndOf(ModelBuilder& m, std::int32_t branch) {
  if (!Has(m->Branches(), branch)) return -1;
  return BranchRec(m->Branches()->Record()).KeyEnd();
}

// A scheme position for every node and a drawing for every branch, so that
// Restore finds nothing hidden.
void DrawEverything(ModelBuilder& m) {
  tbClass* positions = m->OpenSchemeTable(kXYNodeTable);
  tbClass* drawings = m->OpenSchemeTable(kXYBranchTable);
  for (int n = 1; n <= m->Nodes()->Count(); ++n) {
    m->Nodes()->GoTo(n);
    modelClass::PositionOrInsert(positions, m->Nodes()->Key());
  }
  for (int n = 1; n <= m->Branches()->Count(); ++n) {
    m->Branches()->GoTo(n);
    modelClass::PositionOrInsert(drawings, m->Branches()->Key());
  }
}

// --- Opening and closing -----------------------------------------------------------------

TEST(ModelLifecycleTest, ANewModelGetsDefaultSettingsAndThePropertiesDialogOnce) {
  ModelBuilder m;
  int dialogs = 0;
  m->OnGeneralProperties = [&](modelClass&) { ++dialogs; };
  ASSERT_TRUE(m.Reopen());
  EXPECT_EQ(dialogs, 0) << "the builder's model already has its settings";

  MemoryFileSystem& files = m.files;
  modelClass fresh(m.ui, files, ModelBuilder::kProgramPath);
  fresh.OnGeneralProperties = [&](modelClass& model) {
    ++dialogs;
    EXPECT_FALSE(model.Usable()) << "the dialog comes before the tables open";
  };
  fresh.SetFileName("/models/fresh.LVN");
  ASSERT_TRUE(fresh.CreateFile());
  ASSERT_TRUE(fresh.OpenFile());
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(fresh.Usable());
  EXPECT_TRUE(fresh.Settings().HasMarker());
  EXPECT_EQ(fresh.Settings().MaxNodeNumber(), 65535);
  EXPECT_EQ(fresh.Settings().WindowLayout(), 5);
  fresh.SetAskToSave(false);
  ASSERT_TRUE(fresh.CloseFile());
  ASSERT_TRUE(fresh.OpenFile());
  EXPECT_EQ(dialogs, 1) << "the stored settings carry the marker";
  fresh.SetAskToSave(false);
  fresh.CloseFile();
}

TEST(ModelLifecycleTest, TheBookIsFoundBesideTheModelThenBesideTheProgramElseCreated) {
  ModelBuilder m;
  EXPECT_EQ(m->Book()->FileName(), "/program/Kordavelt.SPR") << "created beside the program";
  ASSERT_NE(m.files.Find("/program/Kordavelt.SPR"), nullptr);

  // A book beside the model wins.
  m.files.Copy("/program/Kordavelt.SPR", "/models/Kordavelt.SPR");
  ASSERT_TRUE(m.Reopen());
  EXPECT_EQ(m->Book()->FileName(), "/models/Kordavelt.SPR");

  // A name in the settings is looked for by its file name.
  m->Settings().SetReferenceBookName("C:\\old\\Plant.SPR");
  m.files.Copy("/program/Kordavelt.SPR", "/program/Plant.SPR");
  ASSERT_TRUE(m.Reopen());
  EXPECT_EQ(m->Book()->FileName(), "/program/Plant.SPR");
}

TEST(ModelLifecycleTest, ABookThatCannotBeOpenedLeavesTheModelWithoutTables) {
  ModelBuilder m;
  m.files.Put("/program/Kordavelt.SPR", std::vector<std::uint8_t>(4096, 0x55));
  m.model.SetAskToSave(false);
  ASSERT_TRUE(m.model.CloseFile());
  // The model's folder has no book; the program's is no database.
  ASSERT_TRUE(m.model.OpenFile());
  EXPECT_FALSE(m->Usable());
  EXPECT_EQ(m->Nodes(), nullptr);
  EXPECT_EQ(m->Book(), nullptr);
  EXPECT_EQ(m->AddNode(), 0);
  EXPECT_EQ(m->StatusText(), "Модель не открыта");
  ASSERT_FALSE(m.ui.Messages().empty());
}

TEST(ModelLifecycleTest, TheStatusLineCountsNodesAndBranchesAndNamesTheRegime) {
  ModelBuilder m;
  std::string status;
  const ModelSubscription statusLine = m->Subscribe([&](const ModelEvent& event) {
    if (event.kind == ModelEventKind::Status) status = event.text;
  });
  const int n1 = m.Node();
  const int n2 = m.Node();
  m.Cable(n1, n2);
  m->Settings().SetRegimeName(0, "Зима");
  m->ShowStatus("Готово");
  EXPECT_EQ(status, "Узлов-2  Ветвей-1  Режим-Зима  Готово");
  m.model.SetAskToSave(false);
  m.model.CloseFile();
  EXPECT_EQ(status, "Узлов-2  Ветвей-1  Режим-Зима  Модель закрыта");
  m->ShowStatus();
  EXPECT_EQ(status, "Модель не открыта");
}

TEST(ModelLifecycleTest, OpeningClearsCalculatedFlagsAndAssignsFeedingSources) {
  ModelBuilder m;
  const int n1 = m.Node();
  const int n2 = m.Node();
  m.Cable(n1, n2);
  const auto source = m.Source(n1, "Т1");
  ASSERT_TRUE(Has(m->Sources(), source.number));
  SourceRec(m->Sources()->Record()).SetCalculated(1);
  m->Sources()->MarkModifiedAndFlush();
  // The views hear once that the model is open; the session calculates then.
  int opened = 0;
  const ModelSubscription views = m->Subscribe([&](const ModelEvent& event) {
    if (event.kind != ModelEventKind::Opened) return;
    ++opened;
    EXPECT_EQ(m->FeedingSourceOfNode(n2), source.number) << "ready before the views hear";
  });
  ASSERT_TRUE(m.Reopen());
  ASSERT_TRUE(Has(m->Sources(), source.number));
  EXPECT_EQ(SourceRec(m->Sources()->Record()).Calculated(), 0);
  EXPECT_EQ(m->FeedingSourceOfNode(n2), source.number);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(m->Designations().KeyOf("т1"), source.number) << "the index is rebuilt";
}

// --- Nodes -------------------------------------------------------------------------------

TEST(NodeTest, NodesAreNumberedAfterTheLastFromTheMinimum) {
  ModelBuilder m;
  EXPECT_EQ(m.Node(), 1);
  EXPECT_EQ(m.Node(), 2);

  ModelBuilder high("/models/high.LVN");
  high->Settings().SetMinNodeNumber(100);
  EXPECT_EQ(high.Node(), 100);
  EXPECT_EQ(high.Node(), 101);
}

TEST(NodeTest, ANodeAboveTheMaximumAsksForANewBound) {
  ModelBuilder m;
  m->Nodes()->Insert(65535);
  m.ui.EnterText("70000");
  EXPECT_EQ(m.Node(), 65536);
  EXPECT_EQ(m->Settings().MaxNodeNumber(), 70000);
  ASSERT_EQ(m.ui.Calls().size(), 1u);
  EXPECT_EQ(m.ui.Calls()[0].caption, "Добавление узла");
  EXPECT_EQ(m.ui.Calls()[0].text,
            "Номер узла превысил заданное Вами ограничение 65535.#Введите новое значение верхней "
            "границы");

  // A smaller entry, or a cancel, raises the bound just enough.
  m->Settings().SetMaxNodeNumber(65536);
  m.ui.CancelInput();
  EXPECT_EQ(m.Node(), 65537);
  EXPECT_EQ(m->Settings().MaxNodeNumber(), 65537);
}

TEST(NodeTest, ANodeWithBranchesIsNotDeleted) {
  ModelBuilder m;
  const int n1 = m.Node();
  const int n2 = m.Node();
  m.Cable(n1, n2);
  m->DeleteNode(n2);
  EXPECT_TRUE(Has(m->Nodes(), n2));
  EXPECT_THAT(m.ui.Messages(),
              ElementsAre("Удаление УЗЛА: Узел № 2 имеет присоединенные ветви!#Необходимо "
                          "сначала удалить эти ветви."));
}

TEST(NodeTest, DeletingANodeTakesItsMarkingAndSchemePositions) {
  ModelBuilder m;
  const int n = m.Node();
  ASSERT_TRUE(m->Designations().AddMarking("ЩР-1", NodeMarkingCode(n), *m->Markings()));
  tbClass* positions = m->OpenSchemeTable(kXYNodeTable);
  positions->Insert(n);
  positions->Insert(n);  // drawn on two subschemes
  m->DeleteNode(n);
  EXPECT_FALSE(Has(m->Nodes(), n));
  EXPECT_FALSE(Has(m->Markings(), NodeMarkingCode(n)));
  EXPECT_FALSE(Has(positions, n));
  EXPECT_EQ(m->Designations().KeyOf("ЩР-1"), 0);
}

// --- Slots and moves --------------------------------------------------------------------

TEST(SlotTest, TheLowestSlotFreeInBothTablesIsTaken) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  m.Cable(a, b);  // a.1 and far end b.1
  EXPECT_EQ(m->FreeSlotKey(b), BranchKey(b, 2)) << "the far end holds slot 1 of b";
  EXPECT_EQ(m->FreeSlotKey(a), BranchKey(a, 2));
}

TEST(SlotTest, ANodeWithAllSlotsTakenRefusesAnotherBranchEnd) {
  ModelBuilder m;
  const int hub = m.Node();
  for (int i = 0; i < 255; ++i) ASSERT_NE(m.Branch(kKindCapacitorBank, hub), 0) << i;
  EXPECT_EQ(m->FreeSlotKey(hub), 0);
  const int other = m.Node();
  const std::int32_t cable = m.Cable(other, m.Node());
  const int branches = m->Branches()->Count();
  EXPECT_EQ(m->SwitchBranchStart(cable, hub), cable);
  EXPECT_EQ(m->Branches()->Count(), branches);
  EXPECT_TRUE(Has(m->Branches(), cable));
  ASSERT_FALSE(m.ui.Messages().empty());
  EXPECT_EQ(m.ui.Messages().back(),
            "Переключение: К узлу № 1 присоединено 255 ветвей!#Свободного присоединения нет.");
}

TEST(MoveTest, MovingTheFarEndOfANodesOnlyBranchDeletesThatNode) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const int c = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  m->SwitchBranchEnd(cable, c);
  EXPECT_FALSE(Has(m->Nodes(), b));
  EXPECT_EQ(FarEndOf(m, cable), BranchKey(c, 1));
  ASSERT_TRUE(Has(m->FarEnds(), BranchKey(c, 1)));
  EXPECT_EQ(FarEndRec(m->FarEnds()->Record()).BranchKey(), cable);
  EXPECT_FALSE(Has(m->FarEnds(), BranchKey(b, 1)));
}

TEST(MoveTest, ABranchIsNeverClosedOnItself) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  m->SwitchBranchEnd(cable, a);
  EXPECT_EQ(m->SwitchBranchStart(cable, b), cable);
  EXPECT_THAT(m.ui.Messages(), ElementsAre("Переключение: Нельзя замыкать ветвь на себя",
                                           "Переключение: Нельзя замыкать ветвь на себя"));
  EXPECT_EQ(FarEndOf(m, cable), BranchKey(b, 1));
}

TEST(MoveTest, SwitchingTheStartCarriesObjectFarEndMarkingAndSource) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const int c = m.Node();
  const std::int32_t cable = m.Cable(a, b, 77, 120.0f);
  ASSERT_TRUE(m->Designations().AddMarking("КЛ-1", cable, *m->Markings()));
  const std::int32_t moved = m->SwitchBranchStart(cable, c);
  EXPECT_EQ(moved, BranchKey(c, 1));
  EXPECT_FALSE(Has(m->Branches(), cable));
  EXPECT_FALSE(Has(m->Nodes(), a) && m->NodeHasBranches(a));
  ASSERT_TRUE(Has(m->FarEnds(), BranchKey(b, 1)));
  EXPECT_EQ(FarEndRec(m->FarEnds()->Record()).BranchKey(), moved);
  tbClass* cables = m->OpenObjectTable(kKindCableLine);
  ASSERT_TRUE(Has(cables, moved));
  EXPECT_EQ(CableLineRec(cables->Record()).Type(), 77);
  EXPECT_FALSE(Has(cables, cable));
  EXPECT_TRUE(Has(m->Markings(), moved));
  EXPECT_EQ(m->Designations().KeyOf("КЛ-1"), moved);

  const auto source = m.Source(a);
  const std::int32_t sourceMoved = m->SwitchBranchStart(source.branch, b);
  ASSERT_TRUE(Has(m->Sources(), source.number));
  EXPECT_EQ(SourceRec(m->Sources()->Record()).BranchKey(), sourceMoved);

  const auto receiver = m.Receiver(b, m.Group());
  const std::int32_t receiverMoved = m->SwitchBranchStart(receiver.branch, c);
  ASSERT_TRUE(Has(m->Receivers(), receiver.number));
  EXPECT_EQ(ReceiverRec(m->Receivers()->Record()).BranchKey(), receiverMoved);
  EXPECT_EQ(NodeOfKey(receiverMoved), c);
}

// --- Deletion and undo -------------------------------------------------------------------

TEST(DeleteTest, DeletingABranchDropsBareNodesButTheOneKept) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  m->DeleteBranch(cable, a);
  EXPECT_FALSE(Has(m->Branches(), cable));
  EXPECT_FALSE(Has(m->FarEnds(), BranchKey(b, 1)));
  EXPECT_TRUE(Has(m->Nodes(), a)) << "kept";
  EXPECT_FALSE(Has(m->Nodes(), b));
  EXPECT_TRUE(Has(m->OpenObjectTable(kKindCableLine), cable)) << "the object waits for an undo";
}

TEST(DeleteTest, UndoBringsBackTheBranchItsFarEndAndItsNodes) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  bool undoable = false;
  const ModelSubscription undo = m->Subscribe([&](const ModelEvent& event) {
    if (event.kind == ModelEventKind::UndoAvailable) undoable = event.on;
  });
  m->DeleteBranch(cable);
  EXPECT_TRUE(undoable);
  EXPECT_EQ(m->Nodes()->Count(), 0);
  m->UndoDeletion();
  EXPECT_FALSE(undoable);
  EXPECT_TRUE(Has(m->Nodes(), a));
  EXPECT_TRUE(Has(m->Nodes(), b));
  EXPECT_EQ(FarEndOf(m, cable), BranchKey(b, 1));
}

TEST(DeleteTest, ANewBranchAtTheSlotOfADeletedOneGetsAFreshObject) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t old = m.Cable(a, b, 55, 300.0f);
  m->DeleteBranch(old, a);
  const std::int32_t fresh = m.Cable(a, m.Node());
  ASSERT_EQ(fresh, old);
  tbClass* cables = m->OpenObjectTable(kKindCableLine);
  ASSERT_TRUE(Has(cables, fresh));
  EXPECT_EQ(CableLineRec(cables->Record()).Type(), 0);
  EXPECT_EQ(cables->Count(), 1) << "no second record under the same key";
}

// --- Frame copy ----------------------------------------------------------------------------

TEST(CopyTest, ACopiedNodeKeepsItsRecordButNoMarking) {
  ModelBuilder m;
  const int n = m.Node();
  ASSERT_TRUE(Has(m->Nodes(), n));
  NodeRec(m->Nodes()->Record()).SetUnom(2);
  NodeRec(m->Nodes()->Record()).SetCodRoom(4);
  m->Nodes()->MarkModifiedAndFlush();
  const int copy = m->CopyNode(n);
  EXPECT_EQ(copy, 2);
  ASSERT_TRUE(Has(m->Nodes(), copy));
  EXPECT_EQ(NodeRec(m->Nodes()->Record()).Unom(), 2);
  EXPECT_EQ(NodeRec(m->Nodes()->Record()).CodRoom(), 4);

  m->Nodes()->Insert(32767);
  EXPECT_EQ(m->CopyNode(n), 0);
}

TEST(CopyTest, ACopiedBranchKeepsItsSlotsWhereTheyAreFree) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  m.Branch(kKindCapacitorBank, a);              // slot 1 of a
  const std::int32_t cable = m.Cable(a, b, 9);  // a.2 → b.1
  const int s = m.Node();
  const int e = m.Node();
  const std::int32_t copy = m->CopyBranch(cable, s, e);
  EXPECT_EQ(copy, BranchKey(s, 2));
  EXPECT_EQ(FarEndOf(m, copy), BranchKey(e, 1));
  ASSERT_TRUE(Has(m->OpenObjectTable(kKindCableLine), copy));
  EXPECT_EQ(CableLineRec(m->OpenObjectTable(kKindCableLine)->Record()).Type(), 9);

  // Taken slots give way to the lowest free ones.
  const std::int32_t second = m->CopyBranch(cable, s, e);
  EXPECT_EQ(second, BranchKey(s, 1));
  EXPECT_EQ(FarEndOf(m, second), BranchKey(e, 2));
}

TEST(CopyTest, ACopiedSourceBelongsToNoSourceRecord) {
  ModelBuilder m;
  const int a = m.Node();
  const auto source = m.Source(a);
  const int s = m.Node();
  const std::int32_t copy = m->CopyBranch(source.branch, s, 0);
  EXPECT_EQ(copy, BranchKey(s, 0));
  tbClass* objects = m->OpenObjectTable(kKindPowerSource);
  ASSERT_TRUE(Has(objects, copy));
  EXPECT_EQ(SourceObjectRec(objects->Record()).SourceNumber(), 0);
}

// --- Regimes and feeding ---------------------------------------------------------------------

TEST(RegimeTest, ToggleChangesOnlyTheBitOfTheCurrentRegime) {
  ModelBuilder m;
  const std::int32_t cable = m.Cable(m.Node(), m.Node());
  m.SetStatus(cable, 0x00FF);
  m->SetRegime(3);
  EXPECT_FALSE(m->ToggleBranch(cable));
  EXPECT_EQ(m.StatusOf(cable), 0x00F7);
  EXPECT_TRUE(m->ToggleBranch(cable));
  EXPECT_EQ(m.StatusOf(cable), 0x00FF);
}

TEST(FeedingTest, AReceiverSwitchedOffInTheRegimeIsFedByNoSource) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const auto source = m.Source(a);
  const std::int32_t cable = m.Cable(a, b);
  const int group = m.Group();
  const auto receiver = m.Receiver(b, group);
  const auto fedBy = [&] {
    Has(m->Receivers(), receiver.number);
    return ReceiverRec(m->Receivers()->Record()).SourceNumber();
  };
  EXPECT_EQ(fedBy(), source.number);
  Has(m->Groups(), group);
  EXPECT_EQ(GroupRec(m->Groups()->Record()).WorkingCount(), 1);

  m.SetStatus(cable, 0x00FE);  // off in regime 0 only
  m->Refresh(RefreshSender::None, 2);
  EXPECT_EQ(fedBy(), 0);
  EXPECT_EQ(m->FeedingSourceOfNode(b), 0);
  Has(m->Groups(), group);
  EXPECT_EQ(GroupRec(m->Groups()->Record()).WorkingCount(), 0);

  m->SetRegime(1);
  m->Refresh(RefreshSender::None, 2);
  EXPECT_EQ(fedBy(), source.number);
  EXPECT_EQ(m->FeedingSourceOfNode(b), source.number);
}

TEST(FeedingTest, TwoSourcesOnANodeTheMapKeepsTheLowerTheReceiverTheHigher) {
  ModelBuilder m;
  const int a = m.Node();
  const auto first = m.Source(a);
  const auto second = m.Source(a);
  const int group = m.Group();
  const auto receiver = m.Receiver(a, group);
  EXPECT_EQ(m->FeedingSourceOfNode(a), first.number);
  Has(m->Receivers(), receiver.number);
  EXPECT_EQ(ReceiverRec(m->Receivers()->Record()).SourceNumber(), second.number);
  Has(m->Groups(), group);
  EXPECT_EQ(GroupRec(m->Groups()->Record()).WorkingCount(), 2) << "counted once per source";
}

TEST(FeedingTest, ASourceWhoseBranchIsGoneIsNoLongerPlaced) {
  ModelBuilder m;
  const int a = m.Node();
  const auto source = m.Source(a);
  Has(m->Branches(), source.branch);
  m->Branches()->Delete();
  m->AssignFeedingSources();
  Has(m->Sources(), source.number);
  EXPECT_EQ(SourceRec(m->Sources()->Record()).BranchKey(), 0);
}

TEST(RegimeTest, TheRegimeTableChoosesANamedRowAndNamesAnEmptyOne) {
  ModelBuilder m;
  m->Settings().SetRegimeName(2, "Ремонт");
  m.ui.ChooseTableRow(3);
  m->ChooseRegime();
  EXPECT_EQ(m->Regime(), 2);
  ASSERT_EQ(m.ui.Calls().back().caption, "Переключение режимов схемы");

  m.ui.AnswerTable([](TableOwner& owner, TableForm& form) {
    form.lineNo = 5;
    owner.OnLine(form);
    EXPECT_EQ(form.line, "5#");
    EXPECT_EQ(form.editCodes[1], 'T');
    form.curRow = 5;
    form.editText = "Авария";
    owner.OnEdit(form);
    return form.refresh == Refresh::CloseWindow;
  });
  m->ChooseRegime();
  EXPECT_EQ(m->Regime(), 4);
  EXPECT_EQ(m->RegimeName(4), "Авария");
}

// --- Selection and restore -------------------------------------------------------------------

TEST(SelectTest, AMissingBranchIsReportedAsNodeAndSlot) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  const BranchEnds ends = m->SelectBranch(cable);
  EXPECT_TRUE(ends.found);
  EXPECT_EQ(ends.startNode, a);
  EXPECT_EQ(ends.endNode, b);
  EXPECT_FALSE(m->SelectBranch(BranchKey(12, 3)).found);
  EXPECT_THAT(m.ui.Messages(), ElementsAre("Не соответствие: В модели не найдена ветвь 12.3"));
}

TEST(RestoreTest, AnOrphanFarEndIsRemovedAndNothingElseReported) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  m.Cable(a, b);
  m->FarEnds()->Insert(BranchKey(b, 7));
  FarEndRec(m->FarEnds()->Record()).SetBranchKey(BranchKey(a, 9));
  m->FarEnds()->MarkModifiedAndFlush();
  DrawEverything(m);
  m->Restore();
  EXPECT_FALSE(Has(m->FarEnds(), BranchKey(b, 7)));
  EXPECT_EQ(m->FarEnds()->Count(), 1);
  EXPECT_THAT(m.ui.Messages(), ElementsAre("Восстановление БДМ: Восстановление выполнено"));
}

TEST(RestoreTest, MissingNodesAndFarEndsComeBackAndOrphanObjectsGo) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  const std::int32_t cable = m.Cable(a, b);
  Has(m->FarEnds(), BranchKey(b, 1));
  m->FarEnds()->Delete();
  Has(m->Nodes(), b);
  m->Nodes()->Delete();
  tbClass* fuses = m->OpenObjectTable(kKindFuse);
  fuses->Insert(BranchKey(40, 1));  // no branch of its own
  tbClass* breakers = m->OpenObjectTable(kKindBreaker);
  breakers->Insert(cable);  // the branch says it carries a cable
  breakers->MarkModifiedAndFlush();
  m->OpenObjectTable(kKindCableLine)->Seek(cable);
  m->OpenObjectTable(kKindCableLine)->Delete();

  m.ui.PressButton("Нет");
  m->Restore();
  EXPECT_TRUE(Has(m->Nodes(), b));
  ASSERT_TRUE(Has(m->FarEnds(), BranchKey(b, 1)));
  EXPECT_EQ(FarEndRec(m->FarEnds()->Record()).BranchKey(), cable);
  EXPECT_FALSE(Has(fuses, BranchKey(40, 1)));
  Has(m->Branches(), cable);
  EXPECT_EQ(BranchRec(m->Branches()->Record()).Kind(), kKindBreaker);
  // Nothing of this model is on the scheme: deleting the hidden elements
  // would delete the network, and the question says so, with "Нет" first.
  EXPECT_THAT(m.ui.Messages(),
              ElementsAre("Восстановление: На схеме нет ни одного узла и ни одной ветви.#"
                          "Удаление невидимых объектов удалит всю сеть: узлов 2, ветвей 1.#"
                          "Удалить всю сеть?",
                          "Восстановление БДМ: Восстановление выполнено"));
  EXPECT_EQ(m.ui.Calls().front().defaultButton, 2);
}

TEST(RestoreTest, HiddenElementsAreDeletedOnYes) {
  ModelBuilder m;
  const int a = m.Node();
  const int b = m.Node();
  m.Cable(a, b);
  DrawEverything(m);
  const int lone = m.Node();  // no scheme position
  const std::int32_t hidden = m.Cable(a, m.Node());
  m.ui.PressButton("Да");
  m->Restore();
  EXPECT_EQ(m.ui.Messages().front(),
            "Восстановление: Имеются невидимые объекты! (2и1)#Выполнить их удаление?");
  EXPECT_EQ(m.ui.Calls().front().defaultButton, 2) << "Enter answers the safe Нет";
  EXPECT_FALSE(Has(m->Branches(), hidden));
  EXPECT_FALSE(Has(m->Nodes(), lone));
  EXPECT_EQ(m->Nodes()->Count(), 2);
  EXPECT_EQ(m->Branches()->Count(), 1);
}

// --- Window layouts ----------------------------------------------------------------------------

TEST(LayoutTest, AChosenLayoutBecomesCurrentAndACancelKeepsIt) {
  ModelBuilder m;
  std::vector<int> current;
  m.ui.ChooseItem(2);
  m->ChooseWindowLayout();
  current.push_back(m->Settings().WindowLayout());
  m.ui.CancelInput();
  m->ChooseWindowLayout();
  current.push_back(m->Settings().WindowLayout());
  m->Settings().SetDefaultWindowLayout(1);
  m->DefaultWindowLayout();
  current.push_back(m->Settings().WindowLayout());
  EXPECT_EQ(current, (std::vector<int>{3, 3, 1}));
  EXPECT_EQ(m.ui.Calls()[0].caption, "Схема расположения окон");
}

}  // namespace
}  // namespace kordavelt::testing
