// The model check against the faults the engine's index check cannot see: a
// data page of zeros (keys 0, 0, 0 ascend like any others) or a page of
// another table where a model page was, a key twice, a field no operation of
// the program writes. Found by zeroing single pages of a model: 35 of 71
// zeroings passed `check`. And against the opposite fault, a rule that a
// model the program wrote breaks: a false alarm tells the engineer that days
// of sound work are damaged.

#include "model/model_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_connect.h"
#include "model/object_records.h"
#include "model/scheme_records.h"
#include "storage/db_format.h"
#include "storage/db_reader.h"
#include "support/db_image_builder.h"

namespace kordavelt::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using FileBytes = std::vector<std::uint8_t>;

std::vector<std::string> Texts(const std::vector<DbProblem>& problems) {
  std::vector<std::string> texts;
  for (const DbProblem& problem : problems) texts.push_back(problem.text);
  return texts;
}

std::vector<std::string> ModelProblems(const FileBytes& bytes) {
  MemoryFile file(bytes, true);
  return Texts(CheckModelFile(file));
}

std::vector<std::string> EngineProblems(const FileBytes& bytes) {
  MemoryFile file(bytes, true);
  return Texts(DbReader(file, db::FileKind::Model).Check());
}

ConstBytes PageOf(const FileBytes& bytes, int page) {
  const std::size_t at = db::PageOffset(page);
  if (at >= bytes.size()) return {};
  return ConstBytes(bytes).subspan(at, std::min<std::size_t>(db::kPageSize, bytes.size() - at));
}

// The data pages of a table with a one-level index, in key order.
std::vector<int> DataPages(const FileBytes& bytes, int table) {
  const ConstBytes root = PageOf(bytes, db::RootPage(PageOf(bytes, 0), table));
  std::vector<int> pages;
  if (root.empty() || db::IndexLevel(root) != db::kLevelOneLevelRoot) return pages;
  for (int entry = 1; entry <= db::IndexEntryCount(root); ++entry) {
    pages.push_back(db::EntryPage(root, entry));
  }
  return pages;
}

FileBytes WithPage(FileBytes bytes, int page, ConstBytes contents) {
  const std::size_t at = db::PageOffset(page);
  std::copy(contents.begin(), contents.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(at + contents.size()),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + PageOf(bytes, page).size()), 0);
  return bytes;
}

FileBytes Zeroed(const FileBytes& bytes, int page) { return WithPage(bytes, page, {}); }

void Mark(ModelBuilder& m, std::int32_t code, std::string_view text) {
  m->Designations().AddMarking(text, code, *m->Markings());
}

// Every node on subscheme 1, `twice` on subscheme 2 as well; every branch drawn.
void DrawOnTwoSubschemes(ModelBuilder& m, int twice) {
  tbClass* pages = m->OpenSchemeTable(kXYPageTable);
  for (const int page : {1, 2}) {
    modelClass::PositionOrInsert(pages, page);
    XYPageRec(pages->Record()).SetName(page == 1 ? "Главная" : "Цех");
    pages->MarkModifiedAndFlush();
  }
  tbClass* positions = m->OpenSchemeTable(kXYNodeTable);
  for (int n = 1; n <= m->Nodes()->Count(); ++n) {
    m->Nodes()->GoTo(n);
    const int node = m->Nodes()->Key();
    for (int page = 1; page <= (node == twice ? 2 : 1); ++page) {
      positions->Insert(node);
      XYNodeRec(positions->Record()).SetPage(static_cast<std::uint8_t>(page));
      positions->MarkModifiedAndFlush();
    }
  }
  tbClass* drawings = m->OpenSchemeTable(kXYBranchTable);
  for (int n = 1; n <= m->Branches()->Count(); ++n) {
    m->Branches()->GoTo(n);
    modelClass::PositionOrInsert(drawings, m->Branches()->Key());
    XYBranchRec(drawings->Record()).SetPage(1);
    drawings->MarkModifiedAndFlush();
  }
}

