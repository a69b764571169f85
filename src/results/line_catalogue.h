#pragma once

// What the reference book says about the line of a result row: the type's
// designation, brand, voltage and conductors, and the catalogue's permissible
// current of all parallel conductors for the line's laying (ground or air).

#include <string>

namespace kordavelt {

class modelClass;
struct ElementRec;

struct LineCatalogue {
  bool found = false;       // the type (and a cable's brand) is in the book
  std::string designation;  // "ВВГ-4*95"
  std::string typeName;     // the brand of a cable, the type name of the others
  std::string laying;       // "Откр", "Трнш", "Блок" for cables; empty otherwise
  std::string conductors;   // "4x95", "3x95+1x50"
  double unomV = 0;         // the brand's voltage
  int parallel = 1;         // cables or wires in parallel
  double permissibleA = 0;  // parallel × catalogue current for the laying
  double lengthM = 0;       // from the object, found or not
};

// The catalogue data of a line element (kinds 11 … 14).
LineCatalogue ReadLineCatalogue(modelClass& model, const ElementRec& line);

}  // namespace kordavelt
