#include "shell/settings_store.h"

#include <utility>

namespace kordavelt {

void MemorySettingsStore::FailReadsFrom(std::string name) {
  failFrom_ = std::move(name);
  failing_ = false;
}

std::optional<MemorySettingsStore::Value> MemorySettingsStore::Find(std::string_view key,
                                                                    std::string_view name) const {
  const auto values = keys_.find(key);
  if (values == keys_.end()) return std::nullopt;
  const auto value = values->second.find(name);
  if (value == values->second.end()) return std::nullopt;
  return value->second;
}

template <typename T>
std::optional<T> MemorySettingsStore::Read(std::string_view key, std::string_view name) {
  if (!failFrom_.empty() && name == failFrom_) failing_ = true;
  if (failing_) return std::nullopt;
  const std::optional<Value> value = Find(key, name);
  if (!value || !std::holds_alternative<T>(*value)) return std::nullopt;
  return std::get<T>(*value);
}

bool MemorySettingsStore::Write(std::string_view key, std::string_view name, Value value) {
  if (readOnly_) return false;
  keys_[std::string(key)].insert_or_assign(std::string(name), std::move(value));
  return true;
}

bool MemorySettingsStore::HasKey(std::string_view key) { return keys_.contains(key); }

bool MemorySettingsStore::CreateKey(std::string_view key) {
  if (HasKey(key)) return true;
  if (readOnly_) return false;
  keys_[std::string(key)];
  return true;
}

std::optional<std::string> MemorySettingsStore::ReadString(std::string_view key,
                                                           std::string_view name) {
  return Read<std::string>(key, name);
}

std::optional<std::int32_t> MemorySettingsStore::ReadInt(std::string_view key,
                                                         std::string_view name) {
  return Read<std::int32_t>(key, name);
}

std::optional<double> MemorySettingsStore::ReadDouble(std::string_view key, std::string_view name) {
  return Read<double>(key, name);
}

std::optional<bool> MemorySettingsStore::ReadBool(std::string_view key, std::string_view name) {
  return Read<bool>(key, name);
}

bool MemorySettingsStore::WriteString(std::string_view key, std::string_view name,
                                      std::string_view value) {
  return Write(key, name, std::string(value));
}

bool MemorySettingsStore::WriteInt(std::string_view key, std::string_view name,
                                   std::int32_t value) {
  return Write(key, name, value);
}

bool MemorySettingsStore::WriteDouble(std::string_view key, std::string_view name, double value) {
  return Write(key, name, value);
}

bool MemorySettingsStore::WriteBool(std::string_view key, std::string_view name, bool value) {
  return Write(key, name, value);
}

}  // namespace kordavelt
