#pragma once

// The stamp the scheme draws on each page: three lines, the model's name
// with the program's, the engineer's stamp text from the settings, and the
// moment of drawing.
//
//   StampText("/data/plant.LVN", "Цех 3#Лист 1", now)
//     → "plant - Kordavelt#Цех 3#Лист 1#05.03.2024 9:07"
//
// The stamp text is itself a '#'-list, so the result may hold more than
// three items.

#include <ctime>
#include <string>
#include <string_view>

namespace kordavelt {

class modelClass;

// The date and time as the stamp writes them: the short date, then hours
// and minutes ("05.03.2024 9:07").
std::string StampDateTime(const std::tm& moment);

std::string StampText(std::string_view modelPath, std::string_view stamp, const std::tm& moment);

// The stamp of the open model.
std::string StampText(const modelClass& model, const std::tm& moment);

}  // namespace kordavelt
