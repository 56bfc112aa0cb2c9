// The game: one application object that holds every piece of game state.
//
// Fields keep the game's fixed declaration order; the banners only mark where
// one concern gives way to the next. Arrays are made once, at full size, by the constructor and never
// replaced, so "empty" always means zeros. Units: px = window pixels,
// vu = virtual-screen units (designed for 640 x 480), deg = degrees.
#pragma once

#include <string>

#include "app/bb_app.h"
#include "game/meta/replay.h"
#include "game/play/random.h"
#include "graphics/image.h"

class bb_audio_Sound;

// Screen states (m_Screen).
constexpr int kScreenMenu = 1;         // the main menu, with its boxes
constexpr int kScreenBackToMenu = 2;   // a game has ended: bookkeeping, then the menu
constexpr int kScreenRound = 10;       // a round in play (paused or over included)
constexpr int kScreenRoundSetUp = 11;  // a round requested; set up in the next update

// Rule variants (m_Mode, 1..9), each shared by one or two play modes (m_MenuMode, 1..10).
constexpr int kVariantClassic = 1;   // play modes 1 and 2: plain spikes, bouncing
constexpr int kVariantLake = 2;      // play mode 3: floating platforms, reflections
constexpr int kVariantRunner = 3;    // play mode 4: runs by itself, holding leaps
constexpr int kVariantFlying = 4;    // play mode 5: holding climbs, boost per spike
constexpr int kVariantBeams = 5;     // play mode 6: marker beams over and under
constexpr int kVariantGun = 6;       // play mode 7: passing while held charges a gun
constexpr int kVariantPickups = 7;   // play mode 8: spinning pickups, no trail
constexpr int kVariantShields = 8;   // play mode 9: shields that pay for hits
constexpr int kVariantSmash = 9;     // play mode 10: spikes are to be hit, against a timer

// Settings slots with a use (m_Settings, 25 slots; the others are carried
// through the save string unchanged).
constexpr int kSettingLastMode = 1;       // play mode of the last game started
constexpr int kSettingUnlocked = 2;       // unlocked play modes, bit k-1 = mode k
constexpr int kSettingCredits = 3;        // credits to spend
constexpr int kSettingSound = 5;          // 0 silent, 1 effects and music, 2 effects only, 3 music only
constexpr int kSettingBadgeCounter = 6;   // occurrences of badge 25's event
constexpr int kSettingStickX = 10;        // vu, on-screen stick centre x
constexpr int kSettingStickHeight = 11;   // vu, on-screen stick centre above the bottom
constexpr int kSettingStickScale = 12;    // on-screen stick scale x 10
constexpr int kSettingEffectsVolume = 13; // steps of 10 % down from full, 0..10
constexpr int kSettingMusicVolume = 14;   // steps of 10 % down from full, 0..10
constexpr int kSettingGameSpeed = 15;     // 0..5: 100 % down to 50 % in steps of 10
constexpr int kSettingButtonMode = 16;    // 0 hold, 1 toggle

// Logical button that opens and closes the options box (m_PlayKey): the O key,
// and a gamepad's Back, which keeps this meaning while the iCade is on.
constexpr int kButtonOptions = 18;

class bb_Vaultwick_MyApp : public bb_app_App {
 public:
  // --- Screen state and device ---------------------------------------------
  int m_Screen = 0;        // kScreen...
  int m_Mode = 0;          // kVariant... of the round; picks world sheet and sound set
  int m_WorldMode = 0;     // variant whose world sheets sit in image slots 1 and 2
  int m_DevWidth = 0;      // px, device width when last checked
  int m_DevHeight = 0;     // px, device height when last checked
  float m_AccelBaseX = 0;  // neutral accelerometer X
  float m_AccelBaseY = 0;  // neutral accelerometer Y

  // --- Clear colour --------------------------------------------------------
  float m_ClearR = 0;  // 0..255
  float m_ClearG = 0;  // 0..255
  float m_ClearB = 0;  // 0..255
  float m_ClearA = 0;  // 0..1; below 1 leaves trails of the last frame

