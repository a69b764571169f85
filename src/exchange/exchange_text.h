#pragma once

// The pieces of text the exchange files are made of: encoded lines, CSV
// items, XML names, values and declarations. Shared by the table export and
// PutClass, so that both write the same format.

#include <string>
#include <string_view>

#include "exchange/export_variant.h"

namespace kordavelt {

// Program text (UTF-8) as the bytes of a file: UTF-8, or Windows-1251.
std::string EncodeForFile(std::string_view text, bool utf8);

// The separator to use: a printable ASCII character other than '#' and the
// quote characters, or a TAB; anything else falls back to ','.
char CsvSeparator(const CsvOptions& options);

// One CSV item: trimmed; with the quote option, its first two double quotes
// become apostrophes and a text that is not a number is enclosed in double
// quotes. Without the option a text holding the separator is enclosed in
// double quotes all the same (unless it holds a quote character, which the
// reader takes as quoting anyway), so that it reads back as one value.
std::string CsvItem(std::string_view item, const CsvOptions& options);

// `<?xml version="1.0" encoding="Windows-1251"?>` or the UTF-8 one.
std::string XmlDeclaration(bool utf8);

// A usable XML name: characters that cannot stand in a name become '_'.
std::string XmlName(std::string_view name);

// Text with &, <, >, " and ' written as entities.
std::string XmlEscape(std::string_view text);

// "<name>value</name>" with the value trimmed and escaped.
std::string XmlElement(std::string_view name, std::string_view value);

// ` name="value"` with the value trimmed and escaped (in apostrophes when
// it holds a double quote).
std::string XmlAttribute(std::string_view name, std::string_view value);

// The attributes " name=value" of the first `count` items of `values`, named
// by the same items of `fieldNames`. A name met again (field lists may repeat
// one) is left out: an element with a repeated attribute is no XML at all.
std::string XmlAttributes(std::string_view fieldNames, std::string_view values, int count);

}  // namespace kordavelt
