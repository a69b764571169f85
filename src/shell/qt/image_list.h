#pragma once

// The pictures of the main window's menus and toolbar, by their number in
// the program's image list, drawn at run time so every size stays sharp.

#include <QIcon>

namespace kordavelt {

QIcon ImageListIcon(int index);

}  // namespace kordavelt