  // --- Asset slots ---------------------------------------------------------
  int m_AssetScale = 0;                 // 1, 2 or 4
  float m_AssetInvScale = 0;            // 1 / m_AssetScale
  Array<bb_graphics_Image*> m_Img;      // [100] image slots
  Array<int> m_ImgInfo;                 // [300] per slot: frame w, h (px of loaded art), count
  int m_LoadStep = 0;                   // 0 idle, 1..39 next loader step

  // --- Menu and pause ------------------------------------------------------
  int m_MenuMode = 0;     // play mode highlighted in the menu, 1-based
  int m_MenuIntro = 0;    // slide-in offset, -32..0
  int m_Paused = 0;       // 1 while the pause menu is up
  int m_PauseOpened = 0;  // 1 when play has just been paused
  int m_PauseY = 0;       // vu, y of the pause panel; -64 off screen
  int m_Iter = 0;         // shared loop counter; left at each loop's end value

  // --- Badges, settings and scores -----------------------------------------
  Array<int> m_NoteBadge;         // [15] badge shown per notification slot
  Array<int> m_NoteBusy;          // [15] 1 while a notification slot is in use
  Array<bool> m_Badges;           // [256] badges owned
  Array<bool> m_BadgesThisGame;   // [256] badges awarded in this game
  Array<int> m_Pad;               // [20] logical buttons: 0 up, 2 iCade held, 1 this update
  Array<int> m_Settings;          // [25] saved settings; [5] sound 1/2 = on
  Array<int> m_Scores;            // [200] top ten then last ten per play mode
  Array<int> m_SfxChannels;       // [33] channel numbers, [i] = i
  float m_MenuScroll = 0;         // vu, y of the menu's mode list

  // --- Render meter and virtual screen -------------------------------------
  int m_RenderLastMs = 0;  // ms, clock at the previous render
  int m_RenderFps = 0;     // renders per second, last interval
  int m_RenderFpsAvg = 0;  // running average of m_RenderFps
  float m_ScaleX = 0;      // px per vu, horizontal
  float m_ScaleY = 0;      // px per vu, vertical (equals m_ScaleX after a render)
  int m_ScaleMode = 0;     // 1 scaled by width ratio, 2 by height ratio
  int m_Landscape = 0;     // 1 when jscrh <= jscrw

  // --- Display list --------------------------------------------------------
  int m_DrawCount = 0;     // floats in use, 15 per record
  Array<float> m_DrawList; // [37500] draw records

  // --- Pointer, touch and latches ------------------------------------------
  int m_Held = 0;           // 1 while the one button is held; iCade reader's scratch char
  int m_UpdateLastMs = 0;   // ms, clock at the previous update
  int m_UpdateFps = 0;      // updates per second, last interval
  int m_UpdateFpsAvg = 0;   // running average of m_UpdateFps
  int m_PointerX = 0;       // vu
  int m_PrevPointerX = 0;   // vu, previous update (same as now when a press begins)
  int m_PointerY = 0;       // vu
  int m_PrevPointerY = 0;   // vu
  int m_MouseWasDown = 0;   // left button at the end of the previous input scan
  int m_PointerDown = 0;    // non-zero while the left button or a contact is held
  int m_PointerHits = 0;    // left-button presses this update
  Array<int> m_TouchDown;   // [10] 1 while contact i is held
  Array<int> m_TouchX;      // [10] vu, -3717 when not held
  Array<int> m_TouchY;      // [10] vu, -3717 when not held
  int m_PointerLatch = 0;   // 1 once a pointer press was used; cleared on release
  int m_KeyLatch = 0;       // 1 once a key press was used; cleared on release
  int m_CreditBoxOpen = 0;  // 1 while the credits box covers the menu
  int m_BadgesBoxOpen = 0;  // 1 while the badges box covers the menu

  // --- Pen -----------------------------------------------------------------
  float m_SizeX = 0;   // image scale or shape width; reset 1
  float m_SizeY = 0;   // image scale or shape height; reset 1
  float m_Rot = 0;     // deg; reset 0
  float m_ColR = 0;    // 0..255; reset 255
  float m_ColG = 0;    // 0..255; reset 255
  float m_ColB = 0;    // 0..255; reset 255
  float m_ColA = 0;    // 0..1; reset 1
  int m_FontImg = 0;   // image slot of the bitmap font (90)
  int m_ButtonHit = 0; // 1 when the last m_Button had a contact on it

