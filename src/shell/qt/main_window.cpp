#include "shell/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "base/qt/qt_text.h"
#include "calc/calc_class.h"
#include "draw/qt/qpainter_canvas.h"
#include "model/data_class.h"
#include "model/model_records.h"
#include "refbook/book_exchange.h"
#include "refbook/book_owner.h"
#include "results/results_window.h"
#include "shell/format_settings.h"
#include "shell/qt/about_box.h"
#include "shell/qt/image_list.h"
#include "shell/qt/text_viewer.h"
#include "shell/text_files.h"
#include "shell/window_arrangement.h"
#include "storage/file_path.h"
#include "table/qt/grid_form.h"
#include "table/qt/grid_view.h"
#include "table/qt/qt_table_environment.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

constexpr const char* kNoModel = "Модель не открыта";

struct ButtonText {
  ToolButton button;
  const char* name;
  const char* hint;
  int image;
  bool separatorAfter;
};

constexpr ButtonText kButtons[kToolButtonCount] = {
    {ToolButton::New, "NewButton", "Создать", 0, false},
    {ToolButton::Open, "OpenButton", "Открыть", 1, false},
    {ToolButton::Save, "SaveButton", "Сохранить", 2, false},
    {ToolButton::Print, "PrintButton", "Печать", 3, true},
    {ToolButton::Undo, "UndoButton", "Отменить удаление", 4, false},
    {ToolButton::Delete, "DelButton", "Удалить", 31, false},
    {ToolButton::Copy, "CopyButton", "Копировать в буфер", 6, false},
    {ToolButton::Paste, "PasteButton", "Вставить из буфера", 7, false},
    {ToolButton::Search, "SearchButton", "Найти", 8, true},
    {ToolButton::SaveFile, "SaveFileButton", "Копировать в файл", 9, false},
    {ToolButton::Word, "WordButton", "Передать в MS Word", 10, false},
    {ToolButton::Acad, "AcadButton", "Передать в AutoCAD", 13, true},
    {ToolButton::Edit, "EditButton", "Редактировать", 14, false},
    {ToolButton::AppUzl, "AppUzlButton", "Добавить узел", 16, false},
    {ToolButton::AppVet, "AppVetButton", "Добавить ветвь", 17, false},
    {ToolButton::Ramka, "RamkaButton", "Рамка", 18, true},
    {ToolButton::Form, "FormButton", "Таблица", 12, false},
    {ToolButton::Calc, "CalcButton", "Расчет режима", 21, false},
    {ToolButton::Calc2, "Calc2Button", "Расчет", 22, true},
    {ToolButton::Scale, "ScaleButton", "Настройка схемы", 37, false},
    {ToolButton::Param, "ParamButton", "Параметры на схеме", 25, false},
    {ToolButton::Data, "DataButton", "Настройка расчета", 39, false},
    {ToolButton::Options, "OptionsButton", "Формат данных", 28, false},
    {ToolButton::Color, "ColorButton", "Расцветка", 19, true},
    {ToolButton::Sprav, "SpravButton", "Справочник", 26, true},
    {ToolButton::Window, "WindowButton", "Расположение окон", 27, false},
};

// The buttons that act on the active table window, with its command.
struct Mirror {
  ToolButton button;
  GridCommand command;
};
constexpr Mirror kMirrors[] = {
    {ToolButton::Undo, GridCommand::UndoDelete}, {ToolButton::Delete, GridCommand::Delete},
    {ToolButton::Copy, GridCommand::Copy},       {ToolButton::Paste, GridCommand::Paste},
    {ToolButton::Search, GridCommand::Find},     {ToolButton::SaveFile, GridCommand::CopyToFile},
    {ToolButton::Word, GridCommand::Word},       {ToolButton::Form, GridCommand::FormView},
};

// The model's table windows as the layout stacks them, top to bottom.
constexpr TableWindowId kStacked[] = {TableWindowId::Groups, TableWindowId::Receivers,
                                      TableWindowId::Sources};

QAction* NewItem(QMenu* menu, const char* name, const char* caption, const char* shortcut = "") {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::fromUtf8(name));
  if (*shortcut != '\0') action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
  return action;
}

Rect ToRect(const QRect& r) {
  return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Closing a table window only hides it: its owner shows it again.
class HidingSubWindow : public QMdiSubWindow {
 public:
  using QMdiSubWindow::QMdiSubWindow;

  std::function<void()> onClosed;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    hide();
    if (onClosed) onClosed();
  }
};

}  // namespace

