// The trophy room with the real art on the headless backend: ranking, reset, the line, painting,
// Esc and the leave button, and its pinned picture.
#include "game/trophy_room_wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/graphics/sprite.h"
#include "framework/graphics/viewport.h"
#include "game/confirm_dialog.h"
#include "game/turkey.h"
#include "platform/pump.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "tests/game/menu_fixture.h"
#include "tests/golden_frame_util.h"

namespace {

using G = ZTurkeyGame;
using R = ZTrophyRoomWnd;
using platform::Rect;

ZTrophyRecord Rec(const std::string& name, int32_t weight, int32_t type, int32_t time) {
  return ZTrophyRecord{name, weight, type, time};
}

// Dates are written in local time; the tests read them in UTC.
class UtcZone {
 public:
  UtcZone() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz, had_ = true;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  ~UtcZone() {
    if (had_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool had_ = false;
};

class TrophyRoomTest : public gametest::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    backend->GetManualClock().SetCalendar(kNow);
    game->playerName = "Field Scout";
  }
  void TearDown() override {
    platform::SetProfileWriteHookForTest(nullptr);
    MenuFixture::TearDown();
  }

  static void Seed(const std::vector<ZTrophyRecord>& places) {
    platform::ProfileBatch batch;
    for (int32_t i = 0; i < R::kPlaces; ++i) {
      const ZTrophyRecord r = i < static_cast<int32_t>(places.size()) ? places[static_cast<size_t>(i)] : ZTrophyRecord{};
      batch.WriteString(R::SectionName(i), "Name", r.name);
      batch.WriteInt(R::SectionName(i), "Weight", r.weight);
      batch.WriteInt(R::SectionName(i), "Type", r.type);
      batch.WriteInt(R::SectionName(i), "Time", r.time);
    }
    ASSERT_TRUE(batch.Commit());
  }
  static std::vector<ZTrophyRecord> List() {
    std::vector<ZTrophyRecord> list;
    for (int32_t i = 0; i < R::kPlaces; ++i) list.push_back(R::ReadTrophy(i));
    return list;
  }
  static std::vector<ZTrophyRecord> FiveFull() {
    return {Rec("Ann", 30, 0, 1001), Rec("Ben", 25, 1, 1002), Rec("Cy", 20, 2, 1003), Rec("Di", 15, 3, 1004),
            Rec("Ed", 10, 4, 1005)};
  }
  // The game's bagged bird.
  void Bag(int32_t weight, int32_t type) {
    bird.weight = weight;
    bird.subspecies = type;
    game->baggedBird = &bird;
  }
  // The game enters the room as after a hunt (recording the bagged bird, if any) and shows it.
  R* Enter() {
    game->SetState(G::TrophyRoom);
    game->Tick();
    EXPECT_EQ(game->state, G::TrophyRoom);
    EXPECT_EQ(game->trophyRoomReady, 1);
    return game->trophyRoom.get();
  }
  R* MadeRoom() {
    if (game->trophyRoom == nullptr) {
      game->trophyRoom = std::make_unique<R>();
      EXPECT_EQ(game->trophyRoom->Create(wnd, game), 1);
    }
    return game->trophyRoom.get();
  }
  static std::string ProfileText() {
    std::ifstream in(platform::GetProfilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  uint8_t IndexOf(platform::COLORREF color) {
    return platform::NearestPaletteIndex(game->graphics->GetFrontSurface()->GetSurface2()->GetPalette(), color);
  }
  // Front pixels of colour `index` in place `rank`'s text rectangle (with its shadow's extra pixel).
  int CountInText(int32_t rank, uint8_t index) {
    int n = 0;
    for (int32_t y = 120 + 60 * rank; y < 171 + 60 * rank; ++y)
      for (int32_t x = 175; x < 576; ++x) n += Front(x, y) == index ? 1 : 0;
    return n;
  }
  // Front pixels in `r` that differ from the room's background picture.
  int DiffersFromBackground(const Rect& r) {
    ZSurface* background = game->trophyRoom->GetBackgroundSurface();
    int n = 0;
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) n += Front(x, y) != Pixel(background, x, y) ? 1 : 0;
    return n;
  }
  static Rect PictureRect(int32_t rank) { return Rect{100, 100 + 60 * rank, 168, 156 + 60 * rank}; }
  static Rect TextRect(int32_t rank) { return Rect{175, 120 + 60 * rank, 576, 171 + 60 * rank}; }
  platform::LRESULT ToRoom(uint32_t message, platform::WPARAM w = 0, platform::LPARAM l = 0) {
    return platform::SendMessage(game->trophyRoom.get(), message, w, l);
  }
  // A mouse click on a button, as the window system delivers it.
  static void Click(ZButton* b) {
    const platform::LPARAM at = 10 | (10 << 16);
    platform::SendMessage(b, platform::WM_MOUSEMOVE, 0, at);
    platform::SendMessage(b, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, at);
    platform::SendMessage(b, platform::WM_LBUTTONUP, 0, at);
  }

  static constexpr std::time_t kNow = 1710409260;  // March 14, 2024 at 09:41 UTC
  UtcZone utc;
  ZTurkey bird;
};

// --- the ranking ---

TEST_F(TrophyRoomTest, BirdsTakeTheFirstPlaceTheyAreAtLeastAsHeavyAsInOneSave) {
  const std::vector<ZTrophyRecord> old = FiveFull();
  const ZTrophyRecord none;
  struct Case {
    const char* what;
    std::vector<ZTrophyRecord> before;
    int32_t weight;
    int32_t rank;  // 0: not listed
    std::vector<ZTrophyRecord> after;  // the new bird is Rec("Field Scout", weight, 2, kNow)
  };
  const ZTrophyRecord b0 = Rec("Field Scout", 0, 2, kNow), b20 = Rec("Field Scout", 20, 2, kNow),
                      b31 = Rec("Field Scout", 31, 2, kNow), b12 = Rec("Field Scout", 12, 2, kNow);
  const Case cases[] = {
      {"a bird of 0 lb into an empty list", {}, 0, 1, {b0, none, none, none, none}},
      {"a tie goes above the older bird; the fifth drops", old, 20, 3, {old[0], old[1], b20, old[2], old[3]}},
      {"the heaviest moves everyone down", old, 31, 1, {b31, old[0], old[1], old[2], old[3]}},
      {"lighter than all five", old, 9, 0, old},
      // An empty place takes any bird, whatever weight a damaged profile left in it, and moves down as it was.
      {"an empty place", {old[0], Rec("", 99, 0, 0)}, 12, 2, {old[0], b12, Rec("", 99, 0, 0), none, none}},
  };
  R* room = MadeRoom();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Seed(c.before);
    room->highlightedRank = -1;
    int saves = 0;
    platform::SetProfileWriteHookForTest([&](platform::ProfileWriteStep s) {
      saves += s == platform::ProfileWriteStep::Replace ? 1 : 0;
      return platform::StepOutcome::Proceed;
    });
    Bag(c.weight, 2);
    EXPECT_EQ(room->RecordTrophy(), c.rank != 0 ? 1 : 0);
    platform::SetProfileWriteHookForTest(nullptr);
    EXPECT_EQ(saves, c.rank != 0 ? 1 : 0);  // the whole move is one save, and nothing is no save
    EXPECT_EQ(room->highlightedRank, c.rank != 0 ? c.rank : -1);
    EXPECT_EQ(List(), c.after);
  }
  // Without a bird, or a game, nothing is offered; a clock at 1970 still leaves the bird listed.
  game->baggedBird = nullptr;
  EXPECT_EQ(room->RecordTrophy(), 0);
  Seed({});
  backend->GetManualClock().SetCalendar(0);
  Bag(14, 1);
  ASSERT_EQ(room->RecordTrophy(), 1);
  EXPECT_FALSE(R::ReadTrophy(0).Empty());
  room->game = nullptr;
  EXPECT_EQ(room->RecordTrophy(), 0);
}

TEST_F(TrophyRoomTest, KeysAreWrittenExactlyAndResetEmptiesAllFiveInOneSave) {
  R* room = MadeRoom();
  Bag(23, 3);
  ASSERT_EQ(room->RecordTrophy(), 1);
  std::string text = ProfileText();
  EXPECT_NE(text.find("[First]\nName=Field Scout\nWeight=23\nType=3\nTime=1710409260\n"), std::string::npos) << text;
  Seed(FiveFull());
  int saves = 0;
  platform::SetProfileWriteHookForTest([&](platform::ProfileWriteStep s) {
    saves += s == platform::ProfileWriteStep::Replace ? 1 : 0;
    return platform::StepOutcome::Proceed;
  });
  EXPECT_EQ(room->ResetTrophies(), 1);
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(List(), std::vector<ZTrophyRecord>(5));
  text = ProfileText();
  for (const char* section : {"First", "Second", "Third", "Fourth", "Fifth"}) {
    EXPECT_NE(text.find(std::string("[") + section + "]\nName=\nWeight=0\nType=0\nTime=0\n"), std::string::npos)
        << section << "\n" << text;
  }
}

// Which step of a save may fail or crash, and what the file then holds, is the profile's own test.
TEST_F(TrophyRoomTest, ABirdWhosePlaceCouldNotBeSavedIsNeitherReportedNorHighlighted) {
  Seed(FiveFull());
  R* room = MadeRoom();
  room->highlightedRank = -1;
  platform::SetProfileWriteHookForTest([](platform::ProfileWriteStep s) {
    return s == platform::ProfileWriteStep::Replace ? platform::StepOutcome::Fail : platform::StepOutcome::Proceed;
  });
  Bag(27, 2);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(room->RecordTrophy(), 0);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(room->highlightedRank, -1);
  EXPECT_EQ(List(), FiveFull());
}

// --- the line ---

TEST_F(TrophyRoomTest, TheLineNamesHunterWeightSubspeciesAndLocalDate) {
  EXPECT_EQ(R::TrophyLine(Rec("Field Scout", 23, 3, 1710409260)),
            "Field Scout shot a 23 lb. Eastern Wild Turkey in the Eastern woodlands location on March 14, 2024 at "
            "09:41\n\r");
  const char* const texts[5] = {"Florida Wild Turkey in the Southeast location on ",
                                "Gould's Wild Turkey in the Mexico location on ",
                                "Merriam's Wild Turkey in the Colorado location on ",
                                "Eastern Wild Turkey in the Eastern woodlands location on ",
                                "Rio Grande Wild Turkey in the Southwest location on "};
  for (int32_t type = 0; type < 5; ++type) {
    EXPECT_EQ(R::TrophyLine(Rec("A", 1, type, 1)), std::string("A shot a 1 lb. ") + texts[type] + "January 01, 1970 at 00:00\n\r");
  }
  // A type outside the five, negative or huge values: no subspecies text, the numbers as they are.
  EXPECT_EQ(R::TrophyLine(Rec("A", -4, 5, 1)), "A shot a -4 lb. January 01, 1970 at 00:00\n\r");
  EXPECT_EQ(R::TrophyLine(Rec("", 2147483647, -1, 1)), " shot a 2147483647 lb. January 01, 1970 at 00:00\n\r");
  EXPECT_EQ(R::TrophyLine(Rec("A", 1, 1000000, 1700000000)), "A shot a 1 lb. November 14, 2023 at 22:13\n\r");
  // Times past January 2038 are stored as negative 32-bit numbers and keep their year.
  EXPECT_EQ(R::TrophyLine(Rec("A", 1, 9, -2000000000)), "A shot a 1 lb. September 22, 2042 at 02:54\n\r");
  EXPECT_EQ(R::TrophyLine(Rec("A", 1, 9, -1)), "A shot a 1 lb. February 07, 2106 at 06:28\n\r");
}

TEST_F(TrophyRoomTest, ADateThatCannotBeMadeIsEmptyAndALongNameIsCutAtAWholeCharacter) {
  std::string date = "x";
  EXPECT_FALSE(R::FormatTrophyDate(INT64_MAX, &date));
  EXPECT_EQ(date, "");
  EXPECT_TRUE(R::FormatTrophyDate(0, &date));
  EXPECT_EQ(date, "January 01, 1970 at 00:00\n\r");
  // Three-byte characters from byte 1 on: the cut cannot fall inside one.
  std::string name = "a";
  for (int i = 0; i < 2000; ++i) name += "\xE6\x9D\x8E";
  const std::string line = R::TrophyLine(Rec(name, 5, 0, 1));
  const size_t kept = line.find(" shot a 5 lb. ");
  ASSERT_NE(kept, std::string::npos);
  EXPECT_LE(kept, R::kMaxNameBytes);
  EXPECT_GT(kept, R::kMaxNameBytes - 3);
  EXPECT_EQ((kept - 1) % 3, 0u);
  EXPECT_EQ(line.substr(0, kept), name.substr(0, kept));
}

// --- painting ---

TEST_F(TrophyRoomTest, TheNewEntryIsGreenOnItsFirstShowingOnlyAndTheOthersYellow) {
  Seed({Rec("Ann", 30, 0, 1001), Rec("Ben", 25, 1, 1002), Rec("Cy", 12, 2, 1003)});
  Bag(20, 4);
  R* room = Enter();
  EXPECT_EQ(game->baggedBird, nullptr);  // offered once
  const uint8_t green = IndexOf(R::kNewEntryColor);
  const uint8_t yellow = IndexOf(R::kEntryColor);
  ASSERT_NE(green, yellow);
  EXPECT_GT(CountInText(2, green), 100);
  EXPECT_EQ(CountInText(2, yellow), 0);
  for (int32_t rank : {0, 1, 3}) {
    EXPECT_GT(CountInText(rank, yellow), 100) << rank;
    EXPECT_EQ(CountInText(rank, green), 0) << rank;
  }
  EXPECT_EQ(room->highlightedRank, -1);
  // Any later paint shows it yellow like the others.
  ASSERT_EQ(room->PaintTrophies(), 1);
  ASSERT_EQ(game->graphics->GetFrontSurface()->Flip(), 0);
  EXPECT_EQ(CountInText(2, green), 0);
  EXPECT_GT(CountInText(2, yellow), 100);
  // The fifth place is empty: nothing of it is drawn.
  EXPECT_EQ(DiffersFromBackground(PictureRect(4)), 0);
  EXPECT_EQ(DiffersFromBackground(TextRect(4)), 0);
  EXPECT_GT(DiffersFromBackground(PictureRect(0)), 500);
}

TEST_F(TrophyRoomTest, BadProfileValuesAreDrawnAsEmptyPlacesOrPlainText) {
  Seed({Rec("Ann", 30, 0, 1001), Rec("No Time", 25, 1, 0), Rec("Odd Type", -3, 9, 1003)});
  // The fourth: a name of a hundred thousand letters and numbers that do not read.
  ASSERT_TRUE(platform::WriteProfileString("Fourth", "Name", std::string(100000, 'W')));
  ASSERT_TRUE(platform::WriteProfileString("Fourth", "Weight", "heavy"));
  ASSERT_TRUE(platform::WriteProfileString("Fourth", "Type", "99999999999"));
  ASSERT_TRUE(platform::WriteProfileInt("Fourth", "Time", -5));
  // The fifth: keys missing altogether but its time.
  ASSERT_TRUE(platform::WriteProfileString("Fifth", "Name", ""));
  Enter();
  EXPECT_EQ(R::ReadTrophy(3).weight, 0);
  EXPECT_EQ(R::ReadTrophy(3).type, 0);
  // Time 0 is an empty place, whatever else it holds.
  EXPECT_EQ(DiffersFromBackground(PictureRect(1)), 0);
  EXPECT_EQ(DiffersFromBackground(TextRect(1)), 0);
  // A type outside the five: the line without a picture.
  EXPECT_EQ(DiffersFromBackground(PictureRect(2)), 0);
  EXPECT_GT(DiffersFromBackground(TextRect(2)), 100);
  // The long name fills its rectangle and goes no further.
  EXPECT_GT(DiffersFromBackground(TextRect(3)), 1000);
  EXPECT_EQ(DiffersFromBackground(Rect{175, 171 + 180, 640, 180 + 180}), 0);
  EXPECT_EQ(DiffersFromBackground(Rect{577, 300, 640, 351}), 0);
  EXPECT_EQ(DiffersFromBackground(PictureRect(4)), 0);
}

// How the reset question is answered, from inside its own loop. (Esc and Cancel, which keep the
// profile byte for byte, are played in the trophy room's scenarios.)
enum class Answer { FocusLost, OkButton };

TEST_F(TrophyRoomTest, ResetAsksFirstAndOnlyOkEmptiesTheRoomWhichThenSaysSo) {
  Seed(FiveFull());
  R* room = Enter();
  const std::string before = ProfileText();
  ASSERT_FALSE(before.empty());
  // Clicks the reset button and answers the question as it comes up; true when it came up.
  auto resetAnswering = [&](Answer answer) {
    bool asked = false;
    const int hook = platform::AddPumpHook([&] {
      ZConfirmDialog* q = room->GetResetQuestion();
      if (asked || q == nullptr || q->running != 1) return;
      asked = true;
      EXPECT_TRUE(q->IsWindowVisible());
      EXPECT_EQ(platform::GetFocus(), q);
      auto click = [&](ZButton* b) {
        const Rect r = b->GetWindowRect();
        backend->InjectMouseMove(r.left + 20, r.top + 20);
        backend->InjectButton(0, true, r.left + 20, r.top + 20);
        backend->InjectButton(0, false, r.left + 20, r.top + 20);
      };
      if (answer == Answer::FocusLost) {
        backend->InjectActivate(false);
      } else {
        click(q->GetOkButton());
      }
    });
    Click(room->GetResetButton());
    platform::RemovePumpHook(hook);
    return asked;
  };

  // The application loses the focus while it asks: no answer, the room goes as ever, and comes back
  // with every record on activation.
  ASSERT_TRUE(resetAnswering(Answer::FocusLost));
  EXPECT_EQ(ProfileText(), before);
  EXPECT_EQ(game->state, G::Inactive);
  EXPECT_EQ(room->shown, 0);
  backend->InjectActivate(true);
  for (int i = 0; i < 20; ++i) game->LoopPass();
  ASSERT_EQ(room->shown, 1);
  EXPECT_EQ(List(), FiveFull());

  // Without the controls' art there is no question, and so no reset.
  std::unique_ptr<ZSurface> art = std::move(game->controlsSurface);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(resetAnswering(Answer::OkButton));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("nothing is erased"), std::string::npos);
  game->controlsSurface = std::move(art);
  EXPECT_EQ(List(), FiveFull());

