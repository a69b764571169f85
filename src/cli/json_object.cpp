#include "cli/json_object.h"

#include <cmath>
#include <cstdio>

namespace kordavelt {

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string JsonString(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (byte < 0x20) {
          json += "\\u00";
          json += kHex[byte >> 4];
          json += kHex[byte & 0x0F];
        } else {
          json += c;  // UTF-8 sequences pass as they are
        }
    }
  }
  return json + "\"";
}

JsonObject& JsonObject::Member(std::string_view key, std::string_view json) {
  if (!members_.empty()) members_ += ',';
  members_ += JsonString(key);
  members_ += ':';
  members_ += json;
  return *this;
}

JsonObject& JsonObject::Add(std::string_view key, std::int64_t value) {
  return Member(key, std::to_string(value));
}

JsonObject& JsonObject::Add(std::string_view key, double value) {
  return Member(key, JsonNumber(value));
}

JsonObject& JsonObject::Add(std::string_view key, const Complex& value) {
  return Member(key, "[" + JsonNumber(value.re) + "," + JsonNumber(value.im) + "]");
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
  return Member(key, value ? "true" : "false");
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view text) {
  return Member(key, JsonString(text));
}

}  // namespace kordavelt