TMainForm::TMainForm(UiHost& ui, FileSystem& files, SettingsStore& store, std::string programPath,
                     QWidget* parent)
    : QMainWindow(parent),
      ui_(ui),
      files_(files),
      store_(store),
      programPath_(std::move(programPath)) {
  ++starting_;
  setObjectName(QStringLiteral("mainForm"));
  setWindowTitle(QStringLiteral("Kordavelt"));
  setWindowIcon(ImageListIcon(26));

  tables_ = std::make_unique<QtTableEnvironment>(ui_, files_);
  tables_->Env().starting = true;
  area_ = new QMdiArea(this);
  area_->setObjectName(QStringLiteral("mdiArea"));
  // Children are kept inside when the window shrinks; one that cannot
  // shrink far enough stays in reach by the scroll bars.
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->viewport()->installEventFilter(this);
  setCentralWidget(area_);
  status_ = new QLabel(QString::fromUtf8(kNoModel), this);
  status_->setObjectName(QStringLiteral("statusText"));
  statusBar()->addWidget(status_, 1);

  session_ = std::make_unique<ModelSession>(ui_, files_, programPath_);
  BuildMenus();
  BuildToolBar();
  BindSession();
  connect(area_, &QMdiArea::subWindowActivated, this, &TMainForm::ChildActivated);

  ReadSettings();
  ApplyDisplaySettings();
  ApplyTableFont();
  SetModelPresent(false);
  SetModelMenus(false);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    resize(area.size() * 3 / 4);
    move(area.center() - rect().center());
  }
  setWindowState(Qt::WindowMaximized);
  tables_->Env().starting = false;
  --starting_;
}

TMainForm::~TMainForm() {
  // The table windows refer to the session's owners: they go first.
  HideTableWindows();
  session_.reset();
}

bool TMainForm::Starting() const { return starting_ > 0; }

QAction* TMainForm::Item(const char* name) const {
  return findChild<QAction*>(QString::fromUtf8(name));
}

QString TMainForm::StatusText() const { return status_->text(); }

TGridForm* TMainForm::TableChild(TableWindowId id) const {
  const auto found = children_.find(id);
  return found == children_.end() || found->second.window.isNull() ? nullptr : found->second.form;
}

// --- Menus --------------------------------------------------------------------------

void TMainForm::BuildMenus() {
  BuildFileMenu();
  BuildModelMenus();

  QMenu* service = menuBar()->addMenu(QStringLiteral("&Сервис"));
  serviceMenu_ = service->menuAction();
  serviceMenu_->setObjectName(QStringLiteral("serviceMenu"));
  connect(NewItem(service, "protocolItem", "&Протокол"), &QAction::triggered, this,
          &TMainForm::ShowProtocol);
  connect(NewItem(service, "formatItem", "&Формат данных", "Alt+F"), &QAction::triggered, this,
          &TMainForm::ShowFormatSettings);
  // The calculation settings and the parameters on the scheme come with
  // their dialogs.
  NewItem(service, "calcSettingsItem", "&Настройка расчета", "Alt+R")->setEnabled(false);
  NewItem(service, "schemeParametersItem", "Па&раметры схемы")->setEnabled(false);
  connect(NewItem(service, "restoreItem", "Восстановить БД"), &QAction::triggered, this,
          [this] { Run([this] { session_->Restore(); }); });

  QAction* book = menuBar()->addAction(QStringLiteral("Сп&равочник"));
  book->setObjectName(QStringLiteral("bookMenu"));
  connect(book, &QAction::triggered, this,
          [this] { Run([this] { session_->ChooseBookCategory(); }); });

  QMenu* windows = menuBar()->addMenu(QStringLiteral("&Окна"));
  windows->menuAction()->setObjectName(QStringLiteral("windowsMenu"));
  connect(NewItem(windows, "arrangeItem", "&Размещение окон", "Alt+0"), &QAction::triggered, this,
          [this] { Run([this] { session_->ChooseWindowLayout(); }); });
  connect(NewItem(windows, "standardLayoutItem", "&Стандартное размещение", "Alt+9"),
          &QAction::triggered, this, [this] { Run([this] { session_->DefaultWindowLayout(); }); });
  connect(NewItem(windows, "reLayoutItem", "&Восстановить порядок", "Alt+8"), &QAction::triggered,
          this, [this] { Run([this] { session_->ReLayout(); }); });
  windows->addSeparator();
  // The list of the open windows, as the frame's window menu has it.
  connect(windows, &QMenu::aboutToShow, this, [this, windows] {
    const QList<QAction*> actions = windows->actions();
    for (qsizetype i = 4; i < actions.size(); ++i) {
      windows->removeAction(actions[i]);
      actions[i]->deleteLater();
    }
    // The window in front is checked; the others carry no box. The current
    // window counts even while the menu has the keyboard.
    int number = 1;
    for (QMdiSubWindow* child : area_->subWindowList()) {
      if (!child->isVisible()) continue;
      QAction* item =
          windows->addAction(QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
      item->setCheckable(child == area_->currentSubWindow());
      item->setChecked(item->isCheckable());
      connect(item, &QAction::triggered, this, [this, child] { area_->setActiveSubWindow(child); });
    }
  });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
  connect(NewItem(help, "helpItem", "&Справка", "F1"), &QAction::triggered, this,
          &TMainForm::ShowHelp);
  connect(NewItem(help, "notesItem", "&Заметки", "Alt+F1"), &QAction::triggered, this,
          &TMainForm::ShowNotes);
  connect(NewItem(help, "aboutItem", "&О программе"), &QAction::triggered, this,
          &TMainForm::ShowAbout);
}

void TMainForm::BuildFileMenu() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Файл"));
  fileMenu_->menuAction()->setObjectName(QStringLiteral("fileMenu"));
  connect(NewItem(fileMenu_, "newItem", "&Создать...", "Ctrl+N"), &QAction::triggered, this,
          &TMainForm::NewModel);
  connect(NewItem(fileMenu_, "openItem", "&Открыть...", "Ctrl+O"), &QAction::triggered, this,
          [this] { OpenModel(); });
  connect(NewItem(fileMenu_, "saveItem", "Со&хранить", "Ctrl+S"), &QAction::triggered, this,
          &TMainForm::SaveModel);
  connect(NewItem(fileMenu_, "saveAsItem", "Сохранить &как..."), &QAction::triggered, this,
          &TMainForm::SaveModelAs);
  connect(NewItem(fileMenu_, "closeItem", "&Закрыть"), &QAction::triggered, this,
          &TMainForm::CloseModel);
  connect(NewItem(fileMenu_, "importItem", "&Импорт"), &QAction::triggered, this,
          &TMainForm::ImportFile);
  connect(NewItem(fileMenu_, "exportItem", "&Экспорт"), &QAction::triggered, this,
          &TMainForm::ExportFile);
  NewItem(fileMenu_, "printItem", "&Печать...", "Ctrl+P");
  connect(NewItem(fileMenu_, "exitItem", "&Выход", "Alt+F4"), &QAction::triggered, this,
          &QWidget::close);
  recentSeparator_ = fileMenu_->addSeparator();
}

