// The program's session over a real small model in memory: a source, a
// breaker, a cable and a receiver, with its catalogue types in the book
// beside the program. The faults guarded: windows left pointing into a
// closed model, a failed open that leaves the user without the model he
// had, a save question whose cancel still closes (or that is asked where
// nothing is to be decided), state of one model leaking into the next, file
// commands that do not tell the main window what is open, tables that show
// values older than the model, and hooks that never reach it.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/number_format.h"
#include "calc/calc_class.h"
#include "calc/network_fixture.h"
#include "exchange/export_variant.h"
#include "model/model_kinds.h"
#include "model/object_connect.h"
#include "refbook/book_owner.h"
#include "shell/model_session.h"
#include "shell/text_files.h"
#include "table/table_driver.h"

namespace kordavelt::testing {
namespace {

constexpr const char* kModel = ModelBuilder::kModelPath;
constexpr const char* kSaveQuestion = "Cохранить изменения ?";

constexpr TableWindowId kWindows[] = {TableWindowId::Sources, TableWindowId::Receivers,
                                      TableWindowId::Groups, TableWindowId::Book,
                                      TableWindowId::Results};

class ModelSessionTest : public NetworkFixture {
 protected:
  ModelSessionTest() {
    const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
    Source(n1, 400, 0);
    s.m.Breaker(n1, n2);
    cable_ = Cable(n2, n3, 100);
    Load(n3, Group(20, 0.9, 400));
    // The model is written and closed; from here on the session has it.
    s.m->SetAskToSave(false);
    s.m->CloseFile();
    nodes_ = 3;

    session_ = std::make_unique<ModelSession>(ui(), s.m.files, ModelBuilder::kProgramPath);
    session_->OnCaption = [this](const std::string& text) { captions_.push_back(text); };
    session_->OnStatus = [this](const std::string& text) { status_ = text; };
    session_->OnModelPresent = [this](bool present) { present_.push_back(present); };
    session_->OnModelMenus = [this](bool shown) { menus_.push_back(shown); };
    session_->OnModelPath = [this](const std::string& path) { paths_.push_back(path); };
    session_->OnShowWindow = [this](TableWindowId id) { shown_.push_back(id); };
    session_->OnRepaintWindow = [this](TableWindowId id) { repainted_.push_back(id); };
    session_->OnHideAllWindows = [this] { ++hidden_; };
    session_->OnArrangeWindows = [this](int layout) { layouts_.push_back(layout); };
  }
  ~ModelSessionTest() override { session_.reset(); }

  ScriptedUiHost& ui() { return s.m.ui; }
  ModelSession& session() { return *session_; }
  modelClass& model() { return session_->Model(); }
  int NodeCount() { return model().Nodes()->Count(); }
  bool Repainted(TableWindowId id) {
    return std::find(repainted_.begin(), repainted_.end(), id) != repainted_.end();
  }
  bool EveryWindow(bool present) {
    for (const TableWindowId id : kWindows) {
      if ((session_->Owner(id) != nullptr) != present) return false;
      if ((session_->Form(id) != nullptr) != present) return false;
    }
    return true;
  }

  TableDriver Driver(TableWindowId id) {
    return TableDriver(*session_->Owner(id), *session_->Form(id), ui());
  }
  // Column `col` of the row of a result table whose column 1 reads `label`.
  std::string ResultCell(std::string_view label, int col) {
    TableDriver results = Driver(TableWindowId::Results);
    for (int row = 1; row <= results.RowCount(); ++row) {
      if (results.Cell(row, 1) == label) return results.Cell(row, col);
    }
    return "(нет строки " + std::string(label) + ")";
  }