// A plant large enough that nodes, branches, far ends and cable objects fill
// several data pages each: 200 busbars in a row with three parallel 95 mm²
// cables between neighbours, a transformer feeding the first busbar, two
// pumps on the last, markings, a name and a room, drawn on two subschemes.
FileBytes BuildPlant() {
  constexpr int kBusbars = 200;
  ModelBuilder m;
  const int last = m.Nodes(kBusbars);
  const int first = last - kBusbars + 1;
  for (int node = first; node < last; ++node) {
    for (int cable = 0; cable < 3; ++cable) m.Cable(node, node + 1, 1100207, 50.0f);
  }
  const auto transformer = m.Source(first, "Т1");
  const int pumps = m.Group("Насос");
  m.Receiver(last, pumps, "М1");
  m.Receiver(last, pumps, "М2");
  Mark(m, NodeMarkingCode(first), "ТП-1");
  Mark(m, transformer.branch + 1, "КЛ-1");
  m->Names()->Insert(1);
  NameRec(m->Names()->Record()).SetText("Насосная станция");
  m->Names()->MarkModifiedAndFlush();
  m->Rooms()->Insert(1);
  RoomRec(m->Rooms()->Record()).SetDescript("Ц1");
  m->Rooms()->MarkModifiedAndFlush();
  DrawOnTwoSubschemes(m, last);
  return m.FileBytes();
}

const FileBytes& Plant() {
  static const FileBytes plant = BuildPlant();
  return plant;
}

TEST(ModelCheck, ASoundPlantPassesIt) { EXPECT_THAT(ModelProblems(Plant()), IsEmpty()); }

// The attack itself, on every page of the file: the header, the settings
// block, every index page and every data page, nodes and branches filling
// several each. A page that is all zeros already (an empty table's data page)
// has nothing to lose. The regression among them: a zeroed first data page
// holds keys 0, 0, 0 …, which ascend, and passed the engine's check.
TEST(ModelCheck, EveryPageOfAPlantZeroedIsReported) {
  for (const int table : {kNodeTable, kBranchTable}) {
    ASSERT_GE(DataPages(Plant(), table).size(), 3u) << "table " << table << " fills too few pages";
  }
  const int lastPage = static_cast<int>((Plant().size() - 1) / db::kPageSize);
  for (int page = 0; page <= lastPage; ++page) {
    if (std::ranges::all_of(PageOf(Plant(), page), [](std::uint8_t b) { return b == 0; })) continue;
    EXPECT_THAT(ModelProblems(Zeroed(Plant(), page)), Not(IsEmpty())) << "page " << page;
  }
  const FileBytes firstNodes = Zeroed(Plant(), DataPages(Plant(), kNodeTable).front());
  EXPECT_THAT(EngineProblems(firstNodes), IsEmpty()) << "no longer the regression's page";
  EXPECT_THAT(ModelProblems(firstNodes), Contains(HasSubstr("ключ 0: номер узла")));
}

TEST(ModelCheck, APageOfAnotherTableOverABranchPageIsReported) {
  const std::vector<int> branches = DataPages(Plant(), kBranchTable);
  for (const int table : {kNodeTable, kFarEndTable, kCableLineTable}) {
    const int foreign = DataPages(Plant(), table)[1];
    const FileBytes bytes = WithPage(Plant(), branches[1], PageOf(Plant(), foreign));
    EXPECT_THAT(ModelProblems(bytes), Not(IsEmpty())) << "a data page of table " << table;
  }
}

// --- The rules, one fault at a time ----------------------------------------------------

// The problems of a model built by `edit`, the model check's alone.
template <class Edit>
std::vector<std::string> ProblemsAfter(Edit edit) {
  ModelBuilder m;
  edit(m);
  return ModelProblems(m.FileBytes());
}

void InsertRaw(tbClass* table, std::int32_t key) {
  table->Insert(key);
  table->MarkModifiedAndFlush();
}

TEST(ModelCheck, AKeyTwiceIsReportedButANodeOnTwoSubschemesIsNot) {
  EXPECT_THAT(ProblemsAfter([](ModelBuilder& m) {
                m.Nodes(3);
                InsertRaw(m->Nodes(), 2);
              }),
              ElementsAre("Ошибка данных таблицы № 2 (Узлы): запись № 3, ключ 2: ключ "
                          "повторяется"));

  const auto drawnOn = [](std::initializer_list<int> pages) {
    return ProblemsAfter([pages](ModelBuilder& m) {
      const int node = m.Node();
      tbClass* positions = m->OpenSchemeTable(kXYNodeTable);
      for (const int page : pages) {
        positions->Insert(node);
        XYNodeRec(positions->Record()).SetPage(static_cast<std::uint8_t>(page));
        positions->MarkModifiedAndFlush();
      }
    });
  };
  EXPECT_THAT(drawnOn({1, 2}), IsEmpty());
  EXPECT_THAT(drawnOn({1, 1}),
              ElementsAre("Ошибка данных таблицы № 201 (Схема: узлы): запись № 2, ключ 1: "
                          "повторяется вместе с полем «Page» = 1"));
}

