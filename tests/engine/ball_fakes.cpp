#include "ball_fakes.h"

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/newballA.h"
#include "engine/target.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/vsync.h"

BallFakes g_oBallFakes;
std::int32_t goals_NetDepth = 60;
std::int32_t vsync_iFrame = 0;

void BallFakesReset() {
  g_oBallFakes = BallFakes();
  vsync_iFrame = 0;
}

GameMode global_eGetGameMode() { return static_cast<GameMode>(g_oBallFakes.iGameMode); }
void sfx_Play(std::int32_t iEffect) { g_oBallFakes.aSounds.push_back(iEffect); }
void sfx_PlayAtVolume(std::int32_t iEffect, std::int32_t iVolume) {
  g_oBallFakes.aVolumeSounds.push_back({{iEffect, iVolume}});
}
void pcframe_TrailAdd(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                      std::int32_t f, std::int32_t g, std::int32_t h) {
  g_oBallFakes.aTrails.push_back({{a, b, c, d, e, f, g, h}});
}
void pcframe_AddAimMarker(std::int32_t, std::int32_t, std::uint16_t, std::uint16_t) {}
void referee_Update(std::int32_t iEvent, std::int32_t x, std::int32_t y) {
  g_oBallFakes.aReferee.push_back({{iEvent, x, y}});
}
void referee_OffsideCheck(Ball*) { g_oBallFakes.cOffsideChecks++; }
void touch_ContactClear() { g_oBallFakes.cContactClear++; }
void mpenso_RecordKick(std::int32_t bScored) { g_oBallFakes.aPenaltyKicks.push_back(bScored); }
void chaser_Choose() { g_oBallFakes.cChaserChoose++; }
void chaser_StepHandOver() { g_oBallFakes.cHandOver++; }
void target_Clear() { g_oBallFakes.cTargetClear++; }
void chaser_Clear() {}
void target_MatchReset() {}
void pass_MatchReset() {}
void newballA_MatchReset() {}
void newgoal_MatchReset() {}
void ball_ShotStatsAdd(std::int32_t iOutcome, std::int32_t iSide) {
  g_oBallFakes.aShotStats.push_back({{iOutcome, iSide}});
}
void newballA_OwnerSet(Player* pp, std::int32_t) {
  Ball* poBall = &ball_oBall;
  if (pp == nullptr && poBall->poOwner == nullptr) return;
  if (pp == nullptr) poBall->pplyrWhoKicked = poBall->poOwner;
  poBall->poPrevOwner = poBall->poOwner;
  poBall->poOwner = pp;
}