  std::int32_t cable_ = 0;
  int nodes_ = 0;
  std::unique_ptr<ModelSession> session_;
  std::vector<std::string> captions_;
  std::string status_;
  std::vector<bool> present_;
  std::vector<bool> menus_;
  std::vector<std::string> paths_;
  std::vector<TableWindowId> shown_;
  std::vector<TableWindowId> repainted_;
  int hidden_ = 0;
  std::vector<int> layouts_;
};

// --- Opening and closing ------------------------------------------------------------------

TEST_F(ModelSessionTest, OpeningAModelMakesItsWindowsAndCalculates) {
  EXPECT_TRUE(EveryWindow(false));
  ASSERT_TRUE(session().OpenModel(kModel));

  EXPECT_EQ(captions_.back(), "Kordavelt test");
  EXPECT_EQ(present_, std::vector<bool>{true});
  EXPECT_EQ(menus_, std::vector<bool>{true});
  EXPECT_EQ(paths_, std::vector<std::string>{kModel});
  EXPECT_EQ(layouts_, std::vector<int>{5});  // the standard layout of a model
  EXPECT_TRUE(session().Usable());
  EXPECT_TRUE(EveryWindow(true));
  // The calculation ran at the open and its protocol is in the status line.
  EXPECT_FALSE(session().Calc()->Invalid());
  EXPECT_TRUE(status_.starts_with("Узлов-3  Ветвей-4")) << status_;
  EXPECT_EQ(session().Form(TableWindowId::Sources)->rowCount, 1);
  EXPECT_TRUE(ui().Messages().empty()) << ui().Messages().front();
}

// The session makes the windows, lays them out and calculates when the model
// tells it opened; a view of its own hears the first calculation and every
// one after, and the settings edited in the properties dialog.
TEST_F(ModelSessionTest, ViewsOfTheModelHearItOpenCalculatedAndItsSettingsEdited) {
  std::vector<ModelEventKind> heard;
  const ModelSubscription view = model().Subscribe([&](const ModelEvent& event) {
    if (event.kind == ModelEventKind::Opened) {
      EXPECT_TRUE(EveryWindow(true));
    }
    if (event.kind != ModelEventKind::Status && event.kind != ModelEventKind::UndoAvailable &&
        event.kind != ModelEventKind::Refresh && event.kind != ModelEventKind::Caption) {
      heard.push_back(event.kind);
    }
  });
  ASSERT_TRUE(session().OpenModel(kModel));
  // The session hears Opened first, and calculates before it reaches the view.
  EXPECT_EQ(heard, (std::vector{ModelEventKind::Calculated, ModelEventKind::Opened}));

  heard.clear();
  int dialogs = 0;
  session().OnGeneralProperties = [&](modelClass&) { ++dialogs; };
  session().Calculate();
  session().GeneralProperties();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(heard, (std::vector{ModelEventKind::Calculated, ModelEventKind::SettingsChanged}));

  heard.clear();
  model().Settings().SetRegimeName(1, "Лето");
  ui().ChooseTableRow(2);
  ASSERT_TRUE(session().RunDataCommand(DataCommand::Regimes));
  EXPECT_EQ(heard, (std::vector{ModelEventKind::RegimeChanged, ModelEventKind::Calculated}))
      << "the regimes table is followed by the calculation";
}

// A node or branch added to the network makes the results stale, so that
// the result tables calculate again before they show anything.
TEST_F(ModelSessionTest, AnAddedNodeOrBranchInvalidatesTheResults) {
  ASSERT_TRUE(session().OpenModel(kModel));
  CalcClass& calc = *session().Calc();
  ASSERT_FALSE(calc.Invalid());
  const int node = model().AddNode();
  EXPECT_TRUE(calc.Invalid());
  session().Calculate();
  ASSERT_FALSE(calc.Invalid());
  ASSERT_NE(ConnectObject(model(), kKindCableLine, nodes_, node), 0);
  EXPECT_TRUE(calc.Invalid());
}

// The layout commands set the layout, then the windows are arranged by it
// and the status line shown again.
TEST_F(ModelSessionTest, LayoutCommandsArrangeTheWindowsByTheLayoutTheySet) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ui().ChooseItem(2);
  session().ChooseWindowLayout();
  EXPECT_EQ(ui().Calls().back().caption, "Схема расположения окон");
  ui().CancelInput();
  session().ChooseWindowLayout();
  model().Settings().SetDefaultWindowLayout(1);
  session().DefaultWindowLayout();
  status_.clear();
  session().ReLayout();
  EXPECT_EQ(layouts_, (std::vector<int>{5, 3, 3, 1, 1}));
  EXPECT_TRUE(status_.starts_with("Узлов-3  Ветвей-4")) << status_;
}

TEST_F(ModelSessionTest, ClosingFreesTheWindowsAfterHidingThem) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ui().PressButton("Да");  // the calculation marked the sources calculated
  ASSERT_TRUE(session().CloseModel());

