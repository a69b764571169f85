#pragma once

// The program's texts are UTF-8; Qt's are QString. Every Qt view converts
// through these, so a '#'-list splits the same way in every window.

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace kordavelt {

QString ToQString(std::string_view text);
std::string ToUtf8(const QString& text);

// The items of a '#'-list; an empty text is one empty item.
QStringList ListItems(std::string_view list);

}  // namespace kordavelt
