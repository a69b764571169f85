// The main window starts as the program's frame, titled with its name.

#include "shell/qt/main_window.h"

#include <gtest/gtest.h>

#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

// Catches a window titled otherwise (the executable's lower-case name).
TEST(MainWindowTest, IsTitledWithTheProgramName) {
  testing::ScriptedUiHost ui;
  MainWindow window(ui);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Kordavelt"));
}

}  // namespace
}  // namespace kordavelt
