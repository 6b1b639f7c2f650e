#include "scene3d/pcframe_snapshot.h"

#include <cmath>
#include <cstring>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "matchflow/camera.h"
#include "shell/global.h"
#include "framework/math/qquat.h"
#include "framework/math/qvector.h"
#include "scene3d/scene3d_services.h"
#include "shell/pcmain_states.h"

PCFrameTrail pcframe_oCurrentTrail = {{0, 0, 0}, {0, 0, 0}, 0, 0, -1, 0};

namespace {

constexpr uint16_t kHeadStep = 1456;  // 8 degrees a frame
constexpr uint16_t kRightLimit = 10922;
constexpr uint16_t kLeftLimit = 54614;
constexpr uint16_t kBehind = 18204;
constexpr uint16_t kLeftBehind = 47331;

// The ball's kept spin and orientation (applied again in a replay).
QMathVec3 g_oSpinAxis = {0.0f, 0.0f, 0.0f};
int32_t g_iSpinAngle = 0;
QMathQuat g_oBallOrientation = {0.0f, 0.0f, 0.0f, 1.0f};

PacketMarker* MarkerNew(int32_t kind) {
  FramePacket* p = pcframe_poCurrent;
  if (p == nullptr || p->aiSnapshotCounts[PCFRAME_COUNT_MARKERS] >= PCFRAME_MARKERS_MAX) return nullptr;
  PacketMarker* m = &p->aoMarkers[p->aiSnapshotCounts[PCFRAME_COUNT_MARKERS]++];
  std::memset(m, 0, sizeof *m);
  m->iKind = kind;
  return m;
}

void PointMarker(int32_t kind, int32_t x, int32_t y, int32_t index) {
  PacketMarker* m = MarkerNew(kind);
  if (m == nullptr) return;
  m->uIndex = static_cast<uint16_t>(index);
  m->aiCoord[0] = x;
  m->aiCoord[2] = y;
}

bool IsRight(uint16_t a) { return a < kRightLimit + 1; }

}  // namespace

// ---- Markers -------------------------------------------------------------------------------

void pcframe_AddSpotMarker(std::int32_t x, std::int32_t y, std::int32_t iUser) {
  PointMarker(PCFRAME_MARKER_SPOT, x, y, iUser);
}

void pcframe_AddArrowMarker(std::int32_t x, std::int32_t y, double dAngle, std::int32_t iUser) {
  PacketMarker* m = MarkerNew(PCFRAME_MARKER_ARROW);
  if (m == nullptr) return;
  m->uIndex = static_cast<uint16_t>(iUser);
  m->aiCoord[0] = x;
  m->aiCoord[2] = y;
  m->dAngle = dAngle;
}

void pcframe_AddRingMarker(Player* poPlayer, std::int32_t iUser, std::int32_t bHasBall) {
  PacketMarker* m = MarkerNew(PCFRAME_MARKER_RING);
  if (m == nullptr) return;
  m->uIndex = static_cast<uint16_t>(iUser);
  m->iValue = bHasBall;
  m->poPlayer = poPlayer;
}

void pcframe_AddUserMarker(std::int32_t x, std::int32_t y, std::int32_t iUser) {
  PointMarker(PCFRAME_MARKER_USER, x, y, iUser);
}

void pcframe_AddAimMarker(std::int32_t x, std::int32_t y, std::uint16_t uDirection, std::uint16_t uLength) {
  PacketMarker* m = MarkerNew(PCFRAME_MARKER_AIM);
  if (m == nullptr) return;
  m->aiCoord[0] = x;
  m->aiCoord[2] = y;
  m->auValue[0] = uDirection;
  m->auValue[1] = uLength;
}

void pcframe_AddQuadMarker(const std::int32_t aaiCorner[4][3], std::int32_t iValue) {
  PacketMarker* m = MarkerNew(PCFRAME_MARKER_QUAD);
  if (m == nullptr) return;
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 3; ++k) m->aiCoord[3 * c + k] = aaiCorner[c][k];
  m->iValue = iValue;
}

// ---- Head turn -----------------------------------------------------------------------------

uint16_t pcframe_FacingFromHeading(int32_t iHeading) {
  const int32_t degrees = -iHeading * 180 / 401;  // truncated toward zero
  return static_cast<uint16_t>(degrees * 182);
}

uint16_t pcframe_iHeadTargetGet(int32_t px, int32_t py, int32_t bx, int32_t by, uint16_t uFacing) {
  const double dir = std::atan2(static_cast<double>(py - by), static_cast<double>(px - bx));
  const int32_t turn = static_cast<int32_t>(std::lround(dir * 32768.0 / 3.14159265358979323846));
  const uint16_t a = static_cast<uint16_t>(32768 - turn - uFacing);
  if (a > kRightLimit && a < kBehind) return kRightLimit;
  if (a > kLeftBehind && a < kLeftLimit) return kLeftLimit;
  // The ball behind (and exactly 100 degrees to the right): look ahead.
  if (a >= kBehind && a < kLeftLimit) return 0;
  return a;
}

