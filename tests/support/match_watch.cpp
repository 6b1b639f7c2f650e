// The match watch: streaks of unjudged play, tick by tick.
#include "support/match_watch.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "engine/ball.h"
#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/clock.h"
#include "shell/global.h"

namespace match_harness {

namespace {

// The pass-tapper's presses: a side whose commands are only its Pass button
// pressed and let go.
constexpr std::int32_t kPassButton = -4;

// A side whose commands are only Pass (its pad button, or every input
// table's raw Pass events) never moves the stick.
bool PassOnly(const std::vector<Command>& a) {
  for (const Command& c : a)
    if (c.iEvent != kPassButton && !IsPassEvent(c.iEvent)) return false;
  return !a.empty();
}

std::vector<std::int32_t> TapsOf(const std::vector<Command>& a) {
  std::vector<std::int32_t> ai;
  for (const Command& c : a) {
    if (c.iEvent != kPassButton) return {};
    if (c.iMagnitude != 0) ai.push_back(c.iTick);
  }
  return ai;
}

// Starts or carries on a streak; the worst keeps the longest.
void Carry(MatchWatch::Worst* ps, std::int32_t iTick, const Player* po, std::int32_t iSide, bool bRecord,
           MatchWatch::Worst* pw) {
  if (ps->cTicks == 0) ps->iFirst = iTick;
  ps->cTicks++;
  ps->iLast = iTick;
  ps->eMode = global.eGameMode;
  ps->iBallX = ball_XGet(&ball_oBall);
  ps->iBallY = ball_YGet(&ball_oBall);
  ps->iSide = iSide;
  ps->iPlayerX = po ? po->x : 0;
  ps->iPlayerY = po ? po->y : 0;
  ps->iPosition = po ? po->PositionCode : -1;
  ps->iClockMinute = clock_MinuteGet();
  ps->iClockSecond = clock_SecondOfMinuteGet();
  if (bRecord && ps->cTicks > pw->cTicks) *pw = *ps;
}

std::int32_t SideOf(const Player* po) { return po->MyTeam == player_PlaysFor_Home ? 0 : 1; }

}  // namespace

bool IsPassEvent(std::int32_t iEvent) {
  for (const auto& aiRow : kaaiPassEvents)
    for (std::int32_t e : aiRow)
      if (e != 0 && e == iEvent) return true;
  return false;
}

std::string MatchWatch::Worst::Text() const {
  std::ostringstream o;
  o << cTicks << " ticks (" << iFirst << ".." << iLast << "), mode " << eMode << ", ball (" << iBallX << ", " << iBallY
    << ")";
  if (iSide >= 0) o << ", " << (iSide == 0 ? "home" : "away");
  if (iPosition >= 0) o << " player at (" << iPlayerX << ", " << iPlayerY << "), position " << iPosition;
  o << ", clock " << iClockMinute << ":" << (iClockSecond < 10 ? "0" : "") << iClockSecond;
  return o.str();
}

MatchWatch::MatchWatch(const Config& c) {
  for (std::int32_t k = 0; k < 2; k++) {
    if (c.aeSide[k] == SideKind::User) aaiTaps[k] = TapsOf(c.aoCommands[k]);
    abPerson[k] = c.aeSide[k] != SideKind::Computer;
    abStickIdle[k] = c.aeSide[k] == SideKind::User && PassOnly(c.aoCommands[k]);
  }
}

bool MatchWatch::CarryIsFault(const Worst& o) const {
  return !abPerson[o.iSide] || abStickIdle[o.iSide] || o.eMode == GAME_MODE_KEEPER_HANDS;
}

void MatchWatch::Tick(std::int32_t iTick) {
  const std::int32_t e = global.eGameMode;
  // Open play and the keeper's ball: the ball is live and only the referee
  // stops it.
  const bool bLive = e == GAME_MODE_PLAY || e == GAME_MODE_KEEPER_HANDS;
  const Player* po = ball_oBall.poOwner;
  const std::int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);

  // A keeper with the ball over the goal line he defends (he attacks +x when
  // his Direction is 1).
  bool bKeeperOver = false;
  if (bLive && po && player_IsGoalkeeper(po)) bKeeperOver = ball_bOverGoalLine(bx) && (bx < 0) == (po->Direction == 1);
  if (bKeeperOver) Carry(&m_oKeeper, iTick, po, SideOf(po), true, &oKeeperOver);
  else m_oKeeper.cTicks = 0;

  // The same keeper still holding it, and it went over on this tick.
  const bool bKeeperHolds = bLive && po && player_IsGoalkeeper(po);
  if (bKeeperHolds && po != m_pvKeeper) acKeeperHolds[SideOf(po)]++;
  if (bKeeperHolds && po == m_pvKeeper && m_bKeeperInside && bKeeperOver) {
    Worst o;
    Carry(&o, iTick, po, SideOf(po), false, nullptr);
    aoCarries.push_back(o);
  }
  m_pvKeeper = bKeeperHolds ? po : nullptr;
  m_bKeeperInside = bKeeperHolds && !bKeeperOver;

