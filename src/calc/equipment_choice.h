#pragma once

// The automatic equipment choice: after a source tree has been calculated,
// every element whose type the user has not fixed gets the smallest type of
// its series in the reference book that meets what the calculation found —
// the working current, the breaking current, the Joule integrals of the
// faults — and the new type code is written into its object record, so that
// the next calculation uses it.
//
//   CalcClass calc(model);
//   calc.CalcNetworkWithChoice();  // with "Автовыбор оборудования" on

#include "model/element_rec.h"

namespace kordavelt {

class CalcClass;
class modelClass;

// One element of the automatic choice. Left alone: protective devices with
// settings of their own (20), motors, capacitor banks and lighting (41–43,
// 46), sources and receivers (51, 52), equivalent motors (54, 55), elements
// whose branch flags fix the type (bit 1), kinds without catalogue types and
// elements without an object record or present type. True when the object
// got another type (its table saved, so the model file is marked modified).
bool ChooseEquipment(modelClass& model, const ElementRec& element);

// The choice over every element of the traced tree; the number of objects
// that got another type.
int ChooseEquipmentOfTree(CalcClass& calc);

}  // namespace kordavelt