void TMainForm::BuildModelMenus() {
  // The model's menus stand between "&Файл" (and the merged "&Правка") and
  // "&Сервис"; the scheme and object menus come with their windows.
  QMenu* data = menuBar()->addMenu(QStringLiteral("&Данные"));
  data->menuAction()->setObjectName(QStringLiteral("dataMenu"));
  beforeEdit_ = data->menuAction();
  int index = 0;
  for (const DataMenuEntry& entry : ModelSession::DataMenu()) {
    const std::string name = "dataItem" + std::to_string(index++);
    QAction* item = data->addAction(ToQString(entry.caption));
    item->setObjectName(QString::fromStdString(name));
    if (!entry.shortcut.empty()) item->setShortcut(QKeySequence(ToQString(entry.shortcut)));
    const DataCommand command = entry.command;
    if (command == DataCommand::GeneralProperties) {
      // The properties dialog comes later.
      item->setEnabled(false);
      item->setIcon(ImageListIcon(39));
      continue;
    }
    connect(item, &QAction::triggered, this,
            [this, command] { Run([this, command] { session_->RunDataCommand(command); }); });
  }

  QMenu* results = menuBar()->addMenu(QStringLiteral("&Результаты"));
  results->menuAction()->setObjectName(QStringLiteral("resultsMenu"));
  bool f3Taken = false;
  index = 0;
  for (const ResultsMenuItem& entry : ResultsWindow::MenuItems()) {
    QAction* item = results->addAction(ToQString(entry.caption));
    item->setObjectName(QStringLiteral("resultsItem%1").arg(index++));
    // Two items carry F3; a key can start only one of them.
    if (!entry.shortcut.empty() && !(entry.shortcut == "F3" && f3Taken)) {
      item->setShortcut(QKeySequence(ToQString(entry.shortcut)));
      f3Taken = f3Taken || entry.shortcut == "F3";
    }
    const std::string id(entry.id);
    connect(item, &QAction::triggered, this,
            [this, id] { Run([this, id] { session_->ShowResults(id); }); });
  }
  results->addSeparator();
  connect(NewItem(results, "sourceTreeItem", "Дерево от ИП..."), &QAction::triggered, this,
          &TMainForm::ShowSourceTree);
  connect(NewItem(results, "calcItem", "Расчет режима"), &QAction::triggered, this,
          [this] { Run([this] { session_->Calculate(); }); });
}