  EXPECT_EQ(hidden_, 1);
  EXPECT_EQ(menus_.back(), false);
  EXPECT_EQ(present_.back(), false);
  EXPECT_EQ(captions_.back(), "Kordavelt");
  EXPECT_TRUE(status_.ends_with("Модель закрыта")) << status_;
  EXPECT_TRUE(EveryWindow(false));
  // Nothing to close: the commands of an open model do nothing.
  EXPECT_TRUE(session().CloseModel());
  EXPECT_FALSE(session().RunDataCommand(DataCommand::Sources));
  EXPECT_FALSE(session().ShowResults("Rez"));
  session().Calculate();
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ModelSessionTest, CancelAtTheSaveQuestionKeepsTheModel) {
  ASSERT_TRUE(session().OpenModel(kModel));
  model().AddNode();
  for (int attempt = 0; attempt < 4; ++attempt) ui().PressButton("Отменить");
  EXPECT_FALSE(session().CloseModel());
  EXPECT_FALSE(session().CloseForExit());
  EXPECT_FALSE(session().OpenModel(kModel));
  EXPECT_FALSE(session().NewModel());
  EXPECT_EQ(ui().Messages().back(), std::string(kModel) + ": " + kSaveQuestion);

  EXPECT_TRUE(session().Usable());
  EXPECT_TRUE(EveryWindow(true));
  EXPECT_EQ(hidden_, 0);
  EXPECT_EQ(present_, std::vector<bool>{true});
  EXPECT_EQ(paths_.size(), 1u);
  EXPECT_EQ(NodeCount(), nodes_ + 1);

  ui().PressButton("Да");
  EXPECT_TRUE(session().CloseForExit());
  EXPECT_EQ(present_.back(), false);
}

// The user should get back the model he had, not be left with none.
TEST_F(ModelSessionTest, FailedOpenReopensThePreviousModel) {
  ASSERT_TRUE(session().OpenModel(kModel));
  s.m.files.Put("/models/broken.LVN", std::vector<std::uint8_t>(4096, 0x55));

  ui().PressButton("Да");
  EXPECT_FALSE(session().OpenModel("/models/broken.LVN"));
  EXPECT_EQ(ui().Messages().back(), "/models/broken.LVN: Ошибка формата файла базы данных");
  EXPECT_EQ(model().FileName(), kModel);
  EXPECT_TRUE(session().Usable());
  EXPECT_TRUE(EveryWindow(true));
  EXPECT_EQ(present_.back(), true);

  // A file that is not there: the open dialog, cancelled.
  ui().PressButton("Да");
  ui().CancelInput();
  EXPECT_FALSE(session().OpenModel("/models/missing.LVN"));
  EXPECT_EQ(ui().Calls().back().kind, "open");
  EXPECT_EQ(ui().Calls().back().caption, "Выбор базы данных");
  EXPECT_EQ(model().FileName(), kModel);
  EXPECT_TRUE(session().Usable());
}

TEST_F(ModelSessionTest, FailedOpenWithoutAPreviousModelLeavesNone) {
  s.m.files.Put("/models/broken.LVN", std::vector<std::uint8_t>(4096, 0x55));
  EXPECT_FALSE(session().OpenModel("/models/broken.LVN"));
  EXPECT_FALSE(session().HasModel());
  EXPECT_EQ(present_, std::vector<bool>{false});
  EXPECT_TRUE(paths_.empty());
}