  // OK: all five places go in one save, and the empty room says so on its panel, in its lettering.
  ASSERT_TRUE(resetAnswering(Answer::OkButton));
  EXPECT_EQ(List(), std::vector<ZTrophyRecord>(5));
  int line = 0;
  for (int32_t y = R::kEmptyLineRect.top; y <= R::kEmptyLineRect.bottom; ++y)
    for (int32_t x = R::kEmptyLineRect.left; x <= R::kEmptyLineRect.right; ++x) line += Front(x, y) == IndexOf(R::kEntryColor);
  EXPECT_GT(line, 300);
  EXPECT_EQ(DiffersFromBackground(Rect{0, 0, 640, R::kEmptyLineRect.top}), 0);
  EXPECT_EQ(DiffersFromBackground(Rect{0, R::kEmptyLineRect.bottom + 1, 640, 420}), 0);
  Rect r;
  room->GetLeaveButton()->GetSprite()->GetRect(&r);
  EXPECT_GT(DiffersFromBackground(r), 500);

  // One bird in the list, and the line is gone.
  Seed({Rec("Ann", 30, 0, 1001)});
  game->SetState(G::MainMenu);
  game->Tick();
  Enter();
  EXPECT_EQ(DiffersFromBackground(R::kEmptyLineRect), 0);
}

