#pragma once

// "&Формат данных": the modal settings table "Настройка формата", one row
// per display setting — the font, significant digits, the minimum non-zero,
// the three element colours, the toolbar, the CSV separator and the quoting
// of CSV texts. Every edit takes effect at once; the hooks let the main
// window bring the open tables, schemes and the toolbar along.

#include <functional>
#include <string_view>

#include "shell/display_settings.h"
#include "ui/table_owner.h"

namespace kordavelt {

class UiHost;

class FormatSettingsOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Настройка формата";
  static constexpr std::string_view kMenu = "###Закрыть";
  static constexpr int kRows = 9;

  FormatSettingsOwner(DisplaySettings& settings, UiHost& ui);

  // Unbound hooks do nothing.
  // A new font: every open table re-applies it, every scheme redraws.
  std::function<void()> OnFontChanged;
  // Digits, minimum non-zero, a colour or the toolbar changed: every open
  // table and scheme repaints.
  std::function<void()> OnRepaintAll;
  std::function<void(bool visible)> OnToolbarChanged;
  // The model's "&Восстановить порядок": re-lays out the open tables after
  // a change.
  std::function<void()> OnReLayout;

  TableForm& Form() { return form_; }
  // Shows the table, starting on the digits row; true when it closed with ok
  // (it has only "Закрыть", so in practice false).
  bool Show();

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;

 private:
  // Applies the edit of one row; true when a setting changed.
  bool EditRow(TableForm& form);
  bool EditColour(std::uint32_t& colour);

  DisplaySettings& settings_;
  UiHost& ui_;
  TableForm form_;
};

}  // namespace kordavelt