  // --- Sound ---------------------------------------------------------------
  int m_SfxCursor = 0;           // index of the last channel used, 0..23
  Array<bb_audio_Sound*> m_Sfx;  // [100] sound slots
  int m_MusicTrack = -1;         // music last started: 0 the menu's, 1..9 a variant's, -1 none
  float m_MusicLevel = 0;        // 0..1, the fade on the music's gain

  // --- Menu boxes, loading screen and round ---------------------------------
  float m_BadgeScroll = 0;        // vu, badges list offset (<= 0)
  float m_BadgeScrollTarget = 0;  // vu, where m_BadgeScroll eases to (<= 0)
  int m_CoinSpin = 0;             // deg, menu coin, +6 per update
  int m_NextKind = 0;             // next lower spike kind, 0 empty, 1..9
  int m_PinchSpan = 0;            // stick pinch span in 16-vu steps; scratch elsewhere
  int m_CreditsEarned = 0;        // credits earned this round
  int m_Score = 0;                // score of this round
  int m_Spin = 0;                 // deg, loading spinner, +16 per step
  float m_Ground = 0;             // vu, ground line above the bottom edge
  float m_Scroll = 0;             // px, horizontal scroll used for drawing
  float m_BulletX = 0;            // vu, 0 = no bullet
  int m_RoundOver = 0;            // 1 once the round has ended
  float m_BulletY = 0;            // vu
  int m_Columns = 0;              // columns scrolled past this round
  Array<int> m_Upper;             // [640] upper lane: 64 columns x 10 ints
  int m_ColumnWidth = 0;          // px, 256 (112 in mode 4, 400 in mode 5)
  float m_ColumnOffset = 0;       // px, scroll within the column, for drawing
  Array<float> m_Trail;           // [640] character records of 10; [20] now, 0..19 before
  float m_Angle = 0;              // deg, leap: 0 ground, 90 top, 180 landed
  int m_Combo = 0;                // combo count
  float m_ComboTimer = 0;         // combo lost below 1
  int m_PinchBase = 0;            // stick pinch span at start; flag for m_GiveBadge
  Array<int> m_NoteRepeat;        // [15] 1 if the badge was already owned
  Array<float> m_Particles;       // [1024] 100 effect records of 10
  int m_PopupCount = 0;           // pop-ups made so far
  int m_Chain = 0;                // SUPER multiplier, 1 + spikes passed while held
  Array<int> m_Lower;             // [640] lower lane: 64 columns x 10 ints
  int m_Charge = 0;               // bullet charge (mode 7) or shields (mode 9), 0..5
  Array<int> m_PassHistory;       // [10] last ten spikes passed, newest last
  int m_Passed = 0;               // spikes passed this round
  int m_Lives = 0;                // extra hits left
  float m_Speed = 0;              // forward speed factor 0..1
  float m_Accel = 0;              // speed gain per frame for the leap control
  Array<int> m_Flags;             // [10] [0] past the apex, [2] pass latch
  Array<int> m_RoundCounts;       // [256] per-round badge counters
  float m_Boost = 0;              // mode 5 extra run speed, 0..10
  float m_RunSpeed = 0;           // px per frame at full speed
  float m_Lift = 0;               // mode 5 climb velocity, -1..1
  float m_ColumnPos = 0;          // px travelled within the column
  float m_Distance = 0;           // px travelled this round

  // --- Spike generator ------------------------------------------------------
  int m_UpperGap = 0;       // columns since the last upper-lane object
  int m_PieceSeed = 0;      // seed counter for the next column
  int m_NextTier = 0;       // 0 still, 1..3 bobbing
  int m_MaxPiece = 0;       // highest piece number drawable
  int m_UpperPick = 0;      // kind offered for the upper lane
  int m_PieceRoll = 0;      // random 0..9, gates upper-lane objects
  int m_PiecePhase = 0;     // deg, random 0..359, bobbing start phase
  int m_GapCount = 0;       // mode 4: columns to the next spike
  int m_PieceCount = 0;     // pieces since m_MaxPiece grew
  int m_PiecesPerStep = 0;  // pieces per difficulty step
  int m_MaxPieceCap = 0;    // cap of m_MaxPiece
  int m_Column = 0;         // newest track column (ring slot = mod 64)

