#include "exchange/exchange_text.h"

#include <set>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/number_format.h"
#include "base/paste_values.h"

namespace kordavelt {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string EncodeForFile(std::string_view text, bool utf8) {
  return utf8 ? std::string(text) : Utf8ToCp1251(text);
}

char CsvSeparator(const CsvOptions& options) {
  const char c = options.separator;
  if (c == '\t') return c;
  if (c <= ' ' || c >= 0x7F || c == '#' || c == '"' || c == '\'') return ',';
  return c;
}

std::string CsvItem(std::string_view item, const CsvOptions& options) {
  std::string text(TrimBlanks(item));
  if (!options.quotes) {
    // Bare, a text holding the separator would read back as two values.
    const bool holdsSeparator = text.find(CsvSeparator(options)) != std::string::npos;
    const bool holdsQuote = text.find_first_of("\"'") != std::string::npos;
    return holdsSeparator && !holdsQuote ? '"' + text + '"' : text;
  }
  int replaced = 0;
  for (char& c : text) {
    if (c == '"' && replaced < 2) {
      c = '\'';
      ++replaced;
    }
  }
  double number = 0;
  if (ParseNumber(text, number)) return text;
  return '"' + text + '"';
}

std::string XmlDeclaration(bool utf8) {
  return std::string("<?xml version=\"1.0\" encoding=\"") + (utf8 ? "UTF-8" : "Windows-1251") +
         "\"?>";
}

std::string XmlName(std::string_view name) {
  std::string result;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool nonAscii = static_cast<unsigned char>(c) >= 0x80;
    const bool startChar = IsAsciiLetter(c) || c == '_' || nonAscii;
    const bool nameChar = startChar || IsAsciiDigit(c) || c == '-' || c == '.';
    result += (result.empty() ? startChar : nameChar) ? c : '_';
  }
  if (result.empty()) result = "_";
  return result;
}

std::string XmlEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        result += "&amp;";
        break;
      case '<':
        result += "&lt;";
        break;
      case '>':
        result += "&gt;";
        break;
      case '"':
        result += "&quot;";
        break;
      case '\'':
        result += "&apos;";
        break;
      default:
        result += c;
        break;
    }
  }
  return result;
}

std::string XmlElement(std::string_view name, std::string_view value) {
  const std::string tag = XmlName(name);
  return '<' + tag + '>' + XmlEscape(TrimBlanks(value)) + "</" + tag + '>';
}

std::string XmlAttribute(std::string_view name, std::string_view value) {
  value = TrimBlanks(value);
  const char quote = value.find('"') != std::string_view::npos ? '\'' : '"';
  return ' ' + XmlName(name) + '=' + quote + XmlEscape(value) + quote;
}

std::string XmlAttributes(std::string_view fieldNames, std::string_view values, int count) {
  std::string text;
  std::set<std::string> written;
  for (int i = 0; i < count; ++i) {
    const std::string name(ListItem(fieldNames, i));
    if (!written.insert(XmlName(name)).second) continue;
    text += XmlAttribute(name, ListItem(values, i));
  }
  return text;
}

}  // namespace kordavelt
