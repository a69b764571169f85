#pragma once

// The parts of a file path, with '/' and '\' both taken as folder
// separators (paths of either system can reach a model's settings).

#include <cstddef>
#include <string>
#include <string_view>

namespace kordavelt {

// Where the file name starts: after the last folder separator, 0 for a bare name.
std::size_t FileNameStart(std::string_view path);

// The folder with its trailing separator; empty for a bare name.
std::string FolderOf(std::string_view path);

// The file name without its folder.
std::string FileNameOf(std::string_view path);

// `path` with the extension of its file name (from the last dot) replaced
// by `extension` (without the dot), or given one when it has none.
std::string WithExtension(std::string_view path, std::string_view extension);

// The backup a database of extension `extension` takes at open:
// "plant.LVN" → "plant.~LVN".
std::string BackupPathOf(std::string_view path, std::string_view extension);

}  // namespace kordavelt