  // --- Round extras, game over and sound set --------------------------------
  int m_Shots = 0;            // bullets fired this round
  float m_Clock = 0;          // deg, animation clock, wraps at 360
  int m_ShownScore = 0;       // displayed score, eases to m_Score
  int m_Pinching = 0;         // 1 while a pinch resizes the stick
  int m_NextCredit = 0;       // score that earns the next credit
  int m_PauseChoice = 0;      // pause-menu choice, -1..1
  float m_GameOverTime = 0;   // updates, game-over overlay timer
  int m_PlayedMode = 0;       // play mode the round was set up for
  int m_SfxSet = 0;           // variant of sound slots 2..4, 0 default

  // --- On-screen stick and tilt ---------------------------------------------
  int m_StickX = 0;           // vu, stick centre x
  int m_StickY = 0;           // vu, stick centre y
  float m_StickScale = 0;     // stick scale, 0.8..2.5
  float m_TiltX = 0;          // accelerometer X minus neutral
  float m_TiltY = 0;          // accelerometer Y minus neutral
  float m_TiltSmoothX = 0;    // eases a quarter of the way to m_TiltX per update
  float m_TiltSmoothY = 0;    // likewise for Y

  // --- Round clock and replays ----------------------------------------------
  int m_RoundClock = 0;          // ms, the clock at the round's set-up: its seed
  int m_RoundTicks = 0;          // updates of the round since its set-up
  ReplayRecorder m_Recorder;     // the round in play, as it is recorded
  ReplayPlayer m_Player;         // a recorded round played in the player's place
  char m_ReplayNote[64] = {};    // what the menu says about a replay
  int m_ReplayNoteTime = 0;      // updates the note stays up

  // --- Options box and its round settings ------------------------------------
  int m_OptionsBoxOpen = 0;   // 1 while the options box covers the menu
  int m_OptionsRow = 0;       // row with the keyboard focus, 0..4
  int m_RoundSpeed = 0;       // kSettingGameSpeed as the round was set up with
  int m_ToggleHeld = 0;       // toggle mode: the held state the round reads
  int m_PlayWasHeld = 0;      // the one button was down in the previous round frame

  // Display-list geometry: 15 floats a record, appended while the count is at
  // most kDrawLimit, so one frame holds 2 499 records.
  static const int kDrawRecord = 15;
  static const int kDrawListSize = 37500;
  static const int kDrawLimit = 37484;
  // Marks an optional float argument as not given; also the rectangle kind.
  static constexpr float kAbsent = -3717.0f;
  static constexpr float kRectKind = -3717.0f;
  static constexpr float kOvalKind = -3716.0f;

  bb_Vaultwick_MyApp();
  bb_Vaultwick_MyApp* g_new();
  void mark() override;

  // Lifecycle hooks.
  int m_OnCreate() override;
  int m_OnUpdate() override;
  int m_OnSuspend() override;
  int m_OnResume() override;
  int m_OnRender() override;
  int m_OnFocusLost() override;

