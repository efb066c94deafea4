// ZTurkeyGame: the one game object: state machine, message and frame loop, and owner of the game's objects.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/game.h"
#include "framework/core/timer.h"
#include "framework/graphics/sprite_list.h"
#include "platform/types.h"

namespace platform {
class Window;
struct Cursor;
}  // namespace platform

class ZHuntingMap;
class ZHunter;
class ZScene;
class ZTurkey;
class ZHuntingWnd;
class ZTurkeyWnd;
class ZTrophyRoomWnd;
class ZHuntSetupDialog;
class ZHelpPage;
class ZGraphics;
class ZGraphicsInfo;
class ZImage;
class ZPalette;
class ZSurface;
class ZViewport;
class ZSpriteMap;
class ZDXSound;
class ZSystem;
class ZButton;

class ZTurkeyGame : public ZGame {
  Z_DECLARE_CLASS(ZTurkeyGame)

 public:
  // Game states; no other values occur.
  enum : int32_t {
    Starting = 0,
    StartupDone = 1,
    Initializing = 3,
    MainMenu = 4,
    TrophyRoom = 5,
    Hunting = 8,
    EnteringHunt = 11,
    Exiting = 13,
    Inactive = 15,
  };
  // The name of a state ("MainMenu"), or "Unknown".
  static const char* StateName(int32_t state);

  ZTurkeyGame();
  ~ZTurkeyGame() override;
  ZTurkeyGame(const ZTurkeyGame&) = delete;
  ZTurkeyGame& operator=(const ZTurkeyGame&) = delete;

  // The message and frame loop; returns the quit message's exit code.
  int32_t Run();
  // Run's loop in pieces, so a driver can run it pass by pass: StartLoop re-bases the timer, LoopPass
  // is one pass of the loop body (one message at most, the state's work, the frame clock).
  void StartLoop();
  void LoopPass();
  // Tells the message pump when the next pass has work (platform::WakeBy): at once while a state's
  // set-up waits, the next frame of a hunt, the end of the start wait; nothing while the screen only
  // waits for the player. The pump sleeps until then or until input arrives.
  void AskToWake() const;

  void PumpMessage();
  void Tick();
  int32_t SetState(int32_t request);
  platform::LRESULT HandleMessage(platform::Window* window, uint32_t message, platform::WPARAM wParam,
                                  platform::LPARAM lParam);

  // Set-up and hunt services.
  void Initialize();
  int32_t InitGraphics();
  int32_t InitSound();
  int32_t InitControls();
  int32_t CreateMenuButtons();
  void HideMenuButtons();
  void ClearScreens();
  int32_t RunHuntSetup();
  int32_t LoadArea();
  void CheckBaggedBird();
  void PlayAmbientSounds();
  int32_t PlayRandomSound(int32_t id, int32_t percent);
  void ScrollView();
  // The edge-scroll step for a cursor at screen (x, y): -16..16 across, -8..8 up and down.
  static void EdgeScrollStep(int32_t x, int32_t y, int32_t* dx, int32_t* dy);
  void Cleanup();

  // Settings and screenshots.
  void LoadProfile();
  void SaveProfile();
  void TakeScreenshot();

  // Help (F1): the page over the screen that asked for it, and the first hunt's introduction.
  // Over a running game screen the page is a switch to another window: that screen is left as on
  // deactivation and comes back as on activation. Over the hunt setup dialog the dialog waits under it.
  void OpenHelp();
  // The page goes; what it covered comes back.
  void CloseHelp();
  // The page is up.
  int32_t HelpOpen() const;
  // Shows the page before the first hunt a profile enters (once: the profile remembers it); true
  // when it did, the hunt then starting as the page closes.
  bool IntroduceFirstHunt();

