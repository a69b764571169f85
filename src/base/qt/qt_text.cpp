#include "base/qt/qt_text.h"

namespace kordavelt {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toStdString(); }

QStringList ListItems(std::string_view list) { return ToQString(list).split(u'#'); }

}  // namespace kordavelt
