// ZHelpPage: the page that tells a player how to hunt, over whatever screen asked for it (F1).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ui/dialog.h"
#include "game/board_picture.h"

class ZTurkeyGame;

// A full-screen board of the framework's dialog kind, shown without a modal loop of its own: the
// loop that is running (the game's, or the hunt setup dialog's) goes on and hands it its messages.
class ZHelpPage : public ZDialog {
 public:
  struct Section {
    const char* heading;
    const char* text;
  };
  struct Key {
    const char* key;
    const char* action;
  };
  static constexpr const char* kTitle = "How to Hunt";
  static constexpr const char* kHint = "Press any key or click to go back";
  static constexpr const char* kKeysHeading = "Keys";
  static constexpr int32_t kWidth = 640;
  static constexpr int32_t kHeight = 480;
  // What the page says, column by column, and the keys. The README's "How to play" says the same.
  static const std::vector<Section>& LeftColumn();
  static const std::vector<Section>& RightColumn();
  static const std::vector<Key>& Keys();

  // Where the page's parts go: the plate on the top board, the panel with the two columns and the
  // keys, the hint on the bottom board.
  static constexpr platform::Rect kPlate{200, 10, 440, 54};
  static constexpr platform::Rect kPanel{16, 66, 624, 436};
  static constexpr platform::Rect kHintRect{16, 444, 624, 472};

  // Builds the hidden page over the game's main window; IsBuilt says whether that worked.
  explicit ZHelpPage(ZTurkeyGame* game);
  ~ZHelpPage() override;
  ZHelpPage(const ZHelpPage&) = delete;
  ZHelpPage& operator=(const ZHelpPage&) = delete;

  int32_t IsBuilt() const { return built; }
  // Shows the page over the screen and takes the keyboard; 1, or 0 when it cannot be shown. Over a
  // dialog that acts on its own key releases (the hunt setup: Enter's release is OK), the page closes
  // on the release of a key or button it saw pressed, so that release never reaches the dialog;
  // elsewhere it closes on the press.
  int32_t Open(bool closeOnRelease);
  // Hides the page and gives the keyboard back to the window that had it.
  void Close();
  int32_t IsOpen() const { return open; }
  bool ClosesOnRelease() const { return closeOnRelease; }
  // Every block of lettering as laid out (headings, paragraphs, keys, the hint), in page coordinates.
  const std::vector<platform::Rect>& Blocks() const { return blocks; }

  platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) override;

 private:
  // Paints the whole page into its board; false without a board.
  bool Render();
  int32_t Column(const std::vector<Section>& sections, int32_t left, int32_t right, int32_t top);
  int32_t KeyTable(int32_t left, int32_t right, int32_t top);
  // The player asked to leave: the game decides where to.
  void Dismiss();

  ZTurkeyGame* game = nullptr;
  ZBoardPicture board;
  std::vector<platform::Rect> blocks;
  int32_t built = 0;
  int32_t open = 0;
  bool closeOnRelease = false;
  uint32_t armedKey = 0;     // the key pressed on the page, when it closes on the release
  uint32_t armedButton = 0;  // the button-down message seen, likewise
  platform::Window* previousFocus = nullptr;
};
