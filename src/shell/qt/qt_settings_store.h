#pragma once

// The per-user settings store of the program over QSettings: the registry
// under HKEY_CURRENT_USER on Windows, a settings file elsewhere. Key paths
// such as "\Software\Tarnell\Setting" become groups of that store.

#include <QSettings>
#include <memory>

#include "shell/settings_store.h"

namespace kordavelt {

class QtSettingsStore : public SettingsStore {
 public:
  // The user's own store.
  QtSettingsStore();
  // A settings file at `path` (tests, portable installations).
  explicit QtSettingsStore(const QString& path);

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

  // Writes what is pending; false when the store could not be written.
  bool Sync();

 private:
  QVariant Value(std::string_view key, std::string_view name);
  bool Write(std::string_view key, std::string_view name, const QVariant& value);

  std::unique_ptr<QSettings> settings_;
};

}  // namespace kordavelt
