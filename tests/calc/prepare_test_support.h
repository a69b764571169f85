#pragma once

// Scenarios for the element preparation tests: a model with its reference
// book, catalogue types written in one line each, object records edited in
// place, and the element of a branch prepared as the calculation does it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "calc/prepare_elements.h"
#include "model/element_rec.h"
#include "model/model_builder.h"
#include "model/model_records.h"
#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt::testing {

class PrepareScenario : public ::testing::Test {
 public:
  PrepareScenario() {
    n1 = m.Node();
    n2 = m.Node();
  }

  sprClass& Book() { return *m->Book(); }

  // A type `code` of book table `table`, filled by `fill` over its record.
  template <class View>
  std::int32_t Type(int table, std::int32_t code, const std::function<void(View&)>& fill) {
    tbClass* t = Book().OpenBookTable(table);
    t->Insert(code);
    View view(t->Record());
    fill(view);
    t->MarkModifiedAndFlush();
    return code;
  }

  // A branch of `kind` from node 1 to node 2 (or to nowhere for terminals)
  // with its object record edited by `fill`.
  template <class View>
  std::int32_t Object(int kind, const std::function<void(View&)>& fill, bool twoEnded = true) {
    const std::int32_t key = m.Branch(kind, n1, twoEnded ? n2 : 0);
    EditObject<View>(kind, key, fill);
    return key;
  }

  template <class View>
  void EditObject(int kind, std::int32_t key, const std::function<void(View&)>& fill) {
    tbClass* objects = m->OpenObjectTable(kind);
    if (!modelClass::SeekExact(objects, key)) return;
    View view(objects->Record());
    fill(view);
    objects->MarkModifiedAndFlush();
  }

  // A copy of the object record of branch `key`, read back from its table.
  template <class View>
  float ObjectValue(int kind, std::int32_t key, float (View::*field)() const) {
    tbClass* objects = m->OpenObjectTable(kind);
    if (!modelClass::SeekExact(objects, key)) return NAN;
    return (View(objects->Record()).*field)();
  }

  // The element of branch `signedKey` (negative: passed against its
  // direction) at nominal voltage `unom`, prepared; `currents` sets the
  // currents flowing through it first.
  ElementRec& Prepare(std::int32_t signedKey, float unom = 380,
                      const std::function<void(ElementRec&)>& currents = {}) {
    const int record = Record(signedKey < 0 ? -signedKey : signedKey);
    ElementRec& e = *m->Element(record);
    e.signedKey = signedKey;
    e.unom = unom;
    if (currents) currents(e);
    lastResult = PrepareElement(m.model, e, record, 7);
    return e;
  }

  int Record(std::int32_t key) {
    tbClass* branches = m->Branches();
    return modelClass::SeekExact(branches, key) ? branches->RecordNumber() : 0;
  }

  ModelBuilder m;
  int n1 = 0;
  int n2 = 0;
  bool lastResult = false;
};

}  // namespace kordavelt::testing
