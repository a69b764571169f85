#pragma once

// TMainForm: the program's frame. It holds the menus, the toolbar and the
// status line, hosts the table windows as MDI children and merges the
// active child's "&Правка" menu into its own, keeps the display settings and
// the recent files in the per-user store, and hands every file and model
// command to the model session, reacting to what the session reports.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "shell/display_settings.h"
#include "shell/model_session.h"
#include "shell/recent_files.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace kordavelt {

class FileSystem;
class QtTableEnvironment;
class QtUiHost;
class SettingsStore;
class TGridForm;
class UiHost;

// The toolbar buttons in their order.
enum class ToolButton {
  New,
  Open,
  Save,
  Print,
  Undo,
  Delete,
  Copy,
  Paste,
  Search,
  SaveFile,
  Word,
  Acad,
  Edit,
  AppUzl,
  AppVet,
  Ramka,
  Form,
  Calc,
  Calc2,
  Scale,
  Param,
  Data,
  Options,
  Color,
  Sprav,
  Window,
};
inline constexpr int kToolButtonCount = 26;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // `programPath`: the program's folder and name ("…/Kordavelt"): the help,
  // the notes and the reference book are looked for beside it. `store`:
  // where the display settings and recent files live.
  TMainForm(UiHost& ui, FileSystem& files, SettingsStore& store, std::string programPath,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // The model named on the command line, opened once the window is shown.
  void SetModelToOpen(const QString& path) { modelToOpen_ = path; }
  const QString& ModelToOpen() const { return modelToOpen_; }

  ModelSession& Session() { return *session_; }
  // Opens a document with the desktop's program for it; false when none
  // could be started. Unset: the desktop services.
  std::function<bool(const QString& path)> OpenDocument;
  DisplaySettings& Settings() { return settings_; }
  const RecentFiles& Recent() const { return recent_; }
  QtTableEnvironment& Tables() { return *tables_; }
  QMdiArea* Area() const { return area_; }
  QAction* Button(ToolButton button) const { return buttons_[static_cast<int>(button)]; }
  // A main menu item by its object name ("saveItem", "serviceMenu", …).
  QAction* Item(const char* name) const;
  // The table window of the model shown as an MDI child, when it exists.
  TGridForm* TableChild(TableWindowId id) const;
  QString StatusText() const;
  // True while the window is created or a model is opened or closed.
  bool Starting() const;

  // --- Commands (the menu items call them; tests too) ---------------------------

  bool NewModel();
  bool OpenModel(const QString& path = {});
  bool SaveModel();
  bool SaveModelAs();
  bool CloseModel();
  void ShowFormatSettings();
  void ShowProtocol();
  void ShowNotes();
  // "&Справка" (F1): the help file beside the program, or a message naming
  // the file that is missing.
  void ShowHelp();
  // "&Импорт" and "&Экспорт" of the file menu, routed by the active table
  // window (ModelSession::Import, Export).
  void ImportFile();
  void ExportFile();
  void ShowAbout();
  void ArrangeWindows();
  // Writes the display settings and the recent files to the store.
  void WriteSettings();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildFileMenu();
  void BuildModelMenus();
  void BuildToolBar();
  void BindSession();
  void ReadSettings();
  void ApplyDisplaySettings();
  void ApplyTableFont();
  void RepaintTables();
  void UpdateRecentItems();
  void SetModelPresent(bool present);
  void SetModelMenus(bool shown);
  // The active MDI child changed: its "&Правка" menu and toolbar buttons.
  void ChildActivated(QMdiSubWindow* child);
  void MirrorChildCommands();
  TGridForm* ActiveTable() const;
  // The MDI child of a table window, made on first use.
  QMdiSubWindow* TableSubWindow(TableWindowId id);
  // The commands a window adds to its "&Правка" menu or its popup.
  void AddWindowCommands(TableWindowId id, TGridForm& grid, QMdiSubWindow& window);
  void ShowTableWindow(TableWindowId id);
  void RepaintTableWindow(TableWindowId id);
  void RefitShownTables();
  void KeepInside(QMdiSubWindow* child);
  void HideTableWindows();
  void ArrangeLayout(int layout);
  // Layout 7: the data windows shown, every open window cascaded.
  void CascadeWindows();
  // The data windows shown at the size of their contents.
  void ShowFittedDataWindows();
  void FitChild(QMdiSubWindow* child, TGridForm* form, int cols, int rows, bool measure);
  QRect FreeArea() const;
  void ShowTextFile(const QString& title, const std::string& path);
  void ShowSourceTree();
  void Run(const std::function<void()>& command);
  bool FileCommand(const std::function<bool()>& command);

  UiHost& ui_;
  FileSystem& files_;
  SettingsStore& store_;
  std::string programPath_;
  QString modelToOpen_;
  bool shownOnce_ = false;
  int starting_ = 0;

  DisplaySettings settings_;
  RecentFiles recent_;
  std::unique_ptr<QtTableEnvironment> tables_;
  std::unique_ptr<ModelSession> session_;

  QMdiArea* area_ = nullptr;
  QLabel* status_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  std::array<QAction*, RecentFiles::kEntries> recentItems_{};
  QAction* mergedEdit_ = nullptr;
  QAction* serviceMenu_ = nullptr;
  QAction* beforeEdit_ = nullptr;
  std::array<QAction*, kToolButtonCount> buttons_{};
  std::vector<QMetaObject::Connection> mirrored_;

  struct Child {
    QPointer<QMdiSubWindow> window;
    TGridForm* form = nullptr;
    // The header the columns were last fitted to: an owner that shows other
    // columns in the same window (the receivers and their list) is fitted anew.
    std::string fittedHead;
  };
  std::map<TableWindowId, Child> children_;
};

}  // namespace kordavelt
