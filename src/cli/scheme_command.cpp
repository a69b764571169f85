#include "cli/scheme_command.h"

#include <charconv>
#include <ctime>
#include <optional>

#include "cli/calc_session.h"
#include "draw/svg_canvas.h"
#include "results/scheme_colours.h"
#include "scheme/model_scheme.h"
#include "scheme/scheme_pages.h"
#include "storage/file_errors.h"
#include "storage/file_replace.h"

namespace kordavelt {
namespace {

constexpr int kLastColouringMode = kColourByConditions;

struct SchemeOptions {
  CalcOptions calc;
  int page = kMainPage;
  std::optional<int> colouring;
  std::string svg;
};

std::optional<int> IntOf(const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// The value of option `name` at args[i + 1]; an error text when it is bad.
std::string TakeOption(const std::string& name, const std::string& value, SchemeOptions& options) {
  if (name == "--svg") {
    options.svg = value;
  } else if (name == "--book") {
    options.calc.book = value;
  } else if (name == "--page") {
    const std::optional<int> page = IntOf(value, kMainPage, kLastPage);
    if (!page) return "номер подсхемы должен быть от 1 до 255";
    options.page = *page;
  } else if (name == "--colouring") {
    options.colouring = IntOf(value, kColourNone, kLastColouringMode);
    if (!options.colouring) return "режим раскраски должен быть от 0 до 6";
  } else if (name == "--regime") {
    const std::optional<int> regime = IntOf(value, 1, 8);
    if (!regime) return "номер режима должен быть от 1 до 8";
    options.calc.regime = *regime - 1;
  } else {
    return "неверный ключ «" + name + "»";
  }
  return {};
}

std::optional<SchemeOptions> ParseSchemeOptions(const std::vector<std::string>& args,
                                                const CliContext& context, int& exitCode) {
  SchemeOptions options;
  std::string error;
  for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--png") {
      error = "--png недоступен в этой сборке; используйте --svg";
    } else if (arg.starts_with("--")) {
      error = i + 1 < args.size() ? TakeOption(arg, args[++i], options)
                                  : "после «" + arg + "» нужно значение";
    } else if (options.calc.model.empty()) {
      options.calc.model = arg;
    } else {
      error = "лишний аргумент «" + arg + "»";
    }
  }
  if (error.empty() && options.calc.model.empty()) error = "не задана модель";
  if (error.empty() && options.svg.empty()) error = "не задан файл рисунка (--svg)";
  if (error.empty()) return options;
  exitCode = UsageError(context, error);
  return std::nullopt;
}

bool WritePicture(const std::string& path, const std::string& text, const CliContext& context) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (const int error = ReplaceFile(context.files, path, ConstBytes(bytes, text.size()));
      error != 0) {
    context.ui.ShowError(path, "Ошибка записи в файл#" + FileErrorText(error));
    return false;
  }
  return true;
}

std::tm Now() {
  const std::time_t now = std::time(nullptr);
  std::tm moment{};
  localtime_r(&now, &moment);
  return moment;
}

}  // namespace

int RunScheme(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<SchemeOptions> options = ParseSchemeOptions(args, context, exitCode);
  if (!options) return exitCode;
  CalcSession session(options->calc, context);
  if (!session.Open()) return session.OpenExitCode();
  session.Run();
  context.err << session.StatusLine() << '\n';
  modelClass& model = session.Model();
  if (options->colouring) model.Settings().SetColouringMode(*options->colouring);

  RepairLog log;
  const SchemeExport page = PrepareSchemeExport(model, options->page, log);
  SvgCanvas canvas(page.view.width, page.view.height);
  const SchemePalette palette;
  RenderSchemePage(page.geometry.nodes, page.geometry.branches, page.view,
                   ModelSchemeHooks(model, palette, Now()), canvas);
  for (const std::string& report : log.TakePending()) context.ui.ShowError(kCliName, report);
  const bool written = WritePicture(options->svg, canvas.Document(), context);
  session.Close();
  return written ? kExitOk : kExitProblems;
}

}  // namespace kordavelt
