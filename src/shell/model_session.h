#pragma once

// ModelSession: the program's one model for the whole run, with everything
// that lives while a model file is open — the calculation, the data windows
// (sources, receivers, groups, rooms), the reference-book window and the
// results window — and the file and model commands of the main window's
// menus and toolbar. It listens to the model's change notifications: when a
// model opens it makes the windows, lays them out and runs the first
// calculation; before it closes it frees them. The main window only shows
// what the hooks at the end of the class tell it: captions, the status line,
// which items are enabled, which table window to show, repaint or arrange.
// Other views (the scheme, the object tables, the chart) subscribe to the
// model themselves.
//
//   ModelSession session(ui, files, programPath);
//   session.OnCaption = [&](const std::string& text) { window.setWindowTitle(...); };
//   session.OnShowWindow = [&](TableWindowId id) {
//     ShowChild(*session.Owner(id), *session.Form(id));
//   };
//   session.OpenModel(commandLinePath);  // opens, lays the windows out, calculates
//   ...
//   if (!session.CloseForExit()) return;  // the user kept the program running
//
// Every command does nothing (and answers false) while no model is open with
// its tables. Unbound hooks do nothing.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "model/model_class.h"

namespace kordavelt {

class BookOwner;
class CalcClass;
class DataClass;
class FileSystem;
class ResultsWindow;
class TableOwner;
class UiHost;
struct CsvOptions;
struct TableForm;

// The table windows a model has while it is open.
enum class TableWindowId { Sources, Receivers, Groups, Book, Results };

// The items of the model's data menu ("&Данные").
enum class DataCommand {
  GeneralProperties,  // "&Общие свойства модели"
  Rooms,              // "&Помещения" (a modal table)
  Groups,             // "&Группы ЭП"
  Receivers,          // "&Электроприемники (ЭП)"
  ReceiverList,       // "&Перечень ЭП"
  Sources,            // "&Источники питания"
  Regimes,            // "&Расчетные режимы"
};

struct DataMenuEntry {
  std::string_view caption;
  std::string_view shortcut;  // empty: none
  DataCommand command;
};

class ModelSession : private ModelListener {
 public:
  // `programPath`: the program file; the reference book is looked for beside
  // it when it is not beside the model.
  ModelSession(UiHost& ui, FileSystem& files, std::string programPath);
  // Closes an open model keeping its changes, without a question and
  // without calling the hooks.
  ~ModelSession();
  ModelSession(const ModelSession&) = delete;
  ModelSession& operator=(const ModelSession&) = delete;

  modelClass& Model() { return model_; }
  // A model file is open (perhaps without its tables, when its reference
  // book could not be opened).
  bool HasModel() const { return model_.IsOpen(); }
  // A model is open with its tables and windows.
  bool Usable() const { return model_.IsOpen() && model_.Usable() && calc_ != nullptr; }

  // The parts of an open model; nullptr without one.
  CalcClass* Calc() { return calc_.get(); }
  DataClass* Data() { return data_.get(); }
  BookOwner* Book() { return book_.get(); }
  ResultsWindow* Results() { return results_.get(); }
  TableOwner* Owner(TableWindowId id);
  TableForm* Form(TableWindowId id);

  // --- File commands ("&Файл") -------------------------------------------------
  // Each first closes the open model with the save question; answering
  // "Отменить" keeps it and stops the command (false).

  // "&Создать...": a new model file, named in the save dialog, opened.
  bool NewModel();
  // "&Открыть..." (empty path: the open dialog) and the recent files. When
  // the model cannot be opened, the model open before is opened again.
  bool OpenModel(const std::string& path = {});
  // "Со&хранить": closes keeping every change, without asking, and opens
  // the model again under its name.
  bool Save();
  // "Сохранить &как...": the model packed under a name the user chooses and
  // opened from it (when that fails, the model open before is opened again).
  bool SaveAs();
  // "&Закрыть". True when no model is open afterwards.
  bool CloseModel();
  // The main window's close query: false when the user cancelled the save
  // question (or the changes could not be written) and the program goes on.
  bool CloseForExit();

  // --- Model commands --------------------------------------------------------------