TEST(ModelCheck, KeysOutsideTheirTablesRangeAreReported) {
  const std::vector<std::string> problems = ProblemsAfter([](ModelBuilder& m) {
    const int node = m.Node();
    InsertRaw(m->Sources(), 256);
    InsertRaw(m->Receivers(), ReceiverKey(2, 0));
    InsertRaw(m->Groups(), 369098765);  // its receivers' keys would overflow
    InsertRaw(m->FarEnds(), BranchKey(node, 0));
    FarEndRec(m->FarEnds()->Record()).SetBranchKey(BranchKey(node, 1));
    m->FarEnds()->MarkModifiedAndFlush();
    InsertRaw(m->OpenObjectTable(kKindCableLine), BranchKey(node, 0));
    InsertRaw(m->Markings(), 7);
    InsertRaw(m->OpenSchemeTable(kXYPageTable), 256);
  });
  EXPECT_THAT(problems,
              ElementsAre("Ошибка данных таблицы № 4 (Концы ветвей): запись № 1, ключ 256: ключ "
                          "должен быть узел × 256 + присоединение 1…255, узел от 1 до 8388606",
                          HasSubstr("№ 5 (Источники питания): запись № 1, ключ 256: номер ИП "
                                    "должен быть от 1 до 255"),
                          HasSubstr("№ 6 (Электроприемники): запись № 1, ключ 2048: ключ ЭП"),
                          HasSubstr("ключ 369098765: номер группы должен быть от 1 до 2097151"),
                          HasSubstr("№ 9 (Обозначения): запись № 1, ключ 7: ключ ветви"),
                          HasSubstr("№ 111 (Кабельная линия): запись № 1, ключ 256"),
                          HasSubstr("№ 203 (Схема: подсхемы): запись № 1, ключ 256: номер "
                                    "подсхемы должен быть от 1 до 255")));
}

TEST(ModelCheck, FieldsNoOperationWritesAreReported) {
  const std::vector<std::string> problems = ProblemsAfter([](ModelBuilder& m) {
    const int n1 = m.Node();
    const int n2 = m.Node();
    const std::int32_t cable = m.Cable(n1, n2, 0, std::numeric_limits<float>::quiet_NaN());
    ASSERT_TRUE(modelClass::SeekExact(m->Nodes(), n2));
    NodeRec(m->Nodes()->Record()).SetUnom(6);
    m->Nodes()->MarkModifiedAndFlush();
    ASSERT_TRUE(modelClass::SeekExact(m->Branches(), cable));
    BranchRec(m->Branches()->Record()).SetKind(7);
    m->Branches()->MarkModifiedAndFlush();
    InsertRaw(m->Branches(), BranchKey(n2, 0));
    BranchRec(m->Branches()->Record()).SetKind(kKindCableLine);
    m->Branches()->MarkModifiedAndFlush();
    Mark(m, NodeMarkingCode(n1), "ТП");
    ASSERT_TRUE(modelClass::SeekExact(m->Markings(), NodeMarkingCode(n1)));
    m->Markings()->Record()[0] = 20;
    m->Markings()->MarkModifiedAndFlush();
  });
  EXPECT_THAT(problems, Contains(HasSubstr("(Узлы): запись № 2, ключ 2: поле «Unom»: индекс "
                                           "напряжения 6 вне списка напряжений 0…5")));
  EXPECT_THAT(problems, Contains(HasSubstr("(Ветви): запись № 1, ключ 257: поле «Kind»: нет "
                                           "вида объекта с кодом 7")));
  EXPECT_THAT(problems, Contains(HasSubstr("(Ветви): запись № 2, ключ 512: поле «Kind»: на "
                                           "присоединении 0 бывает только источник питания")));
  EXPECT_THAT(problems, Contains(HasSubstr("(Кабельная линия): запись № 1, ключ 257: поле «L»: "
                                           "не число")));
  EXPECT_THAT(problems, Contains(HasSubstr("(Обозначения): запись № 1, ключ 256: поле "
                                           "«Descript»: длина строки 20 больше 19")));
  EXPECT_EQ(problems.size(), 5u) << ::testing::PrintToString(problems);
}

