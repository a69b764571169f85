// The calculation protocol beside the model. The faults guarded: a protocol
// "&Протокол" shows as mojibake (not code page 1251), half a protocol left
// by a failed write or an out-of-date one kept after it, and a file of the
// engineer's under the protocol's name (a model exported as TXT) written over.

#include "shell/calc_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp1251.h"
#include "shell/text_files.h"
#include "storage/file_layer.h"
#include "support/faulty_file_system.h"

namespace kordavelt {
namespace {

using testing::FaultyFileSystem;

constexpr const char* kModel = "/сети/Цех.LVN";
constexpr const char* kProtocol = "/сети/Цех.txt";
constexpr const char* kStatus = "Узлов-3  Ветвей-4  Режим-Зима  Расчет ИП1; ";

std::string Utf8Of(const MemoryFileSystem& files, const std::string& path) {
  const std::vector<std::uint8_t>* bytes = files.Find(path);
  return bytes == nullptr ? std::string() : Cp1251ToUtf8(std::string(bytes->begin(), bytes->end()));
}

TEST(CalcProtocolTest, TheProtocolNamesTheModelTheTimeAndTheStatusLineInCodePage1251) {
  MemoryFileSystem files;
  ASSERT_TRUE(WriteCalcProtocol(files, kModel, "01.03.2024 14:05", kStatus));
  const std::vector<std::uint8_t>& bytes = *files.Find(kProtocol);
  EXPECT_EQ(bytes.front(), 0xCF) << "П in code page 1251";
  EXPECT_EQ(Utf8Of(files, kProtocol),
            "Протокол расчета\r\nМодель: /сети/Цех.LVN\r\nРасчет: 01.03.2024 14:05\r\n" +
                std::string(kStatus) + "\r\n");
  // The viewer reads it back as the engineer should see it.
  EXPECT_TRUE(ReadViewerText(files, kProtocol)->starts_with("Протокол расчета\nМодель: /сети/"));

  ASSERT_TRUE(WriteCalcProtocol(files, kModel, "02.03.2024 09:00", "Узлов-3"));
  EXPECT_NE(Utf8Of(files, kProtocol).find("02.03.2024 09:00\r\nУзлов-3\r\n"), std::string::npos)
      << "each calculation replaces the protocol of the one before";
}

TEST(CalcProtocolTest, AFileOfThatNameThatIsNoProtocolIsLeftAlone) {
  MemoryFileSystem files;
  const std::vector<std::uint8_t> exported{'[', 'R', 'o', 'o', 'm', ']', '\r', '\n'};
  files.Put(kProtocol, exported);
  EXPECT_FALSE(WriteCalcProtocol(files, kModel, "", kStatus));
  EXPECT_EQ(*files.Find(kProtocol), exported);

  files.Put(kProtocol, {});
  EXPECT_TRUE(WriteCalcProtocol(files, kModel, "", kStatus)) << "an empty file holds nothing";
}

// SQLite's way: every call of the write fails once in turn. The protocol
// is the new one, the old one whole, or none; never half of one.
TEST(CalcProtocolTest, AWriteFailingAtAnyCallLeavesAWholeProtocolOrNone) {
  for (long call = 1;; ++call) {
    MemoryFileSystem memory;
    ASSERT_TRUE(WriteCalcProtocol(memory, kModel, "вчера", "Узлов-1"));
    const std::vector<std::uint8_t> before = *memory.Find(kProtocol);
    FaultyFileSystem files(memory);
    files.FailCall(call);
    const bool written = WriteCalcProtocol(files, kModel, "сегодня", kStatus);
    if (!files.FailureHappened()) {
      EXPECT_TRUE(written);
      break;
    }
    const std::vector<std::uint8_t>* after = memory.Find(kProtocol);
    if (written) {
      EXPECT_NE(Utf8Of(memory, kProtocol).find(kStatus), std::string::npos) << "call " << call;
    } else if (after != nullptr) {
      EXPECT_EQ(*after, before) << "call " << call;
    }
    for (const std::string& path : memory.Paths()) {
      EXPECT_EQ(path.find(".tmp"), std::string::npos) << "call " << call << " left " << path;
    }
  }
}

// "&Протокол" must not show the protocol of an earlier calculation as if it
// were the last one.
TEST(CalcProtocolTest, AFailedWriteRemovesTheProtocolOfTheCalculationBefore) {
  MemoryFileSystem memory;
  ASSERT_TRUE(WriteCalcProtocol(memory, kModel, "вчера", "Узлов-1"));
  FaultyFileSystem files(memory);
  files.FailNext(testing::FileCall::WriteAt);
  EXPECT_FALSE(WriteCalcProtocol(files, kModel, "сегодня", kStatus));
  EXPECT_FALSE(memory.Exists(kProtocol));
}

}  // namespace
}  // namespace kordavelt
