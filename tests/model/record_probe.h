#pragma once

// Checks of the typed record views against the record layouts.
//
// Each field a view reaches is described by a probe: how to store a test
// value through the view and how to tell that the view reads it back. The
// checks store the value through the view and read it through the layout,
// store it through the layout and read it through the view, and carry whole
// records through a real model file. A wrong offset, width or signedness in
// either the view or the layout shows up as a mismatch.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/cp1251.h"
#include "base/le_bytes.h"
#include "storage/record_layout.h"

namespace kordavelt::testing {

// Test values: no zero byte, negative where the type is signed; the text is
// Cyrillic and longer than any counted string.
template <class T>
T TestValue();
template <>
inline std::uint8_t TestValue() {
  return 201;
}
template <>
inline std::int8_t TestValue() {
  return -5;
}
template <>
inline std::uint16_t TestValue() {
  return 54321;
}
template <>
inline std::int16_t TestValue() {
  return -1234;
}
template <>
inline std::int32_t TestValue() {
  return -123456789;
}
template <>
inline float TestValue() {
  return -3.14159274f;
}
template <>
std::string TestValue();

// Byte i of a raw span's test value.
inline std::uint8_t RawTestByte(std::size_t i) { return static_cast<std::uint8_t>(0x11 + i); }

// What a view should read after the test value went through `field`: a text
// is cut at the field's capacity.
template <class T>
T ExpectedValue(const FieldDef& field) {
  if constexpr (std::is_same_v<T, std::string>) {
    return std::string(Utf8Prefix(TestValue<std::string>(), static_cast<std::size_t>(field.size)));
  } else {
    return TestValue<T>();
  }
}

struct FieldProbe {
  std::string_view field;                             // its name in the layout
  std::function<void(Bytes)> set;                     // stores the test value through the view
  std::function<bool(Bytes, const FieldDef&)> holds;  // the view reads the test value
};

struct ViewProbe {
  int table = 0;
  std::string_view view;  // the view's class, for messages
  std::vector<FieldProbe> fields;
};

template <class View, class T, class S>
FieldProbe Probe(std::string_view field, T (View::*get)() const, void (View::*set)(S)) {
  return {
      field, [set](Bytes b) { (View(b).*set)(TestValue<T>()); },
      [get](Bytes b, const FieldDef& def) { return (View(b).*get)() == ExpectedValue<T>(def); }};
}

// An element of an array field.
template <class View, class T>
FieldProbe IndexedProbe(std::string_view field, int index, T (View::*get)(int) const,
                        void (View::*set)(int, T)) {
  return {field, [=](Bytes b) { (View(b).*set)(index, TestValue<T>()); },
          [=](Bytes b, const FieldDef&) { return (View(b).*get)(index) == TestValue<T>(); }};
}

// A raw span handed out in place.
template <class View>
FieldProbe SpanProbe(std::string_view field, Bytes (View::*span)() const) {
  return {field,
          [=](Bytes b) {
            const Bytes bytes = (View(b).*span)();
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = RawTestByte(i);
          },
          [=](Bytes b, const FieldDef& def) {
            const Bytes bytes = (View(b).*span)();
            if (bytes.size() != static_cast<std::size_t>(def.size)) return false;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
              if (bytes[i] != RawTestByte(i)) return false;
            }
            return true;
          }};
}

// Every field of the layout but the unused spans has one probe, and every
// probe names a field.
void ExpectProbesCoverLayout(const ViewProbe& probe);

// Each field alone, in a record filled with a pattern: stored through the
// view it reads back through the layout and no byte outside it changes;
// stored through the layout it reads back through the view.
void ExpectViewAgreesWithLayout(const ViewProbe& probe);

// One record per view in a new model file: inserted all zero, filled with a
// pattern and every field's test value through the view, the file closed and
// reopened; every field reads back and the unused spans keep the pattern.
void ExpectRoundTripThroughModelFile(std::span<const ViewProbe> probes);

}  // namespace kordavelt::testing
