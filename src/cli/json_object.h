#pragma once

// One JSON object written on one line, for the command line's listings that
// other programs read back: numbers so that a float32 reads back exactly
// (nine significant digits), NaN and infinities as null, texts (UTF-8)
// escaped as JSON requires.
//
//   JsonObject o;
//   o.Add("key", 257).Add("Ur", 398.5f).Add("violations", "#Iдоп!");
//   out << o.Text() << '\n';   // {"key":257,"Ur":398.5,"violations":"#Iдоп!"}

#include <cstdint>
#include <string>
#include <string_view>

#include "base/complex.h"

namespace kordavelt {

// A number as JSON: "%.9g", or null when it is not finite.
std::string JsonNumber(double value);
// A text as a JSON string with its quotes.
std::string JsonString(std::string_view utf8);

class JsonObject {
 public:
  JsonObject& Add(std::string_view key, std::int64_t value);
  JsonObject& Add(std::string_view key, int value) { return Add(key, std::int64_t{value}); }
  JsonObject& Add(std::string_view key, double value);
  JsonObject& Add(std::string_view key, float value) { return Add(key, double{value}); }
  // A complex value as [re, im].
  JsonObject& Add(std::string_view key, const Complex& value);
  JsonObject& Add(std::string_view key, bool value);
  JsonObject& Add(std::string_view key, std::string_view text);
  JsonObject& Add(std::string_view key, const char* text) {
    return Add(key, std::string_view(text));
  }

  // The object with its braces.
  std::string Text() const { return "{" + members_ + "}"; }

 private:
  JsonObject& Member(std::string_view key, std::string_view json);

  std::string members_;
};

}  // namespace kordavelt
