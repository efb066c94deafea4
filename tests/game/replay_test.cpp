// The replay script: every command's form, key names, comments, and the line of a malformed line.
// (The named keys themselves are what the scenario scripts press.)
#include <gtest/gtest.h>

#include "game/replay.h"
#include "platform/types.h"

namespace {

using replay::Command;

TEST(ReplayScriptTest, ParsesEveryCommand) {
  replay::Script s;
  std::string error;
  ASSERT_TRUE(replay::ParseScript("seed 42\n"
                                  "# a comment\n"
                                  "\n"
                                  "wait 1500   # trailing comment\n"
                                  "move 639 479\n"
                                  "press left\n"
                                  "release right\n"
                                  "click left\n"
                                  "key Escape\n"
                                  "keydown Shift\n"
                                  "keyup q\n"
                                  "type Tom # Smith\n"
                                  "deactivate\n"
                                  "activate\n"
                                  "capture title.png\n"
                                  "capture Shot.BMP\n"
                                  "seed 7\n"
                                  "dump\n"
                                  "close\n",
                                  &s, &error))
      << error;
  EXPECT_EQ(s.seed, 42u);
  std::vector<Command::Kind> kinds;
  for (const Command& c : s.commands) kinds.push_back(c.kind);
  using K = Command::Kind;
  std::vector<K> expected = {K::Wait,    K::Move,       K::Press,    K::Release, K::Press,   K::Wait,
                             K::Release, K::KeyDown,    K::KeyUp,    K::KeyDown, K::KeyUp,   K::Type,
                             K::Deactivate, K::Activate, K::Capture, K::Capture, K::Seed, K::Dump,
                             K::Close};
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(s.commands[0].value, 1500);
  EXPECT_EQ(s.commands[0].line, 4);
  EXPECT_EQ(s.commands[1].value, 639);
  EXPECT_EQ(s.commands[1].y, 479);
  EXPECT_EQ(s.commands[3].value, 1);           // right
  EXPECT_EQ(s.commands[5].value, 50);          // a click holds the button 50 ms
  EXPECT_EQ(s.commands[7].key, platform::VK_ESCAPE);
  EXPECT_EQ(s.commands[10].key, static_cast<uint32_t>('Q'));
  EXPECT_EQ(s.commands[11].text, "Tom # Smith");  // typed text keeps its '#'
  EXPECT_EQ(s.commands[15].text, "Shot.BMP");
  EXPECT_EQ(s.commands[16].value, 7);          // a later seed is a command of its own
  replay::Script unseeded;
  ASSERT_TRUE(replay::ParseScript("wait 10\n", &unseeded, &error));
  EXPECT_EQ(unseeded.seed, 1u);
}

TEST(ReplayScriptTest, NamedKeysAreCaseSensitiveAndALetterIsItsCapital) {
  uint32_t vk = 0;
  ASSERT_TRUE(replay::KeyCode("a", &vk));
  EXPECT_EQ(vk, static_cast<uint32_t>('A'));
  ASSERT_TRUE(replay::KeyCode("F1", &vk));
  EXPECT_EQ(vk, platform::VK_F1);
  EXPECT_FALSE(replay::KeyCode("f1", &vk));
  EXPECT_FALSE(replay::KeyCode("escape", &vk));
  EXPECT_FALSE(replay::KeyCode("F11", &vk));
  EXPECT_FALSE(replay::KeyCode("", &vk));
  EXPECT_FALSE(replay::KeyCode("ab", &vk));
}

TEST(ReplayScriptTest, MalformedLinesNameTheirLine) {
  const std::pair<const char*, const char*> bad[] = {
      {"wait 10\nwait\n", "line 2:"},
      {"wait -5\n", "line 1:"},
      {"wait 10x\n", "line 1:"},
      {"\n\nmove 640 10\n", "line 3:"},
      {"move 10\n", "line 1:"},
      {"press middle\n", "line 1:"},
      {"key Banana\n", "line 1:"},
      {"type\n", "line 1:"},
      {"capture frame.jpg\n", "line 1:"},
      {"capture ../up.png\n", "line 1:"},
      {"activate now\n", "line 1:"},
      {"jump 3\n", "line 1:"},
      {"seed\n", "line 1:"},
      {"wait 5\ndump birds\n", "line 2:"},
      {"close window\n", "line 1:"},
  };
  for (const auto& [text, prefix] : bad) {
    replay::Script s;
    std::string error;
    EXPECT_FALSE(replay::ParseScript(text, &s, &error)) << text;
    EXPECT_EQ(error.rfind(prefix, 0), 0u) << text << " -> " << error;
  }
}

}  // namespace
