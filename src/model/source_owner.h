#pragma once

// SourceOwner: the owner of the sources window "Источники питания.", one row
// per power source in key order and an append row: designation, nominal
// voltage, colour and the design load Sр, Pр, Qр, Iр.

#include <cstdint>
#include <functional>
#include <string_view>

#include "model/data_rows.h"
#include "ui/table_owner.h"

namespace kordavelt {

class modelClass;
class UiHost;

class SourceOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Источники питания.";

  SourceOwner(modelClass& model, UiHost& ui);

  TableForm& Form() { return form_; }
  // Reads the sources again.
  void Reload();
  // ComputeSourceLoads by the model's load method, then a repaint.
  void UpdateLoads();

  // The window repaints after the loads changed.
  std::function<void()> OnRepaint;

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;

 private:
  std::int32_t AppendSource(TableForm& form);
  void Renumber(std::int32_t source, std::int32_t number, TableForm& form);
  // A value typed into a load or branch column: the message why it is not taken.
  void ExplainComputed(TableForm& form);

  modelClass& model_;
  UiHost& ui_;
  DataRows rows_;
  TableForm form_;
};

}  // namespace kordavelt
