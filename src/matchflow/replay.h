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
  std::uint32_t uAnimState;      // the head word of the animation data
  std::uint16_t uFramePosition;  // animation frame position
  std::uint16_t uFlags;          // REPLAY_FLAG_*
  std::uint32_t uDBPlayerLink;   // the database player as a 32-bit link (not written for the referee)
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