// The question over the room as the screen shows it; BF_UPDATE_GOLDEN=1 writes the PNG beside this
// file and prints the hash to put here.
constexpr uint64_t kQuestionGoldenHash = 0x199a6f117408eebfULL;

TEST_F(TrophyRoomTest, TheResetQuestionMatchesItsPinnedPicture) {
  Seed(FiveFull());
  R* room = Enter();
  uint64_t hash = 0;
  const int hook = platform::AddPumpHook([&] {
    ZConfirmDialog* q = room->GetResetQuestion();
    if (hash != 0 || q == nullptr || q->running != 1) return;
    std::vector<uint8_t> pixels(640 * 480);
    for (int32_t y = 0; y < 480; ++y)
      for (int32_t x = 0; x < 640; ++x) pixels[static_cast<size_t>(y * 640 + x)] = Front(x, y);
    platform::Rgb colors[256];
    game->graphics->GetFrontSurface()->GetSurface2()->GetPalette()->GetEntries(0, 256, colors);
    hash = golden::Keep(pixels, colors, "reset_question_golden.png", "tests/game/reset_question_golden.png");
    // The sign is centred on the screen with both buttons on it.
    EXPECT_EQ(q->GetWindowRect(), (Rect{130, 156, 510, 324}));
    for (ZButton* b : {q->GetOkButton(), q->GetCancelButton()}) {
      const Rect br = b->GetWindowRect();
      EXPECT_TRUE(br.left > 130 && br.right < 510 && br.top > 156 && br.bottom < 324);
    }
    backend->InjectKeyPress(platform::VK_ESCAPE);
  });
  Click(room->GetResetButton());
  platform::RemovePumpHook(hook);
  EXPECT_EQ(hash, kQuestionGoldenHash) << std::hex << "0x" << hash;
}