void TMainForm::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Панель инструментов"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(false);
  for (const ButtonText& text : kButtons) {
    QAction* button = toolBar_->addAction(ImageListIcon(text.image), QString::fromUtf8(text.hint));
    button->setObjectName(QString::fromUtf8(text.name));
    button->setToolTip(QString::fromUtf8(text.hint));
    buttons_[static_cast<int>(text.button)] = button;
    if (text.separatorAfter) toolBar_->addSeparator();
  }
  connect(Button(ToolButton::New), &QAction::triggered, this, &TMainForm::NewModel);
  connect(Button(ToolButton::Open), &QAction::triggered, this, [this] { OpenModel(); });
  connect(Button(ToolButton::Save), &QAction::triggered, this, &TMainForm::SaveModel);
  connect(Button(ToolButton::Options), &QAction::triggered, this, &TMainForm::ShowFormatSettings);
  connect(Button(ToolButton::Window), &QAction::triggered, this,
          [this] { Run([this] { session_->ChooseWindowLayout(); }); });
  connect(Button(ToolButton::Calc), &QAction::triggered, this,
          [this] { Run([this] { session_->Calculate(); }); });
  connect(Button(ToolButton::Calc2), &QAction::triggered, this,
          [this] { Run([this] { session_->Calculate2(); }); });
  connect(Button(ToolButton::Sprav), &QAction::triggered, this,
          [this] { Run([this] { session_->ChooseBookCategory(); }); });
  // A mirrored button acts on the active table window.
  for (const Mirror& mirror : kMirrors) {
    const GridCommand command = mirror.command;
    connect(Button(mirror.button), &QAction::triggered, this, [this, command] {
      if (TGridForm* form = ActiveTable()) form->Action(command)->trigger();
    });
  }
}

// --- The session ------------------------------------------------------------------------

void TMainForm::BindSession() {
  ModelSession& s = *session_;
  s.OnCaption = [this](const std::string& text) { setWindowTitle(ToQString(text)); };
  s.OnStatus = [this](const std::string& text) { status_->setText(ToQString(text)); };
  s.OnModelPresent = [this](bool present) { SetModelPresent(present); };
  s.OnModelMenus = [this](bool shown) { SetModelMenus(shown); };
  s.OnModelPath = [this](const std::string& path) {
    recent_.Use(path);
    UpdateRecentItems();
  };
  s.OnShowWindow = [this](TableWindowId id) { ShowTableWindow(id); };
  s.OnRepaintWindow = [this](TableWindowId id) { RepaintTableWindow(id); };
  s.OnHideAllWindows = [this] { HideTableWindows(); };
  s.OnArrangeWindows = [this](int layout) { ArrangeLayout(layout); };
  s.OnUndoAvailable = [this](bool) {
    if (TGridForm* form = ActiveTable()) form->UpdateCommands();
  };
  // An edit in any table (the format settings too) reaches every other.
  tables_->Env().onTableChanged = [this] {
    if (session_ != nullptr) session_->RefreshTables();
  };
}

void TMainForm::Run(const std::function<void()>& command) {
  if (TGridForm* form = ActiveTable()) form->CommitOpenEdit();
  command();
}

void TMainForm::SetModelPresent(bool present) {
  for (const char* name : {"saveItem", "saveAsItem", "closeItem", "importItem", "exportItem"}) {
    Item(name)->setEnabled(present);
  }
  // Printing comes with the print settings.
  Item("printItem")->setEnabled(false);
  for (int i = 0; i < kToolButtonCount; ++i) {
    const auto button = static_cast<ToolButton>(i);
    if (button != ToolButton::New && button != ToolButton::Open) buttons_[i]->setEnabled(false);
  }
  if (present) {
    Button(ToolButton::Save)->setEnabled(true);
    Button(ToolButton::Options)->setEnabled(true);
    Button(ToolButton::Window)->setEnabled(true);
  }
  SetModelMenus(present && session_->Usable());
  MirrorChildCommands();
}

void TMainForm::SetModelMenus(bool shown) {
  for (const char* name : {"serviceMenu", "bookMenu", "windowsMenu", "dataMenu", "resultsMenu"}) {
    Item(name)->setVisible(shown);
  }
  Button(ToolButton::Sprav)->setEnabled(shown);
  Button(ToolButton::Calc)->setEnabled(shown);
  Button(ToolButton::Calc2)->setEnabled(shown);
}

// --- File commands ------------------------------------------------------------------------

