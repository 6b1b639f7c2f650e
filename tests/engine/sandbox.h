#pragma once
// The open-play sandbox: two squads of the player database at their kick-off
// places, open play only, the computer on both sides. Each tick steps the
// ball, the offside line, the players (closing down, movement, the action
// pass) and the ball on its holder. With no referee, a ball leaving the
// pitch is put back on the centre spot, where the side that did not play it
// out restarts with its player nearest the spot holding it (the home side
// kicks off), and a goalkeeper who has held the ball for three seconds hands
// it to his nearest team-mate.
#include <cstdint>
#include <vector>

constexpr std::int32_t SANDBOX_TICKS_PER_MINUTE = 30 * 60;

struct SandboxStats {
  std::int32_t ticks = 0;
  std::int32_t ownerTicks[2] = {};     // ticks each side held the ball
  std::int32_t passes = 0;             // kicks to somebody: passes, crosses, clearances
  std::int32_t passesReached = 0;      // the next to hold or play it was a team-mate
  std::int32_t shots = 0;
  std::int32_t shotsInside30 = 0;      // from within 30 m of the goal's centre
  std::int32_t goals[2] = {};
  std::int32_t resets = 0;             // balls put back on the centre spot
  std::int32_t pickups = 0;            // loose balls taken by an outfield player
  std::int32_t actionless = 0;         // outfield player-ticks without a handled action
  std::int32_t holderActions[47] = {}; // what the ball holder was doing, by tick
  std::int32_t kicksByAction[47] = {}; // the kicker's action at each launch
  // Mean position along each side's attack direction (pitch units) of its
  // back line, midfield and attack, and of attack minus back line while the
  // side defended.
  double lineX[2][3] = {};
  double depthDefending[2] = {};
  // Mean distance of the back line from its own goal line while defending.
  double backLineDefending[2] = {};
};

// Sets the match up from the database, places everybody, then draws `seed`
// numbers from the game's generator so that each seed plays another match.
void SandboxStart(std::uint32_t seed);
// One match tick; fills the statistics when given.
void SandboxTick(SandboxStats* stats);
// The same in two halves around the players' step (player_FrameUpdate), for
// timing its parts: the ball and the offside line before, the ball on its
// holder, the statistics and the out-of-play check after.
void SandboxTickStart();
void SandboxTickEnd(SandboxStats* stats);
// A whole run; the per-tick state hashes when asked for.
SandboxStats SandboxRun(std::uint32_t seed, std::int32_t ticks, std::vector<std::uint64_t>* hashes);