// --- the window, its buttons and keys ---

TEST_F(TrophyRoomTest, EscapeLeavesJustAsTheLeaveButtonDoesAndAHiddenRoomIgnoresBoth) {
  Seed(FiveFull());
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way == 0 ? "Esc" : "leave button");
    R* room = Enter();
    if (way == 0) {
      ToRoom(platform::WM_KEYDOWN, platform::VK_ESCAPE);
    } else {
      Click(room->GetLeaveButton());
    }
    EXPECT_EQ(game->state, G::MainMenu);
    EXPECT_EQ(room->shown, 0);
    EXPECT_FALSE(room->IsWindowVisible());
    EXPECT_FALSE(room->GetLeaveButton()->IsWindowVisible());
    EXPECT_EQ(room->GetBackgroundSurface(), nullptr);
    EXPECT_EQ(game->mainViewport->GetSource(), nullptr);  // never left on a surface that is gone
    game->Tick();
    EXPECT_EQ(game->mainViewport->GetSource(), game->menuSurface.get());
    // Hidden, the room takes neither a reset nor Esc.
    platform::NotifyHeader header{room->GetResetButton(), 3, platform::NM_CLICK};
    ToRoom(platform::WM_NOTIFY, 3, reinterpret_cast<platform::LPARAM>(&header));
    ToRoom(platform::WM_KEYDOWN, platform::VK_ESCAPE);
    EXPECT_EQ(List(), FiveFull());
    EXPECT_EQ(game->state, G::MainMenu);
    // The next visit starts with both buttons plain.
    Enter();
    EXPECT_EQ(room->GetLeaveButton()->state, ZButton::kStateNormal);
    EXPECT_EQ(room->GetLeaveButton()->hot, 0);
    game->SetState(G::MainMenu);
    game->Tick();
  }
}

