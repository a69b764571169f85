#include "cli/calc_command.h"

#include <optional>

#include "base/cp1251.h"
#include "cli/calc_session.h"
#include "cli/element_json.h"
#include "cli/text_table.h"
#include "cli/violation_table.h"
#include "model/marka_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/source_numbers.h"
#include "results/network_names.h"
#include "results/result_tables.h"
#include "storage/file_errors.h"
#include "storage/file_replace.h"
#include "table/table_export.h"

namespace kordavelt {
namespace {

// Writes `text` as the whole file `path`, in place of the old one only when
// all of it was written; false after a message.
bool WriteWholeFile(const std::string& path, const std::string& text, const CliContext& context) {
  const std::uint8_t* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (const int error = ReplaceFile(context.files, path, ConstBytes(bytes, text.size()));
      error != 0) {
    context.ui.ShowError(path, "Ошибка записи в файл#" + FileErrorText(error));
    return false;
  }
  return true;
}

// An exchange file variant meant for the console: the text as UTF-8 with
// plain line ends (the XML variants keep the encoding they declare).
std::string ConsoleText(const std::vector<std::uint8_t>& bytes, ExportVariant variant) {
  std::string text(bytes.begin(), bytes.end());
  if (!IsXml(variant)) text = Cp1251ToUtf8(text);
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain += text[i];
  }
  return plain;
}

// The table as an exchange file: into --out, or through memory to the output.
bool ExportResultTable(ResultTable& table, TableForm& form, const CalcOptions& options,
                       const CliContext& context) {
  const ExportVariant variant = *options.variant;
  if (!options.out.empty()) {
    return ExportTableToFile(table, form, options.out, variant, options.csv, context.files, false,
                             context.ui);
  }
  MemoryFileSystem memory;
  const std::string path = "table";
  if (!ExportTableToFile(table, form, path, variant, options.csv, memory, false, context.ui)) {
    return false;
  }
  context.out << ConsoleText(*memory.Find(path), variant);
  return true;
}

// The node whose designation is `designation` (in any letter case); 0 when
// no node has it.
int NodeNamed(modelClass& model, const std::string& designation) {
  const std::int32_t code = model.Designations().KeyOf(designation);
  if (code <= 0 || SlotOfKey(code) != 0) return 0;
  const int node = NodeOfKey(code);
  if (!modelClass::SeekExact(model.Nodes(), node)) return 0;
  return FoldDesignation(MarkingText(model, code)) == FoldDesignation(designation) ? node : 0;
}

bool PrintResultTable(CalcSession& session, const CalcOptions& options, const CliContext& context) {
  std::unique_ptr<ResultTable> table =
      MakeResultTable(session.Calc(), options.table, options.tableArgument);
  TableForm form;
  if (table == nullptr || !table->Open(form)) return false;
  if (options.variant) return ExportResultTable(*table, form, options, context);
  const std::string text = RenderTextTable(*table, form, session.Ui());
  if (options.out.empty()) {
    context.out << text;
    return true;
  }
  return WriteWholeFile(options.out, text, context);
}

// The source numbers in key order.
bool SourceCalculated(modelClass& model, int source) {
  return modelClass::SeekExact(model.Sources(), source) &&
         SourceRec(model.Sources()->Record()).Calculated() != 0;
}

// The node at the far end of branch `key`, 0 when it has none or the node is missing.
int FarNode(modelClass& model, std::int32_t key) {
  if (!modelClass::SeekExact(model.Branches(), key)) return 0;
  const int node = NodeOfKey(BranchRec(model.Branches()->Record()).KeyEnd());
  return node != 0 && modelClass::SeekExact(model.Nodes(), node) ? node : 0;
}

// The nodes at both ends of TreeList[index] in the direction of travel, as
// the trace walked it: against the branch's direction it enters at the far
// node and leaves by the start node. The source's own branch starts and ends
// at the root of the tree.
void AssignTravelNodes(CalcSession& session, int index, ElementPlace& place) {
  const ElementRec& element = session.Calc().Element(index);
  const std::int32_t key = BranchKeyOf(element);
  const int start = NodeOfKey(key);
  if (index == 1) {
    place.startNode = place.endNode = start;
  } else if (element.signedKey > 0) {
    place.startNode = start;
    place.endNode = FarNode(session.Model(), key);
  } else {
    place.startNode = FarNode(session.Model(), key);
    place.endNode = modelClass::SeekExact(session.Model().Nodes(), start) ? start : 0;
  }
}

std::string ElementLines(CalcSession& session) {
  std::string lines;
  CalcClass& calc = session.Calc();
  // The run has shown what is wrong with a tree already.
  session.Ui().SetQuiet(true);
  for (const int source : SourceNumbers(session.Model())) {
    if (!calc.TraceTree(source)) continue;
    ElementPlace place;
    place.source = source;
    place.calculated = SourceCalculated(session.Model(), source);
    for (int i = 1; i <= calc.Count(); ++i) {
      place.index = i;
      AssignTravelNodes(session, i, place);
      lines += ElementJson(calc.Element(i), place) + '\n';
    }
  }
  session.Ui().SetQuiet(false);
  return lines;
}

// The elements that violate a condition, as an aligned text table; nothing
// when every check passed.
void PrintViolations(CalcSession& session, const CliContext& context) {
  ViolationTable table;
  TableForm form;
  session.Ui().SetQuiet(true);
  const bool any = table.Open(session.Calc(), form);
  session.Ui().SetQuiet(false);
  if (any) context.out << RenderTextTable(table, form, session.Ui());
}

// The command's calculation and its output; the exit code.
int Calculate(const CalcOptions& options, bool elements, const CliContext& context) {
  CalcSession session(options, context);
  if (!session.Open()) return session.OpenExitCode();
  CalcOptions resolved = options;
  if (!options.tableNode.empty()) {
    resolved.tableArgument = NodeNamed(session.Model(), options.tableNode);
    // Refused before anything is calculated or saved (the session, left
    // without Close, writes nothing).
    if (resolved.tableArgument == 0) {
      return ArgumentError(context, "нет узла с обозначением «" + options.tableNode + "»");
    }
  }
  bool clean = session.Run();
  // The listing's output is JSON only: its status line goes with the messages.
  (elements ? context.err : context.out) << session.StatusLine() << '\n';
  if (elements) {
    const std::string lines = ElementLines(session);
    if (options.out.empty()) {
      context.out << lines;
    } else if (!WriteWholeFile(options.out, lines, context)) {
      clean = false;
    }
  } else if (options.table.empty()) {
    PrintViolations(session, context);
  } else if (!PrintResultTable(session, resolved, context)) {
    clean = false;
  }
  if (!session.Close()) clean = false;
  return clean ? kExitOk : kExitProblems;
}

}  // namespace

int RunCalc(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<CalcOptions> options = ParseCalcOptions(args, false, context, exitCode);
  return options ? Calculate(*options, false, context) : exitCode;
}

int RunElements(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<CalcOptions> options = ParseCalcOptions(args, true, context, exitCode);
  return options ? Calculate(*options, true, context) : exitCode;
}

}  // namespace kordavelt
