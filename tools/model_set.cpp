// kordavelt-model-set: writes into a model what its exchange file does not
// carry, so that a model kept as an exchange file can be rebuilt whole:
//
//   kordavelt-model-set MODEL.LVN [--regime N=NAME]... [--setting NAME=VALUE]...
//                                 [--self-start RECEIVER]...
//
//   --regime N=NAME       the name of regime N (1 … 8, as the program numbers them)
//   --setting NAME=VALUE  a numeric value of the settings block by its field name
//                         (SelfStartMethod=2, MaxVoltageDrop=5 …)
//   --self-start RECEIVER marks the group of the receiver with this designation
//                         as taking part in self-start
//
// Exit codes: 0 done, 1 the model or a receiver not found, 2 a wrong option.

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"
#include "cli/console_ui_host.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/model_settings.h"
#include "storage/file_layer.h"
#include "storage/file_path.h"
#include "storage/record_layout.h"

namespace kordavelt {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

struct Assignment {
  std::string name;
  std::string value;
};

std::optional<Assignment> SplitAssignment(std::string_view text) {
  const std::size_t sign = text.find('=');
  if (sign == std::string_view::npos || sign == 0) return std::nullopt;
  return Assignment{std::string(text.substr(0, sign)), std::string(text.substr(sign + 1))};
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

struct Options {
  std::string model;
  std::vector<Assignment> regimes;
  std::vector<Assignment> settings;
  std::vector<std::string> selfStart;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--regime" && hasValue) {
      const auto regime = SplitAssignment(args[++i]);
      if (!regime) return std::nullopt;
      options.regimes.push_back(*regime);
    } else if (arg == "--setting" && hasValue) {
      const auto setting = SplitAssignment(args[++i]);
      if (!setting) return std::nullopt;
      options.settings.push_back(*setting);
    } else if (arg == "--self-start" && hasValue) {
      options.selfStart.push_back(args[++i]);
    } else if (options.model.empty() && !arg.starts_with("--")) {
      options.model = arg;
    } else {
      return std::nullopt;
    }
  }
  if (options.model.empty()) return std::nullopt;
  return options;
}

bool SetRegimeName(ModelSettings& settings, const Assignment& regime) {
  const auto number = ParseNumber(regime.name);
  if (!number || *number < 1 || *number > ModelSettings::kRegimeCount) return false;
  settings.SetRegimeName(static_cast<int>(*number) - 1, regime.value);
  return true;
}

// A numeric field of the settings block, written as its type.
bool SetSetting(ModelSettings& settings, const Assignment& setting) {
  const auto value = ParseNumber(setting.value);
  if (!value) return false;
  for (const FieldDef& field : ModelSettingsLayout().fields) {
    if (field.name != setting.name) continue;
    const Bytes block = settings.Block();
    const auto offset = static_cast<std::size_t>(field.offset);
    switch (field.type) {
      case FieldType::U8:
        WriteU8(block, offset, static_cast<std::uint8_t>(*value));
        return true;
      case FieldType::I32:
        WriteI32(block, offset, static_cast<std::int32_t>(*value));
        return true;
      case FieldType::F32:
        WriteF32(block, offset, static_cast<float>(*value));
        return true;
      default:
        return false;
    }
  }
  return false;
}

// The group of the receiver with this designation takes part in self-start.
bool MarkSelfStart(modelClass& model, const std::string& designation) {
  const std::int32_t key = model.Designations().KeyOf(designation);
  if (key <= 0 || !modelClass::SeekExact(model.Groups(), GroupOfKey(key))) return false;
  GroupRec(model.Groups()->Record()).SetSelfStart(1);
  model.Groups()->MarkModifiedAndFlush();
  return true;
}

int Run(const std::vector<std::string>& args) {
  const std::optional<Options> options = ParseOptions(args);
  if (!options) {
    std::cerr << "Использование: kordavelt-model-set МОДЕЛЬ [--regime N=ИМЯ]... "
                 "[--setting ИМЯ=ЗНАЧЕНИЕ]... [--self-start ЭЛЕКТРОПРИЕМНИК]...\n";
    return kExitUsage;
  }
  ConsoleUiHost ui(std::cerr);
  FileSystem& files = LocalFileSystem();
  if (!files.Exists(options->model)) {
    std::cerr << options->model << ": Файл не найден\n";
    return kExitProblems;
  }
  modelClass model(ui, files, FolderOf(options->model) + "kordavelt-model-set");
  model.SetFileName(options->model);
  if (!model.OpenFile() || !model.Usable()) return kExitProblems;

  int exitCode = kExitOk;
  for (const Assignment& regime : options->regimes) {
    if (!SetRegimeName(model.Settings(), regime)) {
      std::cerr << "Нет режима " << regime.name << '\n';
      exitCode = kExitUsage;
    }
  }
  for (const Assignment& setting : options->settings) {
    if (!SetSetting(model.Settings(), setting)) {
      std::cerr << "Нет числовой настройки " << setting.name << "=" << setting.value << '\n';
      exitCode = kExitUsage;
    }
  }
  model.WriteSettings();
  for (const std::string& designation : options->selfStart) {
    if (!MarkSelfStart(model, designation)) {
      std::cerr << designation << ": электроприемник не найден\n";
      exitCode = kExitProblems;
    }
  }
  model.SetAskToSave(false);
  model.CloseFile();
  return exitCode;
}

}  // namespace
}  // namespace kordavelt

int main(int argc, char** argv) {
  return kordavelt::Run(std::vector<std::string>(argv + 1, argv + argc));
}