// A model opens or closes: the tables ignore copy, find and sizing requests
// meanwhile, and the windows laid out then measure their rows afterwards.
bool TMainForm::FileCommand(const std::function<bool()>& command) {
  if (TGridForm* form = ActiveTable()) form->CommitOpenEdit();
  ++starting_;
  tables_->Env().starting = true;
  const bool done = command();
  tables_->Env().starting = false;
  --starting_;
  RefitShownTables();
  // Paste was judged while the tables could not read their rows.
  if (TGridForm* form = ActiveTable()) form->UpdateCommands();
  return done;
}

bool TMainForm::NewModel() {
  return FileCommand([this] { return session_->NewModel(); });
}

bool TMainForm::OpenModel(const QString& path) {
  return FileCommand([this, &path] { return session_->OpenModel(ToUtf8(path)); });
}

bool TMainForm::SaveModel() {
  return FileCommand([this] { return session_->Save(); });
}

bool TMainForm::SaveModelAs() {
  return FileCommand([this] { return session_->SaveAs(); });
}

bool TMainForm::CloseModel() {
  return FileCommand([this] { return session_->CloseModel(); });
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  if (!modelToOpen_.isEmpty()) {
    QTimer::singleShot(0, this, [this] { OpenModel(modelToOpen_); });
  }
}

void TMainForm::closeEvent(QCloseEvent* event) {
  const bool closed = FileCommand([this] { return session_->CloseForExit(); });
  if (!closed) {
    event->ignore();
    return;
  }
  WriteSettings();
  event->accept();
}

// --- Settings ---------------------------------------------------------------------------------

void TMainForm::ReadSettings() {
  ReadDisplaySettings(store_, settings_);
  recent_.Read(store_, FileNameOf(programPath_));
  for (int i = 0; i < recent_.StartCount(); ++i) {
    QAction* item = fileMenu_->addAction(QString());
    item->setObjectName(QStringLiteral("recentItem%1").arg(i + 1));
    const int entry = i + 1;
    connect(item, &QAction::triggered, this,
            [this, entry] { OpenModel(ToQString(recent_.Entry(entry))); });
    recentItems_[i] = item;
  }
  recentSeparator_->setVisible(recent_.StartCount() > 0);
  UpdateRecentItems();
  toolBar_->setVisible(!settings_.toolbarHidden);
}

void TMainForm::UpdateRecentItems() {
  for (int i = 0; i < RecentFiles::kEntries; ++i) {
    if (recentItems_[i] == nullptr) continue;
    recentItems_[i]->setText(ToQString(recent_.Caption(i + 1)));
    recentItems_[i]->setVisible(!recent_.Entry(i + 1).empty());
  }
}

void TMainForm::WriteSettings() {
  settings_.toolbarHidden = toolBar_->isHidden();
  WriteDisplaySettings(store_, settings_);
  recent_.Write(store_, FileNameOf(programPath_));
}

void TMainForm::ApplyDisplaySettings() {
  ApplyNumberFormat(settings_);
  TableEnvironment& env = tables_->Env();
  env.rowColour = Color::FromColorRef(settings_.colorDefault);
  env.csv = CsvOptionsOf(settings_);
}

void TMainForm::ApplyTableFont() {
  tables_->SetFont(settings_.Font());
  setFont(tables_->TableFont());
  for (TGridForm* form : findChildren<TGridForm*>()) form->ApplyFont();
}

void TMainForm::RepaintTables() {
  ApplyDisplaySettings();
  for (TGridForm* form : findChildren<TGridForm*>()) form->Redraw();
}

void TMainForm::ShowFormatSettings() {
  if (TGridForm* form = ActiveTable()) form->CommitOpenEdit();
  FormatSettingsOwner owner(settings_, ui_);
  owner.OnFontChanged = [this] { ApplyTableFont(); };
  owner.OnRepaintAll = [this] { RepaintTables(); };
  owner.OnToolbarChanged = [this](bool visible) { toolBar_->setVisible(visible); };
  owner.OnReLayout = [this] {
    if (session_->Usable()) session_->ReLayout();
  };
  settings_.toolbarHidden = toolBar_->isHidden();
  owner.Show();
  ApplyDisplaySettings();
}

// --- Texts -------------------------------------------------------------------------------------

void TMainForm::ShowTextFile(const QString& title, const std::string& path) {
  const std::optional<std::string> text = ReadViewerText(files_, path);
  if (!text) return;
  RunTextViewer(this, title, ToQString(*text), tables_->TableFont());
}

void TMainForm::ShowProtocol() {
  if (!session_->HasModel()) return;
  if (const std::optional<std::string> path =
          ShowProtocolOrMessage(ui_, files_, session_->Model().FileName())) {
    ShowTextFile(ToQString(kProtocolTitle), *path);
  }
}