TEST_F(ModelSessionTest, NewModelIsNamedInTheSaveDialogAndOpenedEmpty) {
  ASSERT_TRUE(session().OpenModel(kModel));
  int properties = 0;
  session().OnGeneralProperties = [&](modelClass&) { ++properties; };
  ui().PressButton("Да");
  ui().ChooseFile("/models/new.LVN");
  ASSERT_TRUE(session().NewModel());

  EXPECT_EQ(ui().Calls().back().caption, "Создание базы данных");
  EXPECT_EQ(model().FileName(), "/models/new.LVN");
  EXPECT_EQ(paths_.back(), "/models/new.LVN");
  EXPECT_EQ(captions_.back(), "Kordavelt new");
  EXPECT_EQ(properties, 1);  // a new model shows its general properties
  EXPECT_TRUE(session().Usable());
  EXPECT_EQ(NodeCount(), 0);
  EXPECT_EQ(session().Form(TableWindowId::Sources)->rowCount, 0);
}

// Save writes without asking and starts a new backup: "Нет" at the next
// close goes back to the saved state, not to the one before it.
TEST_F(ModelSessionTest, SaveKeepsTheChangesAndReopensTheModel) {
  ASSERT_TRUE(session().OpenModel(kModel));
  model().AddNode();
  const std::size_t questions = ui().Messages().size();
  ASSERT_TRUE(session().Save());
  EXPECT_EQ(ui().Messages().size(), questions);
  EXPECT_EQ(model().FileName(), kModel);
  EXPECT_EQ(paths_.size(), 2u);
  EXPECT_TRUE(EveryWindow(true));
  EXPECT_EQ(NodeCount(), nodes_ + 1);

  model().AddNode();
  ui().PressButton("Нет");
  ASSERT_TRUE(session().CloseModel());
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_EQ(NodeCount(), nodes_ + 1);
}

// The copy holds every change: the model it was made from keeps them too,
// as "Со&хранить" does, and there is nothing to ask (the calculation of the
// open alone used to raise the save question right after the file dialog).
TEST_F(ModelSessionTest, SaveAsPacksTheModelAndOpensTheCopyWithoutAQuestion) {
  ASSERT_TRUE(session().OpenModel(kModel));
  model().AddNode();
  ui().ChooseFile("/models/copy.LVN");
  ASSERT_TRUE(session().SaveAs());
  for (const std::string& message : ui().Messages()) {
    EXPECT_EQ(message.find(kSaveQuestion), std::string::npos) << message;
  }
  EXPECT_EQ(NodeCount(), nodes_ + 1);
  EXPECT_EQ(model().FileName(), "/models/copy.LVN");
  EXPECT_EQ(paths_.back(), "/models/copy.LVN");
  EXPECT_EQ(captions_.back(), "Kordavelt copy");
  EXPECT_TRUE(EveryWindow(true));
  EXPECT_EQ(present_.back(), true);

  // A cancelled name keeps the model as it is, and its save question.
  ui().CancelInput();
  EXPECT_FALSE(session().SaveAs());
  EXPECT_EQ(model().FileName(), "/models/copy.LVN");
  EXPECT_TRUE(session().Usable());
  model().AddNode();
  ui().PressButton("Нет");
  ASSERT_TRUE(session().CloseModel());
  EXPECT_EQ(ui().Messages().back(), std::string("/models/copy.LVN: ") + kSaveQuestion);

  // The model it was made from kept the changes of its session.
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_EQ(NodeCount(), nodes_ + 1);
}

// The current regime is program state kept across model files; but a model
// closed with "Нет" comes back as it was, not in a regime chosen meanwhile.
TEST_F(ModelSessionTest, NoAtTheSaveQuestionBringsBackTheRegimeOfTheOpen) {
  ASSERT_TRUE(session().OpenModel(kModel));
  model().SetRegime(2);
  ui().PressButton("Нет");
  ASSERT_TRUE(session().CloseModel());
  EXPECT_EQ(model().Regime(), 0);
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_EQ(model().Regime(), 0);

  model().SetRegime(3);
  ui().PressButton("Да");
  ASSERT_TRUE(session().CloseModel());
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_EQ(model().Regime(), 3) << "kept across model files";

  // Opening another model answers the same question.
  model().SetRegime(5);
  ui().PressButton("Нет");
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_EQ(model().Regime(), 3);
}

