#include "shell/display_settings.h"

#include <algorithm>

#include "base/number_format.h"
#include "shell/settings_store.h"

namespace kordavelt {
namespace {

// The number format takes no more significant digits than the settings table allows.
constexpr int kMaxDigits = 10;

}  // namespace

void DisplaySettings::SetFont(const FontChoice& font) {
  fontName = font.name;
  fontSize = font.pointSize;
  fontStyle = font.style;
}

DisplaySettingsRead ReadDisplaySettings(SettingsStore& store, DisplaySettings& settings) {
  const std::string_view key = kSettingsKey;
  if (!store.HasKey(key)) {
    store.CreateKey(key);
    return DisplaySettingsRead::KeyCreated;
  }
  // Each value is taken as soon as it is read: a failure part-way leaves the
  // values already read in place and the rest at their start values.
  const std::optional<std::string> name = store.ReadString(key, "FontName");
  if (!name) return DisplaySettingsRead::Stopped;
  settings.fontName = name->empty() ? "Arial" : *name;

  const std::optional<std::int32_t> size = store.ReadInt(key, "FontSize");
  if (!size) return DisplaySettingsRead::Stopped;
  settings.fontSize = *size <= 0 ? 10 : *size;

  const std::optional<bool> toolbarHidden = store.ReadBool(key, "Toolbar");
  if (!toolbarHidden) return DisplaySettingsRead::Stopped;
  settings.toolbarHidden = *toolbarHidden;

  const std::optional<std::int32_t> style = store.ReadInt(key, "FontStyle");
  if (!style) return DisplaySettingsRead::Stopped;
  settings.fontStyle = *style & 3;

  const std::optional<std::int32_t> digits = store.ReadInt(key, "Digits");
  if (!digits) return DisplaySettingsRead::Stopped;
  settings.digits = *digits == 0 ? 3 : std::clamp(*digits, 0, kMaxDigits);

  const std::optional<double> minNull = store.ReadDouble(key, "MinNull");
  if (!minNull) return DisplaySettingsRead::Stopped;
  settings.minNull = static_cast<float>(*minNull);

  for (auto [name, colour] : {std::pair{"ColorDefault", &settings.colorDefault},
                              std::pair{"ColorOffline", &settings.colorOffline},
                              std::pair{"ColorSelect", &settings.colorSelect}}) {
    const std::optional<std::int32_t> value = store.ReadInt(key, name);
    if (!value) return DisplaySettingsRead::Stopped;
    *colour = static_cast<std::uint32_t>(*value) & 0xFFFFFF;
  }
  if (settings.colorOffline == settings.colorDefault) settings.colorOffline = kDefaultOfflineColour;
  if (settings.colorSelect == settings.colorDefault) settings.colorSelect = kDefaultSelectColour;
  return DisplaySettingsRead::Complete;
}

bool WriteDisplaySettings(SettingsStore& store, const DisplaySettings& settings) {
  const std::string_view key = kSettingsKey;
  if (!store.CreateKey(key)) return false;
  // Every value is tried: one refused write need not lose the others.
  bool ok = store.WriteString(key, "FontName", settings.fontName);
  ok &= store.WriteInt(key, "FontSize", settings.fontSize);
  ok &= store.WriteInt(key, "FontStyle", settings.fontStyle);
  ok &= store.WriteInt(key, "Digits", settings.digits);
  ok &= store.WriteDouble(key, "MinNull", settings.minNull);
  ok &= store.WriteInt(key, "ColorDefault", static_cast<std::int32_t>(settings.colorDefault));
  ok &= store.WriteInt(key, "ColorOffline", static_cast<std::int32_t>(settings.colorOffline));
  ok &= store.WriteInt(key, "ColorSelect", static_cast<std::int32_t>(settings.colorSelect));
  ok &= store.WriteBool(key, "Toolbar", settings.toolbarHidden);
  return ok;
}

void ApplyNumberFormat(const DisplaySettings& settings) {
  Digits = settings.digits;
  MinNull = settings.minNull;
}

CsvOptions CsvOptionsOf(const DisplaySettings& settings) {
  return CsvOptions{settings.csvSeparator, settings.csvQuotes};
}

}  // namespace kordavelt
