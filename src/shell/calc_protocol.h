#pragma once

// The calculation protocol beside the model: "<model>.txt", which the item
// "&Протокол" shows. After every calculation of the program the file is
// written anew in code page 1251 with CR LF line ends, like the program's
// other text files:
//
//   Протокол расчета
//   Модель: D:\Сети\Цех.LVN
//   Расчет: 01.03.2024 14:05
//   Узлов-12  Ветвей-14  Режим-Зима  Расчет ИП1; ИП2;
//
// The last line is the status line the calculation left. The file is
// replaced whole, so a failed write never leaves half a protocol, and a
// failure is never reported: the protocol must not get in the way of the
// calculation. A file of that name that does not start with the heading
// (a model exported as TXT under the model's name, say) is not the
// program's protocol and is left as it is.

#include <string>
#include <string_view>

namespace kordavelt {

class FileSystem;

// The protocol's lines joined by CR LF, in UTF-8.
std::string CalcProtocolText(std::string_view modelPath, std::string_view when,
                             std::string_view statusLine);

// Writes the protocol of the model at `modelPath`; true when it was written.
// When the write fails an earlier protocol is removed, so that "&Протокол"
// never shows one that is out of date.
bool WriteCalcProtocol(FileSystem& files, const std::string& modelPath, std::string_view when,
                       std::string_view statusLine);

// The local date and time as the protocol gives it: "01.03.2024 14:05".
std::string LocalTimeText();

}  // namespace kordavelt