  // Fields, in the order the game's readers know them.
  std::unique_ptr<ZHuntingMap> map;
  std::unique_ptr<ZHunter> hunter;
  std::unique_ptr<ZScene> scene;
  ZTurkey* baggedBird = nullptr;
  int32_t state = Starting;
  int32_t resumeState = Inactive;
  int32_t areaIndex = 0;
  int32_t loadedArea = -1;
  int32_t running = 1;
  int32_t frameClockOn = 0;
  int32_t exitCode = 0;
  int32_t enteringHuntDone = 0;
  int32_t startingDone = 0;
  int32_t menuReady = 0;
  int32_t trophyRoomReady = 0;
  int32_t setupDialogOpen = 0;
  platform::Window* focusedButton = nullptr;
  std::unique_ptr<ZHuntingWnd> huntingWindow;
  ZTurkeyWnd* mainWindow = nullptr;
  std::unique_ptr<ZTrophyRoomWnd> trophyRoom;
  ZHuntSetupDialog* setupDialog = nullptr;
  std::unique_ptr<ZGraphics> graphics;
  int32_t graphicsReady = 0;
  std::unique_ptr<ZGraphicsInfo> graphicsInfo;
  std::unique_ptr<ZImage> menuImage;
  std::unique_ptr<ZSurface> menuSurface;
  std::unique_ptr<ZSurface> areaSurface;
  std::unique_ptr<ZSurface> controlsSurface;
  ZSpriteList worldSprites;
  ZSpriteList overlaySprites;
  std::vector<std::unique_ptr<ZButton>> menuButtons;  // owned, in creation order
  std::unique_ptr<ZViewport> mainViewport;
  std::unique_ptr<ZViewport> secondViewport;
  std::unique_ptr<ZSpriteMap> areaSpriteMap;
  std::unique_ptr<ZSpriteMap> controlsSpriteMap;
  std::unique_ptr<ZDXSound> sound;
  int32_t ambientLoopOn = 0;
  std::unique_ptr<ZSystem> systemInfo;
  ZButton* trophyButton = nullptr;
  ZButton* huntButton = nullptr;
  ZButton* exitButton = nullptr;
  ZTimer timer;
  uint32_t framesPerSecond = 36;
  uint32_t stateStartTick = 0;
  uint32_t lastAmbientTick = 0;
  int32_t edgeScrollOn = 0;
  int32_t lookDX = 0;
  int32_t lookDY = 0;
  // |lookDX| + |lookDY| as the latest frame applied them: ScrollView clears the two before the gun
  // sways in the same frame, and the gun's wider sway while the view moves needs to know.
  int32_t frameLook = 0;
  std::string playerName;
  // The main window has been destroyed: the game takes no more requests or messages and only waits
  // for its quit message.
  int32_t closed = 0;
  // The clean-up WM_DESTROY asked for, still to run: the loop runs it at the end of its pass, once
  // every handler and modal loop that was dispatching messages has returned and nothing uses the objects.
  int32_t cleanupDue = 0;
  // Set-up failed (one of the three messages was shown): the program ends with kSetupFailedExitCode.
  int32_t setupFailed = 0;

  // The help page, made the first time it is asked for; and whether this profile has had the first
  // hunt's introduction (read from the profile when a hunt is first entered, unless already 1).
  std::unique_ptr<ZHelpPage> helpPage;
  int32_t helpIntroduced = 0;

  // Told of every state the game enters, as it enters it (also one it leaves again in the same pass);
  // the replay driver logs them. Not told of assignments made from outside.
  std::function<void(int32_t state)> stateObserver;

 private:
  void EnterState(int32_t next);
  void ShutdownSequence();
  void ReturnToMenu();
  void BuildMenu();
  void RunHuntSetupSequence();
  void DrawHuntFrame();
  // Releases what is still owned, in Cleanup's order, so nothing is torn down under its users.
  void ReleaseObjects();
  platform::LRESULT DefaultHandling(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);
  // Shows one of the three set-up failure messages and ends the program.
  void FailSetup(const char* message);
  // The quit message's code: 0, or kSetupFailedExitCode after a failed set-up.
  int32_t QuitCode() const;

  // The palette last made current for the menu; the graphics system refers to it while in force.
  std::unique_ptr<ZPalette> menuPalette;
};

// Module-level bird art, shared with the birds (set by LoadBirdArt, released by FreeBirdArt).
extern ZTurkeyGame* theGame;
extern std::unique_ptr<ZSpriteMap> birdSpriteMap;
extern std::unique_ptr<ZSurface> birdSurface;
// Cursor resource 104 of the program, loaded by InitGraphics; null means the standard arrow.
extern const platform::Cursor* gameCursor;

int32_t LoadBirdArt(ZTurkeyGame* game);
void FreeBirdArt();

// The three set-up failure messages.
inline constexpr const char* kGraphicsFailedMessage = "ERROR: Graphics initialization failed.";
inline constexpr const char* kSoundFailedMessage = "ERROR: Sound initialization failed.";
inline constexpr const char* kControlsFailedMessage = "ERROR: Controls initialization failed.";
// The exit status after any of them, so a launcher or a script can tell; Escape and Exit end with 0.
inline constexpr int32_t kSetupFailedExitCode = 1;
