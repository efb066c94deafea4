// Two hunts ending in the trophy room through the headless backend, and the list after a restart.
#include "framework/graphics/graphics.h"
#include "framework/graphics/surface.h"
#include "game/trophy_room_wnd.h"
#include "platform/profile.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "tests/scenarios/scenario.h"

namespace {

using scenario::G;
using R = ZTrophyRoomWnd;

// The whole hunt kept with the hunting screen's scenarios: it bags a bird and ends in the trophy room.
const std::filesystem::path kHuntScript = std::filesystem::path(BF_SOURCE_DIR) / "tests/scenarios/whole_hunt.txt";
// From the room back to the menu, so the run ends where a player would leave.
constexpr const char* kLeave = "wait 1500\nkey Escape\nwait 300\n";
// From the title: the trophy room button, then Esc.
constexpr const char* kVisit = "wait 700\nmove 455 291\nwait 20\nclick left\nwait 300\nkey Escape\nwait 300\n";

// The room as the observer saw it the first time it was on the screen.
struct Room {
  bool seen = false;
  int green[5] = {};   // pixels of the new entry's colour in each place's text
  int yellow[5] = {};  // pixels of the others' colour
  std::vector<std::string> states;
};

class TrophyScenario : public scenario::Scenario {
 protected:
  void SetUp() override {
    Scenario::SetUp();
    // The dates are local time; read them in UTC.
    if (const char* tz = std::getenv("TZ")) oldZone = tz;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (oldZone.empty()) unsetenv("TZ");
    else setenv("TZ", oldZone.c_str(), 1);
    tzset();
    Scenario::TearDown();
  }

  // One run of the game from start to end of the script: a fresh process as far as the game knows.
  Room Play(const std::string& text) {
    Room room;
    Run(text, [&](G& game, uint32_t) {
      if (room.seen || game.state != G::TrophyRoom || game.trophyRoomReady != 1) return;
      room.seen = true;
      platform::Surface* front = game.graphics->GetFrontSurface()->GetSurface2();
      const uint8_t green = platform::NearestPaletteIndex(front->GetPalette(), R::kNewEntryColor);
      const uint8_t yellow = platform::NearestPaletteIndex(front->GetPalette(), R::kEntryColor);
      for (int rank = 0; rank < 5; ++rank) {
        for (int32_t y = 120 + 60 * rank; y < 171 + 60 * rank; ++y) {
          for (int32_t x = 175; x < 576; ++x) {
            room.green[rank] += front->Pixel(x, y) == green ? 1 : 0;
            room.yellow[rank] += front->Pixel(x, y) == yellow ? 1 : 0;
          }
        }
      }
    });
    room.states = states;
    return room;
  }
  static std::vector<ZTrophyRecord> List() {
    std::vector<ZTrophyRecord> list;
    for (int32_t i = 0; i < R::kPlaces; ++i) list.push_back(R::ReadTrophy(i));
    return list;
  }

