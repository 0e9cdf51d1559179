// The game's fixed numbers that name things: screen modes, image slots and
// the frames of the sheets the game picks by number, sound slots, logical
// buttons and the indices of the saved settings.
//
// Header only and free of dependencies, so that the asset generator can draw
// and synthesise into the same numbers the game loads.
#pragma once

// Screen modes (c_MyApp::m_mode). Modes from kInGame up belong to a game.
namespace screen_mode {
constexpr int kBeforeCreate = 0;
constexpr int kTitle = 1;
constexpr int kReturnToTitle = 2;  // score entry, then the title menu
constexpr int kQuitConfirm = 4;    // reached only on the console
constexpr int kOnScreenControlsAbove = 5;  // modes above this show the on-screen pad
constexpr int kInGame = 10;
constexpr int kStartGame = 11;
}  // namespace screen_mode

// Control layouts (c_MyApp::m_padGlyphs): the device that started the game,
// which picks the speed buttons and the glyphs of the help.
namespace control_layout {
constexpr int kKeyboard = 0;  // keyboard or iCade
constexpr int kPad = 1;
constexpr int kTouch = 2;
}  // namespace control_layout

// Image slots (m_images) and their info (m_imageInfo, three ints per slot).
namespace image_id {
constexpr int kSlots = 100;
constexpr int kGfx = 1;           // ship, turret, bullet, gun, floor
constexpr int kWalkers = 2;       // walker bodies, colour overlays and outlines
constexpr int kBadges = 80;
constexpr int kFont = 90;
constexpr int kTestCard = 91;
constexpr int kMakerLogo = 93;
constexpr int kPad = 94;          // on-screen pad parts
constexpr int kMenuButtons = 95;
constexpr int kParticles = 96;    // 256 small frames: stars and particles
constexpr int kIcons = 97;        // pause, quit, start, ring, calibrate
constexpr int kTitleLogo = 98;
constexpr int kMenuArt = 99;
}  // namespace image_id

namespace image_info {
constexpr int kInts = 3;  // per slot: frame width, frame height, frame count
constexpr int kFrameWidth = 0;
constexpr int kFrameHeight = 1;
constexpr int kFrameCount = 2;
constexpr int Index(int id, int field) { return id * kInts + field; }
}  // namespace image_info

// Frames of the gfx sheet (image_id::kGfx).
namespace gfx_frame {
constexpr int kShip = 7;
constexpr int kTurretBase = 16;
constexpr int kBullet = 17;
constexpr int kGun = 18;
constexpr int kFloor = 56;
}  // namespace gfx_frame

// Frames of the walker sheet (image_id::kWalkers): 24 bodies, 8 colour
// overlays, and an outline of each.
namespace walker_frame {
constexpr int kBodies = 24;
constexpr int kColours = 8;
constexpr int kFirstOverlay = 24;
constexpr int kFirstBodyOutline = 32;
constexpr int kFirstOverlayOutline = 56;
}  // namespace walker_frame

// Frames of the icon sheet (image_id::kIcons).
namespace icon_frame {
constexpr int kPause = 0;
constexpr int kQuit = 1;
constexpr int kStart = 3;  // also the pause panel's resume
constexpr int kRing = 6;   // the pad's selection around a pause-panel button
constexpr int kCalibrate = 7;
}  // namespace icon_frame

// Frames of the menu-button sheet (image_id::kMenuButtons): one tile per game
// type (game type t at kFirstGameType + t - 1), the three layers of the
// options cog, and the credits emblem (a pad glyph).
namespace menu_button_frame {
constexpr int kFirstGameType = 0;
constexpr int kGameTypes = 3;
constexpr int kCogOuter = 8;
constexpr int kCogMiddle = 9;
constexpr int kCogHub = 10;
constexpr int kCreditsEmblem = 12;
}  // namespace menu_button_frame

// Frames of the on-screen pad sheet (image_id::kPad).
namespace pad_frame {
constexpr int kFire = 0;
constexpr int kUp = 1;
constexpr int kLeft = 4;
constexpr int kCentre = 5;
constexpr int kRight = 6;
constexpr int kDown = 9;
}  // namespace pad_frame

// The particle sheet (image_id::kParticles) holds this many frames.
constexpr int kParticleFrames = 256;

// Sound slots (m_sounds), each loaded from sfx/NNN.wav.
namespace sound_id {
constexpr int kSlots = 100;
constexpr int kDing = 1;
constexpr int kFirstCry = 2;  // a hit walker cries one of 2..6
constexpr int kLastCry = 6;
constexpr int kShot = 7;
constexpr int kLevelStart = 8;
constexpr int kLiftOff = 9;
constexpr int kBoardingBase = 16;  // walker record p boards with kBoardingBase - p (15..11)
constexpr int kFirstBoarding = 11;
constexpr int kLastBoarding = 15;
constexpr int kFallingTone = 95;
constexpr int kJingle = 96;  // the logo, and the return to the title menu
constexpr int kSelect = 98;
constexpr int kTick = 99;
}  // namespace sound_id

// The tune every level plays, sfx/<name>.ogg.
constexpr const char* kLevelTune = "grounded";

// Logical buttons, as p_PlayKey reads them, and the slots of m_buttons that
// iCade and on-screen presses set (the same numbers up to 18).
namespace button_id {
constexpr int kUp = 0;
constexpr int kLeft = 3;
constexpr int kRight = 5;
constexpr int kDown = 8;
constexpr int kAction1 = 10;
constexpr int kAction2 = 11;
constexpr int kAction3 = 12;
constexpr int kAction4 = 13;
constexpr int kAction5 = 14;
constexpr int kAction6 = 15;
constexpr int kBack = 99;
constexpr int kICadeBack = 16;    // the iCade's two back buttons hold these slots
constexpr int kICadeBack2 = 17;
constexpr int kPressSlots = 19;   // m_buttons[0..18] hold presses
constexpr int kBackKeySlot = 19;  // m_buttons[19]: the platform's back key
constexpr int kSlots = 20;
}  // namespace button_id

// Indices of the saved settings (m_settings).
namespace setting {
constexpr int kCount = 25;
constexpr int kSound = 5;      // 0 off, 1 effects and music, 2 effects, 3 music
constexpr int kPadX = 10;      // on-screen pad centre X
constexpr int kPadHeight = 11; // on-screen pad centre height above the bottom edge
constexpr int kPadSize = 12;   // on-screen pad size in tenths
constexpr int kOverscan = 14;
}  // namespace setting