void TMainForm::ShowNotes() {
  if (const std::optional<std::string> path = ShowNotesOrMessage(ui_, files_, programPath_)) {
    ShowTextFile(ToQString(kNotesTitle), *path);
  }
}

void TMainForm::ShowHelp() {
  const std::optional<std::string> path = ShowHelpOrMessage(ui_, files_, programPath_);
  if (!path) return;
  const bool opened = OpenDocument
                          ? OpenDocument(ToQString(*path))
                          : QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(*path)));
  if (opened) return;
  // Without a program for it on the desktop, the HTML help shows in the
  // program's own viewer.
  const std::optional<std::string> text =
      path->ends_with(".htm") ? ReadViewerText(files_, *path) : std::nullopt;
  if (!text) {
    ui_.ShowError(kHelpTitle, "Нет программы для просмотра файла " + *path);
    return;
  }
  RunTextViewer(this, ToQString(kHelpTitle), ToQString(*text), tables_->TableFont(),
                ViewerText::Html);
}

// --- Exchange files ------------------------------------------------------------------

void TMainForm::ImportFile() {
  Run([this] {
    TGridForm* table = ActiveTable();
    session_->Import(CsvOptionsOf(settings_), table ? &table->Window().Form() : nullptr);
  });
}

void TMainForm::ExportFile() {
  Run([this] {
    TGridForm* table = ActiveTable();
    session_->Export(CsvOptionsOf(settings_), table ? &table->Window().Owner() : nullptr,
                     table ? &table->Window().Form() : nullptr);
    if (table != nullptr) table->Redraw();
  });
}

void TMainForm::ShowAbout() {
  TAboutBox about(this);
  about.exec();
}

void TMainForm::ShowSourceTree() {
  if (!session_->Usable()) return;
  int source = 1;
  if (!ui_.InputInteger("Дерево от ИП", "Номер источника питания", source)) return;
  tbClass* sources = session_->Model().Sources();
  if (sources == nullptr || source < 1 || source > 255 || !modelClass::SeekExact(sources, source)) {
    ui_.ShowError("Дерево от ИП", "Нет источника № " + std::to_string(source));
    return;
  }
  const std::int32_t branch = SourceRec(sources->Record()).BranchKey();
  if (branch == 0) {
    ui_.ShowError("Дерево от ИП", "Источник № " + std::to_string(source) + " не присоединен");
    return;
  }
  session_->ShowSourceTree(branch / 256);
}

// --- Table windows -----------------------------------------------------------------------

TGridForm* TMainForm::ActiveTable() const {
  QMdiSubWindow* child = area_->activeSubWindow();
  return child == nullptr ? nullptr : qobject_cast<TGridForm*>(child->widget());
}

QMdiSubWindow* TMainForm::TableSubWindow(TableWindowId id) {
  Child& child = children_[id];
  if (!child.window.isNull()) return child.window;
  TableOwner* owner = session_->Owner(id);
  TableForm* form = session_->Form(id);
  if (owner == nullptr || form == nullptr) return nullptr;
  auto* grid = new TGridForm(*owner, *form, *tables_);
  auto* window = new HidingSubWindow(area_);
  window->setWidget(grid);
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  window->setWindowIcon(ImageListIcon(12));
  area_->addSubWindow(window);
  window->hide();
  grid->onCommandsChanged = [this, grid] {
    if (ActiveTable() == grid) MirrorChildCommands();
  };
  // The data windows delete model records: the model's journal undoes them.
  if (id == TableWindowId::Sources || id == TableWindowId::Receivers ||
      id == TableWindowId::Groups) {
    grid->Window().SetUndoJournal(
        {[this] { return session_->CanUndoDeletion(); }, [this] { session_->UndoDeletion(); }});
  }
  child.window = window;
  child.form = grid;
  AddWindowCommands(id, *grid, *window);
  return window;
}