  std::string oldZone;
};

TEST_F(TrophyScenario, TwoHuntsRankTheirBirdsAndTheListOutlivesARestart) {
  const std::vector<uint8_t> hunt = scenario::ReadBytes(kHuntScript);
  ASSERT_FALSE(hunt.empty()) << kHuntScript;
  const std::string script = std::string(hunt.begin(), hunt.end()) + "\n" + kLeave;

  // The first hunt: the bird takes the empty list's first place, in green.
  Room first = Play(script);
  ASSERT_TRUE(first.seen) << "the first hunt did not reach the trophy room";
  std::vector<ZTrophyRecord> list = List();
  const ZTrophyRecord bird = list[0];
  EXPECT_EQ(bird.name, "Field Scout");
  EXPECT_GE(bird.weight, 10);
  EXPECT_LE(bird.weight, 30);
  EXPECT_GE(bird.type, 0);
  EXPECT_LE(bird.type, 4);
  EXPECT_FALSE(bird.Empty());
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(list[static_cast<size_t>(i)].Empty()) << i;
  EXPECT_GT(first.green[0], 100);
  EXPECT_EQ(first.yellow[0], 0);
  EXPECT_EQ(first.states.back(), "MainMenu");  // Esc left the room

  // The second hunt, after a restart and under another name: the same seed and play bag a bird as
  // heavy as the first, and the newer of two equal birds ranks above the older.
  ASSERT_TRUE(platform::WriteProfileString("Settings", "Name", "Second Hunter"));
  Room second = Play(script);
  ASSERT_TRUE(second.seen) << "the second hunt did not reach the trophy room";
  list = List();
  EXPECT_EQ(list[0].name, "Second Hunter");
  EXPECT_EQ(list[0].weight, bird.weight);
  EXPECT_EQ(list[1], bird);
  for (int i = 2; i < 5; ++i) EXPECT_TRUE(list[static_cast<size_t>(i)].Empty()) << i;
  EXPECT_GT(second.green[0], 100);
  EXPECT_EQ(second.green[1], 0);
  EXPECT_GT(second.yellow[1], 100);

  // A third start, straight to the room from the title: both birds are there, neither green.
  Room visit = Play(kVisit);
  ASSERT_TRUE(visit.seen);
  EXPECT_EQ(List(), list);
  EXPECT_GT(visit.yellow[0], 100);
  EXPECT_GT(visit.yellow[1], 100);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(visit.green[i], 0) << i;
  EXPECT_EQ(visit.yellow[2], 0);
}

TEST_F(TrophyScenario, ResetAsksAndOnlyOkEmptiesTheProfileAfterWhichTheRoomSaysItIsEmpty) {
  platform::SetApplicationName("brushfeather");  // the profile's folder, as the game names it
  platform::ProfileBatch seed;
  for (int32_t i = 0; i < R::kPlaces; ++i) {
    seed.WriteString(R::SectionName(i), "Name", "Hunter " + std::to_string(i));
    seed.WriteInt(R::SectionName(i), "Weight", 30 - i);
    seed.WriteInt(R::SectionName(i), "Type", i);
    seed.WriteInt(R::SectionName(i), "Time", 1700000000 + i);
  }
  ASSERT_TRUE(seed.Commit());
  const std::vector<ZTrophyRecord> five = List();
  const std::string profile = platform::GetProfilePath();
  const std::vector<uint8_t> before = scenario::ReadBytes(profile);
  ASSERT_FALSE(before.empty());
  // To the room, then its reset button; the question's OK is at 235 285, its Cancel at 405 285.
  const std::string reset = "wait 700\nmove 455 291\nwait 20\nclick left\nwait 300\nmove 75 454\nwait 20\n"
                            "click left\nwait 200\n";
  bool asked = false;
  int32_t stateAfterAnswer = -1;
  auto watch = [&](G& game, uint32_t) {
    const bool asking = game.trophyRoom != nullptr && game.trophyRoom->GetResetQuestion() != nullptr;
    if (asked && !asking && stateAfterAnswer < 0) stateAfterAnswer = game.state;
    asked = asked || asking;
  };
  for (const char* no : {"key Escape\n", "move 405 285\nwait 20\nclick left\n"}) {
    SCOPED_TRACE(no);
    asked = false;
    stateAfterAnswer = -1;
    Run(reset + no + "wait 300\n" + kLeave, watch);
    EXPECT_TRUE(asked);
    EXPECT_EQ(scenario::ReadBytes(profile), before);
    EXPECT_EQ(stateAfterAnswer, G::TrophyRoom);  // the Esc that answered did not also leave the room
  }
  asked = false;
  int line = 0;
  Run(reset + "move 235 285\nwait 20\nclick left\nwait 300\n" + kLeave, [&](G& game, uint32_t ms) {
    watch(game, ms);
    if (game.state != G::TrophyRoom || game.trophyRoom->GetResetQuestion() != nullptr || !asked || line != 0) return;
    platform::Surface* front = game.graphics->GetFrontSurface()->GetSurface2();
    const uint8_t yellow = platform::NearestPaletteIndex(front->GetPalette(), R::kEntryColor);
    for (int32_t y = R::kEmptyLineRect.top; y <= R::kEmptyLineRect.bottom; ++y)
      for (int32_t x = R::kEmptyLineRect.left; x <= R::kEmptyLineRect.right; ++x) line += front->Pixel(x, y) == yellow;
  });
  EXPECT_TRUE(asked);
  EXPECT_EQ(List(), std::vector<ZTrophyRecord>(5));
  EXPECT_NE(five, List());
  EXPECT_GT(line, 300);  // "No trophies yet...", in the room's yellow
}

}  // namespace