uint16_t pcframe_HeadTurn(uint16_t uHead, uint16_t uTarget) {
  if (uHead == uTarget) return uHead;
  const bool headRight = IsRight(uHead), targetRight = IsRight(uTarget);
  if (!headRight && targetRight) {
    const uint16_t next = static_cast<uint16_t>(uHead + kHeadStep);
    // Past the target once the turn has wrapped through 0 onto the right.
    if (IsRight(next) && next > uTarget) return uTarget;
    return next;
  }
  if (headRight && !targetRight) {
    const uint16_t next = static_cast<uint16_t>(uHead - kHeadStep);
    if (next < uTarget && next >= kLeftLimit) return uTarget;
    return next;
  }
  if (uHead >= uTarget) {
    const int32_t next = uHead - kHeadStep;
    return next <= uTarget ? uTarget : static_cast<uint16_t>(next);
  }
  const int32_t next = uHead + kHeadStep;
  return next >= uTarget ? uTarget : static_cast<uint16_t>(next);
}

// ---- Players -------------------------------------------------------------------------------

namespace {

void PlayerEntry(PacketPlayer* e, Player* pp, uint16_t uHead) {
  e->uMirror = pp->oAnimData.bMirror;
  e->uKeeper = pp->PositionCode == 0 ? 1 : 0;
  // The drawn facing is the display facing (a clip played backward faces
  // away from the way the player moves), as the replay records it.
  e->uAngles = static_cast<uint32_t>(pcframe_FacingFromHeading(pp->iDisplayFacing)) | static_cast<uint32_t>(uHead) << 16;
  e->iX = pp->x;
  e->iHeight = pp->height;
  e->iY = pp->y;
  e->pAnimation = pp->oAnimData.pfPose;
  e->poModel = nullptr;  // the player's 3D model comes with the player objects
  e->poPlayer = pp;
  e->uFramePosition = pp->oAnimData.uPos;
}

}  // namespace

void pcframe_PlayersStore() {
  FramePacket* p = pcframe_poCurrent;
  if (p == nullptr) return;
  const int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);
  for (Player* pp = match_HomeFirstPlayerGet(); pp != nullptr; pp = match_NextPlayerGet(pp)) {
    const bool home = pp->MyTeam == player_PlaysFor_Home;
    int32_t& n = p->aiSnapshotCounts[home ? PCFRAME_COUNT_HOME : PCFRAME_COUNT_AWAY];
    if (n >= PCFRAME_PLAYERS_MAX) continue;
    const uint16_t facing = pcframe_FacingFromHeading(pp->iDisplayFacing);
    const uint16_t target = pp->oAnimData.bLookAtBall ? pcframe_iHeadTargetGet(pp->x, pp->y, bx, by, facing) : 0;
    pp->uHeadAngle = pcframe_HeadTurn(pp->uHeadAngle, target);
    PlayerEntry(&(home ? p->aoHome : p->aoAway)[n++], pp, pp->uHeadAngle);
  }
  if (global.eExtendedGameMode == GAME_MODE_START_TRAINING) {
    p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] = 0;
    return;
  }
  const uint16_t kept = static_cast<uint16_t>(p->oReferee.uAngles >> 16);
  PlayerEntry(&p->oReferee, &player_oReferee, kept);
  p->oReferee.uKeeper = 0;
  p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] = 1;
}

// ---- Camera --------------------------------------------------------------------------------

void pcframe_CameraStore() {
  FramePacket* p = pcframe_poCurrent;
  const CameraView* v = camera_poViewGet();
  if (p == nullptr || v == nullptr) return;
  for (int k = 0; k < 3; ++k) p->oCamera.aiEye[k] = v->aiEye[k];
  // Rows: the x, y and z components of the right, up and forward vectors
  // (the view basis holds those vectors in its columns).
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p->oCamera.aafRotation[r][c] = v->oRotation.m[4 * r + c];
  p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = camera_bIsViewValid() != 0 ? 1 : 0;
}

// ---- Ball ----------------------------------------------------------------------------------

