#pragma once
// The 3D match presentation as the rest of the game sees it: the frame
// packet that hands each frame from the game logic to drawing, the match
// scene, the stepwise match loading and the renderer choice.
#include <cstdint>

#include "scene3d/pcframe.h"

struct Player;

// The logic's copy of a ball trail into a net (ten words): start and end
// points in pitch units, value, start frame (match frame number), slot (-1
// none) and active flag.
struct PCFrameTrail {
  std::int32_t aiStart[3];  // x, height, y
  std::int32_t aiEnd[3];
  std::uint32_t uValue;
  std::int32_t iStartFrame;
  std::int32_t iSlot;
  std::int32_t bActive;
};

// Depth of the goal nets: the back of each net lies 4 x depth behind its goal
// line (|x| = 9360 + 4 x depth). Set by the goal set-up when a match loads.
extern std::int32_t goals_NetDepth;

// Copies the kit look of one player to another (the incoming substitute takes
// the outgoing player's appearance).
void kits_CopyAppearance(Player* poTo, const Player* poFrom);

// 0 resets the 13-step match loading and returns 0; 1 runs the next step and
// returns 1 once the last step is done.
std::int32_t loading_bRunStep(std::int32_t bFlag);

// ---- Frame packet ------------------------------------------------------------
// The draw list and its render are declared in scene3d/pcframe.h.
// Markers: at most 16 a packet; further ones are dropped.
void pcframe_AddAimMarker(std::int32_t x, std::int32_t y, std::uint16_t uDirection, std::uint16_t uLength);
void pcframe_AddQuadMarker(const std::int32_t aaiCorner[4][3], std::int32_t iValue);  // corners {x, height, y}
void pcframe_AddRingMarker(Player* poPlayer, std::int32_t iUser, std::int32_t bHasBall);
void pcframe_AddSpotMarker(std::int32_t x, std::int32_t y, std::int32_t iUser);
// dAngle: the arrow's direction in radians.
void pcframe_AddArrowMarker(std::int32_t x, std::int32_t y, double dAngle, std::int32_t iUser);
void pcframe_AddUserMarker(std::int32_t x, std::int32_t y, std::int32_t iUser);

void pcframe_BallStore(std::int32_t bFlag);
void pcframe_PlayersStore();
void pcframe_PlayersStoreReplay();
void pcframe_TrailReplay(PCFrameTrail* poTrail, std::int32_t iFrame);
void pcframe_CameraStore();
// The replay view of the packet: the three ball-presentation words and the
// signed reference value of the replayed frame.
void pcframe_ReplayViewSet(const std::uint32_t auWords[3], std::int16_t iValue);


// A ball trail into a net: start and end {x, height, y}, goal (0 at -x, 1 at
// +x), net part (1 back, 2 roof, 3 side at -y, 4 side at +y).
void pcframe_TrailAdd(std::int32_t iStartX, std::int32_t iStartH, std::int32_t iStartY, std::int32_t iEndX,
                      std::int32_t iEndH, std::int32_t iEndY, std::int32_t iGoal, std::int32_t iNetPart);
void pcframe_TrailReset(PCFrameTrail* poTrail);

// ---- Match scene -------------------------------------------------------------
// Set when the 3D scene's renderer device is up; the loading state clears it
// on entry and runs the loading steps once it is set.
extern std::int32_t scene3d_bBuilt;

// 1 when a frame was drawn.
std::int32_t scene3d_DrawFrame();
// 1 while a renderer runs the match scene: every match frame is then drawn
// through scene3d_DrawFrame (without one, as in the headless harness,
// nothing draws the match in 3D).
std::int32_t scene3d_bDrawsMatch();
void scene3d_Init();
void scene3d_Shutdown();

// Non-zero on success: probes display modes and devices, chooses the renderer
// (0 software, 1 Glide, 2 Direct3D) and writes the video settings.
std::int32_t vidselect_bProbeRenderers();
// Why the last probe failed, as a sentence for the player.
const char* vidselect_pszProbeFailure();
void vidselect_SetScreenSize();
