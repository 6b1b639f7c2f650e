#pragma once
// The snapshot writers' helpers: the head-turn rule and the trail entries.
#include <cstdint>

#include "scene3d/pcframe.h"

// 16-bit head angle the player looks toward, relative to its facing: the
// ball's direction clamped to 60 degrees either side, 0 (look ahead) when
// the ball is behind.
uint16_t pcframe_iHeadTargetGet(int32_t iPlayerX, int32_t iPlayerY, int32_t iBallX, int32_t iBallY, uint16_t uFacing);
// The head angle one frame on, 8 degrees a frame toward the target.
uint16_t pcframe_HeadTurn(uint16_t uHead, uint16_t uTarget);
// The packet entry of a trail slot (0: the second entry, 1: the first),
// filled from points p and q in world units; null for any other slot (both
// entries are then cleared).
PacketTrail* pcframe_poTrailAlloc(const int32_t aiP[3], const int32_t aiQ[3], int32_t iSlot, uint32_t uValue);
// Facing of a heading of 802 units a turn as a 16-bit angle.
uint16_t pcframe_FacingFromHeading(int32_t iHeading);
// The trail most recently added.
struct PCFrameTrail;
extern PCFrameTrail pcframe_oCurrentTrail;

// The replay's view of the frame being replayed: its three ball-presentation
// words and its signed reference value.
struct PCFrameReplayView {
  uint32_t auWords[3];
  int16_t iValue;
};
extern PCFrameReplayView pcframe_oReplayView;
