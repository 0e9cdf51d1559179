// The game: one application object that holds every piece of game state.
//
// Fields are 32-bit ints or floats, or arrays allocated once at their final
// length; game things live in flat float tables read as records of 10 floats.
// Drawing is recorded into a display list during the update and replayed by
// the render (see draw.cpp and render.cpp in shell/).
//
// The methods are split over files by subsystem: shell/ (lifecycle, assets
// and sound, controls, drawing and text, frame presentation), save/ (the save
// text), and, as they arrive, play/ and screens/.
#pragma once

#include <initializer_list>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "game/globals.h"
#include "game/ids.h"
#include "game/tables.h"

class c_MyApp : public c_App {
public:
    // The nineteen arrays, allocated by the constructor.
    Array<c_Image*> m_images;
    Array<int> m_imageInfo;  // per image id: frame width, frame height (as loaded), frame count
    Array<int> m_badgeShowA;
    Array<int> m_badgeShowB;
    Array<bool> m_badgeFlags;
    Array<int> m_buttons;  // logical buttons set by the iCade (2) and on-screen buttons (1)
    Array<int> m_settings;  // indices in ids.h: setting
    Array<int> m_scores;  // score_table
    Array<int> m_channels;
    Array<float> m_drawList;  // draw_record
    Array<int> m_touchDown;
    Array<int> m_touchX;
    Array<int> m_touchY;
    Array<c_Sound*> m_sounds;
    Array<float> m_party;  // layouts in tables.h: party_table, walker_record
    Array<float> m_stars;  // star_record
    Array<float> m_map;  // map_cell, cell_code
    Array<float> m_bullets;  // bullet_record
    Array<float> m_particles;  // particle_record

    // Shell state.
    int m_padGlyphs = 0;
    int m_fullscreen = 0;
    int m_logoJinglePlayed = 0;
    int m_mode = 0;
    int m_lastDevWidth = 0;
    int m_lastDevHeight = 0;
    float m_accelZeroX = 0;
    float m_accelZeroY = 0;
    float m_clsRed = 0;
    float m_clsGreen = 0;
    float m_clsBlue = 0;
    float m_clsAlpha = 0;
    int m_hdLevel = 0;
    float m_hdScale = 0;
    int m_fontImage = 0;
    int m_loadStep = 0;
    int m_paused = 0;
    int m_pauseSlide = 0;
    int m_pausePanelY = 0;
    int m_i = 0;
    int m_renderLastMillis = 0;
    int m_renderFps = 0;
    int m_renderFpsAverage = 0;
    float m_scaleX = 0;
    float m_scaleY = 0;
    int m_fitAxis = 0;
    int m_landscape = 0;
    int m_drawCount = 0;
    int m_hideHud = 0;
    int m_musicOn = 0;
    int m_lastMillis = 0;
    int m_fps = 0;
    int m_fpsAverage = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
    int m_prevMouseX = 0;
    int m_prevMouseY = 0;
    int m_mouseWasDown = 0;
    int m_touching = 0;
    int m_mouseHits = 0;
    int m_touchLock = 0;
    int m_keyLock = 0;
    int m_creditsOpen = 0;
    int m_optionsOpen = 0;
    int m_badgesOpen = 0;
    int m_creditsFade = 0;
    int m_optionsFade = 0;
    float m_sizeX = 0;
    float m_sizeY = 0;
    float m_rotation = 0;
    float m_red = 0;
    float m_green = 0;
    float m_blue = 0;
    float m_alpha = 0;
    int m_blend = 0;
    int m_buttonHit = 0;
    int m_sfxChannel = 0;
    int m_starCount = 100;
    int m_particleCount = 250;
    int m_padX = 0;
    int m_padY = 0;
    float m_padScale = 0;
    float m_tiltSmoothX = 0;
    float m_tiltSmoothY = 0;