// A new model has no earlier state to go back to (its backup is the bare
// header), so closing it asks nothing; what was imported into it must be
// there when it is opened again.
TEST_F(ModelSessionTest, AModelImportedIntoANewFileIsKeptWhenAnotherOpens) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ui().ChooseFile("/models/rows.csv");
  ASSERT_TRUE(session().ExportModel(CsvOptions{}));
  std::string rows;
  for (const std::string& path : s.m.files.Paths()) {
    if (path.starts_with("/models/rows")) rows = path;
  }
  ui().PressButton("Да");
  ui().ChooseFile("/models/Новая.LVN");
  ASSERT_TRUE(session().NewModel());
  model().Settings().SetNominalVoltage(0, 400);  // the voltage list of the exported model
  ui().ChooseFile(rows);
  ASSERT_TRUE(session().ImportModel(CsvOptions{})) << ::testing::PrintToString(ui().Messages());
  ASSERT_EQ(NodeCount(), nodes_);

  ASSERT_TRUE(session().OpenModel(kModel));
  ui().PressButton("Да");
  ASSERT_TRUE(session().OpenModel("/models/Новая.LVN"));
  EXPECT_EQ(NodeCount(), nodes_);
  EXPECT_EQ(session().Form(TableWindowId::Receivers)->rowCount, 1);
}

// --- Windows and commands -------------------------------------------------------------------

// Each item has to run what its caption says.
TEST_F(ModelSessionTest, DataMenuPairsEveryCaptionWithItsCommand) {
  const auto& menu = ModelSession::DataMenu();
  EXPECT_EQ(menu.front().caption, "&Общие свойства модели");
  EXPECT_EQ(menu.front().shortcut, "Ctrl+D");
  EXPECT_EQ(menu[1].command, DataCommand::Rooms);
  EXPECT_EQ(menu[4].caption, "&Перечень ЭП");
  EXPECT_EQ(menu[4].command, DataCommand::ReceiverList);
  // Ctrl+L on both made neither act: it is every table's "Найти &ещё".
  EXPECT_EQ(menu[4].shortcut, "");
  for (std::size_t i = 0; i < menu.size(); ++i) {
    for (std::size_t j = i + 1; j < menu.size(); ++j) {
      if (!menu[i].shortcut.empty()) {
        EXPECT_NE(menu[i].shortcut, menu[j].shortcut) << i;
      }
    }
  }
  EXPECT_EQ(menu[5].command, DataCommand::Sources);
  EXPECT_EQ(menu.back().caption, "&Расчетные режимы");
}

TEST_F(ModelSessionTest, DataCommandsShowTheirWindows) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ASSERT_TRUE(session().RunDataCommand(DataCommand::Sources));
  ASSERT_TRUE(session().RunDataCommand(DataCommand::ReceiverList));
  ASSERT_TRUE(session().RunDataCommand(DataCommand::Groups));
  EXPECT_EQ(shown_, (std::vector<TableWindowId>{TableWindowId::Sources, TableWindowId::Receivers,
                                                TableWindowId::Groups}));
  EXPECT_EQ(session().Form(TableWindowId::Receivers)->caption, "Перечень электроприемников");
  ASSERT_TRUE(session().RunDataCommand(DataCommand::Receivers));
  EXPECT_EQ(session().Form(TableWindowId::Receivers)->caption, "Электроприемники");
  // No properties dialog bound: the item does nothing.
  EXPECT_TRUE(session().RunDataCommand(DataCommand::GeneralProperties));
}

// A group edited in its window changes what the receiver list shows.
TEST_F(ModelSessionTest, GroupEditsRepaintTheReceiversWindow) {
  ASSERT_TRUE(session().OpenModel(kModel));
  TableDriver groups(*session().Owner(TableWindowId::Groups),
                     *session().Form(TableWindowId::Groups), ui());
  ASSERT_TRUE(groups.CommitEdit(1, 1, "Насосы"));
  EXPECT_TRUE(Repainted(TableWindowId::Receivers));
}

