// --help and --version print one short text each; every other argument starts the game as designed.
#include "game/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Printed(std::initializer_list<const char*> args, bool* handled) {
  std::vector<const char*> argv(args);
  std::FILE* out = std::tmpfile();
  *handled = PrintRequestedInformation(static_cast<int>(argv.size()), argv.data(), out);
  std::string text;
  std::rewind(out);
  for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) text += static_cast<char>(c);
  std::fclose(out);
  return text;
}

TEST(CommandLineTest, HelpAndVersionArePrintedAndNothingElseIsAnOption) {
  bool handled = false;
  const std::string help = Printed({"brushfeather", "--help"}, &handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(help.rfind("Usage: brushfeather", 0), 0u) << help;
  EXPECT_NE(help.find("BRUSHFEATHER_WINDOWED"), std::string::npos);
  EXPECT_EQ(Printed({"brushfeather", "-h"}, &handled), help);
  const std::string version = Printed({"brushfeather", "--version"}, &handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(version, std::string("brushfeather ") + BF_TEST_VERSION + "\n");
  // The game itself takes no options: anything else is left for it to ignore, and nothing is printed.
  EXPECT_EQ(Printed({"brushfeather"}, &handled), "");
  EXPECT_FALSE(handled);
  EXPECT_EQ(Printed({"brushfeather", "--fullscreen", "map1.dll"}, &handled), "");
  EXPECT_FALSE(handled);
}

}  // namespace
