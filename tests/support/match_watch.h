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

// Pitch lines as the referee sees them: a ball is wholly over a line when
// its centre lies more than its radius past it.
constexpr std::int32_t kWatchGoalLineX = 9360, kWatchTouchLineY = 5760, kWatchBallRadius = 36;

// The longest a keeper may hold the ball wholly beyond his own goal line in
// open play or at his keeper's ball: the tick the referee takes to see it,
// and at the keeper's ball one more, the tick his ball takes to end before
// open play judges where the ball went out.
constexpr std::int32_t kKeeperOverTicks = 2;
// The longest a ball may lie wholly out of play, nobody holding it, in open
// play or at the keeper's ball before the referee judges it.
constexpr std::int32_t kOutUnjudgedTicks = 3;
// A pass-tapper's player who has the ball in open play or at his keeper's
// ball kicks it on one of the first two taps that come after he took it
// (the first may come while he cannot kick yet: gathering the ball, a catch,
// a turn); the ball leaves him within the kick's wind-up after that tap. A
// hold is a fault when it lasts past the second tap by more than this.
constexpr std::int32_t kKickWindUpTicks = 60;

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

  // The ticks at which each pass-tapper side presses its Pass button
  // (empty: the side is not a pass-tapper).
  std::vector<std::int32_t> aaiTaps[2];

  Worst oKeeperOver;   // a keeper holding the ball wholly beyond his own goal line
  Worst oOutUnjudged;  // a ball nobody holds wholly out of play, not judged
  Worst oHold;         // a pass-tapper's player keeping the ball past his second tap
  Worst oLongestHold;  // the longest hold of a pass-tapper's player, fault or not
  std::int32_t cHolds = 0;  // holds by a pass-tapper's players

 private:
  // The streak going on of each kind (cTicks 0: none) and whom it is about.
  Worst m_oKeeper, m_oOut, m_oHold;
  const void* m_pvHolder = nullptr;
  std::int32_t m_iHoldDeadline = 0;  // the last tick the hold going on may last
};

// A whole match with the watch on every tick; pfnTick, when given, observes
// each tick after it.
Result RunWatched(const Config& c, MatchWatch* pw, TickFn pfnTick = nullptr, void* pvContext = nullptr);

}  // namespace match_harness