// "&Протокол" said "Протокол не создан!" right after a calculation.
TEST_F(ModelSessionTest, EveryCalculationWritesItsProtocolBesideTheModel) {
  ASSERT_TRUE(session().OpenModel(kModel));
  const std::string path = "/models/test.txt";
  ASSERT_TRUE(s.m.files.Exists(path));
  EXPECT_EQ(ShowProtocolOrMessage(ui(), s.m.files, kModel), path);
  const std::vector<std::uint8_t>& bytes = *s.m.files.Find(path);
  const std::string text = Cp1251ToUtf8(std::string(bytes.begin(), bytes.end()));
  EXPECT_TRUE(text.starts_with("Протокол расчета\r\nМодель: /models/test.LVN\r\n")) << text;
  EXPECT_NE(text.find("\r\n" + status_ + "\r\n"), std::string::npos) << text;

  model().Settings().SetMaxEmf(3);
  session().Calculate();
  const std::vector<std::uint8_t>& again = *s.m.files.Find(path);
  EXPECT_NE(Cp1251ToUtf8(std::string(again.begin(), again.end())).find("Не заданы ЭДС ИП"),
            std::string::npos)
      << "the protocol of the last calculation, also one that stopped";
}

// The sources window showed Sр, Pр, Qр and Iр as 0 until another window
// happened to compute them.
TEST_F(ModelSessionTest, SourcesShowTheirDesignLoadsRightAfterTheOpen) {
  ASSERT_TRUE(session().OpenModel(kModel));
  TableDriver sources = Driver(TableWindowId::Sources);
  EXPECT_EQ(sources.Cell(1, 5), "20");
  EXPECT_EQ(sources.Cell(1, 4), FormatNumber(20 / 0.9));
  EXPECT_TRUE(Repainted(TableWindowId::Sources));
}

// Open result tables needed "Обновить" after every change.
TEST_F(ModelSessionTest, AnOpenResultTableFollowsEditsCalculationsAndTheNumberFormat) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ASSERT_TRUE(session().ShowResults("Loads"));
  const std::size_t shown = shown_.size();
  EXPECT_EQ(ResultCell("Pр(кВт)", 9), "20");

  // The groups window changes the load, the calculation follows.
  ASSERT_TRUE(Driver(TableWindowId::Groups).CommitEdit(1, 6, "30.1234"));
  repainted_.clear();
  session().Calculate();
  EXPECT_EQ(ResultCell("Pр(кВт)", 9), "30.123");
  EXPECT_TRUE(Repainted(TableWindowId::Results));

  // An edit without a calculation (what the main window passes on).
  ASSERT_TRUE(Driver(TableWindowId::Groups).CommitEdit(1, 1, "Насосы"));
  session().RefreshTables();
  EXPECT_EQ(ResultCell("Насосы", 2), "30.123");

  const int digits = Digits;
  Digits = 3;
  session().RefreshTables();
  EXPECT_EQ(ResultCell("Pр(кВт)", 9), "30.1");
  Digits = digits;
  EXPECT_EQ(shown_.size(), shown) << "following the model never brings the window forward";
}

TEST_F(ModelSessionTest, ResultsAreShownInTheResultsWindow) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ASSERT_TRUE(session().ShowResults("Rez"));
  EXPECT_EQ(shown_, std::vector<TableWindowId>{TableWindowId::Results});
  EXPECT_EQ(session().Form(TableWindowId::Results)->rowCount, 1);

  // The cell filling asks the scheme's selection through the session.
  EXPECT_FALSE(session().ShowResults("Cells"));
  EXPECT_EQ(ui().Messages().back(), "Результат: Следует выделить узел");
  session().SelectedNode = [] { return 2; };
  EXPECT_FALSE(session().ShowResults("Cells"));
  EXPECT_EQ(ui().Messages().back(), "Результат: Для узла должен быть указан тип присоединения");
  EXPECT_EQ(shown_.size(), 1u);
}

// The toolbar's "Расчет" is the calculation with the automatic choice and
// does nothing while that setting is off.
TEST_F(ModelSessionTest, SecondCalculationRunsOnlyWithTheAutomaticChoice) {
  ASSERT_TRUE(session().OpenModel(kModel));
  CalcClass& calc = *session().Calc();
  model().Settings().SetAutoChoice(false);
  calc.SetInvalid(true);
  session().Calculate2();
  EXPECT_TRUE(calc.Invalid());
  session().Calculate();
  EXPECT_FALSE(calc.Invalid());
}

