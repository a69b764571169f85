#pragma once

// The per-user settings "registry": keys named by paths such as
// "\Software\Tarnell\Setting", each holding named, typed values.
//
// The main window keeps its display settings and the recent-file list here.
// Every operation reports failure by its result, never by an exception: a
// read answers nothing for a missing value, a value of another type or a
// failed access alike, and the caller keeps what it had.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kordavelt {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual bool HasKey(std::string_view key) = 0;
  // True when the key exists afterwards.
  virtual bool CreateKey(std::string_view key) = 0;

  virtual std::optional<std::string> ReadString(std::string_view key, std::string_view name) = 0;
  virtual std::optional<std::int32_t> ReadInt(std::string_view key, std::string_view name) = 0;
  virtual std::optional<double> ReadDouble(std::string_view key, std::string_view name) = 0;
  virtual std::optional<bool> ReadBool(std::string_view key, std::string_view name) = 0;

  // A write creates its key when needed.
  virtual bool WriteString(std::string_view key, std::string_view name, std::string_view value) = 0;
  virtual bool WriteInt(std::string_view key, std::string_view name, std::int32_t value) = 0;
  virtual bool WriteDouble(std::string_view key, std::string_view name, double value) = 0;
  virtual bool WriteBool(std::string_view key, std::string_view name, bool value) = 0;
};

// Settings in memory: the fallback when the system store cannot be used, and
// the store of tests, which can make it break part-way.
class MemorySettingsStore : public SettingsStore {
 public:
  using Value = std::variant<std::string, std::int32_t, double, bool>;

  // From the first read of the value `name` (in any key) on, that read and
  // every later one fail, as a store that breaks in the middle of reading.
  void FailReadsFrom(std::string name);
  // Every CreateKey and write fails (a store the user may not write to).
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // The stored value, whatever its type; nothing when there is none.
  std::optional<Value> Find(std::string_view key, std::string_view name) const;

  bool HasKey(std::string_view key) override;
  bool CreateKey(std::string_view key) override;
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) override;
  std::optional<std::int32_t> ReadInt(std::string_view key, std::string_view name) override;
  std::optional<double> ReadDouble(std::string_view key, std::string_view name) override;
  std::optional<bool> ReadBool(std::string_view key, std::string_view name) override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view value) override;
  bool WriteInt(std::string_view key, std::string_view name, std::int32_t value) override;
  bool WriteDouble(std::string_view key, std::string_view name, double value) override;
  bool WriteBool(std::string_view key, std::string_view name, bool value) override;

 private:
  template <typename T>
  std::optional<T> Read(std::string_view key, std::string_view name);
  bool Write(std::string_view key, std::string_view name, Value value);

  std::map<std::string, std::map<std::string, Value, std::less<>>, std::less<>> keys_;
  std::string failFrom_;
  bool failing_ = false;
  bool readOnly_ = false;
};

}  // namespace kordavelt