void TMainForm::AddWindowCommands(TableWindowId id, TGridForm& grid, QMdiSubWindow& window) {
  QMenu* menu = grid.EditMenu();
  const auto item = [this, &grid, menu](const char* name, const char* caption, const char* shortcut,
                                        std::function<void()> act) {
    QAction* action = NewItem(menu, name, caption, shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid.addAction(action);
    connect(action, &QAction::triggered, this, [&grid, act = std::move(act)] {
      grid.CommitOpenEdit();
      act();
      grid.Redraw();
    });
    return action;
  };
  switch (id) {
    case TableWindowId::Book: {
      menu->addSeparator();
      item("bookCategoryItem", "Вид оборудования", "Alt+S",
           [this] { session_->ChooseBookCategory(); });
      item("bookImportItem", "Импорт", "", [this] {
        if (BookOwner* book = session_->Book()) {
          ImportBook(*book, ui_, files_, CsvOptionsOf(settings_).separator);
          ShowTableWindow(TableWindowId::Book);
        }
      });
      item("bookExportItem", "Экспорт", "", [this] {
        if (BookOwner* book = session_->Book()) {
          ExportBookCategory(*book, ui_, files_, CsvOptionsOf(settings_));
        }
      });
      item("bookSaveAsItem", "Сохранить как ...", "", [this] { session_->SaveBookAs(); });
      // Closing the book window forgets the category shown.
      static_cast<HidingSubWindow&>(window).onClosed = [this, &window] {
        if (BookOwner* book = session_->Book()) book->CloseTable();
        window.resize(100, 100);
      };
      break;
    }
    case TableWindowId::Receivers: {
      QAction* sort = grid.Popup()->addAction(QStringLiteral("Сортировка"));
      sort->setObjectName(QStringLiteral("sortItem"));
      connect(sort, &QAction::triggered, this, [this, &grid] {
        if (DataClass* data = session_->Data()) {
          grid.Window().Sync();  // the owner sorts by the current column
          data->Receivers().Sort();
          grid.Redraw();
        }
      });
      break;
    }
    case TableWindowId::Results: {
      menu->addSeparator();
      int index = 0;
      for (const ResultsMenuItem& entry : ResultsWindow::MenuItems()) {
        const std::string name = "resultsWindowItem" + std::to_string(index++);
        const std::string id(entry.id);
        item(name.c_str(), std::string(entry.caption).c_str(), "",
             [this, id] { session_->ShowResults(id); });
      }
      break;
    }
    default:
      break;
  }
}

QRect TMainForm::FreeArea() const {
  QRect area = area_->viewport()->rect();
  area.setHeight(std::max(area.height() - 4, 1));
  return area;
}

void TMainForm::FitChild(QMdiSubWindow* child, TGridForm* form, int cols, int rows, bool measure) {
  // The frame of a sub-window: what it adds around its widget.
  const QSize frame = child->sizeHint() - child->widget()->sizeHint();
  const QRect area = FreeArea();
  const QSize room(area.width() - std::max(frame.width(), 0),
                   area.height() - std::max(frame.height(), 0));
  form->FittedSize(cols, rows, measure, room);
  // The form's size hint is now the fitted size; the frame goes round it.
  child->adjustSize();
}

void TMainForm::ShowTableWindow(TableWindowId id) {
  QMdiSubWindow* child = TableSubWindow(id);
  if (child == nullptr) return;
  TGridForm* form = children_[id].form;
  form->Redraw();
  const bool first = !child->isVisible();
  const bool otherColumns = form->Window().Form().head1 != children_[id].fittedHead;
  child->show();
  if (child->isMinimized()) child->showNormal();
  if (first || otherColumns || id == TableWindowId::Book || id == TableWindowId::Results) {
    FitChild(child, form, 0, 0, true);
    children_[id].fittedHead = form->Window().Form().head1;
  }
  // Windows open at the top left corner; a window that sticks out of the
  // area comes back inside it.
  if (first || id == TableWindowId::Book) child->move(0, 0);
  KeepInside(child);
  area_->setActiveSubWindow(child);
  form->setFocus();
}

void TMainForm::KeepInside(QMdiSubWindow* child) {
  const QRect g = child->geometry();
  std::vector<Rect> rects{Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}};
  const QRect a = FreeArea();
  ArrangeInside(rects, Rect{a.left(), a.top(), a.left() + a.width(), a.top() + a.height()});
  child->setGeometry(rects[0].left, rects[0].top, rects[0].Width(), rects[0].Height());
}

// The windows laid out while a model opened could not measure their rows:
// their columns take the width of their contents now.
void TMainForm::RefitShownTables() {
  for (auto& [id, child] : children_) {
    if (child.window.isNull() || !child.window->isVisible()) continue;
    child.form->FittedSize(0, 0, true, FreeArea().size());
    child.fittedHead = child.form->Window().Form().head1;
    child.form->Redraw();
  }
}

void TMainForm::RepaintTableWindow(TableWindowId id) {
  TGridForm* form = TableChild(id);
  if (form == nullptr) return;
  // A result table shown is built anew: its columns take its new cells' width.
  if (id == TableWindowId::Results && children_[id].window->isVisible()) {
    form->FittedSize(0, 0, true, FreeArea().size());
  }
  form->Redraw();
}

void TMainForm::HideTableWindows() {
  for (auto& [id, child] : children_) {
    if (child.window.isNull()) continue;
    area_->removeSubWindow(child.window);
    delete child.window;
  }
  children_.clear();
  ChildActivated(nullptr);
}

