#pragma once

// "Настройка вида схемы": the modal table of the scheme's view settings, one
// row per setting. Rows 4 and 7 are the current page's (its scale and stamp
// size) and row 16 the window's edit mode; the rest are the settings shared
// by every scheme window. Every change calls OnChanged with its row, after
// which the window applies it and redraws.

#include <functional>
#include <string_view>

#include "scheme/view_settings.h"
#include "ui/table_owner.h"

namespace kordavelt {

class UiHost;

// What the table edits.
struct SchemeViewChoices {
  ViewSettings settings;
  int scale = 0;      // index into kScaleChoiceList
  int stampSize = 0;  // 0 none … 3 300 %
  bool editMode = false;
};

class ViewSettingsOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Настройка вида схемы";
  static constexpr std::string_view kMenu = "###Применить";
  static constexpr std::string_view kStampSizeList = "Нет штампа#100%#200%#300%";
  static constexpr int kRows = 16;
  // The rows whose change the window applies itself.
  static constexpr int kScaleRow = 4;
  static constexpr int kStampRow = 7;
  static constexpr int kEditModeRow = 16;

  ViewSettingsOwner(SchemeViewChoices& choices, UiHost& ui);

  std::function<void(int row)> OnChanged;

  TableForm& Form() { return form_; }
  bool Show();

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;

 private:
  bool EditRow(TableForm& form);

  SchemeViewChoices& choices_;
  UiHost& ui_;
  TableForm form_;
};

}  // namespace kordavelt
