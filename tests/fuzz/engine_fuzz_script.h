#pragma once

// The operation script of the engine's fuzz target: the bytes after the last
// whole page of an input. Each operation is one byte (taken modulo kOpCount)
// followed by its arguments; the seed writer builds scripts from the same list.
//
// Arguments:
//   table   one byte: below 0x80 a number in use (by index), below 0xC0 the
//           numbers 1 ... 16, else two more bytes: any number 0 ... 333
//   length  one byte: 0 the table's own, 1 → 4, 2 → 34, 3 → 164, 4 → 2044,
//           5 → 1 + byte / 8, 6 → 0 or 2048 (no table has those), 7 → 1000 + byte
//   key     one byte k, then: k % 4 = 0 one signed byte; 1 four bytes;
//           2 none, one of min, -1, 0, 1, max - 1, max by k / 4;
//           3 two bytes choosing a key the table holds, plus (k / 4 % 3 - 1)

#include <cstddef>
#include <cstdint>

#include "base/le_bytes.h"

namespace kordavelt::fuzz {

// A run length byte: 1 ... 128 one by one, then 32 ... 2048 by sixteens.
constexpr int RunLength(std::uint8_t byte) { return byte < 128 ? byte + 1 : (byte - 127) * 16; }
constexpr std::uint8_t RunLengthByte(int count) {
  return static_cast<std::uint8_t>(count <= 128 ? count - 1 : count / 16 + 127);
}

enum EngineOp : std::uint8_t {
  kOpOpen,       // table, length: opens it and makes it current
  kOpInsert,     // key, fill byte
  kOpInsertRun,  // run length, mode (0 up, 1 down, 2 scattered, 3 same key), key, fill
  kOpDelete,     // the current record
  kOpDeleteRun,  // run length, two bytes of seed: GoTo a random record, Delete
  kOpSeek,       // key
  kOpGoTo,       // two bytes, signed
  kOpNext,
  kOpPrev,
  kOpScan,       // GoTo(0), Next until false
  kOpChangeKey,  // key
  kOpUndo,       // UndoDeletions
  kOpLastKey,
  kOpEditRecord,    // fill byte: new data for the current record
  kOpJournal,       // even byte on, odd off
  kOpReopen,        // CloseFile, OpenFile
  kOpReadOnly,      // toggles read-only, then reopens
  kOpWriteBlock,    // table, two bytes of length, fill byte
  kOpReadBlock,     // table, two bytes of length
  kOpClearTable,    // table: freed and cleared
  kOpCopyTable,     // table: the target of a copy of the current table
  kOpChangeLength,  // length: reopens the current table with it, answering Yes
  kOpFree,          // frees the current table
  kOpFlush,         // even byte: the current table, odd: FlushAll
  kOpPack,          // PackFile (once per input, small files only)
  kOpFailWrites,    // the next (byte % 4) writes fail
  kOpFailReads,     // the next (byte % 4) reads fail
  kOpCount
};

// Reads a script; past its end every byte reads as 0.
class Script {
 public:
  explicit Script(ConstBytes bytes) : bytes_(bytes) {}
  bool Done() const { return at_ >= bytes_.size(); }
  std::uint8_t Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  // Arguments are read in order, one statement each: the order in which a
  // call's arguments are evaluated is unspecified.
  std::uint16_t U16() {
    const int low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }
  std::int32_t I32() {
    const std::uint32_t low = U16();
    return static_cast<std::int32_t>(low | (static_cast<std::uint32_t>(U16()) << 16));
  }

 private:
  ConstBytes bytes_;
  std::size_t at_ = 0;
};

}  // namespace kordavelt::fuzz