  // A ball nobody holds, over a line.
  const bool bOut = bLive && !po && ball_bOverALine(bx, by);
  if (bOut) Carry(&m_oOut, iTick, nullptr, -1, true, &oOutUnjudged);
  else m_oOut.cTicks = 0;

  // Each goal given: its scorer is not the keeper of the side it went in
  // against who held the ball when play last ran (he carried it in).
  MatchTeam* apoTeam[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (std::int32_t iSide = 0; iSide < 2; iSide++) {
    if (!apoTeam[iSide] || !apoTeam[1 - iSide]) continue;
    const MatchStats& st = apoTeam[iSide]->MatchStats;
    const std::int32_t n = gstatso_GoalCountGet(&st);
    if (n < m_acGoals[iSide]) m_acGoals[iSide] = 0;  // a new match's lists
    for (; m_acGoals[iSide] < n; m_acGoals[iSide]++) {
      const DBPlayer* pdb = gstatso_GoalScorerGet(&st, m_acGoals[iSide]);
      for (const Player* pk = apoTeam[1 - iSide]->poPlayers; pk && pdb; pk = pk->pNext) {
        if (pk->pDBPlayer != pdb || !player_IsGoalkeeper(pk) || pk != m_pvLastLiveOwner) continue;
        Worst o;
        Carry(&o, iTick, pk, 1 - iSide, false, nullptr);
        aoKeeperOwnGoals.push_back(o);
      }
    }
  }

  if (bLive) m_pvLastLiveOwner = po;

  // A pass-tapper's player keeping the ball: past the wind-up after the
  // second tap that came once he had it.
  const std::int32_t k = po ? SideOf(po) : 0;
  if (bLive && po && !aaiTaps[k].empty()) {
    if (po != m_pvHolder || m_oHold.cTicks == 0) {
      m_oHold.cTicks = 0;
      cHolds++;
      const std::vector<std::int32_t>& ai = aaiTaps[k];
      const auto it = std::upper_bound(ai.begin(), ai.end(), iTick);
      m_iHoldDeadline = ai.end() - it >= 2 ? it[1] + kKickWindUpTicks : INT32_MAX;
    }
    m_pvHolder = po;
    Carry(&m_oHold, iTick, po, k, iTick > m_iHoldDeadline, &oHold);
    if (m_oHold.cTicks > oLongestHold.cTicks) oLongestHold = m_oHold;
  } else {
    m_oHold.cTicks = 0;
    m_pvHolder = nullptr;
  }
}

namespace {

std::string EndFault(const Result& r) {
  return r.bFinished ? "" : "the match did not reach its end (stopped in mode " + std::to_string(r.eStuckMode) + "); ";
}

}  // namespace

std::string MatchWatch::Faults(const Result& r) const { return EndFault(r) + PlayFaults(); }

std::string MatchWatch::FaultsBesideCarries(const Result& r) const { return EndFault(r) + PlaySaid(false); }

std::string MatchWatch::PlayFaults() const { return PlaySaid(true); }

std::string MatchWatch::PlaySaid(bool bCarries) const {
  std::ostringstream o;
  if (oKeeperOver.cTicks > kKeeperOverTicks)
    o << "a keeper held the ball beyond his own goal line for " << oKeeperOver.Text() << "; ";
  if (oOutUnjudged.cTicks > kOutUnjudgedTicks) o << "a ball lay out of play unjudged for " << oOutUnjudged.Text() << "; ";
  for (const Worst& og : aoKeeperOwnGoals)
    if (CarryIsFault(og)) o << "a keeper carried the ball into his own goal; the goal was given at " << og.Text() << "; ";
  for (const Worst& oc : aoCarries)
    if (bCarries && CarryIsFault(oc)) o << "a keeper carried the ball over his own goal line at " << oc.Text() << "; ";
  if (oHold.cTicks > 0)
    o << "a pass-tapper's player kept the ball past his second tap for " << oHold.Text() << "; ";
  return o.str();
}

Result RunWatched(const Config& c, MatchWatch* pw, TickFn pfnTick, void* pvContext) {
  struct Both {
    MatchWatch* pw;
    TickFn pfn;
    void* pv;
  } o{pw, pfnTick, pvContext};
  return Run(c, nullptr,
             [](std::int32_t iTick, void* pv) {
               Both& b = *static_cast<Both*>(pv);
               b.pw->Tick(iTick);
               if (b.pfn) b.pfn(iTick, b.pv);
             },
             &o);
}

}  // namespace match_harness
