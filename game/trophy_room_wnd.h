// ZTrophyRoomWnd: the trophy room: the five heaviest birds kept in the profile, ranked, listed and reset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/ui/wnd.h"
#include "platform/types.h"

class ZTurkeyGame;
class ZButton;
class ZImage;
class ZSurface;
class ZPalette;
class ZConfirmDialog;
namespace platform {
struct DeviceContext;
}

// One place of the list as the profile holds it. A place whose time is 0 is empty.
struct ZTrophyRecord {
  std::string name;
  int32_t weight = 0;  // whole pounds
  int32_t type = 0;    // subspecies 0..4, also the frame of the picture
  int32_t time = 0;    // seconds since 1970 as stored (read as unsigned, so dates run to 2106)
  bool Empty() const { return time == 0; }
  bool operator==(const ZTrophyRecord&) const = default;
};

class ZTrophyRoomWnd : public ZWnd {
  Z_DECLARE_CLASS(ZTrophyRoomWnd)

 public:
  static constexpr int32_t kPlaces = 5;
  static constexpr uint32_t kResetButtonId = 3;
  static constexpr uint32_t kLeaveButtonId = 13;
  static constexpr int32_t kResetSprite = 3;
  static constexpr int32_t kLeaveSprite = 13;
  static constexpr int32_t kPictureSprite = 18;
  static constexpr int32_t kButtonMask = 14;  // normal, highlighted, pressed
  static constexpr int32_t kTextWidth = 400;
  static constexpr int32_t kTextHeight = 50;
  // The first place's picture and text; each further place is 60 pixels lower.
  static constexpr platform::Point kFirstPicture{100, 100};
  static constexpr platform::Point kFirstText{175, 120};
  static constexpr int32_t kPlaceSpacing = 60;
  // Colours of the text: the shadow, the entries, the entry just ranked (red in the low byte).
  static constexpr platform::COLORREF kShadowColor = 0x000000;
  static constexpr platform::COLORREF kEntryColor = 0x00FFFF;
  static constexpr platform::COLORREF kNewEntryColor = 0x00FF00;
  // Reset asks first; the list is written only when the player says OK.
  static constexpr const char* kResetQuestion = "Erase all five trophies?";
  // With all five places empty the room says so, centred on its panel in the room's lettering.
  static constexpr const char* kEmptyLine = "No trophies yet. Bag your first bird and it will hang here.";
  static constexpr platform::Rect kEmptyLineRect{28, 230, 612, 262};
  static constexpr int32_t kEmptyLineHeight = 18;
  // More of a name than this could never show in its rectangle; longer ones are cut (at a whole
  // character) so that a damaged profile cannot make every paint lay out megabytes of text.
  static constexpr size_t kMaxNameBytes = 1024;

  ZTrophyRoomWnd();
  ~ZTrophyRoomWnd() override;
  ZTrophyRoomWnd(const ZTrophyRoomWnd&) = delete;
  ZTrophyRoomWnd& operator=(const ZTrophyRoomWnd&) = delete;

  // The hidden full-screen window "Trophy Room" owned by `parent`, and its reset and leave buttons.
  // 0 when the window cannot be made; without the controls' art the room has no buttons (Esc leaves).
  int32_t Create(platform::Window* parent, ZTurkeyGame* owner);
  // Offers the game's bagged bird to the list: 1 when it took a place (which is then highlighted),
  // 0 without a game or bird, when it is lighter than all five, or when the list cannot be saved.
  int32_t RecordTrophy();
  // Empties all five places in one save; 1 when saved.
  int32_t ResetTrophies();
  // Shows the room and draws the list; 0 when its background cannot be made (the game then leaves).
  int32_t Show();
  void Hide();
  int32_t LoadBackground();
  void ReleaseBackground();
  // Draws the background and the list on the back surface; 0 when there is no drawing context.
  int32_t PaintTrophies();
  // One place: its picture and its line, shadow first. `dc` holds the back surface; false when it
  // could not be taken back after the picture (the paint then stops drawing).
  bool DrawTrophy(platform::DeviceContext* dc, int32_t rank, platform::Point picture, platform::Point text);

  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

  // The profile section of a place (0 "First" .. 4 "Fifth"); null outside.
  static const char* SectionName(int32_t rank);
  // The text after the weight for a subspecies; empty outside 0..4.
  static const char* SubspeciesText(int32_t type);
  static ZTrophyRecord ReadTrophy(int32_t rank);
  // The place's line: name, " shot a %d lb. ", subspecies text, then the date.
  static std::string TrophyLine(const ZTrophyRecord& record);
  // The date in local time as "%B %d, %Y at %H:%M\n\r"; false (and empty) when it cannot be made.
  static bool FormatTrophyDate(int64_t seconds, std::string* out);

  // The reset question while it is up, else null.
  ZConfirmDialog* GetResetQuestion() const { return resetQuestion; }
  ZButton* GetLeaveButton() const { return leaveButton.get(); }
  ZButton* GetResetButton() const { return resetButton.get(); }
  ZSurface* GetBackgroundSurface() const { return backgroundSurface.get(); }

  int32_t shown = 0;
  platform::Window* parent = nullptr;
  ZTurkeyGame* game = nullptr;
  int32_t highlightedRank = -1;  // 1..5: drawn in green at the next paint; -1 none

 private:
  void LeaveRoom();
  // The reset button: the question first, then the reset only on OK.
  void OnResetClicked();
  void OnReset();
  // The list, the page flip and both buttons drawn again, as after a reset.
  void Redraw();
  void DrawEmptyLine(platform::DeviceContext* dc);
  // Empties the game's world sprite list; the birds give their pictures back first, as they own them.
  void EmptySpriteList();

  std::unique_ptr<ZButton> leaveButton;
  std::unique_ptr<ZButton> resetButton;
  std::unique_ptr<ZImage> backgroundImage;
  std::unique_ptr<ZSurface> backgroundSurface;
  // The graphics system refers to the palette in force, so the room keeps the one it set.
  std::unique_ptr<ZPalette> palette;
  ZConfirmDialog* resetQuestion = nullptr;  // lives on the stack of OnResetClicked while it asks
};
