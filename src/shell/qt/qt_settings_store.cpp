#include "shell/qt/qt_settings_store.h"

#include "base/qt/qt_text.h"

namespace kordavelt {
namespace {

// "\Software\Tarnell\Setting" → "Software/Tarnell/Setting".
QString GroupOf(std::string_view key) {
  QString group = ToQString(key);
  group.replace(u'\\', u'/');
  while (group.startsWith(u'/')) group.remove(0, 1);
  return group;
}

QString PathOf(std::string_view key, std::string_view name) {
  return GroupOf(key) + u'/' + ToQString(name);
}

}  // namespace

QtSettingsStore::QtSettingsStore() {
#ifdef Q_OS_WIN
  settings_ =
      std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER"), QSettings::NativeFormat);
#else
  settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                          QStringLiteral("Tarnell"), QStringLiteral("Kordavelt"));
#endif
}

QtSettingsStore::QtSettingsStore(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

bool QtSettingsStore::HasKey(std::string_view key) {
  const QString group = GroupOf(key);
  // A key made by CreateKey holds a marker; one with values has children.
  return settings_->contains(group + QStringLiteral("/.key")) || [&] {
    settings_->beginGroup(group);
    const bool any = !settings_->allKeys().isEmpty();
    settings_->endGroup();
    return any;
  }();
}

bool QtSettingsStore::CreateKey(std::string_view key) {
  settings_->setValue(GroupOf(key) + QStringLiteral("/.key"), true);
  return Sync();
}

QVariant QtSettingsStore::Value(std::string_view key, std::string_view name) {
  return settings_->value(PathOf(key, name));
}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view key,
                                                       std::string_view name) {
  const QVariant value = Value(key, name);
  if (!value.isValid()) return std::nullopt;
  return ToUtf8(value.toString());
}

std::optional<std::int32_t> QtSettingsStore::ReadInt(std::string_view key, std::string_view name) {
  const QVariant value = Value(key, name);
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  if (!value.isValid() || !ok || number < INT32_MIN || number > UINT32_MAX) return std::nullopt;
  // Colour references are stored as unsigned words and read back as such.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<double> QtSettingsStore::ReadDouble(std::string_view key, std::string_view name) {
  const QVariant value = Value(key, name);
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (!value.isValid() || !ok) return std::nullopt;
  return number;
}

std::optional<bool> QtSettingsStore::ReadBool(std::string_view key, std::string_view name) {
  const QVariant value = Value(key, name);
  if (!value.isValid()) return std::nullopt;
  const QString text = value.toString().toLower();
  if (text == QStringLiteral("true") || text == QStringLiteral("1")) return true;
  if (text == QStringLiteral("false") || text == QStringLiteral("0")) return false;
  return std::nullopt;
}

bool QtSettingsStore::Write(std::string_view key, std::string_view name, const QVariant& value) {
  settings_->setValue(PathOf(key, name), value);
  return settings_->status() == QSettings::NoError;
}

bool QtSettingsStore::WriteString(std::string_view key, std::string_view name,
                                  std::string_view value) {
  return Write(key, name, ToQString(value));
}

bool QtSettingsStore::WriteInt(std::string_view key, std::string_view name, std::int32_t value) {
  return Write(key, name, value);
}

bool QtSettingsStore::WriteDouble(std::string_view key, std::string_view name, double value) {
  return Write(key, name, value);
}

bool QtSettingsStore::WriteBool(std::string_view key, std::string_view name, bool value) {
  return Write(key, name, value);
}

bool QtSettingsStore::Sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace kordavelt