void TMainForm::ArrangeLayout(int layout) {
  const QRect area = FreeArea();
  // Until the scheme and the object window exist, every layout that gives
  // them the room stacks the data windows there instead, so an opened model
  // always shows its tables; layouts 2 and 3 close them, and 7 ("Oкна
  // каскадом") cascades every open window with the data windows.
  if (layout == 7) {
    CascadeWindows();
    return;
  }
  const bool stack = layout == 1 || layout == 4 || layout == 5 || layout == 6;
  if (!stack) {
    for (TableWindowId id : kStacked) {
      if (TableChild(id) != nullptr) children_[id].window->hide();
    }
    return;
  }
  const int third = area.height() / 3;
  int top = area.top();
  for (TableWindowId id : kStacked) {
    QMdiSubWindow* child = TableSubWindow(id);
    if (child == nullptr) continue;
    TGridForm* form = children_[id].form;
    form->Redraw();
    child->show();
    // The columns take the width of their contents; the window its third.
    form->FittedSize(0, 0, true, area.size());
    children_[id].fittedHead = form->Window().Form().head1;
    child->setGeometry(area.left(), top, area.width(), third);
    top += third;
  }
  ArrangeWindows();
}

void TMainForm::ShowFittedDataWindows() {
  for (TableWindowId id : kStacked) {
    QMdiSubWindow* child = TableSubWindow(id);
    if (child == nullptr) continue;
    TGridForm* form = children_[id].form;
    form->Redraw();
    child->show();
    FitChild(child, form, 0, 0, true);
    children_[id].fittedHead = form->Window().Form().head1;
  }
}

void TMainForm::CascadeWindows() {
  // The data windows take the size of their contents, not of a stack.
  ShowFittedDataWindows();
  std::vector<Rect> rects;
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* child : area_->subWindowList(QMdiArea::StackingOrder)) {
    if (!child->isVisible() || child->isMinimized()) continue;
    rects.push_back(ToRect(child->geometry()));
    windows.push_back(child);
  }
  if (windows.empty()) return;
  // Each window shows the title bar of the one behind it.
  QStyle* style = windows.front()->style();
  const int step = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()) +
                   style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, windows.front());
  Cascade(rects, ToRect(FreeArea()), step);
  for (std::size_t i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(rects[i].left, rects[i].top, rects[i].Width(), rects[i].Height());
    windows[i]->raise();
  }
  area_->setActiveSubWindow(windows.back());
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A smaller main window brings its children back inside.
  if (watched == area_->viewport() && event->type() == QEvent::Resize) ArrangeWindows();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ArrangeWindows() {
  std::vector<Rect> rects;
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* child : area_->subWindowList()) {
    // A maximised child follows the area by itself.
    if (!child->isVisible() || child->isMinimized() || child->isMaximized()) continue;
    const QRect g = child->geometry();
    rects.push_back(Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    windows.push_back(child);
  }
  const QRect a = FreeArea();
  ArrangeInside(rects, Rect{a.left(), a.top(), a.left() + a.width(), a.top() + a.height()});
  for (std::size_t i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(rects[i].left, rects[i].top, rects[i].Width(), rects[i].Height());
  }
}

// --- Merging the active child ------------------------------------------------------------

void TMainForm::ChildActivated(QMdiSubWindow* child) {
  if (mergedEdit_ != nullptr) {
    menuBar()->removeAction(mergedEdit_);
    mergedEdit_ = nullptr;
  }
  for (TGridForm* form : findChildren<TGridForm*>()) {
    if (child == nullptr || form != child->widget()) form->CommitOpenEdit();
  }
  TGridForm* form = child == nullptr ? nullptr : qobject_cast<TGridForm*>(child->widget());
  if (form != nullptr) {
    form->UpdateCommands();
    mergedEdit_ = form->EditMenu()->menuAction();
    menuBar()->insertAction(beforeEdit_, mergedEdit_);
  }
  MirrorChildCommands();
}

void TMainForm::MirrorChildCommands() {
  TGridForm* form = ActiveTable();
  for (const Mirror& mirror : kMirrors) {
    QAction* button = Button(mirror.button);
    QAction* item = form == nullptr ? nullptr : form->Action(mirror.command);
    button->setEnabled(item != nullptr && item->isEnabled() && item->isVisible());
  }
  QAction* formButton = Button(ToolButton::Form);
  const bool formView = form != nullptr && form->Window().FormView();
  // The button offers the other view: "Форма" from the table, "Таблица" back.
  formButton->setIcon(ImageListIcon(formView ? 12 : 11));
  formButton->setToolTip(formView ? QStringLiteral("Таблица") : QStringLiteral("Форма"));
}

}  // namespace kordavelt