  // Assets, controls, drawing kit, text helpers and sound, in table order.
  virtual int m_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags);
  virtual int m_Reload();
  virtual int m_iCade(int on);
  virtual int m_PlayKey(int button);
  virtual int m_ResetDraw();
  virtual int m_CLS2D(float r, float g, float b, float a);
  virtual int m_SetSize(float w, float h);
  virtual int m_DrawImg(int slot, float x, float y, float frame);
  virtual int m_Alpha(float a);
  virtual int m_SetCol(float r, float g, float b, float a);
  virtual int m_Rect(float x, float y, float w, float h);
  virtual int m_Text(float x, float y, String text, float alignX, float alignY);
  virtual int m_Button(int slot, float x, float y, int frame);
  virtual int m_PlaySFX(int slot, float rate, float volume, float pan);
  virtual String m_rstr(int value, int width, String pad);
  virtual int m_Oval(float x, float y, float rx, float ry);
  virtual int m_WaitStart(int a);
  virtual int m_SetRot(float angle);
  virtual int m_MouseIn(float x, float y, float w, float h);
  virtual String m_Nth(int n);
  virtual int m_Ink(int kind, int variant);
  virtual int m_GetSFX();
  virtual int m_LoadSFX(int slot, int variant);
  virtual int m_LoadFont(int slot, String name, int advance, int lineHeight);
  virtual int m_Loader();
  virtual int m_Button0(int slot, float x, float y, int frame);

  // Save data: the three tables as one checksummed string in the state file.
  virtual int m_Save();
  virtual int m_Load();
  void KeepLoadedSettingsUsable();
  virtual int m_SetFlag(int word, int bit, int on);
  virtual int m_GetFlag(int word, int bit);

  // Badges: the texts, awarding, the notifications and the badges box, and
  // the score-service hooks that this program leaves empty.
  virtual String m_BadgeID(int id);
  virtual String m_BadgeName(int id);
  virtual String m_BadgeDetail(int id);
  virtual int m_GiveBadge(int id);
  virtual int m_ShowBadges();
  virtual int m_BadgesBox();
  virtual int m_GC_PostScore(int mode, int score);
  virtual int m_GC_Badges();

  // Play modes and the spike field: round set-up, the column generator, the
  // per-frame field with its collisions and passes, and the effect records.
  virtual int m_GetLives(int mode);
  virtual int m_GetCost(float x);
  virtual int m_LoadGame();
  virtual int m_NextPiece();
  virtual int m_Place(int kind, int tier);
  virtual int m_Placeb(int kind, int value);
  virtual int m_DoSpikes();
  virtual int m_Smash(float x, float y, int kind, int count);
  virtual int m_Gets(float x, float y, int kind, int points, int type);

  // Round flow: one frame of play.
  virtual int m_Game();

  // Menus: the main menu, the way into the pause panel and the panel itself,
  // game over with the score filing, and the credits box.
  virtual int m_Menu();
  virtual int m_InGame();
  virtual int m_PauseMenu();
  virtual int m_GameOver();
  virtual String m_MyNth();
  virtual int m_LoadMenu();
  virtual int m_CreditBox();
  // The options box over the menu.
  virtual int m_OptionsBox();

  // Render step: draws the display list through the graphics context.
  void ReplayDrawList();

  // Replays (meta/replay.cpp, meta/replay_watch.cpp). The round's clock is
  // its seed plus 1000 / 60 ms an update, so a replay sees the same times.
  int RoundMillisecs() const;
  uint32_t RoundStateHash() const;
  // Plays `recorded` from its set-up, which runs in the next update; the
  // player's tables are kept and given back by StopReplay.
  void StartReplay(const replay::Replay& recorded, ReplayPlayer::Purpose purpose);
  void StopReplay();
  // The selected mode's best run from the menu, or a note saying why not.
  void WatchBestRun(int mode);
  static std::string LastRunFile();
  static std::string BestRunFile(int mode);

  // The player's music volume (settings slot 14, steps of 10 % down from
  // full) as a gain, 0..1; the music's gain is the fade times this.
  float m_MusicVolume();

 private:
  // One record of `kind` with the pen's rotation and colour; dropped when full.
  void AppendRecord(float kind, float x, float y, float w, float h, float frame);
  // Update steps that read the input device and the logical buttons.
  void ScanPointer();
  void ReadICadeLetters();
  void OnScreenStick();
  void ClampStickSettings();
  void TiltIndicator();
  void DispatchScreen();
  // Shared by suspend and resume: a round in play comes back paused.
  void PauseIfInRound();
  // Music (music.cpp): the track for the screen, its fade, the setting.
  void UpdateMusic();
  int WantedMusic() const;
  void StartMusic(int track, float level);
  void StopGameMusic();
  // Art resolution for the device size, and an image file at that resolution.
  void ChooseAssetScale();
  String ImageFile(String stem);

  // --- Play: spike field, play modes, round flow and scoring ----------------
  // Round set-up (modes.cpp).
  void ResetRoundCounters();
  void ClearRoundArrays();
  void ResetTrackAndGenerator();
  const char* ApplyPlayMode();
  void PlaceOpeningColumns(const char* pattern);
  void StartTrailAtCharacter();
  void ReloadWorldSheets();
  void ReloadVariantSounds();
  // The column generator and the ring (pieces.cpp).
  void DiscardPieceDraws();
  void DrawPieceNumber();
  void DrawUpperChoices();
  void PickShieldLevel();
  void CountDownToSpike();
  void StepDifficulty();
  int UpperLevelBesideSpike() const;
  void AdvanceColumn();
  void PlaceUpperByVariant();
  // The field each frame (field.cpp) and its upper lane (upper.cpp).
  bool Running() const;
  bool HasTrail() const;
  int ColumnX(int i) const;
  int LevelY(int level) const;
  void FlyBullet();
  void DrawBullet();
  void LowerSpike(int i, int slot);
  void ShootSpike(int slot, int x, int y, int k);
  bool SpikeHitsCharacter(int x, int y, int k);
  bool SolidColumnHits(int x, int k);
  void DrawSpikeReflection(int x, int y, int k);
  void ResolveHit(int slot, int x, int y, int k);
  void LoseShields();
  void SmashSpike(int slot, int x, int y, int k);
  void PassSpike(int slot, int x, int y, int k);
  void MarkerBonus(int slot, bool over, bool under);
  void UpperObject(int i, int slot);
  void FloatingObject(int i, int slot);
  void TouchFloatingObject(int x, int y);
  void Pickup(int i, int slot);
  void SpinPickup(int* up);
  void CollectPickup(int slot, int x, int y);
  void MarkerBeam(int i, int slot);
  // The effect pool (effects.cpp).
  int FreeEffectRecord() const;
  void UpdateEffects();
  void UpdateParticle(float* e);
  void UpdatePopup(float* e);
  void MovePopup(float* e);
  // The frame and the control schemes (round.cpp).
  void ReadButton();
  void ComputeGround();
  void ApplyControlScheme();
  void BounceScheme();
  void LeapScheme();
  void FlyingScheme();
  void FlyingComboDrain();
  void AdvanceTrack();
  void FireBullet();
  void EndOfFrame();
  // What the round shows (scene.cpp).
  void DrawBackground();
  void DrawBackgroundRow(int j, int first);
  float ParallaxFactor(int j, int first);
  void BulletGauge();
  void UpdateCharacter();
  float CharacterY() const;
  float CharacterFrame() const;
  void AgeTrail();
  void DrawTrail();
  void DrawCharacter();
  float ReflectionY(float y) const;
  void DrawCaptions();
  void DrawHud();
  void DrawScoreToBeat();
  void DrawComboBar();
  void DrawLives();
  // Points, combo timer, credits and badges (scoring.cpp).
  static int SaturatingProduct(int a, int b);
  void AddScore(long long points);
  void ScorePass(int x, int y, int k);
  void ScoreShieldPass(int x, int y, int k);
  void ScoreShot(int x, int y);
  void ScoreSmash(int x, int y, int k);
  void CheckCredit();
  void DrainComboTimer();
  void GiveBadgeOnce(int id);
  void PassBadges(int k, bool over, bool under);
  void WaveBadges();
  void PopupBadges(int points);
  void FrameBadges();
  void HitBadges();
  void BulletBadges();

  // --- Menus: main menu, pause panel, game over and credits box -------------
  // The main menu's steps, in the order m_Menu runs them.
  void MenuClear();
  void MenuTitleArt();
  void MenuScoreStrip();
  void MenuTagline();
  void MenuSoundButton();
  void MenuButtonPen();
  void MenuBadgesButton();
  void MenuScoreLists();
  void MenuCredits();
  void MenuModeList();
  void MenuDrag();
  void MenuKeys();
  void MenuICadeButton();
  void MenuCreditBoxButton();
  void MenuPlayButton();
  // One row of the mode list at `y`; returns the row's y after a tap moved the list.
  int MenuModeRow(int mode, int x, int y);
  void MenuPriceTag(int x, int y, int cost, bool selected);
  int MenuRowPressed(int mode, int y);
  bool NoBoxOpen() const { return m_CreditBoxOpen == 0 && m_BadgesBoxOpen == 0 && m_OptionsBoxOpen == 0; }
  int ModeCost(int mode);
  // Starts a round of the selected mode, or buys it when it is locked.
  void StartRound();
  void UnlockSelectedMode(int cost);
  // The sound setting as both sound buttons show and change it.
  void NormaliseSound();
  void ToggleSoundByPointer();
  void CycleSoundByKey();
  void DrawMusicState(float x, float y);
  // Score lists of a play mode 1..MaxGames; any other mode has none.
  bool HasScoreLists(int mode) const;
  int& TopScore(int mode, int i);
  int& LastScore(int mode, int i);
  // The pause panel's steps, in the order m_PauseMenu runs them.
  void PauseShade();
  void PauseSlide();
  void PausePanel();
  void PauseResumeButton();
  void PauseResumeFocus();
  void PauseQuitButton();
  void PauseQuitFocus();
  void PauseSoundButton();
  void PauseSoundFocus();
  void PauseKey();
  void PauseFocusRing(float x, float y);
  float PauseSideX(int side) const;
  float PauseSideY() const;
  void OpenPause();
  void ClosePause();
  void QuitRound();
  // A key or tap that is not yet spent, which it then spends.
  bool KeyAct(int button);
  bool TapAct(int hit);
  // Game over: the overlay, its timer, and the filing of the round.
  void DrawGameOver(float g);
  void GameOverTimer();
  void AddRoundCredits();
  void FileTopTen();
  void FileLastTen();
  bool RoundUnfiled() const;
  // Saves as if an unfiled round had been quit, leaving the tables in memory as they were.
  void SaveFilingOpenRound();

  // --- Replays: recording, playing back, watching ----------------------------
  void UpdateOnce();
  void StartRoundClock();
  uint16_t SampleButtons();
  void ReplayBeginUpdate();
  void ReplayEndUpdate();
  replay::Carry CurrentCarry() const;
  void ApplyCarry(const replay::Carry& carry);
  void BeginRecording();
  void RecordUpdate();
  void RecordEvents();
  void FinishRecording();
  void ApplyRecordedHeader(const replay::Header& header);
  void ApplyReplayEvents();
  int ReplayButton(int button) const;
  void ScanReplayPointer();
  void CheckReplayUpdate();
  void ReplayOutOfStep();
  bool Watching() const;
  bool WatchInterrupted();
  void SkipReplayPauses();
  void DrawReplayLabel();
  void MenuReplay();
  void SetReplayNote(const char* text);
  void RenderLetterboxed(int width, int height);

  // --- Options: the box (options.cpp) and what it sets (assist.cpp) ---------
  void MenuOptionsButton();
  void ClampOptionSettings();
  void OpenOptionsBox();
  void CloseOptionsBox();
  void OptionsPanel(float top, float pitch);
  void OptionsRow(int row, float y);
  void OptionsKeys();
  void OptionsTap(float top, float pitch);
  void StepOption(int row, int delta);
  String OptionValue(int row);
  float EffectsVolume();
  // Updates per second the current screen runs at: slowed in a running round.
  int WantedUpdateRate() const;
  void KeepUpdateRate();
  bool RoundSlowed() const { return m_RoundSpeed != 0; }
  bool ToggleMode() { return m_Settings[kSettingButtonMode] == 1; }
  // The held state a round frame reads from the one button's raw state.
  int ToggledHold(int held);
  bool PointerOnPauseButton();
  void StartRoundAssists();
  void DrawAssistMarks();
};

// Game-wide settings, set by bbInit before the game object exists.
extern int bb_Vaultwick_MaxGames;
extern int bb_Vaultwick_MaxBadges;
extern int bb_Vaultwick_DebugMode;
extern int bb_Vaultwick_HasMusic;
extern int bb_Vaultwick_iCadeControls;
extern int bb_Vaultwick_OnScreenControls;
extern int bb_Vaultwick_AccelerometerControls;
// 1 in a program without window, art or sound (the replay verifier): images
// keep only their frame sizes, and nothing is played or logged.
extern int bb_Vaultwick_Headless;
extern float bb_Vaultwick_rawscrw, bb_Vaultwick_rawscrh;
extern float bb_Vaultwick_jscrw, bb_Vaultwick_jscrh;
// The music file, under data/, of the menu (track 0) or of a variant (1..9).
String bb_Vaultwick_MusicFile(int track);
