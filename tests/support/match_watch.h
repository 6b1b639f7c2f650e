#pragma once
// A whole match watched tick by tick for play that stops without anybody
// judging it: a keeper who holds the ball beyond his own goal line, a ball
// nobody holds left out of play (at rest or still rolling), a person's
// player who keeps the ball although the person keeps tapping Pass. Shared
// by the match tests and the soak. It only looks and changes nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "support/match_harness.h"

namespace match_harness {

// A ball is over a line by the referee's own rule (engine/ball.h).

// The longest a keeper may hold the ball wholly beyond his own goal line in
// open play or at his keeper's ball: the tick the referee takes to see it,
// and at the keeper's ball one more, the tick his ball takes to end before
// open play judges where the ball went out.
constexpr std::int32_t kKeeperOverTicks = 2;
// The longest a ball may lie wholly out of play, nobody holding it, in open
// play or at the keeper's ball before the referee judges it.
constexpr std::int32_t kOutUnjudgedTicks = 3;
// A keeper's carry: the ball in his hands or at his feet goes from inside
// his own goal line to over it while he keeps it. None is allowed in
// the keeper's ball, nor from a side whose person never moves the stick, nor
// from the computer's keeper.
// A pass-tapper's player who has the ball in open play or at his keeper's
// ball kicks it on one of the first two taps that come after he took it
// (the first may come while he cannot kick yet: gathering the ball, a catch,
// a turn); the ball leaves him within the kick's wind-up after that tap. A
// hold is a fault when it lasts past the second tap by more than this.
constexpr std::int32_t kKickWindUpTicks = 60;

// Every input table's Pass events, raw: the presses, the holds and the
// releases (the last release, 63, is the kick-off's); 0 fills a row.
inline constexpr std::int32_t kaaiPassEvents[3][6] = {
    {26, 64, 74, 129, 71, 0}, {27, 65, 75, 130, 72, 0}, {28, 66, 76, 131, 73, 63}};
// One of them.
bool IsPassEvent(std::int32_t iEvent);

struct MatchWatch {
  // One fault kind's worst case: its length in ticks, where it started and
  // how things stood on its last tick.
  struct Worst {
    std::int32_t cTicks = 0;
    std::int32_t iFirst = -1, iLast = -1;  // ticks
    std::int32_t eMode = 0;
    std::int32_t iBallX = 0, iBallY = 0;
    std::int32_t iSide = -1;               // 0 home, 1 away
    std::int32_t iPlayerX = 0, iPlayerY = 0;
    std::int32_t iPosition = -1;           // the holder's position code (0 the keeper)
    std::int32_t iClockMinute = 0, iClockSecond = 0;
    std::string Text() const;
  };

  explicit MatchWatch(const Config& c);

  // Each tick after the match tick (Run's observer).
  void Tick(std::int32_t iTick);
  static void Observe(std::int32_t iTick, void* pv) { static_cast<MatchWatch*>(pv)->Tick(iTick); }

  // Empty when every check held, else each one that failed with its worst
  // case; the match's end is checked from its result.
  std::string Faults(const Result& r) const;
  // The same for play alone, the match's end aside (a match watched by a
  // caller of its own, through the game's frame loop).
  std::string PlayFaults() const;
  // Faults() less the carries over the goal line (a caller that says each
  // carry itself).
  std::string FaultsBesideCarries(const Result& r) const;

  // The ticks at which each pass-tapper side presses its Pass button
  // (empty: the side is not a pass-tapper).
  std::vector<std::int32_t> aaiTaps[2];

  Worst oKeeperOver;   // a keeper holding the ball over his own goal line
  Worst oOutUnjudged;  // a ball nobody holds out of play, not judged
  Worst oHold;         // a pass-tapper's player keeping the ball past his second tap
  Worst oLongestHold;  // the longest hold of a pass-tapper's player, fault or not
  std::int32_t cHolds = 0;  // holds by a pass-tapper's players

  // Goals whose scorer is the conceding side's own keeper who held the ball
  // when play last ran, as the goal lists have them: where each was given.
  // A fault as a carry is.
  std::vector<Worst> aoKeeperOwnGoals;
  // Every carry (see above), in order, and the holds by each side's keeper.
  std::vector<Worst> aoCarries;
  std::int32_t acKeeperHolds[2] = {};
  // The sides a person plays (a pass-tapper or the monkey), and those whose
  // person never moves the stick (a pass-tapper).
  bool abPerson[2] = {};
  bool abStickIdle[2] = {};
  // A carry the watch counts as a fault: by the keeper of a side nobody
  // plays or whose person never moves the stick, or by any keeper at his
  // keeper's ball.
  bool CarryIsFault(const Worst& o) const;

 private:
  // The play faults, with or without the carries.
  std::string PlaySaid(bool bCarries) const;
  // The streak going on of each kind (cTicks 0: none) and whom it is about.
  Worst m_oKeeper, m_oOut, m_oHold;
  const void* m_pvHolder = nullptr;
  std::int32_t m_acGoals[2] = {};      // each side's goal list as long as the watch has read it
  const void* m_pvKeeper = nullptr;    // the keeper who held the ball on the tick before
  const void* m_pvLastLiveOwner = nullptr;  // who held the ball on the last tick of live play
  bool m_bKeeperInside = false;        // ... with the ball not over his goal line
  std::int32_t m_iHoldDeadline = 0;  // the last tick the hold going on may last
};

// A whole match with the watch on every tick; pfnTick, when given, observes
// each tick after it.
Result RunWatched(const Config& c, MatchWatch* pw, TickFn pfnTick = nullptr, void* pvContext = nullptr);

}  // namespace match_harness
