#pragma once
// The action replay's records: a ring of 318 frames, each the 23 entries of
// the players on the pitch in chain order and the referee after them, kept in
// the borrowed scratch buffer, and beside the ring, per frame, the ball, its
// presentation words, its shadow word, the ball trail and the camera target.
#include <cstddef>
#include <cstdint>

#include "scene3d/scene3d_services.h"

constexpr std::int32_t REPLAY_FRAMES = 318;
constexpr std::int32_t REPLAY_ENTRIES = 23;  // 22 players, then the referee

// The database link of an entry: the side's squad copy and the index in it.
enum : std::uint32_t {
  REPLAY_DB_NONE = 0xFFFFFFFFu,
  REPLAY_DB_HOME = 0x10000u,
  REPLAY_DB_AWAY = 0x20000u,
  REPLAY_DB_INDEX_MASK = 0xFFFFu,
};

// Bits of ReplayEntry::uFlags.
enum : std::uint16_t {
  REPLAY_FLAG_MIRRORED = 1u << 0,  // the animation is mirrored
  REPLAY_FLAG_WATCH_BALL = 1u << 7,  // the second animation flag byte is above 0
};

struct ReplayEntry {
  std::int16_t iX;
  std::int16_t iHeight;
  std::int16_t iY;
  std::uint16_t uFacing;         // display facing, 802 units a turn
  std::int16_t iTurnStep;
  std::uint16_t uUnused10;       // not written
  std::uint32_t uAnimState;      // the playing animation id
  std::uint16_t uFramePosition;  // animation frame position
  std::uint16_t uFlags;          // REPLAY_FLAG_*
  std::uint32_t uDBPlayerLink;   // REPLAY_DB_* side bits | squad index (not written for the referee)
  std::uint16_t uLastWord;       // the player's last record word
  std::uint16_t uUnused26;       // not written
};
static_assert(sizeof(ReplayEntry) == 28);
static_assert(offsetof(ReplayEntry, uAnimState) == 12);
static_assert(offsetof(ReplayEntry, uFramePosition) == 16);
static_assert(offsetof(ReplayEntry, uDBPlayerLink) == 20);
static_assert(offsetof(ReplayEntry, uLastWord) == 24);

struct ReplayFrame {
  ReplayEntry aoEntry[REPLAY_ENTRIES];
};
static_assert(sizeof(ReplayFrame) == 644);
static_assert(sizeof(ReplayFrame) * REPLAY_FRAMES <= 204800);

// The ball of a frame: its position in pitch units and seven orientation and
// spin words.
struct ReplayBall {
  std::int16_t iX;
  std::int16_t iHeight;
  std::int16_t iY;
  std::int16_t iHeading;
  std::int16_t iElevation;
  std::int16_t iRollAngle;
  std::int16_t iSpinAxisX;
  std::int16_t iSpinAxisY;
  std::int16_t iSpinAxisZ;
  std::int16_t iSpinRate;
};
static_assert(sizeof(ReplayBall) == 10 * 2);

// What is kept beside the ring for each frame.
struct ReplaySide {
  ReplayBall oBall;
  std::uint32_t auPresentation[3];  // ball-presentation words
  std::int16_t iReference;          // the signed reference value
  std::uint32_t uShadow;            // shadow word
  PCFrameTrail oTrail;              // the ball trail, copied before it is reset
  std::int16_t aiCameraTarget[3];   // x, height, y
};

// The ring in the scratch buffer while the recorder holds it; null otherwise.
extern ReplayFrame* replay_poFrames;

// The side record of frame 0..317.
ReplaySide* replay_poSideGet(std::int32_t iFrame);

struct Player;
struct DBPlayer;
struct User;

// The ring's state.
struct ReplayState {
  std::int32_t bRecording;
  std::int32_t bPrimed;        // filled at the start of recording, not wrapped since
  std::int32_t iIndex;         // next frame to write, or the frame shown in playback
  std::int32_t iEnd;           // the frame last written before playback
  std::int32_t iSavedIndex;
  std::int32_t bPlaying;
  std::int32_t bStepToggle;
  std::int32_t iBlinkCounter;
  std::int32_t bBlinkOn;
  std::int32_t bControlsHidden;
  std::int32_t bLeaving;
  std::int32_t uInputBits;     // 1 forward, 2 back
  std::int32_t iDistance;      // 2880..7200
  std::uint16_t uOrbitAngle;
  std::int32_t aiBallOffset[3];
  std::int32_t aiSavedEye[3];
  std::int32_t aiSavedTarget[3];
  std::int32_t iPublished;     // the frame the match frame shows; -1 the live match
};
extern ReplayState& replay_oState;

// What a recorded entry gives back for drawing a replayed player.
struct ReplayPlayerView {
  std::int32_t x, height, y;
  std::uint16_t uFacing;
  std::int16_t iTurnStep;
  std::uint32_t eAnim;
  std::uint16_t uFramePosition;
  std::int32_t bMirror;
  std::int32_t bLookAtBall;
  DBPlayer* poDBPlayer;
  std::uint16_t uHeadAngle;
};

void replay_StartRecording();
void replay_ClearRecording();
void replay_Reset();
// replay_Reset and the rest of the replay's state as the program starts it:
// the in-match set-up's start of each match.
struct MatchStateBlock;
MatchStateBlock replay_MatchState();
void replay_MatchReset();
void replay_BufferFill();
void replay_RecordFrame();
void replay_Enter();
void replay_Update();
void replay_BallPositionGet(std::int32_t* px, std::int32_t* ph, std::int32_t* py);
void replay_Nop();
void replay_Mode1Enter();
std::int32_t replay_iDistanceGet();
std::int32_t replay_uOrbitAngleGet();
// Handles one replay input event of a user (null: no user's binding changes).
void replay_EventHandle(std::int32_t iEvent, User* pusr = nullptr);
// The progress bar's filled length for the shown frame (0..103).
std::int32_t replay_iProgressGet(std::int32_t iIndex, std::int32_t iEnd);
// The replay's overlay for one frame: its blinking mark and, unless the
// controls are hidden or a caption shows, the control panel.
void replay_Draw();

// The players in recording order: the sides' chains on the pitch, at most 22;
// the count is returned.
std::int32_t replay_iChainGet(Player* apo[REPLAY_ENTRIES - 1]);
// Entry i of frame f as a drawable player.
void replay_EntryDecode(std::int32_t iFrame, std::int32_t iEntry, ReplayPlayerView* poOut);
// Number of entries written in frame f (players plus the referee).
std::int32_t replay_iEntriesGet(std::int32_t iFrame);
