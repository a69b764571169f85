// The stamp's lines: the model's bare name, the stamp text as the settings
// keep it, and the moment written as the short date with hours and minutes.

#include "results/stamp_text.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

std::tm Moment(int year, int month, int day, int hour, int minute) {
  std::tm moment{};
  moment.tm_year = year - 1900;
  moment.tm_mon = month - 1;
  moment.tm_mday = day;
  moment.tm_hour = hour;
  moment.tm_min = minute;
  return moment;
}

TEST(StampText, NamesTheModelWithoutFolderAndExtensionThenStampAndMoment) {
  EXPECT_EQ(StampText("/data/plant.LVN", "Цех 3#Лист 1", Moment(2024, 3, 5, 9, 7)),
            "plant - Kordavelt#Цех 3#Лист 1#05.03.2024 9:07");
}

// Would catch a name cut at its first dot or a Windows folder left in.
TEST(StampText, KeepsDotsInsideTheNameAndTakesWindowsFolders) {
  EXPECT_EQ(StampText("C:\\work\\shop.v2.LVN", "", Moment(2023, 12, 31, 23, 59)),
            "shop.v2 - Kordavelt##31.12.2023 23:59");
}

}  // namespace
}  // namespace kordavelt
