#pragma once

// Cable lengths taken back from an exported cable journal ("KJur"): the
// engineer measures the routes on the building plan, types the lengths into
// the exported file and imports it. Each row names its line element by key
// ("7.2") or designation in item 4 and carries the length in item 10; the
// lengths of cable lines, wiring sections and overhead lines change, nothing
// else.

#include <functional>
#include <string_view>

namespace kordavelt {

class GetClass;
class modelClass;
class UiHost;

// The section name of the cable journal and the field names its table
// window exports under.
inline constexpr std::string_view kCableJournalName = "KJur";
inline constexpr std::string_view kCableJournalFields =
    "Nom#From#To#Name#Marka#Vid#Unom#Type#CrossSect#N#L#Idop#Idop1#Iras#dU";

// Reads the open `get` up to its end or the first section other than the
// journal, sets the lengths and refreshes the model; the number of lengths set.
int ReadCableLengths(modelClass& model, GetClass& get,
                     std::string_view fieldNames = kCableJournalFields);

// The import item with the cable journal window active: the open dialog
// "Импорт длин кабелей" starting at `defaultName` (the window's name), the
// lengths, `refreshWindow` (the journal reads its rows again), and the note
// "Импорт длин кабелей выполнен" titled `caption`. A cancelled dialog does
// nothing. True when the whole file was read.
bool ImportCableLengths(modelClass& model, UiHost& ui, char separator, std::string_view defaultName,
                        std::string_view caption, std::string_view fieldNames = kCableJournalFields,
                        const std::function<void()>& refreshWindow = {});

}  // namespace kordavelt