// A branch switched on the scheme recalculates its own source only.
TEST_F(ModelSessionTest, SwitchingABranchRecalculatesItsSource) {
  ASSERT_TRUE(session().OpenModel(kModel));
  model().Settings().SetAutoCalc(true);
  model().ToggleBranch(cable_);
  EXPECT_TRUE(session().Calc()->Protocol().starts_with("Авторасчет: "))
      << session().Calc()->Protocol();
}

// "Отменить удаление" never worked in the data windows: the model's journal
// has to keep what they delete through the refresh of the tables after it.
TEST_F(ModelSessionTest, ADeletedGroupComesBackThroughTheModelsJournal) {
  ASSERT_TRUE(session().OpenModel(kModel));
  EXPECT_FALSE(session().CanUndoDeletion());
  ui().PressButton("Да");  // "Будут удалены все электроприемники группы!"
  Driver(TableWindowId::Groups).Delete(1);
  session().RefreshTables();  // as the window announces the deletion
  EXPECT_EQ(model().Groups()->Count(), 0);
  EXPECT_EQ(model().Receivers()->Count(), 0);
  ASSERT_TRUE(session().CanUndoDeletion());

  session().UndoDeletion();
  EXPECT_FALSE(session().CanUndoDeletion());
  EXPECT_EQ(model().Groups()->Count(), 1);
  EXPECT_EQ(model().Receivers()->Count(), 1);
  EXPECT_EQ(Driver(TableWindowId::Groups).RowCount(), 1);
}

// File → Import read the model with the cable journal in front, and Export
// always wrote the model.
TEST_F(ModelSessionTest, ImportAndExportFollowTheActiveTableWindow) {
  ASSERT_TRUE(session().OpenModel(kModel));
  const CsvOptions options;
  const auto dialog = [this] { return ui().Calls().back().caption; };

  ASSERT_TRUE(session().ShowResults("KJur"));
  ui().CancelInput();
  session().Import(options, session().Form(TableWindowId::Results));
  EXPECT_EQ(dialog(), "Импорт длин кабелей");
  ui().CancelInput();
  session().Import(options, nullptr);
  EXPECT_EQ(dialog(), "Импорт модели");
  // The book's cables hold "Каб" in their caption too, but no journal.
  ui().ChooseTableRow(2);
  ASSERT_TRUE(session().ChooseBookCategory());
  ASSERT_EQ(session().Form(TableWindowId::Book)->caption, "Кабели");
  ui().CancelInput();
  session().Import(options, session().Form(TableWindowId::Book));
  EXPECT_EQ(dialog(), "Импорт модели");

  ui().CancelInput();
  session().Export(options, session().Owner(TableWindowId::Results),
                   session().Form(TableWindowId::Results));
  EXPECT_EQ(dialog(), "Экспорт. Кабельный журнал для раскладки");
  ui().CancelInput();
  session().Export(options, nullptr, nullptr);
  EXPECT_EQ(dialog(), "Экспорт модели");
}

// "Сохранить как ..." of the book reopens its file under the same book
// object: the window's owner has to survive it and show its category again.
TEST_F(ModelSessionTest, BookWindowSurvivesSavingTheBookUnderANewName) {
  ASSERT_TRUE(session().OpenModel(kModel));
  ui().ChooseTableRow(1);
  ASSERT_TRUE(session().ChooseBookCategory());
  EXPECT_EQ(shown_.back(), TableWindowId::Book);
  BookOwner* owner = session().Book();
  const int table = owner->Table();
  ASSERT_NE(table, 0);

  ui().ChooseFile("/program/Copy.SPR");
  ASSERT_TRUE(session().SaveBookAs());
  EXPECT_EQ(session().Book(), owner);
  EXPECT_EQ(owner->Table(), table);
  EXPECT_EQ(model().Book()->FileName(), "/program/Copy.SPR");
  EXPECT_TRUE(Repainted(TableWindowId::Book));
  // The calculation reads the reopened book.
  session().Calculate();
  EXPECT_FALSE(session().Calc()->Invalid());
}

}  // namespace
}  // namespace kordavelt::testing