    // Gameplay and title state.
    int m_difficulty = 0;  // the game type, 1 to 3
    int m_introSlide = 0;
    int m_score = 0;
    int m_gameOver = 0;  // 1 once all five walkers are lost
    int m_gameOverTimer = 0;
    int m_allAboard = 0;  // per frame: no walker alive and still walking
    int m_lostCount = 0;  // per frame: walkers with status 0
    // The camera: the world pixel at the screen's left/top edge, and where
    // it is heading.
    float m_camX = 0;
    float m_camY = 0;
    float m_camTargetX = 0;
    float m_camTargetY = 0;
    // The score line: the shown score easing toward m_score, and the table
    // score being chased with its 0-based place (10 outside the table).
    int m_shownScore = 0;
    int m_targetScore = 0;
    int m_targetPlace = 0;
    // The analogue stick, -1..1 (computed, not used by the play), its touch
    // anchor in virtual pixels (-1 none) and the key-driven ramps.
    float m_stickX = 0;
    float m_stickY = 0;
    int m_stickAnchorX = 0;
    int m_stickAnchorY = 0;
    float m_keyRampX = 0;
    float m_keyRampY = 0;

    // Level generation: the path's current cell and the corridor p_FindPath
    // found there (direction -1 when it found none), and what the last build
    // asked for and made.
    int m_pathCol = 0;
    int m_pathRow = 0;
    int m_dir = 0;
    int m_pathLength = 0;
    int m_pathEndCol = 0;
    int m_pathEndRow = 0;
    int m_segments = 0;
    int m_segmentsCarved = 0;
    int m_turretsToPlace = 0;
    int m_turretsPlaced = 0;
    // Gameplay scratch. The pad's pinch borrows these and m_dir while the
    // game is paused.
    int m_k = 0;
    int m_moved = 0;
    // The loading screen's spinner angle, +16 per update.
    int m_spinAngle = 0;

    // The score tables: the first index of the list being updated.
    int m_tableBase = 0;
    // 1 when the last load did not take the state file whole: the next save
    // keeps that file first.
    int m_keepReadState = 0;

    // The title menu.
    int m_menuSel = 0;         // highlighted carousel item: 1 to 3 game types, 4 options
    float m_menuPanelW = 0;    // width of the score panel
    float m_menuScroll = 0;    // carousel scroll target
    float m_menuFling = 0;     // fling velocity added to the scroll each frame
    float m_menuEased = 0;     // scroll shown, easing toward the target
    float m_menuDrag = 0;      // last drag step
    int m_menuPortrait = 0;    // 1 stacks the carousel vertically
    int m_menuSettling = 0;    // item being scrolled to after a tap or key, 0 when none
    float m_cogAngle = 0;      // turning angle of the options cogs
    int m_startPad = 0;        // player whose joystick started the game
    int m_optionsCursor = 0;   // options box selection: 0 the back cog, 1.. its rows; p_OpenOptions resets it

    // The pause menu's pad selection: 0 resume, -1 quit, 1 options.
    int m_pauseCursor = 0;

    // The overlay boxes: options, credits and the badges panel. The options
    // and credits fade counters climb to kBoxFadeFrames while open (fully
    // shown) and fall back to 0 after closing.
    static constexpr int kBoxFadeFrames = 30;
    int m_optionsKeyLock = 0;    // a button press was acted on, or the box is sliding
    int m_optionsTouchLock = 0;  // a touch was acted on, or the box is sliding
    float m_creditScroll = 0;    // sub-line scroll of the credit lines, 0 down to -16
    int m_creditLine = 0;        // the credit line drawn at the centre
    float m_badgeScroll = 0;     // the badges panel's scroll, easing toward the target
    float m_badgeScrollTarget = 0;

    c_MyApp();
    c_MyApp* m_new();
    void mark() override;

    // Lifecycle.
    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_FullscreenFlip();
    int p_GC_PostScore(int score, int board);
    int p_GC_Badges();

    // Screens.
    int p_Menu();
    int p_LoadMenu();
    int p_OuyaQuit();
    int p_Game();
    int p_InGame();
    int p_LoadGame();
    int p_GameOver();
    String p_MyNth();
    int p_PauseMenu();
    // Not paused, the pause panel out of sight above the screen.
    void p_HidePause();
    // The end of every game, however it was lost or left: the handover from
    // the game-over overlay to the title, which enters the score.
    void p_EndGame();
    // Opens the options box with its cursor on the back cog.
    void p_OpenOptions();
    // Draws the options cog at (x, y), its last gear turned by lastTurn times
    // the cog angle; 1 when a finger is on it.
    int p_Cog(float x, float y, float lastTurn);
    int p_CreditBox();
    int p_BadgesBox();
    int p_OptionBox();
    int p_ShowBadges();
    int p_WaitStart(int loading);
    String p_BadgeID(int id);
    String p_BadgeName(int id);
    String p_BadgeDetail(int id);

