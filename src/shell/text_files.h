#pragma once

// The text files the main window shows and never writes: the help file and
// the program notes beside the program, and the calculation protocol beside
// the model.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kordavelt {

class FileSystem;
class UiHost;

// Titles of the text viewer.
inline constexpr std::string_view kProtocolTitle = "Протокол расчета";
inline constexpr std::string_view kNotesTitle = "Заметки по программе";
// Caption of the help's messages.
inline constexpr std::string_view kHelpTitle = "Справка";

// The viewer shows at most this much of a file: a damaged or foreign file
// of any size must not fill the memory.
inline constexpr std::size_t kMaxViewerBytes = 4 * 1024 * 1024;

// The program's path with the extension ".hlp", ".htm", ".chp" or ".doc",
// the first that exists; empty when there is none.
std::string HelpFilePath(FileSystem& files, std::string_view programPath);

// The model's path with the extension ".txt".
std::string ProtocolFilePath(std::string_view modelPath);
// The program's path with the extension ".txt".
std::string NotesFilePath(std::string_view programPath);

// "&Протокол": the protocol's path when the file exists; otherwise the
// message that no calculation has written one, and nothing.
std::optional<std::string> ShowProtocolOrMessage(UiHost& ui, FileSystem& files,
                                                 std::string_view modelPath);
// "&Справка": the help file's path (HelpFilePath) when there is one;
// otherwise the message naming the file the program looks for, and nothing.
std::optional<std::string> ShowHelpOrMessage(UiHost& ui, FileSystem& files,
                                             std::string_view programPath);
// "&Заметки": the notes' path when the file exists; otherwise the message
// naming the missing file, and nothing.
std::optional<std::string> ShowNotesOrMessage(UiHost& ui, FileSystem& files,
                                              std::string_view programPath);

// The text of a file for the viewer, in UTF-8 with "\n" line ends. A file
// that is valid UTF-8 (a byte order mark is dropped) is taken as it is, any
// other as code page 1251. Only the first kMaxViewerBytes are read. Nothing
// when the file cannot be read.
std::optional<std::string> ReadViewerText(FileSystem& files, const std::string& path);

}  // namespace kordavelt
