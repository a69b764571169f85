#pragma once

// Whether a model refers to the reference book at all: the object of a
// branch, or a receiver group, that holds a type code other than 0 names a
// catalogue type, whose parameters the calculation takes from the book. A
// model of abstract branches and sources with their own data names none; nor
// does an object record that a deleted branch left behind.

namespace kordavelt {

class modelClass;

// True when the object of some branch, or some receiver group, of the open
// model names a catalogue type.
bool NamesCatalogueTypes(modelClass& model);

}  // namespace kordavelt
