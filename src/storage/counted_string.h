#pragma once

// Counted strings: string[n] is one length byte followed by n bytes of code
// page 1251 text, n + 1 bytes in all. The program works with them in UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/le_bytes.h"

namespace kordavelt {

// The text of the string[capacity] at `offset`. A length byte larger than the
// capacity (a damaged record) is cut to the capacity; bytes beyond the buffer
// read as nothing.
std::string ReadCountedString(ConstBytes record, std::size_t offset, std::size_t capacity);

// Stores `utf8` as string[capacity] at `offset`, cut at `capacity` characters.
// Bytes after the stored characters keep what they held. Returns false, and
// writes nothing, when the field does not fit in the buffer.
bool WriteCountedString(Bytes record, std::size_t offset, std::size_t capacity,
                        std::string_view utf8);

}  // namespace kordavelt
