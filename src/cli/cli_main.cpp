#include "cli/cli_main.h"

#include "cli/book_command.h"
#include "cli/calc_command.h"
#include "cli/check_command.h"
#include "cli/console_ui_host.h"
#include "cli/dump_command.h"
#include "cli/model_command.h"
#include "cli/model_exchange_command.h"
#include "cli/scheme_command.h"
#include "storage/file_errors.h"

namespace kordavelt {
namespace {

constexpr std::string_view kUsage =
    "Использование:\n"
    "  kordavelt-cli dump ФАЙЛ              таблицы файла: номер, длина слота, число записей,\n"
    "                                       корневая страница, уровни индекса\n"
    "  kordavelt-cli dump ФАЙЛ --table N    записи таблицы N: в модели поля записей по именам,\n"
    "                                       иначе ключ и данные в шестнадцатеричном виде;\n"
    "                                       для блока данных — его байты\n"
    "  kordavelt-cli dump ФАЙЛ --table N --hex  то же в шестнадцатеричном виде\n"
    "  kordavelt-cli check ФАЙЛ             проверка файла: структура, ключи и поля записей\n"
    "                                       модели или справочника, прерванная запись;\n"
    "                                       код выхода 1, если найдены ошибки\n"
    "  kordavelt-cli import-book СПРАВОЧНИК ФАЙЛ... [--separator C] [--append-duplicates]\n"
    "                                       добавить в справочник (новый, если его нет)\n"
    "                                       типы из разделов файлов обмена (*.CSV, *.TXT,\n"
    "                                       *.XML) по порядку; типы, чьи обозначения уже\n"
    "                                       есть в виде оборудования, пропускаются, если\n"
    "                                       не задан --append-duplicates; код выхода 1,\n"
    "                                       если файл повреждён (справочник не изменён)\n"
    "  kordavelt-cli export-book СПРАВОЧНИК ФАЙЛ [--variant N] [--separator C] [--quotes]\n"
    "                                       выгрузить все виды оборудования справочника,\n"
    "                                       по разделу на вид; N — вариант файла: 1 CSV,\n"
    "                                       2 CSV (MS DOS), 3 TXT, 4-7 XML (4, 6 Win1251,\n"
    "                                       5, 7 UTF-8; 6, 7 с атрибутами); без --variant\n"
    "                                       вариант задаёт расширение ФАЙЛА: .csv — 1,\n"
    "                                       .txt — 3, .xml — 6, другое — 1; каждый\n"
    "                                       вариант читается обратно import-book\n"
    "  kordavelt-cli restore МОДЕЛЬ [--delete-hidden]\n"
    "                                       восстановление согласованности таблиц модели;\n"
    "                                       с --delete-hidden удаляются и ветви и узлы,\n"
    "                                       которых нет на схеме; записывается, только если\n"
    "                                       модель после него проходит проверку\n"
    "  kordavelt-cli restore МОДЕЛЬ --from-backup\n"
    "                                       вернуть модель к её копии «ИМЯ.~LVN» (последнему\n"
    "                                       целому состоянию); модель, запись которой была\n"
    "                                       прервана, сохраняется как «ИМЯ.interrupted.LVN»\n"
    "  kordavelt-cli pack МОДЕЛЬ [КОПИЯ]    упакованная копия модели (по умолчанию\n"
    "                                       «ИМЯ!.LVN»)\n"
    "  kordavelt-cli import-model МОДЕЛЬ ФАЙЛ [--book СПРАВОЧНИК] [--separator C]\n"
    "                                       ввод модели из файла обмена (*.CSV, *.TXT, *.XML)\n"
    "                                       в модель (новую, если её нет; для новой модели\n"
    "                                       --book задаёт справочник); код выхода 1, если\n"
    "                                       файл повреждён\n"
    "  kordavelt-cli export-model МОДЕЛЬ ФАЙЛ [--variant N] [--separator C] [--quotes]\n"
    "                                       [--book СПРАВОЧНИК]\n"
    "                                       вывод модели в файл обмена; N — вариант файла\n"
    "                                       (без --variant — по расширению ФАЙЛА), как\n"
    "                                       у export-book; читается обратно import-model\n"
    "  kordavelt-cli calc МОДЕЛЬ [--book СПРАВОЧНИК] [--regime N] [--choice]\n"
    "                     [--set СМЕЩЕНИЕ=ЗНАЧЕНИЕ]... [--table ТАБЛИЦА] [--format Ф]\n"
    "                     [--variant N] [--separator C] [--quotes] [--out ФАЙЛ]\n"
    "                                       расчет сети: строка состояния («Узлов-…»,\n"
    "                                       в конце «Нарушений: N», если они есть), затем\n"
    "                                       нарушения или, с --table, таблица\n"
    "                                       результатов: Rez, KJur,\n"
    "                                       Loads, Potr, Teplo, Tree[:ИП] (ИП 1 по\n"
    "                                       умолчанию) или Cells:УЗЕЛ (номер или\n"
    "                                       обозначение узла);\n"
    "                                       --regime N — текущий режим N = 1 … 8, как\n"
    "                                       в таблице режимов (режим N-1 в файле);\n"
    "                                       --set — значение блока настроек модели по\n"
    "                                       смещению его поля (тип поля: целое, число,\n"
    "                                       текст; поля перечисляет dump МОДЕЛЬ --table 1),\n"
    "                                       только на этот расчет, не сохраняется;\n"
    "                                       --format text (по умолчанию: выровненная\n"
    "                                       таблица), csv, txt, xml (XML UTF-8) или\n"
    "                                       --variant N файла обмена, как у export-book;\n"
    "                                       на экран — в UTF-8, в --out — как файл\n"
    "                                       обмена программы;\n"
    "                                       модель не изменяется; только --choice\n"
    "                                       (расчет с автовыбором оборудования, включённым\n"
    "                                       на этот расчет) сохраняет выбранные типы;\n"
    "                                       код выхода 1, если расчет сообщил об ошибке\n"
    "                                       или ни один ИП не рассчитан\n"
    "  kordavelt-cli elements МОДЕЛЬ [--book СПРАВОЧНИК] [--regime N] [--choice]\n"
    "                     [--set СМЕЩЕНИЕ=ЗНАЧЕНИЕ]... [--out ФАЙЛ]\n"
    "                                       расчет, затем по строке JSON на каждый\n"
    "                                       элемент дерева каждого ИП (ключи source,\n"
    "                                       index, key, kind, level, start_node, end_node,\n"
    "                                       Unom, Uref, Ur, Up, Ir, Ia, Z1, …, violations);\n"
    "                                       строка состояния — в поток ошибок\n"
    "  kordavelt-cli scheme МОДЕЛЬ [--page N] [--colouring N] [--book СПРАВОЧНИК]\n"
    "                     [--regime N] --svg ФАЙЛ\n"
    "                                       расчет, затем подсхема N (1 по умолчанию)\n"
    "                                       целиком в рисунок SVG; --colouring — режим\n"
    "                                       раскраски 0 … 6; модель не изменяется\n"
    "Файл *.LVN или *.~LVN должен быть моделью сети, *.SPR или *.~SPR — справочником\n"
    "оборудования; файл с другим расширением может быть любым из них.\n"
    "Команды, которые только читают, не пишут ни модель, ни справочник, ни их копии.\n"
    "Команды, которые изменяют файл, изменяют его целиком или никак: прежнее состояние\n"
    "остаётся копией «ИМЯ.~LVN» («ИМЯ.~SPR»); файл, открытый для записи другой\n"
    "программой, не изменяется (код выхода 2).\n";

}  // namespace

int UsageError(const CliContext& context, const std::string& what) {
  context.ui.ShowError(kCliName, what);
  context.err << kUsage;
  return kExitUsage;
}

int ArgumentError(const CliContext& context, const std::string& what) {
  context.ui.ShowError(kCliName, what);
  return kExitUsage;
}

bool CheckReadable(const std::string& path, const CliContext& context) {
  int error = context.files.AccessError(path, OpenMode::ReadOnly);
  if (error == 0 && !context.files.Exists(path)) error = -ENOENT;
  if (error == 0) return true;
  context.ui.ShowError(path, FileErrorText(error));
  return false;
}

std::unique_ptr<RandomAccessFile> OpenDatabaseFile(const std::string& path,
                                                   const CliContext& context) {
  if (!CheckReadable(path, context)) return nullptr;
  auto file = context.files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) context.ui.ShowError(path, "Файл не открывается");
  return file;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunCli(args, out, err, LocalFileSystem());
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files) {
  ConsoleUiHost ui(err);
  const CliContext context{out, err, files, ui};
  if (args.empty()) return UsageError(context, "не задана команда");

  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "help" || command == "--help" || command == "-h") {
    out << kUsage;
    return kExitOk;
  }
  if (command == "dump") return RunDump(rest, context);
  if (command == "check") return RunCheck(rest, context);
  if (command == "import-book") return RunImportBook(rest, context);
  if (command == "export-book") return RunExportBook(rest, context);
  if (command == "restore") return RunRestore(rest, context);
  if (command == "pack") return RunPack(rest, context);
  if (command == "import-model") return RunImportModel(rest, context);
  if (command == "export-model") return RunExportModel(rest, context);
  if (command == "calc") return RunCalc(rest, context);
  if (command == "elements") return RunElements(rest, context);
  if (command == "scheme") return RunScheme(rest, context);
  return UsageError(context, "неизвестная команда «" + command + "»");
}

}  // namespace kordavelt