  void ShowSources();
  void ShowReceivers();
  // The receivers window reconfigured as "Перечень электроприемников".
  void ShowReceiverList();
  void ShowGroups();
  // "&Помещения": the modal rooms table; true when it closed with "Выбрать".
  bool EditRooms();
  // "&Расчетные режимы": the regimes table, then the network calculation.
  void ChooseRegime();
  // "&Общие свойства модели": OnGeneralProperties, then the views hear that
  // the settings changed.
  void GeneralProperties();
  // "Сп&равочник": the category dialog, then the book window on it.
  bool ChooseBookCategory();
  // The book window's "Сохранить как ...": the book packed under a new name
  // and reopened from it, the category shown shown again.
  bool SaveBookAs();
  // A results window menu item: a table id of MakeResultTable, or
  // ResultsWindow::kRefreshId.
  bool ShowResults(std::string_view id);
  // The tree of the source feeding `node`, in a modal table.
  void ShowSourceTree(int node);
  // Every open table window reads its rows again and repaints: the data
  // windows, the book and the result table shown, built anew. The session
  // calls it after every calculation; the main window after an edit in any
  // table and after a change of the number format.
  void RefreshTables();
  // "Расчет режима": the full network calculation; the views hear Calculated.
  void Calculate();
  // "Расчет": the full calculation with the automatic choice of equipment
  // after every calculated source. Like the scheme's calculation command it
  // runs only while the setting "Автовыбор оборудования" is on, and does
  // nothing otherwise.
  void Calculate2();
  // "Восстановить БД".
  void Restore();
  // "&Импорт" and "&Экспорт" of the whole model as an exchange file.
  bool ImportModel(const CsvOptions& options);
  bool ExportModel(const CsvOptions& options);
  // "&Импорт" and "&Экспорт" of the file menu, by the active table window
  // (nullptr: none is active). The import takes the cable lengths back when
  // that window is the results window showing the cable journal (its caption
  // holds "Каб"; the book's "Кабели" does not count), the model otherwise;
  // the export writes the active window's table, the model without one.
  bool Import(const CsvOptions& options, const TableForm* active);
  bool Export(const CsvOptions& options, TableOwner* activeOwner, TableForm* activeForm);
  // "Отменить удаление": the records deleted since the last insert come back.
  void UndoDeletion();
  // The model's deletion journal holds something to bring back.
  bool CanUndoDeletion() const { return Usable() && undoAvailable_; }
  // "&Размещение окон" on the toolbar, "&Стандартное размещение" and
  // "&Восстановить порядок": the layout setting, then the windows arranged
  // by it and the status line.
  void ChooseWindowLayout();
  void DefaultWindowLayout();
  void ReLayout();

  // The data menu in its order, for the main window to build it from.
  static const std::array<DataMenuEntry, 7>& DataMenu();
  // Runs a data menu item; false without a usable model.
  bool RunDataCommand(DataCommand command);

  // --- Hooks for the main window ---------------------------------------------------

  std::function<void(const std::string&)> OnCaption;  // the main window caption
  std::function<void(const std::string&)> OnStatus;   // the status line
  // After a file command: a model file is open (save, save as, close,
  // print, import, export enabled) or not.
  std::function<void(bool present)> OnModelPresent;
  // The model menus ("&Сервис", "Сп&равочник", "&Окна", the data and results
  // menus) shown when a model opened with its tables, hidden before it closes.
  std::function<void(bool shown)> OnModelMenus;
  // A model was opened or created from this file: the recent-file list.
  std::function<void(const std::string& path)> OnModelPath;
  std::function<void(TableWindowId)> OnShowWindow;
  // The window's rows changed: it reads its row count and repaints.
  std::function<void(TableWindowId)> OnRepaintWindow;
  // The model closes: every table window is hidden (the owners go next).
  std::function<void()> OnHideAllWindows;
  // Arrange the windows by layout 1 … 7.
  std::function<void(int layout)> OnArrangeWindows;
  // "Отменить удаление" enabled or disabled.
  std::function<void(bool)> OnUndoAvailable;
  // The dialog "Общие свойства модели сети"; also shown for a new model
  // before its tables open.
  std::function<void(modelClass&)> OnGeneralProperties;
  // The node selected on the scheme, 0 when none (the cell filling table).
  std::function<int()> SelectedNode;

 private:
  void OnModelEvent(const ModelEvent& event) override;
  // A model opened with its tables: its windows, laid out, and the first
  // calculation.
  void StartModel();
  // The windows of a model that opened with its tables, and their freeing
  // before it closes.
  void MakeWindows();
  void FreeWindows();
  void ShowWindow(TableWindowId id);
  // OnArrangeWindows by the current layout, then the status line.
  void ArrangeWindows();
  // A branch was switched: its source calculated again when automatic
  // calculation is on.
  void AutoCalc(std::int32_t branchKey);
  void RepaintWindow(TableWindowId id);
  // A change behind the windows' backs (restore, import, undo): RefreshTables.
  void ReloadDataWindows();
  // The file command is over: the items follow.
  void Present();
  void Opened();
  // Opens `path` again after a failed open; true when it opened.
  bool Reopen(const std::string& path);
  // Closes the model with the save question; false when it stays open.
  bool CloseWithQuestion();
  // After every calculation: source loads, the protocol file, the tables.
  void Calculated();

  UiHost& ui_;
  modelClass model_;
  std::unique_ptr<CalcClass> calc_;
  std::unique_ptr<DataClass> data_;
  std::unique_ptr<BookOwner> book_;
  std::unique_ptr<ResultsWindow> results_;
  // The model said its deletion journal holds records (UndoAvailable).
  bool undoAvailable_ = false;
  // The regime current when the model was opened: "Нет" at the save
  // question brings it back with the file.
  int regimeAtOpen_ = 0;
  // Last, so that it ends first: nothing reaches the session while its
  // members go.
  ModelSubscription events_;
};

}  // namespace kordavelt