// --- a room of five, one of them new, pinned by its hash ---

// The front surface as the room shows it. When a deliberate change alters the picture, run the test
// with BF_UPDATE_GOLDEN=1, look at the PNG it writes beside this file, and put the new hash here.
constexpr uint64_t kGoldenHash = 0x3bf32e4185e7d5fcULL;

TEST_F(TrophyRoomTest, AFullRoomWithItsNewEntryMatchesItsPinnedPicture) {
  Seed({Rec("Field Scout", 27, 3, 1710409260), Rec("Ada Brackwen", 24, 0, 1700000000),
        Rec("A Hunter With A Rather Long Name Indeed", 21, 2, 1690000000), Rec("Sam", 12, 4, 1670000000)});
  backend->GetManualClock().SetCalendar(1712345678);
  game->playerName = "Jo";
  Bag(18, 1);
  Enter();
  ZSurface* front = game->graphics->GetFrontSurface();
  std::vector<uint8_t> pixels(640 * 480);
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) pixels[static_cast<size_t>(y * 640 + x)] = Front(x, y);
  platform::Rgb colors[256];
  front->GetSurface2()->GetPalette()->GetEntries(0, 256, colors);
  const uint64_t hash = golden::Keep(pixels, colors, "trophy_room_golden.png", "tests/game/trophy_room_golden.png");
  // Sanity of the room itself, so a broken hash can be told from a broken room: the new bird is the
  // fourth of five and the only green one, every place has its picture.
  EXPECT_EQ(R::ReadTrophy(3), Rec("Jo", 18, 1, 1712345678));
  EXPECT_GT(CountInText(3, IndexOf(R::kNewEntryColor)), 100);
  for (int32_t rank = 0; rank < 5; ++rank) EXPECT_GT(DiffersFromBackground(PictureRect(rank)), 500) << rank;
  EXPECT_EQ(hash, kGoldenHash) << std::hex << "0x" << hash;
}

}  // namespace