    // Assets and sound.
    int p_Reload();
    int p_Loader();
    int p_LoadImg(int id, String path, int frameWidth, int frameHeight, int frames, int flags);
    int p_LoadFont(int id, String path, int advance, int lineHeight);
    int p_LoadSFX(int id);
    int p_PlaySFX(int id, float rate, float volume = 1.0f, float pan = 0.0f);
    int p_PlayTune(String name, int flags);
    int p_StopTune();

    // Controls.
    int p_PlayKey(int button, int useStick, int player);
    int p_PlayKeyAll(int button, int useStick);
    // 1 when any of the logical buttons is down for any player 0..3 (the
    // stick counting as a direction).
    int p_AnyButtonDown(std::initializer_list<int> buttons);
    // 1 when any logical button is down for any player 0..3.
    int p_AnyButtonHeld();
    int p_iCade(int on);
    int p_Button(int image, float x, float y, int frame);
    int p_Button0(int image, float x, float y, int frame);
    int p_Touch(float x, float y, float w, float h);
    int p_MouseIn_Centered(float x, float y, float w, float h);
    int p_SampleInput();
    int p_UpdateLocks();
    int p_DecodeICade();
    int p_OnScreenControls();
    int p_TiltIndicator();

    // Drawing and text: records appended to the display list.
    int p_ResetDraw();
    int p_CLS2D(float r, float g, float b, float a);
    int p_SetSize(float sx, float sy);
    int p_SetRot(float angle);
    int p_SetCol(float r, float g, float b, float a);
    int p_Alpha(float a);
    int p_Ink(int colour, int brightness);
    int p_DrawImg(int image, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_Text(float x, float y, String text, float ax, float ay);
    String p_rstr(int value, int width, String pad);

    // Save data.
    int p_Save();
    int p_Load();

    // Random integers from low to high inclusive (one draw); the second
    // entry point starts at 0.
    int p_Rand(float low, float high);
    int p_Rand2(float high);

    // Level generation: the whole level from (m_difficulty, level).
    void p_FindPath();
    void p_BuildMap(int level);

    // Stars and particles.
    void p_ResetStars(int count);
    void p_DoStars(float dx, float dy);
    void p_ResetParticles(int count);
    int p_FreeParticle();
    void p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed);
    void p_DoParticles();

    // Play: a new game, the party table's records cleared, a bullet fired,
    // one walker drawn at a world position, the stick, and "1st" .. "10th".
    void p_ResetPlayers();
    void p_Fire(float x, float y, int angle);
    void p_DrawMe(float x, float y, int bodyFrame, int colourFrame);
    void p_AnalogueControl();
    String p_Nth(int n);

private:
    int p_HotKeys();
    int p_UpdateRateStatistics();
    // Frames per second from the clock at the previous frame, smoothed; a
    // clock that did not move keeps the last value.
    static void p_MeasureRate(int now, int& lastMillis, int& fps, int& fpsAverage);
    int p_DispatchScreens();
    int p_ReleaseScreenButtons();
    int p_DebugLine();
    int p_SetPauseForSuspension();
    int p_ArrangePad();
    int p_ChooseResolution();
    int p_SpinnerRing(float grey, float startDegrees, float radius);
    int p_RenderRateStatistics();
    int p_FollowDeviceSize(int width, int height);
    int p_LayOutVirtualScreen(int width, int height);
    int p_ReplayDrawList(float offsetY);
    int p_ReplayRecord(int at, float offsetY);

    // The steps of a play frame (p_Game), in order.
    void p_StartPlayFrame();
    void p_EaseCamera();
    void p_GridPass();
    void p_UpdateTurret(int col, int row, float sx, float sy);
    void p_DrawTurret(int col, int row, float sx, float sy);
    float p_ChooseSpeed();
    void p_ScreenSpeedButtons(bool free, float& speed);
    void p_WalkerPass(float speed);
    void p_SortWalkersByRow();
    void p_DrawLyingWalkers();
    void p_StepWalker(int p, float speed, float fade, float& focusStatus);
    bool p_MoveWalker(float* walker, float speed);
    void p_EnterCell(int p);
    void p_EndOfLevel();
    void p_Countdown();
    void p_FollowFocus();
    void p_BulletPass();
    void p_BulletHits(float* bullet);
    void p_DrawShip();
    void p_ScoreLine();
};
