#include "results/stamp_text.h"

#include <cstdio>

#include "model/model_class.h"
#include "storage/file_path.h"

namespace kordavelt {

std::string StampDateTime(const std::tm& moment) {
  char text[80];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %d:%02d", moment.tm_mday, moment.tm_mon + 1,
                moment.tm_year + 1900, moment.tm_hour, moment.tm_min);
  return text;
}

std::string StampText(std::string_view modelPath, std::string_view stamp, const std::tm& moment) {
  std::string name = FileNameOf(modelPath);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  return name + " - " + modelClass::kProgramTitle + "#" + std::string(stamp) + "#" +
         StampDateTime(moment);
}

std::string StampText(const modelClass& model, const std::tm& moment) {
  return StampText(model.FileName(), model.Settings().Stamp(), moment);
}

}  // namespace kordavelt
