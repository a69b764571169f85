// The recent-file list of the "&Файл" menu. Each case guards an order or a
// count the menu depends on: a wrong swap reorders the user's models, a gap
// or a stale count gives menu items without a file.

#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include "shell/settings_store.h"

namespace kordavelt {
namespace {

constexpr std::string_view kProgram = "Kordavelt";

RecentFiles ListOf(std::initializer_list<const char*> paths) {
  MemorySettingsStore store;
  int i = 0;
  for (const char* path : paths) {
    store.WriteString(RecentFileKey(kProgram), "File" + std::to_string(++i), path);
  }
  RecentFiles recent;
  recent.Read(store, kProgram);
  return recent;
}

TEST(RecentFilesTest, TheKeyIsNamedAfterTheProgram) {
  EXPECT_EQ(RecentFileKey("Kordavelt"), "\\Software\\Tarnell\\Kordavelt\\Recent File List");
}

TEST(RecentFilesTest, OpeningEntryThreeSwapsItWithEntryOne) {
  RecentFiles recent = ListOf({"a.LVN", "b.LVN", "c.LVN", "d.LVN"});
  recent.Use("c.LVN");
  EXPECT_EQ(recent.Entry(1), "c.LVN");
  EXPECT_EQ(recent.Entry(2), "b.LVN");
  EXPECT_EQ(recent.Entry(3), "a.LVN");
  EXPECT_EQ(recent.Entry(4), "d.LVN");
  recent.Use("c.LVN");
  EXPECT_EQ(recent.Entry(1), "c.LVN") << "the first entry opened again stays first";
  EXPECT_EQ(recent.Entry(3), "a.LVN");
}

TEST(RecentFilesTest, ANewPathGoesFirstAndPushesTheFourthOut) {
  RecentFiles recent = ListOf({"a.LVN", "b.LVN", "c.LVN", "d.LVN"});
  recent.Use("e.LVN");
  EXPECT_EQ(recent.Entry(1), "e.LVN");
  EXPECT_EQ(recent.Entry(2), "a.LVN");
  EXPECT_EQ(recent.Entry(4), "c.LVN");
  EXPECT_EQ(recent.Count(), 4);

  RecentFiles fresh;
  fresh.Use("x.LVN");
  fresh.Use("y.LVN");
  EXPECT_EQ(fresh.Count(), 2);
  EXPECT_EQ(fresh.Caption(1), "1 y.LVN");
  EXPECT_EQ(fresh.Caption(2), "2 x.LVN");
  EXPECT_EQ(fresh.Entry(3), "");
  EXPECT_EQ(fresh.Entry(0), "") << "out of range";
}

TEST(RecentFilesTest, AModelWithoutAFileIsNotRemembered) {
  RecentFiles recent = ListOf({"a.LVN"});
  recent.Use("*");
  recent.Use("C:\\Модели\\*.LVN");
  recent.Use("");
  EXPECT_EQ(recent.Count(), 1);
  EXPECT_EQ(recent.Entry(1), "a.LVN");
}

TEST(RecentFilesTest, ReadingClosesGapsAndCountsTheMenuItemsOnce) {
  // A list stored with a free place in the middle must not give an item
  // without a file; the items made at start stay what StartCount says.
  MemorySettingsStore store;
  const std::string key = RecentFileKey(kProgram);
  store.WriteString(key, "File1", "a.LVN");
  store.WriteString(key, "File2", "");
  store.WriteString(key, "File3", "C:\\Сеть\\цех.LVN");
  RecentFiles recent;
  recent.Read(store, kProgram);
  EXPECT_EQ(recent.StartCount(), 2);
  EXPECT_EQ(recent.Caption(2), "2 C:\\Сеть\\цех.LVN");
  recent.Use("b.LVN");
  EXPECT_EQ(recent.Count(), 3);
  EXPECT_EQ(recent.StartCount(), 2);
}

TEST(RecentFilesTest, AFailedReadKeepsTheEntriesReadBeforeIt) {
  MemorySettingsStore store;
  const std::string key = RecentFileKey(kProgram);
  for (const char* name : {"File1", "File2", "File3"}) store.WriteString(key, name, name);
  store.FailReadsFrom("File2");
  RecentFiles recent;
  recent.Read(store, kProgram);
  EXPECT_EQ(recent.Count(), 1);
  EXPECT_EQ(recent.StartCount(), 1);

  RecentFiles none;
  none.Read(store, "Другая");
  EXPECT_EQ(none.StartCount(), 0) << "no key, no entries";
}

TEST(RecentFilesTest, WritingClearsPlacesNoLongerUsed) {
  // Four values are written: a shorter list must not leave an old File4 behind.
  MemorySettingsStore store;
  ListOf({"a", "b", "c", "d"}).Write(store, kProgram);
  RecentFiles shorter = ListOf({"x"});
  ASSERT_TRUE(shorter.Write(store, kProgram));
  RecentFiles back;
  back.Read(store, kProgram);
  EXPECT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Entry(1), "x");

  store.SetReadOnly(true);
  EXPECT_FALSE(back.Write(store, "Новая"));
}

}  // namespace
}  // namespace kordavelt
