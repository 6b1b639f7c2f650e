// The pool of goalkeeper records and their accessors.
#include "engine/newgoalo.h"

#include "framework/qdx_assert.h"

namespace {
GoalieObject s_aoPool[2];
std::int32_t s_iNext;
}  // namespace

void newgoalo_PoolReset() {
  s_aoPool[0] = GoalieObject{};
  s_aoPool[1] = GoalieObject{};
  s_iNext = 0;
}

GoalieObject* newgoalo_Alloc(std::int32_t iSide) {
  GoalieObject* pgo = &s_aoPool[s_iNext];
  s_iNext ^= 1;
  *pgo = GoalieObject{};
  pgo->eState = GOALIE_STATE_DECIDE;
  pgo->iSide = iSide;
  pgo->iPossession = 0;
  pgo->iSaveColumn = 1;
  return pgo;
}

std::int32_t newgoalo_StateGet(const GoalieObject* pgo) { return pgo->eState; }
void newgoalo_StateSet(GoalieObject* pgo, std::int32_t eState) {
  QDX_ASSERT(eState != GOALIE_STATE_UNDEFINED);
  pgo->eState = eState;
}
void newgoalo_SaveSet(GoalieObject* pgo, std::int32_t iRow, std::int32_t iColumn) {
  pgo->iSaveRow = iRow;
  pgo->iSaveColumn = iColumn;
}
std::int32_t newgoalo_SaveRowGet(const GoalieObject* pgo) { return pgo->iSaveRow; }
std::int32_t newgoalo_SaveSideGet(const GoalieObject* pgo) { return pgo->iSaveColumn; }
std::int32_t newgoalo_FrameCountGet(const GoalieObject* pgo) { return pgo->iFrameCount; }
void newgoalo_FrameCountSet(GoalieObject* pgo, std::int32_t n) { pgo->iFrameCount = n; }
std::int32_t newgoalo_FrameLimitGet(const GoalieObject* pgo) { return pgo->iFrameLimit; }
void newgoalo_FrameLimitSet(GoalieObject* pgo, std::int32_t n) { pgo->iFrameLimit = n; }
std::int32_t newgoalo_MoveFlagGet(const GoalieObject* pgo) { return pgo->bMoveFlag; }
void newgoalo_MoveFlagSet(GoalieObject* pgo, std::int32_t bFlag) { pgo->bMoveFlag = bFlag; }
void newgoalo_TargetSet(GoalieObject* pgo, std::int32_t x, std::int32_t h, std::int32_t y) {
  pgo->iTargetX = x;
  pgo->iTargetHeight = h;
  pgo->iTargetY = y;
}
void newgoalo_TargetGet(const GoalieObject* pgo, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  *px = pgo->iTargetX;
  *ph = pgo->iTargetHeight;
  *py = pgo->iTargetY;
}
void newgoalo_CounterSet(GoalieObject* pgo, std::int32_t n) { pgo->iCounter = n; }
std::int32_t newgoalo_CounterGet(const GoalieObject* pgo) { return pgo->iCounter; }
void newgoalo_CounterInc(GoalieObject* pgo) { pgo->iCounter++; }
std::int32_t newgoalo_CounterDecTest(GoalieObject* pgo) {
  pgo->iCounter--;
  return pgo->iCounter < 1 ? 1 : 0;
}
std::int32_t newgoalo_SideGet(const GoalieObject* pgo) { return pgo->iSide; }
void newgoalo_Link0Set(GoalieObject* pgo, std::int32_t v) { pgo->aiLink[0] = v; }
void newgoalo_Link1Set(GoalieObject* pgo, std::int32_t v) { pgo->aiLink[1] = v; }
