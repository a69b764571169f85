#pragma once

// The display settings of the whole program, owned by the main window: the
// one font of tables, texts and schemes, the number format, the three element
// colours, the toolbar and the CSV options. They live in the per-user store
// under kSettingsKey, read when the main window is created and written when it
// closes (the CSV options only for the run).

#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/export_variant.h"
#include "ui/ui_host.h"

namespace kordavelt {

class SettingsStore;

inline constexpr std::string_view kSettingsKey = "\\Software\\Tarnell\\Setting";

// Colours are colour references, 0x00BBGGRR.
inline constexpr std::uint32_t kDefaultOfflineColour = 0xC0C0C0;  // silver
inline constexpr std::uint32_t kDefaultSelectColour = 0x0000FF;   // red

struct DisplaySettings {
  std::string fontName = "Arial";
  int fontSize = 10;                                   // points
  int fontStyle = 0;                                   // 1 italic + 2 bold
  int digits = 5;                                      // significant digits of FormatNumber
  float minNull = 0.000001f;                           // magnitudes below it are shown as 0
  std::uint32_t colorDefault = 0;                      // elements on the scheme and rows in tables
  std::uint32_t colorOffline = kDefaultOfflineColour;  // switched-off elements
  std::uint32_t colorSelect = kDefaultSelectColour;    // selected elements
  bool toolbarHidden = false;
  char csvSeparator = ',';
  bool csvQuotes = false;

  FontChoice Font() const { return {fontName, fontSize, fontStyle}; }
  void SetFont(const FontChoice& font);
};

enum class DisplaySettingsRead {
  KeyCreated,  // first start: the key was made, the start values stay
  Complete,    // every value was read
  Stopped,     // a read failed; it and the values after it keep their start values
};

// Reads, in this order, "FontName" (empty: "Arial"), "FontSize" (0: 10),
// "Toolbar", "FontStyle", "Digits" (0: 3), "MinNull", "ColorDefault",
// "ColorOffline" and "ColorSelect"; the last two fall back to silver and red
// when equal to the standard colour, so switched-off and selected elements
// never vanish among the others.
DisplaySettingsRead ReadDisplaySettings(SettingsStore& store, DisplaySettings& settings);

// Writes them back (the CSV options are not kept); false when any write failed.
bool WriteDisplaySettings(SettingsStore& store, const DisplaySettings& settings);

// Makes FormatNumber follow the settings' digits and minimum non-zero.
void ApplyNumberFormat(const DisplaySettings& settings);

CsvOptions CsvOptionsOf(const DisplaySettings& settings);

}  // namespace kordavelt
