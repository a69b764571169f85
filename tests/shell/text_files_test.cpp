// The help, protocol and notes files. Each case guards what the user sees:
// the wrong help file opened, a message text changed, a protocol in code
// page 1251 shown as mojibake, or a huge file read whole into memory.

#include "shell/text_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp1251.h"
#include "storage/file_layer.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

std::vector<std::uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

TEST(TextFilesTest, TheHelpFileIsTheFirstOfItsExtensionsBesideTheProgram) {
  MemoryFileSystem files;
  EXPECT_EQ(HelpFilePath(files, "C:\\Prog\\Kordavelt.exe"), "") << "no help file at all";
  files.Put("C:\\Prog\\Kordavelt.doc", {});
  files.Put("C:\\Prog\\Kordavelt.chp", {});
  EXPECT_EQ(HelpFilePath(files, "C:\\Prog\\Kordavelt.exe"), "C:\\Prog\\Kordavelt.chp");
  files.Put("C:\\Prog\\Kordavelt.hlp", {});
  EXPECT_EQ(HelpFilePath(files, "C:\\Prog\\Kordavelt.exe"), "C:\\Prog\\Kordavelt.hlp");
  files.Put("/opt/v1.2/kordavelt.htm", {});
  EXPECT_EQ(HelpFilePath(files, "/opt/v1.2/kordavelt"), "/opt/v1.2/kordavelt.htm")
      << "a dot in the folder is no extension";
}

TEST(TextFilesTest, AMissingProtocolGivesItsMessageAndNoPath) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  EXPECT_EQ(ShowProtocolOrMessage(ui, files, "D:\\Сети\\Цех.LVN"), std::nullopt);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0],
            "Просмотр протокола: Протокол не создан!#Возможно, что расчет# не выполнялся");

  files.Put("D:\\Сети\\Цех.txt", BytesOf("Узлов- 3"));
  EXPECT_EQ(ShowProtocolOrMessage(ui, files, "D:\\Сети\\Цех.LVN"), "D:\\Сети\\Цех.txt");
  EXPECT_EQ(ui.Messages().size(), 1u);
}

// F1 did nothing at all without a help file.
TEST(TextFilesTest, AMissingHelpFileIsNamedInAMessage) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  EXPECT_EQ(ShowHelpOrMessage(ui, files, "/opt/kordavelt/Kordavelt"), std::nullopt);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0], "Справка: Файл справки /opt/kordavelt/Kordavelt.htm отсутствует");
  files.Put("/opt/kordavelt/Kordavelt.htm", {});
  EXPECT_EQ(ShowHelpOrMessage(ui, files, "/opt/kordavelt/Kordavelt"),
            "/opt/kordavelt/Kordavelt.htm");
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(TextFilesTest, MissingNotesNameTheFileTheyWouldBeIn) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  EXPECT_EQ(ShowNotesOrMessage(ui, files, "C:\\Prog\\Kordavelt.exe"), std::nullopt);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0],
            "Заметки по программе: Файл C:\\Prog\\Kordavelt.txt отсутствует#Он может содержать "
            "информацию об изменениях#в программе и/или замечания расчетчика ");
  files.Put("C:\\Prog\\Kordavelt.txt", {});
  EXPECT_EQ(ShowNotesOrMessage(ui, files, "C:\\Prog\\Kordavelt.exe"), "C:\\Prog\\Kordavelt.txt");
}

TEST(TextFilesTest, TheViewerReadsCodePage1251AndUtf8AlikeWithPlainLineEnds) {
  MemoryFileSystem files;
  const std::string text = "Расчет сети\r\nУзлов- 3\r\n";
  files.Put("cp.txt", BytesOf(Utf8ToCp1251(text)));
  files.Put("utf8.txt", BytesOf(text));
  files.Put("bom.txt", BytesOf("\xEF\xBB\xBF" + text));
  for (const char* path : {"cp.txt", "utf8.txt", "bom.txt"}) {
    EXPECT_EQ(ReadViewerText(files, path), "Расчет сети\nУзлов- 3\n") << path;
  }
  // One stray byte makes a file code page 1251 as a whole.
  files.Put("mixed.txt", BytesOf("Узел\xC0"));
  EXPECT_EQ(ReadViewerText(files, "mixed.txt"), Cp1251ToUtf8("Узел\xC0"))
      << "the UTF-8 bytes of Узел are taken one by one";
  EXPECT_EQ(ReadViewerText(files, "missing.txt"), std::nullopt);
}

TEST(TextFilesTest, AHugeFileIsReadOnlyUpToTheLimitWithoutCuttingACharacter) {
  MemoryFileSystem files;
  // "ж" is two bytes in UTF-8; an odd prefix puts a character across the limit.
  std::string big = "x";
  while (big.size() < kMaxViewerBytes + 100) big += "ж";
  files.Put("big.txt", BytesOf(big));
  const std::optional<std::string> text = ReadViewerText(files, "big.txt");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->size(), kMaxViewerBytes - 1) << "the half character at the limit is dropped";
  EXPECT_EQ(Utf8Length(*text), (kMaxViewerBytes - 1) / 2 + 1);

  std::string cp(kMaxViewerBytes * 2, '\xE6');  // "ж" in code page 1251
  files.Put("big1251.txt", BytesOf(cp));
  const std::optional<std::string> converted = ReadViewerText(files, "big1251.txt");
  ASSERT_TRUE(converted);
  EXPECT_EQ(Utf8Length(*converted), kMaxViewerBytes);
}

TEST(TextFilesTest, AFileThatFailsToReadShowsNothing) {
  MemoryFileSystem memory;
  memory.Put("p.txt", BytesOf("Протокол"));
  for (const testing::FileCall call :
       {testing::FileCall::Open, testing::FileCall::Size, testing::FileCall::ReadAt}) {
    testing::FaultyFileSystem files(memory);
    files.FailNext(call);
    EXPECT_EQ(ReadViewerText(files, "p.txt"), std::nullopt) << testing::FileCallName(call);
  }
}

}  // namespace
}  // namespace kordavelt