TEST(ModelCheck, ReferencesThatAreNoKeysOfTheirKindAreReported) {
  const std::vector<std::string> problems = ProblemsAfter([](ModelBuilder& m) {
    const int node = m.Node();
    const auto source = m.Source(node, "Т1");
    InsertRaw(m->FarEnds(), BranchKey(node, 1));
    FarEndRec(m->FarEnds()->Record()).SetBranchKey(5);
    m->FarEnds()->MarkModifiedAndFlush();
    ASSERT_TRUE(modelClass::SeekExact(m->Sources(), source.number));
    SourceRec(m->Sources()->Record()).SetBranchKey(-3);
    m->Sources()->MarkModifiedAndFlush();
    tbClass* objects = m->OpenObjectTable(kKindPowerSource);
    ASSERT_TRUE(modelClass::SeekExact(objects, source.branch));
    SourceObjectRec(objects->Record()).SetSourceNumber(300);
    objects->MarkModifiedAndFlush();
  });
  EXPECT_THAT(problems, ElementsAre(HasSubstr("поле «KeyBeg»: 5 — не ключ ветви"),
                                    HasSubstr("поле «KeyBranch»: -3 — не ключ ветви"),
                                    HasSubstr("поле «SourceNumber»: 300 — не номер ИП")));
}

TEST(ModelCheck, ASettingsBlockWithoutItsMarkerIsReported) {
  const FileBytes bytes =
      DbImageBuilder::Model().RawBlock(kSettingsBlock, FileBytes(1469)).Build().Data();
  EXPECT_THAT(ModelProblems(bytes),
              ElementsAre("Ошибка данных блока № 1 (Настройки модели): нет метки настроек, "
                          "настройки модели потеряны"));
}

TEST(ModelCheck, AModelTableOfAnotherRecordLengthIsReportedAndItsFieldsAreNotRead) {
  const FileBytes bytes =
      DbImageBuilder::Model().Table(kNodeTable, 30, PatternRecords({5, 6}, 30)).Build().Data();
  EXPECT_THAT(ModelProblems(bytes),
              ElementsAre("Ошибка данных таблицы № 2 (Узлы): длина записи 30 вместо 34"));
}

TEST(ModelCheck, ManyProblemsInOneTableEndInOneSummaryLine) {
  const std::vector<std::string> problems = ProblemsAfter([](ModelBuilder& m) {
    for (int i = 0; i < 30; ++i) InsertRaw(m->Sources(), 300 + i);
  });
  ASSERT_EQ(problems.size(), kMaxProblemsPerTable + 1);
  EXPECT_EQ(problems.back(),
            "Ошибка данных таблицы № 5 (Источники питания): прочие ошибки таблицы не показаны");
}

// --- No false alarms -------------------------------------------------------------------

// Every kind of object, as the program connects them, then the edits that
// leave unusual but sound records behind: a copied source object naming no
// source, an object outliving its deleted branch, a source moved off slot 0,
// node numbers past 65535 once the engineer raised the bound.
TEST(ModelCheck, WhatTheProgramsOwnEditsLeaveIsNotReported) {
  ModelBuilder m;
  m->Settings().SetMinNodeNumber(70000);
  m->Settings().SetMaxNodeNumber(80000);
  const int n1 = m.Node();
  const int n2 = m.Node();
  ASSERT_EQ(n1, 70000);
  for (const ObjectKind& kind : ObjectKinds()) {
    if (kind.code == kKindNode) continue;
    EXPECT_NE(m.Branch(kind.code, n1, KindHasFarEnd(kind.code) ? n2 : 0), 0) << kind.caption;
  }
  const auto source = m.Source(n2, "Т2");
  m.Receiver(n2, m.Group("Освещение"), "ЭП1");
  const int n3 = m->CopyNode(n2);
  m->CopyBranch(source.branch, n3, 0);
  const std::int32_t moved = m->SwitchBranchStart(source.branch, n1);
  m->SwitchBranchEnd(m.Cable(n1, n2), n3);
  m->DeleteBranch(m.Breaker(n2, n3), 0);
  m->UndoDeletion();
  m->DeleteBranch(moved, 0);
  m.ui.PressButton("Нет");
  m->Restore();
  EXPECT_THAT(ModelProblems(m.FileBytes()), IsEmpty());
  ASSERT_TRUE(m.Reopen());
  EXPECT_THAT(ModelProblems(m.FileBytes()), IsEmpty());
}

}  // namespace
}  // namespace kordavelt::testing