void pcframe_BallStore(std::int32_t bReplaying) {
  FramePacket* p = pcframe_poCurrent;
  if (p == nullptr) return;  // no packet (the frame packet is not set up)
  Ball* b = &ball_oBall;
  p->oBall.iX = ball_XGet(b);
  p->oBall.iHeight = ball_HeightGet(b);
  p->oBall.iY = ball_YGet(b);
  if (!bReplaying) {
    g_oSpinAxis = QMathVec3{static_cast<float>(b->iSpinAxisX), static_cast<float>(b->iSpinAxisY),
                            static_cast<float>(b->iSpinAxisZ)};
    g_iSpinAngle = static_cast<uint16_t>(b->iSpinRate);
  }
  if (g_iSpinAngle != 0 && (g_oSpinAxis.x != 0.0f || g_oSpinAxis.y != 0.0f || g_oSpinAxis.z != 0.0f)) {
    QMathVec3 axis;
    QMathVec3Normalise(&axis, &g_oSpinAxis);
    QMathQuat turn, next;
    QMathQuatFromAxisAngle(&turn, &axis, -g_iSpinAngle);
    QMathQuatMultiply(&next, &g_oBallOrientation, &turn);
    QMathQuatNormalise(&g_oBallOrientation, &next);
    p->oBall.afOrientation[0] = g_oBallOrientation.x;
    p->oBall.afOrientation[1] = g_oBallOrientation.y;
    p->oBall.afOrientation[2] = g_oBallOrientation.z;
    p->oBall.afOrientation[3] = g_oBallOrientation.w;
  }
  b->iSpinRate = 0;  // the spin is consumed once a frame
  p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
  if (b->iKind != 15 && b->iKind != 9 && b->bActive)
    PointMarker(PCFRAME_MARKER_BALL_GROUND, b->iStepStartX, b->iStepStartY, 0);
}

// ---- Trails --------------------------------------------------------------------------------

PacketTrail* pcframe_poTrailAlloc(const int32_t aiP[3], const int32_t aiQ[3], int32_t iSlot, uint32_t uValue) {
  FramePacket* pk = pcframe_poCurrent;
  if (pk == nullptr) return nullptr;
  if (iSlot != 0 && iSlot != 1) {
    for (PacketTrail& t : pk->aoTrails) {
      std::memset(t.afStart, 0, sizeof t.afStart);
      std::memset(t.afEnd, 0, sizeof t.afEnd);
      t.uValue = 0;
      t.bActive = 1;
    }
    return nullptr;
  }
  PacketTrail* t = &pk->aoTrails[iSlot == 0 ? 1 : 0];
  double d2 = 0.0;
  for (int k = 0; k < 3; ++k) {
    const double add = k == 1 ? 0.142875 : 0.0;
    t->afStart[k] = static_cast<float>(aiP[k] * 0.00635 + add);
    t->afEnd[k] = static_cast<float>(aiQ[k] * 0.00635 + add);
    const double dk = static_cast<double>(t->afEnd[k]) - t->afStart[k];
    d2 += dk * dk;
  }
  t->fSpeed = static_cast<float>(30.0 * std::sqrt(d2));
  t->bActive = 1;
  t->uValue = uValue;
  return t;
}

void pcframe_TrailAdd(std::int32_t iStartX, std::int32_t iStartH, std::int32_t iStartY, std::int32_t iEndX,
                      std::int32_t iEndH, std::int32_t iEndY, std::int32_t iSlot, std::int32_t iValue) {
  const int32_t p[3] = {iStartX, iStartH, iStartY}, q[3] = {iEndX, iEndH, iEndY};
  PacketTrail* t = pcframe_poTrailAlloc(p, q, iSlot, static_cast<uint32_t>(iValue));
  if (t == nullptr) return;  // no net of that slot: the trail is dropped
  t->bReplayed = 0;
  t->iStartFrame = pcmain_iMatchFrame;
  PCFrameTrail& c = pcframe_oCurrentTrail;
  for (int k = 0; k < 3; ++k) {
    c.aiStart[k] = p[k];
    c.aiEnd[k] = q[k];
  }
  c.uValue = static_cast<uint32_t>(iValue);
  c.iStartFrame = pcmain_iMatchFrame;
  c.iSlot = iSlot;
  c.bActive = 1;
}

void pcframe_TrailReplay(PCFrameTrail* poTrail, std::int32_t iFrame) {
  if (poTrail == nullptr || iFrame < poTrail->iStartFrame) return;
  PacketTrail* t = pcframe_poTrailAlloc(poTrail->aiStart, poTrail->aiEnd, poTrail->iSlot, poTrail->uValue);
  if (t == nullptr) {
    if (pcframe_poCurrent == nullptr) return;
    for (PacketTrail& e : pcframe_poCurrent->aoTrails) {
      e.bReplayed = 1;
      e.iStartFrame = poTrail->iStartFrame;
      e.iReplayFrame = iFrame;
    }
    return;
  }
  t->bReplayed = 1;
  t->iReplayFrame = iFrame;
  t->iStartFrame = poTrail->iStartFrame;
}

void pcframe_TrailReset(PCFrameTrail* poTrail) {
  if (poTrail != nullptr) {
    std::memset(poTrail->aiStart, 0, sizeof poTrail->aiStart);
    std::memset(poTrail->aiEnd, 0, sizeof poTrail->aiEnd);
    poTrail->uValue = 0;
    poTrail->iStartFrame = pcmain_iMatchFrame;
    poTrail->bActive = 0;
  }
  pcframe_oCurrentTrail.iSlot = -1;
}
